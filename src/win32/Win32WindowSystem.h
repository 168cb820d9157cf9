#pragma once
#include "platform/WindowSystem.h"

namespace linkscope {

class Win32WindowSystem : public IWindowSystem {
 public:
  explicit Win32WindowSystem(void* instance);
  WindowHandle CreateMainWindow(const std::string& title, IMainWindowHandler* handler) override;
  void DestroyWindow(WindowHandle window) override;
  bool SetWindowTitle(WindowHandle window, const std::string& title) override;
  WindowHandle FindTopLevelWindow(const std::string& title) override;
  int ShowMessage(WindowHandle owner, const std::string& text, const std::string& caption,
                  std::uint32_t style) override;
  bool SetTimer(WindowHandle window, std::uint32_t timerId, std::uint32_t milliseconds) override;
  void KillTimer(WindowHandle window, std::uint32_t timerId) override;
  std::uint32_t RegisterMessage(const std::string& name) override;
  bool NotifyTrayIcon(TrayAction action, const TrayIconRecord& record) override;
  IconHandle LoadIconFile(const std::string& path) override;
  IconHandle LoadBuiltInIcon(std::uint32_t resourceId) override;
  void FreeIcon(IconHandle icon) override;
  std::uint32_t TrackPopupMenu(WindowHandle window, const std::vector<MenuItem>& items, int x,
                               int y) override;
  bool SetTopmost(WindowHandle window, bool topmost) override;
  bool RaiseToTop(WindowHandle window) override;
  void BringToFront(WindowHandle window) override;
  WindowHandle CreateGraphWindow(WindowHandle owner, const std::string& title,
                                 const std::vector<MenuItem>& menuBar, int width, int height,
                                 ICanvasPainter* painter, IGraphWindowHandler* handler) override;
  bool SetMenuBar(WindowHandle window, const std::vector<MenuItem>& menuBar) override;
  bool InvalidateWindow(WindowHandle window) override;
  bool ChooseSaveFile(WindowHandle owner, const std::string& title, const std::string& filterName,
                      const std::string& extension, std::string* path) override;
  bool GetCursorPosition(int* x, int* y) override;
  bool CursorOnMenu() override;
  void CloseMenu(WindowHandle owner) override;
  int RunMessageLoop() override;
  void QuitMessageLoop(int exitCode) override;

  // The window class of the main window.
  static constexpr const char* kMainWindowClass = "LinkscopeMainFrame";

 private:
  void* instance_;
};

}  // namespace linkscope
