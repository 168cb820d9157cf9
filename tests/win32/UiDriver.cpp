#include "win32/UiDriver.h"

#include <shellapi.h>

#include <vector>

#include "win32/ProcessHelpers.h"

namespace linkscope::testing {

void SendTrayMouse(HWND main, UINT mouseMessage) {
  const UINT callback = RegisterWindowMessageA("MONITOR_ICON_PRESSED");
  PostMessageA(main, callback, 1, mouseMessage);
}

bool MoveCursor(int x, int y) {
  // Absolute input runs from 0 to 65535 across the primary screen.
  INPUT input{};
  input.type = INPUT_MOUSE;
  input.mi.dx = x * 65535 / (GetSystemMetrics(SM_CXSCREEN) - 1);
  input.mi.dy = y * 65535 / (GetSystemMetrics(SM_CYSCREEN) - 1);
  input.mi.dwFlags = MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE;
  if (SendInput(1, &input, sizeof input) != 1) return false;
  const DWORD start = GetTickCount();
  POINT at{};
  while (GetCursorPos(&at) && (at.x != x || at.y != y) && GetTickCount() - start < 5000) Sleep(20);
  return at.x == x && at.y == y;
}

bool MouseClick(HWND control) {
  RECT rect{};
  if (!GetWindowRect(control, &rect)) return false;
  if (!MoveCursor((rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2)) return false;
  INPUT input[2] = {};
  input[0].type = INPUT_MOUSE;
  input[0].mi.dwFlags = MOUSEEVENTF_LEFTDOWN;
  input[1].type = INPUT_MOUSE;
  input[1].mi.dwFlags = MOUSEEVENTF_LEFTUP;
  return SendInput(2, input, sizeof input[0]) == 2;
}

void PressKeyInput(WORD key) {
  INPUT input[2] = {};
  input[0].type = INPUT_KEYBOARD;
  input[0].ki.wVk = key;
  input[1].type = INPUT_KEYBOARD;
  input[1].ki.wVk = key;
  input[1].ki.dwFlags = KEYEVENTF_KEYUP;
  SendInput(2, input, sizeof input[0]);
}

void PressChordInput(std::initializer_list<WORD> keys) {
  std::vector<INPUT> input(2 * keys.size());
  std::size_t down = 0;
  for (WORD key : keys) {
    INPUT& up = input[input.size() - 1 - down];
    input[down].type = up.type = INPUT_KEYBOARD;
    input[down++].ki.wVk = up.ki.wVk = key;
    up.ki.dwFlags = KEYEVENTF_KEYUP;
  }
  SendInput(static_cast<UINT>(input.size()), input.data(), sizeof input[0]);
}

HWND FocusIn(HWND window) {
  GUITHREADINFO info = {};
  info.cbSize = sizeof info;
  if (!GetGUIThreadInfo(GetWindowThreadProcessId(window, nullptr), &info)) return nullptr;
  return info.hwndFocus;
}

namespace {
BOOL CALLBACK FindMenuWindow(HWND hwnd, LPARAM param) {
  char cls[16] = {};
  GetClassNameA(hwnd, cls, sizeof cls);
  if (std::string(cls) == "#32768" && IsWindowVisible(hwnd)) {
    *reinterpret_cast<HWND*>(param) = hwnd;
    return FALSE;
  }
  return TRUE;
}
}  // namespace

HWND WaitForPopupMenu(DWORD ms) {
  const DWORD start = GetTickCount();
  do {
    HWND menu = nullptr;
    EnumWindows(FindMenuWindow, reinterpret_cast<LPARAM>(&menu));
    if (menu != nullptr) return menu;
    Sleep(50);
  } while (GetTickCount() - start < ms);
  return nullptr;
}

void PressKeys(HWND window, std::initializer_list<WORD> keys) {
  for (WORD key : keys) {
    PostMessageA(window, WM_KEYDOWN, key, 0);
    PostMessageA(window, WM_KEYUP, key, 0xC0000000);
    Sleep(250);
  }
}

bool ChooseFromTrayMenu(HWND main, std::initializer_list<WORD> keys) {
  SendTrayMouse(main, WM_RBUTTONUP);
  HWND menu = WaitForPopupMenu(kPatienceMs);
  if (menu == nullptr) return false;
  PressKeys(menu, keys);
  if (!WaitUntil([menu] { return !IsWindow(menu) || !IsWindowVisible(menu); })) return false;
  // A message sent to the main window is taken only once its thread waits for messages again:
  // after the choice's handler, or inside the modal loop it opened. A window already gone
  // (the program ended) answers at once.
  DWORD_PTR result = 0;
  SendMessageTimeoutA(main, WM_NULL, 0, 0, SMTO_NORMAL, kPatienceMs, &result);
  return true;
}

bool WaitForTrayIcon(HWND main, DWORD ms) { return WaitForTrayIcon(main, true, ms); }

HWND WaitForSettingsDialog(HWND main, DWORD ms) {
  char title[128] = "Linkscope Utility";
  if (main != nullptr) GetWindowTextA(main, title, sizeof title);
  const DWORD start = GetTickCount();
  do {
    HWND found = nullptr;
    while ((found = FindWindowExA(nullptr, found, nullptr, title)) != nullptr) {
      if (found != main && IsWindowVisible(found)) return found;
    }
    Sleep(100);
  } while (GetTickCount() - start < ms);
  return nullptr;
}

bool WaitForWindowGone(HWND window, DWORD ms) {
  const DWORD start = GetTickCount();
  do {
    if (!IsWindow(window)) return true;
    Sleep(50);
  } while (GetTickCount() - start < ms);
  return false;
}

bool TrayIconPresent(HWND main) {
  // Modifying nothing succeeds only for an icon that is there.
  NOTIFYICONDATAA data{};
  data.cbSize = NOTIFYICONDATAA_V1_SIZE;
  data.hWnd = main;
  data.uID = 1;
  data.uFlags = 0;
  return Shell_NotifyIconA(NIM_MODIFY, &data) != FALSE;
}

bool WaitForTrayIcon(HWND main, bool present, DWORD ms) {
  return WaitUntil([main, present] { return TrayIconPresent(main) == present; }, ms);
}

std::string UserValue(const std::string& key, const std::string& name) {
  HKEY h = nullptr;
  if (RegOpenKeyExA(HKEY_CURRENT_USER, key.c_str(), 0, KEY_READ, &h) != ERROR_SUCCESS) {
    return "<missing>";
  }
  BYTE data[512];
  DWORD size = sizeof data, type = 0;
  const LONG rc = RegQueryValueExA(h, name.c_str(), nullptr, &type, data, &size);
  RegCloseKey(h);
  if (rc != ERROR_SUCCESS) return "<missing>";
  if (type == REG_DWORD && size == 4) {
    DWORD v = 0;
    memcpy(&v, data, 4);
    return std::to_string(v);
  }
  std::string text(reinterpret_cast<const char*>(data), size);
  return text.substr(0, text.find('\0'));
}

std::string TextOf(HWND control) {
  char text[256] = {};
  DWORD_PTR copied = 0;
  if (SendMessageTimeoutA(control, WM_GETTEXT, sizeof text, reinterpret_cast<LPARAM>(text),
                          SMTO_ABORTIFHUNG, 5000, &copied) == 0) {
    return "<no answer>";
  }
  return std::string(text, copied < sizeof text ? copied : sizeof text - 1);
}

void Type(HWND page, int id, const std::string& text) {
  HWND edit = GetDlgItem(page, id);
  SendMessageA(edit, EM_SETSEL, 0, -1);
  for (char c : text) SendMessageA(edit, WM_CHAR, static_cast<unsigned char>(c), 0);
}

void Choose(HWND page, int id, int index) {
  HWND combo = GetDlgItem(page, id);
  SendMessageA(combo, CB_SETCURSEL, index, 0);
  SendMessageA(page, WM_COMMAND, MAKEWPARAM(id, CBN_SELCHANGE), reinterpret_cast<LPARAM>(combo));
}

void Click(HWND page, int id) {
  PostMessageA(page, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED),
               reinterpret_cast<LPARAM>(GetDlgItem(page, id)));
}

bool AnswerYes(const char* caption) {
  HWND box = WaitForWindow(caption, kPatienceMs);
  if (box == nullptr) return false;
  PostMessageA(box, WM_COMMAND, IDYES, 0);
  return WaitForWindowGone(box, kPatienceMs);
}

HWND ShowTab(HWND dialog, int index, int marker) {
  constexpr int kTabs = 1003;
  constexpr UINT kGetCurrentTab = 0x130B;  // TCM_GETCURSEL
  HWND tabs = GetDlgItem(dialog, kTabs);
  const int current = static_cast<int>(SendMessageA(tabs, kGetCurrentTab, 0, 0));
  for (int i = current; i < index; ++i) PressKeys(tabs, {VK_RIGHT});
  for (int i = current; i > index; --i) PressKeys(tabs, {VK_LEFT});
  HWND page = nullptr;
  WaitUntil([&] {
    // The Profiles page lives in the tab control, the others beside it.
    for (HWND parent : {dialog, tabs}) {
      HWND candidate = nullptr;
      while ((candidate = FindWindowExA(parent, candidate, "#32770", nullptr)) != nullptr) {
        if (GetDlgItem(candidate, marker) != nullptr && IsWindowVisible(candidate)) {
          page = candidate;
          return true;
        }
      }
    }
    return false;
  });
  return page;
}

void Screenshot(const std::string& name) {
  const std::string folder = ProgramFolder() + "screenshots\\";
  CreateDirectoryA(folder.c_str(), nullptr);
  const std::string file = folder + name + ".png";
  DeleteFileA(file.c_str());
  std::string unixPath = file.substr(2);
  for (char& ch : unixPath) {
    if (ch == '\\') ch = '/';
  }
  RunCommand("Z:\\usr\\bin\\import -window root " + unixPath, ProgramFolder(), nullptr);
  const DWORD start = GetTickCount();
  WIN32_FILE_ATTRIBUTE_DATA data;
  while (!(GetFileAttributesExA(file.c_str(), GetFileExInfoStandard, &data) &&
           data.nFileSizeLow > 0) &&
         GetTickCount() - start < 10000) {
    Sleep(100);
  }
}

std::string VisibleWindows() {
  std::string titles;
  EnumWindows(
      [](HWND hwnd, LPARAM param) -> BOOL {
        char title[128] = {};
        GetWindowTextA(hwnd, title, sizeof title);
        if (IsWindowVisible(hwnd) && title[0] != 0) {
          // A message box says what it is about in its static text.
          HWND label = GetDlgItem(hwnd, 0xFFFF);
          const std::string text = label != nullptr ? TextOf(label) : "";
          *reinterpret_cast<std::string*>(param) += std::string("[") + title + ": " + text + "] ";
        }
        return TRUE;
      },
      reinterpret_cast<LPARAM>(&titles));
  return titles;
}

// The windows of a process, its child windows included.
int WindowCount(DWORD processId) {
  struct Count {
    DWORD pid;
    int n;
  } count{processId, 0};
  EnumWindows(
      [](HWND top, LPARAM p) -> BOOL {
        auto* c = reinterpret_cast<Count*>(p);
        DWORD pid = 0;
        GetWindowThreadProcessId(top, &pid);
        if (pid != c->pid) return TRUE;
        ++c->n;
        EnumChildWindows(
            top, [](HWND, LPARAM q) -> BOOL { return ++reinterpret_cast<Count*>(q)->n, TRUE; },
            p);
        return TRUE;
      },
      reinterpret_cast<LPARAM>(&count));
  return count.n;
}

}  // namespace linkscope::testing
