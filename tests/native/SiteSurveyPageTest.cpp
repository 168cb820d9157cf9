// The Site Survey page on the whole program over the simulated adapter, on virtual time: the
// survey loop, the join and its driver parameters, and every way the page or the dialog can go
// while a survey runs.

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <memory>

#include "app/CLinkscopeApp.h"
#include "device/Oids.h"
#include "device/SurveyRecords.h"
#include "fakes/FakeDialogSystem.h"
#include "fakes/FakePrivateProfile.h"
#include "fakes/FakeWindowSystem.h"
#include "fakes/ForwardingRequestLibrary.h"
#include "native/ScriptedApp.h"
#include "native/SimMachine.h"
#include "ui/CSiteSurveyPage.h"
#include "ui/DialogLayouts.h"

namespace linkscope::testing {
namespace {

sim::SimNetwork Network(const std::string& ssid, std::uint8_t channel, std::uint8_t bssType,
                        std::uint8_t last) {
  sim::SimNetwork n;
  n.ssid = ssid;
  n.channel = channel;
  n.signal = 70;
  n.bssType = bssType;
  n.bssid = {0x00, 0x40, 0x96, 0xA1, 0x00, last};
  return n;
}

sim::SimEnvironment Neighbourhood() {
  sim::SimEnvironment env;
  // Not a PC card, so that Windows 9x finds it without the card service.
  sim::SimAdapterSetup card = Adapter("ORVEX PCI Skyrelay", "SKYPCI", 21, "PCI\\VEN_1915&DEV_2100");
  card.parameters["ESSID"] = "Nowhere";
  env.adapters.push_back(card);
  env.networks = {Network("Harbour", 1, 2, 1), Network("Picnic", 3, 1, 2),
                  Network(std::string("Odd\0Cell", 8), 7, 3, 3)};
  return env;
}

// The program on one simulated machine.
struct World {
  explicit World(OsKind kind) : machine(kind, Neighbourhood()), counting(*machine.library) {
    counting.onRequest = [this](const RequestBlock& r) {
      requests.push_back({r.oid, machine.system.now});
    };
  }
  struct Request {
    std::uint32_t oid;
    std::uint32_t at;
  };
  SimMachine machine;
  ForwardingRequestLibrary counting;
  std::vector<Request> requests;
  FakePrivateProfile profile;
  FakeWindowSystem windows;
  FakeDialogSystem dialogs;
  Platform platform{machine.registry, profile, machine.system, windows, counting, machine.probe,
                    dialogs};
  CLinkscopeApp app{platform};
};

class SiteSurveyPage : public ::testing::Test {
 public:
  void Boot(OsKind kind = OsKind::Win2000) {
    world = std::make_unique<World>(kind);
    ASSERT_TRUE(world->app.InitInstance());
    frame = world->app.MainFrame()->Window();
    Tick();
    Tick();
    ASSERT_EQ(1u, world->app.Link().AdapterCount());
  }
  void Tick() {
    lastTick = world->machine.system.now;
    world->windows.FireTimer(frame, CMainFrame::kPollTimerId);
  }
  // Opens the dialog from the tray, picks the Site Survey tab and runs `inside` there.
  void OnSurveyPage(const std::function<void(WindowHandle dialog, WindowHandle page)>& inside) {
    FakeDialogSystem& dialogs = world->dialogs;
    dialogs.modalLoop = [&](WindowHandle dialog, const DialogLayout&) {
      dialogs.ChooseTab(dialog, kIdTabControl, 2);
      ASSERT_EQ(kSiteSurveyPageId, dialogs.ResourceOf(dialogs.Pages().back()));
      inside(dialog, dialogs.Pages().back());
    };
    world->windows.SendRegistered(frame, world->app.MainFrame()->TrayCallbackMessage(), 1,
                                  kMouseLeftDoubleClick);
    dialogs.modalLoop = nullptr;
  }
  // What the dialog's loop does between two polls: the main frame's timer ticks, once a second.
  // `once` runs the first time the survey has run for `atMs`.
  void DuringSurvey(std::uint32_t atMs, std::function<bool()> once) {
    const std::uint32_t start = world->machine.system.now;
    auto done = std::make_shared<bool>(false);
    world->dialogs.pending = [this, start, atMs, once, done]() {
      const std::uint32_t now = world->machine.system.now;
      if (!*done && now - start >= atMs) {
        *done = true;
        quitting = !once();
      }
      if (!quitting && now - lastTick >= 1000) Tick();
      return !quitting;
    };
  }
  CSiteSurveyPage& Page() {
    return static_cast<CSiteSurveyPage&>(*world->app.SettingsDialog().CurrentPage());
  }
  std::vector<std::string> Column(WindowHandle page, int column) {
    std::vector<std::string> cells;
    FakeDialogItems* items = world->dialogs.Items(page);
    for (int r = 0; r < items->ListViewRowCount(CSiteSurveyPage::kIdList); ++r) {
      cells.push_back(items->ListViewCell(CSiteSurveyPage::kIdList, r, column));
    }
    return cells;
  }
  std::size_t Count(std::uint32_t oid, std::uint32_t since = 0) {
    return std::count_if(world->requests.begin() + since, world->requests.end(),
                         [oid](const World::Request& r) { return r.oid == oid; });
  }
  std::string DriverText(const std::string& name, const std::string& below = "") {
    std::uint32_t type = 0;
    std::vector<std::uint8_t> data;
    if (!world->machine.registry.ReadValue(kRegLocalMachine,
                                           world->app.Link().driverKeyPath + below, name, &type,
                                           &data)) {
      return "<missing>";
    }
    if (type == kRegDword && data.size() == 4) return "dword " + std::to_string(data[0]);
    return std::string(data.begin(), data.end());
  }

