#include "win32/Win32DialogSystem.h"

#include <windows.h>
#include <commctrl.h>

#include <string>

#include "win32/Win32Canvas.h"
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
static_assert(kWsExControlParent == WS_EX_CONTROLPARENT && kSsNoPrefix == SS_NOPREFIX,
              "control parent and static styles");
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
      // A high-contrast scheme has its own text colour, which a colour of ours would defeat.
      SetTextColor(dc, Win32Canvas::HighContrastOn() ? GetSysColor(COLOR_BTNTEXT)
                                                     : control->textColour);
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

bool IsClass(HWND hwnd, const char* name) {
  char className[32] = "";
  GetClassNameA(hwnd, className, sizeof className);
  return lstrcmpiA(className, name) == 0;
}

bool IsUsable(HWND hwnd) { return IsWindowVisible(hwnd) && IsWindowEnabled(hwnd); }

// The controls of a dialog in reading order, the frame's and its pages' as one: each page's
// controls come right after the tab control it belongs to. A page is put above its siblings
// so that it is drawn over the tab control, so its place among them says nothing of where it
// is read. Hidden or disabled pages lend none of their controls.
void CollectControls(HWND dialog, std::vector<HWND>* out) {
  for (HWND child = GetWindow(dialog, GW_CHILD); child != nullptr;
       child = GetWindow(child, GW_HWNDNEXT)) {
    if (IsOurDialog(child)) continue;
    out->push_back(child);
    if (!IsClass(child, WC_TABCONTROLA)) continue;
    for (HWND parent : {child, dialog}) {
      for (HWND page = GetWindow(parent, GW_CHILD); page != nullptr;
           page = GetWindow(page, GW_HWNDNEXT)) {
        if (IsOurDialog(page) && IsUsable(page)) CollectControls(page, out);
      }
    }
  }
}

// Through the dialog manager of the dialog the control belongs to, so that its default button
// follows the focus and an edit box's text is selected, as Tab does it.
void FocusControl(HWND control) {
  SendMessageA(GetParent(control), WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(control), TRUE);
}

// The focus rectangles and access-key underlines show from the first key on, as Windows
// shows them once the keyboard is used.
void ShowKeyboardCues(HWND root) {
  const LRESULT hidden = SendMessageA(root, WM_QUERYUISTATE, 0, 0);
  if ((hidden & (UISF_HIDEFOCUS | UISF_HIDEACCEL)) == 0) return;
  SendMessageA(root, WM_CHANGEUISTATE, MAKEWPARAM(UIS_CLEAR, UISF_HIDEFOCUS | UISF_HIDEACCEL),
               0);
}

// Tab and Shift+Tab: the next (previous) enabled, visible tab stop of frame and page, wrapping.
void MoveByTab(HWND root, bool backwards) {
  std::vector<HWND> all;
  CollectControls(root, &all);
  std::vector<HWND> stops;
  for (HWND c : all) {
    if (IsUsable(c) && (GetWindowLongA(c, GWL_STYLE) & WS_TABSTOP) != 0) stops.push_back(c);
  }
  if (stops.empty()) return;
  const HWND focus = GetFocus();
  const std::size_t n = stops.size();
  std::size_t next = backwards ? n - 1 : 0;
  // The control itself, else the stop it lies in (the edit box inside a combo box; not the
  // tab control, whose page's controls are stops of their own and matched first).
  for (bool inside : {false, true}) {
    std::size_t i = 0;
    while (i < n && stops[i] != focus && !(inside && IsChild(stops[i], focus))) ++i;
    if (i < n) {
      next = backwards ? (i + n - 1) % n : (i + 1) % n;
      break;
    }
  }
  FocusControl(stops[next]);
}

// A character in upper case by the system's rules (CharUpper takes a single character in the
// low word of its argument).
char UpperKey(char c) {
  const auto single = static_cast<std::uintptr_t>(static_cast<unsigned char>(c));
  return static_cast<char>(
      reinterpret_cast<std::uintptr_t>(CharUpperA(reinterpret_cast<LPSTR>(single))));
}

// The access key of a control's text: the character after a single "&", upper-cased; 0 when
// it has none ("&&" shows an "&").
char AccessKeyOf(HWND control) {
  char text[256] = "";
  GetWindowTextA(control, text, sizeof text);
  for (const char* p = text; *p != '\0'; ++p) {
    if (*p != '&') continue;
    if (p[1] == '&') {
      ++p;
      continue;
    }
    return UpperKey(p[1]);
  }
  return 0;
}

