#pragma once
// A canvas that records what is drawn on it, in order, with the size, DPI and scheme a test
// gives. Text is measured as 7 pixels per byte and 13 pixels high at 96 DPI.

#include <string>
#include <vector>

#include "platform/Canvas.h"

namespace linkscope {

class FakeCanvas : public ICanvas {
 public:
  enum class Kind { Fill, Polyline, Text };
  struct Operation {
    Kind kind = Kind::Fill;
    CanvasRect rect;                  // Fill and Text
    std::vector<CanvasPoint> points;  // Polyline
    Colour colour;
    int width = 0;                    // Polyline
    std::string text;                 // Text
    TextAlign align = TextAlign::Left;
  };

  FakeCanvas(int width, int height, int dpi = 96, bool highContrast = false)
      : width_(width), height_(height), dpi_(dpi), highContrast_(highContrast) {}

  CanvasRect Bounds() const override { return CanvasRect{0, 0, width_, height_}; }
  int Dpi() const override { return dpi_; }
  bool HighContrast() const override { return highContrast_; }
  // Each system colour is distinct and recognisable: red is 200 + the index.
  Colour SystemColourOf(SystemColour colour) const override {
    return Colour{static_cast<std::uint8_t>(200 + static_cast<int>(colour)), 1, 1};
  }
  static bool IsSystemColour(Colour c) { return c.red >= 200 && c.green == 1 && c.blue == 1; }

  void FillRect(const CanvasRect& rect, Colour colour) override {
    Operation op;
    op.kind = Kind::Fill;
    op.rect = rect;
    op.colour = colour;
    operations.push_back(op);
  }
  void Polyline(const std::vector<CanvasPoint>& points, Colour colour, int width) override {
    Operation op;
    op.kind = Kind::Polyline;
    op.points = points;
    op.colour = colour;
    op.width = width;
    operations.push_back(op);
  }
  void Text(const CanvasRect& box, const std::string& text, Colour colour,
            TextAlign align) override {
    Operation op;
    op.kind = Kind::Text;
    op.rect = box;
    op.text = text;
    op.colour = colour;
    op.align = align;
    operations.push_back(op);
  }
  int TextWidth(const std::string& text) const override {
    return ScaleForDpi(7 * static_cast<int>(text.size()), dpi_);
  }
  int TextHeight() const override { return ScaleForDpi(13, dpi_); }

  // The texts drawn, in order.
  std::vector<std::string> Texts() const {
    std::vector<std::string> texts;
    for (const Operation& op : operations) {
      if (op.kind == Kind::Text) texts.push_back(op.text);
    }
    return texts;
  }
  std::vector<Operation> OfKind(Kind kind) const {
    std::vector<Operation> found;
    for (const Operation& op : operations) {
      if (op.kind == kind) found.push_back(op);
    }
    return found;
  }

  std::vector<Operation> operations;

 private:
  int width_;
  int height_;
  int dpi_;
  bool highContrast_;
};

}  // namespace linkscope
