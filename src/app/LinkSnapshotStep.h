#pragma once
// The tick's picture of the link for what shows it outside the settings dialog (the tray
// icon's tooltip and balloons, the signal history): the device state and media status the
// tick read anyway, and the configuration record (SSID, signal, link quality) only where it
// changes what a person sees, and only once per tick.

#include <cstdint>
#include <string>

#include "app/TickStep.h"
#include "text/LanguageTable.h"
#include "ui/LinkBars.h"
#include "ui/LinkSnapshot.h"

namespace linkscope {

class LinkSnapshotStep : public TickStep {
 public:
  LinkSnapshotStep(Platform& platform, const FrameServices& services,
                   ISettingsDialogHooks* const& dialog, const LanguageTable& language)
      : TickStep(platform, services, dialog), language_(language) {}

  // A usable adapter answered `state` and `media`. `onScreen`: the tray icon shows (or is
  // about to show) the tooltip; without it the record is not read.
  void Take(std::uint8_t state, std::uint32_t media, bool onScreen);
  // No adapter answered this tick.
  void TakeNoAdapter();
  // A language change: the bars' scales are customisation values of each language, and the
  // management message one of its texts.
  void TextsChanged() {
    scalesRead_ = false;
    managementText_.clear();
  }

  const LinkSnapshot& Last() const { return snapshot_; }

  // The states whose line or numbers come from the record: a link (SSID, signal, quality), a
  // refusal (the management message) and a failed join (BSSID and channel). The others are
  // worded from the state alone.
  static bool RecordShows(std::uint8_t state);

 private:
  bool ReadRecord(DeviceConfig* config);
  void FollowSelection();

  const LanguageTable& language_;
  LinkSnapshot snapshot_;
  // What the tick keeps of the selected adapter: its card type, read once per selection, and
  // the scales it puts the bars on.
  std::uint32_t selection_ = 0;
  bool cardTypeRead_ = false;
  std::uint8_t cardType_ = 0;
  bool scalesRead_ = false;
  BarScales scales_;
  // The management message last worded, so that a refusal that lasts does not read the
  // language file on every tick.
  std::uint32_t managementCode_ = 0;
  std::string managementText_;
};

}  // namespace linkscope
