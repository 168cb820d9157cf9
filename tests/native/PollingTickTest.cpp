// The polling tick of the main frame: the tray icon follows the simulated adapter on virtual
// time, ticks stay cheap, and a tick never runs inside another.

#include <gtest/gtest.h>

#include <cctype>

#include "app/CLinkscopeApp.h"
#include "device/Oids.h"
#include "fakes/ForwardingRequestLibrary.h"
#include "fakes/FakeDialogSystem.h"
#include "fakes/FakePrivateProfile.h"
#include "fakes/FakeRequestLibrary.h"
#include "fakes/FakeWindowSystem.h"
#include "native/ScriptedApp.h"
#include "native/SimMachine.h"
#include "ui/DialogLayouts.h"

namespace linkscope::testing {
namespace {

sim::SimEnvironment CardNearHarbour() {
  sim::SimEnvironment env;
  sim::SimAdapterSetup card = Adapter("ORVEX PCMCIA Skyrelay (K1)", "SKYK1", 12);
  card.parameters["ESSID"] = "Harbour";
  card.parameters["Channel"] = "1";
  env.adapters.push_back(card);
  sim::SimNetwork harbour;
  harbour.ssid = "Harbour";
  harbour.channel = 1;
  harbour.signal = 80;
  harbour.bssid = {0x00, 0x40, 0x96, 0xA1, 0x00, 0x01};
  env.networks.push_back(harbour);
  return env;
}

constexpr IconHandle kOk = 0x1420;     // the fake's built-in icon 142
constexpr IconHandle kNotOk = 0x1430;  // and 143

class TickOnSimulatedAdapter : public ::testing::Test {
 protected:
  explicit TickOnSimulatedAdapter(OsKind kind = OsKind::Win2000)
      : machine(kind, CardNearHarbour()), counting(*machine.library) {
    counting.onRequest = [this](const RequestBlock& r) { oids.push_back(r.oid); };
  }

  void Start() {
    ASSERT_TRUE(app.InitInstance());
    frame = app.MainFrame()->Window();
  }
  void Tick() { windows.FireTimer(frame, CMainFrame::kPollTimerId); }
  void Wait(std::uint32_t ms) { machine.system.Sleep(ms); }
  IconHandle ShownIcon() {
    auto it = windows.tray.find({frame, TrayIcon::kIconId});
    return it == windows.tray.end() ? 0 : it->second.icon;
  }
  void Change(const std::function<void(sim::SimEnvironment&)>& edit) {
    edit(machine.env);
    machine.host->SetEnvironment(machine.env);
  }

