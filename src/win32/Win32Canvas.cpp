#include "win32/Win32Canvas.h"

#include <algorithm>

#include "win32/Win32ResourceCounts.h"

namespace linkscope {

namespace {

COLORREF ToColorRef(Colour c) { return RGB(c.red, c.green, c.blue); }

}  // namespace

Win32Canvas::Win32Canvas(HDC dc, int width, int height, HFONT font)
    : dc_(dc), width_(width), height_(height) {
  const int dpi = GetDeviceCaps(dc_, LOGPIXELSY);
  if (dpi > 0) dpi_ = dpi;
  highContrast_ = HighContrastOn();
  HFONT chosen = font != nullptr ? font : static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT));
  oldFont_ = SelectObject(dc_, chosen);
  SetBkMode(dc_, TRANSPARENT);
}

Win32Canvas::~Win32Canvas() {
  if (oldFont_ != nullptr) SelectObject(dc_, oldFont_);
}

bool Win32Canvas::HighContrastOn() {
  HIGHCONTRASTA contrast{};
  contrast.cbSize = sizeof contrast;
  if (!SystemParametersInfoA(SPI_GETHIGHCONTRAST, sizeof contrast, &contrast, 0)) return false;
  return (contrast.dwFlags & HCF_HIGHCONTRASTON) != 0;
}

Colour Win32Canvas::SystemColourOf(SystemColour colour) const {
  const COLORREF c = GetSysColor(static_cast<int>(colour));
  return Colour{GetRValue(c), GetGValue(c), GetBValue(c)};
}

void Win32Canvas::FillRect(const CanvasRect& rect, Colour colour) {
  HBRUSH brush = CreateSolidBrush(ToColorRef(colour));
  if (brush == nullptr) return;
  const RECT r{rect.left, rect.top, rect.right, rect.bottom};
  ::FillRect(dc_, &r, brush);
  DeleteObject(brush);
}

void Win32Canvas::Polyline(const std::vector<CanvasPoint>& points, Colour colour, int width) {
  if (points.size() < 2) return;
  HPEN pen = CreatePen(PS_SOLID, std::max(1, width), ToColorRef(colour));
  if (pen == nullptr) return;
  HGDIOBJ old = SelectObject(dc_, pen);
  std::vector<POINT> gdi(points.size());
  for (std::size_t i = 0; i < points.size(); ++i) gdi[i] = POINT{points[i].x, points[i].y};
  ::Polyline(dc_, gdi.data(), static_cast<int>(gdi.size()));
  SelectObject(dc_, old);
  DeleteObject(pen);
}

void Win32Canvas::Text(const CanvasRect& box, const std::string& text, Colour colour,
                       TextAlign align) {
  RECT r{box.left, box.top, box.right, box.bottom};
  UINT format = DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX;
  if (align == TextAlign::Centre) format |= DT_CENTER;
  if (align == TextAlign::Right) format |= DT_RIGHT;
  SetTextColor(dc_, ToColorRef(colour));
  DrawTextA(dc_, text.c_str(), static_cast<int>(text.size()), &r, format);
}

int Win32Canvas::TextWidth(const std::string& text) const {
  SIZE size{};
  if (!GetTextExtentPoint32A(dc_, text.c_str(), static_cast<int>(text.size()), &size)) return 0;
  return size.cx;
}

int Win32Canvas::TextHeight() const {
  TEXTMETRICA metrics{};
  if (!GetTextMetricsA(dc_, &metrics)) return 0;
  return metrics.tmHeight;
}

void PaintBuffered(HWND window, ICanvasPainter& painter, HFONT font) {
  PAINTSTRUCT paint{};
  HDC screen = BeginPaint(window, &paint);
  if (screen == nullptr) return;
  RECT client{};
  GetClientRect(window, &client);
  const int width = std::max<LONG>(1, client.right - client.left);
  const int height = std::max<LONG>(1, client.bottom - client.top);
  HDC memory = CreateCompatibleDC(screen);
  HBITMAP bitmap = memory != nullptr ? CreateCompatibleBitmap(screen, width, height) : nullptr;
  if (bitmap != nullptr) {
    // Counted, so that a soak sees a paint that keeps its buffer.
    resource_counts::BitmapLoaded();
    HGDIOBJ oldBitmap = SelectObject(memory, bitmap);
    {
      Win32Canvas canvas(memory, width, height, font);
      painter.Paint(canvas);
    }
    BitBlt(screen, 0, 0, width, height, memory, 0, 0, SRCCOPY);
    SelectObject(memory, oldBitmap);
    if (DeleteObject(bitmap)) resource_counts::BitmapFreed();
  }
  if (memory != nullptr) DeleteDC(memory);
  EndPaint(window, &paint);
}

}  // namespace linkscope
