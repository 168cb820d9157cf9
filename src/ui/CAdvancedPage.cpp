#include "ui/CAdvancedPage.h"

#include "config/AdapterSettings.h"
#include "device/RecordQuery.h"
#include "ui/ControlUpdates.h"
#include "ui/DialogLayouts.h"

namespace linkscope {

CAdvancedPage::CAdvancedPage(const SettingsDialogServices& services, IPageHost& host)
    : CLayoutPage(kAdvancedPageId, services, host) {}

void CAdvancedPage::EnableEditing(bool enable) {
  IDialogItems* items = Items();
  if (items == nullptr) return;
  // The labels and indications keep showing the values read.
  for (int id : {kIdSubmit, kIdPowerSave, kIdFrag, kIdRts, kIdFragValue, kIdRtsValue, kIdLong,
                 kIdShort, kIdAuto}) {
    UpdateEnabled(*items, id, enable);
  }
}

void CAdvancedPage::OnInitDialog(WindowHandle dialog, IDialogItems& items) {
  CLayoutPage::OnInitDialog(dialog, items);
  if (configRead_) return;
  // The page stays hidden: there is nothing read to show or to send.
  items.ShowDialog(false);
  Services().messages.Show("FailedToGetConfigurationErrorMessage ", "Failed to get configuration");
}

void CAdvancedPage::OnCreatePage() {
  configRead_ = false;
  EnableEditing(Services().link.configuredByWindows == 0);
  const LanguageTable& t = Services().language;
  offText_ = t.Lookup("DisabledIndicationStr", "Disabled");
  onText_ = t.Lookup("EnabledIndicationStr", "Enabled");
  InitTexts();
  Refresh();
}

void CAdvancedPage::InitTexts() {
  IDialogItems* items = Items();
  if (items == nullptr) return;
  const LanguageTable& t = Services().language;
  items->SetText(kIdPreambleLabel, t.Lookup("PreambleType", "Preamble Type"));
  // These three keys end in a blank in every language file.
  items->SetText(kIdLongLabel, t.Lookup("PreambleLong ", "Long"));
  items->SetText(kIdShortLabel, t.Lookup("PreambleShort ", "Short"));
  items->SetText(kIdAutoLabel, t.Lookup("PreambleAuto ", "Auto"));
  items->SetText(kIdFragLabel, t.Lookup("FragThresh", "Fragmentation Threshold"));
  items->SetText(kIdRtsLabel, t.Lookup("RTSThresh", "RTS/CTS Threshold"));
  items->SetText(kIdPowerSave, t.Lookup("PowerSave", "Power Save"));
  items->SetText(kIdSubmit, t.Lookup("AdvButtonOK", "Submit"));
}

bool CAdvancedPage::Refresh() {
  IDialogItems* items = Items();
  if (items == nullptr) return false;
  CAdapterLink& link = Services().link;
  DeviceConfig config;
  if (!QueryDeviceConfig(link, link.CurrentAdapter(), &config)) {
    configRead_ = false;
    // While the page is being built this also keeps the frame from showing it in between.
    StayHidden();
    items->ShowDialog(false);
    return false;
  }
  config_ = config;
  configRead_ = true;

  items->SetCheck(kIdLong, config.preamble == 0 ? kCheckChecked : kCheckUnchecked);
  items->SetCheck(kIdShort, config.preamble == 1 ? kCheckChecked : kCheckUnchecked);
  items->SetCheck(kIdAuto, config.preamble == 2 ? kCheckChecked : kCheckUnchecked);

  items->TrackSetRange(kIdFrag, kFragMin, kFragOff);
  items->TrackSetPos(kIdFrag, config.fragThreshold);
  items->TrackSetTickFrequency(kIdFrag, 100);
  items->TrackSetRange(kIdRts, kRtsMin, kRtsOff);
  items->TrackSetPos(kIdRts, config.rtsThreshold);
  items->TrackSetTickFrequency(kIdRts, 100);
  // A threshold outside a trackbar's range has put its thumb at the nearest end: the labels
  // show where the thumb is, which is what Submit would send.
  ShowTrackbar(kIdFrag);
  ShowTrackbar(kIdRts);

  items->SetCheck(kIdPowerSave, config.powerSave == 1 ? kCheckChecked : kCheckUnchecked);
  items->ShowDialog(true);
  return true;
}

void CAdvancedPage::ShowTrackbar(int id) {
  IDialogItems* items = Items();
  if (items == nullptr) return;
  const bool frag = id == kIdFrag;
  const int position = items->TrackPos(id);
  UpdateText(*items, frag ? kIdFragValue : kIdRtsValue, std::to_string(position));
  UpdateText(*items, frag ? kIdFragIndication : kIdRtsIndication,
             position == (frag ? kFragOff : kRtsOff) ? offText_ : onText_);
}

void CAdvancedPage::OnNotify(const DialogNotification& notification) {
  // Every drawing of a trackbar, which includes each move of its thumb.
  if (notification.code == kNmCustomDraw &&
      (notification.id == kIdFrag || notification.id == kIdRts)) {
    ShowTrackbar(notification.id);
  }
}

void CAdvancedPage::OnScroll(int id) {
  if (id == kIdFrag || id == kIdRts) ShowTrackbar(id);
}

void CAdvancedPage::Reload() {
  InitTexts();
  Refresh();
}

void CAdvancedPage::ApplyWindowsConfiguration(bool configuredByWindows) {
  // The same controls as when the page opens while Windows configures the card, so that a
  // page opened then gets all of them back.
  EnableEditing(!configuredByWindows);
}

void CAdvancedPage::OnOk() {
  IDialogItems* items = Items();
  // Enter reaches the page even while its Submit button is disabled.
  if (items == nullptr || !items->IsEnabled(kIdSubmit)) return;
  OnSubmit();
}

void CAdvancedPage::OnSubmit() {
  IDialogItems* items = Items();
  if (items == nullptr || !configRead_ || Services().link.configuredByWindows != 0) return;

  DeviceConfig config = config_;
  if (items->Check(kIdLong) == kCheckChecked) config.preamble = 0;
  if (items->Check(kIdShort) == kCheckChecked) config.preamble = 1;
  if (items->Check(kIdAuto) == kCheckChecked) config.preamble = 2;
  config.fragThreshold = static_cast<std::uint16_t>(items->TrackPos(kIdFrag));
  config.rtsThreshold = static_cast<std::uint16_t>(items->TrackPos(kIdRts));
  config.powerSave = items->Check(kIdPowerSave) == kCheckChecked ? 1 : 0;

  const WindowLife::Token window = Life().Mark();
  const ChangeResult result = Services().adapterSettings.ChangeAdvanced(config);
  if (result != ChangeResult::kApplied) {
    Services().messages.Show("FailedToSetErrorMessage", "Failed to set parameters");
    return;
  }
  config_ = config;
  // The change may have told of a registry failure in a box, under which the page may have
  // gone.
  if (!Life().StillAlive(window)) return;
  Host().FillProfileSelector();
  // This destroys the page's window: nothing of it may be touched after.
  Host().SelectPage(0);
}

}  // namespace linkscope