  SimMachine machine;
  ForwardingRequestLibrary counting;
  std::vector<std::uint32_t> oids;
  FakePrivateProfile profile;
  FakeWindowSystem windows;
  FakeDialogSystem dialogs;
  Platform platform{machine.registry, profile, machine.system, windows, counting, machine.probe, dialogs};
  CLinkscopeApp app{platform};
  WindowHandle frame = 0;
};

TEST_F(TickOnSimulatedAdapter, IconComesOnTheTickAfterDiscoveryAndFollowsTheLink) {
  Start();
  EXPECT_EQ(1000u, (windows.timers[{frame, CMainFrame::kPollTimerId}]));
  Tick();  // finds the adapter
  EXPECT_EQ(0u, ShownIcon());
  EXPECT_EQ(1u, app.Link().AdapterCount());
  Tick();  // selects it and shows its state
  EXPECT_NE(0u, ShownIcon());

  Wait(6000);
  Tick();
  EXPECT_EQ(5, app.MainFrame()->DeviceState());
  EXPECT_EQ(kOk, ShownIcon());

  // The access point goes: the card loses the link.
  Change([](sim::SimEnvironment& env) { env.networks.clear(); });
  Wait(15000);
  Tick();
  EXPECT_NE(5, app.MainFrame()->DeviceState());
  EXPECT_EQ(kNotOk, ShownIcon());

  // The icon changes only when the choice changes.
  const std::size_t calls = windows.trayCalls.size();
  Tick();
  EXPECT_EQ(calls, windows.trayCalls.size());
}

TEST_F(TickOnSimulatedAdapter, IconGoesWithTheCardAndComesBackWithIt) {
  Start();
  Tick();
  Tick();
  ASSERT_NE(0u, ShownIcon());
  Wait(LinkNotifier::kStartQuietMs);
  Change([](sim::SimEnvironment& env) { env.adapters[0].present = false; });
  Tick();
  // The icon stays a little while to say that the card went, then goes.
  EXPECT_EQ(kNotOk, ShownIcon());
  EXPECT_EQ(0u, app.Link().AdapterCount());
  const TrayIconRecord& told = windows.trayCalls.back().record;
  EXPECT_EQ("Card removed", told.infoTitle);
  EXPECT_EQ("Linkscope\nNo adapter", told.tip);
  Wait(TickIcon::kHoldMs);
  Tick();
  EXPECT_EQ(0u, ShownIcon());
  Tick();
  EXPECT_EQ(0u, ShownIcon());

  Change([](sim::SimEnvironment& env) { env.adapters[0].present = true; });
  Tick();  // finds it again
  EXPECT_EQ(0u, ShownIcon());
  Tick();
  EXPECT_NE(0u, ShownIcon());
}

TEST_F(TickOnSimulatedAdapter, UnusableStatesHideTheIconUntilAnotherState) {
  Start();
  Tick();
  Tick();
  ASSERT_NE(0u, ShownIcon());
  for (int state : {12, 16, 18}) {
    Change([state](sim::SimEnvironment& env) { env.adapters[0].forcedState = state; });
    Tick();
    EXPECT_EQ(0u, ShownIcon()) << state;
    Change([](sim::SimEnvironment& env) { env.adapters[0].forcedState = -1; });
    Tick();
    EXPECT_NE(0u, ShownIcon()) << state;
  }
}

// The idle tick reads the device state and the media status, and on a link the configuration
// record for the tooltip; a steady link gives the shell nothing to do.
TEST_F(TickOnSimulatedAdapter, IdleTickAsksThreeThingsReadsNoSettingsAndCallsNoShell) {
  Start();
  Tick();
  Tick();
  Wait(6000);
  Tick();
  oids.clear();
  const int registryCalls = machine.registry.calls;
  const int fileLookups = profile.lookups;
  std::vector<std::uint32_t> expected;
  for (int i = 0; i < 5; ++i) {
    Wait(1000);
    Tick();
    expected.insert(expected.end(), {OID_PRIV_DEVICE_STATE, OID_GEN_MEDIA_CONNECT_STATUS,
                                     OID_PRIV_CONFIGURATION});
  }
  EXPECT_EQ(expected, oids);
  ASSERT_EQ(5, app.MainFrame()->DeviceState());
  // Once the tooltip holds the link, a steady tick changes nothing the shell shows.
  Tick();
  const std::size_t shellCalls = windows.trayCalls.size();
  Tick();
  Tick();
  EXPECT_EQ(shellCalls, windows.trayCalls.size());
  // Without a link there is nothing in the record that the tooltip shows.
  Change([](sim::SimEnvironment& env) { env.networks.clear(); });
  Wait(15000);
  Tick();
  oids.clear();
  Tick();
  EXPECT_EQ((std::vector<std::uint32_t>{OID_PRIV_DEVICE_STATE, OID_GEN_MEDIA_CONNECT_STATUS}), oids);
  // The card scans and is out of range by turns: the tip keeps its word, and the shell hears
  // only of the balloon once the loss has lasted.
  const std::size_t searching = windows.trayCalls.size();
  for (int i = 0; i < 6; ++i) {
    Wait(1000);
    Tick();
  }
  ASSERT_EQ(searching + 1, windows.trayCalls.size());
  EXPECT_EQ("Disconnected from Harbour", windows.trayCalls.back().record.info);
  EXPECT_EQ(registryCalls, machine.registry.calls);
  EXPECT_EQ(fileLookups, profile.lookups);
}

TEST_F(TickOnSimulatedAdapter, FirstSelectionReadsTheCachedValuesAndTheLastProfile) {
  Start();
  Tick();
  Tick();
  EXPECT_EQ(0x10, app.Link().regulatoryDomain);
  EXPECT_TRUE(app.MainFrame()->RadioAvailable());
  EXPECT_TRUE(app.MainFrame()->StartupCheckDone());
  // Nothing stored: "Default" becomes the profile in use and is remembered.
  EXPECT_EQ("Default", app.CurrentProfile().currentName);
  EXPECT_EQ("Default", app.Profiles().ReadLastProfile());
}

class TickOnWindows95 : public TickOnSimulatedAdapter {
 protected:
  TickOnWindows95() : TickOnSimulatedAdapter(OsKind::Win95) {
    // Not a PC card, so Windows 95 takes it without asking the PC-card service.
    machine.env.adapters[0].hardwareId = "USB\\VID_0A5C";
  }
};

TEST_F(TickOnWindows95, AdapterGoingAwayEndsTheProgramAtOnce) {
  // Reinstall with the changed identifier.
  std::string error;
  sim::InstallAdapters(machine.registry, machine.family, machine.env, &error);
  machine.host->SetEnvironment(machine.env);
  Start();
  Tick();
  Tick();
  ASSERT_NE(0u, ShownIcon());
  Change([](sim::SimEnvironment& env) { env.adapters[0].forcedState = 240; });
  Tick();
  EXPECT_TRUE(machine.system.ended);
  EXPECT_EQ(0, machine.system.endCode);
  EXPECT_EQ(0u, ShownIcon());
}

// The scripted library for what the simulation never does on its own.
class TickOnScriptedAdapter : public ScriptedApp {};

TEST_F(TickOnScriptedAdapter, AssociatedShowsOkWhateverTheMediaStatusSays) {
  Start();
  Tick();
  Tick();
  EXPECT_EQ(kOk, ShownIcon());
  library.Answer(OID_PRIV_DEVICE_STATE, {4});
  Tick();
  EXPECT_EQ(kNotOk, ShownIcon());
  library.Fail(OID_GEN_MEDIA_CONNECT_STATUS);  // a failed media query counts as connected
  Tick();
  EXPECT_EQ(kOk, ShownIcon());
  EXPECT_EQ(0x30, app.Link().regulatoryDomain);
}

TEST_F(TickOnScriptedAdapter, UnknownRegulatoryDomainAndMissingRadioFallBack) {
  library.Answer(OID_PRIV_REG_DOMAIN, {0x77});
  library.Fail(OID_PRIV_RADIO);
  Start();
  Tick();
  Tick();
  EXPECT_EQ(0x41, app.Link().regulatoryDomain);
  EXPECT_FALSE(app.MainFrame()->RadioAvailable());
  EXPECT_EQ(1, app.MainFrame()->RadioByte());
}

TEST_F(TickOnScriptedAdapter, IconFilesFromTheLanguageFileAndTheirFallback) {
  profile.SetFile(".\\res\\Wlan.ini",
                  "[Languages]\r\nLanguage-1=English\r\n[English]\r\nTaskBarOkIcon=ok.ico\r\n"
                  "TaskBarNotOkIcon=missing.ico\r\nToolTipText=" + std::string(140, 't') + "\r\n"
                  "DevicePollingTimerMsec=250ms\r\n");
  windows.iconFiles[system.currentDirectory + "\\res\\ok.ico"] = 0x7777;
  Start();
  EXPECT_EQ(250u, (windows.timers[{frame, CMainFrame::kPollTimerId}]));
  EXPECT_EQ(0x7777u, app.MainFrame()->OkIcon());
  EXPECT_EQ(kNotOk, app.MainFrame()->NotOkIcon());
  Tick();
  Tick();
  ASSERT_FALSE(windows.trayCalls.empty());
  EXPECT_EQ(std::string(127, 't'), windows.trayCalls.back().record.tip);
}

TEST_F(TickOnScriptedAdapter, LanguageChangeReloadsIconsAndTooltipOnTheNextTick) {
  profile.SetFile(".\\res\\Wlan.ini",
                  "[Languages]\r\nLanguage-1=English\r\nLanguage-2=Deutsch\r\n"
                  "[English]\r\nToolTipText=Link\r\n[Deutsch]\r\nToolTipText=Funk\r\n");
  Start();
  Tick();
  Tick();
  EXPECT_EQ("Link", windows.trayCalls.back().record.tip);
  app.Language().SetCurrentLanguage("Deutsch");
  app.MainFrame()->RequestTextReload();
  library.Answer(OID_PRIV_DEVICE_STATE, {4});
  Tick();
  EXPECT_EQ("Funk", app.MainFrame()->ToolTipText());
  EXPECT_EQ("Funk\nAssociating...", windows.trayCalls.back().record.tip);
}

// A message box or a wait inside a tick keeps the message loop turning, and the timer's next
// message arrives inside the tick; it must not start a second one.
TEST_F(TickOnScriptedAdapter, ATickNeverRunsInsideAnother) {
  system.version = OsVersion{5, 1, 2600, kPlatformNt, ""};  // XP: the configuration steps
  library.Fail(OID_PRIV_WINDOWS_CONFIG);                     // their set fails with a message
  app.Link().SetWindowsConfigCheck([] { return false; });    // Windows lets the card be
  Start();
  int deepest = 0;
  int nestedRequests = 0;
  windows.answer = [&](const FakeWindowSystem::Message&) {
    for (int i = 0; i < 3; ++i) {
      const std::size_t before = library.calls.size();
      Tick();
      nestedRequests += static_cast<int>(library.calls.size() - before);
      deepest = std::max(deepest, app.MainFrame()->TickDepth());
    }
    return kIdOk;
  };
  Tick();
  Tick();
  Tick();
  ASSERT_GE(windows.messages.size(), 1u);
  EXPECT_EQ("Failed to set parameters", windows.messages.back().text);
  EXPECT_EQ(1, deepest);
  EXPECT_EQ(0, nestedRequests);
  EXPECT_EQ(0, app.MainFrame()->TickDepth());
}

}  // namespace
}  // namespace linkscope::testing

