#include "win32/Win32GraphControl.h"

#include "platform/DialogLayout.h"
#include "win32/Win32Canvas.h"

namespace linkscope {

namespace {

// The window's extra bytes: the painter, then the font the dialog gave the control.
constexpr int kPainterSlot = 0;
constexpr int kFontSlot = static_cast<int>(sizeof(LONG_PTR));

ICanvasPainter* PainterOf(HWND window) {
  return reinterpret_cast<ICanvasPainter*>(GetWindowLongPtrA(window, kPainterSlot));
}

LRESULT CALLBACK GraphProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_ERASEBKGND:
      return 1;
    case WM_SETFONT:
      SetWindowLongPtrA(window, kFontSlot, static_cast<LONG_PTR>(wParam));
      if (LOWORD(lParam) != 0) InvalidateRect(window, nullptr, FALSE);
      return 0;
    case WM_GETFONT:
      return static_cast<LRESULT>(GetWindowLongPtrA(window, kFontSlot));
    case WM_PAINT: {
      auto* font = reinterpret_cast<HFONT>(GetWindowLongPtrA(window, kFontSlot));
      if (ICanvasPainter* painter = PainterOf(window)) {
        PaintBuffered(window, *painter, font);
        return 0;
      }
      PAINTSTRUCT paint{};
      HDC dc = BeginPaint(window, &paint);
      if (dc != nullptr) FillRect(dc, &paint.rcPaint, GetSysColorBrush(COLOR_WINDOW));
      EndPaint(window, &paint);
      return 0;
    }
    case WM_NCDESTROY:
      SetWindowLongPtrA(window, kPainterSlot, 0);
      break;
    default:
      break;
  }
  return DefWindowProcA(window, message, wParam, lParam);
}

}  // namespace

bool RegisterGraphClass(HINSTANCE instance) {
  if (instance == nullptr) instance = GetModuleHandleA(nullptr);
  WNDCLASSEXA existing{};
  existing.cbSize = sizeof existing;
  if (GetClassInfoExA(instance, kGraphClassName, &existing)) return true;
  WNDCLASSEXA wc{};
  wc.cbSize = sizeof wc;
  // Global: a dialog template finds it whatever instance it is created for.
  wc.style = CS_HREDRAW | CS_VREDRAW | CS_GLOBALCLASS;
  wc.lpfnWndProc = GraphProc;
  wc.cbWndExtra = 2 * static_cast<int>(sizeof(LONG_PTR));
  wc.hInstance = instance;
  wc.hCursor = LoadCursor(nullptr, IDC_ARROW);
  wc.hbrBackground = nullptr;
  wc.lpszClassName = kGraphClassName;
  return RegisterClassExA(&wc) != 0;
}

bool IsGraphWindow(HWND window) {
  char name[32] = "";
  GetClassNameA(window, name, sizeof name);
  return lstrcmpiA(name, kGraphClassName) == 0;
}

void SetGraphPainter(HWND window, ICanvasPainter* painter) {
  SetWindowLongPtrA(window, kPainterSlot, reinterpret_cast<LONG_PTR>(painter));
}

}  // namespace linkscope