  std::unique_ptr<World> world;
  WindowHandle frame = 0;
  std::uint32_t lastTick = 0;
  bool quitting = false;
};

TEST_F(SiteSurveyPage, RescanFollowsTheSurveyUntilTheAdapterReportsItComplete) {
  Boot();
  bool ran = false;
  OnSurveyPage([&](WindowHandle dialog, WindowHandle page) {
    ran = true;
    FakeDialogItems& items = *world->dialogs.Items(page);
    ASSERT_EQ(6, items.ListViewColumnCount(CSiteSurveyPage::kIdList));
    EXPECT_EQ("Encryption", items.ListViewColumnText(CSiteSurveyPage::kIdList, 4));
    EXPECT_EQ("&Re-Scan", items.Text(CSiteSurveyPage::kIdRescan));
    // The page shows what the adapter holds and starts nothing.
    EXPECT_EQ(0, items.ListViewRowCount(CSiteSurveyPage::kIdList));
    EXPECT_EQ(0u, Count(OID_PRIV_SURVEY_START));

    DuringSurvey(1500, [&]() {
      // While it runs the page keeps the dialog: the tab stays, profiles do not switch, and a
      // double-click only beeps.
      EXPECT_TRUE(world->app.SettingsDialog().SurveyRunning());
      EXPECT_FALSE(items.IsEnabled(CSiteSurveyPage::kIdRescan));
      // The focus left the disabled Re-Scan for the list, where Escape reaches the page.
      EXPECT_EQ(CSiteSurveyPage::kIdList, items.FocusedControl());
      world->dialogs.ChooseTab(dialog, kIdTabControl, 0);
      EXPECT_EQ(2, world->dialogs.Items(dialog)->TabSelection(kIdTabControl));
      for (DialogKey key : {DialogKey::NextTab, DialogKey::PreviousTab}) {
        EXPECT_TRUE(world->dialogs.PressKey(dialog, key));
        EXPECT_EQ(2, world->dialogs.Items(dialog)->TabSelection(kIdTabControl));
        EXPECT_EQ(CSiteSurveyPage::kIdList, items.FocusedControl());
      }
      EXPECT_TRUE(world->dialogs.Exists(page));
      EXPECT_FALSE(world->app.SettingsDialog().SwitchProfile(0));
      EXPECT_EQ("Cannot switch profile while Re-Scan", world->windows.messages.back().text);
      world->dialogs.Notify(page, {CSiteSurveyPage::kIdList, kNmDblClk, 0});
      EXPECT_EQ(std::vector<std::uint32_t>{kBeepExclamation}, world->machine.system.beeps);
      return true;
    });
    const std::size_t since = world->requests.size();
    world->dialogs.Click(page, CSiteSurveyPage::kIdRescan);

    // Back from the loop: the survey is over and the list holds every network in reach.
    EXPECT_FALSE(Page().SurveyRunning());
    EXPECT_TRUE(items.IsEnabled(CSiteSurveyPage::kIdRescan));
    EXPECT_EQ((std::vector<std::string>{"Harbour", "Picnic", "Odd"}), Column(page, 1));
    EXPECT_EQ((std::vector<std::string>{"1", "3", "7"}), Column(page, 3));
    EXPECT_EQ((std::vector<std::string>{"Infrastructure", "Ad-Hoc", ""}), Column(page, 5));
    EXPECT_EQ(3u, Page().SurveyResult().entries.size());
    // All six columns fit the list, and the BSSID column shows its text whole.
    int columns = 0;
    for (int i = 0; i < 6; ++i) columns += items.ListViewColumnWidth(CSiteSurveyPage::kIdList, i);
    EXPECT_LE(columns, items.ListViewClientWidth(CSiteSurveyPage::kIdList));
    EXPECT_EQ(items.ListViewNeededWidth(CSiteSurveyPage::kIdList, 0, false),
              items.ListViewColumnWidth(CSiteSurveyPage::kIdList, 0));
    // One list read after the start and one after each wait, each followed by a state query,
    // the last of which reported the survey complete.
    EXPECT_EQ(1u, Count(OID_PRIV_SURVEY_START, since));
    const std::size_t fills = Count(OID_PRIV_SURVEY_LIST, since);
    EXPECT_EQ(fills + 1, Count(OID_PRIV_SURVEY_STATE, since));
    EXPECT_EQ(sim::SimTiming::kSurvey / CSiteSurveyPage::kPollIntervalMs + 1, fills);

    // The channel view draws the same networks on their channels; 11 is the one channel of
    // the domain that only Odd's band (on 7) reaches, and barely.
    EXPECT_EQ("Least crowded channel: 11", items.Text(CSiteSurveyPage::kIdLeastCrowded));
    world->dialogs.Click(page, CSiteSurveyPage::kIdViewChannels);
    EXPECT_FALSE(items.IsVisible(CSiteSurveyPage::kIdList));
    ASSERT_TRUE(items.IsVisible(CSiteSurveyPage::kIdGraph));
    const auto* graph = items.Find(CSiteSurveyPage::kIdGraph);
    ASSERT_NE(nullptr, graph->picture);
    const std::vector<std::string> texts = graph->picture->Texts();
    for (const char* name : {"Harbour", "Picnic", "Odd"}) {
      EXPECT_NE(texts.end(), std::find(texts.begin(), texts.end(), name)) << name;
    }
    EXPECT_EQ(3u, graph->picture->OfKind(FakeCanvas::Kind::Polyline).size() - 4);
    EXPECT_EQ(items.Text(CSiteSurveyPage::kIdGraph).substr(0, 20), "Harbour: Channel 1, ");
    world->dialogs.Click(page, CSiteSurveyPage::kIdViewList);
    EXPECT_TRUE(items.IsVisible(CSiteSurveyPage::kIdList));

    // The tab control is free again.
    world->dialogs.ChooseTab(dialog, kIdTabControl, 1);
    EXPECT_EQ(kStatisticsPageId, world->dialogs.ResourceOf(world->dialogs.Pages().back()));
    world->dialogs.PressEscape(dialog);
  });
  EXPECT_TRUE(ran);
  EXPECT_EQ(0, world->dialogs.modalsLeftOpen);
}

TEST_F(SiteSurveyPage, RescanOnASurveyAlreadyRunningClearsTheListAndPollsNothing) {
  Boot();
  OnSurveyPage([&](WindowHandle dialog, WindowHandle page) {
    world->dialogs.Click(page, CSiteSurveyPage::kIdRescan);  // a first, complete survey
    ASSERT_EQ(3u, Column(page, 0).size());
    // Someone else's survey runs on the adapter.
    CAdapterLink& link = world->app.Link();
    std::uint32_t written = 0;
    ASSERT_TRUE(link.Query(link.CurrentAdapter(), OID_PRIV_SURVEY_START, nullptr, 0, &written));
    const std::size_t since = world->requests.size();
    const int dispatches = world->dialogs.dispatches;
    world->dialogs.Click(page, CSiteSurveyPage::kIdRescan);
    EXPECT_EQ(0u, Column(page, 0).size());
    EXPECT_TRUE(Page().SurveyResult().entries.empty()) << "rows and list go together";
    EXPECT_EQ(0u, Count(OID_PRIV_SURVEY_START, since));
    EXPECT_EQ(dispatches, world->dialogs.dispatches);
    EXPECT_TRUE(Page().SurveyRunning());
    // Escape ends it: the cancel command, Re-Scan back, the tab control free.
    world->dialogs.PressEscape(page);
    EXPECT_EQ(1u, Count(OID_PRIV_SURVEY_CANCEL, since));
    EXPECT_FALSE(Page().SurveyRunning());
    EXPECT_TRUE(world->dialogs.Items(page)->IsEnabled(CSiteSurveyPage::kIdRescan));
    EXPECT_TRUE(world->app.SettingsDialog().IsOpen()) << "Escape closes nothing here";
    world->dialogs.PressEscape(dialog);
  });
}

// While Windows configures the card the page takes no input at all, and it still shows its
// list; a page opened meanwhile starts that way and gets everything back when Windows lets go.
TEST_F(SiteSurveyPage, WindowsConfigurationLocksThePageButLeavesTheList) {
  Boot();
  OnSurveyPage([&](WindowHandle dialog, WindowHandle page) {
    world->dialogs.Click(page, CSiteSurveyPage::kIdRescan);
    ASSERT_EQ(3u, Column(page, 1).size());
    CAdapterLink& link = world->app.Link();
    for (int configured : {1, 0}) {
      SCOPED_TRACE(configured);
      link.configuredByWindows = configured;
      world->app.SettingsDialog().ApplyWindowsConfigurationState();
      FakeDialogItems& items = *world->dialogs.Items(world->dialogs.Pages().back());
      EXPECT_EQ(!configured, items.DialogEnabled());
      for (int id : {CSiteSurveyPage::kIdRescan, kIdCancel, CSiteSurveyPage::kIdList}) {
        EXPECT_EQ(!configured, items.IsEnabled(id)) << id;
      }
      EXPECT_EQ(3u, Column(world->dialogs.Pages().back(), 1).size());
      if (configured) {
        world->dialogs.ChooseTab(dialog, kIdTabControl, 1);
        world->dialogs.ChooseTab(dialog, kIdTabControl, 2);
        EXPECT_FALSE(world->dialogs.Items(world->dialogs.Pages().back())->DialogEnabled());
      }
    }
    world->dialogs.PressEscape(dialog);
  });
}

// Each request of the page failing in turn: what the user is told, whether the page still
// counts as surveying, Re-Scan, and for the join, that the network is written into the driver
// key and the Status tab shown all the same.
TEST_F(SiteSurveyPage, EachFailedRequestIsToldAndLeavesThePageAsItShould) {
  enum class Act { Rescan, Escape, Join };
  struct Case {
    const char* message;
    std::uint32_t oid;
    Act act;
    bool surveying;
    bool rescanEnabled;
  };
  const Case cases[] = {
      {"Failed to get Site Survey state", OID_PRIV_SURVEY_STATE, Act::Rescan, true, false},
      {"Failed to initiate Site Survey", OID_PRIV_SURVEY_START, Act::Rescan, true, false},
      {"Failed to cancel Site Survey", OID_PRIV_SURVEY_CANCEL, Act::Escape, false, true},
      {"Failed to select Access Point", OID_PRIV_SELECT_BSS, Act::Join, false, true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.message);
    Boot();
    bool ran = false;
    OnSurveyPage([&](WindowHandle dialog, WindowHandle page) {
      ran = true;
      FakeDialogItems& items = *world->dialogs.Items(page);
      // A complete survey first, for the cancel and the join to act on.
      if (c.act != Act::Rescan) world->dialogs.Click(page, CSiteSurveyPage::kIdRescan);
      ASSERT_FALSE(Page().SurveyRunning());
      world->machine.env.adapters[0].faults.push_back({c.oid, sim::SimFault::Kind::Fail, 31});
      world->machine.host->SetEnvironment(world->machine.env);
      world->windows.messages.clear();
      switch (c.act) {
        case Act::Rescan:
          world->dialogs.Click(page, CSiteSurveyPage::kIdRescan);
          break;
        case Act::Escape:
          world->dialogs.PressEscape(page);
          break;
        case Act::Join:
          items.ListViewSelectRow(CSiteSurveyPage::kIdList, 0, true);
          world->dialogs.Notify(page, {CSiteSurveyPage::kIdList, kNmDblClk, 0});
          break;
      }
      ASSERT_EQ(1u, world->windows.messages.size());
      EXPECT_EQ(c.message, world->windows.messages[0].text);
      EXPECT_EQ(c.surveying, world->app.SettingsDialog().SurveyRunning());
      EXPECT_TRUE(world->app.SettingsDialog().IsOpen());
      if (c.act == Act::Join) {
        EXPECT_EQ("Harbour", DriverText("ESSID"));
        EXPECT_EQ("1", DriverText("Operating_Mode"));
        EXPECT_EQ(kStatusPageId, world->dialogs.ResourceOf(world->dialogs.Pages().back()));
      } else {
        EXPECT_EQ(c.rescanEnabled, items.IsEnabled(CSiteSurveyPage::kIdRescan));
      }
      world->dialogs.PressEscape(dialog);
    });
    EXPECT_TRUE(ran);
  }
}

// Each way the survey loop can lose its page or its dialog, half-way through a survey, and a
// watch (Repeat) in the pause between two surveys, where the tab and the box are free.
TEST_F(SiteSurveyPage, EveryExitDuringARunningSurveyEndsTheLoopCleanly) {
  struct Exit {
    const char* name;
    // Runs inside the loop's wait; false: the program is ending.
    std::function<bool(SiteSurveyPage&, WindowHandle dialog, WindowHandle page)> act;
    bool dialogStaysOpen;
    bool betweenSurveysOnly = false;
  };
  const Exit exits[] = {
      {"Repeat unchecked",
       [](SiteSurveyPage& t, WindowHandle, WindowHandle page) {
         t.world->dialogs.Click(page, CSiteSurveyPage::kIdRepeat);
         return true;
       },
       true, true},
      {"another tab",
       [](SiteSurveyPage& t, WindowHandle dialog, WindowHandle) {
         t.world->dialogs.ChooseTab(dialog, kIdTabControl, 1);
         return true;
       },
       true, true},
      {"Escape",
       [](SiteSurveyPage& t, WindowHandle, WindowHandle page) {
         t.world->dialogs.PressEscape(page);
         return true;
       },
       true},
      {"Exit button",
       [](SiteSurveyPage& t, WindowHandle dialog, WindowHandle) {
         t.world->dialogs.Click(dialog, kIdCancel);
         return true;
       },
       false},
      {"tray menu Exit",
       [](SiteSurveyPage& t, WindowHandle dialog, WindowHandle) {
         t.world->app.MainFrame()->OnCommand(CMainFrame::kCmdExit);
         // The main window takes the dialog it owns with it.
         t.world->dialogs.DestroyNow(dialog);
         return false;
       },
       false},
      {"end of the session",
       [](SiteSurveyPage& t, WindowHandle dialog, WindowHandle) {
         t.world->windows.QueryEndSession(t.frame);
         t.world->dialogs.DestroyNow(dialog);
         return false;
       },
       false},
      {"card pulled out",
       [](SiteSurveyPage& t, WindowHandle, WindowHandle) {
         t.world->machine.env.adapters[0].present = false;
         t.world->machine.host->SetEnvironment(t.world->machine.env);
         t.Tick();
         return true;
       },
       false},
      {"adapter going away",
       [](SiteSurveyPage& t, WindowHandle, WindowHandle) {
         t.world->machine.env.adapters[0].forcedState = 0xF0;
         t.world->machine.host->SetEnvironment(t.world->machine.env);
         t.Tick();
         return true;
       },
       true},
  };
  for (bool watch : {false, true}) {
  for (const Exit& exit : exits) {
    if (exit.betweenSurveysOnly && !watch) continue;
    SCOPED_TRACE(std::string(exit.name) + (watch ? ", watching" : ""));
    Boot();
    quitting = false;
    bool dialogOpenAfter = false;
    bool loopReturned = false;
    std::size_t mark = 0;
    CSiteSurveyPage* survey = nullptr;
    OnSurveyPage([&](WindowHandle dialog, WindowHandle page) {
      survey = &Page();
      // A watch's first survey is over after 3 s; it waits 10 s for the next.
      DuringSurvey(watch ? 6000 : 1500, [&]() {
        mark = world->requests.size();
        EXPECT_EQ(!watch, Page().SurveyRunning()) << "the guards hold only during a survey";
        return exit.act(*this, dialog, page);
      });
      world->dialogs.Click(page, watch ? CSiteSurveyPage::kIdRepeat : CSiteSurveyPage::kIdRescan);
      loopReturned = true;
      // The loop stopped at once: nothing more was polled.
      EXPECT_NE(0u, mark);
      EXPECT_EQ(0u, Count(OID_PRIV_SURVEY_STATE, mark));
      EXPECT_EQ(0u, Count(OID_PRIV_SURVEY_LIST, mark));
      dialogOpenAfter = world->app.SettingsDialog().IsOpen();
      if (world->dialogs.Exists(dialog)) world->dialogs.PressEscape(dialog);
    });
    EXPECT_TRUE(loopReturned);
    EXPECT_EQ(exit.dialogStaysOpen, dialogOpenAfter);
    EXPECT_TRUE(world->dialogs.Pages().empty());
    EXPECT_EQ(0, world->dialogs.modalsLeftOpen);
    EXPECT_FALSE(world->app.SettingsDialog().SurveyRunning());
    ASSERT_NE(nullptr, survey);
    EXPECT_FALSE(survey->Watching());
    world->dialogs.pending = nullptr;
  }
  }
}

// Leaving the tab after a survey cancels it, and a driver that refuses is told in a box while
// the tab changes. Under the box the program may end (the tray's Exit), or a tick may find
// Windows taking the card and ask for the Status page: nothing that went is touched, and one
// page window exists at the end, the one asked for last.
TEST_F(SiteSurveyPage, ABoxWhileTheTabChangesMayEndTheProgramOrAskForAnotherPage) {
  struct Under {
    const char* name;
    std::function<void(SiteSurveyPage&, bool& byWindows)> act;
    int pageAfter;  // 0: the dialog is gone
  };
  const Under unders[] = {
      {"tray menu Exit",
       [](SiteSurveyPage& t, bool&) {
         t.world->app.MainFrame()->OnCommand(CMainFrame::kCmdExit);
         t.world->dialogs.DestroyNow(t.world->app.SettingsDialog().DialogWindow());
       },
       0},
      {"Windows takes the card",
       [](SiteSurveyPage& t, bool& byWindows) {
         byWindows = true;
         t.Tick();
       },
       kStatusPageId},
  };
  for (const Under& under : unders) {
    SCOPED_TRACE(under.name);
    Boot(OsKind::WinXP);
    bool byWindows = false;
    world->app.Link().SetWindowsConfigCheck([&byWindows] { return byWindows; });
    int boxes = 0;
    world->windows.answer = [&](const FakeWindowSystem::Message& m) {
      if (m.text == "Failed to cancel Site Survey" && boxes++ == 0) under.act(*this, byWindows);
      return kIdOk;
    };
    OnSurveyPage([&](WindowHandle dialog, WindowHandle page) {
      world->dialogs.Click(page, CSiteSurveyPage::kIdRescan);
      world->machine.env.adapters[0].faults.push_back(
          {OID_PRIV_SURVEY_CANCEL, sim::SimFault::Kind::Fail, 31});
      world->machine.host->SetEnvironment(world->machine.env);
      world->dialogs.ChooseTab(dialog, kIdTabControl, 5);
      EXPECT_EQ(1, boxes);
      const std::vector<WindowHandle> pages = world->dialogs.Pages();
      if (under.pageAfter == 0) {
        EXPECT_FALSE(world->dialogs.Exists(dialog));
        EXPECT_TRUE(pages.empty());
        return;
      }
      ASSERT_EQ(1u, pages.size());
      EXPECT_EQ(under.pageAfter, world->dialogs.ResourceOf(pages[0]));
      EXPECT_EQ(pages[0], world->app.SettingsDialog().CurrentPage()->Window());
      EXPECT_EQ(0, world->dialogs.Items(dialog)->TabSelection(kIdTabControl));
      world->dialogs.PressEscape(dialog);
    });
    world->windows.answer = nullptr;
  }
}

TEST_F(SiteSurveyPage, JoiningWritesTheNetworkIntoTheDriverKeyOnEachSystem) {
  struct Case {
    OsKind kind;
    int row;  // Harbour (infrastructure), Picnic (ad-hoc), Odd (type 3)
    const char* essid;
    const char* mode;
  };
  const Case cases[] = {
      {OsKind::Win98Me, 0, "Harbour", "1"},      {OsKind::Win98Me, 1, "Picnic", "0"},
      {OsKind::NT4, 1, "Picnic", "dword 0"},      {OsKind::NT4, 2, "Odd", nullptr},
      {OsKind::Win2000, 0, "Harbour", "1"},      {OsKind::Win2000, 2, "Odd", nullptr},
      {OsKind::WinXP, 1, "Picnic", "0"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::to_string(static_cast<int>(c.kind)) + " row " + std::to_string(c.row));
    Boot(c.kind);
    CAdapterLink& link = world->app.Link();
    link.BuildDriverKeyPath();
    const std::string modeBefore = DriverText("Operating_Mode");
    const std::string essidCopyBefore = DriverText("", "\\Ndi\\params\\ESSID");
    OnSurveyPage([&](WindowHandle dialog, WindowHandle page) {
      world->dialogs.Click(page, CSiteSurveyPage::kIdRescan);
      ASSERT_EQ(3u, Column(page, 0).size());
      link.internationalRoaming = 1;
      world->dialogs.Items(page)->ListViewSelectRow(CSiteSurveyPage::kIdList, c.row, true);
      const std::size_t since = world->requests.size();
      world->dialogs.Notify(page, {CSiteSurveyPage::kIdList, kNmDblClk, c.row});
      EXPECT_EQ(1u, Count(OID_PRIV_SELECT_BSS, since));
      // Back on the Status page.
      EXPECT_EQ(0, world->app.SettingsDialog().CurrentTab());
      EXPECT_EQ(kStatusPageId, world->dialogs.ResourceOf(world->dialogs.Pages().back()));
      world->dialogs.PressEscape(dialog);
    });
    EXPECT_EQ(c.essid, DriverText("ESSID"));
    // Only the driver key holds the name: the Windows 9x copy keeps what it had.
    EXPECT_EQ(essidCopyBefore, DriverText("", "\\Ndi\\params\\ESSID"));
    EXPECT_EQ(c.mode != nullptr ? c.mode : modeBefore, DriverText("Operating_Mode"));
    EXPECT_EQ(c.row == 1 ? 0 : 1, link.internationalRoaming);
    EXPECT_TRUE(world->windows.messages.empty());

    if (c.row == 0) {
      // The card goes to the network chosen.
      world->machine.system.Sleep(5000);
      Tick();
      EXPECT_EQ(5, world->app.MainFrame()->DeviceState());
    }
  }
}

// A read of the list that fails, or reports more than the buffer, leaves the rows and the list
// behind them together: a join then names the network its row shows.
class SurveyListOnScriptedAdapter : public ScriptedApp {
 protected:
  static BssEntry Entry(const std::string& ssid, std::uint8_t type, std::uint8_t last) {
    BssEntry e;
    e.SetSsid(ssid);
    e.bssType = type;
    e.channel = last;
    e.bssid = {0x00, 0x40, 0x96, 0x00, 0x00, last};
    return e;
  }
  static std::vector<std::uint8_t> Bytes(const std::vector<BssEntry>& entries) {
    BssList list;
    list.entries = entries;
    std::vector<std::uint8_t> raw(BssList::kBufferSize);
    raw.resize(list.EncodeTo(raw.data(), raw.size()));
    return raw;
  }
};

TEST_F(SurveyListOnScriptedAdapter, AFailedListReadKeepsRowsAndListTogether) {
  struct Bad {
    const char* name;
    struct FakeRequestLibrary::Answer answer;
  };
  // Another list, written into the caller's buffer, with a length past it.
  std::vector<std::uint8_t> other = Bytes({Entry("Intruder", 1, 9), Entry("Stranger", 1, 8)});
  other.resize(BssList::kBufferSize, 0xEE);
  const Bad bads[] = {
      {"oversize", {0, other, static_cast<std::uint32_t>(BssList::kBufferSize + 1)}},
      {"failed", {31, other, 0}},
  };
  for (const Bad& bad : bads) {
    SCOPED_TRACE(bad.name);
    library.Answer(OID_PRIV_SURVEY_STATE, {0});
    library.Answer(OID_PRIV_SURVEY_LIST, Bytes({Entry("Harbour", 2, 1), Entry("Picnic", 1, 2)}));
    if (frame == 0) {
      ASSERT_NO_FATAL_FAILURE(Start());
      Tick();
      Tick();
    }
    CAdapterLink& link = app.Link();
    link.BuildDriverKeyPath();
    registry.WriteValue(kRegLocalMachine, link.driverKeyPath, "ESSID", kRegSz, {'x'});
    dialogs.modalLoop = [&](WindowHandle dialog, const DialogLayout&) {
      dialogs.ChooseTab(dialog, kIdTabControl, 2);
      const WindowHandle page = dialogs.Pages().back();
      FakeDialogItems& items = *dialogs.Items(page);
      dialogs.pending = [&]() {
        library.answers[OID_PRIV_SURVEY_LIST] = bad.answer;
        return true;
      };
      dialogs.Click(page, CSiteSurveyPage::kIdRescan);  // the second list read fails
      dialogs.pending = nullptr;
      ASSERT_EQ(2, items.ListViewRowCount(CSiteSurveyPage::kIdList));
      EXPECT_EQ("Picnic", items.ListViewCell(CSiteSurveyPage::kIdList, 1, 1));
      dialogs.PressEscape(page);

      items.ListViewSelectRow(CSiteSurveyPage::kIdList, 0, true);
      library.calls.clear();
      dialogs.Notify(page, {CSiteSurveyPage::kIdList, kNmDblClk, 0});
      dialogs.PressEscape(dialog);
    };
    windows.SendRegistered(frame, app.MainFrame()->TrayCallbackMessage(), 1,
                           kMouseLeftDoubleClick);
    dialogs.modalLoop = nullptr;
    // The join names row 0 and writes what row 0 shows.
    const auto join = std::find_if(library.calls.begin(), library.calls.end(),
                                   [](const FakeRequestLibrary::Call& c) {
                                     return c.oid == OID_PRIV_SELECT_BSS;
                                   });
    ASSERT_NE(library.calls.end(), join);
    EXPECT_EQ((std::vector<std::uint8_t>{0, 0, 0, 0}), join->sent);
    std::uint32_t type = 0;
    std::vector<std::uint8_t> data;
    ASSERT_TRUE(registry.ReadValue(kRegLocalMachine, link.driverKeyPath, "ESSID", &type, &data));
    EXPECT_EQ("Harbour", std::string(data.begin(), data.end()));
    ASSERT_TRUE(
        registry.ReadValue(kRegLocalMachine, link.driverKeyPath, "Operating_Mode", &type, &data));
    EXPECT_EQ("1", std::string(data.begin(), data.end()));
  }

  // A page opened while the list cannot be read shows no rows and keeps no list behind them.
  library.Fail(OID_PRIV_SURVEY_LIST);
  dialogs.modalLoop = [&](WindowHandle dialog, const DialogLayout&) {
    dialogs.ChooseTab(dialog, kIdTabControl, 2);
    EXPECT_EQ(0, dialogs.Items(dialogs.Pages().back())->ListViewRowCount(CSiteSurveyPage::kIdList));
    const auto& page = static_cast<CSiteSurveyPage&>(*app.SettingsDialog().CurrentPage());
    EXPECT_TRUE(page.SurveyResult().entries.empty());
    dialogs.PressEscape(dialog);
  };
  windows.SendRegistered(frame, app.MainFrame()->TrayCallbackMessage(), 1, kMouseLeftDoubleClick);
  dialogs.modalLoop = nullptr;
}

}  // namespace
}  // namespace linkscope::testing
