#include "win32/Win32DialogSystem.h"

#include <windows.h>
#include <commctrl.h>

#include <string>

#include "win32/Win32DialogItems.h"
#include "win32/Win32GraphControl.h"

namespace linkscope {

static_assert(kWsChild == WS_CHILD && kWsVisible == WS_VISIBLE && kWsPopup == WS_POPUP &&
                  kWsDisabled == WS_DISABLED && kWsCaption == WS_CAPTION &&
                  kWsBorder == WS_BORDER && kWsSysMenu == WS_SYSMENU &&
                  kWsVScroll == WS_VSCROLL && kWsHScroll == WS_HSCROLL && kWsGroup == WS_GROUP &&
                  kWsTabStop == WS_TABSTOP && kWsClipSiblings == WS_CLIPSIBLINGS &&
                  kWsExClientEdge == WS_EX_CLIENTEDGE,
              "window styles");
static_assert(kDsModalFrame == DS_MODALFRAME && kDsControl == DS_CONTROL && kDsCenter == DS_CENTER,
              "dialog styles");
static_assert(kBsPushButton == BS_PUSHBUTTON && kBsDefPushButton == BS_DEFPUSHBUTTON &&
                  kBsAutoCheckBox == BS_AUTOCHECKBOX && kBsGroupBox == BS_GROUPBOX &&
                  kBsAutoRadioButton == BS_AUTORADIOBUTTON && kBsTypeMask == BS_TYPEMASK &&
                  kEsMultiLine == ES_MULTILINE && kEsAutoHScroll == ES_AUTOHSCROLL &&
                  kEsReadOnly == ES_READONLY && kSsCenter == SS_CENTER && kSsBitmap == SS_BITMAP &&
                  kCbsDropDownList == CBS_DROPDOWNLIST && kLbsNotify == LBS_NOTIFY &&
                  kLbsNoIntegralHeight == LBS_NOINTEGRALHEIGHT && kLvsReport == LVS_REPORT &&
                  kLvsSingleSel == LVS_SINGLESEL && kLvsShowSelAlways == LVS_SHOWSELALWAYS &&
                  kTbsAutoTicks == TBS_AUTOTICKS && kTbsTop == TBS_TOP,
              "control styles");
static_assert(kIdOk == IDOK && kIdCancel == IDCANCEL && kBnClicked == BN_CLICKED &&
                  kCbnSelChange == CBN_SELCHANGE && kCbnDropDown == CBN_DROPDOWN &&
                  kLbnSelChange == LBN_SELCHANGE && kEnChange == EN_CHANGE &&
                  kEnUpdate == EN_UPDATE && kEnMaxText == EN_MAXTEXT &&
                  kNmClick == static_cast<int>(NM_CLICK) &&
                  kNmDblClk == static_cast<int>(NM_DBLCLK) &&
                  kNmCustomDraw == static_cast<int>(NM_CUSTOMDRAW) &&
                  kTcnSelChange == static_cast<int>(TCN_SELCHANGE),
              "command and notification codes");

namespace {

HWND ToHwnd(WindowHandle w) { return reinterpret_cast<HWND>(w); }
WindowHandle FromHwnd(HWND h) { return reinterpret_cast<WindowHandle>(h); }

// What a dialog window carries in DWLP_USER: its handler, its layout (for the colours of its
// labels) and its controls.
struct Binding {
  IDialogHandler* handler = nullptr;
  const DialogLayout* layout = nullptr;
  Win32DialogItems items;
  bool modal = false;
  bool ended = false;
  int result = 0;
  // A page's binding belongs to its window and goes with it; a modal dialog's lives in DoModal.
  bool ownedByWindow = false;
  bool attached = false;
  // Set once the handler has heard of the destruction. Controls still report while they are
  // torn down after it (a list view announces its items' deletion); the handler must not hear
  // them, as its controls are going.
  bool destroyed = false;
};

Binding* BindingOf(HWND hwnd) {
  return reinterpret_cast<Binding*>(GetWindowLongPtrA(hwnd, DWLP_USER));
}

INT_PTR Dispatch(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_INITDIALOG) {
    auto* binding = reinterpret_cast<Binding*>(lParam);
    SetWindowLongPtrA(hwnd, DWLP_USER, reinterpret_cast<LONG_PTR>(binding));
    binding->attached = true;
    binding->items.Attach(FromHwnd(hwnd));
    binding->handler->OnInitDialog(FromHwnd(hwnd), binding->items);
    return TRUE;
  }
  Binding* binding = BindingOf(hwnd);
  if (binding == nullptr) return FALSE;
  if (binding->destroyed && message != WM_NCDESTROY) return FALSE;
  IDialogHandler& handler = *binding->handler;
  switch (message) {
    case WM_COMMAND: {
      int id = LOWORD(wParam);
      if (id == 0xFFFF) id = kNoControlId;
      const int code = HIWORD(wParam);
      if (id == IDOK && code == BN_CLICKED) {
        handler.OnOk();
      } else if (id == IDCANCEL && code == BN_CLICKED) {
        handler.OnCancel();
      } else {
        handler.OnCommand(id, code);
      }
      return TRUE;
    }
    case WM_NOTIFY: {
      const auto* header = reinterpret_cast<const NMHDR*>(lParam);
      DialogNotification n;
      n.id = static_cast<int>(header->idFrom);
      n.code = static_cast<int>(header->code);
      if (header->code == NM_CUSTOMDRAW) {
        // Once per drawing; the control then draws itself the default way.
        if (reinterpret_cast<const NMCUSTOMDRAW*>(lParam)->dwDrawStage == CDDS_PREPAINT) {
          handler.OnNotify(n);
        }
        SetWindowLongPtrA(hwnd, DWLP_MSGRESULT, CDRF_DODEFAULT);
        return TRUE;
      }
      char className[32] = "";
      GetClassNameA(header->hwndFrom, className, sizeof className);
      if ((header->code == NM_CLICK || header->code == NM_DBLCLK) &&
          lstrcmpiA(className, WC_LISTVIEWA) == 0) {
        n.item = reinterpret_cast<const NMITEMACTIVATE*>(lParam)->iItem;
      }
      handler.OnNotify(n);
      SetWindowLongPtrA(hwnd, DWLP_MSGRESULT, 0);
      return TRUE;
    }
    case WM_HSCROLL:
    case WM_VSCROLL:
      if (lParam != 0) handler.OnScroll(GetDlgCtrlID(reinterpret_cast<HWND>(lParam)));
      return TRUE;
    case WM_TIMER:
      handler.OnTimer(static_cast<std::uint32_t>(wParam));
      return TRUE;
    case WM_CTLCOLORSTATIC: {
      const ControlLayout* control =
          binding->layout->Find(GetDlgCtrlID(reinterpret_cast<HWND>(lParam)));
      if (control == nullptr || control->textColour == kDefaultColour) return FALSE;
      HDC dc = reinterpret_cast<HDC>(wParam);
      SetTextColor(dc, control->textColour);
      SetBkMode(dc, TRANSPARENT);
      return reinterpret_cast<INT_PTR>(GetSysColorBrush(COLOR_BTNFACE));
    }
    case WM_DESTROY:
      binding->destroyed = true;
      handler.OnDestroy();
      return FALSE;
    case WM_NCDESTROY:
      SetWindowLongPtrA(hwnd, DWLP_USER, 0);
      if (binding->ownedByWindow) {
        delete binding;
      } else if (!binding->ended) {
        // A modal dialog destroyed from outside ends its loop instead of leaving it waiting.
        binding->ended = true;
        binding->result = -1;
      }
      return FALSE;
    default:
      return FALSE;
  }
}

// The one dialog procedure of the program. The handlers throw nothing by design; should
// anything escape all the same, it must not unwind through the system's dialog manager.
INT_PTR CALLBACK DialogProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  try {
    return Dispatch(hwnd, message, wParam, lParam);
  } catch (...) {
    return FALSE;
  }
}

