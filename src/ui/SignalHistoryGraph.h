#pragma once
// The picture of the signal history window: signal strength and link quality over the last ten
// minutes, a line each, with a legend that carries the current values, a percent axis and a
// time axis in minutes. Where there was no link, or the window was closed, the lines break.

#include <string>

#include "platform/Canvas.h"
#include "ui/SignalHistory.h"

namespace linkscope {

// The words of the picture, in the current language.
struct SignalHistoryTexts {
  std::string signal;       // the legend's name of the signal line
  std::string quality;      // and of the link quality line
  std::string percentAxis;  // above the percent labels
  std::string timeAxis;     // below the minute labels
  std::string noLink;       // the current value while there is no link
};

class SignalHistoryGraph : public ICanvasPainter {
 public:
  // Both are read at each paint: the window's owner keeps them up to date.
  SignalHistoryGraph(const SignalHistory& history, const SignalHistoryTexts& texts)
      : history_(history), texts_(texts) {}

  void Paint(ICanvas& canvas) override;

  struct Palette {
    Colour background;
    Colour text;
    Colour grid;
    Colour signal;
    Colour quality;
  };
  // Fixed colours, or the user's scheme while high contrast is on.
  static Palette PaletteOf(const ICanvas& canvas);
  // Where the lines are drawn: inside the axes, the legend and the labels.
  static CanvasRect PlotArea(const ICanvas& canvas);

 private:
  void PaintLine(ICanvas& canvas, const CanvasRect& plot, bool signal, Colour colour) const;

  const SignalHistory& history_;
  const SignalHistoryTexts& texts_;
};

}  // namespace linkscope
