#include "app/LinkSnapshotStep.h"

#include "device/DeviceCodes.h"
#include "device/Oids.h"
#include "device/RecordQuery.h"
#include "text/OemSettings.h"
#include "ui/LinkStatusText.h"

namespace linkscope {

bool LinkSnapshotStep::RecordShows(std::uint8_t state) {
  return state == DeviceState::kAssociated || state == DeviceState::kManagementError ||
         state == DeviceState::kFailedToJoin;
}

void LinkSnapshotStep::FollowSelection() {
  CAdapterLink& link = services_.link;
  if (cardTypeRead_ && selection_ == link.SelectionCount()) return;
  selection_ = link.SelectionCount();
  // As the Status page reads it: whatever byte count comes with it.
  std::uint8_t type = 0;
  std::uint32_t written = 0;
  cardType_ = link.Query(Adapter(), OID_PRIV_CARD_TYPE, &type, 1, &written) ? type : 0;
  cardTypeRead_ = true;
  scalesRead_ = false;
}

bool LinkSnapshotStep::ReadRecord(DeviceConfig* config) {
  // The Status page read it in this tick's refresh: the same answer, not a second request.
  if (DialogOpen() && dialog_->TickRecord(config)) return true;
  return QueryDeviceConfig(services_.link, Adapter(), config);
}

void LinkSnapshotStep::Take(std::uint8_t state, std::uint32_t media, bool onScreen) {
  const CAdapterLink& link = services_.link;
  LinkSnapshot s;
  s.adapter = true;
  s.deviceState = state;
  s.media = media;
  s.radio = link.radio;
  s.time = platform_.system.TickCount();

  DeviceConfig config;
  if (onScreen && RecordShows(state) && ReadRecord(&config)) {
    // The record carries the state too; the tick's own answer is the newer one.
    config.state = state;
    s.config = config;
  }
  if (s.config) {
    if (state == DeviceState::kManagementError && s.radio != 0) {
      if (managementText_.empty() || managementCode_ != config.managementStatus) {
        managementCode_ = config.managementStatus;
        managementText_ = ManagementMessage(managementCode_, language_);
      }
      s.statusText = managementText_;
    } else {
      s.statusText = LinkStatusText(config, s.radio, language_);
    }
    FollowSelection();
    if (!scalesRead_) {
      scales_ = BarScalesOf(cardType_, OemSettings(language_));
      scalesRead_ = true;
    }
    const BarReading signal = SignalReading(config, media, cardType_, scales_.maxSignal);
    if (!signal.text.empty()) s.signalPercent = signal.percent;
    const BarReading quality = LinkQualityReading(config, media, cardType_, scales_.maxLinkQuality);
    if (!quality.text.empty()) s.qualityPercent = quality.percent;
  } else {
    // Worded from the state alone: these lines name nothing the record holds.
    DeviceConfig stateOnly;
    stateOnly.state = state;
    if (!RecordShows(state)) s.statusText = LinkStatusText(stateOnly, s.radio, language_);
  }
  snapshot_ = std::move(s);
}

void LinkSnapshotStep::TakeNoAdapter() {
  LinkSnapshot s;
  s.time = platform_.system.TickCount();
  snapshot_ = std::move(s);
}

}  // namespace linkscope