bool IsOurDialog(HWND hwnd) {
  return GetWindowLongPtrA(hwnd, DWLP_DLGPROC) == reinterpret_cast<LONG_PTR>(&DialogProc);
}

// Keyboard handling of the dialogs, as the class framework does it: a key goes to the
// innermost of our dialogs around the window it is for, so a page's default button and its
// cancel command answer Enter and Escape there, and Tab moves among the page's controls. On the
// frame's own controls the frame answers them.
bool PreTranslate(MSG* msg) {
  if (msg->hwnd == nullptr) return false;
  HWND root = GetAncestor(msg->hwnd, GA_ROOT);
  if (root == nullptr || !IsOurDialog(root)) return false;
  for (HWND w = msg->hwnd; w != nullptr; w = GetParent(w)) {
    if (IsOurDialog(w)) return IsDialogMessageA(w, msg) != FALSE;
    if (w == root) break;
  }
  return false;
}

void AppendWord(std::vector<std::uint16_t>* t, std::uint32_t value) {
  t->push_back(static_cast<std::uint16_t>(value));
}
void AppendDword(std::vector<std::uint16_t>* t, std::uint32_t value) {
  t->push_back(static_cast<std::uint16_t>(value & 0xFFFF));
  t->push_back(static_cast<std::uint16_t>(value >> 16));
}
// A text in the template is UTF-16; ours are in the system's ANSI code page.
void AppendText(std::vector<std::uint16_t>* t, const char* text) {
  const int n = MultiByteToWideChar(CP_ACP, 0, text, -1, nullptr, 0);
  std::wstring wide(static_cast<std::size_t>(n > 0 ? n : 1), L'\0');
  if (n > 0) MultiByteToWideChar(CP_ACP, 0, text, -1, &wide[0], n);
  for (wchar_t c : wide) t->push_back(static_cast<std::uint16_t>(c));  // with its NUL
}
void AlignDword(std::vector<std::uint16_t>* t) {
  if (t->size() % 2 != 0) t->push_back(0);
}

}  // namespace

