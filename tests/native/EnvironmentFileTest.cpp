// The environment file: what a good file gives, and where a bad one is refused.

#include <gtest/gtest.h>

#include "device/Oids.h"
#include "sim/EnvironmentFile.h"

namespace linkscope::sim {
namespace {

const char* kGood = R"json({
  "adapters": [
    {
      "displayName": "ORVEX PCMCIA Skyrelay (K1)",
      "serviceName": "SKYK1",
      "hardwareId": "PCMCIA\\ORVEX-K1-5D2A",
      "cardType": 12,
      "mac": "00-60-1d-12-34-56",
      "driverVersion": [2, 1, 0, 300],
      "firmwareVersion": [1, 7, 2, 65535],
      "regulatoryDomain": "0x30",
      "roamingChannels": [1, 2, 14],
      "faults": [
        {"oid": "0xFF000003", "fail": 31},
        {"oid": 4278255617, "bytes": 0},
        {"oid": "0xFF01000A", "garbage": true},
        {"oid": "0xFF000017", "delayMs": 250}
      ],
      "parameters": {"ESSID": "Harbour", "Channel": 11, "WEP_KEY_1": "0A0B0C0D0E"}
    },
    {"displayName": "Generic Ethernet", "serviceName": "E1", "type": "ethernet",
     "mac": "00-00-00-00-00-01", "present": false, "deviceState": 240, "removeAtRequest": 9}
  ],
  "networks": [
    {"bssid": "00-40-96-00-00-01", "ssid": "Harbour", "channel": 1, "signal": 80},
    {"bssid": "00-40-96-00-00-02", "ssidHex": "00410d", "channel": 14, "bssType": 7,
     "wep": {"key": "0102030405060708090a0b0c0d", "authentication": "shared"}},
    {"bssid": "00-40-96-00-00-03", "ssid": "", "channel": 3, "bssType": "adhoc"}
  ]
})json";

TEST(EnvironmentFile, AGoodFileGivesEveryField) {
  SimEnvironment env;
  EnvironmentError error;
  ASSERT_TRUE(ParseEnvironment(kGood, &env, &error)) << error.Describe();
  ASSERT_EQ(2u, env.adapters.size());
  const SimAdapterSetup& a = env.adapters[0];
  EXPECT_EQ("PCMCIA\\ORVEX-K1-5D2A", a.hardwareId);
  EXPECT_EQ(0x1D, a.mac[2]);
  EXPECT_EQ(300, a.driverVersion[3]);
  EXPECT_EQ(0x30, a.regulatoryDomain);
  EXPECT_EQ((std::array<std::uint8_t, 14>{1, 1, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 1}),
            a.roamingChannels);
  ASSERT_EQ(4u, a.faults.size());
  EXPECT_EQ(OID_PRIV_DEVICE_STATE, a.faults[0].oid);
  EXPECT_EQ(SimFault::Kind::Fail, a.faults[0].kind);
  EXPECT_EQ(OID_PRIV_CARD_TYPE, a.faults[1].oid);
  EXPECT_EQ(SimFault::Kind::Length, a.faults[1].kind);
  EXPECT_EQ(SimFault::Kind::Garbage, a.faults[2].kind);
  EXPECT_EQ(250u, a.faults[3].value);
  EXPECT_EQ("11", a.parameters.at("Channel"));
  EXPECT_FALSE(env.adapters[1].wireless);
  EXPECT_FALSE(env.adapters[1].present);
  EXPECT_EQ(240, env.adapters[1].forcedState);
  ASSERT_EQ(3u, env.networks.size());
  EXPECT_EQ(std::string("\x00\x41\x0D", 3), env.networks[1].ssid);
  EXPECT_EQ(7, env.networks[1].bssType);
  EXPECT_EQ(2, env.networks[1].wepLevel);
  EXPECT_EQ(1, env.networks[1].authentication);
  EXPECT_EQ(1, env.networks[2].bssType);
  EXPECT_TRUE(env.networks[2].ssid.empty());
}

