// Whether Windows configures the card on XP, and what the program does while it does: the
// detection over the service manager and the registry, and its effects on the tick and the
// settings dialog.

#include <gtest/gtest.h>

#include "device/WindowsConfiguration.h"
#include "fakes/FakeServiceManager.h"
#include "native/ScriptedApp.h"
#include "ui/CStatusPage.h"
#include "ui/DialogLayouts.h"

namespace linkscope::testing {
namespace {

constexpr const char* kInterfaceId = "{6F1C0A52-3B7E-4D21-9A0C-55E2D8B1C7A4}";

// The registry and service of one XP machine with the scripted adapter at index 0.
struct WzcMachine {
  WzcMachine(FakeRegistry& registry, FakeRequestLibrary& library)
      : registry_(registry), cardKey(library.netCardPath + "\\0000") {}

  void SetInterfaceId(bool present) {
    if (present) {
      registry_.WriteValue(kRegLocalMachine, cardKey, kNetCfgInstanceIdValue, kRegSz,
                           Bytes(kInterfaceId));
    } else {
      registry_.WriteValue(kRegLocalMachine, cardKey, "DriverDesc", kRegSz, Bytes("card"));
      RegKey key = 0;
      if (registry_.OpenKey(kRegLocalMachine, cardKey, RegAccess::All, &key) == kRegOk) {
        registry_.DeleteValue(key, kNetCfgInstanceIdValue);
        registry_.CloseKey(key);
      }
    }
  }
  // flags < 0: no interface key at all.
  void SetControlFlags(long flags) {
    const std::string path = std::string(kWzcInterfacesKey) + kInterfaceId;
    registry_.DeleteTree(kRegLocalMachine, path);
    if (flags < 0) return;
    const auto f = static_cast<std::uint32_t>(flags);
    registry_.WriteValue(kRegLocalMachine, path, kWzcControlFlagsValue, kRegDword,
                         {std::uint8_t(f), std::uint8_t(f >> 8), std::uint8_t(f >> 16),
                          std::uint8_t(f >> 24)});
  }
  // 0: not installed; kStateUnknown: installed, its status query fails.
  void SetService(int state) {
    services.failStatusQuery = state == kStateUnknown;
    if (state == 0) {
      services.Remove(kWindowsConfigService);
    } else if (state == kStateUnknown) {
      services.SetState(kWindowsConfigService, kServiceRunning);
    } else {
      services.SetState(kWindowsConfigService, static_cast<std::uint32_t>(state));
    }
  }
  static std::vector<std::uint8_t> Bytes(const std::string& s) { return {s.begin(), s.end()}; }
  static constexpr int kStateUnknown = -1;

