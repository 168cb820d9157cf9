// A day of the program on virtual time: the polling tick every second for 24 simulated hours
// while, at random moments, the settings dialog is opened and closed, its pages switched, a
// survey run and profiles applied, and the simulated card is pulled and plugged in again, its
// networks appear, vanish and change strength, and its driver fails requests. Nothing it holds
// may grow: open registry keys, adapter handles, events, icons, windows and the heap are
// counted through the fakes every simulated hour.

#include <cstddef>
#include <cstdio>
#include <random>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "device/Oids.h"
#include "native/DialogOnSimMachine.h"
#include "ui/CSiteSurveyPage.h"
#include "ui/DialogLayouts.h"

#if defined(__SANITIZE_ADDRESS__)
// AddressSanitizer's allocator keeps the count; its header does not come with every compiler.
extern "C" std::size_t __sanitizer_get_current_allocated_bytes();
#elif defined(__GLIBC__)
#include <malloc.h>
#endif

namespace linkscope::testing {
namespace {

// Bytes the program holds on the heap; 0 where the C library does not tell.
std::size_t HeapInUse() {
#if defined(__SANITIZE_ADDRESS__)
  return __sanitizer_get_current_allocated_bytes();
#elif defined(__GLIBC__)
  return mallinfo2().uordblks;
#else
  return 0;
#endif
}

struct Held {
  std::size_t registryKeys = 0, adapterHandles = 0, events = 0, windows = 0, dialogs = 0;
  int icons = 0;
  std::size_t heap = 0;
};

class VirtualSoak : public ::testing::Test {
 protected:
  VirtualSoak() : world(OsKind::WinXP, Environment()) {
    Profile harbour = CLinkscopeApp::DefaultProfile();
    harbour.name = "Harbour";
    harbour.ssid = "Harbour";
    harbour.channel = 1;
    ProfileStore store(world.machine.registry, world.app.AppMessages());
    store.Save(harbour, false);
  }

  static sim::SimEnvironment Environment() {
    sim::SimEnvironment env = CardNearTwoNetworks();
    for (int i = 0; i < 6; ++i) {
      sim::SimNetwork extra;
      extra.ssid = "Passing " + std::to_string(i);
      extra.channel = static_cast<std::uint8_t>(1 + i * 2);
      extra.bssid = {0x02, 0x40, 0x96, 0xC0, 0x00, static_cast<std::uint8_t>(i)};
      env.networks.push_back(extra);
    }
    return env;
  }

  Held Count() {
    Held h;
    h.registryKeys = world.machine.registry.OpenHandleCount();
    h.adapterHandles = world.machine.host->OpenHandleCount();
    h.events = world.machine.system.openEvents.size();
    h.windows = world.windows.WindowCount();
    h.dialogs = world.dialogs.DialogCount();
    h.icons = world.windows.iconsLoaded - world.windows.iconsFreed;
    h.heap = HeapInUse();
    return h;
  }

  // The fakes keep a record of what they were asked; the program's own state is what counts.
  void ForgetRecords() {
    auto forget = [](auto& records) {
      records.clear();
      records.shrink_to_fit();
    };
    forget(world.windows.messages);
    forget(world.windows.trayCalls);
    forget(world.windows.titleHistory);
    forget(world.windows.menus);
    forget(world.windows.placements);
    forget(world.windows.topmostCalls);
    forget(world.windows.broughtToFront);
    forget(world.windows.closedMenus);
    forget(world.machine.system.beeps);
    forget(world.machine.system.dosNames);
    forget(world.oids);
    forget(world.seen);
  }

  void ChangeEnvironment() {
    sim::SimEnvironment& env = world.machine.env;
    sim::SimAdapterSetup& card = env.adapters[0];
    const int what = static_cast<int>(random() % 5);
    if (what == 0) {
      card.present = !card.present;
      ++cardChanges;
    } else if (what == 1) {
      sim::SimNetwork& n = env.networks[random() % env.networks.size()];
      n.signal = static_cast<std::uint8_t>(random() % 101);
    } else if (what == 2 && env.networks.size() > 2) {
      env.networks.pop_back();
    } else if (what == 2 || what == 3) {
      sim::SimNetwork appearing;
      appearing.ssid = "Appearing " + std::to_string(random() % 1000);
      appearing.channel = static_cast<std::uint8_t>(1 + random() % 11);
      appearing.bssid = {0x02, 0x00, 0x00, 0x00, 0x01, static_cast<std::uint8_t>(random())};
      if (env.networks.size() < 40) env.networks.push_back(appearing);
    } else {
      // A driver fault for a while, or none any more.
      static const std::uint32_t kOids[] = {OID_PRIV_CONFIGURATION, OID_PRIV_DEVICE_STATE,
                                            OID_PRIV_WEP,           OID_PRIV_STATISTICS,
                                            OID_PRIV_SURVEY_LIST,   OID_PRIV_VERSION,
                                            OID_GEN_MEDIA_CONNECT_STATUS};
      card.faults.clear();
      if (random() % 2 == 0) {
        sim::SimFault fault;
        fault.oid = kOids[random() % (sizeof kOids / sizeof kOids[0])];
        fault.kind = static_cast<sim::SimFault::Kind>(random() % 3);
        fault.value = fault.kind == sim::SimFault::Kind::Fail ? 31 : random() % 64;
        card.faults.push_back(fault);
        ++faultsInjected;
      }
    }
    world.machine.host->SetEnvironment(env);
    quietTicks = 0;
  }

