#include "ui/CStatusPage.h"

#include <algorithm>
#include <array>
#include <iterator>
#include <string>
#include <vector>

#include "config/AdapterSettings.h"
#include "config/SettingsRules.h"
#include "device/DeviceCodes.h"
#include "device/OfferedChannels.h"
#include "device/Oids.h"
#include "device/RecordQuery.h"
#include "device/SurveyRequests.h"
#include "text/OemSettings.h"
#include "ui/ControlUpdates.h"
#include "ui/DialogLayouts.h"
#include "ui/LinkBars.h"
#include "ui/LinkStatusText.h"
#include "ui/SurveyRows.h"

namespace linkscope {

namespace {

constexpr const char* kFailedToGetKey = "FailedToGetConfigurationErrorMessage ";  // ends in a blank
constexpr const char* kFailedToGetDefault = "Failed to get configuration";
constexpr const char* kFailedToSetKey = "FailedToSetConfigurationErrorMessage";
constexpr const char* kFailedToSetDefault = "Failed to set device configuration";

// The list index of a value, or no selection for a value the list does not have.
int IndexOf(int value, int count) { return value >= 0 && value < count ? value : -1; }

}  // namespace

CStatusPage::CStatusPage(const SettingsDialogServices& services, IPageHost& host)
    : CLayoutPage(kStatusPageId, services, host) {}

bool CStatusPage::ConfiguredByWindows() const { return Services().link.configuredByWindows != 0; }

void CStatusPage::OnCreatePage() {
  refreshControls_ = true;
  configRead_ = false;
  InitTexts();
  if (!Refresh()) Services().messages.Show(kFailedToGetKey, kFailedToGetDefault);
}

void CStatusPage::OnDestroyPage() {
  // An edit left by another tab or by closing the dialog ends like Cancel.
  if (Editing()) ReadAdapterRoaming();
}

void CStatusPage::ReadAdapterRoaming() {
  // Choosing Ad-Hoc cleared the link's roaming value for the channel list, and a Submit
  // refused halfway may have changed the adapter's: the value of every later channel list
  // is the one the adapter has now.
  CAdapterLink& link = Services().link;
  std::uint8_t roaming = 0;
  if (!QueryByte(link, link.CurrentAdapter(), OID_PRIV_INTL_ROAMING, &roaming)) roaming = 0;
  link.internationalRoaming = roaming;
}

void CStatusPage::InitTexts() {
  IDialogItems* items = Items();
  if (items == nullptr) return;
  const LanguageTable& t = Services().language;
  CAdapterLink& link = Services().link;

  items->Enable(kIdChange, !ConfiguredByWindows());
  // Whatever byte count comes with it: some drivers report the type with another length.
  std::uint8_t type = cardType_;
  std::uint32_t written = 0;
  if (link.Query(link.CurrentAdapter(), OID_PRIV_CARD_TYPE, &type, 1, &written)) cardType_ = type;

  SetLayoutTexts();
  items->Enable(kIdSubmit, false);
  items->Enable(kIdCancelEdit, false);

  items->ComboReset(kIdMode);
  items->ComboAdd(kIdMode, t.Lookup("AdHoc", "Ad-Hoc"));
  items->ComboAdd(kIdMode, t.Lookup("Infrastructure", "Infrastructure"));
  items->ComboReset(kIdRate);
  items->ComboAdd(kIdRate, t.Lookup("1Mbps", "1 Mbps"));
  items->ComboAdd(kIdRate, t.Lookup("2Mbps", "2 Mbps"));
  items->ComboAdd(kIdRate, t.Lookup("55Mbps", "5.5 Mbps"));
  items->ComboAdd(kIdRate, t.Lookup("11Mbps", "11 Mbps"));
  items->ComboAdd(kIdRate, t.Lookup("Auto", "Auto"));
  items->ComboReset(kIdRadio);
  items->ComboAdd(kIdRadio, t.Lookup("RadioOff", "Off"));
  items->ComboAdd(kIdRadio, t.Lookup("RadioOn", "On"));

  items->Enable(kIdRadio, false);
  // The roaming list is refilled by every refresh; its texts are read here, once, rather than
  // from the file on every tick.
  roamingTexts_ = {t.Lookup("IntRoamDisabled", "Disabled"), t.Lookup("IntRoamEnabled", "Enabled")};

  const BarScales scales = BarScalesOf(cardType_, OemSettings(t));
  maxSignal_ = scales.maxSignal;
  maxLinkQuality_ = scales.maxLinkQuality;
  items->ProgressSetRange(kIdSignalBar, 0, std::max(0, maxSignal_));
  items->ProgressSetPos(kIdSignalBar, 0);
  items->ProgressSetRange(kIdQualityBar, 0, std::max(0, maxLinkQuality_));
  items->ProgressSetPos(kIdQualityBar, 0);
  items->SetText(kIdSignalText, "");
  items->SetText(kIdQualityText, "");

  for (int id : {kIdMode, kIdChannel, kIdSsid, kIdRate, kIdRoaming}) items->Enable(id, false);
}

void CStatusPage::ClearReadings() {
  IDialogItems& items = *Items();
  UpdateText(items, kIdStatusLine, "");
  UpdateProgress(items, kIdSignalBar, 0);
  UpdateProgress(items, kIdQualityBar, 0);
  UpdateText(items, kIdSignalText, "");
  UpdateText(items, kIdQualityText, "");
  // What the user is typing stays: only a page that is not being edited shows the loss.
  if (!refreshControls_) return;
  // The mode and rate lists keep their entries (only the page's creation fills them); the
  // channel and roaming lists are refilled by the next good read.
  UpdateSelection(items, kIdMode, -1);
  UpdateSelection(items, kIdRate, -1);
  UpdateComboItems(items, kIdChannel, {});
  UpdateComboItems(items, kIdRoaming, {});
  UpdateText(items, kIdSsid, "");
}

std::uint8_t CStatusPage::LeastCrowdedChannel(bool roaming) {
  CAdapterLink& link = Services().link;
  BssList list;
  if (!QueryBssList(link, link.CurrentAdapter(), &list) || list.entries.empty()) return 0;
  const std::vector<GraphNetwork> networks =
      SurveyGraphNetworks(list, SurveySignalScaleOf(cardType_, Services().language), nullptr);
  if (networks.empty()) return 0;
  return ScoreChannels(ScoredNetworks(networks),
                       OfferedChannels(roaming, link.allowedChannels, link.regulatoryDomain))
      .best;
}

void CStatusPage::FillChannels(bool roaming, std::uint8_t marked) {
  IDialogItems& items = *Items();
  const CAdapterLink& link = Services().link;
  std::vector<std::string> texts;
  int configured = -1;
  // The note goes after a blank: the entry's number is still what is read and sent.
  const std::string note =
      " " + Services().language.Lookup("ChannelLeastCrowded", "(least crowded)");
  for (std::uint8_t ch : OfferedChannels(roaming, link.allowedChannels, link.regulatoryDomain)) {
    if (ch == config_.channel) configured = static_cast<int>(texts.size());
    texts.push_back(std::to_string(ch) + (ch == marked ? note : std::string()));
  }
  const bool refilled = UpdateComboItems(items, kIdChannel, texts);
  // Only the channel itself: a channel the list lacks selects nothing, rather than another
  // channel that merely starts with the same digit.
  if (refilled) {
    items.ComboSelect(kIdChannel, configured);
  } else {
    UpdateSelection(items, kIdChannel, configured);
  }
}

bool CStatusPage::Refresh() {
  IDialogItems* itemsPointer = Items();
  if (itemsPointer == nullptr) return false;
  IDialogItems& items = *itemsPointer;
  CAdapterLink& link = Services().link;
  const AdapterEntry* adapter = link.CurrentAdapter();

  radio_ = 1;
  if (link.radioSupported == 1) {
    std::uint8_t radio = 1;
    if (QueryByte(link, adapter, OID_PRIV_RADIO, &radio)) radio_ = radio;
  }

  DeviceConfig config;
  lastRefreshRead_ = false;
  if (!QueryDeviceConfig(link, adapter, &config)) {
    // The record read before still stands for this adapter: a Submit may use it.
    ClearReadings();
    return false;
  }
  config_ = config;
  configRead_ = true;
  lastRefreshRead_ = true;

  std::uint32_t media = kMediaConnected;
  if (!QueryMediaConnectStatus(link, adapter, &media)) media = kMediaConnected;

  if (link.internationalRoaming != 0) {
    std::array<std::uint8_t, kRoamingChannelsSize> table{};
    if (!QueryExact(link, adapter, OID_PRIV_ROAMING_CHANNELS, table.data(), kRoamingChannelsSize)) {
      return false;
    }
    link.allowedChannels = table;
  }

  // While the adapter reports itself connected in a passing state, the line keeps what it
  // said last.
  if (config_.state == DeviceState::kAssociated || media != kMediaConnected) {
    UpdateText(items, kIdStatusLine, LinkStatusText(config_, radio_, Services().language));
  }

  const BarReading signal = SignalReading(config_, media, cardType_, maxSignal_);
  UpdateProgress(items, kIdSignalBar, std::clamp(signal.position, 0, std::max(0, maxSignal_)));
  UpdateText(items, kIdSignalText, signal.text);
  const BarReading quality = LinkQualityReading(config_, media, cardType_, maxLinkQuality_);
  UpdateProgress(items, kIdQualityBar,
                 std::clamp(quality.position, 0, std::max(0, maxLinkQuality_)));
  UpdateText(items, kIdQualityText, quality.text);

  if (refreshControls_) {
    UpdateSelection(items, kIdMode, IndexOf(config_.operatingMode, 2));
    FillChannels(link.internationalRoaming != 0);
    // An edit box shows its text up to a NUL byte; the rest could never be compared.
    std::string ssid = config_.SsidBytes();
    ssid = ssid.substr(0, ssid.find('\0'));
    UpdateText(items, kIdSsid, ssid);
    UpdateSelection(items, kIdRate, IndexOf(config_.txRate, 5));

    UpdateComboItems(items, kIdRoaming, roamingTexts_);
    std::uint8_t roaming = 0;
    if (QueryByte(link, adapter, OID_PRIV_INTL_ROAMING, &roaming)) {
      roamingSupported_ = true;
      roaming_ = roaming;
    } else {
      roamingSupported_ = false;
      roaming_ = 0;
      UpdateEnabled(items, kIdRoaming, false);
    }
    UpdateSelection(items, kIdRoaming, config_.operatingMode == 0 ? 0 : IndexOf(roaming_, 2));
    UpdateSelection(items, kIdRadio, IndexOf(radio_, 2));
  }
  return true;
}

void CStatusPage::OnTick() { Refresh(); }

bool CStatusPage::RecordRead(DeviceConfig* config) const {
  if (!lastRefreshRead_) return false;
  *config = config_;
  return true;
}

void CStatusPage::Reload() {
  // Another adapter: whatever was being changed belonged to the one before.
  refreshControls_ = true;
  configRead_ = false;
  InitTexts();
  Refresh();
}

void CStatusPage::ApplyWindowsConfiguration(bool configuredByWindows) {
  if (Items() == nullptr) return;
  UpdateEnabled(*Items(), kIdChange, !configuredByWindows && !Editing());
}

void CStatusPage::OnCommand(int id, int code) {
  if (id == kIdChange && code == kBnClicked) {
    OnChange();
  } else if (id == kIdSubmit && code == kBnClicked) {
    OnSubmit();
  } else if (id == kIdHistory && code == kBnClicked) {
    Host().OpenSignalHistory();
  } else if (id == kIdMode && code == kCbnSelChange) {
    OnModeChanged();
  }
}

void CStatusPage::OnChange() {
  IDialogItems* items = Items();
  // Nothing to change without a record read from this adapter.
  if (items == nullptr || !configRead_ || ConfiguredByWindows()) return;
  CAdapterLink& link = Services().link;
  const bool infrastructure = items->ComboSelection(kIdMode) == 1;
  items->Enable(kIdChannel, !infrastructure);
  // An ad-hoc cell is the user's to place: the list says where it is least disturbed.
  if (!infrastructure) {
    const bool roaming = link.internationalRoaming != 0;
    FillChannels(roaming, LeastCrowdedChannel(roaming));
  }
  refreshControls_ = false;
  for (int id : {kIdSubmit, kIdCancelEdit, kIdMode, kIdSsid, kIdRate}) items->Enable(id, true);
  // Change was pressed and is about to be disabled: the focus goes to the first setting, not
  // to nowhere, where Escape would close the dialog instead of ending the editing.
  if (items->FocusedControl() == kIdChange) items->Focus(kIdMode);
  items->Enable(kIdChange, false);
  items->Enable(kIdRadio, link.radioSupported == 1);
  items->Enable(kIdRoaming,
                roamingSupported_ && SupportsInternationalRoaming(cardType_) && infrastructure);
}

void CStatusPage::OnModeChanged() {
  IDialogItems* items = Items();
  if (items == nullptr || !Editing()) return;
  CAdapterLink& link = Services().link;
  if (items->ComboSelection(kIdMode) == 1) {
    items->Enable(kIdChannel, false);
    items->Enable(kIdRoaming, roamingSupported_ && SupportsInternationalRoaming(cardType_));
    ReadAdapterRoaming();
    // Ad-Hoc set the list to "Disabled"; left there, a Submit would turn roaming off although
    // the user never chose it.
    if (roamingSupported_) items->ComboSelect(kIdRoaming, IndexOf(link.internationalRoaming, 2));
  } else {
    // An ad-hoc cell has no roaming: the channel is the user's, from the domain's channels.
    items->Enable(kIdChannel, true);
    items->Enable(kIdRoaming, false);
    items->ComboSelect(kIdRoaming, 0);
    link.internationalRoaming = 0;
    FillChannels(false, LeastCrowdedChannel(false));
  }
}

void CStatusPage::OnSubmit() {
  IDialogItems* items = Items();
  if (items == nullptr || !Editing() || !configRead_) return;
  CAdapterLink& link = Services().link;
  const Messages& messages = Services().messages;

  const std::string ssid = items->Text(kIdSsid);
  RuleFailure failure;
  if (!CheckSsid(ssid, &failure)) {
    const WindowLife::Token window = Life().Mark();
    messages.Show(failure.key, failure.defaultText);
    // `items` belongs to the window shown before the box, which may have gone meanwhile.
    if (!Life().StillAlive(window)) return;
    items->EditSetSelection(kIdSsid, 0, -1);
    items->EditScrollCaret(kIdSsid);
    items->Focus(kIdSsid);
    return;
  }

  // The fields the user left without a choice keep what the adapter reported; in particular
  // no channel chosen is no reason to send channel 0.
  LinkChange change;
  DeviceConfig& config = change.config;
  config = config_;
  const int mode = items->ComboSelection(kIdMode);
  if (mode == 0 || mode == 1) config.operatingMode = static_cast<std::uint8_t>(mode);
  const std::uint8_t channel = ChannelOfText(ChannelNumberPart(items->Text(kIdChannel)));
  if (channel != 0) config.channel = channel;
  config.SetSsid(ssid);
  const int rate = items->ComboSelection(kIdRate);
  if (rate >= 0 && rate <= 4) config.txRate = static_cast<std::uint8_t>(rate);
  const int roamingChoice = items->ComboSelection(kIdRoaming);
  change.sendRoaming = roamingSupported_;
  change.roaming = roamingChoice == 0 || roamingChoice == 1
                       ? static_cast<std::uint8_t>(roamingChoice)
                       : roaming_;
  const int radioChoice = items->ComboSelection(kIdRadio);
  if (radioChoice == 0 || radioChoice == 1) change.radio = static_cast<std::uint8_t>(radioChoice);
  else change.radio = radio_;
  change.sendRadio = link.radioSupported == 1;

  const WindowLife::Token window = Life().Mark();
  const ChangeResult result = Services().adapterSettings.ChangeLink(change);
  // What the adapter took stays taken when a later record is refused.
  if (result != ChangeResult::kConfigRefused) config_ = config;
  if (result != ChangeResult::kConfigRefused && result != ChangeResult::kRoamingRefused &&
      roamingSupported_) {
    roaming_ = change.roaming;
  }
  if (result != ChangeResult::kConfigRefused && result != ChangeResult::kRoamingRefused) {
    radio_ = change.radio;
  }
  if (result != ChangeResult::kApplied) {
    messages.Show(kFailedToSetKey, kFailedToSetDefault);
    return;
  }
  // The change may have told of a registry failure in a box, under which the page may have
  // gone.
  if (!Life().StillAlive(window)) return;
  Host().FillProfileSelector();
  EndEditing();
}

void CStatusPage::EndEditing() {
  IDialogItems& items = *Items();
  refreshControls_ = true;
  items.Enable(kIdChange, !ConfiguredByWindows());
  constexpr int kLocked[] = {kIdSubmit, kIdCancelEdit, kIdMode, kIdChannel,
                             kIdRate,   kIdRoaming,    kIdRadio, kIdSsid};
  // The focus is on one of the controls about to be locked (Submit or Cancel just pressed,
  // Escape in a list): it goes back to Change before they are.
  const int focused = items.FocusedControl();
  if (std::find(std::begin(kLocked), std::end(kLocked), focused) != std::end(kLocked) &&
      items.IsEnabled(kIdChange)) {
    items.Focus(kIdChange);
  }
  for (int id : kLocked) items.Enable(id, false);
}

void CStatusPage::OnCancel() {
  if (Items() == nullptr) return;
  if (Editing()) ReadAdapterRoaming();
  refreshControls_ = true;
  Refresh();
  EndEditing();
}

}  // namespace linkscope
