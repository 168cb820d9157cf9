#pragma once
// A surface the program draws its graphs on: the signal history window and the Site Survey
// page's channel view. Coordinates are pixels of the surface, origin top left; the surface is
// painted whole into a buffer that reaches the screen in one piece, so a painter clears what it
// paints over. The fake records every call for tests.

#include <cstdint>
#include <string>
#include <vector>

namespace linkscope {

struct CanvasPoint {
  int x = 0;
  int y = 0;
  bool operator==(const CanvasPoint& o) const { return x == o.x && y == o.y; }
};

struct CanvasRect {
  int left = 0;
  int top = 0;
  int right = 0;
  int bottom = 0;
  int Width() const { return right - left; }
  int Height() const { return bottom - top; }
  bool operator==(const CanvasRect& o) const {
    return left == o.left && top == o.top && right == o.right && bottom == o.bottom;
  }
};

struct Colour {
  std::uint8_t red = 0;
  std::uint8_t green = 0;
  std::uint8_t blue = 0;
  bool operator==(const Colour& o) const {
    return red == o.red && green == o.green && blue == o.blue;
  }
  bool operator!=(const Colour& o) const { return !(*this == o); }
};

// The colours of the user's scheme (the GetSysColor indices of the same names).
enum class SystemColour : int {
  Window = 5,          // COLOR_WINDOW
  WindowText = 8,      // COLOR_WINDOWTEXT
  Highlight = 13,      // COLOR_HIGHLIGHT
  ButtonFace = 15,     // COLOR_BTNFACE
  GrayText = 17,       // COLOR_GRAYTEXT
  ButtonText = 18,     // COLOR_BTNTEXT
  HotLight = 26,       // COLOR_HOTLIGHT
};

enum class TextAlign { Left, Centre, Right };

class ICanvas {
 public:
  virtual ~ICanvas() = default;

  // The surface's size: left and top are 0.
  virtual CanvasRect Bounds() const = 0;
  // Pixels per logical inch of the system (96 at 100 %); sizes in a painter scale by it.
  virtual int Dpi() const = 0;
  // Whether a high-contrast scheme is on: a painter then uses only SystemColourOf.
  virtual bool HighContrast() const = 0;
  virtual Colour SystemColourOf(SystemColour colour) const = 0;

  virtual void FillRect(const CanvasRect& rect, Colour colour) = 0;
  // A solid line through the points in order, `width` pixels wide; fewer than two points draw
  // nothing.
  virtual void Polyline(const std::vector<CanvasPoint>& points, Colour colour, int width) = 0;
  // One line of text in the dialog font, inside `box` (cut at its edges), vertically centred.
  // The text is drawn as it is: no prefix character, no tab expansion.
  virtual void Text(const CanvasRect& box, const std::string& text, Colour colour,
                    TextAlign align) = 0;
  // The size of one line of `text` in the dialog font.
  virtual int TextWidth(const std::string& text) const = 0;
  virtual int TextHeight() const = 0;
};

// What paints a surface: the window or control asks it for the whole picture at each paint.
class ICanvasPainter {
 public:
  virtual ~ICanvasPainter() = default;
  virtual void Paint(ICanvas& canvas) = 0;
};

// Scales a length given at 96 pixels per inch to the canvas's DPI, rounding to nearest.
inline int ScaleForDpi(int length, int dpi) { return (length * dpi + 48) / 96; }

}  // namespace linkscope