// The windows are built from the layout through an in-memory dialog template rather than by
// creating each child window ourselves: the dialog manager then does exactly what it does for a
// compiled resource (dialog units converted with the dialog's font, WM_INITDIALOG once every
// control exists, tab order, default buttons, keyboard navigation), and the layout stays the
// only description of the dialog.
std::vector<std::uint32_t> Win32DialogSystem::BuildTemplate(const DialogLayout& layout) {
  std::vector<std::uint16_t> t;
  AppendWord(&t, 1);       // dlgVer
  AppendWord(&t, 0xFFFF);  // signature of the extended template
  AppendDword(&t, 0);      // helpID
  AppendDword(&t, (layout.style & DS_CONTROL) != 0 ? WS_EX_CONTROLPARENT : 0);
  AppendDword(&t, layout.style | DS_SETFONT);
  AppendWord(&t, static_cast<std::uint32_t>(layout.controls.size()));
  AppendWord(&t, static_cast<std::uint32_t>(layout.x));
  AppendWord(&t, static_cast<std::uint32_t>(layout.y));
  AppendWord(&t, static_cast<std::uint32_t>(layout.width));
  AppendWord(&t, static_cast<std::uint32_t>(layout.height));
  AppendWord(&t, 0);  // no menu
  AppendWord(&t, 0);  // the standard dialog class
  AppendText(&t, layout.title);
  AppendWord(&t, static_cast<std::uint32_t>(layout.fontPoints));
  AppendWord(&t, FW_NORMAL);
  AppendWord(&t, 0);  // not italic, default character set
  AppendText(&t, layout.fontName);
  for (const ControlLayout& c : layout.controls) {
    AlignDword(&t);
    AppendDword(&t, 0);  // helpID
    AppendDword(&t, c.exStyle);
    AppendDword(&t, WS_CHILD | (c.hidden ? 0u : static_cast<std::uint32_t>(WS_VISIBLE)) | c.style);
    AppendWord(&t, static_cast<std::uint32_t>(c.x));
    AppendWord(&t, static_cast<std::uint32_t>(c.y));
    AppendWord(&t, static_cast<std::uint32_t>(c.width));
    AppendWord(&t, static_cast<std::uint32_t>(c.height));
    AppendDword(&t, static_cast<std::uint32_t>(c.id));
    AppendText(&t, ControlClassName(c.kind));
    AppendText(&t, c.text);
    AppendWord(&t, 0);  // no creation data
  }
  AlignDword(&t);
  std::vector<std::uint32_t> aligned(t.size() / 2);
  for (std::size_t i = 0; i < aligned.size(); ++i) {
    aligned[i] = static_cast<std::uint32_t>(t[2 * i]) |
                 static_cast<std::uint32_t>(t[2 * i + 1]) << 16;
  }
  return aligned;
}