  FakeRegistry& registry_;
  FakeServiceManager services;
  std::string cardKey;
};

// The detection on its own.
class Detection : public ::testing::Test {
 protected:
  Detection() {
    library.ScriptAdapter(registry, "ORVEX PCI Skyrelay", "SKYPCI", 2);
    link.SetOsKind(OsKind::WinXP);
    auto entry = std::make_unique<AdapterEntry>();
    entry->SetIndex(0);
    link.Adapters().push_back(std::move(entry));
    link.SelectAdapter(0);
  }
  FakeRegistry registry;
  FakeRequestLibrary library;
  FakeSystem system;
  FakeWindowSystem windows;
  DefaultTexts texts;
  Messages messages{windows, texts};
  CAdapterLink link{library, system};
  WzcMachine machine{registry, library};
  WindowsConfiguration detection{machine.services, registry, library, link, messages};
};

TEST_F(Detection, ServiceAndControlFlagsDecideAndARegistryFailureCountsAsWindowsUnlessServiceDown) {
  struct Row {
    const char* name;
    int service;  // 0 not installed, kStateUnknown, else its state
    bool interfaceId;
    long flags;   // -1: no interface key
    bool failClose;
    bool expected;
  };
  const Row rows[] = {
      {"running, bit set", kServiceRunning, true, 0x8000, false, true},
      {"running, bit set among others", kServiceRunning, true, 0x800F, false, true},
      {"running, interface key missing", kServiceRunning, true, -1, false, true},
      {"state unknown, interface key missing", WzcMachine::kStateUnknown, true, -1, false, true},
      {"identifier missing", kServiceRunning, false, 0x8000, false, true},
      {"key cannot be closed", kServiceRunning, true, 0, true, true},
      // A service that does not run configures nothing, whatever the registry holds.
      {"stopped, interface key missing", kServiceStopped, true, -1, false, false},
      {"not installed, interface key missing", 0, true, -1, false, false},
      {"not installed, identifier missing", 0, false, -1, false, false},
      {"running, bit clear", kServiceRunning, true, 0x7FFF, false, false},
      {"stopped, bit clear", kServiceStopped, true, 0, false, false},
      {"stopped, bit set", kServiceStopped, true, 0x8000, false, false},
      {"starting, bit set", kServiceStartPending, true, 0x8000, false, false},
      {"not installed, bit set", 0, true, 0x8000, false, false},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.name);
    link.SelectAdapter(0);  // a failure of each row is said anew
    const std::size_t shown = windows.messages.size();
    machine.SetService(row.service);
    machine.SetInterfaceId(row.interfaceId);
    machine.SetControlFlags(row.flags);
    const std::size_t keysOpen = registry.OpenHandleCount();
    registry.failHook = [&](const char* op) -> long {
      return row.failClose && std::string(op) == "CloseKey" ? kRegInvalidHandle : kRegOk;
    };
    EXPECT_EQ(row.expected, detection.IsConfiguredByWindows());
    registry.failHook = nullptr;
    if (!row.failClose) {
      EXPECT_EQ(keysOpen, registry.OpenHandleCount());
    }
    // The link answers the query from the detection, without opening the adapter.
    link.SetWindowsConfigCheck([&] { return detection.IsConfiguredByWindows(); });
    std::uint8_t answer = 7;
    std::uint32_t written = 99;
    EXPECT_TRUE(link.Query(link.CurrentAdapter(), OID_PRIV_WINDOWS_CONFIG, &answer, 1, &written));
    if (!row.failClose) {
      EXPECT_EQ(row.expected ? 1 : 0, answer);
    }
    EXPECT_TRUE(library.opens.empty());
    EXPECT_EQ(0u, machine.services.OpenHandles());
    if (row.service == 0 || row.service == kServiceStopped) {
      EXPECT_EQ(shown, windows.messages.size()) << "no registry message for a service not there";
    }
  }
}

TEST_F(Detection, AMissingIdentifierIsReportedOncePerAdapterSelection) {
  machine.SetService(kServiceRunning);
  machine.SetInterfaceId(false);
  machine.SetControlFlags(0);
  for (int tick = 0; tick < 5; ++tick) EXPECT_TRUE(detection.IsConfiguredByWindows());
  ASSERT_EQ(1u, windows.messages.size());
  EXPECT_EQ("Failed to get value for this entry!NetCfgInstanceId", windows.messages[0].text);
  // The same adapter picked again is a new selection: the failure is said once more.
  link.SelectAdapter(0);
  EXPECT_TRUE(detection.IsConfiguredByWindows());
  EXPECT_TRUE(detection.IsConfiguredByWindows());
  EXPECT_EQ(2u, windows.messages.size());
  // Once the value is there the answer follows the service again.
  machine.SetInterfaceId(true);
  EXPECT_FALSE(detection.IsConfiguredByWindows());
}

// The whole program on XP (or 2000) with the detection over a fake service manager.
class WindowsConfigurationApp : public ScriptedApp {
 protected:
  WindowsConfigurationApp() {
    platform.services = &machine.services;
    machine.SetInterfaceId(true);
    Release();
  }
  // Windows does not drive the card: the service stopped, the bit clear.
  void Release() {
    machine.SetService(kServiceStopped);
    machine.SetControlFlags(0);
  }
  std::string UseWzcs() {
    std::uint32_t type = 0;
    std::vector<std::uint8_t> data;
    if (!registry.ReadValue(kRegLocalMachine, machine.cardKey, "UseWZCS", &type, &data)) {
      return "(none)";
    }
    return std::string(data.begin(), data.end());
  }
  int WindowsConfigSets() {
    int n = 0;
    for (const auto& call : library.calls) n += call.type == 1 && call.oid == OID_PRIV_WINDOWS_CONFIG;
    return n;
  }
  // Profile applications: the driver takes a whole profile in one all-settings set.
  int ConfigurationSets() {
    int n = 0;
    for (const auto& call : library.calls) n += call.type == 1 && call.oid == OID_PRIV_ALL_SETTINGS;
    return n;
  }
  WzcMachine machine{registry, library};
};

struct FlagRow {
  const char* name;
  bool xp;
  int service;
  long flags;
  bool locked;  // what the program must make of it
};

class TheFlag : public WindowsConfigurationApp, public ::testing::WithParamInterface<FlagRow> {};

// One row per case: Windows takes the card (or does not) while the dialog is open on the Info
// page, and lets it go again.
TEST_P(TheFlag, LocksAndFreesTheDialogTheSwitchAndTheDriverKey) {
  const FlagRow& row = GetParam();
  system.version = row.xp ? OsVersion{5, 1, 2600, kPlatformNt, ""}
                            : OsVersion{5, 0, 2195, kPlatformNt, ""};
  registry.WriteValue(kRegLocalMachine, machine.cardKey, "DriverDesc", kRegSz,
                        WzcMachine::Bytes("card"));
  Profile office = CLinkscopeApp::DefaultProfile();
  office.name = "Office";
  Start();
  ASSERT_TRUE(app.Profiles().Save(office, false));
  Tick();
  Tick();
  ASSERT_EQ(1u, app.Link().AdapterCount());
  EXPECT_EQ(row.xp ? "0" : "(none)", UseWzcs()) << "the first look tells the driver";

  bool ran = false;
  dialogs.modalLoop = [&](WindowHandle dialog, const DialogLayout&) {
    ran = true;
    FakeDialogItems& items = *dialogs.Items(dialog);
    items.TabSelect(kIdTabControl, 6);
    dialogs.Notify(dialog, DialogNotification{kIdTabControl, kTcnSelChange, -1});
    const int setsBefore = ConfigurationSets();
    app.CurrentProfile().inSync = false;
    machine.SetService(row.service);
    machine.SetControlFlags(row.flags);
    Tick();
    Tick();
    EXPECT_EQ(row.locked ? 1 : 0, app.Link().configuredByWindows);
    EXPECT_EQ(row.xp ? (row.locked ? "1" : "0") : "(none)", UseWzcs());
    EXPECT_EQ(!row.locked, items.IsEnabled(kIdProfileSelector));
    EXPECT_EQ(row.locked ? "Default" : "Default*", items.ComboItemText(kIdProfileSelector, 0));
    EXPECT_EQ(row.locked ? 0 : 6, items.TabSelection(kIdTabControl));
    const std::size_t shown = windows.messages.size();
    if (row.locked) {
      EXPECT_FALSE(app.SettingsDialog().SwitchProfile(1));
      ASSERT_EQ(shown + 1, windows.messages.size());
      EXPECT_EQ("Cannot switch profile while card is configured by Windows.",
                windows.messages.back().text);
      EXPECT_EQ("Default", app.CurrentProfile().currentName);
      // Windows lets go: everything opens again, the driver is told, and the profile in use
      // goes back on the card, with the Status page built anew to show it.
      const WindowHandle statusPage = dialogs.Pages().back();
      Release();
      Tick();
      Tick();
      EXPECT_EQ(0, app.Link().configuredByWindows);
      EXPECT_EQ("0", UseWzcs());
      EXPECT_TRUE(items.IsEnabled(kIdProfileSelector));
      EXPECT_GT(ConfigurationSets(), setsBefore);
      EXPECT_TRUE(app.CurrentProfile().inSync);
      EXPECT_NE(statusPage, dialogs.Pages().back());
      EXPECT_EQ(kStatusPageId, dialogs.ResourceOf(dialogs.Pages().back()));
    }
    EXPECT_TRUE(app.SettingsDialog().SwitchProfile(1));
    EXPECT_EQ("Office", app.CurrentProfile().currentName);
    dialogs.PressEscape(dialog);
  };
  windows.SendRegistered(frame, app.MainFrame()->TrayCallbackMessage(), 1,
                           kMouseLeftDoubleClick);
  EXPECT_TRUE(ran);
  if (!row.xp) {
    EXPECT_EQ(0u, machine.services.OpenHandles());
    EXPECT_EQ(0, WindowsConfigSets());
  }
}

INSTANTIATE_TEST_SUITE_P(
    Cases, TheFlag,
    ::testing::Values(FlagRow{"XpRunningBitSet", true, kServiceRunning, 0x8000, true},
                      FlagRow{"XpInterfaceKeyMissing", true, kServiceRunning, -1, true},
                      FlagRow{"XpNoServiceNoInterfaceKey", true, 0, -1, false},
                      FlagRow{"XpBitClearServiceRunning", true, kServiceRunning, 0x0001, false},
                      FlagRow{"XpBitSetServiceStopped", true, kServiceStopped, 0x8000, false},
                      FlagRow{"Win2000RunningBitSet", false, kServiceRunning, 0x8000, false}),
    [](const ::testing::TestParamInfo<FlagRow>& info) { return std::string(info.param.name); });

TEST_F(WindowsConfigurationApp, ADriverThatRefusesTheChangeIsReportedOnceAndTheDialogStillLocks) {
  system.version = OsVersion{5, 1, 2600, kPlatformNt, ""};
  registry.WriteValue(kRegLocalMachine, machine.cardKey, "DriverDesc", kRegSz,
                      WzcMachine::Bytes("card"));
  Start();
  Tick();
  Tick();
  ASSERT_EQ("0", UseWzcs());
  bool ran = false;
  dialogs.modalLoop = [&](WindowHandle dialog, const DialogLayout&) {
    ran = true;
    FakeDialogItems& items = *dialogs.Items(dialog);
    library.Fail(OID_PRIV_WINDOWS_CONFIG);
    machine.SetService(kServiceRunning);
    machine.SetControlFlags(0x8000);
    const std::size_t refused = MessagesSaying("Failed to set parameters");
    for (int i = 0; i < 5; ++i) Tick();
    EXPECT_EQ(refused + 1, MessagesSaying("Failed to set parameters"));
    EXPECT_FALSE(items.IsEnabled(kIdProfileSelector));
    EXPECT_EQ("0", UseWzcs()) << "the driver did not take it";
    // The driver takes it at last: recorded, and no further message.
    library.answers.erase(OID_PRIV_WINDOWS_CONFIG);
    Tick();
    EXPECT_EQ("1", UseWzcs());
    EXPECT_EQ(refused + 1, MessagesSaying("Failed to set parameters"));
    dialogs.PressEscape(dialog);
  };
  windows.SendRegistered(frame, app.MainFrame()->TrayCallbackMessage(), 1, kMouseLeftDoubleClick);
  EXPECT_TRUE(ran);
}

// Windows takes and lets go of the card while the driver refuses some sets of the flag: the
// dialog shows the live flag after every tick, and the refusal is said once per pending value.
TEST_F(WindowsConfigurationApp, TheDialogFollowsTheLiveFlagWhateverTheDriverRefuses) {
  struct Step {
    bool windows;  // Windows has the card
    bool refuse;   // the driver refuses the set
  };
  const std::vector<Step> rows[] = {
      {{true, false}, {false, true}, {true, true}, {false, true}},  // refusing from the release
      {{true, true}, {false, true}, {true, true}},                  // refusing from the take
  };
  system.version = OsVersion{5, 1, 2600, kPlatformNt, ""};
  Start();
  for (const auto& steps : rows) {
    Release();
    library.answers.erase(OID_PRIV_WINDOWS_CONFIG);
    Tick();
    Tick();
    dialogs.modalLoop = [&](WindowHandle dialog, const DialogLayout&) {
      const std::size_t before = MessagesSaying("Failed to set parameters");
      for (std::size_t i = 0; i < steps.size(); ++i) {
        SCOPED_TRACE(i);
        library.answers.erase(OID_PRIV_WINDOWS_CONFIG);
        if (steps[i].refuse) library.Fail(OID_PRIV_WINDOWS_CONFIG);
        machine.SetService(steps[i].windows ? kServiceRunning : kServiceStopped);
        machine.SetControlFlags(steps[i].windows ? 0x8000 : 0);
        Tick();
        EXPECT_EQ(!steps[i].windows, dialogs.Items(dialog)->IsEnabled(kIdProfileSelector));
        EXPECT_EQ(!steps[i].windows,
                  dialogs.Items(dialogs.Pages().back())->IsEnabled(CStatusPage::kIdChange));
      }
      EXPECT_EQ(before + 1, MessagesSaying("Failed to set parameters"));
      dialogs.PressEscape(dialog);
    };
    windows.SendRegistered(frame, app.MainFrame()->TrayCallbackMessage(), 1, kMouseLeftDoubleClick);
  }
}

}  // namespace
}  // namespace linkscope::testing