struct BadCase {
  const char* text;
  std::size_t line;
  const char* field;
};

TEST(EnvironmentFile, BadFilesAreRefusedNamingLineAndField) {
  const BadCase cases[] = {
      {"{\n  \"adapters\": [\n    {\"displayName\": \"A\",\n     \"serviceName\": \"S\",\n"
       "     \"mac\": \"00-00-00-00-00-01\",\n     \"cardType\": 300}\n  ]\n}",
       6, "adapters[0].cardType"},
      {"{\"networks\": [\n{\"bssid\": \"00-00-00-00-00-01\", \"ssid\": \"x\",\n"
       " \"channel\": 0}]}",
       3, "networks[0].channel"},
      {"{\"networks\": [{\"bssid\": \"00-00-00-00-00-01\",\n"
       "\"ssid\": \"123456789012345678901234567890123\", \"channel\": 1}]}",
       2, "networks[0].ssid"},
      {"{\"networks\": [{\"bssid\": \"00-00-00-00-00-01\", \"ssid\": \"x\", \"channel\": 1,\n"
       "  \"wep\": {\"key\": \"0102\"}}]}",
       2, "networks[0].wep.key"},
      {"{\"adapters\": [{\"displayName\": \"A\", \"serviceName\": \"S\",\n"
       "\"mac\": \"00-00-00-00-00-01\", \"faults\": [{\"oid\": 1, \"fail\": 2, \"bytes\": 3}]}]}",
       2, "adapters[0].faults[0]"},
      {"{\"adapters\": [\n{\"displayName\": \"A\", \"serviceName\": \"S\", \"mac\": \"00-00-00-00-00-01\"},\n"
       "{\"displayName\": \"B\", \"serviceName\": \"s\", \"mac\": \"00-00-00-00-00-02\"}]}",
       3, "adapters[1].serviceName"},
      {"{\n\"adapter\": []}", 2, "adapter"},
      {"{\"adapters\": [\n\n  {\"displayName\": \"A\", \"mac\": \"00-00-00-00-00-01\"}]}", 3,
       "adapters[0].serviceName"},
      {"{\"adapters\": [{\"displayName\": \"A\", \"serviceName\": \"S\",\n"
       "\"mac\": \"00-00-00-00-00-01\", \"parameters\": {\"Frag_Threshold\": 100}}]}",
       2, "adapters[0].parameters.Frag_Threshold"},
      {"{\"adapters\": [{\"displayName\": \"A\", \"serviceName\": \"S %s\",\n"
       "\"mac\": \"00-00-00-00-00-01\"}]}",
       1, "adapters[0].serviceName"},
  };
  for (const BadCase& c : cases) {
    SimEnvironment env;
    env.networks.resize(5);
    EnvironmentError error;
    EXPECT_FALSE(ParseEnvironment(c.text, &env, &error)) << c.text;
    EXPECT_EQ(c.field, error.field) << error.Describe();
    EXPECT_EQ(c.line, error.line) << error.Describe();
    EXPECT_EQ(5u, env.networks.size()) << "a refused file changes nothing";
  }
}

TEST(EnvironmentFile, MalformedJsonNamesTheLine) {
  SimEnvironment env;
  EnvironmentError error;
  EXPECT_FALSE(ParseEnvironment("{\n  \"adapters\": [\n    {,}\n  ]\n}", &env, &error));
  EXPECT_EQ(3u, error.line);
  EXPECT_TRUE(error.field.empty());
  EXPECT_NE(std::string::npos, error.Describe().find("line 3"));
  EXPECT_FALSE(ParseEnvironment("", &env, &error));
  EXPECT_FALSE(ParseEnvironment("[1, 2]", &env, &error));
  EXPECT_FALSE(ParseEnvironment(std::string("{\"adapters\": [\0]}", 17), &env, &error));
}

std::string Repeated(const std::string& piece, std::size_t times) {
  std::string s;
  for (std::size_t i = 0; i < times; ++i) s += piece;
  return s;
}

