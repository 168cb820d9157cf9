// The Status page: what it shows of the link (tables of the status line, the bars and the
// channel list), and the Change / Submit / Cancel cycle on the simulated adapter.

#include <gtest/gtest.h>

#include <memory>
#include <tuple>

#include "device/DeviceCodes.h"
#include "device/OfferedChannels.h"
#include "device/Oids.h"
#include "native/DialogOnSimMachine.h"
#include "ui/CStatusPage.h"
#include "ui/LinkBars.h"
#include "ui/LinkStatusText.h"

namespace linkscope::testing {
namespace {

using Page = CStatusPage;

DeviceConfig Record(std::uint8_t state, std::uint8_t mode = 1) {
  DeviceConfig c;
  c.state = state;
  c.operatingMode = mode;
  c.channel = 6;
  c.bssid = {0x00, 0x40, 0x96, 0xA1, 0x0B, 0xFF};
  return c;
}

TEST(StatusLine, TextPerStateRadioAndManagementCode) {
  struct Row {
    std::uint8_t state;
    std::uint8_t mode;
    std::uint8_t radio;
    std::uint32_t code;
    const char* text;
  };
  const Row rows[] = {
      {5, 1, 1, 0, "Associated - BSSID: 00-40-96-A1-0B-FF"},
      {5, 0, 1, 0, "Ready - BSSID: 00-40-96-A1-0B-FF"},
      {5, 1, 0, 0, "Radio is OFF..."},  // the radio wins over every state
      {19, 1, 1, 0, "Radio is OFF..."},
      {1, 1, 1, 0, "Scanning..."},
      {6, 1, 1, 0, "Out Of Range..."},
      {8, 1, 1, 0, "Diauthenticating..."},
      {10, 1, 1, 0, "Joinning specific BSSID..."},
      {13, 1, 1, 0, "Failed to join 00-40-96-A1-0B-FF in Channel 6"},
      {15, 1, 1, 0, "Resetting..."},
      {17, 1, 1, 0, ""},
      {241, 1, 1, 13, "Authentication Error. Check Encryption Settings"},
      {241, 1, 1, 17, "Association Denied. Maximum Capacity."},
      {241, 1, 1, 160, "Enable Encryption to join this BSS"},
      {241, 1, 1, 0x25, "Management Error (0x25)"},
      {241, 1, 1, 0, "Management Error (0x0)"},
  };
  DefaultTexts texts;
  for (const Row& r : rows) {
    DeviceConfig c = Record(r.state, r.mode);
    c.managementStatus = r.code;
    EXPECT_EQ(r.text, LinkStatusText(c, r.radio, texts)) << int(r.state) << " " << r.code;
  }
}

// A language whose texts are all "%s%n": a looked-up text is never a format.
class PercentTexts : public ITextSource {
 public:
  std::string Lookup(const std::string&, const std::string&) const override { return "%s%n"; }
};

TEST(StatusLine, LookedUpTextsAreNeverFormats) {
  DeviceConfig c = Record(241);
  c.managementStatus = 99;
  EXPECT_EQ("%s%n (0x63)", LinkStatusText(c, 1, PercentTexts()));
}

TEST(StatusBars, PositionAndPercentPerCardGroupAndScale) {
  struct Row {
    std::uint8_t cardType;
    std::uint8_t mode;
    std::uint8_t state;
    std::uint32_t media;
    std::int8_t signal;
    std::uint8_t quality;
    int maxSignal;
    int maxQuality;
    BarReading signalShown;
    BarReading qualityShown;
  };
  const Row rows[] = {
      // dBm cards in five steps; link quality in percent.
      {3, 1, 5, 0, -75, 70, 100, 100, {40, "40 %"}, {70, "70 %"}},
      {22, 1, 5, 0, -50, 70, 100, 100, {100, "100 %"}, {70, "70 %"}},
      {13, 1, 5, 0, -81, 70, 100, 100, {20, "20 %"}, {70, "70 %"}},
      // A share of the maximum; these cards count errors, so link quality is inverted.
      {2, 1, 5, 1, 20, 50, 40, 40, {20, "50 %"}, {0, "0 %"}},
      {2, 1, 5, 1, 20, 10, 40, 40, {20, "50 %"}, {30, "75 %"}},
      {12, 1, 5, 1, 60, 80, 100, 100, {60, "60 %"}, {80, "80 %"}},
      // Ad-hoc: no signal, no link quality.
      {2, 0, 5, 0, 20, 10, 40, 40, {}, {}},
      // Not associated and disconnected: nothing; connected in a passing state: percent cards
      // show, inverted link quality waits for state 5.
      {12, 1, 3, 1, 60, 80, 100, 100, {}, {}},
      {2, 1, 3, 0, 20, 10, 40, 40, {20, "50 %"}, {}},
      // A maximum of 0 (or a negative one from a byte above 127) divides nothing.
      {2, 1, 5, 0, 20, 10, 0, 0, {}, {}},
      {12, 1, 5, 0, 20, 10, -56, 100, {}, {10, "10 %"}},
  };
  for (const Row& r : rows) {
    DeviceConfig c = Record(r.state, r.mode);
    c.signal = r.signal;
    c.linkQuality = r.quality;
    const BarReading s = SignalReading(c, r.media, r.cardType, r.maxSignal);
    const BarReading q = LinkQualityReading(c, r.media, r.cardType, r.maxQuality);
    EXPECT_EQ(r.signalShown.position, s.position) << int(r.cardType) << " " << int(r.signal);
    EXPECT_EQ(r.signalShown.text, s.text) << int(r.cardType) << " " << int(r.signal);
    EXPECT_EQ(r.qualityShown.position, q.position) << int(r.cardType) << " " << int(r.quality);
    EXPECT_EQ(r.qualityShown.text, q.text) << int(r.cardType) << " " << int(r.quality);
  }
}

TEST(StatusChannels, ChannelsPerDomainAndRoamingTable) {
  using V = std::vector<std::uint8_t>;
  std::array<std::uint8_t, 14> table{};
  table[0] = table[5] = table[10] = 1;
  table[3] = 2;  // anything but 1 is not allowed
  EXPECT_EQ((V{1, 6, 11}), OfferedChannels(true, table, 0x10));
  EXPECT_EQ((V{10, 11}), OfferedChannels(false, table, 0x31));
  EXPECT_EQ((V{14}), OfferedChannels(false, table, 0x40));
  EXPECT_EQ((V{3, 4, 5, 6, 7}), OfferedChannels(false, table, 0x50));
  EXPECT_EQ(14u, OfferedChannels(false, table, 0x41).size());
  for (const auto& [text, channel] : std::vector<std::pair<std::string, int>>{
           {"1", 1}, {"14", 14}, {"", 0}, {"0", 0}, {"15", 0}, {"1a", 0}, {"100", 0}}) {
    EXPECT_EQ(channel, ChannelOfText(text)) << text;
  }
}

// The page on the simulated adapter.
class StatusPageOnSimMachine : public ::testing::Test {
 protected:
  void Boot(const sim::SimEnvironment& env = CardNearTwoNetworks(), OsKind kind = OsKind::Win2000) {
    rig = std::make_unique<DialogOnSimMachine>(kind, env);
    rig->Start();
  }
  void Click(int id) { rig->dialogs.Click(rig->PageWindow(), id); }
  FakeDialogItems& P() { return rig->Page(); }
  std::unique_ptr<DialogOnSimMachine> rig;
};

TEST_F(StatusPageOnSimMachine, ChangeSubmitMovesTheCardAndEndsInViewing) {
  Boot();
  Profile office = CLinkscopeApp::DefaultProfile();
  office.name = "Office";
  ASSERT_TRUE(rig->app.Profiles().Save(office, false));
  rig->app.CurrentProfile().currentName = "Office";
  rig->app.CurrentProfile().inSync = true;
  rig->InDialog([&](WindowHandle dialog) {
    ASSERT_TRUE(rig->WaitForStatus("Associated - BSSID: 00-40-96-A1-00-01"));
    // On the way: the passing states of the driver.
    EXPECT_NE(rig->seen.end(), std::find(rig->seen.begin(), rig->seen.end(), "Scanning..."));
    EXPECT_EQ("Harbour", P().Text(Page::kIdSsid));
    EXPECT_EQ("Infrastructure", P().Text(Page::kIdMode));
    EXPECT_EQ("1", P().Text(Page::kIdChannel));
    EXPECT_EQ("Auto", P().Text(Page::kIdRate));
    EXPECT_NE("", P().Text(Page::kIdSignalText));
    for (int id : {Page::kIdMode, Page::kIdChannel, Page::kIdSsid, Page::kIdRate,
                   Page::kIdRoaming, Page::kIdRadio, Page::kIdSubmit, Page::kIdCancelEdit}) {
      EXPECT_FALSE(P().IsEnabled(id)) << id;
    }

    Click(Page::kIdChange);
    EXPECT_FALSE(P().IsEnabled(Page::kIdChange));
    EXPECT_EQ(Page::kIdMode, P().FocusedControl()) << "the focus leaves the disabled Change";
    for (int id : {Page::kIdMode, Page::kIdSsid, Page::kIdRate, Page::kIdRoaming, Page::kIdRadio,
                   Page::kIdSubmit, Page::kIdCancelEdit}) {
      EXPECT_TRUE(P().IsEnabled(id)) << id;
    }
    EXPECT_FALSE(P().IsEnabled(Page::kIdChannel)) << "an access point chooses the channel";
    P().EditSetSelection(Page::kIdSsid, 0, -1);
    P().Type(Page::kIdSsid, "Lighthouse");
    rig->After(1000);
    EXPECT_EQ("Lighthouse", P().Text(Page::kIdSsid)) << "the tick leaves the user's typing";

    rig->oids.clear();
    Click(Page::kIdSubmit);
    EXPECT_TRUE(rig->MessageTexts().empty());
    EXPECT_EQ("Lighthouse", rig->Card().CurrentConfig().SsidBytes());
    EXPECT_EQ((std::vector<std::uint32_t>{OID_PRIV_CONFIGURATION, OID_PRIV_INTL_ROAMING,
                                          OID_PRIV_RADIO}),
              rig->oids);
    EXPECT_TRUE(P().IsEnabled(Page::kIdChange));
    EXPECT_FALSE(P().IsEnabled(Page::kIdSubmit));
    EXPECT_FALSE(P().IsEnabled(Page::kIdSsid));
    EXPECT_EQ(Page::kIdChange, P().FocusedControl()) << "the focus leaves the disabled Submit";
    EXPECT_EQ("Lighthouse", rig->DriverValue("ESSID"));
    EXPECT_EQ("1", rig->DriverValue("Operating_Mode"));
    EXPECT_FALSE(rig->app.CurrentProfile().inSync);
    FakeDialogItems& frame = *rig->dialogs.Items(dialog);
    EXPECT_EQ("Office*", frame.Text(kIdProfileSelector));

    EXPECT_TRUE(rig->WaitForStatus("Associated - BSSID: 00-40-96-B2-00-01"));
    EXPECT_EQ("6", P().Text(Page::kIdChannel));
  });
}

TEST_F(StatusPageOnSimMachine, SubmitUnderTheDefaultProfileKeepsItInSync) {
  Boot();
  rig->app.CurrentProfile().inSync = false;
  rig->InDialog([&](WindowHandle) {
    Click(Page::kIdChange);
    P().EditSetSelection(Page::kIdSsid, 0, -1);
    P().Type(Page::kIdSsid, "Lighthouse");
    Click(Page::kIdSubmit);
    EXPECT_TRUE(rig->app.CurrentProfile().inSync);
  });
}

TEST_F(StatusPageOnSimMachine, RefusedSubmitsStayInEditing) {
  Boot();
  rig->InDialog([&](WindowHandle dialog) {
    Click(Page::kIdChange);
    P().EditSetSelection(Page::kIdSsid, 0, -1);
    P().Type(Page::kIdSsid, std::string(33, 'x'));
    rig->oids.clear();
    Click(Page::kIdSubmit);
    EXPECT_EQ(std::vector<std::string>{"Invalid SSID (maximum 32 characters)"}, rig->MessageTexts());
    EXPECT_TRUE(rig->oids.empty()) << "nothing is sent";
    EXPECT_EQ(Page::kIdSsid, P().FocusedControl());
    int start = 0, end = 0;
    P().EditSelection(Page::kIdSsid, &start, &end);
    EXPECT_EQ(0, start);
    EXPECT_EQ(33, end);

    // The driver refuses the record.
    rig->machine.env.adapters[0].faults.push_back({OID_PRIV_CONFIGURATION, sim::SimFault::Kind::Fail, 31});
    rig->machine.host->SetEnvironment(rig->machine.env);
    P().EditSetSelection(Page::kIdSsid, 0, -1);
    P().Type(Page::kIdSsid, "Lab");
    Click(Page::kIdSubmit);
    EXPECT_EQ("Failed to set device configuration", rig->MessageTexts().back());
    EXPECT_TRUE(P().IsEnabled(Page::kIdSubmit));
    EXPECT_FALSE(P().IsEnabled(Page::kIdChange));
    // Failed reads meanwhile empty the readings but not what the user typed.
    rig->After(1000);
    EXPECT_EQ("Lab", P().Text(Page::kIdSsid));
    EXPECT_EQ("", P().Text(Page::kIdStatusLine));
    EXPECT_EQ("Harbour", rig->Card().CurrentConfig().SsidBytes());

    // Cancel, also by Escape, ends editing and closes nothing; Enter does nothing.
    rig->dialogs.PressEnter(rig->PageWindow());
    EXPECT_TRUE(P().IsEnabled(Page::kIdSubmit));
    rig->machine.env.adapters[0].faults.clear();
    rig->machine.host->SetEnvironment(rig->machine.env);
    rig->dialogs.PressEscape(rig->PageWindow());
    EXPECT_TRUE(rig->dialogs.Exists(dialog));
    EXPECT_TRUE(rig->app.SettingsDialog().IsOpen());
    EXPECT_FALSE(P().IsEnabled(Page::kIdSubmit));
    EXPECT_TRUE(P().IsEnabled(Page::kIdChange));
    EXPECT_EQ("Harbour", P().Text(Page::kIdSsid));
    EXPECT_EQ(Page::kIdChange, P().FocusedControl()) << "the focus leaves the disabled SSID";

    // The Cancel button pressed with the mouse gives the focus back to Change as well.
    Click(Page::kIdChange);
    Click(Page::kIdCancelEdit);
    EXPECT_FALSE(P().IsEnabled(Page::kIdCancelEdit));
    EXPECT_EQ(Page::kIdChange, P().FocusedControl());
  });
}

// The Invalid SSID box runs messages: meanwhile a language change builds the page again, or
// the tick closes the dialog. The page then touches nothing of the window it started on.
TEST_F(StatusPageOnSimMachine, APageGoneUnderTheInvalidSsidBoxIsLeftAlone) {
  for (bool close : {false, true}) {
    SCOPED_TRACE(close ? "dialog closed" : "page rebuilt");
    Boot();
    rig->InDialog([&](WindowHandle dialog) {
      Click(Page::kIdChange);
      P().EditSetSelection(Page::kIdSsid, 0, -1);
      P().Type(Page::kIdSsid, std::string(33, 'x'));
      const WindowHandle before = rig->PageWindow();
      rig->windows.answer = [&](const FakeWindowSystem::Message&) {
        if (close) {
          rig->dialogs.DestroyNow(dialog);
        } else {
          rig->app.SettingsDialog().Relabel();
        }
        return 1;
      };
      Click(Page::kIdSubmit);
      rig->windows.answer = nullptr;
      EXPECT_EQ(std::vector<std::string>{"Invalid SSID (maximum 32 characters)"},
                rig->MessageTexts());
      if (close) {
        EXPECT_FALSE(rig->dialogs.Exists(dialog));
        return;
      }
      ASSERT_NE(before, rig->PageWindow());
      // The new page is in Viewing, and nothing meant for the old one reached it.
      EXPECT_TRUE(P().IsEnabled(Page::kIdChange));
      EXPECT_NE(Page::kIdSsid, P().FocusedControl());
      int start = 0, end = 0;
      P().EditSelection(Page::kIdSsid, &start, &end);
      EXPECT_EQ(0, end);
    });
  }
}

TEST_F(StatusPageOnSimMachine, AChannelOutsideTheListIsKeptNotGuessed) {
  // Channel 1 under a domain of channels 10 and 11: no entry starts the list at "10", and
  // Submit neither moves the card to 10 nor sends channel 0.
  sim::SimEnvironment env = CardNearTwoNetworks();
  env.adapters[0].regulatoryDomain = 0x31;
  env.adapters[0].parameters = {{"Operating_Mode", "0"}, {"Channel", "1"}, {"ESSID", "Picnic"}};
  Boot(env);
  rig->InDialog([&](WindowHandle) {
    ASSERT_TRUE(rig->WaitForStatus("Ready - BSSID: 02-60-1D-10-20-2F"));
    EXPECT_EQ(2, P().ComboCount(Page::kIdChannel));
    EXPECT_EQ("10", P().ComboItemText(Page::kIdChannel, 0));
    EXPECT_EQ(-1, P().ComboSelection(Page::kIdChannel));
    EXPECT_EQ("Ad-Hoc", P().Text(Page::kIdMode));
    EXPECT_EQ("", P().Text(Page::kIdSignalText));
    Click(Page::kIdChange);
    EXPECT_TRUE(P().IsEnabled(Page::kIdChannel));
    EXPECT_FALSE(P().IsEnabled(Page::kIdRoaming));
    Click(Page::kIdSubmit);
    EXPECT_TRUE(rig->MessageTexts().empty());
    EXPECT_EQ(1, rig->Card().CurrentConfig().channel);
    EXPECT_EQ("1", rig->DriverValue("Channel"));
  });
}

TEST_F(StatusPageOnSimMachine, ASteadyTickRewritesNothing) {
  Boot();
  rig->InDialog([&](WindowHandle) {
    ASSERT_TRUE(rig->WaitForStatus("Associated - BSSID: 00-40-96-A1-00-01"));
    rig->After(1000);
    const DialogLayout& layout = *PageLayout(kStatusPageId);
    auto snapshot = [&] {
      std::map<int, std::string> state;
      for (const ControlLayout& c : layout.controls) {
        const FakeDialogItems::Control* k = P().Find(c.id);
        if (k == nullptr) continue;
        std::string s = k->text + "|" + std::to_string(k->enabled) + "|" +
                        std::to_string(k->selection) + "|" + std::to_string(k->pos) + "|" +
                        std::to_string(k->low) + "|" + std::to_string(k->high);
        for (const std::string& item : k->items) s += "|" + item;
        state[c.id] = s;
      }
      return state;
    };
    for (int tick = 0; tick < 5; ++tick) {
      const auto before = snapshot();
      P().written.clear();
      rig->oids.clear();
      rig->After(1000);
      const auto after = snapshot();
      for (int id : P().written) EXPECT_NE(before.at(id), after.at(id)) << "control " << id;
      // The tick's own two requests, then the page's: radio, configuration, media, roaming.
      EXPECT_EQ((std::vector<std::uint32_t>{OID_PRIV_DEVICE_STATE, OID_GEN_MEDIA_CONNECT_STATUS,
                                            OID_PRIV_RADIO, OID_PRIV_CONFIGURATION,
                                            OID_GEN_MEDIA_CONNECT_STATUS, OID_PRIV_INTL_ROAMING}),
                rig->oids);
    }
  });
}

// Every state the page can show, caused by the environment.
TEST(StatusPageStates, TheSimulatedAdapterShowsEachState) {
  struct Row {
    const char* name;
    std::function<void(sim::SimEnvironment&)> edit;
    const char* status;
  };
  auto network = [](const char* ssid, std::uint8_t last) {
    sim::SimNetwork n;
    n.ssid = ssid;
    n.channel = 9;
    n.signal = 70;
    n.bssid = {0x00, 0x40, 0x96, 0x0C, 0x00, last};
    return n;
  };
  const Row rows[] = {
      {"out of range", [](sim::SimEnvironment& e) { e.adapters[0].parameters["ESSID"] = "Nowhere"; },
       "Out Of Range..."},
      {"radio off", [](sim::SimEnvironment& e) { e.adapters[0].parameters["RadioOnOff"] = "0"; },
       "Radio is OFF..."},
      {"no answer to the join",
       [&](sim::SimEnvironment& e) {
         sim::SimNetwork n = network("Mute", 1);
         n.answersJoin = false;
         e.networks.push_back(n);
         e.adapters[0].parameters["ESSID"] = "Mute";
       },
       "Failed to join 00-40-96-0C-00-01 in Channel 6"},
      {"encryption required",
       [&](sim::SimEnvironment& e) {
         sim::SimNetwork n = network("Vault", 2);
         n.wepLevel = 1;
         n.wepKey = {1, 2, 3, 4, 5};
         e.networks.push_back(n);
         e.adapters[0].parameters["ESSID"] = "Vault";
       },
       "Enable Encryption to join this BSS"},
      {"access point full",
       [&](sim::SimEnvironment& e) {
         sim::SimNetwork n = network("Crowd", 3);
         n.refusal = 17;
         e.networks.push_back(n);
         e.adapters[0].parameters["ESSID"] = "Crowd";
       },
       "Association Denied. Maximum Capacity."},
      {"unknown refusal",
       [&](sim::SimEnvironment& e) {
         sim::SimNetwork n = network("Odd", 4);
         n.refusal = 0x25;
         e.networks.push_back(n);
         e.adapters[0].parameters["ESSID"] = "Odd";
       },
       "Management Error (0x25)"},
  };
  for (const Row& r : rows) {
    SCOPED_TRACE(r.name);
    sim::SimEnvironment env = CardNearTwoNetworks();
    env.adapters[0].parameters["Channel"] = "6";
    r.edit(env);
    DialogOnSimMachine rig(OsKind::Win2000, env);
    rig.Start();
    rig.InDialog([&](WindowHandle) { EXPECT_TRUE(rig.WaitForStatus(r.status)); });
  }
}

TEST_F(StatusPageOnSimMachine, WindowsConfigurationLocksChange) {
  Boot();
  rig->InDialog([&](WindowHandle) {
    rig->app.Link().configuredByWindows = 1;
    rig->app.SettingsDialog().ApplyWindowsConfigurationState();
    EXPECT_FALSE(P().IsEnabled(Page::kIdChange));
    rig->app.Link().configuredByWindows = 0;
    rig->app.SettingsDialog().ApplyWindowsConfigurationState();
    EXPECT_TRUE(P().IsEnabled(Page::kIdChange));
    // While editing, Change stays off whatever Windows does.
    Click(Page::kIdChange);
    rig->app.SettingsDialog().ApplyWindowsConfigurationState();
    EXPECT_FALSE(P().IsEnabled(Page::kIdChange));
  });
}

TEST(StatusPageDriverKey, SubmitWritesTheDriverKeyOfEachSystem) {
  struct Row {
    OsKind kind;
    const char* mode;
    const char* essid;
  };
  const Row rows[] = {
      {OsKind::NT4, "dword:1", "Lighthouse"},
      {OsKind::Win98Me, "1", "Lighthouse"},
      {OsKind::Win2000, "1", "Lighthouse"},
      {OsKind::WinXP, "1", "Lighthouse"},
      {OsKind::OtherNt, "<missing>", "<missing>"},  // no driver key the program knows
  };
  for (const Row& r : rows) {
    SCOPED_TRACE(static_cast<int>(r.kind));
    sim::SimEnvironment env = CardNearTwoNetworks();
    env.adapters[0].hardwareId = "PCI\\VEN_1915&DEV_0001";  // Windows 9x looks it up
    DialogOnSimMachine rig(r.kind, env);
    rig.Start();
    rig.InDialog([&](WindowHandle) {
      rig.dialogs.Click(rig.PageWindow(), Page::kIdChange);
      rig.Page().EditSetSelection(Page::kIdSsid, 0, -1);
      rig.Page().Type(Page::kIdSsid, "Lighthouse");
      rig.dialogs.Click(rig.PageWindow(), Page::kIdSubmit);
      EXPECT_EQ("Lighthouse", rig.Card().CurrentConfig().SsidBytes());
      EXPECT_EQ(r.mode, rig.DriverValue("Operating_Mode"));
      EXPECT_EQ(r.essid, rig.DriverValue("ESSID"));
    });
  }
}

}  // namespace
}  // namespace linkscope::testing
