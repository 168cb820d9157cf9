#include "win32/Win32WindowSystem.h"

#include <windows.h>
#include <shellapi.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <string>

#include "text/TextFit.h"
#include <commdlg.h>

#include "win32/Win32Canvas.h"
#include "win32/Win32ResourceCounts.h"

namespace linkscope {

namespace {

HWND ToHwnd(WindowHandle w) { return reinterpret_cast<HWND>(w); }
WindowHandle FromHwnd(HWND h) { return reinterpret_cast<WindowHandle>(h); }

IMainWindowHandler* HandlerOf(HWND hwnd) {
  return reinterpret_cast<IMainWindowHandler*>(GetWindowLongPtrA(hwnd, GWLP_USERDATA));
}

// The program's handlers throw nothing by design; should anything escape all the same, it must
// not unwind through the system's window procedure.
LRESULT CALLBACK MainWindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  try {
    if (message == WM_NCCREATE) {
      const auto* create = reinterpret_cast<const CREATESTRUCTA*>(lParam);
      SetWindowLongPtrA(hwnd, GWLP_USERDATA,
                        reinterpret_cast<LONG_PTR>(create->lpCreateParams));
      return DefWindowProcA(hwnd, message, wParam, lParam);
    }
    IMainWindowHandler* handler = HandlerOf(hwnd);
    if (handler != nullptr) {
      switch (message) {
        case WM_CREATE:
          return handler->OnCreate(FromHwnd(hwnd)) ? 0 : -1;
        case WM_TIMER:
          handler->OnTimer(static_cast<std::uint32_t>(wParam));
          return 0;
        case WM_CLOSE:
          handler->OnClose();
          return 0;
        case WM_DESTROY:
          handler->OnDestroy();
          return 0;
        case WM_QUERYENDSESSION:
          return handler->OnQueryEndSession() ? TRUE : FALSE;
        case WM_NCDESTROY:
          SetWindowLongPtrA(hwnd, GWLP_USERDATA, 0);
          break;
        default:
          // Messages registered by name live in 0xC000 to 0xFFFF.
          if (message >= 0xC000 && message <= 0xFFFF) {
            static const UINT countsMessage = RegisterWindowMessageA(resource_counts::kMessageName);
            if (message == countsMessage && wParam == resource_counts::kHeapQuery) {
              return static_cast<LRESULT>(resource_counts::HeapBytesInUse());
            }
            if (message == countsMessage) {
              return MAKELRESULT(std::min<std::uint32_t>(resource_counts::Icons(), 0xFFFF),
                                 std::min<std::uint32_t>(resource_counts::Bitmaps(), 0xFFFF));
            }
            handler->OnRegisteredMessage(message, wParam, lParam);
            return 0;
          }
          break;
      }
    }
  } catch (...) {
    return 0;
  }
  return DefWindowProcA(hwnd, message, wParam, lParam);
}

// A graph window keeps its painter and handler in its window bytes.
constexpr const char* kGraphWindowClass = "LinkscopeGraphWindow";
constexpr int kGraphPainterSlot = 0;
constexpr int kGraphHandlerSlot = sizeof(LONG_PTR);
struct GraphCreation {
  ICanvasPainter* painter;
  IGraphWindowHandler* handler;
};

LRESULT CALLBACK GraphWindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  try {
    if (message == WM_NCCREATE) {
      const auto* create = reinterpret_cast<const CREATESTRUCTA*>(lParam);
      const auto* creation = static_cast<const GraphCreation*>(create->lpCreateParams);
      SetWindowLongPtrA(hwnd, kGraphPainterSlot, reinterpret_cast<LONG_PTR>(creation->painter));
      SetWindowLongPtrA(hwnd, kGraphHandlerSlot, reinterpret_cast<LONG_PTR>(creation->handler));
      return DefWindowProcA(hwnd, message, wParam, lParam);
    }
    auto* painter = reinterpret_cast<ICanvasPainter*>(GetWindowLongPtrA(hwnd, kGraphPainterSlot));
    auto* handler =
        reinterpret_cast<IGraphWindowHandler*>(GetWindowLongPtrA(hwnd, kGraphHandlerSlot));
    switch (message) {
      case WM_ERASEBKGND:
        // The picture covers the whole client area; clearing it first would flicker.
        return 1;
      case WM_PAINT:
        if (painter == nullptr) break;
        PaintBuffered(hwnd, *painter, nullptr);
        return 0;
      case WM_GETMINMAXINFO: {
        auto* limits = reinterpret_cast<MINMAXINFO*>(lParam);
        limits->ptMinTrackSize.x = 240;
        limits->ptMinTrackSize.y = 160;
        return 0;
      }
      case WM_COMMAND:
        // Menu commands only: the window has no controls.
        if (handler != nullptr && HIWORD(wParam) == 0 && lParam == 0) {
          handler->OnGraphCommand(LOWORD(wParam));
        }
        return 0;
      case WM_CLOSE:
        if (handler == nullptr) break;
        handler->OnGraphClose();
        return 0;
      case WM_DESTROY:
        if (handler != nullptr) handler->OnGraphDestroy();
        return 0;
      case WM_NCDESTROY:
        SetWindowLongPtrA(hwnd, kGraphPainterSlot, 0);
        SetWindowLongPtrA(hwnd, kGraphHandlerSlot, 0);
        break;
      default:
        break;
    }
  } catch (...) {
    return 0;
  }
  return DefWindowProcA(hwnd, message, wParam, lParam);
}

