#pragma once
// A dialog described as data: its frame and every control with id, kind, styles, position in
// dialog units, initial text (with the language file's key for it) and whether it starts
// hidden. The Win32 layer builds the real
// windows from it; the test fake builds its control model from the same description.

#include <cstdint>
#include <vector>

namespace linkscope {

// Window styles, with the platform's values.
constexpr std::uint32_t kWsPopup = 0x80000000;
constexpr std::uint32_t kWsChild = 0x40000000;
constexpr std::uint32_t kWsVisible = 0x10000000;
constexpr std::uint32_t kWsDisabled = 0x08000000;
constexpr std::uint32_t kWsClipSiblings = 0x04000000;
constexpr std::uint32_t kWsCaption = 0x00C00000;
constexpr std::uint32_t kWsBorder = 0x00800000;
constexpr std::uint32_t kWsSysMenu = 0x00080000;
constexpr std::uint32_t kWsVScroll = 0x00200000;
constexpr std::uint32_t kWsHScroll = 0x00100000;
constexpr std::uint32_t kWsGroup = 0x00020000;
constexpr std::uint32_t kWsTabStop = 0x00010000;
constexpr std::uint32_t kWsExClientEdge = 0x00000200;
// A window whose controls belong to its parent's tab order and access keys (a page).
constexpr std::uint32_t kWsExControlParent = 0x00010000;

// Dialog styles.
constexpr std::uint32_t kDsModalFrame = 0x80;
constexpr std::uint32_t kDsControl = 0x400;
constexpr std::uint32_t kDsCenter = 0x800;

// Control styles of the kinds the program uses.
constexpr std::uint32_t kBsPushButton = 0x0;
constexpr std::uint32_t kBsDefPushButton = 0x1;
constexpr std::uint32_t kBsAutoCheckBox = 0x3;
constexpr std::uint32_t kBsGroupBox = 0x7;
constexpr std::uint32_t kBsAutoRadioButton = 0x9;
constexpr std::uint32_t kBsTypeMask = 0xF;
constexpr std::uint32_t kEsMultiLine = 0x4;
constexpr std::uint32_t kEsAutoHScroll = 0x80;
constexpr std::uint32_t kEsReadOnly = 0x800;
constexpr std::uint32_t kSsCenter = 0x1;
// A static text that shows data: an "&" in it is shown, not taken for an access key.
constexpr std::uint32_t kSsNoPrefix = 0x80;
constexpr std::uint32_t kSsBitmap = 0xE;
constexpr std::uint32_t kCbsDropDownList = 0x3;
constexpr std::uint32_t kLbsNotify = 0x1;
constexpr std::uint32_t kLbsNoIntegralHeight = 0x100;
constexpr std::uint32_t kLvsReport = 0x1;
constexpr std::uint32_t kLvsSingleSel = 0x4;
constexpr std::uint32_t kLvsShowSelAlways = 0x8;
constexpr std::uint32_t kTbsAutoTicks = 0x1;
constexpr std::uint32_t kTbsTop = 0x4;

// A control without an id (labels and frames nobody addresses).
constexpr int kNoControlId = -1;

// What a control is; each kind is one window class.
enum class ControlKind {
  Label,        // STATIC, text
  Bitmap,       // STATIC, image
  GroupBox,     // BUTTON, frame
  PushButton,   // BUTTON (plain or default)
  CheckBox,     // BUTTON
  RadioButton,  // BUTTON
  Edit,         // EDIT
  DropDownList, // COMBOBOX
  ListBox,      // LISTBOX
  ListView,     // SysListView32
  Tab,          // SysTabControl32
  Progress,     // msctls_progress32
  Trackbar,     // msctls_trackbar32
  Graph,        // the program's own class: drawn by a painter (DialogItems.h)
};

// The window class the Win32 layer registers for ControlKind::Graph.
constexpr const char* kGraphClassName = "LinkscopeGraph";

// The window class of a kind.
inline const char* ControlClassName(ControlKind kind) {
  switch (kind) {
    case ControlKind::Label:
    case ControlKind::Bitmap:
      return "STATIC";
    case ControlKind::GroupBox:
    case ControlKind::PushButton:
    case ControlKind::CheckBox:
    case ControlKind::RadioButton:
      return "BUTTON";
    case ControlKind::Edit:
      return "EDIT";
    case ControlKind::DropDownList:
      return "COMBOBOX";
    case ControlKind::ListBox:
      return "LISTBOX";
    case ControlKind::ListView:
      return "SysListView32";
    case ControlKind::Tab:
      return "SysTabControl32";
    case ControlKind::Progress:
      return "msctls_progress32";
    case ControlKind::Trackbar:
      return "msctls_trackbar32";
    case ControlKind::Graph:
      return kGraphClassName;
  }
  return "STATIC";
}

// A colour as red | green << 8 | blue << 16; kDefaultColour keeps the system's.
constexpr std::uint32_t kDefaultColour = 0xFFFFFFFF;

struct ControlLayout {
  int id = kNoControlId;
  ControlKind kind = ControlKind::Label;
  // Every style bit of the control except kWsChild and kWsVisible, which follow from it being
  // a control and from `hidden`.
  std::uint32_t style = 0;
  std::uint32_t exStyle = 0;
  // Position and size in dialog units.
  int x = 0;
  int y = 0;
  int width = 0;
  int height = 0;
  const char* text = "";
  // The language file's key for `text`, or null. With a key, `text` is the English text the
  // key stands for (what shows when the file has none), and the control is given the file's
  // text once its dialog is built. Without one, the text is always English, or the dialog
  // words it itself as what it shows changes.
  const char* textKey = nullptr;
  // A tool tip, looked up by its key in the same way; none when the key is null.
  const char* toolTipKey = nullptr;
  const char* toolTip = "";
  bool hidden = false;
  // Text colour of a label, drawn on a transparent background.
  std::uint32_t textColour = kDefaultColour;

  static ControlLayout Make(int id, ControlKind kind, std::uint32_t style, int x, int y, int w,
                            int h, const char* text = "") {
    ControlLayout c;
    c.id = id;
    c.kind = kind;
    c.style = style;
    c.x = x;
    c.y = y;
    c.width = w;
    c.height = h;
    c.text = text;
    return c;
  }
};

struct DialogLayout {
  int resourceId = 0;
  // The frame's styles. A page is a plain child (kWsChild, without kDsControl: it handles its
  // own keys, Enter pressing its default button) created without kWsVisible: it shows itself
  // once it has read its data.
  std::uint32_t style = 0;
  // A page is a control parent (kWsExControlParent): Tab and the access keys reach its
  // controls from the frame, and the frame's from it.
  std::uint32_t exStyle = 0;
  int x = 0;
  int y = 0;
  int width = 0;
  int height = 0;
  const char* title = "";
  // The language file's key for the title, as a control's `textKey` is for its text.
  const char* titleKey = nullptr;
  // The dialog font of every Windows the program runs on, from 95 to XP; dialog units are
  // measured in it.
  const char* fontName = "MS Sans Serif";
  int fontPoints = 8;
  std::vector<ControlLayout> controls;

  // The control with that id, or null (controls without id are not found).
  const ControlLayout* Find(int id) const {
    if (id == kNoControlId) return nullptr;
    for (const ControlLayout& c : controls) {
      if (c.id == id) return &c;
    }
    return nullptr;
  }
};

}  // namespace linkscope