namespace linkscope::testing {
namespace {

TEST_F(TickOnScriptedAdapter, MenuWatchClosesTheMenuOnceTheCursorLeavesIt) {
  Start();
  app.MainFrame()->StartMenuWatch(500, 700);
  EXPECT_EQ(7000u, (windows.timers[{frame, CMainFrame::kMenuWatchTimerId}]));
  windows.cursorX = 500;  // at the origin and below it: the watch goes on
  windows.cursorY = 720;
  windows.FireTimer(frame, CMainFrame::kMenuWatchTimerId);
  EXPECT_TRUE(windows.closedMenus.empty());
  EXPECT_EQ(1u, windows.timers.count({frame, CMainFrame::kMenuWatchTimerId}));
  windows.cursorY = 650;  // above the origin, but on the menu: the user is choosing
  windows.cursorOnMenu = true;
  windows.FireTimer(frame, CMainFrame::kMenuWatchTimerId);
  EXPECT_TRUE(windows.closedMenus.empty());
  windows.cursorOnMenu = false;  // above the origin and off the menu: it is made to close
  windows.FireTimer(frame, CMainFrame::kMenuWatchTimerId);
  EXPECT_EQ(std::vector<WindowHandle>{frame}, windows.closedMenus);
  EXPECT_EQ(0u, windows.timers.count({frame, CMainFrame::kMenuWatchTimerId}));
  // The same tick body runs for timer 2 as for the polling timer.
  EXPECT_EQ(1u, app.Link().AdapterCount());
}

}  // namespace
}  // namespace linkscope::testing

