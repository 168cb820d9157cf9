#pragma once
// The program's hidden main window. It never shows; it carries the title other instances look
// for, and (as the program grows) the tray icon, the timers and the menu.

#include <string>

#include "app/TrayIcon.h"
#include "platform/Platform.h"

namespace linkscope {

class CMainFrame : public IMainWindowHandler {
 public:
  explicit CMainFrame(Platform& platform);
  ~CMainFrame() override;
  CMainFrame(const CMainFrame&) = delete;
  CMainFrame& operator=(const CMainFrame&) = delete;

  // Creates the hidden window; false when the window system refuses.
  bool Create();
  void Destroy();
  WindowHandle Window() const { return window_; }

  bool OnCreate(WindowHandle window) override;
  void OnTimer(std::uint32_t timerId) override;
  void OnClose() override;
  void OnDestroy() override;

  // Adds, changes or (with a null icon) deletes the tray icon; whether the shell accepted it.
  bool SetTrayIcon(IconHandle icon, const std::string& tip) { return tray_.Set(icon, tip); }
  bool IconShown() const { return tray_.Shown(); }
  // The message the tray icon sends its mouse events with.
  std::uint32_t TrayCallbackMessage() const { return trayMessage_; }
  static constexpr const char* kTrayMessageName = "MONITOR_ICON_PRESSED";

  // The frame's title before start-up gives it the dialog title.
  static constexpr const char* kInitialTitle = "Linkscope";

 private:
  Platform& platform_;
  WindowHandle window_ = 0;
  TrayIcon tray_;
  std::uint32_t trayMessage_ = 0;
};

}  // namespace linkscope
