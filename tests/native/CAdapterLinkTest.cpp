#include <gtest/gtest.h>

#include <cstring>

#include "device/CAdapterLink.h"
#include "device/Oids.h"
#include "device/RecordQuery.h"
#include "fakes/FakeRequestLibrary.h"
#include "fakes/FakeSystem.h"

namespace linkscope {
namespace {

std::unique_ptr<AdapterEntry> MakeAdapter(const std::string& service, int index) {
  auto entry = std::make_unique<AdapterEntry>();
  entry->valid = true;
  std::snprintf(entry->registryInfo.displayName, kRegistryInfoTextSize, "Wireless %s",
                service.c_str());
  std::snprintf(entry->registryInfo.serviceName, kRegistryInfoTextSize, "%s", service.c_str());
  entry->SetIndex(index);
  entry->deviceName = "\\Device\\" + service;
  return entry;
}

class AdapterLinkTest : public ::testing::Test {
 protected:
  AdapterLinkTest() : link(library, system) {
    link.Adapters().push_back(MakeAdapter("WLAN1", 0));
    link.Adapters().push_back(MakeAdapter("WLAN2", 3));
    first = link.Adapters()[0].get();
    second = link.Adapters()[1].get();
    library.devices["\\Device\\WLAN1"] = 0x71;
    library.devices["\\Device\\WLAN2"] = 0x72;
  }

