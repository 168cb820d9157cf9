// Drives the running Linkscope from the command line, for scripts that show or photograph it:
// Run it on the program's desktop (explorer /desktop=NAME uidriver.exe ...).
//   uidriver menu          opens the tray menu and leaves it open
//   uidriver open          double-clicks the tray icon (the settings dialog opens)
//   uidriver keys K ...    presses keys on the open menu (down, up, left, right, enter, escape)
//   uidriver tab N         selects tab N of the open settings dialog, as a click on it does
//   uidriver click ID      clicks the button ID of the dialog, or of the page on screen
//   uidriver press ID      presses it as the mouse does (a check box turns its mark over)
//   uidriver text ID       prints the text of control ID of the dialog, or of the page
// Exit code 0 when the program's window (and for keys the menu) was found.

#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "win32/ProcessHelpers.h"
#include "win32/UiDriver.h"

namespace {
WORD KeyOf(const char* name) {
  if (std::strcmp(name, "down") == 0) return VK_DOWN;
  if (std::strcmp(name, "up") == 0) return VK_UP;
  if (std::strcmp(name, "left") == 0) return VK_LEFT;
  if (std::strcmp(name, "right") == 0) return VK_RIGHT;
  if (std::strcmp(name, "enter") == 0) return VK_RETURN;
  if (std::strcmp(name, "escape") == 0) return VK_ESCAPE;
  return 0;
}
}  // namespace

int main(int argc, char** argv) {
  using namespace linkscope::testing;
  if (argc < 2) return 2;
  HWND main = WaitForWindow("Linkscope Utility", 10000);
  if (main == nullptr) return 3;
  // With the settings dialog open two windows carry the title: the main window is the hidden one.
  for (HWND w = nullptr; (w = FindWindowExA(nullptr, w, nullptr, "Linkscope Utility")) != nullptr;) {
    if (!IsWindowVisible(w)) main = w;
  }
  if (std::strcmp(argv[1], "menu") == 0) {
    // Where a person would click: the notification area at the bottom right.
    SetCursorPos(GetSystemMetrics(SM_CXSCREEN) - 12, GetSystemMetrics(SM_CYSCREEN) - 10);
    SendTrayMouse(main, WM_RBUTTONUP);
    return WaitForPopupMenu(10000) != nullptr ? 0 : 4;
  }
  if (std::strcmp(argv[1], "open") == 0) {
    SendTrayMouse(main, WM_LBUTTONDBLCLK);
    return 0;
  }
  if (std::strcmp(argv[1], "keys") == 0) {
    HWND menu = WaitForPopupMenu(5000);
    if (menu == nullptr) return 4;
    for (int i = 2; i < argc; ++i) {
      const WORD key = KeyOf(argv[i]);
      if (key == 0) return 2;
      PressKeys(menu, {key});
    }
    return 0;
  }
  // The dialog carries the program's title too: once it is open, the search by title may
  // find it rather than the hidden main window.
  HWND dialog = IsWindowVisible(main) ? main : WaitForSettingsDialog(main, 10000);
  if (dialog == nullptr || argc < 3) return 5;
  const int value = std::atoi(argv[2]);
  if (std::strcmp(argv[1], "tab") == 0) {
    // As a person does with the keyboard: the arrow keys on the tab control move the
    // selection one tab at a time, and the dialog hears of each change.
    HWND tabs = GetDlgItem(dialog, 1003);
    const int current = static_cast<int>(SendMessageA(tabs, 0x130B /* TCM_GETCURSEL */, 0, 0));
    const WORD key = value > current ? VK_RIGHT : VK_LEFT;
    for (int i = 0; i < (value > current ? value - current : current - value); ++i) {
      PressKeys(tabs, {key});
    }
    // Inside a Wine virtual desktop the tab control may not take the keys before it has had
    // the focus; moving its focus to the tab selects it and reports the change the same way.
    if (SendMessageA(tabs, 0x130B /* TCM_GETCURSEL */, 0, 0) != value) {
      SendMessageA(tabs, 0x1330 /* TCM_SETCURFOCUS */, value, 0);
    }
    return 0;
  }
  // A control the frame does not have belongs to the page on screen (its child dialog).
  HWND owner = dialog;
  if (GetDlgItem(dialog, value) == nullptr) {
    HWND page = FindWindowExA(dialog, nullptr, "#32770", nullptr);
    if (page != nullptr && GetDlgItem(page, value) != nullptr) owner = page;
  }
  if (std::strcmp(argv[1], "click") == 0) {
    PostMessageA(owner, WM_COMMAND, MAKEWPARAM(value, BN_CLICKED),
                 reinterpret_cast<LPARAM>(GetDlgItem(owner, value)));
    return 0;
  }
  // As the mouse presses it: a check box turns its mark over, a radio button takes it.
  if (std::strcmp(argv[1], "press") == 0) {
    PostMessageA(GetDlgItem(owner, value), BM_CLICK, 0, 0);
    return 0;
  }
  if (std::strcmp(argv[1], "text") == 0) {
    char text[512] = {};
    GetWindowTextA(GetDlgItem(owner, value), text, sizeof text);
    std::puts(text);
    return 0;
  }
  return 2;
}