  // The dialog opened from the icon, a few pages looked at while the tick runs, maybe a survey
  // or a profile switch, then closed.
  void UseDialog() {
    world.dialogs.modalLoop = [&](WindowHandle dialog, const DialogLayout&) {
      ++dialogOpenings;
      const int steps = static_cast<int>(random() % 12);
      for (int i = 0; i < steps && world.dialogs.Exists(dialog); ++i) {
        const int tab = static_cast<int>(random() % 7);
        world.dialogs.ChooseTab(dialog, kIdTabControl, tab);
        if (tab == 2 && random() % 3 == 0 && !world.dialogs.Pages().empty()) {
          world.dialogs.Click(world.dialogs.Pages().back(), CSiteSurveyPage::kIdRescan);
          ++surveys;
        }
        if (random() % 8 == 0) {
          world.app.SettingsDialog().SwitchProfile(static_cast<int>(random() % 2));
        }
        world.After(1000);
      }
      if (world.dialogs.Exists(dialog)) world.dialogs.PressEscape(dialog);
    };
    world.windows.SendRegistered(world.frame, world.app.MainFrame()->TrayCallbackMessage(), 1,
                                 kMouseLeftDoubleClick);
    world.dialogs.modalLoop = nullptr;
  }

  DialogOnSimMachine world;
  std::mt19937 random{20261208};
  int quietTicks = 0;
  int dialogOpenings = 0, surveys = 0, applied = 0, cardChanges = 0, faultsInjected = 0;
};

TEST_F(VirtualSoak, ADayOfTicksHoldsNothingMoreAtItsEndThanAfterItsFirstHour) {
  world.counting.onRequest = nullptr;
  world.Start();
  const std::uint32_t kHour = 3600 * 1000;
  const std::uint32_t start = world.machine.system.now;
  Held firstHour;
  Held last;
  int ticks = 0;
  for (std::uint32_t hour = 1; hour <= 24; ++hour) {
    while (world.machine.system.now - start < hour * kHour) {
      const int roll = static_cast<int>(random() % 1000);
      if (roll < 6) {
        ChangeEnvironment();
      } else if (roll < 9 && world.app.Link().CurrentAdapter() != nullptr) {
        UseDialog();
      } else if (roll < 10 && world.app.Link().CurrentAdapter() != nullptr) {
        world.app.ProfileLogic().ApplyProfile(random() % 2 ? "Harbour" : "Default");
        ++applied;
      } else if (roll < 12) {
        // The signal history for half a minute.
        world.app.MainFrame()->OnCommand(CMainFrame::kCmdSignalHistory);
        for (int i = 0; i < 30; ++i) world.After(1000);
        world.windows.CloseGraph(world.app.MainFrame()->SignalHistoryWindow().Window());
      }
      world.After(1000);
      ++ticks;
      // The icon is there whenever a working adapter is, from the second tick that sees it.
      const sim::SimAdapterSetup& card = world.machine.env.adapters[0];
      if (++quietTicks > 2 && card.present && card.faults.empty()) {
        ASSERT_NE(0u, world.windows.tray.count({world.frame, TrayIcon::kIconId}))
            << "hour " << hour << ", tick " << ticks;
      }
    }
    ForgetRecords();
    const Held now = Count();
    EXPECT_EQ(0u, now.registryKeys) << "hour " << hour;
    EXPECT_LE(now.adapterHandles, 1u) << "hour " << hour;
    EXPECT_LE(now.events, 1u) << "hour " << hour;  // the open channel's one event
    EXPECT_EQ(0u, now.dialogs) << "hour " << hour;
    if (hour == 1) firstHour = now;
    EXPECT_EQ(firstHour.windows, now.windows) << "hour " << hour;
    EXPECT_LE(now.icons, firstHour.icons + 2) << "hour " << hour;
    last = now;
  }
  // The heap may move by what a few containers round up to, not by a day of ticks.
  if (firstHour.heap != 0) {
    EXPECT_LT(last.heap, firstHour.heap + 64 * 1024);
  }
  // The stored profiles are as they were.
  Profile p;
  EXPECT_TRUE(world.app.Profiles().Find("Harbour", &p));
  EXPECT_EQ("Harbour", p.ssid);
  EXPECT_TRUE(world.app.Profiles().Find("Default", &p));
  EXPECT_EQ(CLinkscopeApp::DefaultProfile(), p);
  EXPECT_EQ(2, world.app.Profiles().Count());
  auto ul = [](std::size_t n) { return static_cast<unsigned long>(n); };
  std::printf("soak: %d ticks (24 simulated hours), %d dialog openings, %d surveys, "
              "%d profiles applied, %d card pulls or insertions, %d driver faults injected; "
              "held after hour 1 / hour 24: registry keys %lu/%lu, adapter handles %lu/%lu, "
              "windows %lu/%lu, icons %d/%d, heap %lu/%lu bytes\n",
              ticks, dialogOpenings, surveys, applied, cardChanges, faultsInjected,
              ul(firstHour.registryKeys), ul(last.registryKeys), ul(firstHour.adapterHandles),
              ul(last.adapterHandles), ul(firstHour.windows), ul(last.windows), firstHour.icons,
              last.icons, ul(firstHour.heap), ul(last.heap));
}

}  // namespace
}  // namespace linkscope::testing
