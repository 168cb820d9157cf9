#pragma once
// The Site Survey page's graphs of the networks found: over the channels (each network a curve
// over the five channels its 22 MHz band touches, peaking at its signal) or over time (each
// network's signal in the surveys of the last minutes). Portable: it draws on any canvas.

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "device/ChannelScore.h"
#include "platform/Canvas.h"

namespace linkscope {

struct GraphNetwork {
  std::array<std::uint8_t, 6> bssid{};
  std::string label;  // the SSID, or the BSSID for a network without a name
  std::uint8_t channel = 0;
  int percent = 0;  // as the list shows it; drawn at 100 at most
  bool inUse = false;
};

// Each network's signal in the surveys of the last minutes, one sample per survey.
class SurveyHistory {
 public:
  struct Sample {
    std::uint32_t time = 0;  // the system's tick count, in ms
    int percent = 0;
  };
  struct Track {
    std::array<std::uint8_t, 6> bssid{};
    std::string label;
    bool inUse = false;
    std::vector<Sample> samples;  // oldest first
  };
  // Samples older than this before the newest survey are dropped, with a network none is
  // left of; the tracks are bounded so, whatever the environment does.
  static constexpr std::uint32_t kSpanMs = 5 * 60 * 1000;
  static constexpr std::size_t kMaxTracks = 64;

  void Add(std::uint32_t time, const std::vector<GraphNetwork>& survey);
  void Clear() { tracks_.clear(); }
  const std::vector<Track>& Tracks() const { return tracks_; }
  std::uint32_t Newest() const { return newest_; }

 private:
  std::vector<Track> tracks_;
  std::uint32_t newest_ = 0;
};

class ChannelMapGraph : public ICanvasPainter {
 public:
  enum class View { Channels, Time };
  // The words the graph writes, in the current language.
  struct Words {
    std::string channel = "Channel";
    std::string minutes = "min";
  };

  void SetView(View view) { view_ = view; }
  View CurrentView() const { return view_; }
  void SetWords(const Words& words) { words_ = words; }
  void SetNetworks(const std::vector<GraphNetwork>& networks,
                   const std::array<bool, kChannelCount>& allowed) {
    networks_ = networks;
    allowed_ = allowed;
  }
  void SetHistory(const SurveyHistory* history) { history_ = history; }
  const std::vector<GraphNetwork>& Networks() const { return networks_; }

  void Paint(ICanvas& canvas) override;

  // What the channel view shows, for a screen reader: "Harbour: Channel 1, 82 %; ...".
  std::string Description() const;

  // The geometry, in pixels of a canvas of `bounds` at `dpi` with text `textHeight` high and
  // the percent labels `labelWidth` wide. The plot's x axis runs from channel -1 to 16, so a
  // curve on channel 1 or 14 is drawn whole.
  static CanvasRect PlotArea(const CanvasRect& bounds, int dpi, int textHeight, int labelWidth);
  // The x of a position given in quarter channels (channel 6 is 24).
  static int QuarterChannelX(const CanvasRect& plot, int quarters);
  static int PercentY(const CanvasRect& plot, int percent);
  // A network's curve: nine points from channel - 2 to channel + 2, a parabola through the
  // plot's bottom at both ends and `percent` over its own channel.
  static std::vector<CanvasPoint> Curve(const CanvasRect& plot, std::uint8_t channel,
                                        int percent);
  static int LineWidth(bool inUse, int dpi) { return ScaleForDpi(inUse ? 3 : 1, dpi); }

 private:
  void PaintAxes(ICanvas& canvas, const CanvasRect& plot, bool channels) const;
  void PaintChannels(ICanvas& canvas, const CanvasRect& plot) const;
  void PaintTime(ICanvas& canvas, const CanvasRect& plot) const;
  Colour CurveColour(const ICanvas& canvas, std::size_t index, bool inUse) const;
  // The minutes the time view spans: those the history covers, 1 to 5.
  int TimeSpanMinutes() const;

  View view_ = View::Channels;
  Words words_;
  std::vector<GraphNetwork> networks_;
  std::array<bool, kChannelCount> allowed_{};
  const SurveyHistory* history_ = nullptr;
};

}  // namespace linkscope