// Alt+key: a button with that access key is pressed; a label's or a frame's moves the focus to
// the control that follows it (and selects it when it is a radio button whose text the label
// is). The frame's controls and the page's are searched as one. False when no control has it.
bool PressAccessKey(HWND root, char key) {
  std::vector<HWND> all;
  CollectControls(root, &all);
  for (std::size_t i = 0; i < all.size(); ++i) {
    HWND c = all[i];
    const bool isStatic = IsClass(c, "STATIC");
    if (!IsUsable(c) || (!isStatic && !IsClass(c, "BUTTON")) || AccessKeyOf(c) != key) continue;
    const LONG style = GetWindowLongA(c, GWL_STYLE);
    if (isStatic && (style & SS_NOPREFIX) != 0) continue;
    const bool label = isStatic || (style & BS_TYPEMASK) == BS_GROUPBOX;
    if (!label) {
      FocusControl(c);
      SendMessageA(c, BM_CLICK, 0, 0);
      return true;
    }
    // The control it labels: the next one that is not itself a label (a frame's title stands
    // before its first control's label).
    std::size_t t = i + 1;
    while (t < all.size() && IsClass(all[t], "STATIC") && AccessKeyOf(all[t]) != 0) ++t;
    if (t >= all.size() || !IsUsable(all[t]) || IsClass(all[t], "STATIC") ||
        IsClass(all[t], PROGRESS_CLASSA)) {
      return true;  // a label of something that takes no focus
    }
    auto isRadio = [](HWND w) {
      return IsClass(w, "BUTTON") &&
             (GetWindowLongA(w, GWL_STYLE) & BS_TYPEMASK) == BS_AUTORADIOBUTTON;
    };
    if (isRadio(all[t]) && t == i + 1) {
      // The radio button's own text: it is chosen, as a click on it would.
      FocusControl(all[t]);
      SendMessageA(all[t], BM_CLICK, 0, 0);
      return true;
    }
    if (isRadio(all[t])) {
      // A group's title: its chosen button, which carries the group's tab stop.
      for (std::size_t r = t; r < all.size(); ++r) {
        if (r > t && (GetWindowLongA(all[r], GWL_STYLE) & WS_GROUP) != 0) break;
        if (isRadio(all[r]) && (GetWindowLongA(all[r], GWL_STYLE) & WS_TABSTOP) != 0) {
          t = r;
          break;
        }
      }
    }
    FocusControl(all[t]);
    return true;
  }
  return false;
}

// Keyboard handling of the dialogs. Tab, the tab keys and the access keys belong to the frame
// and its page as one: the frame's dialog answers them wherever the focus is. Every other key
// goes to the innermost of our dialogs around the window it is for, as the class framework
// does it, so a page's default button and its cancel command answer Enter and Escape there.
bool PreTranslate(MSG* msg) {
  if (msg->hwnd == nullptr) return false;
  HWND root = GetAncestor(msg->hwnd, GA_ROOT);
  if (root == nullptr || !IsOurDialog(root)) return false;
  const bool keyDown = msg->message == WM_KEYDOWN || msg->message == WM_SYSKEYDOWN;
  if (keyDown) ShowKeyboardCues(root);
  if (msg->message == WM_KEYDOWN && GetKeyState(VK_MENU) >= 0) {
    const bool control = GetKeyState(VK_CONTROL) < 0;
    const bool shift = GetKeyState(VK_SHIFT) < 0;
    const WPARAM key = msg->wParam;
    if (control && (key == VK_TAB || key == VK_NEXT || key == VK_PRIOR)) {
      const bool back = key == VK_PRIOR || (key == VK_TAB && shift);
      Binding* binding = BindingOf(root);
      // The handler may run messages (a page's box); nothing of the dialog is touched after.
      if (binding != nullptr && !binding->destroyed &&
          binding->handler->OnKey(back ? DialogKey::PreviousTab : DialogKey::NextTab)) {
        return true;
      }
    } else if (!control && key == VK_TAB &&
               (SendMessageA(msg->hwnd, WM_GETDLGCODE, key, reinterpret_cast<LPARAM>(msg)) &
                DLGC_WANTTAB) == 0) {
      // A control that asks for Tab itself keeps it, as the dialog manager leaves it.
      MoveByTab(root, shift);
      return true;
    }
  }
  if (msg->message == WM_SYSCHAR && msg->wParam < 256 &&
      PressAccessKey(root, UpperKey(static_cast<char>(msg->wParam)))) {
    return true;
  }
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
  AppendDword(&t, layout.exStyle | ((layout.style & DS_CONTROL) != 0 ? WS_EX_CONTROLPARENT : 0));
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
