#include "app/CMainFrame.h"

namespace linkscope {

CMainFrame::CMainFrame(Platform& platform) : platform_(platform), tray_(platform.windows) {}

CMainFrame::~CMainFrame() { Destroy(); }

bool CMainFrame::Create() {
  if (window_ != 0) return true;
  return platform_.windows.CreateMainWindow(kInitialTitle, this) != 0;
}

void CMainFrame::Destroy() {
  if (window_ != 0) platform_.windows.DestroyWindow(window_);
  window_ = 0;
}

bool CMainFrame::OnCreate(WindowHandle window) {
  window_ = window;
  if (trayMessage_ == 0) trayMessage_ = platform_.windows.RegisterMessage(kTrayMessageName);
  tray_.Attach(window_, trayMessage_);
  return true;
}

void CMainFrame::OnTimer(std::uint32_t /*timerId*/) {}

void CMainFrame::OnClose() { Destroy(); }

void CMainFrame::OnDestroy() {
  // The main window going away ends the program; its icon must not stay behind in the tray.
  if (tray_.Shown()) tray_.Set(0, std::string());
  window_ = 0;
  platform_.windows.QuitMessageLoop(0);
}

}  // namespace linkscope