HMENU BuildMenuBar(const std::vector<MenuItem>& items) {
  HMENU bar = CreateMenu();
  if (bar == nullptr) return nullptr;
  for (const MenuItem& item : items) {
    AppendMenuA(bar, MF_STRING, item.id, item.text.c_str());
  }
  return bar;
}

struct FindState {
  const std::string* title;
  HWND found;
};

BOOL CALLBACK FindExactTitle(HWND hwnd, LPARAM param) {
  auto* state = reinterpret_cast<FindState*>(param);
  char text[1024];
  const int length = GetWindowTextA(hwnd, text, sizeof text);
  if (length >= 0 && static_cast<std::size_t>(length) == state->title->size() &&
      std::memcmp(text, state->title->data(), state->title->size()) == 0) {
    state->found = hwnd;
    return FALSE;
  }
  return TRUE;
}

}  // namespace

Win32WindowSystem::Win32WindowSystem(void* instance) : instance_(instance) {}

WindowHandle Win32WindowSystem::CreateMainWindow(const std::string& title,
                                                 IMainWindowHandler* handler) {
  HINSTANCE instance = static_cast<HINSTANCE>(instance_);
  WNDCLASSEXA wc{};
  wc.cbSize = sizeof wc;
  if (!GetClassInfoExA(instance, kMainWindowClass, &wc)) {
    wc = WNDCLASSEXA{};
    wc.cbSize = sizeof wc;
    wc.lpfnWndProc = MainWindowProc;
    wc.hInstance = instance;
    wc.hCursor = LoadCursor(nullptr, IDC_ARROW);
    wc.lpszClassName = kMainWindowClass;
    if (RegisterClassExA(&wc) == 0) return 0;
  }
  HWND hwnd = CreateWindowExA(0, kMainWindowClass, title.c_str(), WS_OVERLAPPEDWINDOW,
                              CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, nullptr,
                              nullptr, instance, handler);
  return FromHwnd(hwnd);
}

void Win32WindowSystem::DestroyWindow(WindowHandle window) { ::DestroyWindow(ToHwnd(window)); }

bool Win32WindowSystem::SetWindowTitle(WindowHandle window, const std::string& title) {
  return SetWindowTextA(ToHwnd(window), title.c_str()) != 0;
}

