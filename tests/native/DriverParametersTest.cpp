// The driver's registry parameters as each kind of Windows stores them.

#include <gtest/gtest.h>

#include "config/DriverParameters.h"
#include "device/DriverKeyValues.h"
#include "fakes/FakeWindowSystem.h"
#include "native/SimMachine.h"

namespace linkscope::testing {
namespace {

sim::SimEnvironment UsbCard() {
  sim::SimEnvironment env;
  env.adapters.push_back(Adapter("ORVEX USB Skyrelay (U1)", "SKYU1", 12, "USB\\VID_1915&PID_1"));
  return env;
}

DeviceConfig Config(std::uint8_t channel, const std::string& ssid) {
  DeviceConfig c;
  c.operatingMode = 1;
  c.channel = channel;
  c.SetSsid(ssid);
  c.txRate = 3;
  c.preamble = 2;
  c.fragThreshold = 2346;
  c.rtsThreshold = 2347;
  c.powerSave = 1;
  return c;
}

WepConfig Wep(std::uint8_t level) {
  WepConfig w;
  w.encryptionLevel = level;
  w.defaultKeyIndex = 2;
  w.wepMode = 1;
  w.authenticationType = 1;
  return w;
}

const std::array<std::string, 4> kKeys = {"0102030405", "AABBCCDDEE", "1111111111", "2222222222"};

class DriverParametersTest : public ::testing::Test {
 protected:
  void Boot(OsKind kind) {
    machine = std::make_unique<SimMachine>(kind, UsbCard());
    machine->Enumerate();
    ASSERT_TRUE(machine->link->SelectAdapter(0));
    parameters = std::make_unique<DriverParameters>(machine->registry, messages, *machine->link);
    machine->link->BuildDriverKeyPath();
    key = machine->link->driverKeyPath;
  }
  bool Read(const std::string& name, std::uint32_t* type, std::vector<std::uint8_t>* data,
            const std::string& below = "") {
    return machine->registry.ReadValue(kRegLocalMachine, key + below, name, type, data);
  }
  std::string Text(const std::string& name, const std::string& below = "") {
    std::uint32_t type = 0;
    std::vector<std::uint8_t> data;
    if (!Read(name, &type, &data, below)) return "<missing>";
    EXPECT_EQ(kRegSz, type) << name;
    return std::string(data.begin(), data.end());
  }

