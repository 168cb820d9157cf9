#pragma once
// Top-level windows, message boxes, timers and the message loop.

#include <cstdint>
#include <string>

namespace linkscope {

using WindowHandle = std::uintptr_t;  // 0 is none

// Message box styles and answers (the Windows values).
constexpr std::uint32_t kMbOk = 0x0;
constexpr std::uint32_t kMbYesNo = 0x4;
constexpr std::uint32_t kMbIconExclamation = 0x30;
constexpr std::uint32_t kMbDefButton2 = 0x100;
constexpr int kIdOk = 1;
constexpr int kIdYes = 6;
constexpr int kIdNo = 7;

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

  // Runs the message loop until QuitMessageLoop; returns the exit code passed there.
  virtual int RunMessageLoop() = 0;
  virtual void QuitMessageLoop(int exitCode) = 0;
};

}  // namespace linkscope
