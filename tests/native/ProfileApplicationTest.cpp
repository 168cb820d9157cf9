// Applying profiles to the simulated adapter, capturing its settings and telling whether it
// still matches the profile in use.

#include <gtest/gtest.h>

#include "config/ProfileApplication.h"
#include "device/Oids.h"
#include "device/RecordQuery.h"
#include "device/SurveyRequests.h"
#include "fakes/FakeWindowSystem.h"
#include "fakes/ForwardingRequestLibrary.h"
#include "native/SimMachine.h"

namespace linkscope::testing {
namespace {

sim::SimEnvironment Card(bool allSettings) {
  sim::SimEnvironment env;
  sim::SimAdapterSetup card = Adapter("ORVEX PCI Skyrelay", "SKYPCI", 21);
  card.allSettingsSupported = allSettings;
  env.adapters.push_back(card);
  sim::SimNetwork lab;
  lab.ssid = "lab";
  lab.channel = 6;
  lab.bssid = {0x00, 0x40, 0x96, 0x00, 0x00, 0x06};
  env.networks.push_back(lab);
  return env;
}

Profile LabProfile(const std::string& name = "Lab") {
  Profile p;
  p.name = name;
  p.ssid = "lab";
  p.mode = 1;
  p.channel = 6;
  p.rate = 4;
  p.power = 0;
  p.preamble = 2;
  p.frag = 2346;
  p.rts = 2347;
  p.enc = 1;
  p.wepmode = 0;
  p.auth = 0;
  p.key = 1;
  p.keys = {"0102030405", "A1B2C3D4E5", "7E3D91C0A5", "7E3D91C0A5"};
  p.roaming = 0;
  p.radio = 1;
  return p;
}

class ProfileApplicationTest : public ::testing::Test {
 protected:
  explicit ProfileApplicationTest(bool allSettings = true, OsKind kind = OsKind::WinXP)
      : machine(kind, Card(allSettings)),
        recording(*machine.library),
        link(recording, machine.system),
        store(machine.registry, messages),
        parameters(machine.registry, messages, link),
        logic(link, store, parameters, messages, machine.system, state) {
    recording.onRequest = [this](const RequestBlock& r) {
      if (r.requestType == kRequestSet) sets.push_back({r.oid, machine.system.now});
    };
    link.SetOsKind(kind);
    link.Enumerate(DiscoveryContext{machine.registry, machine.probe}, BuiltInDeviceDescriptions());
    link.SelectAdapter(0);
  }

