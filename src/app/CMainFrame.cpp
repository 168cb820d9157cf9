#include "app/CMainFrame.h"

namespace linkscope {

CMainFrame::CMainFrame(Platform& platform) : platform_(platform) {}

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
  return true;
}

void CMainFrame::OnTimer(std::uint32_t /*timerId*/) {}

void CMainFrame::OnClose() { Destroy(); }

void CMainFrame::OnDestroy() {
  // The main window going away ends the program.
  window_ = 0;
  platform_.windows.QuitMessageLoop(0);
}

}  // namespace linkscope
