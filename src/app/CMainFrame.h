#pragma once
// The program's hidden main window. It never shows; it carries the title other instances look
// for, and (as the program grows) the tray icon, the timers and the menu.

#include <string>

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

  // The frame's title before start-up gives it the dialog title.
  static constexpr const char* kInitialTitle = "Linkscope";

 private:
  Platform& platform_;
  WindowHandle window_ = 0;
};

}  // namespace linkscope