namespace linkscope::testing {
namespace {

// The icon is the only way into the program: whatever took it from the shell, it comes back
// as soon as it should be shown.
class IconReturns : public ScriptedApp, public ::testing::WithParamInterface<std::string> {};

TEST_P(IconReturns, WheneverTheShellLacksIt) {
  const std::string how = GetParam();
  Start();
  if (how == "the dialog's drop-down found no card") {
    Tick();
    Tick();
    ASSERT_EQ(kOk, ShownIcon());
    const auto devices = library.devices;
    // Without balloons the icon leaves with the card at once.
    app.MainFrame()->OnCommand(CMainFrame::kCmdNotifications);
    dialogs.modalLoop = [&](WindowHandle dialog, const DialogLayout&) {
      library.devices.clear();  // the card is out while the list drops down
      dialogs.Command(dialog, kIdAdapterSelector, kCbnDropDown);
      library.devices = devices;  // and back in
      Tick();  // the list is empty: the icon and the dialog go, and discovery finds the card
    };
    windows.SendRegistered(frame, app.MainFrame()->TrayCallbackMessage(), 1,
                           kMouseLeftDoubleClick);
    dialogs.modalLoop = nullptr;
    ASSERT_FALSE(app.SettingsDialog().IsOpen());
    ASSERT_EQ(1u, app.Link().AdapterCount());
  } else {
    windows.trayRefuses = true;  // no taskbar yet
    Tick();
    Tick();
    windows.trayRefuses = false;
  }
  EXPECT_EQ(0u, ShownIcon());
  if (how == "a refused add, then a new taskbar") {
    windows.SendRegistered(frame, windows.RegisterMessage("TaskbarCreated"), 0, 0);
  } else {
    Tick();
  }
  EXPECT_EQ(kOk, ShownIcon());
}

INSTANTIATE_TEST_SUITE_P(Tray, IconReturns,
                         ::testing::Values("a refused add", "a refused add, then a new taskbar",
                                           "the dialog's drop-down found no card"),
                         [](const ::testing::TestParamInfo<std::string>& info) {
                           std::string name;
                           for (char c : info.param) {
                             if (std::isalnum(static_cast<unsigned char>(c))) name += c;
                           }
                           return name;
                         });

}  // namespace
}  // namespace linkscope::testing
