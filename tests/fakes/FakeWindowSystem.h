#pragma once
// Top-level windows, message boxes and timers in memory. Windows of "other programs" are added
// by tests; message boxes are recorded and answered by a script.

#include <functional>
#include <map>
#include <string>
#include <vector>

#include "platform/WindowSystem.h"

namespace linkscope {

class FakeWindowSystem : public IWindowSystem {
 public:
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
  void FreeIcon(IconHandle icon) override {
    if (icon != 0) ++iconsFreed;
  }
  int iconsFreed = 0;
  int iconsLoaded = 0;  // icons handed out; those not freed are still held
  std::uint32_t TrackPopupMenu(WindowHandle window, const std::vector<MenuItem>& items, int x,
                               int y) override {
    menus.push_back(TrackedMenu{window, items, x, y});
    return menuChoice ? menuChoice(items) : 0;
  }
  void BringToFront(WindowHandle window) override { broughtToFront.push_back(window); }
  WindowHandle CreateGraphWindow(WindowHandle owner, const std::string& title,
                                 const std::vector<MenuItem>& menuBar, int width, int height,
                                 ICanvasPainter* painter, IGraphWindowHandler* handler) override;
  bool SetMenuBar(WindowHandle window, const std::vector<MenuItem>& menuBar) override;
  bool InvalidateWindow(WindowHandle window) override;
  bool ChooseSaveFile(WindowHandle owner, const std::string& title, const std::string& filterName,
                      const std::string& extension, std::string* path) override;
  // A graph window as the system holds it; null when there is none.
  struct GraphWindow {
    WindowHandle owner = 0;
    std::vector<MenuItem> menuBar;
    ICanvasPainter* painter = nullptr;
    IGraphWindowHandler* handler = nullptr;
    int invalidations = 0;
  };
  const GraphWindow* GraphOf(WindowHandle window) const;
  // What the user does to a graph window: a menu command, the close box, a paint.
  void ChooseGraphCommand(WindowHandle window, std::uint32_t id);
  void CloseGraph(WindowHandle window);
  void PaintGraph(WindowHandle window, ICanvas& canvas);
  int graphWindowsCreated = 0;
  // Answers the save-file box with a path, or cancels it (returns false); by default cancels.
  std::function<bool(std::string* path)> saveFileChoice;
  struct SaveBox {
    WindowHandle owner;
    std::string title;
    std::string filterName;
    std::string extension;
  };
  std::vector<SaveBox> saveBoxes;
  std::vector<WindowHandle> broughtToFront;
  bool SetTopmost(WindowHandle window, bool topmost) override {
    topmostCalls.push_back({window, topmost});
    placements.push_back({window, topmost ? "topmost" : "not topmost"});
    return Exists(window);
  }
  // Every placement of a window among the others, in order: "topmost", "not topmost", "top".
  bool RaiseToTop(WindowHandle window) override {
    placements.push_back({window, "top"});
    return Exists(window);
  }
  std::vector<std::pair<WindowHandle, std::string>> placements;
  struct TrackedMenu {
    WindowHandle window;
    std::vector<MenuItem> items;
    int x;
    int y;
  };
  std::vector<TrackedMenu> menus;
  // Chooses a command from a tracked menu; by default the user dismisses it.
  std::function<std::uint32_t(const std::vector<MenuItem>&)> menuChoice;
  std::vector<std::pair<WindowHandle, bool>> topmostCalls;
  // Delivers a message registered by name, as the message loop would.
  void SendRegistered(WindowHandle window, std::uint32_t message, std::uintptr_t wParam,
                      std::intptr_t lParam);
  bool QueryEndSession(WindowHandle window);
  bool GetCursorPosition(int* x, int* y) override {
    *x = cursorX;
    *y = cursorY;
    return true;
  }
  bool CursorOnMenu() override { return cursorOnMenu; }
  bool cursorOnMenu = false;
  void CloseMenu(WindowHandle owner) override { closedMenus.push_back(owner); }
  int cursorX = 0;
  int cursorY = 0;
  std::vector<WindowHandle> closedMenus;
  int RunMessageLoop() override;
  void QuitMessageLoop(int exitCode) override;

  // A top-level window of another program.
  WindowHandle AddForeignWindow(const std::string& title);
  bool Exists(WindowHandle window) const { return windows_.count(window) != 0; }
  std::string TitleOf(WindowHandle window) const;
  std::size_t WindowCount() const { return windows_.size(); }
  // Delivers a timer message as the message loop would.
  void FireTimer(WindowHandle window, std::uint32_t timerId);

  struct Message {
    WindowHandle owner;
    std::string text;
    std::string caption;
    std::uint32_t style;
  };
  std::vector<Message> messages;
  // Answers each message box; by default the first button (OK or Yes).
  std::function<int(const Message&)> answer;

  // The notification area: icons by (owner, id) as the shell shows them, and every request.
  std::map<std::pair<WindowHandle, std::uint32_t>, TrayIconRecord> tray;
  struct TrayCall {
    TrayAction action;
    TrayIconRecord record;
    bool accepted;
  };
  std::vector<TrayCall> trayCalls;
  bool trayRefuses = false;
  // Icon files that load, by path; built-in icons by resource number.
  std::map<std::string, IconHandle> iconFiles;
  std::map<std::uint32_t, IconHandle> builtInIcons{{142, 0x1420}, {143, 0x1430}};
  std::map<std::string, std::uint32_t> registeredMessages;

  bool failCreate = false;
  std::map<std::pair<WindowHandle, std::uint32_t>, std::uint32_t> timers;
  bool quitPosted = false;
  int quitCode = 0;
  std::vector<std::string> titleHistory;

 private:
  struct Window {
    std::string title;
    IMainWindowHandler* handler = nullptr;
    bool graph = false;
    GraphWindow graphWindow;
  };
  std::map<WindowHandle, Window> windows_;
  WindowHandle next_ = 0x10000;
};

}  // namespace linkscope
