// Adapter discovery and the driver key path, on simulated machines of each Windows family.

#include <gtest/gtest.h>

#include "device/Oids.h"
#include "fakes/ForwardingRequestLibrary.h"
#include "native/SimMachine.h"

namespace linkscope::testing {
namespace {

using Names = std::vector<std::string>;

const char* kPcCard = "ORVEX PCMCIA Skyrelay (K1)";
const char* kUsb = "ORVEX USB Skyrelay (U1)";
const char* kPci = "ORVEX PCI Skyrelay";

sim::SimEnvironment MixedEnvironment() {
  sim::SimEnvironment env;
  env.adapters.push_back(Adapter("Generic Fast Ethernet Adapter", "GENE1", 0, "PCI\\VEN_10EC"));
  env.adapters.back().wireless = false;
  env.adapters.push_back(Adapter(kPcCard, "SKYK1", 12, "PCMCIA\\ORVEX-K1-5D2A"));
  env.adapters.push_back(Adapter(kUsb, "SKYU1", 3, "USB\\VID_1915&PID_2233"));
  return env;
}

struct KindCase {
  const char* name;
  OsKind kind;
  const char* expectedDriverKey;
};

class DiscoveryPerKind : public ::testing::TestWithParam<KindCase> {};

TEST_P(DiscoveryPerKind, FindsTheAcceptedAdaptersAndTheirDriverKey) {
  SimMachine m(GetParam().kind, MixedEnvironment());
  ASSERT_TRUE(m.installed);
  m.probe.ports["ORVEX-K1-5D2A"] = 0x300;
  m.probe.words[0x300] = 0x0021;
  EXPECT_EQ((Names{kPcCard, kUsb}), m.Enumerate());
  ASSERT_TRUE(m.link->SelectAdapter(0));
  m.link->BuildDriverKeyPath();
  EXPECT_EQ(GetParam().expectedDriverKey, m.link->driverKeyPath);
  // The path names the key the installer wrote the driver's parameters to.
  std::string key = m.link->driverKeyPath;
  if (!key.empty() && key.back() == '\\') key.pop_back();
  std::uint32_t type = 0;
  std::vector<std::uint8_t> data;
  EXPECT_TRUE(m.registry.ReadValue(kRegLocalMachine, key, "EncryptionLevel", &type, &data));
}

INSTANTIATE_TEST_SUITE_P(
    Kinds, DiscoveryPerKind,
    ::testing::Values(
        KindCase{"WinXP", OsKind::WinXP,
                 "System\\CurrentControlSet\\Control\\Class\\"
                 "{4D36E972-E325-11CE-BFC1-08002BE10318}\\0001"},
        KindCase{"Win2000", OsKind::Win2000,
                 "System\\CurrentControlSet\\Control\\Class\\"
                 "{4D36E972-E325-11CE-BFC1-08002BE10318}\\0001"},
        KindCase{"NT4", OsKind::NT4, "System\\CurrentControlSet\\Services\\SKYK1\\Parameters\\"},
        KindCase{"Win95", OsKind::Win95, "System\\CurrentControlSet\\Services\\Class\\Net\\0001"},
        KindCase{"Win98", OsKind::Win98Me, "System\\CurrentControlSet\\Services\\Class\\Net\\0001"}),
    [](const ::testing::TestParamInfo<KindCase>& info) { return std::string(info.param.name); });

TEST(Discovery, TheFirstMissingIndexEndsTheWalk) {
  sim::SimEnvironment env;
  env.adapters.push_back(Adapter(kPcCard, "SKYA", 12));
  env.adapters.push_back(Adapter(kUsb, "SKYB", 12));
  env.adapters.push_back(Adapter(kPci, "SKYC", 12));
  SimMachine m(OsKind::WinXP, env);
  ASSERT_EQ(0, m.registry.DeleteTree(kRegLocalMachine, m.library->GetNetCardRegistryPath() + "\\0001"));
  EXPECT_EQ((Names{kPcCard}), m.Enumerate());
}

TEST(Discovery, DescriptionsAreMatchedExactlyAndUnmatchedAdaptersSkipped) {
  sim::SimEnvironment env;
  env.adapters.push_back(Adapter("orvex usb skyrelay (u1)", "SKYA", 12));
  env.adapters.push_back(Adapter(kUsb, "SKYB", 12));
  env.adapters.push_back(Adapter(kPci, "SKYC", 12));
  SimMachine m(OsKind::Win2000, env);
  EXPECT_EQ((Names{kUsb, kPci}), m.Enumerate());
  EXPECT_EQ((Names{kPci}), m.Enumerate({"Something else", kPci}));
  EXPECT_TRUE(m.Enumerate({}).empty());
}

TEST(Discovery, CardTypesDecideAcceptance) {
  sim::SimEnvironment env;
  const std::vector<std::uint8_t> types = {4, 1, 14, 18, 12, 19};
  for (std::size_t i = 0; i < types.size(); ++i) {
    env.adapters.push_back(Adapter(kUsb, "SKY" + std::to_string(i), types[i]));
  }
  // 14 to 18 count whatever byte count comes with them; others need exactly one byte.
  env.adapters[3].faults.push_back({OID_PRIV_CARD_TYPE, sim::SimFault::Kind::Length, 4});
  env.adapters[4].faults.push_back({OID_PRIV_CARD_TYPE, sim::SimFault::Kind::Length, 0});
  SimMachine m(OsKind::WinXP, env);
  m.Enumerate();
  std::vector<std::string> services;
  for (const auto& e : m.link->Adapters()) services.push_back(e->ServiceName());
  EXPECT_EQ((Names{env.adapters[1].InstanceId(), env.adapters[2].InstanceId(),
                   env.adapters[3].InstanceId()}),
            services);
}

TEST(Discovery, AnAdapterThatCannotBeOpenedOrAnswerIsSkipped) {
  sim::SimEnvironment env;
  env.adapters.push_back(Adapter(kUsb, "SKYA", 12));
  env.adapters.push_back(Adapter(kPci, "SKYB", 12));
  env.adapters.push_back(Adapter(kPcCard, "SKYC", 12));
  env.adapters[0].present = false;
  env.adapters[1].faults.push_back({OID_PRIV_CARD_TYPE, sim::SimFault::Kind::Fail, 31});
  SimMachine m(OsKind::WinXP, env);
  EXPECT_EQ((Names{kPcCard}), m.Enumerate());
  // The handles discovery opened for its questions are closed again, and so is the channel.
  EXPECT_EQ(0u, m.host->OpenHandleCount());
}

TEST(Discovery, RequestsAfterTheWalkGoToTheAdapterTheyName) {
  sim::SimEnvironment env;
  env.adapters.push_back(Adapter(kUsb, "SKYA", 4));  // asked first, then rejected
  env.adapters.push_back(Adapter(kPci, "SKYB", 13));
  SimMachine m(OsKind::WinXP, env);
  ASSERT_EQ((Names{kPci}), m.Enumerate());
  std::uint8_t cardType = 0;
  std::uint32_t written = 0;
  ASSERT_TRUE(m.link->Query(m.link->Adapters()[0].get(), OID_PRIV_CARD_TYPE, &cardType, 1, &written));
  EXPECT_EQ(13, cardType);
}

TEST(Discovery, NtNeedsTheNetworkCardsKey) {
  SimMachine m(OsKind::NT4, MixedEnvironment());
  ASSERT_EQ(0, m.registry.DeleteTree(kRegLocalMachine, kNetworkCardsKey));
  EXPECT_TRUE(m.Enumerate().empty());
}

// A request library that says the system is not of the Windows 95 family, whatever it is.
class NotWindows95 : public ForwardingRequestLibrary {
 public:
  using ForwardingRequestLibrary::ForwardingRequestLibrary;
  bool IsWindows95() override { return false; }
};

TEST(Discovery, Windows9xChecksTheRegisteredHardwareAndThePcCardSlot) {
  sim::SimEnvironment env;
  env.adapters.push_back(Adapter(kUsb, "SKYA", 12, ""));                      // unregistered
  env.adapters.push_back(Adapter(kUsb, "SKYB", 12, "USB\\VID_1915&PID_1"));   // no port check
  env.adapters.push_back(Adapter(kPcCard, "SKYC", 12, "PCMCIA\\ORVEX-EMPTY"));  // slot empty
  env.adapters.push_back(Adapter(kPcCard, "SKYD", 12, "PCMCIA\\ORVEX-HERE"));
  env.adapters.push_back(Adapter(kPcCard, "SKYE", 12, "PCMCIA"));  // no identifier at all
  for (OsKind kind : {OsKind::Win95, OsKind::Win98Me}) {
    SCOPED_TRACE(static_cast<int>(kind));
    SimMachine m(kind, env);
    m.probe.ports["ORVEX-EMPTY"] = 0x320;  // reads 0xFFFF
    m.probe.ports["ORVEX-HERE"] = 0x340;
    m.probe.words[0x340] = 0x0100;
    EXPECT_EQ((Names{kUsb, kPcCard}), m.Enumerate());
    EXPECT_EQ("SKYB", m.host->Environment().adapters[1].serviceName);
    ASSERT_EQ(2u, m.link->Adapters().size());
    EXPECT_EQ("0001", m.link->Adapters()[0]->deviceName);
    EXPECT_EQ("0003", m.link->Adapters()[1]->deviceName);
    // Only PC cards are asked about; the last one asked with an empty identifier.
    EXPECT_EQ((Names{"ORVEX-EMPTY", "ORVEX-HERE", ""}), m.probe.asked);

    // A library that does not answer "Windows 95" skips the hardware checks: every adapter
    // counts as registered and none as a PC card, so the slot is never asked about.
    NotWindows95 library(*m.library);
    CAdapterLink link(library, m.system);
    link.SetOsKind(kind);
    m.probe.asked.clear();
    DiscoveryContext context{m.registry, m.probe};
    link.Enumerate(context, BuiltInDeviceDescriptions());
    EXPECT_EQ(5u, link.Adapters().size());
    EXPECT_TRUE(m.probe.asked.empty());
    EXPECT_EQ("", link.cardIdentifier);
  }
}

TEST(Discovery, ANewListNeverLeavesTheCurrentAdapterDangling) {
  sim::SimEnvironment env;
  env.adapters.push_back(Adapter(kUsb, "SKYA", 12));
  env.adapters.push_back(Adapter(kPci, "SKYB", 12));
  SimMachine m(OsKind::WinXP, env);
  m.Enumerate();
  ASSERT_TRUE(m.link->SelectAdapter(1));
  m.Enumerate();
  ASSERT_NE(nullptr, m.link->CurrentAdapter());
  EXPECT_EQ(kPci, m.link->CurrentAdapter()->DisplayName());
  m.Enumerate({kUsb});
  EXPECT_EQ(nullptr, m.link->CurrentAdapter());
}

TEST(Installer, RemovesOnlyItsOwnKeysAndInstallsAroundForeignOnes) {
  for (OsKind kind : {OsKind::WinXP, OsKind::NT4, OsKind::Win98Me}) {
    SimMachine m(kind);
    const std::string cardsOrClass = m.library->GetNetCardRegistryPath() + "\\" +
                                     sim::AdapterSubkeyName(m.family, 0);
    m.registry.WriteValue(kRegLocalMachine, cardsOrClass, "DriverDesc", kRegSz, {'x', 0});
    m.registry.WriteValue(kRegLocalMachine, cardsOrClass, "Description", kRegSz, {'x', 0});
    std::string error;
    ASSERT_TRUE(sim::InstallAdapters(m.registry, m.family, MixedEnvironment(), &error)) << error;
    const std::string ours = m.library->GetNetCardRegistryPath() + "\\" +
                             sim::AdapterSubkeyName(m.family, 1);
    EXPECT_TRUE(m.registry.HasKey(kRegLocalMachine, ours));
    // Installing again replaces the earlier install instead of adding to it.
    ASSERT_TRUE(sim::InstallAdapters(m.registry, m.family, MixedEnvironment(), &error)) << error;
    EXPECT_FALSE(m.registry.HasKey(kRegLocalMachine, m.library->GetNetCardRegistryPath() + "\\" +
                                                         sim::AdapterSubkeyName(m.family, 4)));
    ASSERT_TRUE(sim::RemoveAdapters(m.registry, m.family, &error)) << error;
    EXPECT_TRUE(m.registry.HasKey(kRegLocalMachine, cardsOrClass));
    EXPECT_FALSE(m.registry.HasKey(kRegLocalMachine, ours));
    EXPECT_FALSE(m.registry.HasKey(kRegLocalMachine, "System\\CurrentControlSet\\Services\\SKYK1"));
  }
}

TEST(DriverKeyPath, LeftAsItWasWithoutAPathForTheKind) {
  SimMachine m(OsKind::OtherNt, MixedEnvironment());
  m.link->driverKeyPath = "previous";
  m.link->BuildDriverKeyPath();  // nothing current
  EXPECT_EQ("previous", m.link->driverKeyPath);
  m.Enumerate();
  ASSERT_TRUE(m.link->SelectAdapter(0));
  m.link->BuildDriverKeyPath();
  EXPECT_EQ("previous", m.link->driverKeyPath);
}

}  // namespace
}  // namespace linkscope::testing