  SimMachine machine;
  ForwardingRequestLibrary recording;
  struct SetRequest {
    std::uint32_t oid;
    std::uint32_t at;
  };
  std::vector<SetRequest> sets;
  CAdapterLink link;
  FakeWindowSystem windows;
  DefaultTexts texts;
  Messages messages{windows, texts};
  ProfileStore store;
  DriverParameters parameters;
  ProfileState state;
  ProfileApplication logic;
};

TEST_F(ProfileApplicationTest, OneAllSettingsRequestWithoutAWait) {
  ASSERT_TRUE(store.Save(LabProfile(), false));
  const std::uint32_t start = machine.system.now;
  ASSERT_TRUE(logic.ApplyProfile("Lab"));
  ASSERT_EQ(1u, sets.size());
  EXPECT_EQ(OID_PRIV_ALL_SETTINGS, sets[0].oid);
  EXPECT_EQ(start, machine.system.now);
  EXPECT_EQ("Lab", state.currentName);
  EXPECT_TRUE(state.inSync);
  EXPECT_EQ("Lab", store.ReadLastProfile());
  EXPECT_TRUE(windows.messages.empty());
}

TEST_F(ProfileApplicationTest, LowerCaseNameAppliesTheStoredProfileAndIsKept) {
  ASSERT_TRUE(store.Save(LabProfile("Default"), false));
  ASSERT_TRUE(logic.ApplyProfile("default"));
  EXPECT_EQ("default", state.currentName);
  EXPECT_EQ("default", store.ReadLastProfile());
}

TEST_F(ProfileApplicationTest, MissingProfileChangesNothing) {
  state.currentName = "Lab";
  state.inSync = false;
  EXPECT_FALSE(logic.ApplyProfile("Nowhere"));
  ASSERT_EQ(1u, windows.messages.size());
  EXPECT_EQ(0u, windows.messages[0].text.find("WARNING: Cannot find information for this profile."));
  EXPECT_TRUE(sets.empty());
  EXPECT_EQ("Lab", state.currentName);
  EXPECT_FALSE(state.inSync);
}

TEST_F(ProfileApplicationTest, AppliedSettingsReachTheAdapterAndItsDriverKey) {
  ASSERT_TRUE(store.Save(LabProfile(), false));
  ASSERT_TRUE(logic.ApplyProfile("Lab"));
  machine.system.Sleep(8000);
  DeviceConfig config;
  ASSERT_TRUE(QueryDeviceConfig(link, link.CurrentAdapter(), &config));
  EXPECT_EQ("lab", config.SsidBytes());
  EXPECT_EQ(6, config.channel);
  WepConfig wep;
  ASSERT_TRUE(QueryWepConfig(link, link.CurrentAdapter(), &wep));
  EXPECT_EQ(1, wep.encryptionLevel);
  EXPECT_EQ(0xA1, wep.keys[1][0]);
  EXPECT_TRUE(logic.MatchesAdapter());

  link.BuildDriverKeyPath();
  std::vector<std::uint8_t> data;
  ASSERT_TRUE(machine.registry.ReadValue(kRegLocalMachine, link.driverKeyPath, "WEP_KEY_2",
                                         nullptr, &data));
  EXPECT_EQ("A1B2C3D4E5", std::string(data.begin(), data.end()));
}

// The registry can be edited by hand: a stored SSID longer than the 32 bytes the driver takes is
// cut to its first 32 bytes alike in the record's length byte, the driver key and the comparison.
TEST_F(ProfileApplicationTest, StoredSsidLongerThan32BytesIsCutEverywhere) {
  for (std::size_t length : {32u, 33u, 40u, 256u}) {
    Profile p = LabProfile();
    p.ssid.clear();
    for (std::size_t i = 0; i < length; ++i) p.ssid += static_cast<char>('a' + i % 26);
    const std::string cut = p.ssid.substr(0, 32);
    ASSERT_TRUE(store.Save(p, false));
    std::vector<int> lengthBytes;
    recording.onRequest = [&](const RequestBlock& r) {
      if (r.requestType == kRequestSet && r.oid == OID_PRIV_ALL_SETTINGS) {
        lengthBytes.push_back(static_cast<const std::uint8_t*>(r.buffer)[34]);
      }
    };
    ASSERT_TRUE(logic.ApplyProfile("Lab")) << length;
    EXPECT_EQ(std::vector<int>{32}, lengthBytes) << length;

    link.BuildDriverKeyPath();
    std::vector<std::uint8_t> essid;
    ASSERT_TRUE(machine.registry.ReadValue(kRegLocalMachine, link.driverKeyPath, "ESSID",
                                           nullptr, &essid));
    EXPECT_EQ(cut, std::string(essid.begin(), essid.end())) << length;
    machine.system.Sleep(8000);
    DeviceConfig config;
    ASSERT_TRUE(QueryDeviceConfig(link, link.CurrentAdapter(), &config));
    EXPECT_EQ(cut, config.SsidBytes()) << length;
    EXPECT_TRUE(logic.MatchesAdapter()) << length;
  }
}

TEST_F(ProfileApplicationTest, CapturedSettingsRoundTripAndLevelZeroKeysArePlaceholders) {
  Profile lab = LabProfile();
  lab.enc = 0;
  ASSERT_TRUE(store.Save(lab, false));
  ASSERT_TRUE(logic.ApplyProfile("Lab"));
  Profile captured;
  captured.name = "Captured";
  ASSERT_TRUE(logic.CaptureCurrentSettings(&captured));
  EXPECT_EQ("Captured", captured.name);
  EXPECT_EQ("lab", captured.ssid);
  EXPECT_EQ(0, captured.enc);
  for (const std::string& key : captured.keys) EXPECT_EQ("7E3D91C0A5", key);
  EXPECT_EQ(2346, captured.frag);
  EXPECT_EQ(1, captured.radio);
  // The adapter's key slots still hold Lab's keys: at level 0 they decide nothing.
  ASSERT_TRUE(store.Save(captured, false));
  state.currentName = "Captured";
  EXPECT_TRUE(logic.MatchesAdapter());
}

TEST_F(ProfileApplicationTest, MatchingIsExactAndByKind) {
  ASSERT_TRUE(store.Save(LabProfile(), false));
  DeviceConfig config = SettingsOfProfile(LabProfile()).config;
  EXPECT_TRUE(logic.MatchesProfile("Lab", config));
  config.SetSsid("LAB");
  EXPECT_FALSE(logic.MatchesProfile("Lab", config));

  const WepConfig wep = WepOfProfile(LabProfile());
  EXPECT_TRUE(logic.MatchesProfile("Lab", wep));
  EXPECT_TRUE(logic.MatchesProfile("Lab", RadioSetting{1}));
  EXPECT_FALSE(logic.MatchesProfile("Lab", RoamingSetting{1}));
  EXPECT_FALSE(logic.MatchesProfile("Nowhere", RadioSetting{1}));
}

TEST_F(ProfileApplicationTest, OnlyDefaultKeepsItsFlagOnAMismatch) {
  ASSERT_TRUE(store.Save(LabProfile(), false));
  ASSERT_TRUE(store.Save(LabProfile("Default"), false));
  DeviceConfig changed = SettingsOfProfile(LabProfile()).config;
  changed.preamble = 0;
  for (const char* name : {"Default", "dEFAULT", "Lab"}) {
    state.currentName = name;
    state.inSync = true;
    logic.UpdateProfileInSync(changed);
    EXPECT_EQ(std::string(name) != "Lab", state.inSync) << name;
  }
}

TEST(KeyTexts, DecodeInPairsOfLeadingHexDigits) {
  std::uint8_t slot[13];
  std::fill(slot, slot + 13, 0xEE);
  DecodeKeyText("ERROR", slot);
  EXPECT_EQ(14, slot[0]);
  EXPECT_EQ(0, slot[1]);
  EXPECT_EQ(0xEE, slot[2]);  // past the decoded pairs the slot keeps its bytes

  DecodeKeyText(std::string(26, 'f') + "1", slot);
  for (int i = 0; i < 13; ++i) EXPECT_EQ(0xFF, slot[i]) << i;
  DecodeKeyText("a5Zz0G", slot);
  EXPECT_EQ(0xA5, slot[0]);
  EXPECT_EQ(0, slot[1]);
  EXPECT_EQ(0, slot[2]);
  EXPECT_EQ("00A5FF", EncodeKeyBytes(std::array<std::uint8_t, 3>{0, 0xA5, 0xFF}.data(), 3));
}

class ProfileApplicationPieceByPiece : public ProfileApplicationTest {
 protected:
  ProfileApplicationPieceByPiece() : ProfileApplicationTest(false) {}
};

TEST_F(ProfileApplicationPieceByPiece, ConfigurationPauseWepRadioRoaming) {
  ASSERT_TRUE(store.Save(LabProfile(), false));
  ASSERT_TRUE(logic.ApplyProfile("Lab"));
  std::vector<std::uint32_t> oids;
  for (const auto& s : sets) oids.push_back(s.oid);
  EXPECT_EQ((std::vector<std::uint32_t>{OID_PRIV_ALL_SETTINGS, OID_PRIV_CONFIGURATION,
                                        OID_PRIV_WEP, OID_PRIV_RADIO, OID_PRIV_INTL_ROAMING}),
            oids);
  EXPECT_EQ(2000u, sets[2].at - sets[1].at);
  EXPECT_EQ(sets[2].at, sets[4].at);
}

// A new driver process reads what the last applied profile wrote into its driver key.
TEST(DriverRestart, AdapterComesUpWithTheLastAppliedProfile) {
  SimMachine first(OsKind::Win2000, Card(true));
  FakeWindowSystem windows;
  DefaultTexts texts;
  Messages messages(windows, texts);
  {
    CAdapterLink link(*first.library, first.system);
    link.SetOsKind(OsKind::Win2000);
    link.Enumerate(DiscoveryContext{first.registry, first.probe}, BuiltInDeviceDescriptions());
    link.SelectAdapter(0);
    ProfileStore store(first.registry, messages);
    DriverParameters parameters(first.registry, messages, link);
    ProfileState state;
    ProfileApplication logic(link, store, parameters, messages, first.system, state);
    Profile p = LabProfile();
    p.channel = 11;
    p.ssid = "Elsewhere";
    p.rts = 500;
    ASSERT_TRUE(store.Save(p, false));
    ASSERT_TRUE(logic.ApplyProfile("Lab"));
  }
  // The same machine's registry, a driver started afresh.
  sim::SimHost host(first.system, first.registry, first.family);
  host.SetEnvironment(first.env);
  sim::SimRequestLibrary library(host);
  CAdapterLink link(library, first.system);
  link.SetOsKind(OsKind::Win2000);
  link.Enumerate(DiscoveryContext{first.registry, first.probe}, BuiltInDeviceDescriptions());
  ASSERT_TRUE(link.SelectAdapter(0));
  DeviceConfig config;
  ASSERT_TRUE(QueryDeviceConfig(link, link.CurrentAdapter(), &config));
  EXPECT_EQ(11, config.channel);
  EXPECT_EQ("Elsewhere", config.SsidBytes());
  EXPECT_EQ(500, config.rtsThreshold);
}

}  // namespace
}  // namespace linkscope::testing