// The parser keeps a path per level: a deep file must be refused at a fixed depth, not after
// memory that grows with the square of the depth (20 KB of '[' once took over a gigabyte).
TEST(EnvironmentFile, DeepNestingIsRefusedAtAFixedDepth) {
  struct Case {
    std::string text;
    std::size_t line;
    bool tooDeep;
  };
  const auto nested = [](std::size_t depth) {
    return "{\"adapters\":\n" + std::string(depth, '[') + std::string(depth, ']') + "}";
  };
  const Case cases[] = {
      {std::string(20000, '['), 1, true},
      {nested(3000), 2, true},
      {"\n\n" + Repeated("{\"a\":", 5000), 3, true},
      {nested(33), 2, true},
      // As deep as the file may go: refused by the checks, not for its depth.
      {nested(31), 2, false},
  };
  for (const Case& c : cases) {
    SimEnvironment env;
    env.networks.resize(2);
    EnvironmentError error;
    EXPECT_FALSE(ParseEnvironment(c.text, &env, &error)) << c.text.size();
    EXPECT_EQ(c.line, error.line) << error.Describe();
    EXPECT_EQ(c.tooDeep, error.Describe().find("nested more than 32 levels") != std::string::npos)
        << error.Describe();
    EXPECT_EQ(2u, env.networks.size());
  }
}

// A field's path is kept once, not once per element below it: a 60,000-character key over
// 20,000 numbers once took 1.26 GB. Long keys and lists still name their line and field.
TEST(EnvironmentFile, LongKeysAndListsNameTheirLineAndField) {
  const std::string key(60000, 'k');
  const std::string network = "{\"bssid\": \"00-00-00-00-00-01\", \"ssid\": \"x\", ";
  const struct {
    std::string text;
    std::size_t line;
    std::string field;
  } cases[] = {
      {"{\n\"" + key + "\": [1" + Repeated(",1", 19999) + "]}", 2, key},
      {"{\"networks\": [\n" + Repeated(network + "\"channel\": 1},\n", 500) + network +
           "\n\"channel\": 0}]}",
       503, "networks[500].channel"},
      {"{\"adapters\": [{\"displayName\": \"A\", \"serviceName\": \"S\",\n"
       "\"mac\": \"00-00-00-00-00-01\", \"parameters\": {\"ESSID\": \"x\",\n\"" + key + "\": 1}}]}",
       3, "adapters[0].parameters." + key},
  };
  for (const auto& c : cases) {
    SimEnvironment env;
    EnvironmentError error;
    EXPECT_FALSE(ParseEnvironment(c.text, &env, &error));
    EXPECT_EQ(c.field, error.field) << error.field.substr(0, 40);
    EXPECT_EQ(c.line, error.line) << error.field.substr(0, 40);
  }
}

TEST(EnvironmentFile, AccessPointsThatRefuseOrDoNotAnswer) {
  SimEnvironment env;
  EnvironmentError error;
  ASSERT_TRUE(ParseEnvironment(
      "{\"networks\": [{\"bssid\": \"00-40-96-0C-00-01\", \"ssid\": \"Crowded\", "
      "\"channel\": 5, \"refuses\": 37},\n"
      "{\"bssid\": \"00-40-96-0D-00-01\", \"ssid\": \"Silent\", \"channel\": 8, "
      "\"answersJoin\": false}]}",
      &env, &error))
      << error.Describe();
  ASSERT_EQ(2u, env.networks.size());
  EXPECT_EQ(37, env.networks[0].refusal);
  EXPECT_TRUE(env.networks[0].answersJoin);
  EXPECT_EQ(0, env.networks[1].refusal);
  EXPECT_FALSE(env.networks[1].answersJoin);
  EXPECT_FALSE(ParseEnvironment(
      "{\"networks\": [{\"bssid\": \"00-40-96-0C-00-01\", \"ssid\": \"X\", "
      "\"channel\": 5, \"refuses\": 70000}]}",
      &env, &error));
  EXPECT_EQ("networks[0].refuses", error.field);
}

}  // namespace
}  // namespace linkscope::sim
