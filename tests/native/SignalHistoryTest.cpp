// The signal history: its ring of samples, its picture on a recording canvas, and its window on
// the whole program with the simulated card, on virtual time.

#include <gtest/gtest.h>

#include "fakes/FakeCanvas.h"
#include "native/DialogOnSimMachine.h"
#include "ui/CStatusPage.h"
#include "ui/SignalHistoryGraph.h"

namespace linkscope::testing {
namespace {

HistorySample At(std::uint32_t time, std::optional<int> signal, std::optional<int> quality = 50) {
  HistorySample s;
  s.time = time;
  s.signalPercent = signal;
  s.qualityPercent = signal.has_value() ? quality : std::nullopt;
  return s;
}

// How many points each piece of the signal line has (a dot counts 1).
std::vector<std::size_t> SignalRuns(const SignalHistory& history, std::vector<int>* xs) {
  const SignalHistoryTexts texts{"S", "Q", "%", "min", "-"};
  FakeCanvas canvas(1024, 768);
  SignalHistoryGraph(history, texts).Paint(canvas);
  const Colour signal = SignalHistoryGraph::PaletteOf(canvas).signal;
  std::vector<std::size_t> runs;
  for (const FakeCanvas::Operation& op : canvas.operations) {
    if (op.colour != signal || op.rect.top == 8 + 4) continue;  // the legend's swatch
    runs.push_back(op.kind == FakeCanvas::Kind::Polyline ? op.points.size() : 1);
    for (const CanvasPoint& p : op.points) xs->push_back(p.x);
  }
  return runs;
}

TEST(SignalHistoryRing, KeepsTenMinutesAndBreaksItsLinesAtGapsAndPauses) {
  struct Step {
    std::uint32_t after;  // ms after the previous sample
    int count;
    std::optional<int> signal;
  };
  const struct {
    const char* name;
    std::uint32_t start;
    std::vector<Step> steps;
    std::size_t kept;
    std::vector<std::size_t> runs;
  } kCases[] = {
      {"steady", 5000, {{1000, 5, 70}}, 5, {5}},
      {"no link between", 5000, {{1000, 3, 70}, {1000, 2, std::nullopt}, {1000, 3, 40}}, 8, {3, 3}},
      {"window closed for two minutes", 5000, {{1000, 3, 70}, {120000, 1, 60}, {1000, 2, 60}}, 6,
       {3, 3}},
      {"a lone sample is a dot", 5000, {{1000, 1, std::nullopt}, {1000, 1, 20}, {1000, 1, std::nullopt}},
       3, {1}},
      {"ten minutes and no more", 5000, {{1000, 700, 55}}, 601, {601}},
      {"the clock wraps", 0xFFFFF000u, {{1000, 10, 55}}, 10, {10}},
      {"older than ten minutes is gone", 5000, {{1000, 3, 70}, {600001, 1, 20}}, 1, {1}},
  };
  for (const auto& c : kCases) {
    SignalHistory history(1000);
    std::uint32_t time = c.start;
    for (const Step& step : c.steps) {
      for (int i = 0; i < step.count; ++i) history.Add(At(time += step.after, step.signal));
    }
    std::vector<int> xs;
    EXPECT_EQ(c.kept, history.Samples().size()) << c.name;
    EXPECT_EQ(c.runs, SignalRuns(history, &xs)) << c.name;
    EXPECT_TRUE(std::is_sorted(xs.begin(), xs.end())) << c.name;
  }
}

TEST(SignalHistoryRing, SavesTheRowsAsTheCommandLineWatchDoes) {
  LinkSnapshot link;
  link.time = 1000;
  DeviceConfig config;
  config.state = 5;
  config.channel = 6;
  config.bssid = {0x00, 0x40, 0x96, 0xA1, 0x00, 0x01};
  link.config = config;
  link.statusText = "Associated, \"Harbour\"";
  link.signalPercent = 80;
  link.qualityPercent = 63;
  StatisticsRecord statistics;
  statistics.counters[StatisticsRecord::kTxDataOk] = 0xFFFFFFFF;
  statistics.counters[StatisticsRecord::kRxDataOk] = 12;
  SignalHistory history(1000);
  history.Add(HistorySampleOf(link, &statistics, "2026-12-08 15:43:36"));
  history.Add(HistorySampleOf(link, nullptr, "2026-12-08 15:43:37"));
  LinkSnapshot gap;
  gap.time = 3000;
  history.Add(HistorySampleOf(gap, nullptr, "2026-12-08 15:43:38"));
  EXPECT_EQ(std::string(kLinkCsvHeader) +
                "2026-12-08 15:43:36,5,\"Associated, \"\"Harbour\"\"\",00-40-96-A1-00-01,6,80,63,-1,12\r\n"
                "2026-12-08 15:43:37,5,\"Associated, \"\"Harbour\"\"\",00-40-96-A1-00-01,6,80,63,,\r\n"
                "2026-12-08 15:43:38,,,,,,,,\r\n",
            history.Csv());
}

TEST(SignalHistoryGraphPicture, ScalesForTheDpiAndUsesOnlyTheSchemeInHighContrast) {
  const struct {
    int dpi;
    bool highContrast;
    CanvasRect plot;
    int lineWidth;
  } kCases[] = {
      {96, false, {35, 29, 1006, 731}, 2},
      {144, false, {53, 44, 996, 712}, 3},
      {96, true, {35, 29, 1006, 731}, 2},
  };
  SignalHistory history(1000);
  for (int i = 0; i < 5; ++i) history.Add(At(1000 * i, 70, 40));
  const SignalHistoryTexts texts{"Signal", "Quality", "%", "Minutes ago", "no link"};
  for (const auto& c : kCases) {
    FakeCanvas canvas(1024, 768, c.dpi, c.highContrast);
    SignalHistoryGraph(history, texts).Paint(canvas);
    EXPECT_EQ(c.plot, SignalHistoryGraph::PlotArea(canvas)) << c.dpi;
    const SignalHistoryGraph::Palette palette = SignalHistoryGraph::PaletteOf(canvas);
    EXPECT_NE(palette.signal, palette.quality);
    int lines = 0;
    for (const FakeCanvas::Operation& op : canvas.operations) {
      EXPECT_EQ(c.highContrast, FakeCanvas::IsSystemColour(op.colour)) << c.dpi;
      if (op.kind != FakeCanvas::Kind::Polyline || op.points.size() != 5) continue;
      ++lines;
      EXPECT_EQ(c.lineWidth, op.width);
      // The newest sample stands at the right edge, at its percentage of the height.
      const int percent = op.colour == palette.signal ? 70 : 40;
      EXPECT_EQ((CanvasPoint{c.plot.right, c.plot.bottom - percent * c.plot.Height() / 100}),
                op.points.back());
    }
    EXPECT_EQ(2, lines);
    const std::vector<std::string> drawn = canvas.Texts();
    for (const char* text : {"Signal: 70 %", "Quality: 40 %", "%", "Minutes ago", "100", "0", "10"}) {
      EXPECT_NE(drawn.end(), std::find(drawn.begin(), drawn.end(), text)) << text;
    }
  }
}

class SignalHistoryWindow : public ::testing::Test {
 protected:
  SignalHistoryWindow() : world(OsKind::Win2000, CardNearTwoNetworks()) {}
  CSignalHistoryWindow& Window() { return world.app.MainFrame()->SignalHistoryWindow(); }
  void Open() { world.app.MainFrame()->OnCommand(CMainFrame::kCmdSignalHistory); }
  DialogOnSimMachine world;
};

TEST_F(SignalHistoryWindow, SamplesOnlyWhileOpenAndKeepsTheSamplesWhileClosed) {
  world.Start();
  // Once the card has joined, the tick reads the link for the tooltip as well.
  for (int i = 0; i < 6; ++i) world.After(1000);
  world.oids.clear();
  world.After(1000);
  const std::size_t closedTick = world.oids.size();
  Open();
  ASSERT_TRUE(Window().IsOpen());
  const WindowHandle window = Window().Window();
  EXPECT_EQ(world.frame, world.windows.GraphOf(window)->owner);
  EXPECT_EQ("Signal history", world.windows.TitleOf(window));
  for (int i = 0; i < 5; ++i) world.After(1000);
  EXPECT_EQ(5u, Window().History().Samples().size());
  EXPECT_EQ(5, world.windows.GraphOf(window)->invalidations);
  ASSERT_TRUE(Window().History().Samples().back().signalPercent.has_value());
  EXPECT_FALSE(Window().History().Samples().back().row.txDataFrames.empty());

  // A second open brings it to the front; the close box closes it.
  Open();
  EXPECT_EQ(window, world.windows.broughtToFront.back());
  world.windows.CloseGraph(window);
  EXPECT_FALSE(world.windows.Exists(window));
  world.oids.clear();
  world.After(1000);
  EXPECT_EQ(closedTick, world.oids.size());
  Open();
  world.After(1000);
  EXPECT_EQ(6u, Window().History().Samples().size());

  // A pulled card is a gap, and the window stays.
  world.machine.env.adapters[0].present = false;
  world.machine.host->SetEnvironment(world.machine.env);
  for (int i = 0; i < 3; ++i) world.After(1000);
  EXPECT_TRUE(Window().IsOpen());
  EXPECT_FALSE(Window().History().Samples().back().signalPercent.has_value());
}

TEST_F(SignalHistoryWindow, SavesAndTellsAFailureAndGoesWithExitUnderTheSaveBox) {
  world.Start();
  Open();
  world.After(1000);
  const WindowHandle window = Window().Window();
  world.windows.saveFileChoice = [](std::string* path) {
    *path = "C:\\history.csv";
    return true;
  };
  world.windows.ChooseGraphCommand(window, CSignalHistoryWindow::kCmdSaveCsv);
  EXPECT_EQ(Window().History().Csv(), world.machine.system.files["C:\\history.csv"]);
  EXPECT_EQ("csv", world.windows.saveBoxes.back().extension);

  world.machine.system.failWrites = true;
  world.windows.ChooseGraphCommand(window, CSignalHistoryWindow::kCmdSaveCsv);
  EXPECT_EQ("Could not write the file\nC:\\history.csv", world.windows.messages.back().text);

  // The box runs messages: a tick that sees the card go takes nothing from the window, but
  // Exit under the box closes it, and nothing is written into it after.
  world.machine.system.failWrites = false;
  world.machine.system.files.clear();
  world.windows.saveFileChoice = [&](std::string* path) {
    world.app.MainFrame()->CloseWithoutAsking();
    *path = "C:\\late.csv";
    return true;
  };
  world.windows.ChooseGraphCommand(window, CSignalHistoryWindow::kCmdSaveCsv);
  EXPECT_FALSE(Window().IsOpen());
  EXPECT_FALSE(world.windows.Exists(window));
  EXPECT_TRUE(world.machine.system.files.empty());
}

TEST_F(SignalHistoryWindow, OpensFromTheStatusPageAndALanguageChangeRelabelsIt) {
  world.profile.SetFile(".\\res\\Wlan.ini",
                        "[Languages]\r\nLanguage-1=English\r\nLanguage-2=Deutsch\r\n"
                        "[Deutsch]\r\nSignalHistoryTitle=Signalverlauf\r\n"
                        "SignalHistorySaveCsv=Als CSV speichern...\r\n");
  world.Start();
  // Opened from the Status page's button this time.
  world.InDialog([&](WindowHandle) { world.dialogs.Click(world.PageWindow(), CStatusPage::kIdHistory); });
  const WindowHandle window = Window().Window();
  ASSERT_NE(0u, window);
  world.app.MainFrame()->OnCommand(CMainFrame::kCmdLanguage + 1);
  EXPECT_EQ("Signalverlauf", world.windows.TitleOf(window));
  EXPECT_EQ("Als CSV speichern...", world.windows.GraphOf(window)->menuBar.at(0).text);
}

}  // namespace
}  // namespace linkscope::testing
