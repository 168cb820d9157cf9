#pragma once
// Top-level windows, message boxes, timers and the message loop.

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "platform/Canvas.h"

namespace linkscope {

using WindowHandle = std::uintptr_t;  // 0 is none
using IconHandle = std::uintptr_t;    // 0 is none

// The notification-area icon record the shell takes.
constexpr std::uint32_t kTrayFlagMessage = 0x1;  // NIF_MESSAGE
constexpr std::uint32_t kTrayFlagIcon = 0x2;     // NIF_ICON
constexpr std::uint32_t kTrayFlagTip = 0x4;      // NIF_TIP
constexpr std::uint32_t kTrayFlagInfo = 0x10;    // NIF_INFO: a balloon comes with the record
// The tip field of the record holds 128 characters with its NUL (64 in the first version of
// the record, which a shell that refuses the larger one gets instead); the balloon's text 256
// and its title 64.
constexpr std::size_t kTrayTipCapacity = 128;
constexpr std::size_t kTrayTipCapacityV1 = 64;
constexpr std::size_t kTrayInfoCapacity = 256;
constexpr std::size_t kTrayInfoTitleCapacity = 64;

enum class TrayAction { Add, Modify, Delete };

struct TrayIconRecord {
  WindowHandle owner = 0;
  std::uint32_t id = 0;
  std::uint32_t flags = 0;
  std::uint32_t callbackMessage = 0;
  IconHandle icon = 0;
  std::string tip;  // at most kTrayTipCapacity - 1 characters are passed on
  // With kTrayFlagInfo: the balloon the shell shows from the icon, with the information icon.
  std::string infoTitle;  // at most kTrayInfoTitleCapacity - 1 characters
  std::string info;       // at most kTrayInfoCapacity - 1 characters
};

// Message box styles and answers (the Windows values).
constexpr std::uint32_t kMbOk = 0x0;
constexpr std::uint32_t kMbYesNo = 0x4;
constexpr std::uint32_t kMbIconQuestion = 0x20;
constexpr std::uint32_t kMbIconExclamation = 0x30;
constexpr std::uint32_t kMbDefButton2 = 0x100;
constexpr int kIdOk = 1;
constexpr int kIdYes = 6;
constexpr int kIdNo = 7;

// One item of a popup menu: a command, a separator, or a submenu of further items.
struct MenuItem {
  std::uint32_t id = 0;
  std::string text;
  bool checked = false;
  bool separator = false;
  std::vector<MenuItem> submenu;
};

// Mouse messages a notification-area icon reports.
constexpr std::uint32_t kMouseLeftUp = 0x0202;          // WM_LBUTTONUP
constexpr std::uint32_t kMouseLeftDoubleClick = 0x0203; // WM_LBUTTONDBLCLK
constexpr std::uint32_t kMouseRightUp = 0x0205;         // WM_RBUTTONUP

// What the main window reports to its owner.
class IMainWindowHandler {
 public:
  virtual ~IMainWindowHandler() = default;
  // The window exists (its handle is passed); false destroys it again and fails the creation.
  virtual bool OnCreate(WindowHandle window) = 0;
  virtual void OnTimer(std::uint32_t timerId) = 0;
  // The window was asked to close (by the system or another program).
  virtual void OnClose() = 0;
  // The window is being destroyed.
  virtual void OnDestroy() = 0;
  // A message registered by name (RegisterMessage), with its two parameters.
  virtual void OnRegisteredMessage(std::uint32_t /*message*/, std::uintptr_t /*wParam*/,
                                   std::intptr_t /*lParam*/) {}
  // The system asks whether the session may end; true agrees.
  virtual bool OnQueryEndSession() { return true; }
};

// What a graph window (a top-level window that shows a picture) reports to its owner.
class IGraphWindowHandler {
 public:
  virtual ~IGraphWindowHandler() = default;
  // A command of the window's menu bar.
  virtual void OnGraphCommand(std::uint32_t id) = 0;
  // The user asked to close the window (its close box, Alt+F4); the handler destroys it.
  virtual void OnGraphClose() = 0;
  // The window is being destroyed, also when its owner goes.
  virtual void OnGraphDestroy() = 0;
};

class IWindowSystem {
 public:
  virtual ~IWindowSystem() = default;

