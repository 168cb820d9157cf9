// The Status page: what it shows of the link (tables of the status line, the bars and the
// channel list), and the Change / Submit / Cancel cycle on the simulated adapter.

#include <gtest/gtest.h>

#include <memory>
#include <tuple>

#include "device/DeviceCodes.h"
#include "device/OfferedChannels.h"
#include "device/Oids.h"
#include "fakes/FakePrivateProfile.h"
#include "native/DialogOnSimMachine.h"
#include "native/ScriptedApp.h"
#include "text/LanguageTable.h"
#include "text/OemSettings.h"
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

// A language file whose one section holds `lines`.
std::string LanguageFileWith(const std::string& lines) {
  return "[Languages]\r\nLanguage-1=English\r\n[English]\r\n" + lines;
}

TEST(StatusBars, ScalesPerCardGroupFromTheCustomisationFile) {
  // Four different values, so a group that reads another group's key shows it.
  const std::string four =
      "MaxRssi=31\r\nMaxRssiRFMD=62\r\nMaxLinkQuality=73\r\nMaxLinkQualityRFMD=94\r\n";
  struct Row {
    std::uint8_t cardType;
    std::string lines;
    int maxSignal;
    int maxQuality;
  };
  const Row rows[] = {
      // dBm cards: signal in five fixed steps of 100, whatever the file says.
      {3, four, 100, 94},
      {22, four, 100, 94},
      {18, "", 100, 100},
      // The RFMD group reads the pair of keys named after it.
      {12, four, 62, 94},
      {21, four, 62, 94},
      {16, "", 100, 100},
      // Every other type, and 0 for a type not read yet.
      {2, four, 31, 73},
      {0, four, 31, 73},
      {1, "", 40, 40},
      // Only the low byte counts: signed for the signal, unsigned for the link quality.
      {2, "MaxRssi=200\r\nMaxLinkQuality=200\r\n", -56, 200},
      {14, "MaxRssiRFMD=356\r\nMaxLinkQualityRFMD=300\r\n", 100, 44},
      {13, "MaxLinkQualityRFMD=256\r\n", 100, 0},
  };
  FakePrivateProfile profile;
  LanguageTable table{profile};
  for (const Row& r : rows) {
    profile.SetFile(LanguageTable::kShippedFile, LanguageFileWith(r.lines));
    table.ChooseFile();
    const BarScales scales = BarScalesOf(r.cardType, OemSettings(table));
    EXPECT_EQ(r.maxSignal, scales.maxSignal) << int(r.cardType) << " " << r.lines;
    EXPECT_EQ(r.maxQuality, scales.maxLinkQuality) << int(r.cardType) << " " << r.lines;
  }
}

