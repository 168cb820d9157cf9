#pragma once
// Drives the real program's user interface from a test process, as a person would: the tray
// icon's mouse messages, the popup menu by keyboard, message boxes by their buttons.

#include <windows.h>

#include <initializer_list>
#include <string>

namespace linkscope::testing {

// Sends the tray icon's callback message for a mouse message (WM_RBUTTONUP, ...).
void SendTrayMouse(HWND main, UINT mouseMessage);
// Moves the cursor as the mouse does, through input. While a menu tracks the mouse, Wine's X11
// driver can drop a SetCursorPos warp and take the pointer's old place back from the X server.
bool MoveCursor(int x, int y);
// A left click in the middle of a control, as the mouse delivers it (input, not messages):
// the window under the cursor is activated and a button takes the focus, as under a hand.
// False when the cursor never got there.
bool MouseClick(HWND control);
// A key pressed and released on the keyboard: it goes wherever the keyboard focus is, and a
// window without the focus hears nothing of it.
void PressKeyInput(WORD key);
// Keys held down together, in turn, and let go in the opposite order ({VK_CONTROL, VK_TAB}).
void PressChordInput(std::initializer_list<WORD> keys);
// The window with the keyboard focus in the thread of `window`; nullptr when there is none.
HWND FocusIn(HWND window);
// The visible popup menu window, once it is there; nullptr after `ms`.
HWND WaitForPopupMenu(DWORD ms);
// Keys posted in turn to a window (a menu, a dialog), with a short pause after each. The keys
// queue up in order however slow the program is; a caller that depends on their effect waits
// for it (WaitUntil).
void PressKeys(HWND window, std::initializer_list<WORD> keys);
// Opens the tray menu and walks it with the keys (VK_DOWN, VK_RIGHT, VK_RETURN, ...); returns
// once the menu has closed and the program has dealt with the choice (it is back at its
// messages, or in the modal loop the choice opened). False when the menu never opened or
// never closed.
bool ChooseFromTrayMenu(HWND main, std::initializer_list<WORD> keys);
// The settings dialog: a visible top-level window titled like the program's hidden main window
// (in its language), other than that window; nullptr after `ms`.
HWND WaitForSettingsDialog(HWND main, DWORD ms);
// Whether the shell holds the program's tray icon (the program shows it once it has found an
// adapter); waits up to `ms` for it.
bool WaitForTrayIcon(HWND main, DWORD ms);
// Waits until `window` is gone.
bool WaitForWindowGone(HWND window, DWORD ms);

// Whether the shell holds the program's tray icon (owner `main`, identifier 1).
bool TrayIconPresent(HWND main);
// Waits up to `ms` until the icon is there (`present`) or gone.
bool WaitForTrayIcon(HWND main, bool present, DWORD ms);

// What a control of another process shows: it answers WM_GETTEXT itself, where
// GetWindowText would give an edit box or a list only its creation text.
std::string TextOf(HWND control);
inline std::string TextOf(HWND page, int id) { return TextOf(GetDlgItem(page, id)); }
// Types into an edit box as the keyboard would, replacing what it holds.
void Type(HWND page, int id, const std::string& text);
// Picks an entry of a drop-down list: the selection changes and the page hears of it.
void Choose(HWND page, int id, int index);
// A click on a button, as the button tells its page.
void Click(HWND page, int id);
// Answers the question box with that caption Yes; false when it never came or never went.
bool AnswerYes(const char* caption);
// Moves the settings dialog to tab `index` with the arrow keys and returns its page once that
// page has the control `marker`; nullptr after the patience.
HWND ShowTab(HWND dialog, int index, int marker);
// A picture of the screen for the README (bin/screenshots/NAME.png), through ImageMagick on the
// Unix side (drive Z: is the Unix root). Wine reports the start of a Unix program as failed, so
// the file is waited for; a missing tool only loses the picture.
void Screenshot(const std::string& name);
// The windows of a process, its child windows included.
int WindowCount(DWORD processId);
// The visible top-level windows' titles (and a message box's text), for a failure's message.
std::string VisibleWindows();

// A value below HKEY_CURRENT_USER as text (REG_SZ bytes up to their end or NUL, REG_DWORD in
// decimal), or "<missing>".
std::string UserValue(const std::string& key, const std::string& name);

}  // namespace linkscope::testing