  // Creates the program's top-level main window, never shown; 0 on failure.
  virtual WindowHandle CreateMainWindow(const std::string& title, IMainWindowHandler* handler) = 0;
  virtual void DestroyWindow(WindowHandle window) = 0;
  virtual bool SetWindowTitle(WindowHandle window, const std::string& title) = 0;
  // A top-level window of any process whose title equals `title` exactly (letter case
  // included); 0 when there is none.
  virtual WindowHandle FindTopLevelWindow(const std::string& title) = 0;

  // A modal message box; returns the button pressed. The texts are shown as they are.
  virtual int ShowMessage(WindowHandle owner, const std::string& text, const std::string& caption,
                         std::uint32_t style) = 0;

  virtual bool SetTimer(WindowHandle window, std::uint32_t timerId, std::uint32_t milliseconds) = 0;
  virtual void KillTimer(WindowHandle window, std::uint32_t timerId) = 0;

  // A message number unique to the session for `name`; 0 on failure.
  virtual std::uint32_t RegisterMessage(const std::string& name) = 0;

  // The notification-area icon; true when the shell accepted the request.
  virtual bool NotifyTrayIcon(TrayAction action, const TrayIconRecord& record) = 0;
  // An icon from an .ico file at the system's default icon size; 0 when it cannot be loaded.
  virtual IconHandle LoadIconFile(const std::string& path) = 0;
  // An icon built into the program, by resource number; 0 when there is none.
  virtual IconHandle LoadBuiltInIcon(std::uint32_t resourceId) = 0;
  // Releases an icon loaded by one of the two above; 0 is ignored.
  virtual void FreeIcon(IconHandle icon) = 0;

  // Shows a popup menu owned by `window` with its right edge at x and its top at y, and waits
  // for the user; the chosen command, or 0 when the menu was dismissed.
  virtual std::uint32_t TrackPopupMenu(WindowHandle window, const std::vector<MenuItem>& items,
                                       int x, int y) = 0;
  // Brings a window of the program to the foreground.
  virtual void BringToFront(WindowHandle window) = 0;
  // Keeps the window above all others or lets it go, without moving, sizing or activating it.
  virtual bool SetTopmost(WindowHandle window, bool topmost) = 0;
  // Puts the window (and the windows it owns) at the top of the windows that are not topmost,
  // without moving, sizing or activating it.
  virtual bool RaiseToTop(WindowHandle window) = 0;

  // A resizable top-level window owned by `owner`, shown and activated, `width` by `height`
  // pixels at 96 DPI (scaled to the system's), with `menuBar`'s commands in its menu bar. The
  // painter paints its whole client area at each paint, through a buffer. 0 on failure.
  virtual WindowHandle CreateGraphWindow(WindowHandle owner, const std::string& title,
                                         const std::vector<MenuItem>& menuBar, int width,
                                         int height, ICanvasPainter* painter,
                                         IGraphWindowHandler* handler) = 0;
  // Replaces a graph window's menu bar; false when there is no such window.
  virtual bool SetMenuBar(WindowHandle window, const std::vector<MenuItem>& menuBar) = 0;
  // The window is painted again soon, whole; false when there is no such window.
  virtual bool InvalidateWindow(WindowHandle window) = 0;
  // The save-file box, modal to `owner`: runs messages until the user chooses a file. Offers
  // the files ending in `extension` (no dot) under `filterName` and adds the extension to a
  // name without one. False when the user cancels.
  virtual bool ChooseSaveFile(WindowHandle owner, const std::string& title,
                              const std::string& filterName, const std::string& extension,
                              std::string* path) = 0;

  // The mouse cursor in screen coordinates.
  virtual bool GetCursorPosition(int* x, int* y) = 0;
  // Whether the cursor lies on a popup menu (or submenu) the program is tracking.
  virtual bool CursorOnMenu() = 0;
  // Closes the popup menu `owner` is tracking, if any, as if the user had dismissed it.
  virtual void CloseMenu(WindowHandle owner) = 0;

  // Runs the message loop until QuitMessageLoop; returns the exit code passed there.
  virtual int RunMessageLoop() = 0;
  virtual void QuitMessageLoop(int exitCode) = 0;
};

}  // namespace linkscope