TEST(StatusBars, ThePageSetsTheBarRangesFromTheFile) {
  struct Row {
    std::uint8_t cardType;
    const char* lines;
    int signalHigh;
    int qualityHigh;
  };
  const Row rows[] = {
      {12, "MaxRssiRFMD=90\r\nMaxLinkQualityRFMD=60\r\nMaxRssi=20\r\n", 90, 60},
      // A negative maximum signal leaves its bar without a range and its text empty.
      {2, "MaxRssi=200\r\nMaxLinkQuality=30\r\n", 0, 30},
  };
  for (const Row& r : rows) {
    SCOPED_TRACE(int(r.cardType));
    DialogOnSimMachine rig(OsKind::Win2000, CardNearTwoNetworks(r.cardType));
    rig.profile.SetFile(LanguageTable::kShippedFile, LanguageFileWith(r.lines));
    rig.Start();
    rig.InDialog([&](WindowHandle) {
      ASSERT_TRUE(rig.WaitForStatus("Associated - BSSID: 00-40-96-A1-00-01"));
      const FakeDialogItems::Control& signal = *rig.Page().Find(Page::kIdSignalBar);
      const FakeDialogItems::Control& quality = *rig.Page().Find(Page::kIdQualityBar);
      EXPECT_EQ(0, signal.low);
      EXPECT_EQ(r.signalHigh, signal.high);
      EXPECT_EQ(0, quality.low);
      EXPECT_EQ(r.qualityHigh, quality.high);
      EXPECT_LE(signal.pos, signal.high);
      EXPECT_LE(quality.pos, quality.high);
      EXPECT_EQ(r.signalHigh == 0, rig.Page().Text(Page::kIdSignalText).empty());
    });
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
  rig->InDialog([&](WindowHandle) {
    // The profile in use named in any letter case is the stored "Default".
    for (const char* name : {"Default", "dEFAULT"}) {
      rig->app.CurrentProfile().currentName = name;
      rig->app.CurrentProfile().inSync = false;
      Click(Page::kIdChange);
      P().EditSetSelection(Page::kIdSsid, 0, -1);
      P().Type(Page::kIdSsid, "Lighthouse");
      Click(Page::kIdSubmit);
      EXPECT_TRUE(rig->app.CurrentProfile().inSync) << name;
    }
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

    // The driver refuses one of the three sets. What it took before stays on the card, but
    // the driver key and the profile's in-sync mark are left as they were.
    auto refuse = [&](std::uint32_t oid) {
      rig->machine.env.adapters[0].faults = {{oid, sim::SimFault::Kind::Fail, 31}};
      rig->machine.host->SetEnvironment(rig->machine.env);
    };
    struct Refusal {
      std::uint32_t oid;
      const char* ssidOnCard;
    };
    const Refusal refusals[] = {{OID_PRIV_CONFIGURATION, "Harbour"},
                                {OID_PRIV_INTL_ROAMING, "Lab"},
                                {OID_PRIV_RADIO, "Lab"}};
    rig->app.CurrentProfile().inSync = false;
    for (const Refusal& r : refusals) {
      SCOPED_TRACE(r.oid);
      refuse(r.oid);
      P().EditSetSelection(Page::kIdSsid, 0, -1);
      P().Type(Page::kIdSsid, "Lab");
      const std::size_t shown = rig->MessageTexts().size();
      Click(Page::kIdSubmit);
      EXPECT_EQ(shown + 1, rig->MessageTexts().size());
      EXPECT_EQ("Failed to set device configuration", rig->MessageTexts().back());
      EXPECT_TRUE(P().IsEnabled(Page::kIdSubmit));
      EXPECT_TRUE(P().IsEnabled(Page::kIdSsid));
      EXPECT_FALSE(P().IsEnabled(Page::kIdChange));
      EXPECT_EQ(r.ssidOnCard, rig->Card().CurrentConfig().SsidBytes());
      EXPECT_EQ("Harbour", rig->DriverValue("ESSID"));
      EXPECT_FALSE(rig->app.CurrentProfile().inSync);
      rig->machine.env.adapters[0].faults.clear();
      rig->machine.host->SetEnvironment(rig->machine.env);
    }

    // Failed reads meanwhile empty the readings but not what the user typed.
    refuse(OID_PRIV_CONFIGURATION);
    P().EditSetSelection(Page::kIdSsid, 0, -1);
    P().Type(Page::kIdSsid, "Quay");
    rig->After(1000);
    EXPECT_EQ("Quay", P().Text(Page::kIdSsid));
    EXPECT_EQ("", P().Text(Page::kIdStatusLine));

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
    EXPECT_EQ("Lab", P().Text(Page::kIdSsid)) << "what the adapter has";
    EXPECT_EQ(Page::kIdChange, P().FocusedControl()) << "the focus leaves the locked controls";

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

// Roaming on, with the channels 1, 6 and 11 of the roaming table; the card's own domain has
// only 10 and 11, so the configured channel 1 is not among the ad-hoc channels.
sim::SimEnvironment RoamingCardOnChannelOne() {
  sim::SimEnvironment env = CardNearTwoNetworks();
  sim::SimAdapterSetup& card = env.adapters[0];
  card.regulatoryDomain = 0x31;
  card.roamingChannels = {1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 0, 0};
  card.parameters["InternationalRoaming"] = "1";
  card.parameters["Channel"] = "1";
  return env;
}

std::vector<std::string> ComboItems(const FakeDialogItems& items, int id) {
  std::vector<std::string> texts;
  for (int i = 0; i < items.ComboCount(id); ++i) texts.push_back(items.ComboItemText(id, i));
  return texts;
}

TEST_F(StatusPageOnSimMachine, ModeChangesSwapTheChannelSourceAndCancelPutsBackTheAdapters) {
  Boot(RoamingCardOnChannelOne());
  using Items = std::vector<std::string>;
  auto channels = [&] { return ComboItems(P(), Page::kIdChannel); };
  auto asked = [&](std::uint32_t oid) {
    return std::count(rig->oids.begin(), rig->oids.end(), oid) != 0;
  };
  CAdapterLink& link = rig->app.Link();
  rig->InDialog([&](WindowHandle) {
    ASSERT_TRUE(rig->WaitForStatus("Out Of Range..."));
    EXPECT_EQ((Items{"1", "6", "11"}), channels());
    EXPECT_EQ(0, P().ComboSelection(Page::kIdChannel));
    EXPECT_EQ("Enabled", P().Text(Page::kIdRoaming));
    Click(Page::kIdChange);
    EXPECT_TRUE(P().IsEnabled(Page::kIdRoaming));

    // Ad-Hoc: the channel is the user's, from the domain's channels; no roaming.
    rig->dialogs.ChooseComboItem(rig->PageWindow(), Page::kIdMode, 0);
    EXPECT_TRUE(P().IsEnabled(Page::kIdChannel));
    EXPECT_EQ((Items{"10", "11"}), channels());
    EXPECT_EQ(-1, P().ComboSelection(Page::kIdChannel)) << "no channel merely starting with 1";
    EXPECT_FALSE(P().IsEnabled(Page::kIdRoaming));
    EXPECT_EQ("Disabled", P().Text(Page::kIdRoaming));
    EXPECT_EQ(0, int(link.internationalRoaming));
    // The tick leaves the choice alone and stops reading the roaming table.
    rig->oids.clear();
    rig->After(1000);
    EXPECT_EQ((Items{"10", "11"}), channels());
    EXPECT_EQ("Disabled", P().Text(Page::kIdRoaming));
    EXPECT_FALSE(asked(OID_PRIV_ROAMING_CHANNELS));

    // Back to Infrastructure: the roaming value is the adapter's again.
    rig->oids.clear();
    rig->dialogs.ChooseComboItem(rig->PageWindow(), Page::kIdMode, 1);
    EXPECT_FALSE(P().IsEnabled(Page::kIdChannel));
    EXPECT_TRUE(P().IsEnabled(Page::kIdRoaming));
    EXPECT_TRUE(asked(OID_PRIV_INTL_ROAMING));
    EXPECT_EQ(1, int(link.internationalRoaming));
    EXPECT_EQ("Enabled", P().Text(Page::kIdRoaming)) << "a Submit now would turn roaming off";

    // Ad-Hoc again, then Cancel: nothing was sent, and the page shows the adapter's roaming
    // channels and value once more.
    rig->dialogs.ChooseComboItem(rig->PageWindow(), Page::kIdMode, 0);
    ASSERT_EQ(0, int(link.internationalRoaming));
    rig->dialogs.PressEscape(rig->PageWindow());
    EXPECT_TRUE(rig->app.SettingsDialog().IsOpen());
    EXPECT_EQ(1, int(link.internationalRoaming));
    EXPECT_EQ("Infrastructure", P().Text(Page::kIdMode));
    EXPECT_EQ((Items{"1", "6", "11"}), channels());
    EXPECT_EQ(0, P().ComboSelection(Page::kIdChannel));
    EXPECT_EQ("Enabled", P().Text(Page::kIdRoaming));
    for (int id : {Page::kIdMode, Page::kIdChannel, Page::kIdRoaming, Page::kIdSubmit}) {
      EXPECT_FALSE(P().IsEnabled(id)) << id;
    }
    EXPECT_TRUE(P().IsEnabled(Page::kIdChange));
    EXPECT_EQ(1, rig->Card().CurrentConfig().operatingMode);
  });
}

// However an edit ends without a Submit that went through, the channel list follows the
// roaming value the adapter has.
TEST_F(StatusPageOnSimMachine, AnEditEndedWithoutSubmitLeavesTheAdaptersRoaming) {
  Boot(RoamingCardOnChannelOne());
  using Items = std::vector<std::string>;
  CAdapterLink& link = rig->app.Link();
  rig->InDialog([&](WindowHandle dialog) {
    ASSERT_TRUE(rig->WaitForStatus("Out Of Range..."));
    // Ad-Hoc chosen, then the user leaves the page by another tab and comes back.
    Click(Page::kIdChange);
    rig->dialogs.ChooseComboItem(rig->PageWindow(), Page::kIdMode, 0);
    ASSERT_EQ((Items{"10", "11"}), ComboItems(P(), Page::kIdChannel));
    rig->dialogs.ChooseTab(dialog, kIdTabControl, 1);
    ASSERT_EQ(kStatisticsPageId, rig->PageResource());
    rig->dialogs.ChooseTab(dialog, kIdTabControl, 0);
    ASSERT_EQ(kStatusPageId, rig->PageResource());
    EXPECT_EQ(1, int(link.internationalRoaming));
    EXPECT_EQ((Items{"1", "6", "11"}), ComboItems(P(), Page::kIdChannel));
    EXPECT_EQ("Enabled", P().Text(Page::kIdRoaming));

    // Roaming turned off by a Submit whose radio set is refused: the adapter took the roaming
    // value, and Cancel shows it.
    Click(Page::kIdChange);
    rig->dialogs.ChooseComboItem(rig->PageWindow(), Page::kIdRoaming, 0);
    rig->machine.env.adapters[0].faults = {{OID_PRIV_RADIO, sim::SimFault::Kind::Fail, 31}};
    rig->machine.host->SetEnvironment(rig->machine.env);
    Click(Page::kIdSubmit);
    ASSERT_TRUE(rig->app.SettingsDialog().IsOpen());
    ASSERT_TRUE(P().IsEnabled(Page::kIdSubmit)) << "still editing";
    rig->machine.env.adapters[0].faults.clear();
    rig->machine.host->SetEnvironment(rig->machine.env);
    rig->dialogs.PressEscape(rig->PageWindow());
    EXPECT_EQ(0, int(link.internationalRoaming));
    EXPECT_EQ("Disabled", P().Text(Page::kIdRoaming));
    EXPECT_EQ((Items{"10", "11"}), ComboItems(P(), Page::kIdChannel));
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

// A driver that calls its medium connected in a passing state (re-authenticating with the
// access point it is on): the line keeps what it said. The simulated driver reports the medium
// connected only while associated, so a scripted one plays this.
class StatusLineOnScriptedAdapter : public ScriptedApp {
 protected:
  void Report(std::uint8_t state, std::uint8_t media) {
    const auto raw = Record(state).Encode();
    library.Answer(OID_PRIV_CONFIGURATION, {raw.begin(), raw.end()});
    library.Answer(OID_GEN_MEDIA_CONNECT_STATUS, {media, 0, 0, 0});
  }
};

TEST_F(StatusLineOnScriptedAdapter, APassingStateWithTheMediumConnectedKeepsTheLine) {
  struct Step {
    std::uint8_t state;
    std::uint8_t media;  // 0 connected, 1 disconnected
    const char* line;
  };
  const Step steps[] = {
      {5, 0, "Associated - BSSID: 00-40-96-A1-0B-FF"},
      {3, 0, "Associated - BSSID: 00-40-96-A1-0B-FF"},
      {3, 1, "Authenticating..."},
      {4, 0, "Authenticating..."},
      {6, 1, "Out Of Range..."},
      {5, 0, "Associated - BSSID: 00-40-96-A1-0B-FF"},
  };
  Report(steps[0].state, steps[0].media);
  Start();
  Tick();
  Tick();
  ASSERT_EQ(1u, app.Link().AdapterCount());
  bool ran = false;
  dialogs.modalLoop = [&](WindowHandle, const DialogLayout&) {
    ran = true;
    FakeDialogItems& page = *dialogs.Items(dialogs.Pages().back());
    ASSERT_EQ(kStatusPageId, dialogs.ResourceOf(dialogs.Pages().back()));
    for (const Step& s : steps) {
      Report(s.state, s.media);
      Tick();
      EXPECT_EQ(s.line, page.Text(Page::kIdStatusLine)) << int(s.state) << " " << int(s.media);
    }
  };
  windows.SendRegistered(frame, app.MainFrame()->TrayCallbackMessage(), 1,
                         kMouseLeftDoubleClick);
  dialogs.modalLoop = nullptr;
  EXPECT_TRUE(ran);
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

// After a survey an ad-hoc edit names the least crowded channel in its entry; the entry's
// number is what is sent and written, and viewing shows the plain number again.
TEST_F(StatusPageOnSimMachine, AdHocEditingMarksTheLeastCrowdedChannelAndSendsItsNumber) {
  Boot();
  rig->InDialog([&](WindowHandle) {
    ASSERT_TRUE(rig->WaitForStatus("Associated - BSSID: 00-40-96-A1-00-01"));
    CAdapterLink& link = rig->app.Link();
    std::uint32_t written = 0;
    ASSERT_TRUE(link.Query(link.CurrentAdapter(), OID_PRIV_SURVEY_START, nullptr, 0, &written));
    rig->After(4000);
    Click(Page::kIdChange);
    rig->dialogs.ChooseComboItem(rig->PageWindow(), Page::kIdMode, 0);
    // Harbour on 1 and Lighthouse on 6 leave 11 alone.
    const std::vector<std::string> items = ComboItems(P(), Page::kIdChannel);
    ASSERT_LE(11u, items.size());
    EXPECT_EQ("11 (least crowded)", items[10]);
    EXPECT_EQ(1, std::count_if(items.begin(), items.end(), [](const std::string& t) {
                return t.find(' ') != std::string::npos;
              }));
    rig->dialogs.ChooseComboItem(rig->PageWindow(), Page::kIdChannel, 10);
    Click(Page::kIdSubmit);
    EXPECT_TRUE(rig->MessageTexts().empty());
    EXPECT_EQ(11, rig->Card().CurrentConfig().channel);
    EXPECT_EQ("11", rig->DriverValue("Channel"));
    rig->After(1000);
    EXPECT_EQ("11", P().Text(Page::kIdChannel));
  });
}

}  // namespace
}  // namespace linkscope::testing
