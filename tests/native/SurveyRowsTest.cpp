// The cells of a Site Survey row: the signal on each card type's scale, and the texts of the
// SSID, encryption and BSS type as the bytes from the air give them.

#include <gtest/gtest.h>

#include <algorithm>
#include <map>

#include "device/ChannelScore.h"
#include "fakes/FakeCanvas.h"
#include "ui/ChannelMapGraph.h"
#include "ui/SurveyRows.h"

namespace linkscope::testing {
namespace {

class MapTexts : public ITextSource {
 public:
  std::string Lookup(const std::string& key, const std::string& defaultText) const override {
    auto it = values.find(key);
    return it == values.end() ? defaultText : it->second;
  }
  std::map<std::string, std::string> values;
};

BssEntry Entry(std::int8_t rssi) {
  BssEntry e;
  e.rssi = rssi;
  e.channel = 6;
  e.bssType = BssType::kInfrastructure;
  return e;
}

TEST(SurveyRows, SignalCellFollowsTheCardTypeScale) {
  struct Case {
    std::uint8_t cardType;
    const char* maxRssi;      // nullptr: absent from the file
    const char* maxRssiRfmd;  // nullptr: absent
    std::int8_t rssi;
    const char* cell;
  };
  const Case cases[] = {
      // Step scale in dBm.
      {13, nullptr, nullptr, -75, "40 %"},
      {13, nullptr, nullptr, -50, "100 %"},
      {13, nullptr, nullptr, -81, "20 %"},
      {13, nullptr, nullptr, -80, "40 %"},
      {3, nullptr, nullptr, -61, "60 %"},
      {22, nullptr, nullptr, -51, "80 %"},
      {3, nullptr, nullptr, 0, "100 %"},  // 0 is a signal like any other here
      // "MaxRssi", default 40.
      {1, nullptr, nullptr, 30, "75 %"},
      {1, nullptr, nullptr, 50, "125 %"},  // not limited to 100
      {1, nullptr, nullptr, 0, "N/A"},
      {1, nullptr, nullptr, -20, "-50 %"},
      {1, "200", nullptr, 30, "-53 %"},  // low 8 bits as a signed byte: -56
      {1, "300 units", nullptr, 22, "50 %"},  // 300 & 0xFF = 44
      // A maximum of 0 leaves nothing to divide by.
      {1, "0", nullptr, 30, "N/A"},
      {1, "256", nullptr, 30, "N/A"},
      {1, "none", nullptr, 30, "N/A"},
      // "MaxRssiRFMD", default 100.
      {12, nullptr, nullptr, 45, "45 %"},
      {21, "10", nullptr, 45, "45 %"},  // "MaxRssi" does not apply
      {16, nullptr, "50", 45, "90 %"},
      {14, nullptr, "0", 45, "N/A"},
  };
  for (const Case& c : cases) {
    MapTexts texts;
    if (c.maxRssi != nullptr) texts.values["MaxRssi"] = c.maxRssi;
    if (c.maxRssiRfmd != nullptr) texts.values["MaxRssiRFMD"] = c.maxRssiRfmd;
    const SurveySignalScale scale = SurveySignalScaleOf(c.cardType, texts);
    EXPECT_EQ(c.cell, SurveyRowCells(Entry(c.rssi), scale, texts)[2])
        << "card type " << int(c.cardType) << ", RSSI " << int(c.rssi);
  }
}

TEST(SurveyRows, TextCellsShowTheEntryAsTheAirGaveIt) {
  struct Case {
    std::string ssid;          // the SSID field's bytes
    std::uint8_t ssidLength;
    std::uint8_t wep;
    std::uint8_t bssType;
    std::string ssidCell;
    const char* wepCell;
    const char* typeCell;
  };
  const std::string ff32(32, '\xFF');
  const Case cases[] = {
      {"Harbour", 7, 0, 2, "Harbour", "No", "Infrastructure"},
      {"Picnic", 6, 1, 1, "Picnic", "Yes", "Ad-Hoc"},
      {"Odd", 3, 0x80, 3, "Odd", "Yes", ""},
      {"Nothing", 0, 0, 0, "", "No", ""},
      {std::string("Caf\0e", 5), 5, 0, 2, "Caf", "No", "Infrastructure"},  // a zero byte ends it
      {"%s%n%d", 6, 0, 2, "%s%n%d", "No", "Infrastructure"},               // never a format
      {ff32, 32, 0, 255, ff32, "No", ""},
      {ff32, 200, 0, 2, ff32, "No", "Infrastructure"},  // a length past 32 reads 32 bytes
      {"Short", 3, 0, 2, "Sho", "No", "Infrastructure"},
  };
  MapTexts texts;
  const SurveySignalScale scale = SurveySignalScaleOf(12, texts);
  for (const Case& c : cases) {
    BssEntry e = Entry(50);
    std::copy(c.ssid.begin(), c.ssid.end(), e.ssid.begin());
    e.ssidLength = c.ssidLength;
    e.wep = c.wep;
    e.bssType = c.bssType;
    e.channel = 14;
    e.bssid = {0x00, 0x40, 0x96, 0xA1, 0x0B, 0xFE};
    const auto cells = SurveyRowCells(e, scale, texts);
    EXPECT_EQ("00-40-96-A1-0B-FE", cells[0]);
    EXPECT_EQ(c.ssidCell, cells[1]);
    EXPECT_EQ("14", cells[3]);
    EXPECT_EQ(c.wepCell, cells[4]);
    EXPECT_EQ(c.typeCell, cells[5]);
  }
  // The language file names them.
  texts.values = {{"BssUsingWEP", "Ja"}, {"AdHoc", "Direkt"}, {"RssiInfoNotAvailable", "k.A."}};
  BssEntry e = Entry(0);
  e.wep = 1;
  e.bssType = BssType::kAdHoc;
  const auto cells = SurveyRowCells(e, SurveySignalScaleOf(1, texts), texts);
  EXPECT_EQ("k.A.", cells[2]);
  EXPECT_EQ("Ja", cells[4]);
  EXPECT_EQ("Direkt", cells[5]);
}

// Widths of the sort Wine gives the scan of the simulated environment, in a list 351 pixels
// wide: first the headers give way, then the cells, never the BSSID.
TEST(SurveyRows, AllSixColumnsFitTheListAndTheBssidStaysWhole) {
  struct Case {
    int available;
    SurveyColumnWidthList expected;
  };
  const SurveyColumnWidthList whole = {110, 63, 43, 53, 64, 79};
  const SurveyColumnWidthList cells = {110, 63, 36, 26, 34, 79};
  const Case cases[] = {
      {412, whole},                          // room for everything
      {351, {110, 63, 36, 27, 35, 79}},      // the headers give way
      {250, {110, 28, 28, 26, 28, 28}},      // the cells too, the widest first
      {100, {110, 20, 20, 20, 20, 20}},      // never narrower than that
  };
  for (const Case& c : cases) {
    EXPECT_EQ(c.expected, SurveyColumnWidths(whole, cells, c.available)) << c.available;
  }
}

std::vector<std::uint8_t> Channels(int first, int last) {
  std::vector<std::uint8_t> v;
  for (int ch = first; ch <= last; ++ch) v.push_back(static_cast<std::uint8_t>(ch));
  return v;
}

TEST(ChannelScore, BandsOverlapByTheMegahertzTheyShare) {
  const int cases[][3] = {{1, 1, 22}, {1, 2, 17}, {1, 3, 12}, {1, 5, 2}, {1, 6, 0},
                          {13, 14, 10}, {12, 14, 5}, {11, 14, 0}, {0, 1, 0}, {15, 14, 0}};
  for (const auto& c : cases) {
    EXPECT_EQ(c[2], ChannelOverlapMhz(static_cast<std::uint8_t>(c[0]),
                                      static_cast<std::uint8_t>(c[1])))
        << c[0] << "/" << c[1];
  }
}

TEST(ChannelScore, TheLeastCrowdedChannelIsTheAllowedOneLeastOverlapped) {
  struct Case {
    const char* name;
    std::vector<ChannelNetwork> networks;
    std::vector<std::uint8_t> allowed;
    std::uint8_t best;
    std::vector<std::pair<std::uint8_t, int>> scores;  // channel, percent points
  };
  const Case cases[] = {
      // Channel 10 shares 2 MHz with 6 and 17 with 11: less than any other takes.
      {"networks on 1, 6 and 11", {{1, 80}, {6, 60}, {11, 40}}, Channels(1, 11), 10,
       {{1, 80}, {3, 63}, {6, 60}, {10, 36}, {11, 40}}},
      {"a crowd on 3", {{3, 70}, {3, 60}, {3, 50}, {11, 30}}, Channels(1, 11), 8,
       {{3, 180}, {7, 19}, {8, 10}, {1, 98}}},
      // 14 lies clear of 11 but the domain forbids it.
      {"channels the domain forbids", {{1, 80}, {6, 80}, {11, 80}}, Channels(10, 13), 13,
       {{13, 44}, {12, 62}, {14, 0}}},
      {"no network at all", {}, Channels(1, 11), 1, {{1, 0}, {6, 0}}},
      // res/simulated-environment.json on a card of channels 1 to 11, at the signals it names
      // (the companion's survey --channels under Wine names the same channel).
      {"the shipped environment",
       {{1, 82}, {11, 35}, {6, 64}, {9, 51}, {3, 40}, {4, 47}, {7, 28}, {13, 12}, {5, 55}, {8, 45}},
       Channels(1, 11), 11, {{11, 86}, {10, 110}, {6, 207}}},
      {"no network, no channel of the three", {}, Channels(12, 13), 12, {}},
      {"no channel allowed", {{6, 50}}, {}, 0, {{6, 50}}},
      // Off the band counts nowhere; above 100 counts as 100.
      {"odd entries", {{0, 90}, {15, 90}, {7, 130}, {2, -5}}, Channels(1, 13), 1,
       {{7, 100}, {2, 0}, {3, 9}}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const ChannelScores scores = ScoreChannels(c.networks, c.allowed);
    EXPECT_EQ(c.best, scores.best);
    for (const auto& [channel, score] : c.scores) {
      EXPECT_EQ(score, scores.ScoreOf(channel)) << "channel " << int(channel);
    }
  }
}

// The curve of a network on its channel, read back from what the graph drew: nine points from
// the axis label two channels below to the one two above, its peak over its own label at its
// signal's share of the 0 to 100 scale, its name over the peak; thicker for the network in use.
TEST(ChannelMapGraph, EachCurveSpansItsChannelPlusMinusTwoAtEveryDpi) {
  struct Case {
    int dpi;
    std::uint8_t channel;
    int percent;
    bool inUse;
    int width;
  };
  const Case cases[] = {{96, 3, 82, false, 1},  {96, 12, 40, true, 3}, {120, 6, 100, false, 1},
                        {144, 1, 64, true, 5}, {192, 14, 25, false, 2}, {192, 9, 150, true, 6}};
  for (const Case& c : cases) {
    SCOPED_TRACE(std::to_string(c.dpi) + " dpi, channel " + std::to_string(c.channel));
    GraphNetwork n;
    n.label = "Harbour";
    n.channel = c.channel;
    n.percent = c.percent;
    n.inUse = c.inUse;
    ChannelMapGraph graph;
    std::array<bool, kChannelCount> allowed{};
    for (int i = 0; i < 11; ++i) allowed[i] = true;
    graph.SetNetworks({n}, allowed);
    FakeCanvas canvas(ScaleForDpi(355, c.dpi), ScaleForDpi(170, c.dpi), c.dpi);
    graph.Paint(canvas);

    std::map<std::string, CanvasRect> label;  // the axis labels, last one of each text
    std::map<std::string, Colour> colour;
    for (const auto& op : canvas.OfKind(FakeCanvas::Kind::Text)) {
      label[op.text] = op.rect;
      colour[op.text] = op.colour;
    }
    auto centreX = [&](int ch) {
      const CanvasRect r = label[std::to_string(ch)];
      return (r.left + r.right) / 2;
    };
    auto centreY = [&](const std::string& text) {
      const CanvasRect r = label[text];
      return (r.top + r.bottom) / 2;
    };
    const auto lines = canvas.OfKind(FakeCanvas::Kind::Polyline);
    ASSERT_FALSE(lines.empty());
    const auto& curve = lines.back().points;
    ASSERT_EQ(9u, curve.size());
    EXPECT_EQ(c.width, lines.back().width);
    const int zero = centreY("0");
    const int full = centreY("100");
    EXPECT_NEAR(zero, curve.front().y, 1);
    EXPECT_NEAR(zero, curve.back().y, 1);
    EXPECT_NEAR(centreX(c.channel), curve[4].x, 1);
    EXPECT_NEAR(std::min(c.percent, 100), 100.0 * (zero - curve[4].y) / (zero - full), 1.5);
    const int spacing = centreX(7) - centreX(6);
    EXPECT_NEAR(2 * spacing, curve[4].x - curve.front().x, 2);
    EXPECT_NEAR(2 * spacing, curve.back().x - curve[4].x, 2);
    if (c.channel >= 3) {
      EXPECT_NEAR(centreX(c.channel - 2), curve.front().x, 1);
    }
    // The name stands over the peak; channels 12 to 14 are greyed.
    EXPECT_NEAR(curve[4].x, (label["Harbour"].left + label["Harbour"].right) / 2, 1);
    EXPECT_LE(label["Harbour"].bottom, curve[4].y);
    EXPECT_EQ(canvas.SystemColourOf(SystemColour::GrayText), colour["13"]);
    EXPECT_EQ(canvas.SystemColourOf(SystemColour::WindowText), colour["11"]);
    // Everything lies on the canvas.
    for (const auto& p : curve) {
      EXPECT_TRUE(p.x >= 0 && p.x < canvas.Bounds().right && p.y >= 0 &&
                  p.y < canvas.Bounds().bottom);
    }
  }
}

TEST(ChannelMapGraph, HighContrastDrawsInSystemColoursOnlyAndTheTimeViewFollowsTheHistory) {
  GraphNetwork harbour;
  harbour.bssid = {0, 0x40, 0x96, 0xA1, 0, 1};
  harbour.label = "Harbour";
  harbour.channel = 1;
  harbour.percent = 80;
  GraphNetwork hidden = harbour;
  hidden.bssid[5] = 2;
  hidden.label = "00-40-96-A1-00-02";
  hidden.channel = 11;
  hidden.inUse = true;
  SurveyHistory history;
  for (std::uint32_t t = 0; t <= 400000; t += 10000) {
    harbour.percent = t < 200000 ? 80 : 30;  // the network moves away half-way
    history.Add(t, {harbour, hidden});
  }
  ASSERT_EQ(2u, history.Tracks().size());
  // Five minutes back from the newest survey.
  EXPECT_EQ(31u, history.Tracks()[0].samples.size());
  ChannelMapGraph graph;
  graph.SetNetworks({harbour, hidden}, {});
  graph.SetHistory(&history);
  EXPECT_EQ("Harbour: Channel 1, 30 %; 00-40-96-A1-00-02: Channel 11, 80 %", graph.Description());
  for (auto view : {ChannelMapGraph::View::Channels, ChannelMapGraph::View::Time}) {
    graph.SetView(view);
    FakeCanvas canvas(355, 170, 96, true);
    graph.Paint(canvas);
    for (const auto& op : canvas.operations) EXPECT_TRUE(FakeCanvas::IsSystemColour(op.colour));
    const auto lines = canvas.OfKind(FakeCanvas::Kind::Polyline);
    EXPECT_EQ(canvas.SystemColourOf(SystemColour::Highlight), lines.back().colour);
    if (view == ChannelMapGraph::View::Time) {
      // Harbour's track: from its first sample at the left edge, down to 30 % at the right.
      const auto& track = lines[lines.size() - 2].points;
      ASSERT_EQ(31u, track.size());
      EXPECT_LT(track.front().y, track.back().y);
      EXPECT_LT(track.front().x, track.back().x);
    }
  }
}

}  // namespace
}  // namespace linkscope::testing