Win32DialogSystem::Win32DialogSystem(void* instance) : instance_(instance) {
  RegisterGraphClass(static_cast<HINSTANCE>(instance_));
}

int Win32DialogSystem::DoModal(const DialogLayout& layout, WindowHandle owner,
                               IDialogHandler& handler) {
  const std::vector<std::uint32_t> dialogTemplate = BuildTemplate(layout);
  Binding binding;
  binding.handler = &handler;
  binding.layout = &layout;
  binding.modal = true;
  HWND ownerWindow = ToHwnd(owner);
  HWND dialog = CreateDialogIndirectParamA(
      static_cast<HINSTANCE>(instance_),
      reinterpret_cast<LPCDLGTEMPLATEA>(dialogTemplate.data()), ownerWindow, DialogProc,
      reinterpret_cast<LPARAM>(&binding));
  if (dialog == nullptr) return -1;
  const bool disableOwner = ownerWindow != nullptr && IsWindowEnabled(ownerWindow);
  if (disableOwner) EnableWindow(ownerWindow, FALSE);
  if (!binding.ended) ShowWindow(dialog, SW_SHOW);

  // The dialog's own loop: it dispatches every window's messages (the main frame's timer
  // ticks among them) until the dialog is ended.
  MSG msg{};
  while (!binding.ended) {
    const BOOL got = GetMessageA(&msg, nullptr, 0, 0);
    if (got == 0) {
      // The program is ending: the outer loop must see the quit request as well.
      PostQuitMessage(static_cast<int>(msg.wParam));
      binding.result = -1;
      break;
    }
    if (got == -1) {
      binding.result = -1;
      break;
    }
    if (!PreTranslate(&msg)) {
      TranslateMessage(&msg);
      DispatchMessageA(&msg);
    }
  }
  // The owner is enabled again before the dialog goes, so that activation returns to it.
  if (disableOwner) EnableWindow(ownerWindow, TRUE);
  DestroyWindow(dialog);
  return binding.result;
}

void Win32DialogSystem::EndDialog(WindowHandle dialog, int result) {
  HWND hwnd = ToHwnd(dialog);
  if (hwnd == nullptr || !IsWindow(hwnd) || !IsOurDialog(hwnd)) return;
  Binding* binding = BindingOf(hwnd);
  if (binding == nullptr || !binding->modal) return;
  binding->ended = true;
  binding->result = result;
  // Wakes the loop should this come from outside any message of the loop's thread.
  PostMessageA(hwnd, WM_NULL, 0, 0);
}

WindowHandle Win32DialogSystem::CreatePage(const DialogLayout& layout, WindowHandle parent,
                                           IDialogHandler& handler) {
  const std::vector<std::uint32_t> pageTemplate = BuildTemplate(layout);
  auto* binding = new Binding;
  binding->handler = &handler;
  binding->layout = &layout;
  binding->ownedByWindow = true;
  HWND page = CreateDialogIndirectParamA(
      static_cast<HINSTANCE>(instance_), reinterpret_cast<LPCDLGTEMPLATEA>(pageTemplate.data()),
      ToHwnd(parent), DialogProc, reinterpret_cast<LPARAM>(binding));
  if (page == nullptr) {
    // Without a window the binding was never handed over.
    if (!binding->attached) delete binding;
    return 0;
  }
  // A new child window goes below its siblings; a page must lie over the tab control it sits
  // on, or the tab control paints its body over the page's background.
  SetWindowPos(page, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
  return FromHwnd(page);
}

void Win32DialogSystem::DestroyPage(WindowHandle page) {
  HWND hwnd = ToHwnd(page);
  if (hwnd != nullptr && IsWindow(hwnd) && IsOurDialog(hwnd)) DestroyWindow(hwnd);
}

bool Win32DialogSystem::DispatchPending() {
  MSG msg{};
  while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
    if (msg.message == WM_QUIT) {
      PostQuitMessage(static_cast<int>(msg.wParam));
      return false;
    }
    if (!PreTranslate(&msg)) {
      TranslateMessage(&msg);
      DispatchMessageA(&msg);
    }
  }
  return true;
}

}  // namespace linkscope
