#include "fakes/FakeWindowSystem.h"

namespace linkscope {

WindowHandle FakeWindowSystem::CreateMainWindow(const std::string& title,
                                                IMainWindowHandler* handler) {
  if (failCreate) return 0;
  const WindowHandle handle = next_;
  next_ += 0x10;
  windows_[handle] = Window{title, handler, false, {}};
  titleHistory.push_back(title);
  if (handler != nullptr && !handler->OnCreate(handle)) {
    windows_.erase(handle);
    return 0;
  }
  return handle;
}

void FakeWindowSystem::DestroyWindow(WindowHandle window) {
  auto it = windows_.find(window);
  if (it == windows_.end()) return;
  // As the system does: the windows it owns go first.
  std::vector<WindowHandle> owned;
  for (const auto& [handle, w] : windows_) {
    if (w.graph && w.graphWindow.owner == window) owned.push_back(handle);
  }
  for (WindowHandle o : owned) DestroyWindow(o);
  it = windows_.find(window);
  if (it == windows_.end()) return;
  IMainWindowHandler* handler = it->second.handler;
  IGraphWindowHandler* graphHandler = it->second.graph ? it->second.graphWindow.handler : nullptr;
  for (auto t = timers.begin(); t != timers.end();) {
    t = t->first.first == window ? timers.erase(t) : std::next(t);
  }
  windows_.erase(it);
  if (handler != nullptr) handler->OnDestroy();
  if (graphHandler != nullptr) graphHandler->OnGraphDestroy();
}

WindowHandle FakeWindowSystem::CreateGraphWindow(WindowHandle owner, const std::string& title,
                                                 const std::vector<MenuItem>& menuBar, int, int,
                                                 ICanvasPainter* painter,
                                                 IGraphWindowHandler* handler) {
  if (failCreate || (owner != 0 && !Exists(owner))) return 0;
  const WindowHandle handle = next_;
  next_ += 0x10;
  Window w;
  w.title = title;
  w.graph = true;
  w.graphWindow = GraphWindow{owner, menuBar, painter, handler, 0};
  windows_[handle] = w;
  ++graphWindowsCreated;
  return handle;
}

bool FakeWindowSystem::SetMenuBar(WindowHandle window, const std::vector<MenuItem>& menuBar) {
  auto it = windows_.find(window);
  if (it == windows_.end() || !it->second.graph) return false;
  it->second.graphWindow.menuBar = menuBar;
  return true;
}

bool FakeWindowSystem::InvalidateWindow(WindowHandle window) {
  auto it = windows_.find(window);
  if (it == windows_.end()) return false;
  ++it->second.graphWindow.invalidations;
  return true;
}

bool FakeWindowSystem::ChooseSaveFile(WindowHandle owner, const std::string& title,
                                      const std::string& filterName,
                                      const std::string& extension, std::string* path) {
  saveBoxes.push_back(SaveBox{owner, title, filterName, extension});
  return saveFileChoice ? saveFileChoice(path) : false;
}

const FakeWindowSystem::GraphWindow* FakeWindowSystem::GraphOf(WindowHandle window) const {
  auto it = windows_.find(window);
  return it == windows_.end() || !it->second.graph ? nullptr : &it->second.graphWindow;
}

void FakeWindowSystem::ChooseGraphCommand(WindowHandle window, std::uint32_t id) {
  const GraphWindow* g = GraphOf(window);
  if (g != nullptr && g->handler != nullptr) g->handler->OnGraphCommand(id);
}

void FakeWindowSystem::CloseGraph(WindowHandle window) {
  const GraphWindow* g = GraphOf(window);
  if (g != nullptr && g->handler != nullptr) g->handler->OnGraphClose();
}

void FakeWindowSystem::PaintGraph(WindowHandle window, ICanvas& canvas) {
  const GraphWindow* g = GraphOf(window);
  if (g != nullptr && g->painter != nullptr) g->painter->Paint(canvas);
}

bool FakeWindowSystem::SetWindowTitle(WindowHandle window, const std::string& title) {
  auto it = windows_.find(window);
  if (it == windows_.end()) return false;
  it->second.title = title;
  titleHistory.push_back(title);
  return true;
}

WindowHandle FakeWindowSystem::FindTopLevelWindow(const std::string& title) {
  for (const auto& [handle, window] : windows_) {
    if (window.title == title) return handle;
  }
  return 0;
}

int FakeWindowSystem::ShowMessage(WindowHandle owner, const std::string& text,
                                  const std::string& caption, std::uint32_t style) {
  messages.push_back(Message{owner, text, caption, style});
  if (answer) return answer(messages.back());
  return (style & 0xF) == kMbYesNo ? kIdYes : kIdOk;
}

bool FakeWindowSystem::SetTimer(WindowHandle window, std::uint32_t timerId,
                                std::uint32_t milliseconds) {
  if (!Exists(window)) return false;
  timers[{window, timerId}] = milliseconds;
  return true;
}

void FakeWindowSystem::KillTimer(WindowHandle window, std::uint32_t timerId) {
  timers.erase({window, timerId});
}

std::uint32_t FakeWindowSystem::RegisterMessage(const std::string& name) {
  auto it = registeredMessages.find(name);
  if (it != registeredMessages.end()) return it->second;
  const auto id = static_cast<std::uint32_t>(0xC000 + registeredMessages.size());
  registeredMessages[name] = id;
  return id;
}

bool FakeWindowSystem::NotifyTrayIcon(TrayAction action, const TrayIconRecord& record) {
  const auto key = std::make_pair(record.owner, record.id);
  const bool present = tray.count(key) != 0;
  bool accepted = !trayRefuses && Exists(record.owner);
  if (accepted) {
    switch (action) {
      case TrayAction::Add:
        accepted = !present;
        if (accepted) tray[key] = record;
        break;
      case TrayAction::Modify:
        accepted = present;
        if (accepted) tray[key] = record;
        break;
      case TrayAction::Delete:
        accepted = present;
        tray.erase(key);
        break;
    }
  }
  if (accepted && action != TrayAction::Delete) {
    tray[key].tip = record.tip.substr(0, kTrayTipCapacity - 1);
  }
  trayCalls.push_back(TrayCall{action, record, accepted});
  return accepted;
}

IconHandle FakeWindowSystem::LoadIconFile(const std::string& path) {
  auto it = iconFiles.find(path);
  if (it == iconFiles.end()) return 0;
  ++iconsLoaded;
  return it->second;
}

IconHandle FakeWindowSystem::LoadBuiltInIcon(std::uint32_t resourceId) {
  auto it = builtInIcons.find(resourceId);
  if (it == builtInIcons.end()) return 0;
  ++iconsLoaded;
  return it->second;
}

int FakeWindowSystem::RunMessageLoop() { return quitPosted ? quitCode : 0; }

void FakeWindowSystem::QuitMessageLoop(int exitCode) {
  quitPosted = true;
  quitCode = exitCode;
}

WindowHandle FakeWindowSystem::AddForeignWindow(const std::string& title) {
  const WindowHandle handle = next_;
  next_ += 0x10;
  windows_[handle] = Window{title, nullptr, false, {}};
  return handle;
}

std::string FakeWindowSystem::TitleOf(WindowHandle window) const {
  auto it = windows_.find(window);
  return it == windows_.end() ? std::string() : it->second.title;
}

void FakeWindowSystem::FireTimer(WindowHandle window, std::uint32_t timerId) {
  auto it = windows_.find(window);
  if (it != windows_.end() && it->second.handler != nullptr) it->second.handler->OnTimer(timerId);
}

void FakeWindowSystem::SendRegistered(WindowHandle window, std::uint32_t message,
                                      std::uintptr_t wParam, std::intptr_t lParam) {
  auto it = windows_.find(window);
  if (it != windows_.end() && it->second.handler != nullptr) {
    it->second.handler->OnRegisteredMessage(message, wParam, lParam);
  }
}

bool FakeWindowSystem::QueryEndSession(WindowHandle window) {
  auto it = windows_.find(window);
  if (it == windows_.end() || it->second.handler == nullptr) return true;
  return it->second.handler->OnQueryEndSession();
}

}  // namespace linkscope