  FakeRequestLibrary library;
  FakeSystem system;
  CAdapterLink link;
  AdapterEntry* first;
  AdapterEntry* second;
};

TEST_F(AdapterLinkTest, FirstRequestOpensTheNamedAdapterAndLaterOnesReuseIt) {
  library.Answer(OID_PRIV_DEVICE_STATE, {5});
  std::uint8_t state = 0;
  std::uint32_t written = 0;
  ASSERT_TRUE(link.Query(second, OID_PRIV_DEVICE_STATE, &state, 1, &written));
  EXPECT_EQ(5, state);
  EXPECT_EQ(1u, written);
  EXPECT_EQ(std::vector<std::string>{"\\Device\\WLAN2"}, library.opens);

  // A request naming the other adapter still goes to the one already open.
  ASSERT_TRUE(link.Query(first, OID_PRIV_DEVICE_STATE, &state, 1, &written));
  ASSERT_TRUE(link.Set(first, OID_PRIV_RADIO, &state, 1));
  EXPECT_EQ(1u, library.opens.size());
  ASSERT_EQ(3u, library.calls.size());
  for (const auto& call : library.calls) EXPECT_EQ(0x72, call.handle);
}

TEST_F(AdapterLinkTest, OpenCreatesOneManualResetEventAndTheNtDeviceName) {
  std::uint32_t written = 0;
  std::uint8_t b = 0;
  ASSERT_TRUE(link.Query(first, OID_PRIV_RADIO, &b, 1, &written));
  ASSERT_TRUE(link.Query(first, OID_PRIV_RADIO, &b, 1, &written));
  EXPECT_EQ(1, system.eventsCreated);
  ASSERT_EQ(1u, system.openEvents.size());
  // Every request carries the channel's one event in its overlapped record.
  for (const auto& call : library.calls) {
    EXPECT_EQ(reinterpret_cast<void*>(*system.openEvents.begin()), call.event);
  }
  ASSERT_EQ(1u, system.dosNames.size());
  EXPECT_EQ(kDddRawTargetPath, system.dosNames[0].flags);
  EXPECT_EQ("WLAN1", system.dosNames[0].name);
  EXPECT_EQ("\\Device\\WLAN1", system.dosNames[0].target);
}

TEST_F(AdapterLinkTest, NoDeviceNameOutsideTheNtFamily) {
  library.windowsNT = false;
  std::uint8_t b = 0;
  std::uint32_t written = 0;
  ASSERT_TRUE(link.Query(first, OID_PRIV_RADIO, &b, 1, &written));
  EXPECT_TRUE(system.dosNames.empty());
}

TEST_F(AdapterLinkTest, FailedOpenFailsTheRequestAndIsRetriedNextTime) {
  library.devices.erase("\\Device\\WLAN1");
  std::uint8_t b = 0;
  std::uint32_t written = 1234;
  EXPECT_FALSE(link.Query(first, OID_PRIV_RADIO, &b, 1, &written));
  EXPECT_EQ(1234u, written);
  EXPECT_FALSE(link.Set(first, OID_PRIV_RADIO, &b, 1));
  EXPECT_FALSE(link.IsOpen());
  EXPECT_EQ(2u, library.opens.size());
  EXPECT_TRUE(library.calls.empty());

  library.devices["\\Device\\WLAN1"] = 0x71;
  library.Answer(OID_PRIV_RADIO, {1});
  EXPECT_TRUE(link.Query(first, OID_PRIV_RADIO, &b, 1, &written));
  EXPECT_EQ(3u, library.opens.size());
  EXPECT_TRUE(link.IsOpen());
}

TEST_F(AdapterLinkTest, FailedEventCreationClosesTheFreshHandle) {
  system.eventsWork = false;
  std::uint8_t b = 0;
  std::uint32_t written = 0;
  EXPECT_FALSE(link.Query(first, OID_PRIV_RADIO, &b, 1, &written));
  EXPECT_EQ(std::vector<AdapterHandle>{0x71}, library.closes);
  EXPECT_TRUE(library.open.empty());
  EXPECT_EQ(kNoAdapter, link.Handle());
  EXPECT_FALSE(link.IsOpen());
}

TEST_F(AdapterLinkTest, FailedRequestLeavesTheByteCountUntouched) {
  library.Fail(OID_PRIV_STATISTICS);
  std::uint8_t buffer[48];
  std::uint32_t written = 777;
  EXPECT_FALSE(link.Query(first, OID_PRIV_STATISTICS, buffer, sizeof buffer, &written));
  EXPECT_EQ(777u, written);
  EXPECT_TRUE(link.IsOpen());  // the channel stays open; only the request failed
}

TEST_F(AdapterLinkTest, RequestBlockCarriesTypeOidBufferAndLength) {
  DeviceConfig config;
  config.channel = 6;
  config.SetSsid("Lab");
  ASSERT_TRUE(SetDeviceConfig(link, first, config));
  ASSERT_EQ(1u, library.calls.size());
  const auto& call = library.calls[0];
  EXPECT_EQ(kRequestSet, call.type);
  EXPECT_EQ(OID_PRIV_CONFIGURATION, call.oid);
  EXPECT_EQ(55u, call.length);
  const auto raw = config.Encode();
  EXPECT_EQ(std::vector<std::uint8_t>(raw.begin(), raw.end()), call.sent);
}

TEST_F(AdapterLinkTest, CommandsCarryNoBufferAndStillReportTheOutcome) {
  for (std::uint32_t oid : {OID_PRIV_RESET, OID_PRIV_SURVEY_START, OID_PRIV_SURVEY_CANCEL,
                            OID_PRIV_STATISTICS_RESET}) {
    library.calls.clear();
    EXPECT_TRUE(SendCommand(link, first, oid));
    ASSERT_EQ(1u, library.calls.size());
    EXPECT_EQ(kRequestQuery, library.calls[0].type);
    EXPECT_FALSE(library.calls[0].hasBuffer);
    EXPECT_EQ(0u, library.calls[0].length);
    library.Fail(oid);
    EXPECT_FALSE(SendCommand(link, first, oid));
  }
}

TEST_F(AdapterLinkTest, LengthRuleTurnsAnyOtherByteCountIntoFailure) {
  DeviceConfig config;
  library.answers[OID_PRIV_CONFIGURATION] = {0, std::vector<std::uint8_t>(55, 1), 54};
  EXPECT_FALSE(QueryDeviceConfig(link, first, &config));
  library.answers[OID_PRIV_CONFIGURATION] = {0, std::vector<std::uint8_t>(55, 1), 56};
  EXPECT_FALSE(QueryDeviceConfig(link, first, &config));
  library.answers[OID_PRIV_CONFIGURATION] = {0, std::vector<std::uint8_t>(55, 1), 55};
  ASSERT_TRUE(QueryDeviceConfig(link, first, &config));
  EXPECT_EQ(1, config.channel);

  VersionInfo version;
  library.answers[OID_PRIV_VERSION] = {0, std::vector<std::uint8_t>(13, 2), 12};
  EXPECT_FALSE(QueryVersionInfo(link, first, &version));
  library.answers[OID_PRIV_VERSION] = {0, std::vector<std::uint8_t>(13, 2), 13};
  EXPECT_TRUE(QueryVersionInfo(link, first, &version));

  std::uint8_t b = 9;
  library.answers[OID_PRIV_REG_DOMAIN] = {0, {0x30, 0}, 2};
  EXPECT_FALSE(QueryByte(link, first, OID_PRIV_REG_DOMAIN, &b));
  library.answers[OID_PRIV_REG_DOMAIN] = {0, {0x30}, 0};
  EXPECT_FALSE(QueryByte(link, first, OID_PRIV_REG_DOMAIN, &b));
  EXPECT_EQ(9, b);

  std::uint32_t media = 7;
  library.Answer(OID_GEN_MEDIA_CONNECT_STATUS, {1, 0, 0, 0});
  ASSERT_TRUE(QueryMediaConnectStatus(link, first, &media));
  EXPECT_EQ(kMediaDisconnected, media);
  library.Answer(OID_GEN_MEDIA_CONNECT_STATUS, {1, 0});
  EXPECT_FALSE(QueryMediaConnectStatus(link, first, &media));
}

// The values the tick and the dialog keep for the current adapter: a one-byte answer is taken,
// any other byte count falls back (an empty domain to all channels, roaming to off, the radio
// to unsupported and on).
TEST_F(AdapterLinkTest, AdapterValuesFallBackOnAFailureOrAnotherByteCount) {
  struct Case {
    const char* what;
    struct FakeRequestLibrary::Answer answer;  // for the domain, roaming and radio alike
    std::uint8_t domain, roaming, radioSupported, radio;
  };
  const Case cases[] = {
      {"one byte", {0, {0x30}, 1}, 0x30, 0x30, 1, 0x30},
      {"one byte, zero", {0, {0}, 1}, 0x41, 0, 1, 0},
      {"two bytes", {0, {0x30, 0}, 2}, 0x41, 0, 0, 1},
      {"a byte written, none reported", {0, {0x30}, 0}, 0x41, 0, 0, 1},
      // An answer without bytes: nothing is copied, and the count is wrong.
      {"nothing", {0, {}, 0}, 0x41, 0, 0, 1},
      {"nothing, one reported", {0, {}, 1}, 0x41, 0, 1, 0},
      {"failed", {31, {0x30}, 1}, 0x41, 0, 0, 1},
  };
  ASSERT_TRUE(link.SelectAdapter(0));
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    for (std::uint32_t oid : {OID_PRIV_REG_DOMAIN, OID_PRIV_INTL_ROAMING, OID_PRIV_RADIO}) {
      library.answers[oid] = c.answer;
    }
    link.regulatoryDomain = 0x10;
    link.internationalRoaming = 7;
    link.radioSupported = 7;
    link.radio = 7;
    link.RefreshAdapterValues();
    EXPECT_EQ(c.domain, link.regulatoryDomain);
    EXPECT_EQ(c.roaming, link.internationalRoaming);
    EXPECT_EQ(c.radioSupported, link.radioSupported);
    EXPECT_EQ(c.radio, link.radio);
  }
}

TEST_F(AdapterLinkTest, ResetChannelClosesEverythingAndTheNextRequestOpensTheNamedAdapter) {
  std::uint8_t b = 0;
  std::uint32_t written = 0;
  ASSERT_TRUE(link.Query(first, OID_PRIV_RADIO, &b, 1, &written));
  link.ResetChannel();
  EXPECT_EQ(std::vector<AdapterHandle>{0x71}, library.closes);
  EXPECT_TRUE(system.openEvents.empty());
  EXPECT_FALSE(link.IsOpen());
  EXPECT_EQ(kNoAdapter, link.Handle());
  link.ResetChannel();  // closing a closed channel does nothing
  EXPECT_EQ(1u, library.closes.size());

  ASSERT_TRUE(link.Query(second, OID_PRIV_RADIO, &b, 1, &written));
  EXPECT_EQ("\\Device\\WLAN2", library.opens.back());
  EXPECT_EQ(0x72, library.calls.back().handle);
}

TEST_F(AdapterLinkTest, DestructionClosesAnOpenHandle) {
  {
    CAdapterLink local(library, system);
    std::uint8_t b = 0;
    std::uint32_t written = 0;
    ASSERT_TRUE(local.Query(first, OID_PRIV_RADIO, &b, 1, &written));
  }
  EXPECT_EQ(std::vector<AdapterHandle>{0x71}, library.closes);
  EXPECT_TRUE(system.openEvents.empty());
}

TEST_F(AdapterLinkTest, QueryOnHandleUsesTheGivenHandleAndStillOpensTheChannel) {
  library.devices["\\Device\\Probe"] = 0x99;
  const AdapterHandle own = library.OpenAdapter("\\Device\\Probe");
  library.Answer(OID_PRIV_CARD_TYPE, {12});
  std::uint8_t type = 0;
  std::uint32_t written = 0;
  ASSERT_TRUE(link.QueryOnHandle(own, second, OID_PRIV_CARD_TYPE, &type, 1, &written));
  EXPECT_EQ(12, type);
  EXPECT_EQ(0x99, library.calls.back().handle);
  EXPECT_TRUE(link.IsOpen());
  EXPECT_EQ(0x72, link.Handle());
}

TEST_F(AdapterLinkTest, WindowsConfigOnXpIsAnsweredLocallyWithoutAnAdapter) {
  link.SetOsKind(OsKind::WinXP);
  library.devices.clear();
  std::uint8_t flag = 0xEE;
  std::uint32_t written = 555;
  ASSERT_TRUE(link.Query(nullptr, OID_PRIV_WINDOWS_CONFIG, &flag, 1, &written));
  EXPECT_EQ(0, flag);
  EXPECT_EQ(555u, written);  // no caller reads the count on this path
  EXPECT_TRUE(library.opens.empty());
  EXPECT_TRUE(library.calls.empty());

  link.SetWindowsConfigCheck([] { return true; });
  ASSERT_TRUE(link.Query(first, OID_PRIV_WINDOWS_CONFIG, &flag, 1, &written));
  EXPECT_EQ(1, flag);
  EXPECT_TRUE(library.calls.empty());
}

TEST_F(AdapterLinkTest, WindowsConfigGoesToTheDriverOffXpAndAlwaysForSets) {
  library.Answer(OID_PRIV_WINDOWS_CONFIG, {1});
  std::uint8_t flag = 0;
  std::uint32_t written = 0;
  link.SetOsKind(OsKind::Win2000);
  ASSERT_TRUE(link.Query(first, OID_PRIV_WINDOWS_CONFIG, &flag, 1, &written));
  EXPECT_EQ(1u, library.calls.size());

  link.SetOsKind(OsKind::WinXP);
  ASSERT_TRUE(link.Set(first, OID_PRIV_WINDOWS_CONFIG, &flag, 1));
  EXPECT_EQ(2u, library.calls.size());
  EXPECT_EQ(kRequestSet, library.calls.back().type);
}

TEST_F(AdapterLinkTest, ResetAdapterWithoutAUsableAdapterDoesNothing) {
  link.ResetAdapter();  // no current adapter
  EXPECT_TRUE(library.opens.empty());
  library.devices.clear();
  ASSERT_TRUE(link.SelectAdapter(0));
  link.ResetAdapter();  // the adapter does not open
  EXPECT_TRUE(library.calls.empty());

  library.devices["\\Device\\WLAN1"] = 0x71;
  link.ResetAdapter();
  ASSERT_EQ(1u, library.calls.size());
  EXPECT_EQ(OID_PRIV_RESET, library.calls[0].oid);
  EXPECT_FALSE(library.calls[0].hasBuffer);
}

TEST(AdapterEntryTest, NamesAndIndexText) {
  AdapterEntry e;
  std::strcpy(e.registryInfo.altDisplayName, "Alternate");
  EXPECT_EQ("Alternate", e.DisplayName());
  std::strcpy(e.registryInfo.displayName, "Primary");
  EXPECT_EQ("Primary", e.DisplayName());
  // A text that fills its field without a terminator stops at the field's end.
  std::memset(e.registryInfo.serviceName, 'S', kRegistryInfoTextSize);
  EXPECT_EQ(std::string(kRegistryInfoTextSize, 'S'), e.ServiceName());
  e.SetIndex(7);
  EXPECT_EQ("0007", e.IndexText());
  e.SetIndex(12345);
  EXPECT_EQ("12345", e.IndexText());
}

}  // namespace
}  // namespace linkscope
