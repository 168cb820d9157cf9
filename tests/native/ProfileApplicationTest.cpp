// Applying profiles to the simulated adapter, capturing its settings and telling whether it
// still matches the profile in use.

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "config/AdapterSettings.h"
#include "config/ProfileApplication.h"
#include "device/DriverKeyValues.h"
#include "device/Oids.h"
#include "device/RecordQuery.h"
#include "device/SurveyRequests.h"
#include "fakes/FakeWindowSystem.h"
#include "fakes/ForwardingRequestLibrary.h"
#include "native/SimMachine.h"
#include "support/SampleProfiles.h"

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
  Profile p = SampleProfile(name, "lab", 6);
  p.key = 1;
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
  AdapterSettings settings{link, state, logic, parameters};
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

// Each change of the settings service as it succeeds and as each of its steps is refused. Every
// run starts on its profile just applied; "Default" starts out of sync, so that the link
// change's rule (the built-in profile is in sync after it) shows beside the others' (only a
// match changes Default's flag).
TEST_F(ProfileApplicationTest, EachSettingsChangeAndEachRefusedStep) {
  ASSERT_TRUE(store.Save(LabProfile(), false));
  ASSERT_TRUE(store.Save(LabProfile("Default"), false));
  const DeviceConfig lab = SettingsOfProfile(LabProfile()).config;
  auto linkTo = [&](const char* ssid, bool sendRoaming, std::uint8_t radio, bool sendRadio) {
    LinkChange c{lab, sendRoaming, 1, sendRadio, radio};
    c.config.SetSsid(ssid);
    return c;
  };
  DeviceConfig radioChanged = lab;
  radioChanged.preamble = 0;
  radioChanged.fragThreshold = 1000;
  radioChanged.powerSave = 1;
  WepChange wep{WepOfProfile(LabProfile()), LabProfile().keys};
  WepChange off = wep;
  off.wep.encryptionLevel = 0;
  auto join = [&] {
    StartSurvey(link, link.CurrentAdapter());
    machine.system.Sleep(10000);
    BssList list;
    EXPECT_TRUE(QueryBssList(link, link.CurrentAdapter(), &list) && !list.entries.empty());
    return list.entries.empty() ? ChangeResult::kJoinRefused : settings.Join(list.entries[0], 0);
  };
  auto said = [](bool done) { return done ? ChangeResult::kApplied : ChangeResult::kConfigRefused; };
  auto wholeLink = [&] { return settings.ChangeLink(linkTo("cell", true, 0, true)); };
  auto advanced = [&] { return settings.ChangeAdvanced(radioChanged); };
  auto follow = [&] { return said(settings.FollowAdapter()); };
  auto byWindows = [&] { return said(settings.SetWindowsConfiguration(1)); };
  const std::string advancedKey =
      "PreambleType=0 Frag_Threshold=1000 RTS_Threshold=2347 PowerMgmtMode=1 ";
  constexpr std::uint32_t kConfig = OID_PRIV_CONFIGURATION, kRoaming = OID_PRIV_INTL_ROAMING,
                          kRadio = OID_PRIV_RADIO, kWep = OID_PRIV_WEP;
  const std::string linkKey = "Operating_Mode=1 Channel=6 ESSID=cell Rate=4 ";
  const std::string wepKey = "WEP_KEY_1=0102030405 WEP_KEY_2=A1B2C3D4E5 WEP_KEY_3=7E3D91C0A5 "
                             "WEP_KEY_4=7E3D91C0A5 WEP_KEY_INDEX=1 WEP_Mode=0 AuthenticationType=0 ";
  struct Row {
    const char* what;
    const char* profile;
    std::uint32_t refused;  // the OID the adapter refuses, 0 for none
    std::function<ChangeResult()> change;
    std::vector<std::uint32_t> sets;
    std::string driverKey;
    bool inSync;
    ChangeResult result;
  };
  const Row rows[] = {
      {"link", "Lab", 0, wholeLink, {kConfig, kRoaming, kRadio},
       linkKey + "InternationalRoaming=1 RadioOnOff=0 ", false, ChangeResult::kApplied},
      {"link, configuration refused", "Lab", kConfig, wholeLink, {kConfig}, "", true,
       ChangeResult::kConfigRefused},
      {"link, roaming refused", "Lab", kRoaming, wholeLink, {kConfig, kRoaming}, "", true,
       ChangeResult::kRoamingRefused},
      {"link, radio refused", "Lab", kRadio, wholeLink, {kConfig, kRoaming, kRadio}, "", true,
       ChangeResult::kRadioRefused},
      {"link, the radio compared though not sent", "Lab", 0,
       [&] { return settings.ChangeLink(linkTo("lab", false, 0, false)); }, {kConfig},
       "Operating_Mode=1 Channel=6 ESSID=lab Rate=4 ", false, ChangeResult::kApplied},
      {"link on Default", "Default", 0,
       [&] { return settings.ChangeLink(linkTo("cell", false, 1, false)); }, {kConfig}, linkKey,
       true, ChangeResult::kApplied},
      {"advanced", "Lab", 0, advanced, {kConfig}, advancedKey, false, ChangeResult::kApplied},
      {"advanced on Default", "Default", 0, advanced, {kConfig}, advancedKey, false,
       ChangeResult::kApplied},
      {"advanced, refused", "Lab", kConfig, advanced, {kConfig}, "", true,
       ChangeResult::kConfigRefused},
      {"WEP as the profile has it", "Lab", 0, [&] { return settings.ChangeWep(wep); }, {kWep},
       wepKey + "EncryptionLevel=1 ", true, ChangeResult::kApplied},
      {"WEP off: no keys written", "Lab", 0, [&] { return settings.ChangeWep(off); }, {kWep},
       "EncryptionLevel=0 ", false, ChangeResult::kApplied},
      {"WEP, refused", "Lab", kWep, [&] { return settings.ChangeWep(off); }, {kWep}, "", true,
       ChangeResult::kWepRefused},
      {"join", "Default", 0, join, {OID_PRIV_SELECT_BSS}, "Operating_Mode=1 ESSID=lab ", true,
       ChangeResult::kApplied},
      {"join refused: the key and the flag follow all the same", "Default", OID_PRIV_SELECT_BSS,
       join, {OID_PRIV_SELECT_BSS}, "Operating_Mode=1 ESSID=lab ", true,
       ChangeResult::kJoinRefused},
      {"another adapter", "Default", 0, follow, {}, "", true, ChangeResult::kApplied},
      {"another adapter, unread", "Default", kConfig, follow, {}, "", false,
       ChangeResult::kConfigRefused},
      {"Windows configures the card", "Lab", 0, byWindows, {OID_PRIV_WINDOWS_CONFIG}, "UseWZCS=1 ",
       true, ChangeResult::kApplied},
      {"Windows configuration refused", "Lab", OID_PRIV_WINDOWS_CONFIG, byWindows,
       {OID_PRIV_WINDOWS_CONFIG}, "", true, ChangeResult::kConfigRefused},
  };
  using namespace driverkey;
  const char* const names[] = {
      kOperatingMode, kChannel,    kEssid,      kRate,        kInternationalRoaming,
      kRadioOnOff,    kPreambleType, kFragThreshold, kRtsThreshold, kPowerMgmtMode,
      kWepKeys[0],    kWepKeys[1], kWepKeys[2], kWepKeys[3],  kWepKeyIndex,
      kWepMode,       kAuthenticationType, kEncryptionLevel, kUseWzcs};
  for (const Row& row : rows) {
    SCOPED_TRACE(row.what);
    machine.env.adapters[0].faults.clear();
    machine.host->SetEnvironment(machine.env);
    ASSERT_TRUE(logic.ApplyProfile(row.profile));
    state.inSync = row.profile == std::string("Lab");
    // Only what the change writes is in the driver key afterwards.
    RegKey key = 0;
    ASSERT_EQ(kRegOk, machine.registry.OpenKey(kRegLocalMachine, link.driverKeyPath,
                                               RegAccess::All, &key));
    for (const char* name : names) machine.registry.DeleteValue(key, name);
    machine.registry.CloseKey(key);
    if (row.refused != 0) {
      machine.env.adapters[0].faults.push_back({row.refused, sim::SimFault::Kind::Fail, 31});
      machine.host->SetEnvironment(machine.env);
    }
    sets.clear();
    EXPECT_EQ(row.result, row.change());
    std::vector<std::uint32_t> oids;
    for (const SetRequest& r : sets) oids.push_back(r.oid);
    EXPECT_EQ(row.sets, oids);
    std::string written;
    for (const char* name : names) {
      std::vector<std::uint8_t> data;
      if (machine.registry.ReadValue(kRegLocalMachine, link.driverKeyPath, name, nullptr, &data)) {
        written += std::string(name) + "=" + std::string(data.begin(), data.end()) + " ";
      }
    }
    EXPECT_EQ(row.driverKey, written);
    EXPECT_EQ(row.inSync, state.inSync);
    EXPECT_TRUE(windows.messages.empty());
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
