#pragma once
// The canvas on a window's client area, painted through a memory bitmap of the same size and
// copied to the screen in one piece, so that resizing and live updates do not flicker.

#include <windows.h>

#include "platform/Canvas.h"

namespace linkscope {

class Win32Canvas : public ICanvas {
 public:
  // Draws on `dc` (a memory DC) of the given size with `font` (none: the system's GUI font).
  Win32Canvas(HDC dc, int width, int height, HFONT font);
  ~Win32Canvas() override;
  Win32Canvas(const Win32Canvas&) = delete;
  Win32Canvas& operator=(const Win32Canvas&) = delete;

  CanvasRect Bounds() const override { return CanvasRect{0, 0, width_, height_}; }
  int Dpi() const override { return dpi_; }
  bool HighContrast() const override { return highContrast_; }
  Colour SystemColourOf(SystemColour colour) const override;
  void FillRect(const CanvasRect& rect, Colour colour) override;
  void Polyline(const std::vector<CanvasPoint>& points, Colour colour, int width) override;
  void Text(const CanvasRect& box, const std::string& text, Colour colour,
            TextAlign align) override;
  int TextWidth(const std::string& text) const override;
  int TextHeight() const override;

  // Whether the user's scheme is a high-contrast one (SPI_GETHIGHCONTRAST).
  static bool HighContrastOn();

 private:
  HDC dc_;
  int width_;
  int height_;
  int dpi_ = 96;
  bool highContrast_ = false;
  HGDIOBJ oldFont_ = nullptr;
};

// Answers WM_PAINT for `window`: the painter paints the whole client area into a buffer, which
// then replaces what the window shows. The window's class should have no background brush and
// answer WM_ERASEBKGND with 1, so nothing is cleared between two pictures.
void PaintBuffered(HWND window, ICanvasPainter& painter, HFONT font);

}  // namespace linkscope
