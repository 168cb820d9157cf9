#include "ui/DialogLayouts.h"

#include "platform/DialogSystem.h"

namespace linkscope {

const int kPageResourceIds[kPageCount] = {kStatusPageId,     kStatisticsPageId, kSiteSurveyPageId,
                                          kEncryptionPageId, kAdvancedPageId,   kProfilesPageId,
                                          kInfoPageId};

namespace {

// Texts given here are what a control shows before its page sets it from the language file;
// they are the English texts, so a layout looks right on its own.

ControlLayout Make(int id, ControlKind kind, std::uint32_t style, int x, int y, int w, int h,
                   const char* text = "") {
  return ControlLayout::Make(id, kind, style, x, y, w, h, text);
}

ControlLayout Hidden(ControlLayout c) {
  c.hidden = true;
  return c;
}

ControlLayout Label(int id, int x, int y, int w, const char* text) {
  return Make(id, ControlKind::Label, 0, x, y, w, 8, text);
}
ControlLayout Centred(int id, int x, int y, int w, const char* text = "") {
  return Make(id, ControlKind::Label, kSsCenter, x, y, w, 8, text);
}
ControlLayout Group(int id, int x, int y, int w, int h, const char* text = "") {
  return Make(id, ControlKind::GroupBox, kBsGroupBox, x, y, w, h, text);
}
ControlLayout Button(int id, int x, int y, int w, int h, const char* text) {
  return Make(id, ControlKind::PushButton, kBsPushButton | kWsTabStop, x, y, w, h, text);
}
ControlLayout DefButton(int id, int x, int y, int w, int h, const char* text) {
  return Make(id, ControlKind::PushButton, kBsDefPushButton | kWsTabStop, x, y, w, h, text);
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
  ControlLayout windowsBox =
      Make(kIdWindowsCheckBox, ControlKind::CheckBox, kBsAutoCheckBox | kWsTabStop, 14, 251, 128,
           10, "Use Windows to configure this card");
  d.controls = {
      DropDown(kIdAdapterSelector, 50, 9, 159, 43),
      DropDown(kIdProfileSelector, 110, 28, 99, 60),
      // Always English: the language file has no text for it.
      Label(kNoControlId, 53, 31, 52, "Current Profile:"),
      Make(kIdTabControl, ControlKind::Tab, kWsTabStop | kWsClipSiblings, 12, 48, 268, 190),
      Hidden(Button(kIdResetButton, 167, 248, 19, 14, "&Reset")),
      Hidden(windowsBox),
      Button(kIdCancel, 192, 248, 50, 14, "Exit"),
  };
  return d;
}

DialogLayout MakeStatusPage() {
  return Page(kStatusPageId,
              {
                  Label(1013, 10, 10, 72, "Operating Mode"),
                  DropDown(1024, 85, 8, 95, 50),
                  Label(1014, 10, 26, 72, "Channel"),
                  DropDown(1025, 85, 24, 95, 90),
                  Label(1015, 10, 42, 72, "SSID"),
                  LineEdit(1009, 85, 40, 95),
                  Label(1016, 10, 58, 72, "Tx Rate"),
                  DropDown(1026, 85, 56, 95, 70),
                  Label(1082, 10, 74, 72, "Int. Roaming"),
                  DropDown(1029, 85, 72, 95, 40),
                  Label(1012, 10, 90, 72, "Radio"),
                  DropDown(1030, 85, 88, 95, 40),
                  Button(1018, 190, 8, 56, 14, "Change"),
                  Button(1019, 190, 26, 56, 14, "Submit"),
                  Button(kIdCancel, 190, 44, 56, 14, "Cancel"),
                  Label(1022, 10, 110, 40, "Status"),
                  Make(1003, ControlKind::Edit, kEsReadOnly | kEsAutoHScroll | kWsBorder, 50,
                       108, 196, 12),
                  Label(1020, 10, 128, 72, "Signal Strength"),
                  Bar(1021, 85, 127, 120),
                  Centred(1031, 210, 128, 36),
                  Label(1023, 10, 144, 72, "Link Quality"),
                  Bar(1028, 85, 143, 120),
                  Centred(1032, 210, 144, 36),
              });
}

DialogLayout MakeStatisticsPage() {
  return Page(kStatisticsPageId,
              {
                  Centred(1079, 101, 7, 50, "Tx"),
                  Centred(1080, 167, 7, 50, "Rx"),
                  Group(1077, 7, 16, 237, 42, "Data"),
                  Label(1065, 20, 28, 78, "Successful"),
                  Label(1067, 20, 43, 78, "Unsuccessful"),
                  Centred(1069, 101, 28, 50),
                  Centred(1070, 101, 43, 50),
                  Centred(1073, 167, 28, 50),
                  Centred(1074, 167, 43, 50),
                  Group(1078, 7, 62, 237, 42, "Management"),
                  Label(1066, 20, 76, 78, "Successful"),
                  Label(1068, 20, 90, 78, "Unsuccessful"),
                  Centred(1071, 101, 76, 50),
                  Centred(1072, 101, 90, 50),
                  Centred(1075, 167, 76, 50),
                  Centred(1076, 167, 90, 50),
                  Group(kNoControlId, 7, 103, 237, 26),
                  Label(1081, 13, 113, 85, "Rejected Packets"),
                  Centred(1082, 101, 113, 50),
                  Centred(1083, 167, 113, 50),
                  DefButton(kIdOk, 194, 147, 50, 14, "Reset"),
              });
}

DialogLayout MakeSiteSurveyPage() {
  return Page(kSiteSurveyPageId,
              {
                  // Several rows can be selected at once.
                  Make(1033, ControlKind::ListView,
                       kLvsReport | kLvsShowSelAlways | kWsBorder | kWsTabStop, 7, 14, 237, 105),
                  Button(1034, 184, 137, 60, 14, "Re-Scan"),
                  // Never shown: Escape reaches the cancel command through it.
                  Hidden(Button(kIdCancel, 15, 135, 50, 14, "Cancel")),
              });
}

DialogLayout MakeEncryptionPage() {
  return Page(kEncryptionPageId,
              {
                  Group(kNoControlId, 7, 3, 237, 21),
                  Label(1049, 46, 14, 80, "Encryption"),
                  DropDown(1081, 130, 11, 80, 50),
                  Group(kNoControlId, 7, 26, 237, 64),
                  Label(1039, 46, 38, 40, "Key #1"),
                  Label(1040, 46, 51, 40, "Key #2"),
                  Label(1041, 46, 64, 40, "Key #3"),
                  Label(1042, 46, 78, 40, "Key #4"),
                  LineEdit(1035, 90, 35, 150),
                  LineEdit(1036, 90, 49, 150),
                  LineEdit(1037, 90, 63, 150),
                  LineEdit(1038, 90, 77, 150),
                  Group(kNoControlId, 7, 92, 237, 54),
                  Label(1044, 46, 105, 80, "Default Key"),
                  DropDown(1043, 130, 101, 80, 60),
                  Label(1045, 46, 119, 80, "Mode"),
                  DropDown(1046, 130, 115, 80, 40),
                  Label(1047, 46, 131, 80, "Authentication Type"),
                  DropDown(1048, 130, 129, 80, 50),
                  Button(1019, 187, 154, 57, 14, "Submit"),
              });
}

DialogLayout MakeAdvancedPage() {
  ControlLayout fragIndication = Centred(1060, 42, 72, 60);
  fragIndication.textColour = 0xFF0000;  // blue
  ControlLayout rtsIndication = Centred(1062, 42, 102, 60);
  rtsIndication.textColour = 0xFF0000;
  return Page(kAdvancedPageId,
              {
                  // Each frame reaches below the last control inside it, so no label's
                  // background covers its lower edge.
                  Group(kNoControlId, 7, 7, 237, 44),
                  Label(1054, 42, 29, 90, "Preamble Type"),
                  Radio(1050, 141, 15, true),
                  Radio(1051, 141, 28, false),
                  Radio(1063, 141, 41, false),
                  Label(1055, 157, 16, 60, "Long"),
                  Label(1056, 157, 29, 60, "Short"),
                  Label(1064, 157, 41, 60, "Auto"),
                  Group(kNoControlId, 7, 49, 237, 64),
                  Label(1058, 26, 60, 92, "Fragmentation Threshold"),
                  Slider(1052, 122, 56, 100, 15),
                  Centred(1059, 155, 76, 34),
                  fragIndication,
                  Label(1057, 26, 89, 92, "RTS/CTS Threshold"),
                  Slider(1053, 122, 84, 100, 15),
                  Centred(1061, 156, 104, 34),
                  rtsIndication,
                  Group(kNoControlId, 7, 114, 237, 26),
                  Make(1083, ControlKind::CheckBox, kBsAutoCheckBox | kWsTabStop, 35, 124, 100,
                       10, "Power Save"),
                  DefButton(kIdOk, 193, 148, 50, 14, "Submit"),
              });
}

DialogLayout MakeProfilesPage() {
  DialogLayout d =
      Page(kProfilesPageId,
           {
               Group(kNoControlId, 7, 7, 99, 158, "Existing profiles"),
               Make(1086, ControlKind::ListBox, kLbsNotify | kWsVScroll | kWsBorder | kWsTabStop,
                    11, 20, 91, 66),
               Make(1087, ControlKind::PushButton, kBsPushButton | kWsTabStop, 22, 91, 69, 15,
                    "New"),
               Make(1088, ControlKind::PushButton, kBsPushButton | kWsTabStop, 22, 109, 69, 15,
                    "Save"),
               Make(1089, ControlKind::PushButton, kBsPushButton | kWsTabStop, 22, 127, 69, 15,
                    "Delete"),
               Make(1091, ControlKind::PushButton, kBsPushButton | kWsTabStop, 22, 145, 69, 15,
                    "Rename"),
               Group(1096, 109, 7, 142, 88, "Preview"),
               Hidden(Make(1090, ControlKind::Edit, kEsMultiLine | kEsReadOnly | kWsVScroll, 112,
                           19, 135, 73)),
               Group(kNoControlId, 109, 95, 142, 70, "Wizard"),
               Make(1093, ControlKind::Label, 0, 114, 104, 133, 43, "Static"),
               Hidden(Make(1092, ControlKind::Edit, kEsAutoHScroll | kWsBorder | kWsTabStop, 114,
                           148, 58, 12)),
               Hidden(Button(1094, 174, 148, 35, 12, "Create")),
               Hidden(Button(1095, 212, 148, 35, 12, "Cancel")),
           });
  // A child of the tab control: its position is inside the tab control, below the captions.
  d.x = 4;
  d.y = 16;
  return d;
}

DialogLayout MakeInfoPage() {
  return Page(kInfoPageId,
              {
                  Make(1000, ControlKind::Bitmap, kSsBitmap, 7, 7, 237, 60),
                  Label(1063, 20, 80, 95, "Driver Version"),
                  Label(1066, 120, 80, 110, ""),
                  Label(1064, 20, 96, 95, "Firmware Version"),
                  Label(1067, 120, 96, 110, ""),
                  Label(1065, 20, 112, 95, "Application Version"),
                  Label(1068, 120, 112, 110, ""),
                  Label(1069, 20, 128, 95, "MAC Address"),
                  Label(1070, 120, 128, 110, ""),
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