WindowHandle Win32WindowSystem::FindTopLevelWindow(const std::string& title) {
  // FindWindow compares titles ignoring letter case; the program wants the exact title.
  FindState state{&title, nullptr};
  EnumWindows(FindExactTitle, reinterpret_cast<LPARAM>(&state));
  return FromHwnd(state.found);
}

int Win32WindowSystem::ShowMessage(WindowHandle owner, const std::string& text,
                                   const std::string& caption, std::uint32_t style) {
  return MessageBoxA(ToHwnd(owner), text.c_str(), caption.c_str(), style);
}

bool Win32WindowSystem::SetTimer(WindowHandle window, std::uint32_t timerId,
                                 std::uint32_t milliseconds) {
  return ::SetTimer(ToHwnd(window), timerId, milliseconds, nullptr) != 0;
}

void Win32WindowSystem::KillTimer(WindowHandle window, std::uint32_t timerId) {
  ::KillTimer(ToHwnd(window), timerId);
}

std::uint32_t Win32WindowSystem::RegisterMessage(const std::string& name) {
  return RegisterWindowMessageA(name.c_str());
}

namespace {

void CopyField(char* field, std::size_t capacity, const std::string& text) {
  // The portable side cut the text already; this only keeps the field terminated.
  const std::size_t length = std::min(text.size(), capacity - 1);
  std::memcpy(field, text.data(), length);
  field[length] = '\0';
}

// The file named by LINKSCOPE_TRAY_LOG, for tests: the shell keeps its copy of the record
// where no other process can read it (Wine's as well), so a test reads what was sent.
const std::string& TrayLogPath() {
  static const std::string path = [] {
    char buffer[MAX_PATH] = {};
    const DWORD n = GetEnvironmentVariableA("LINKSCOPE_TRAY_LOG", buffer, sizeof buffer);
    return n > 0 && n < sizeof buffer ? std::string(buffer, n) : std::string();
  }();
  return path;
}

std::string Escaped(const char* text) {
  std::string out;
  for (; *text != '\0'; ++text) {
    if (*text == '\n') out += "\\n";
    else if (*text == '\r') out += "\\r";
    else if (*text == '\\') out += "\\\\";
    else out += *text;
  }
  return out;
}

void LogTrayCall(DWORD message, const NOTIFYICONDATAA& data, bool accepted) {
  if (TrayLogPath().empty()) return;
  HANDLE file = CreateFileA(TrayLogPath().c_str(), FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE,
                            nullptr, OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return;
  const char* action = message == NIM_ADD ? "add" : message == NIM_MODIFY ? "modify" : "delete";
  const bool info = (data.uFlags & NIF_INFO) != 0 && data.cbSize != NOTIFYICONDATAA_V1_SIZE;
  char head[96];
  std::snprintf(head, sizeof head, "%s accepted=%d size=%lu flags=0x%X", action, accepted ? 1 : 0,
                static_cast<unsigned long>(data.cbSize), static_cast<unsigned>(data.uFlags));
  std::string line = std::string(head) + " tip=" + Escaped(data.szTip);
  if (info) {
    line += " title=" + Escaped(data.szInfoTitle) + " info=" + Escaped(data.szInfo);
  }
  line += "\r\n";
  DWORD written = 0;
  WriteFile(file, line.data(), static_cast<DWORD>(line.size()), &written, nullptr);
  CloseHandle(file);
}

// Set once a shell refused the larger record and took the first version: it gets only that.
bool g_firstRecordOnly = false;

}  // namespace

bool Win32WindowSystem::NotifyTrayIcon(TrayAction action, const TrayIconRecord& record) {
  // The record of shell 5 (Windows 2000 and later, and Wine): a tip of 128 characters and the
  // balloon fields. A shell that refuses it gets the first version, with the tip cut to 63
  // characters at a word and no balloon.
  NOTIFYICONDATAA data{};
  data.cbSize = g_firstRecordOnly ? NOTIFYICONDATAA_V1_SIZE : NOTIFYICONDATAA_V2_SIZE;
  data.hWnd = reinterpret_cast<HWND>(record.owner);
  data.uID = record.id;
  data.uFlags = record.flags;
  data.uCallbackMessage = record.callbackMessage;
  data.hIcon = reinterpret_cast<HICON>(record.icon);
  static_assert(sizeof data.szTip >= kTrayTipCapacity, "the tip field holds 128 characters");
  static_assert(sizeof data.szInfo >= kTrayInfoCapacity, "the balloon holds 256 characters");
  static_assert(sizeof data.szInfoTitle >= kTrayInfoTitleCapacity, "its title 64");
  CopyField(data.szTip, kTrayTipCapacity, record.tip);
  if ((record.flags & kTrayFlagInfo) != 0) {
    CopyField(data.szInfo, kTrayInfoCapacity, record.info);
    CopyField(data.szInfoTitle, kTrayInfoTitleCapacity, record.infoTitle);
    data.dwInfoFlags = NIIF_INFO;
    data.uTimeout = 10000;  // milliseconds; the shell keeps it between 10 and 30 seconds
  }
  DWORD message = NIM_ADD;
  if (action == TrayAction::Modify) message = NIM_MODIFY;
  if (action == TrayAction::Delete) message = NIM_DELETE;
  bool accepted = Shell_NotifyIconA(message, &data) != FALSE;
  LogTrayCall(message, data, accepted);
  if (!accepted && !g_firstRecordOnly && action != TrayAction::Delete) {
    NOTIFYICONDATAA first = data;
    first.cbSize = NOTIFYICONDATAA_V1_SIZE;
    first.uFlags &= ~static_cast<UINT>(NIF_INFO);
    CopyField(first.szTip, kTrayTipCapacityV1, FitWords(record.tip, kTrayTipCapacityV1 - 1));
    accepted = Shell_NotifyIconA(message, &first) != FALSE;
    LogTrayCall(message, first, accepted);
    // A shell that takes the small record after refusing the large one knows only the small.
    if (accepted) g_firstRecordOnly = true;
  }
  return accepted;
}

IconHandle Win32WindowSystem::LoadIconFile(const std::string& path) {
  HANDLE icon = LoadImageA(nullptr, path.c_str(), IMAGE_ICON, 0, 0,
                           LR_LOADFROMFILE | LR_DEFAULTSIZE | LR_CREATEDIBSECTION);
  if (icon != nullptr) resource_counts::IconLoaded();
  return reinterpret_cast<IconHandle>(icon);
}

IconHandle Win32WindowSystem::LoadBuiltInIcon(std::uint32_t resourceId) {
  HANDLE icon = LoadImageA(static_cast<HINSTANCE>(instance_), MAKEINTRESOURCEA(resourceId),
                           IMAGE_ICON, GetSystemMetrics(SM_CXSMICON),
                           GetSystemMetrics(SM_CYSMICON), LR_DEFAULTCOLOR);
  if (icon != nullptr) resource_counts::IconLoaded();
  return reinterpret_cast<IconHandle>(icon);
}

void Win32WindowSystem::FreeIcon(IconHandle icon) {
  if (icon != 0 && DestroyIcon(reinterpret_cast<HICON>(icon))) resource_counts::IconFreed();
}

namespace {
HMENU BuildMenu(const std::vector<MenuItem>& items) {
  HMENU menu = CreatePopupMenu();
  if (menu == nullptr) return nullptr;
  for (const MenuItem& item : items) {
    if (item.separator) {
      AppendMenuA(menu, MF_SEPARATOR, 0, nullptr);
    } else if (!item.submenu.empty() || item.id == 0) {
      HMENU sub = BuildMenu(item.submenu);
      AppendMenuA(menu, MF_POPUP | MF_STRING, reinterpret_cast<UINT_PTR>(sub), item.text.c_str());
    } else {
      AppendMenuA(menu, MF_STRING | (item.checked ? MF_CHECKED : MF_UNCHECKED), item.id,
                  item.text.c_str());
    }
  }
  return menu;
}
}  // namespace

std::uint32_t Win32WindowSystem::TrackPopupMenu(WindowHandle window,
                                                const std::vector<MenuItem>& items, int x,
                                                int y) {
  HMENU menu = BuildMenu(items);
  if (menu == nullptr) return 0;
  // A menu of a window that is not in the foreground would not close when the user clicks
  // elsewhere; the empty message after tracking lets the next click through.
  SetForegroundWindow(ToHwnd(window));
  const BOOL chosen = ::TrackPopupMenu(menu, TPM_RIGHTALIGN | TPM_TOPALIGN | TPM_RETURNCMD |
                                                 TPM_RIGHTBUTTON | TPM_NONOTIFY,
                                       x, y, 0, ToHwnd(window), nullptr);
  PostMessageA(ToHwnd(window), WM_NULL, 0, 0);
  DestroyMenu(menu);
  return static_cast<std::uint32_t>(chosen);
}

bool Win32WindowSystem::SetTopmost(WindowHandle window, bool topmost) {
  return SetWindowPos(ToHwnd(window), topmost ? HWND_TOPMOST : HWND_NOTOPMOST, 0, 0, 0, 0,
                      SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE) != 0;
}

bool Win32WindowSystem::RaiseToTop(WindowHandle window) {
  return SetWindowPos(ToHwnd(window), HWND_TOP, 0, 0, 0, 0,
                      SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE) != 0;
}

void Win32WindowSystem::BringToFront(WindowHandle window) {
  SetForegroundWindow(ToHwnd(window));
}

WindowHandle Win32WindowSystem::CreateGraphWindow(WindowHandle owner, const std::string& title,
                                                  const std::vector<MenuItem>& menuBar,
                                                  int width, int height,
                                                  ICanvasPainter* painter,
                                                  IGraphWindowHandler* handler) {
  HINSTANCE instance = static_cast<HINSTANCE>(instance_);
  WNDCLASSEXA wc{};
  wc.cbSize = sizeof wc;
  if (!GetClassInfoExA(instance, kGraphWindowClass, &wc)) {
    wc = WNDCLASSEXA{};
    wc.cbSize = sizeof wc;
    // Redrawn whole at every size; no background brush, the picture paints it.
    wc.style = CS_HREDRAW | CS_VREDRAW;
    wc.lpfnWndProc = GraphWindowProc;
    wc.cbWndExtra = 2 * sizeof(LONG_PTR);
    wc.hInstance = instance;
    wc.hCursor = LoadCursor(nullptr, IDC_ARROW);
    wc.lpszClassName = kGraphWindowClass;
    if (RegisterClassExA(&wc) == 0) return 0;
  }
  HDC screen = GetDC(nullptr);
  const int dpi = screen != nullptr ? GetDeviceCaps(screen, LOGPIXELSY) : 96;
  if (screen != nullptr) ReleaseDC(nullptr, screen);
  HMENU menu = BuildMenuBar(menuBar);
  GraphCreation creation{painter, handler};
  HWND hwnd = CreateWindowExA(0, kGraphWindowClass, title.c_str(), WS_OVERLAPPEDWINDOW,
                              CW_USEDEFAULT, CW_USEDEFAULT, ScaleForDpi(width, dpi),
                              ScaleForDpi(height, dpi), ToHwnd(owner), menu, instance, &creation);
  if (hwnd == nullptr) {
    // A menu no window took is the caller's to free.
    if (menu != nullptr) DestroyMenu(menu);
    return 0;
  }
  ShowWindow(hwnd, SW_SHOWNORMAL);
  SetForegroundWindow(hwnd);
  return FromHwnd(hwnd);
}

bool Win32WindowSystem::SetMenuBar(WindowHandle window, const std::vector<MenuItem>& menuBar) {
  HWND hwnd = ToHwnd(window);
  if (!IsWindow(hwnd)) return false;
  HMENU menu = BuildMenuBar(menuBar);
  if (menu == nullptr) return false;
  HMENU old = GetMenu(hwnd);
  if (!SetMenu(hwnd, menu)) {
    DestroyMenu(menu);
    return false;
  }
  // A menu the window let go of is not destroyed with it.
  if (old != nullptr) DestroyMenu(old);
  DrawMenuBar(hwnd);
  return true;
}

bool Win32WindowSystem::InvalidateWindow(WindowHandle window) {
  return InvalidateRect(ToHwnd(window), nullptr, FALSE) != 0;
}

bool Win32WindowSystem::ChooseSaveFile(WindowHandle owner, const std::string& title,
                                       const std::string& filterName,
                                       const std::string& extension, std::string* path) {
  // The filter is pairs of name and pattern, each ended by a NUL, the list by another.
  std::string filter = filterName + " (*." + extension + ")";
  filter += '\0';
  filter += "*." + extension;
  filter += '\0';
  filter += '\0';
  char file[MAX_PATH] = {};
  if (path != nullptr && path->size() < MAX_PATH) std::memcpy(file, path->data(), path->size());
  OPENFILENAMEA box{};
  box.lStructSize = sizeof box;
  box.hwndOwner = ToHwnd(owner);
  box.lpstrFilter = filter.c_str();
  box.nFilterIndex = 1;
  box.lpstrFile = file;
  box.nMaxFile = MAX_PATH;
  box.lpstrTitle = title.c_str();
  box.lpstrDefExt = extension.c_str();
  box.Flags = OFN_OVERWRITEPROMPT | OFN_PATHMUSTEXIST | OFN_HIDEREADONLY | OFN_NOCHANGEDIR;
  if (!GetSaveFileNameA(&box)) return false;
  if (path != nullptr) *path = file;
  return true;
}

bool Win32WindowSystem::GetCursorPosition(int* x, int* y) {
  POINT p{};
  if (!GetCursorPos(&p)) return false;
  *x = p.x;
  *y = p.y;
  return true;
}

namespace {
struct MenuHit {
  POINT cursor;
  bool hit;
};
BOOL CALLBACK FindMenuUnderCursor(HWND hwnd, LPARAM param) {
  auto* state = reinterpret_cast<MenuHit*>(param);
  char cls[16] = {};
  RECT rect{};
  // Popup menus are windows of the class "#32768" of the thread that tracks them.
  if (GetClassNameA(hwnd, cls, sizeof cls) > 0 && std::strcmp(cls, "#32768") == 0 &&
      IsWindowVisible(hwnd) && GetWindowRect(hwnd, &rect) && PtInRect(&rect, state->cursor)) {
    state->hit = true;
    return FALSE;
  }
  return TRUE;
}
}  // namespace

bool Win32WindowSystem::CursorOnMenu() {
  MenuHit state{{0, 0}, false};
  if (!GetCursorPos(&state.cursor)) return false;
  EnumThreadWindows(GetCurrentThreadId(), FindMenuUnderCursor, reinterpret_cast<LPARAM>(&state));
  return state.hit;
}

void Win32WindowSystem::CloseMenu(WindowHandle owner) {
  // A hidden window created and destroyed beside the menu takes nothing from it: the menu
  // stays. The owner's cancel-mode message ends its menu on every Windows version (EndMenu
  // would do the same, but Windows 95 and NT 4 do not have it).
  SendMessageA(ToHwnd(owner), WM_CANCELMODE, 0, 0);
}

int Win32WindowSystem::RunMessageLoop() {
  MSG msg{};
  BOOL result;
  while ((result = GetMessageA(&msg, nullptr, 0, 0)) != 0) {
    if (result == -1) return 1;
    TranslateMessage(&msg);
    DispatchMessageA(&msg);
  }
  return static_cast<int>(msg.wParam);
}

void Win32WindowSystem::QuitMessageLoop(int exitCode) { PostQuitMessage(exitCode); }

}  // namespace linkscope
