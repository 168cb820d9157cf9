// The simulated adapter as the program sees it: through CAdapterLink and the request library,
// on the virtual clock.

#include <gtest/gtest.h>

#include <array>

#include "device/DeviceCodes.h"
#include "device/Oids.h"
#include "device/RecordQuery.h"
#include "device/StatisticsRecord.h"
#include "device/SurveyRecords.h"
#include "device/WepConfig.h"
#include "native/SimMachine.h"

namespace linkscope::testing {
namespace {

sim::SimNetwork Network(const std::string& ssid, std::uint8_t channel, std::uint8_t tag,
                        std::uint8_t signal = 70) {
  sim::SimNetwork n;
  n.ssid = ssid;
  n.channel = channel;
  n.bssid = {0x00, 0x40, 0x96, 0x00, 0x00, tag};
  n.signal = signal;
  return n;
}

sim::SimEnvironment OneCard(std::uint8_t cardType = 12) {
  sim::SimEnvironment env;
  env.adapters.push_back(Adapter("ORVEX USB Skyrelay (U1)", "SKYU1", cardType, "USB\\VID_1"));
  env.networks.push_back(Network("Harbour", 1, 1, 80));
  sim::SimNetwork wep64 = Network("Lighthouse", 6, 2, 60);
  wep64.wepLevel = 1;
  wep64.wepKey = {0x12, 0x34, 0x56, 0x78, 0x9A};
  env.networks.push_back(wep64);
  sim::SimNetwork shared = Network("Vault", 11, 3, 50);
  shared.wepLevel = 2;
  shared.wepKey = {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13};
  shared.authentication = 1;
  env.networks.push_back(shared);
  sim::SimNetwork cell = Network("Picnic", 3, 4, 40);
  cell.bssType = 1;
  env.networks.push_back(cell);
  return env;
}

class SimAdapter : public ::testing::Test {
 protected:
  explicit SimAdapter(sim::SimEnvironment env = OneCard()) : m(OsKind::WinXP, env) {
    m.Enumerate();
    adapter = m.link->Adapters().empty() ? nullptr : m.link->Adapters()[0].get();
  }

  DeviceConfig Config() {
    DeviceConfig c;
    EXPECT_TRUE(QueryDeviceConfig(*m.link, adapter, &c));
    return c;
  }
  std::uint8_t State() {
    std::uint8_t s = 0xEE;
    EXPECT_TRUE(QueryByte(*m.link, adapter, OID_PRIV_DEVICE_STATE, &s));
    return s;
  }
  // The distinct states seen while the clock runs for `ms`, polled every 50 ms.
  std::vector<int> StatesOver(std::uint32_t ms) {
    std::vector<int> seen;
    for (std::uint32_t t = 0; t <= ms; t += 50) {
      const int s = State();
      if (seen.empty() || seen.back() != s) seen.push_back(s);
      m.system.Sleep(50);
    }
    return seen;
  }
  bool SetConfig(const std::string& ssid, std::uint8_t mode = 1) {
    DeviceConfig c = Config();
    c.SetSsid(ssid);
    c.operatingMode = mode;
    return SetDeviceConfig(*m.link, adapter, c);
  }
  bool SetWep(std::uint8_t level, const std::vector<std::uint8_t>& key, std::uint16_t auth = 0,
              std::uint8_t mode = 0) {
    WepConfig w;
    w.encryptionLevel = level;
    w.authenticationType = auth;
    w.wepMode = mode;
    std::copy(key.begin(), key.end(), w.keys[0].begin());
    const auto raw = w.Encode();
    return m.link->Set(adapter, OID_PRIV_WEP, raw.data(), WepConfig::kSize);
  }

