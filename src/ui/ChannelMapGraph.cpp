#include "ui/ChannelMapGraph.h"

#include <algorithm>

namespace linkscope {

namespace {

constexpr int kFirstQuarter = -4;  // channel -1
constexpr int kLastQuarter = 64;   // channel 16

// Curves of the ordinary scheme: distinct on the window colour, none of them grey.
constexpr Colour kPalette[] = {
    {0, 90, 200},  {200, 40, 40},  {0, 140, 60},  {170, 90, 0},
    {130, 40, 170}, {0, 140, 150}, {200, 0, 130}, {90, 110, 20},
};

int Clamp100(int percent) { return std::clamp(percent, 0, 100); }

}  // namespace

void SurveyHistory::Add(std::uint32_t time, const std::vector<GraphNetwork>& survey) {
  newest_ = time;
  for (const GraphNetwork& n : survey) {
    auto it = std::find_if(tracks_.begin(), tracks_.end(),
                           [&](const Track& t) { return t.bssid == n.bssid; });
    if (it == tracks_.end()) {
      if (tracks_.size() >= kMaxTracks) continue;
      tracks_.push_back(Track{n.bssid, n.label, n.inUse, {}});
      it = tracks_.end() - 1;
    }
    it->label = n.label;
    it->inUse = n.inUse;
    it->samples.push_back(Sample{time, n.percent});
  }
  // The clock wraps after 49 days: ages are distances in its arithmetic.
  for (Track& t : tracks_) {
    t.samples.erase(std::remove_if(t.samples.begin(), t.samples.end(),
                                   [&](const Sample& s) { return time - s.time > kSpanMs; }),
                    t.samples.end());
  }
  tracks_.erase(std::remove_if(tracks_.begin(), tracks_.end(),
                               [](const Track& t) { return t.samples.empty(); }),
                tracks_.end());
}

CanvasRect ChannelMapGraph::PlotArea(const CanvasRect& bounds, int dpi, int textHeight,
                                     int labelWidth) {
  CanvasRect plot;
  plot.left = bounds.left + labelWidth + ScaleForDpi(6, dpi);
  plot.right = bounds.right - ScaleForDpi(6, dpi);
  // Room above for the name over a full-strength peak, below for the channel numbers.
  plot.top = bounds.top + textHeight + ScaleForDpi(2, dpi);
  plot.bottom = bounds.bottom - textHeight - ScaleForDpi(4, dpi);
  if (plot.right < plot.left) plot.right = plot.left;
  if (plot.bottom < plot.top) plot.bottom = plot.top;
  return plot;
}

int ChannelMapGraph::QuarterChannelX(const CanvasRect& plot, int quarters) {
  return plot.left + (quarters - kFirstQuarter) * plot.Width() / (kLastQuarter - kFirstQuarter);
}

int ChannelMapGraph::PercentY(const CanvasRect& plot, int percent) {
  return plot.bottom - Clamp100(percent) * plot.Height() / 100;
}

std::vector<CanvasPoint> ChannelMapGraph::Curve(const CanvasRect& plot, std::uint8_t channel,
                                                int percent) {
  std::vector<CanvasPoint> points;
  const int height = Clamp100(percent) * plot.Height();
  for (int d = -8; d <= 8; d += 2) {
    // percent * (1 - (d/8)^2), scaled to the plot, in whole pixels.
    const int y = plot.bottom - height * (64 - d * d) / (64 * 100);
    points.push_back(CanvasPoint{QuarterChannelX(plot, 4 * channel + d), y});
  }
  return points;
}

Colour ChannelMapGraph::CurveColour(const ICanvas& canvas, std::size_t index, bool inUse) const {
  if (canvas.HighContrast()) {
    return canvas.SystemColourOf(inUse ? SystemColour::Highlight : SystemColour::WindowText);
  }
  return kPalette[index % (sizeof kPalette / sizeof kPalette[0])];
}

void ChannelMapGraph::PaintAxes(ICanvas& canvas, const CanvasRect& plot, bool channels) const {
  const int dpi = canvas.Dpi();
  const Colour text = canvas.SystemColourOf(SystemColour::WindowText);
  const Colour grey = canvas.SystemColourOf(SystemColour::GrayText);
  const int th = canvas.TextHeight();
  for (int percent : {0, 50, 100}) {
    const int y = PercentY(plot, percent);
    canvas.Text(CanvasRect{0, y - th / 2, plot.left - ScaleForDpi(4, dpi), y - th / 2 + th},
                std::to_string(percent), text, TextAlign::Right);
    canvas.Polyline({{plot.left - ScaleForDpi(3, dpi), y}, {plot.left, y}}, text, 1);
  }
  canvas.Polyline({{plot.left, plot.top}, {plot.left, plot.bottom}, {plot.right, plot.bottom}},
                  text, 1);
  const CanvasRect labels{plot.left, plot.bottom + ScaleForDpi(2, dpi), plot.right,
                          plot.bottom + ScaleForDpi(2, dpi) + th};
  if (channels) {
    const int half = std::max(1, (QuarterChannelX(plot, 4) - QuarterChannelX(plot, 0)) / 2);
    for (std::uint8_t ch = 1; ch <= kChannelCount; ++ch) {
      const int x = QuarterChannelX(plot, 4 * ch);
      canvas.Text(CanvasRect{x - half, labels.top, x + half, labels.bottom}, std::to_string(ch),
                  allowed_[ch - 1] ? text : grey, TextAlign::Centre);
    }
    return;
  }
  // Minutes ago, the newest survey at the right; the unit stands at the right edge.
  const int minutes = TimeSpanMinutes();
  for (int m = 0; m <= minutes; ++m) {
    const int x = plot.right - m * plot.Width() / minutes;
    const std::string label = m == 0 ? words_.minutes : "-" + std::to_string(m);
    const int w = canvas.TextWidth(label);
    if (m == 0) {
      canvas.Text(CanvasRect{x - w, labels.top, canvas.Bounds().right, labels.bottom}, label,
                  text, TextAlign::Right);
    } else {
      canvas.Text(CanvasRect{x - w, labels.top, x + w, labels.bottom}, label, text,
                  TextAlign::Centre);
    }
  }
}

int ChannelMapGraph::TimeSpanMinutes() const {
  // The whole minutes the history covers, so that a watch just begun fills the width.
  std::uint32_t oldest = 0;
  if (history_ != nullptr) {
    for (const SurveyHistory::Track& t : history_->Tracks()) {
      if (!t.samples.empty()) oldest = std::max(oldest, history_->Newest() - t.samples[0].time);
    }
  }
  const auto limit = static_cast<int>(SurveyHistory::kSpanMs / 60000);
  return std::clamp(static_cast<int>((oldest + 59999) / 60000), 1, limit);
}

void ChannelMapGraph::PaintChannels(ICanvas& canvas, const CanvasRect& plot) const {
  // The channels the domain forbids lie under a band of the button colour.
  const Colour band = canvas.SystemColourOf(SystemColour::ButtonFace);
  for (std::uint8_t ch = 1; ch <= kChannelCount; ++ch) {
    if (allowed_[ch - 1]) continue;
    canvas.FillRect(CanvasRect{QuarterChannelX(plot, 4 * ch - 2), plot.top,
                               QuarterChannelX(plot, 4 * ch + 2), plot.bottom},
                    band);
  }
  PaintAxes(canvas, plot, true);
  const int th = canvas.TextHeight();
  // The network in use last, so that it lies on top.
  for (int pass = 0; pass < 2; ++pass) {
    for (std::size_t i = 0; i < networks_.size(); ++i) {
      const GraphNetwork& n = networks_[i];
      if (n.inUse != (pass == 1) || n.channel < 1 || n.channel > kChannelCount) continue;
      const Colour colour = CurveColour(canvas, i, n.inUse);
      canvas.Polyline(Curve(plot, n.channel, n.percent), colour, LineWidth(n.inUse, canvas.Dpi()));
      const int x = QuarterChannelX(plot, 4 * n.channel);
      const int peak = PercentY(plot, n.percent);
      const int w = canvas.TextWidth(n.label);
      canvas.Text(CanvasRect{x - w / 2 - 1, peak - th - 1, x + w / 2 + 1, peak - 1}, n.label,
                  colour, TextAlign::Centre);
    }
  }
}

void ChannelMapGraph::PaintTime(ICanvas& canvas, const CanvasRect& plot) const {
  PaintAxes(canvas, plot, false);
  if (history_ == nullptr) return;
  const int th = canvas.TextHeight();
  const std::uint32_t newest = history_->Newest();
  const std::int64_t span = static_cast<std::int64_t>(TimeSpanMinutes()) * 60000;
  const auto& tracks = history_->Tracks();
  // The network in use last, its name over the others.
  for (int pass = 0; pass < 2; ++pass) {
    for (std::size_t i = 0; i < tracks.size(); ++i) {
      const SurveyHistory::Track& t = tracks[i];
      if (t.inUse != (pass == 1)) continue;
      std::vector<CanvasPoint> points;
      for (const SurveyHistory::Sample& s : t.samples) {
        const auto age = static_cast<std::int64_t>(newest - s.time);
        const int x = plot.right - static_cast<int>(age * plot.Width() / span);
        points.push_back(CanvasPoint{x, PercentY(plot, s.percent)});
      }
      const Colour colour = CurveColour(canvas, i, t.inUse);
      if (points.size() == 1) points.push_back(CanvasPoint{points[0].x + 1, points[0].y});
      canvas.Polyline(points, colour, LineWidth(t.inUse, canvas.Dpi()));
      // The name at the network's last sample, inside the plot.
      const CanvasPoint end = points.back();
      const int w = canvas.TextWidth(t.label);
      const int left = std::max(plot.left, std::min(end.x - w, plot.right - w));
      canvas.Text(CanvasRect{left, end.y - th - 1, left + w + 1, end.y - 1}, t.label, colour,
                  TextAlign::Left);
    }
  }
}

void ChannelMapGraph::Paint(ICanvas& canvas) {
  const CanvasRect bounds = canvas.Bounds();
  canvas.FillRect(bounds, canvas.SystemColourOf(SystemColour::Window));
  const CanvasRect plot =
      PlotArea(bounds, canvas.Dpi(), canvas.TextHeight(), canvas.TextWidth("100"));
  if (view_ == View::Channels) {
    PaintChannels(canvas, plot);
  } else {
    PaintTime(canvas, plot);
  }
}

std::string ChannelMapGraph::Description() const {
  std::string text;
  for (const GraphNetwork& n : networks_) {
    if (!text.empty()) text += "; ";
    text += n.label + ": " + words_.channel + " " + std::to_string(n.channel) + ", " +
            std::to_string(n.percent) + " %";
  }
  return text;
}

}  // namespace linkscope
