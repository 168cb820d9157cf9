#include "contract/WindowSystemContract.h"

#include <vector>

namespace linkscope {

namespace {

class RecordingHandler : public IMainWindowHandler {
 public:
  bool OnCreate(WindowHandle window) override {
    events.push_back("create");
    created = window;
    return acceptCreate;
  }
  void OnTimer(std::uint32_t) override { events.push_back("timer"); }
  void OnClose() override { events.push_back("close"); }
  void OnDestroy() override { events.push_back("destroy"); }

  bool acceptCreate = true;
  WindowHandle created = 0;
  std::vector<std::string> events;
};

class RecordingGraph : public IGraphWindowHandler, public ICanvasPainter {
 public:
  void OnGraphCommand(std::uint32_t id) override { events.push_back("command " + std::to_string(id)); }
  void OnGraphClose() override { events.push_back("close"); }
  void OnGraphDestroy() override { events.push_back("destroy"); }
  void Paint(ICanvas& canvas) override { canvas.FillRect(canvas.Bounds(), Colour{}); }
  std::vector<std::string> events;
};

}  // namespace

// A graph window is found by its title, takes a new menu bar and repaints while it exists, and
// goes with the window that owns it, telling its handler once.
TEST_P(WindowSystemContract, GraphWindowsLiveAsLongAsTheirOwner) {
  RecordingHandler owner;
  const WindowHandle main = windows_->CreateMainWindow("Contract Window G7", &owner);
  ASSERT_NE(0u, main);
  RecordingGraph graph;
  MenuItem save;
  save.id = 3001;
  save.text = "Save as CSV...";
  const WindowHandle w =
      windows_->CreateGraphWindow(main, "Contract Graph G7", {save}, 320, 200, &graph, &graph);
  ASSERT_NE(0u, w);
  EXPECT_EQ(w, windows_->FindTopLevelWindow("Contract Graph G7"));
  EXPECT_TRUE(windows_->SetMenuBar(w, {save}));
  EXPECT_TRUE(windows_->InvalidateWindow(w));
  windows_->DestroyWindow(main);
  EXPECT_EQ(std::vector<std::string>{"destroy"}, graph.events);
  EXPECT_EQ(0u, windows_->FindTopLevelWindow("Contract Graph G7"));
  EXPECT_FALSE(windows_->SetMenuBar(w, {save}));
  EXPECT_FALSE(windows_->InvalidateWindow(w));
}

TEST_P(WindowSystemContract, CreationReportsTheWindowBeforeReturningIt) {
  RecordingHandler handler;
  const WindowHandle w = windows_->CreateMainWindow("Contract Window A1", &handler);
  ASSERT_NE(0u, w);
  EXPECT_EQ(w, handler.created);
  EXPECT_EQ(std::vector<std::string>{"create"}, handler.events);
  EXPECT_EQ(w, windows_->FindTopLevelWindow("Contract Window A1"));
  windows_->DestroyWindow(w);
  EXPECT_EQ("destroy", handler.events.back());
  EXPECT_EQ(0u, windows_->FindTopLevelWindow("Contract Window A1"));
}

TEST_P(WindowSystemContract, RefusedCreationYieldsNoWindow) {
  RecordingHandler handler;
  handler.acceptCreate = false;
  EXPECT_EQ(0u, windows_->CreateMainWindow("Contract Window Refused", &handler));
  EXPECT_EQ(0u, windows_->FindTopLevelWindow("Contract Window Refused"));
}

TEST_P(WindowSystemContract, TitlesAreFoundExactlyAndFollowChanges) {
  RecordingHandler handler;
  const WindowHandle w = windows_->CreateMainWindow("Contract Window B2", &handler);
  ASSERT_NE(0u, w);
  EXPECT_EQ(0u, windows_->FindTopLevelWindow("contract window b2"));
  EXPECT_EQ(0u, windows_->FindTopLevelWindow("Contract Window B"));
  EXPECT_EQ(0u, windows_->FindTopLevelWindow("Contract Window B2 "));
  ASSERT_TRUE(windows_->SetWindowTitle(w, "TempName Contract"));
  EXPECT_EQ(0u, windows_->FindTopLevelWindow("Contract Window B2"));
  EXPECT_EQ(w, windows_->FindTopLevelWindow("TempName Contract"));
  windows_->DestroyWindow(w);
}

TEST_P(WindowSystemContract, TimersNeedAWindow) {
  RecordingHandler handler;
  const WindowHandle w = windows_->CreateMainWindow("Contract Window C3", &handler);
  ASSERT_NE(0u, w);
  EXPECT_TRUE(windows_->SetTimer(w, 130, 1000));
  windows_->KillTimer(w, 130);
  windows_->DestroyWindow(w);
  EXPECT_FALSE(windows_->SetTimer(w, 130, 1000));
}

TEST_P(WindowSystemContract, TrayIconIsAddedModifiedAndDeletedOnce) {
  RecordingHandler handler;
  const WindowHandle w = windows_->CreateMainWindow("Contract Window D4", &handler);
  ASSERT_NE(0u, w);
  const std::uint32_t callback = windows_->RegisterMessage("LINKSCOPE_CONTRACT_TRAY");
  EXPECT_GE(callback, 0xC000u);
  EXPECT_EQ(callback, windows_->RegisterMessage("LINKSCOPE_CONTRACT_TRAY"));

  TrayIconRecord record;
  record.owner = w;
  record.id = 1;
  record.flags = kTrayFlagMessage | kTrayFlagIcon | kTrayFlagTip;
  record.callbackMessage = callback;
  record.icon = windows_->LoadBuiltInIcon(142);
  record.tip = std::string(70, 't');  // longer than the record holds
  EXPECT_FALSE(windows_->NotifyTrayIcon(TrayAction::Modify, record));
  EXPECT_TRUE(windows_->NotifyTrayIcon(TrayAction::Add, record));
  record.icon = windows_->LoadBuiltInIcon(143);
  record.tip = "Linkscope";
  EXPECT_TRUE(windows_->NotifyTrayIcon(TrayAction::Modify, record));
  EXPECT_TRUE(windows_->NotifyTrayIcon(TrayAction::Delete, record));
  EXPECT_FALSE(windows_->NotifyTrayIcon(TrayAction::Delete, record));
  windows_->DestroyWindow(w);
}

TEST_P(WindowSystemContract, BuiltInIconsLoadAndMissingOnesDoNot) {
  EXPECT_EQ(0u, windows_->LoadIconFile("C:\\no\\such\\icon.ico"));
  EXPECT_EQ(0u, windows_->LoadBuiltInIcon(9999));
  EXPECT_NE(0u, windows_->LoadBuiltInIcon(142));
  EXPECT_NE(0u, windows_->LoadBuiltInIcon(143));
}

}  // namespace linkscope