  SimMachine m;
  const AdapterEntry* adapter = nullptr;
};

TEST_F(SimAdapter, AConfigurationSetWalksTheStatesToAssociated) {
  ASSERT_NE(nullptr, adapter);
  ASSERT_TRUE(SetConfig("Harbour"));
  EXPECT_EQ((std::vector<int>{11, 1, 2, 3, 4, 5}), StatesOver(4000));
  const DeviceConfig c = Config();
  EXPECT_EQ(5, c.state);
  EXPECT_EQ(1, c.channel);
  EXPECT_EQ((std::array<std::uint8_t, 6>{0x00, 0x40, 0x96, 0x00, 0x00, 1}), c.bssid);
  EXPECT_EQ(0u, c.managementStatus);
  std::uint32_t media = 9;
  ASSERT_TRUE(QueryMediaConnectStatus(*m.link, adapter, &media));
  EXPECT_EQ(kMediaConnected, media);
}

TEST_F(SimAdapter, NothingMatchingEndsOutOfRangeAndAdHocStartsItsOwnCell) {
  ASSERT_TRUE(SetConfig("Nowhere"));
  EXPECT_EQ((std::vector<int>{11, 1, 6}), StatesOver(3000));
  ASSERT_TRUE(SetConfig("Nowhere", 0));
  EXPECT_EQ((std::vector<int>{11, 1, 5}), StatesOver(3000));
  EXPECT_EQ(0x02, Config().bssid[0] & 0x03);  // a locally administered BSSID of its own
  ASSERT_TRUE(SetConfig("Picnic", 0));
  EXPECT_EQ((std::vector<int>{11, 1, 2, 5}), StatesOver(3000));
  EXPECT_EQ(3, Config().channel);
}

TEST_F(SimAdapter, WepMismatchesEndInAManagementErrorWithTheStatusCode) {
  struct Case {
    const char* ssid;
    std::uint8_t level;
    std::vector<std::uint8_t> key;
    std::uint16_t auth;
    std::uint32_t status;
  };
  const std::vector<Case> cases = {
      {"Lighthouse", 0, {}, 0, 160},                       // needs WEP, card has it off
      {"Harbour", 1, {1, 2, 3, 4, 5}, 0, 161},             // card insists, network has none
      {"Vault", 2, std::vector<std::uint8_t>(13, 0xAB), 1, 15},  // wrong key answers the challenge
  };
  for (const Case& c : cases) {
    ASSERT_TRUE(SetWep(c.level, c.key, c.auth));
    ASSERT_TRUE(SetConfig(c.ssid));
    m.system.Sleep(4000);
    const DeviceConfig config = Config();
    EXPECT_EQ(241, config.state) << c.ssid;
    EXPECT_EQ(c.status, config.managementStatus) << c.ssid;
  }
  // The right key gets through the challenge.
  ASSERT_TRUE(SetWep(2, {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13}, 1));
  m.system.Sleep(4000);
  EXPECT_EQ(5, State());
}

TEST_F(SimAdapter, RadioOffIsState19UntilSwitchedOn) {
  ASSERT_TRUE(SetConfig("Harbour"));
  const std::uint8_t off = 0, on = 1;
  ASSERT_TRUE(m.link->Set(adapter, OID_PRIV_RADIO, &off, 1));
  EXPECT_EQ(19, State());
  m.system.Sleep(10000);
  EXPECT_EQ(19, State());
  ASSERT_TRUE(m.link->Set(adapter, OID_PRIV_RADIO, &on, 1));
  m.system.Sleep(3000);
  EXPECT_EQ(5, State());
}

TEST_F(SimAdapter, SignalFollowsTheNetworkOnTheCardsScale) {
  ASSERT_TRUE(SetConfig("Harbour"));  // signal 80
  m.system.Sleep(3000);
  for (int i = 0; i < 20; ++i) {
    const DeviceConfig c = Config();
    EXPECT_GE(c.signal, 77);  // card type 12: a share of 100
    EXPECT_LE(c.signal, 83);
    EXPECT_GE(c.linkQuality, 80);
    EXPECT_LE(c.linkQuality, 90);
  }
}

class SimDbmAdapter : public SimAdapter {
 protected:
  SimDbmAdapter() : SimAdapter(OneCard(3)) {}
};

TEST_F(SimDbmAdapter, DbmCardsReportNegativeSignal) {
  ASSERT_TRUE(SetConfig("Harbour"));
  m.system.Sleep(3000);
  const DeviceConfig c = Config();
  EXPECT_GE(c.signal, -95 + 77 * 60 / 100);
  EXPECT_LE(c.signal, -95 + 83 * 60 / 100);
}

TEST_F(SimAdapter, CountersGrowOnlyWhileAssociatedAndResetOnCommand) {
  auto read = [&] {
    std::array<std::uint8_t, StatisticsRecord::kSize> raw{};
    StatisticsRecord s;
    EXPECT_TRUE(QueryExact(*m.link, adapter, OID_PRIV_STATISTICS, raw.data(), raw.size()));
    StatisticsRecord::Decode(raw.data(), raw.size(), &s);
    return s;
  };
  ASSERT_TRUE(SetConfig("Nowhere"));
  m.system.Sleep(20000);
  EXPECT_EQ(0u, read().counters[StatisticsRecord::kTxDataOk]);
  ASSERT_TRUE(SetConfig("Harbour"));
  m.system.Sleep(2300);  // still associating at first; then 10 s associated
  const StatisticsRecord before = read();
  m.system.Sleep(10000);
  const StatisticsRecord after = read();
  EXPECT_GT(after.counters[StatisticsRecord::kTxDataOk], before.counters[StatisticsRecord::kTxDataOk]);
  EXPECT_GT(after.counters[StatisticsRecord::kRxDataOk], before.counters[StatisticsRecord::kRxDataOk]);
  EXPECT_GE(after.counters[StatisticsRecord::kRxDataOk], 400u);
  ASSERT_TRUE(SendCommand(*m.link, adapter, OID_PRIV_STATISTICS_RESET));
  EXPECT_EQ(0u, read().counters[StatisticsRecord::kRxDataOk]);
  // The access point goes away: the adapter looks for it and the counters stand still.
  m.host->SetEnvironment([&] {
    sim::SimEnvironment env = m.host->Environment();
    env.networks.erase(env.networks.begin());
    return env;
  }());
  State();
  m.system.Sleep(3000);
  EXPECT_EQ(6, State());
  const std::uint32_t frozen = read().counters[StatisticsRecord::kRxDataOk];
  m.system.Sleep(4000);
  EXPECT_EQ(frozen, read().counters[StatisticsRecord::kRxDataOk]);
}

TEST_F(SimAdapter, SurveyRunsForSecondsThenListsWholeEntries) {
  std::uint8_t state = 0;
  ASSERT_TRUE(QueryByte(*m.link, adapter, OID_PRIV_SURVEY_STATE, &state));
  EXPECT_EQ(0, state);
  ASSERT_TRUE(SendCommand(*m.link, adapter, OID_PRIV_SURVEY_START));
  ASSERT_TRUE(QueryByte(*m.link, adapter, OID_PRIV_SURVEY_STATE, &state));
  EXPECT_EQ(1, state);
  m.system.Sleep(2900);
  ASSERT_TRUE(QueryByte(*m.link, adapter, OID_PRIV_SURVEY_STATE, &state));
  EXPECT_EQ(1, state);
  m.system.Sleep(200);
  ASSERT_TRUE(QueryByte(*m.link, adapter, OID_PRIV_SURVEY_STATE, &state));
  EXPECT_EQ(2, state);

  std::array<std::uint8_t, BssList::kBufferSize> raw{};
  std::uint32_t written = 0;
  ASSERT_TRUE(m.link->Query(adapter, OID_PRIV_SURVEY_LIST, raw.data(), raw.size(), &written));
  EXPECT_EQ(4u * BssEntry::kSize, written);
  BssList list;
  ASSERT_TRUE(BssList::Decode(raw.data(), raw.size(), written, &list));
  EXPECT_EQ("Harbour", list.entries[0].SsidBytes());
  EXPECT_EQ(1, list.entries[1].wep);
  EXPECT_EQ(1, list.entries[3].bssType);

  // Join by index: the ad-hoc cell.
  std::uint8_t index[4] = {3, 0, 0, 0};
  ASSERT_TRUE(m.link->Set(adapter, OID_PRIV_SELECT_BSS, index, 4));
  EXPECT_EQ((std::vector<int>{11, 10, 5}), StatesOver(2000));
  const DeviceConfig c = Config();
  EXPECT_EQ(0, c.operatingMode);
  EXPECT_EQ("Picnic", c.SsidBytes());
  index[0] = 4;
  EXPECT_FALSE(m.link->Set(adapter, OID_PRIV_SELECT_BSS, index, 4));
}

TEST(SimSurvey, ListsAtMostThirtyNetworksOnTheDomainsChannels) {
  sim::SimEnvironment env = OneCard();
  env.adapters[0].regulatoryDomain = 0x10;  // channels 1 to 11
  env.networks.clear();
  for (int i = 0; i < 40; ++i) {
    env.networks.push_back(Network("N" + std::to_string(i), static_cast<std::uint8_t>(i % 14 + 1),
                                   static_cast<std::uint8_t>(i)));
  }
  SimMachine m(OsKind::WinXP, env);
  m.Enumerate();
  const AdapterEntry* a = m.link->Adapters()[0].get();
  ASSERT_TRUE(SendCommand(*m.link, a, OID_PRIV_SURVEY_START));
  m.system.Sleep(3000);
  std::array<std::uint8_t, BssList::kBufferSize> raw{};
  std::uint32_t written = 0;
  ASSERT_TRUE(m.link->Query(a, OID_PRIV_SURVEY_LIST, raw.data(), raw.size(), &written));
  EXPECT_EQ(BssList::kBufferSize, written);
  BssList list;
  ASSERT_TRUE(BssList::Decode(raw.data(), raw.size(), written, &list));
  for (const BssEntry& e : list.entries) EXPECT_LE(e.channel, 11);
}

TEST(SimFaults, EachFaultShowsAtTheRequestItTargets) {
  sim::SimEnvironment env = OneCard();
  auto& faults = env.adapters[0].faults;
  faults.push_back({OID_PRIV_REG_DOMAIN, sim::SimFault::Kind::Fail, 31});
  faults.push_back({OID_PRIV_WEP, sim::SimFault::Kind::Length, 56});
  faults.push_back({OID_PRIV_VERSION, sim::SimFault::Kind::Garbage, 0});
  faults.push_back({OID_PRIV_RADIO, sim::SimFault::Kind::Delay, 2000});
  SimMachine m(OsKind::WinXP, env);
  m.Enumerate();
  const AdapterEntry* a = m.link->Adapters()[0].get();

  std::uint8_t byte = 0;
  std::uint32_t written = 77;
  EXPECT_FALSE(m.link->Query(a, OID_PRIV_REG_DOMAIN, &byte, 1, &written));
  EXPECT_EQ(77u, written);
  EXPECT_TRUE(QueryByte(*m.link, a, OID_PRIV_CARD_TYPE, &byte));  // others answer as ever

  std::array<std::uint8_t, WepConfig::kSize> wep{};
  ASSERT_TRUE(m.link->Query(a, OID_PRIV_WEP, wep.data(), wep.size(), &written));
  EXPECT_EQ(56u, written);
  EXPECT_FALSE(QueryExact(*m.link, a, OID_PRIV_WEP, wep.data(), wep.size()));

  std::array<std::uint8_t, VersionInfo::kSize> first{}, second{};
  ASSERT_TRUE(QueryExact(*m.link, a, OID_PRIV_VERSION, first.data(), first.size()));
  ASSERT_TRUE(QueryExact(*m.link, a, OID_PRIV_VERSION, second.data(), second.size()));
  EXPECT_NE(first, second);  // noise, not the version

  const std::uint32_t before = m.system.now;
  EXPECT_TRUE(QueryByte(*m.link, a, OID_PRIV_RADIO, &byte));
  EXPECT_EQ(before + 2000, m.system.now);
}

TEST(SimFaults, ForcedStatesAndRemovalAtTheNthRequest) {
  for (int forced : {12, 16, 18, 240}) {
    sim::SimEnvironment env = OneCard();
    env.adapters[0].forcedState = forced;
    SimMachine m(OsKind::WinXP, env);
    m.Enumerate();
    std::uint8_t state = 0;
    ASSERT_TRUE(QueryByte(*m.link, m.link->Adapters()[0].get(), OID_PRIV_DEVICE_STATE, &state));
    EXPECT_EQ(forced, state);
  }
  sim::SimEnvironment env = OneCard();
  env.adapters[0].removeAtRequest = 4;  // discovery's card-type question is the first
  SimMachine m(OsKind::WinXP, env);
  ASSERT_EQ(1u, m.Enumerate().size());
  const AdapterEntry* a = m.link->Adapters()[0].get();
  std::uint8_t state = 0;
  EXPECT_TRUE(QueryByte(*m.link, a, OID_PRIV_DEVICE_STATE, &state));
  EXPECT_TRUE(QueryByte(*m.link, a, OID_PRIV_DEVICE_STATE, &state));
  EXPECT_FALSE(QueryByte(*m.link, a, OID_PRIV_DEVICE_STATE, &state));
  EXPECT_FALSE(QueryByte(*m.link, a, OID_PRIV_DEVICE_STATE, &state));
  m.link->ResetChannel();
  EXPECT_TRUE(m.Enumerate().empty());
}

TEST(SimDriver, RegistryParametersSurviveARestart) {
  for (OsKind kind : {OsKind::NT4, OsKind::WinXP, OsKind::Win98Me}) {
    sim::SimEnvironment env = OneCard();
    env.adapters[0].parameters["ESSID"] = "Lighthouse";
    env.adapters[0].parameters["EncryptionLevel"] = "1";
    env.adapters[0].parameters["WEP_KEY_1"] = "123456789A";
    SimMachine m(kind, env);
    ASSERT_EQ(1u, m.Enumerate().size());
    m.system.Sleep(4000);
    const AdapterEntry* a = m.link->Adapters()[0].get();
    DeviceConfig c;
    ASSERT_TRUE(QueryDeviceConfig(*m.link, a, &c));
    EXPECT_EQ(5, c.state);
    EXPECT_EQ("Lighthouse", c.SsidBytes());
    // What the utility writes to the driver key is what the driver starts with next time.
    m.link->BuildDriverKeyPath();
    RegKey key = 0;
    ASSERT_EQ(kRegOk, m.registry.OpenKey(kRegLocalMachine, m.link->driverKeyPath, RegAccess::All, &key));
    const std::string essid = "Harbour";
    m.registry.SetValue(key, "ESSID", kRegSz, reinterpret_cast<const std::uint8_t*>(essid.data()),
                        static_cast<std::uint32_t>(essid.size()));
    m.registry.SetValue(key, "EncryptionLevel", kRegSz, reinterpret_cast<const std::uint8_t*>("0"), 1);
    m.registry.CloseKey(key);
    env.adapters[0].present = false;
    m.host->SetEnvironment(env);
    env.adapters[0].present = true;
    m.host->SetEnvironment(env);
    m.system.Sleep(4000);
    m.link->ResetChannel();
    ASSERT_TRUE(QueryDeviceConfig(*m.link, a, &c));
    EXPECT_EQ("Harbour", c.SsidBytes());
    EXPECT_EQ(5, c.state);
  }
}

TEST(SimDriver, RefusesMalformedSetsAndShortBuffers) {
  SimMachine m(OsKind::WinXP, OneCard());
  m.Enumerate();
  const AdapterEntry* a = m.link->Adapters()[0].get();
  DeviceConfig c;
  ASSERT_TRUE(QueryDeviceConfig(*m.link, a, &c));
  c.ssidLength = 33;
  EXPECT_FALSE(SetDeviceConfig(*m.link, a, c));
  c.ssidLength = 0;
  c.channel = 15;
  EXPECT_FALSE(SetDeviceConfig(*m.link, a, c));
  const auto raw = DeviceConfig().Encode();
  EXPECT_FALSE(m.link->Set(a, OID_PRIV_CONFIGURATION, raw.data(), 54));
  std::uint8_t small[10];
  std::uint32_t written = 0;
  EXPECT_FALSE(m.link->Query(a, OID_PRIV_CONFIGURATION, small, sizeof small, &written));
  EXPECT_FALSE(m.link->Query(a, 0xFF0000FF, small, sizeof small, &written));
}

}  // namespace
}  // namespace linkscope::testing
