// The smallest tray program: a hidden window, one notification-area icon and a one-second
// timer that does nothing. The resident-memory benchmark measures Linkscope against it.

#include <windows.h>
#include <shellapi.h>

namespace {

LRESULT CALLBACK WindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_DESTROY) {
    PostQuitMessage(0);
    return 0;
  }
  return DefWindowProcA(hwnd, message, wParam, lParam);
}

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
  WNDCLASSA wc{};
  wc.lpfnWndProc = WindowProc;
  wc.hInstance = instance;
  wc.lpszClassName = "EmptyTray";
  RegisterClassA(&wc);
  HWND hwnd = CreateWindowA("EmptyTray", "Empty tray program", WS_OVERLAPPEDWINDOW, 0, 0, 0, 0,
                            nullptr, nullptr, instance, nullptr);
  NOTIFYICONDATAA icon{};
  icon.cbSize = NOTIFYICONDATAA_V1_SIZE;
  icon.hWnd = hwnd;
  icon.uID = 1;
  icon.uFlags = NIF_ICON | NIF_TIP;
  icon.hIcon = LoadIcon(nullptr, IDI_APPLICATION);
  lstrcpyA(icon.szTip, "Empty");
  Shell_NotifyIconA(NIM_ADD, &icon);
  SetTimer(hwnd, 1, 1000, nullptr);
  MSG msg;
  while (GetMessageA(&msg, nullptr, 0, 0) > 0) DispatchMessageA(&msg);
  Shell_NotifyIconA(NIM_DELETE, &icon);
  return 0;
}
