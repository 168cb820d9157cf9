#include "ui/DialogLayouts.h"

#include "platform/DialogSystem.h"
#include "ui/CAdvancedPage.h"
#include "ui/CEncryptionPage.h"
#include "ui/CInfoPage.h"
#include "ui/CProfilesPage.h"
#include "ui/CSiteSurveyPage.h"
#include "ui/CStatisticsPage.h"
#include "ui/CStatusPage.h"

namespace linkscope {

const int kPageResourceIds[kPageCount] = {kStatusPageId,     kStatisticsPageId, kSiteSurveyPageId,
                                          kEncryptionPageId, kAdvancedPageId,   kProfilesPageId,
                                          kInfoPageId};

namespace {

// A control's fixed text: the language file's key for it and the English text. The English
// text is what the control shows before its dialog sets the file's text, so a layout looks
// right on its own, and what stands when the file has no text for the key.
struct Caption {
  const char* key = nullptr;
  const char* english = "";
};
// A text the language file has none for: it is always English.
Caption English(const char* text) { return {nullptr, text}; }

ControlLayout Make(int id, ControlKind kind, std::uint32_t style, int x, int y, int w, int h,
                   Caption caption = {}) {
  ControlLayout c = ControlLayout::Make(id, kind, style, x, y, w, h, caption.english);
  c.textKey = caption.key;
  return c;
}

ControlLayout Hidden(ControlLayout c) {
  c.hidden = true;
  return c;
}

ControlLayout WithToolTip(ControlLayout c, Caption tip) {
  c.toolTipKey = tip.key;
  c.toolTip = tip.english;
  return c;
}

// A label without a text of its own shows data (a value, a version), whose "&" is no access
// key.
std::uint32_t DataStyle(const Caption& caption) {
  return caption.key == nullptr && caption.english[0] == '\0' ? kSsNoPrefix : 0u;
}
ControlLayout Label(int id, int x, int y, int w, Caption caption) {
  return Make(id, ControlKind::Label, DataStyle(caption), x, y, w, 8, caption);
}
ControlLayout Centred(int id, int x, int y, int w, Caption caption = {}) {
  return Make(id, ControlKind::Label, kSsCenter | DataStyle(caption), x, y, w, 8, caption);
}
ControlLayout Group(int id, int x, int y, int w, int h, Caption caption = {}) {
  return Make(id, ControlKind::GroupBox, kBsGroupBox, x, y, w, h, caption);
}
ControlLayout Button(int id, int x, int y, int w, int h, Caption caption) {
  return Make(id, ControlKind::PushButton, kBsPushButton | kWsTabStop, x, y, w, h, caption);
}
ControlLayout DefButton(int id, int x, int y, int w, int h, Caption caption) {
  return Make(id, ControlKind::PushButton, kBsDefPushButton | kWsTabStop, x, y, w, h, caption);
}
// The height of a drop-down list includes its opened list.
ControlLayout DropDown(int id, int x, int y, int w, int h) {
  return Make(id, ControlKind::DropDownList, kCbsDropDownList | kWsVScroll | kWsTabStop, x, y, w,
              h);
}
ControlLayout LineEdit(int id, int x, int y, int w) {
  return Make(id, ControlKind::Edit, kEsAutoHScroll | kWsBorder | kWsTabStop, x, y, w, 12);
}
ControlLayout Bar(int id, int x, int y, int w) {
  return Make(id, ControlKind::Progress, kWsBorder, x, y, w, 10);
}
ControlLayout Slider(int id, int x, int y, int w, int h) {
  return Make(id, ControlKind::Trackbar, kTbsAutoTicks | kTbsTop | kWsTabStop, x, y, w, h);
}
ControlLayout Radio(int id, int x, int y, bool first) {
  return Make(id, ControlKind::RadioButton,
              kBsAutoRadioButton | (first ? kWsGroup | kWsTabStop : 0u), x, y, 10, 8);
}

// A page answers its own keys: it is not a kDsControl member of the frame, whose Enter and
// Escape would go to the frame.
constexpr std::uint32_t kPageStyle = kWsChild;
// Pages that are children of the dialog sit inside the tab control's display area (the tab
// control lies at 12,48 and its captions take the top 14 units).
constexpr int kPageX = 16;
constexpr int kPageY = 64;
constexpr int kPageWidth = 256;
constexpr int kPageHeight = 170;

DialogLayout Page(int resourceId, std::vector<ControlLayout> controls) {
  DialogLayout d;
  d.resourceId = resourceId;
  d.style = kPageStyle;
  d.exStyle = kWsExControlParent;
  d.x = kPageX;
  d.y = kPageY;
  d.width = kPageWidth;
  d.height = kPageHeight;
  d.controls = std::move(controls);
  return d;
}

DialogLayout MakeSettingsDialog() {
  DialogLayout d;
  d.resourceId = kSettingsDialogId;
  d.style = kWsPopup | kWsCaption | kWsSysMenu | kDsModalFrame | kDsCenter;
  d.width = 287;
  d.height = 271;
  d.title = "Linkscope Utility";
  d.titleKey = "DlgTitle";
  ControlLayout windowsBox =
      Make(kIdWindowsCheckBox, ControlKind::CheckBox, kBsAutoCheckBox | kWsTabStop, 14, 251, 128,
           10, English("Use Windows to configure this card"));
  d.controls = {
      DropDown(kIdAdapterSelector, 50, 9, 159, 43),
      // A label stands right before the control its access key leads to.
      Label(kNoControlId, 53, 31, 52, English("&Current Profile:")),
      DropDown(kIdProfileSelector, 110, 28, 99, 60),
      Make(kIdTabControl, ControlKind::Tab, kWsTabStop | kWsClipSiblings, 12, 48, 268, 190),
      Hidden(Button(kIdResetButton, 167, 248, 19, 14, English("&Reset"))),
      Hidden(windowsBox),
      // The key is spelled so in every language file.
      Button(kIdCancel, 192, 248, 50, 14, {"CancelButon", "E&xit"}),
  };
  return d;
}

DialogLayout MakeStatusPage() {
  using P = CStatusPage;
  return Page(kStatusPageId,
              {
                  Label(P::kIdModeLabel, 10, 10, 72, {"OperatingMode", "&Operating Mode"}),
                  DropDown(P::kIdMode, 85, 8, 95, 50),
                  Label(P::kIdChannelLabel, 10, 26, 72, {"Channel", "C&hannel"}),
                  DropDown(P::kIdChannel, 85, 24, 95, 90),
                  Label(P::kIdSsidLabel, 10, 42, 72, {"SSID", "&SSID"}),
                  LineEdit(P::kIdSsid, 85, 40, 95),
                  Label(P::kIdRateLabel, 10, 58, 72, {"TxRate", "&Tx Rate"}),
                  DropDown(P::kIdRate, 85, 56, 95, 70),
                  Label(P::kIdRoamingLabel, 10, 74, 72, {"InternationalRoaming", "Int. &Roaming"}),
                  DropDown(P::kIdRoaming, 85, 72, 95, 40),
                  Label(P::kIdRadioLabel, 10, 90, 72, {"Radio", "Ra&dio"}),
                  DropDown(P::kIdRadio, 85, 88, 95, 40),
                  Button(P::kIdChange, 190, 8, 56, 14, {"ChangeButton", "Cha&nge"}),
                  Button(P::kIdSubmit, 190, 26, 56, 14, {"SubmitButton", "S&ubmit"}),
                  Button(P::kIdCancelEdit, 190, 44, 56, 14, {"CancelButton", "Canc&el"}),
                  // In the free corner beside the radio's list, clear of the controls above.
                  Button(P::kIdHistory, 190, 88, 56, 14, {"HistoryButton", "H&istory..."}),
                  Label(P::kIdStatusLabel, 10, 110, 40, {"Status", "St&atus"}),
                  Make(P::kIdStatusLine, ControlKind::Edit,
                       kEsReadOnly | kEsAutoHScroll | kWsBorder | kWsTabStop, 50, 108, 196, 12),
                  Label(P::kIdSignalLabel, 10, 128, 72, {"SignalStrength", "Si&gnal Strength"}),
                  Bar(P::kIdSignalBar, 85, 127, 120),
                  Centred(P::kIdSignalText, 210, 128, 36),
                  Label(P::kIdQualityLabel, 10, 144, 72, {"LinkQuality", "&Link Quality"}),
                  Bar(P::kIdQualityBar, 85, 143, 120),
                  Centred(P::kIdQualityText, 210, 144, 36),
              });
}

DialogLayout MakeStatisticsPage() {
  using P = CStatisticsPage;
  return Page(kStatisticsPageId,
              {
                  Centred(P::kIdTxHeading, 101, 7, 50, {"TxLabel", "&Tx"}),
                  Centred(P::kIdRxHeading, 167, 7, 50, {"RxLabel", "&Rx"}),
                  Group(P::kIdDataGroup, 7, 16, 237, 42, {"DataBorder", "&Data"}),
                  Label(P::kIdDataOkLabel, 20, 28, 78, {"DataOkLabel", "&Successful"}),
                  Label(P::kIdDataErrorLabel, 20, 43, 78, {"DataErrorLabel", "&Unsuccessful"}),
                  Centred(P::kIdTxDataOk, 101, 28, 50),
                  Centred(P::kIdTxDataFailed, 101, 43, 50),
                  Centred(P::kIdRxDataOk, 167, 28, 50),
                  Centred(P::kIdRxDataFailed, 167, 43, 50),
                  Group(P::kIdMgmtGroup, 7, 62, 237, 42, {"MgmtBorder", "&Management"}),
                  Label(P::kIdMgmtOkLabel, 20, 76, 78, {"MgmtOkLabel", "Successfu&l"}),
                  Label(P::kIdMgmtErrorLabel, 20, 90, 78, {"MgmtErrorLabel", "U&nsuccessful"}),
                  Centred(P::kIdTxMgmtOk, 101, 76, 50),
                  Centred(P::kIdTxMgmtFailed, 101, 90, 50),
                  Centred(P::kIdRxMgmtOk, 167, 76, 50),
                  Centred(P::kIdRxMgmtFailed, 167, 90, 50),
                  Group(kNoControlId, 7, 103, 237, 26),
                  Label(P::kIdRejectedLabel, 13, 113, 85, {"RejectedLabel", "Re&jected Packets"}),
                  Centred(P::kIdTxRejected, 101, 113, 50),
                  Centred(P::kIdRxRejected, 167, 113, 50),
                  DefButton(P::kIdResetButton, 194, 147, 50, 14,
                            {"ResetStatisticsButton", "R&eset"}),
              });
}

DialogLayout MakeSiteSurveyPage() {
  using P = CSiteSurveyPage;
  return Page(kSiteSurveyPageId,
              {
                  // Several rows can be selected at once.
                  Make(P::kIdList, ControlKind::ListView,
                       kLvsReport | kLvsShowSelAlways | kWsBorder | kWsTabStop, 7, 14, 237, 105),
                  // The channel view lies where the list does; one of the two shows.
                  Hidden(Make(P::kIdGraph, ControlKind::Graph, kWsBorder, 7, 14, 237, 105,
                              English("Channels"))),
                  Make(P::kIdViewList, ControlKind::RadioButton,
                       kBsAutoRadioButton | kWsGroup | kWsTabStop, 7, 123, 40, 10,
                       {"SurveyViewList", "&List"}),
                  Make(P::kIdViewChannels, ControlKind::RadioButton, kBsAutoRadioButton, 50, 123,
                       60, 10, {"SurveyViewChannels", "C&hannels"}),
                  Make(P::kIdViewTime, ControlKind::RadioButton, kBsAutoRadioButton, 113, 123, 60,
                       10, {"SurveyViewTime", "&Over time"}),
                  Label(P::kIdLeastCrowded, 7, 140, 120, {}),
                  Make(P::kIdRepeat, ControlKind::CheckBox, kBsAutoCheckBox | kWsTabStop, 130, 139,
                       50, 10, {"SurveyRepeat", "Re&peat"}),
                  Button(P::kIdRescan, 184, 137, 60, 14, {"ButtonRescan", "&Re-Scan"}),
                  // Never shown: Escape reaches the cancel command through it.
                  Hidden(Button(kIdCancel, 15, 135, 50, 14, {"ButtonCancel", "Canc&el"})),
              });
}

DialogLayout MakeEncryptionPage() {
  using P = CEncryptionPage;
  return Page(kEncryptionPageId,
              {
                  Group(kNoControlId, 7, 3, 237, 21),
                  Label(P::kIdLevelLabel, 46, 14, 80, {"EncryptionLevel", "&Encryption"}),
                  DropDown(P::kIdLevel, 130, 11, 80, 50),
                  Group(kNoControlId, 7, 26, 237, 64),
                  // Each key's label right before its box, where its access key leads.
                  Label(P::kIdKeyLabel1, 46, 38, 40, {"WEPkey1", "Key #&1"}),
                  LineEdit(P::kIdKey1, 90, 35, 150),
                  Label(P::kIdKeyLabel1 + 1, 46, 51, 40, {"WEPkey2", "Key #&2"}),
                  LineEdit(P::kIdKey2, 90, 49, 150),
                  Label(P::kIdKeyLabel1 + 2, 46, 64, 40, {"WEPkey3", "Key #&3"}),
                  LineEdit(P::kIdKey3, 90, 63, 150),
                  Label(P::kIdKeyLabel1 + 3, 46, 78, 40, {"WEPkey4", "Key #&4"}),
                  LineEdit(P::kIdKey4, 90, 77, 150),
                  Group(kNoControlId, 7, 92, 237, 54),
                  Label(P::kIdDefaultKeyLabel, 46, 105, 80, {"WEPKeyToUse", "&Default Key"}),
                  DropDown(P::kIdDefaultKey, 130, 101, 80, 60),
                  Label(P::kIdModeLabel, 46, 119, 80, {"WEPMode", "&Mode"}),
                  DropDown(P::kIdMode, 130, 115, 80, 40),
                  Label(P::kIdAuthenticationLabel, 46, 131, 80,
                        {"AuthenticationType", "&Authentication Type"}),
                  DropDown(P::kIdAuthentication, 130, 129, 80, 50),
                  Button(P::kIdSubmit, 187, 154, 57, 14, {"WEPSubmitButton", "&Submit"}),
              });
}

DialogLayout MakeAdvancedPage() {
  using P = CAdvancedPage;
  ControlLayout fragIndication = Centred(P::kIdFragIndication, 42, 72, 60);
  fragIndication.textColour = 0xFF0000;  // blue
  ControlLayout rtsIndication = Centred(P::kIdRtsIndication, 42, 102, 60);
  rtsIndication.textColour = 0xFF0000;
  return Page(kAdvancedPageId,
              {
                  // Each frame reaches below the last control inside it, so no label's
                  // background covers its lower edge.
                  Group(kNoControlId, 7, 7, 237, 44),
                  Label(P::kIdPreambleLabel, 42, 29, 90, {"PreambleType", "&Preamble Type"}),
                  // These three keys end in a blank in every language file. Each text
                  // stands right before its button: its access key selects it.
                  Label(P::kIdLongLabel, 157, 16, 60, {"PreambleLong ", "&Long"}),
                  Radio(P::kIdLong, 141, 15, true),
                  Label(P::kIdShortLabel, 157, 29, 60, {"PreambleShort ", "S&hort"}),
                  Radio(P::kIdShort, 141, 28, false),
                  Label(P::kIdAutoLabel, 157, 41, 60, {"PreambleAuto ", "&Auto"}),
                  Radio(P::kIdAuto, 141, 41, false),
                  Group(kNoControlId, 7, 49, 237, 64),
                  Label(P::kIdFragLabel, 26, 60, 92, {"FragThresh", "&Fragmentation Threshold"}),
                  Slider(P::kIdFrag, 122, 56, 100, 15),
                  Centred(P::kIdFragValue, 155, 76, 34),
                  fragIndication,
                  Label(P::kIdRtsLabel, 26, 89, 92, {"RTSThresh", "&RTS/CTS Threshold"}),
                  Slider(P::kIdRts, 122, 84, 100, 15),
                  Centred(P::kIdRtsValue, 156, 104, 34),
                  rtsIndication,
                  Group(kNoControlId, 7, 114, 237, 26),
                  Make(P::kIdPowerSave, ControlKind::CheckBox, kBsAutoCheckBox | kWsTabStop, 35,
                       124, 100, 10, {"PowerSave", "Po&wer Save"}),
                  DefButton(P::kIdSubmit, 193, 148, 50, 14, {"AdvButtonOK", "&Submit"}),
              });
}

DialogLayout MakeProfilesPage() {
  using P = CProfilesPage;
  auto command = [](int id, int y, Caption caption, Caption tip) {
    return WithToolTip(Button(id, 22, y, 69, 15, caption), tip);
  };
  DialogLayout d = Page(
      kProfilesPageId,
      {
          Group(kNoControlId, 7, 7, 99, 158, English("Existing &profiles")),
          Make(P::kIdList, ControlKind::ListBox, kLbsNotify | kWsVScroll | kWsBorder | kWsTabStop,
               11, 20, 91, 66),
          command(P::kIdNew, 91, {"ProfileButtonNew", "&New"},
                  {"TipCreate", "Create a new profile from current configuration"}),
          command(P::kIdSave, 109, {"ProfileButtonSave", "&Save"},
                  {"TipSave", "Save current configuration to selected profile"}),
          command(P::kIdDelete, 127, {"ProfileButtonDelete", "&Delete"},
                  {"TipDelete", "Delete selected profile"}),
          command(P::kIdRename, 145, {"ProfileButtonRename", "&Rename"},
                  {"TipRename", "Rename selected profile"}),
          // The page words the preview's caption and the wizard's texts as they change.
          Group(P::kIdPreviewGroup, 109, 7, 142, 88, English("Preview")),
          Hidden(Make(P::kIdPreview, ControlKind::Edit, kEsMultiLine | kEsReadOnly | kWsVScroll,
                      112, 19, 135, 73)),
          Group(kNoControlId, 109, 95, 142, 70, English("&Wizard")),
          // It words messages with profile names in them.
          Make(P::kIdInfo, ControlKind::Label, kSsNoPrefix, 114, 104, 133, 43, English("Static")),
          Hidden(Make(P::kIdName, ControlKind::Edit, kEsAutoHScroll | kWsBorder | kWsTabStop, 114,
                      148, 58, 12)),
          Hidden(Button(P::kIdConfirm, 174, 148, 35, 12, English("Create"))),
          Hidden(Button(P::kIdWizardCancel, 212, 148, 35, 12, {"ProfileButtonCancel", "Canc&el"})),
      });
  // A child of the tab control: its position is inside the tab control, below the captions.
  d.x = 4;
  d.y = 16;
  return d;
}

DialogLayout MakeInfoPage() {
  using P = CInfoPage;
  return Page(kInfoPageId,
              {
                  Make(P::kIdLogo, ControlKind::Bitmap, kSsBitmap, 7, 7, 237, 60),
                  Label(P::kIdDriverLabel, 20, 80, 95, {"DriverVer", "&Driver Version"}),
                  Label(P::kIdDriverVersion, 120, 80, 110, {}),
                  Label(P::kIdFirmwareLabel, 20, 96, 95, {"FwVer", "&Firmware Version"}),
                  Label(P::kIdFirmwareVersion, 120, 96, 110, {}),
                  Label(P::kIdApplicationLabel, 20, 112, 95, {"AppVer", "&Application Version"}),
                  Label(P::kIdApplicationVersion, 120, 112, 110, {}),
                  Label(P::kIdMacLabel, 20, 128, 95, {"MACaddress", "&MAC Address"}),
                  Label(P::kIdMacAddress, 120, 128, 110, {}),
              });
}

}  // namespace

const DialogLayout& SettingsDialogLayout() {
  static const DialogLayout layout = MakeSettingsDialog();
  return layout;
}

const DialogLayout* PageLayout(int resourceId) {
  static const DialogLayout pages[kPageCount] = {
      MakeStatusPage(),   MakeStatisticsPage(), MakeSiteSurveyPage(), MakeEncryptionPage(),
      MakeAdvancedPage(), MakeProfilesPage(),   MakeInfoPage()};
  for (const DialogLayout& page : pages) {
    if (page.resourceId == resourceId) return &page;
  }
  return nullptr;
}

}  // namespace linkscope
