#include "ui/SignalHistoryGraph.h"

#include <algorithm>
#include <cstdint>
#include <vector>

namespace linkscope {

namespace {

constexpr int kMinutes = static_cast<int>(SignalHistory::kSpanMs / 60000);

// Lengths at 96 DPI.
constexpr int kPad = 8;
constexpr int kLabelGap = 6;
constexpr int kSwatchWidth = 16;
constexpr int kSwatchHeight = 4;
constexpr int kLegendGap = 20;
constexpr int kLineWidth = 2;

const char kWidestPercentLabel[] = "100";

const std::optional<int>& ValueOf(const HistorySample& s, bool signal) {
  return signal ? s.signalPercent : s.qualityPercent;
}

}  // namespace

SignalHistoryGraph::Palette SignalHistoryGraph::PaletteOf(const ICanvas& canvas) {
  if (canvas.HighContrast()) {
    return Palette{canvas.SystemColourOf(SystemColour::Window),
                   canvas.SystemColourOf(SystemColour::WindowText),
                   canvas.SystemColourOf(SystemColour::GrayText),
                   canvas.SystemColourOf(SystemColour::Highlight),
                   canvas.SystemColourOf(SystemColour::HotLight)};
  }
  // Blue and orange stay apart for the common kinds of colour blindness.
  return Palette{Colour{255, 255, 255}, Colour{0, 0, 0}, Colour{216, 216, 216},
                 Colour{0, 90, 200}, Colour{230, 120, 0}};
}

CanvasRect SignalHistoryGraph::PlotArea(const ICanvas& canvas) {
  const int dpi = canvas.Dpi();
  const int pad = ScaleForDpi(kPad, dpi);
  const int text = canvas.TextHeight();
  const CanvasRect bounds = canvas.Bounds();
  CanvasRect plot;
  plot.left = pad + canvas.TextWidth(kWidestPercentLabel) + ScaleForDpi(kLabelGap, dpi);
  // The legend's row above, and its gap to the plot, which the topmost label overhangs.
  plot.top = pad + text + pad;
  plot.right = bounds.right - pad - canvas.TextWidth(kWidestPercentLabel) / 2;
  // The minute labels and the axis caption below.
  plot.bottom = bounds.bottom - pad - 2 * text - ScaleForDpi(kLabelGap, dpi) / 2;
  return plot;
}

void SignalHistoryGraph::Paint(ICanvas& canvas) {
  const Palette palette = PaletteOf(canvas);
  const CanvasRect bounds = canvas.Bounds();
  canvas.FillRect(bounds, palette.background);
  const int dpi = canvas.Dpi();
  const int pad = ScaleForDpi(kPad, dpi);
  const int text = canvas.TextHeight();

  const CanvasRect plot = PlotArea(canvas);
  // The legend above the plot, with the newest sample's values.
  const HistorySample* last = history_.Samples().empty() ? nullptr : &history_.Samples().back();
  int x = plot.left;
  for (bool signal : {true, false}) {
    std::string label = signal ? texts_.signal : texts_.quality;
    const std::optional<int> value = last != nullptr ? ValueOf(*last, signal) : std::nullopt;
    label += ": " + (value.has_value() ? std::to_string(*value) + " %" : texts_.noLink);
    const int swatchTop = pad + (text - ScaleForDpi(kSwatchHeight, dpi)) / 2;
    canvas.FillRect(CanvasRect{x, swatchTop, x + ScaleForDpi(kSwatchWidth, dpi),
                               swatchTop + ScaleForDpi(kSwatchHeight, dpi)},
                    signal ? palette.signal : palette.quality);
    x += ScaleForDpi(kSwatchWidth, dpi) + ScaleForDpi(kLabelGap, dpi);
    const int width = canvas.TextWidth(label);
    canvas.Text(CanvasRect{x, pad, x + width, pad + text}, label, palette.text, TextAlign::Left);
    x += width + ScaleForDpi(kLegendGap, dpi);
  }

  if (plot.Width() < 2 * kMinutes || plot.Height() < 8) return;

  // The percent axis: a grid line every quarter, its label left of it, the caption above the
  // labels in the legend's row.
  const int labelRight = plot.left - ScaleForDpi(kLabelGap, dpi);
  for (int percent = 0; percent <= 100; percent += 25) {
    const int y = plot.bottom - percent * plot.Height() / 100;
    canvas.Polyline({CanvasPoint{plot.left, y}, CanvasPoint{plot.right, y}}, palette.grid, 1);
    canvas.Text(CanvasRect{pad, y - text / 2, labelRight, y - text / 2 + text},
                std::to_string(percent), palette.text, TextAlign::Right);
  }
  canvas.Text(CanvasRect{pad, pad, labelRight, pad + text},
              texts_.percentAxis, palette.text, TextAlign::Right);

  // The time axis: minutes before now, 0 at the right edge. Labels every minute where they
  // fit, else every second or fifth.
  const int minuteWidth = plot.Width() / kMinutes;
  const int labelWidth = canvas.TextWidth("10") + ScaleForDpi(kLabelGap, dpi);
  const int step = minuteWidth >= labelWidth ? 1 : 2 * minuteWidth >= labelWidth ? 2 : 5;
  for (int minute = 0; minute <= kMinutes; ++minute) {
    const int gx = plot.right - minute * plot.Width() / kMinutes;
    canvas.Polyline({CanvasPoint{gx, plot.top}, CanvasPoint{gx, plot.bottom}}, palette.grid, 1);
    if (minute % step != 0) continue;
    canvas.Text(CanvasRect{gx - labelWidth / 2, plot.bottom, gx + labelWidth / 2,
                           plot.bottom + text},
                std::to_string(minute), palette.text, TextAlign::Centre);
  }
  canvas.Text(CanvasRect{plot.left, plot.bottom + text, plot.right, plot.bottom + 2 * text},
              texts_.timeAxis, palette.text, TextAlign::Centre);

  PaintLine(canvas, plot, false, palette.quality);
  PaintLine(canvas, plot, true, palette.signal);
}

void SignalHistoryGraph::PaintLine(ICanvas& canvas, const CanvasRect& plot, bool signal,
                                   Colour colour) const {
  const int width = ScaleForDpi(kLineWidth, canvas.Dpi());
  std::vector<CanvasPoint> run;
  auto flush = [&] {
    if (run.size() == 1) {
      // A lone sample between two gaps still shows, as a dot.
      canvas.FillRect(CanvasRect{run[0].x - width / 2, run[0].y - width / 2,
                                 run[0].x - width / 2 + width, run[0].y - width / 2 + width},
                      colour);
    } else {
      canvas.Polyline(run, colour, width);
    }
    run.clear();
  };
  const HistorySample* previous = nullptr;
  for (const HistorySample& s : history_.Samples()) {
    const std::optional<int>& value = ValueOf(s, signal);
    if (!value.has_value() || (previous != nullptr && !history_.Joined(*previous, s))) {
      if (!run.empty()) flush();
    }
    previous = &s;
    if (!value.has_value()) continue;
    const std::int64_t age = history_.AgeOf(s);
    const int px = plot.right - static_cast<int>(age * plot.Width() / SignalHistory::kSpanMs);
    const int percent = std::clamp(*value, 0, 100);
    run.push_back(CanvasPoint{px, plot.bottom - percent * plot.Height() / 100});
  }
  if (!run.empty()) flush();
}

}  // namespace linkscope