  FakeWindowSystem windows;
  DefaultTexts texts;
  Messages messages{windows, texts};
  std::unique_ptr<SimMachine> machine;
  std::unique_ptr<DriverParameters> parameters;
  std::string key;
};

TEST_F(DriverParametersTest, NumbersAreDwordsOnNt4AndPlainTextElsewhere) {
  Boot(OsKind::NT4);
  EXPECT_EQ('\\', key.back());
  ASSERT_TRUE(parameters->WriteAll(Config(6, "Lab"), Wep(0), 1, 0, kKeys));
  std::uint32_t type = 0;
  std::vector<std::uint8_t> data;
  ASSERT_TRUE(Read("Frag_Threshold", &type, &data));
  EXPECT_EQ(kRegDword, type);
  EXPECT_EQ((std::vector<std::uint8_t>{0x2A, 0x09, 0, 0}), data);
  EXPECT_EQ("Lab", Text("ESSID"));

  for (OsKind kind : {OsKind::Win2000, OsKind::WinXP, OsKind::Win98Me, OsKind::Win95}) {
    Boot(kind);
    ASSERT_TRUE(parameters->WriteAll(Config(6, "Lab"), Wep(0), 1, 0, kKeys));
    EXPECT_EQ("2346", Text("Frag_Threshold")) << static_cast<int>(kind);
    EXPECT_EQ("1", Text("Operating_Mode")) << static_cast<int>(kind);
  }
}

// The program and the simulated driver share the table of the key's values: on every kind of
// system each value is written in its kind, and the driver starts with what was written.
TEST_F(DriverParametersTest, EveryValueIsWrittenInItsKindAndTheDriverStartsWithIt) {
  DeviceConfig config = Config(11, "Lab");
  config.operatingMode = 0;
  config.preamble = 1;
  config.fragThreshold = 1000;
  config.rtsThreshold = 500;
  WepConfig wep = Wep(1);
  wep.keys = {{{1, 2, 3, 4, 5}, {0xAA, 0xBB, 0xCC, 0xDD, 0xEE}, {0x11, 0x11, 0x11, 0x11, 0x11},
               {0x22, 0x22, 0x22, 0x22, 0x22}}};
  for (OsKind kind : {OsKind::NT4, OsKind::WinXP, OsKind::Win98Me}) {
    Boot(kind);
    RegKey k = 0;
    ASSERT_EQ(kRegOk, machine->registry.OpenKey(kRegLocalMachine, key, RegAccess::All, &k));
    for (const driverkey::Value& v : driverkey::kValues) machine->registry.DeleteValue(k, v.name);
    machine->registry.CloseKey(k);
    ASSERT_TRUE(parameters->WriteAll(config, wep, 0, 1, kKeys));
    for (const driverkey::Value& v : driverkey::kValues) {
      std::uint32_t type = 0;
      std::vector<std::uint8_t> data;
      ASSERT_TRUE(Read(v.name, &type, &data)) << v.name;
      const bool dword = kind == OsKind::NT4 && v.kind == driverkey::Kind::Number;
      EXPECT_EQ(dword ? kRegDword : kRegSz, type) << v.name;
    }
    sim::SimMiniport& driver = *machine->host->Miniport("SKYU1");
    driver.Start(&machine->registry, key, {});
    const auto settings = config.Encode(), started = driver.CurrentConfig().Encode();
    EXPECT_TRUE(std::equal(settings.begin(), settings.begin() + DeviceConfig::kOffsetBssid,
                           started.begin()));
    EXPECT_TRUE(wep == driver.Wep());
    EXPECT_EQ(0, driver.Radio());
    EXPECT_EQ(1, driver.Roaming());
  }
}

TEST_F(DriverParametersTest, ChannelsOutsideOneToFourteenAreNotWritten) {
  for (std::uint8_t channel : {0, 15}) {
    Boot(OsKind::Win2000);
    const std::string before = Text("Channel");
    ASSERT_TRUE(parameters->WriteAll(Config(channel, "Lab"), Wep(0), 1, 0, kKeys));
    EXPECT_EQ(before, Text("Channel"));
    EXPECT_EQ("3", Text("Rate"));
  }
  Boot(OsKind::Win2000);
  ASSERT_TRUE(parameters->WriteAll(Config(14, ""), Wep(0), 1, 0, kKeys));
  EXPECT_EQ("14", Text("Channel"));
  EXPECT_EQ("", Text("ESSID"));  // byte count 0
}

TEST_F(DriverParametersTest, KeysOnlyAtLevelsOneAndTwo) {
  Boot(OsKind::WinXP);
  ASSERT_TRUE(parameters->WriteAll(Config(6, "Lab"), Wep(1), 1, 0, kKeys));
  EXPECT_EQ("AABBCCDDEE", Text("WEP_KEY_2"));
  EXPECT_EQ("2", Text("WEP_KEY_INDEX"));
  EXPECT_EQ("1", Text("AuthenticationType"));

  const std::array<std::string, 4> other = {"9999999999", "9999999999", "9999999999", "9999999999"};
  WepConfig off = Wep(0);
  off.defaultKeyIndex = 0;
  ASSERT_TRUE(parameters->WriteAll(Config(6, "Lab"), off, 1, 0, other));
  EXPECT_EQ("0", Text("EncryptionLevel"));
  EXPECT_EQ("AABBCCDDEE", Text("WEP_KEY_2"));  // the older keys stay
  EXPECT_EQ("2", Text("WEP_KEY_INDEX"));
}

TEST_F(DriverParametersTest, Windows9xMirrorsIntoExistingParamKeysOnly) {
  Boot(OsKind::Win98Me);
  ASSERT_TRUE(parameters->WriteAll(Config(6, "Lab"), Wep(0), 1, 0, kKeys));
  EXPECT_EQ("3", Text("", "\\Ndi\\params\\Rate"));
  EXPECT_EQ("Lab", Text("", "\\Ndi\\params\\ESSID"));
  // A parameter whose copy key is missing gets no copy, and no key is created for it.
  RegKey k = 0;
  ASSERT_EQ(kRegOk, machine->registry.OpenKey(kRegLocalMachine, key + "\\Ndi\\params",
                                             RegAccess::All, &k));
  machine->registry.DeleteTree(k, "PreambleType");
  machine->registry.CloseKey(k);
  ASSERT_TRUE(parameters->WriteAll(Config(6, "Lab"), Wep(0), 1, 0, kKeys));
  EXPECT_FALSE(machine->registry.HasKey(kRegLocalMachine, key + "\\Ndi\\params\\PreambleType"));
  EXPECT_EQ("2", Text("PreambleType"));

  Boot(OsKind::Win2000);
  ASSERT_TRUE(parameters->WriteAll(Config(6, "Lab"), Wep(0), 1, 0, kKeys));
  EXPECT_FALSE(machine->registry.HasKey(kRegLocalMachine, key + "\\Ndi"));
}

TEST_F(DriverParametersTest, NothingIsWrittenWhereThereIsNoDriverKey) {
  Boot(OsKind::OtherNt);
  int writes = 0;
  machine->registry.failHook = [&](const char* op) {
    if (std::string(op) == "SetValue" || std::string(op) == "CreateKey") ++writes;
    return 0L;
  };
  EXPECT_FALSE(parameters->WriteAll(Config(6, "Lab"), Wep(1), 1, 0, kKeys));
  EXPECT_FALSE(parameters->Open());
  parameters->WriteNumber("Rate", 3);
  parameters->WriteText("ESSID", "Lab");
  EXPECT_EQ(0, writes);
}

TEST_F(DriverParametersTest, ReadTextGivesHexForNumbersAndReportsFailures) {
  Boot(OsKind::WinXP);
  machine->registry.WriteValue(kRegLocalMachine, "Software\\Test", "Number", kRegDword,
                               {1, 0, 0, 0});
  machine->registry.WriteValue(kRegLocalMachine, "Software\\Test", "Text", kRegSz,
                               {'a', 'b', 'c', 0});
  EXPECT_EQ("00000001", parameters->ReadText("Software\\Test", "Number"));
  EXPECT_EQ("abc", parameters->ReadText("Software\\Test", "Text"));
  EXPECT_TRUE(windows.messages.empty());
  EXPECT_EQ("ERROR", parameters->ReadText("Software\\Missing", "Text"));
  EXPECT_EQ("Failed to open the registry key!Software\\Missing", windows.messages.back().text);
  EXPECT_EQ("ERROR", parameters->ReadText("Software\\Test", "Nothing"));
  EXPECT_EQ("Failed to get value for this entry!Nothing", windows.messages.back().text);
  EXPECT_EQ(0u, machine->registry.OpenHandleCount());
}

TEST_F(DriverParametersTest, UseWzcsIsRecordedOnXpOnly) {
  Boot(OsKind::WinXP);
  parameters->WriteUseWzcs(true);
  EXPECT_EQ("1", Text("UseWZCS"));
  Boot(OsKind::Win2000);
  parameters->WriteUseWzcs(true);
  EXPECT_EQ("<missing>", Text("UseWZCS"));
}

}  // namespace
}  // namespace linkscope::testing
