// The request protocol between the program and the adapter's driver, pinned to the numbers the
// driver uses. The program and the simulated driver share one header of OIDs, so a mistyped
// value there would pass every other test: every number below is written out, never taken
// from the program's headers.

#include <gtest/gtest.h>

#include <vector>

#include "device/CoreRecords.h"
#include "device/DeviceCodes.h"
#include "device/Oids.h"
#include "device/StatisticsRecord.h"
#include "device/SurveyRecords.h"
#include "device/WepConfig.h"
#include "native/SimMachine.h"
#include "platform/RequestLibrary.h"

namespace linkscope::testing {
namespace {

TEST(DriverProtocol, EveryOidRecordSizeAndCodeIsTheDriversOwn) {
  enum Use { kQuery = 1, kSet = 2, kBoth = 3 };
  struct Request {
    std::uint32_t oid;        // as the driver knows it
    std::uint32_t program;    // as the program sends it
    std::uint32_t length;     // the driver's record size
    std::size_t programSize;  // the size the program encodes and expects
    int use;
    bool exact;  // a query answers exactly `length` bytes
  };
  const Request requests[] = {
      {0xFF000002, OID_PRIV_CONFIGURATION, 55, DeviceConfig::kSize, kBoth, true},
      {0xFF000003, OID_PRIV_DEVICE_STATE, 1, kDeviceStateSize, kQuery, true},
      {0xFF000009, OID_PRIV_WEP, 57, WepConfig::kSize, kBoth, true},
      {0xFF00000B, OID_PRIV_RESET, 0, 0, kQuery, true},
      {0xFF000015, OID_PRIV_INTL_ROAMING, 1, kOneByteSize, kBoth, true},
      {0xFF000016, OID_PRIV_ROAMING_CHANNELS, 14, kRoamingChannelsSize, kQuery, true},
      {0xFF000017, OID_PRIV_RADIO, 1, kOneByteSize, kBoth, true},
      {0xFF000018, OID_PRIV_WINDOWS_CONFIG, 1, kOneByteSize, kBoth, true},
      {0xFF000021, OID_PRIV_ALL_SETTINGS, 127, AllSettings::kSize, kBoth, true},
      {0xFF010001, OID_PRIV_CARD_TYPE, 1, kOneByteSize, kQuery, true},
      {0xFF010004, OID_PRIV_SURVEY_START, 0, 0, kQuery, true},
      {0xFF010005, OID_PRIV_SURVEY_LIST, 1380, BssList::kBufferSize, kQuery, false},
      {0xFF010006, OID_PRIV_SURVEY_STATE, 1, kOneByteSize, kQuery, true},
      {0xFF010008, OID_PRIV_SURVEY_CANCEL, 0, 0, kQuery, true},
      {0xFF01000A, OID_PRIV_VERSION, 13, VersionInfo::kSize, kQuery, true},
      {0xFF01000C, OID_PRIV_STATISTICS, 48, StatisticsRecord::kSize, kQuery, true},
      {0xFF01000D, OID_PRIV_STATISTICS_RESET, 0, 0, kQuery, true},
      {0xFF01000E, OID_PRIV_REG_DOMAIN, 1, kOneByteSize, kQuery, true},
      {0xFF020007, OID_PRIV_SELECT_BSS, 4, kSelectBssRequestSize, kSet, true},
      {0x00010114, OID_GEN_MEDIA_CONNECT_STATUS, 4, kMediaConnectStatusSize, kQuery, true},
      {0x01010102, OID_802_3_CURRENT_ADDRESS, 6, kMacAddressSize, kQuery, true},
  };

  // The simulated driver answers each OID, by its own number, with a record of its own size.
  sim::SimEnvironment env;
  env.adapters.push_back(Adapter("ORVEX USB Skyrelay (U1)", "SKYU1", 21));
  sim::SimNetwork network;
  network.ssid = "Harbour";
  network.channel = 6;
  network.bssid = {0x00, 0x40, 0x96, 0x00, 0x00, 0x01};
  env.networks.push_back(network);
  SimMachine m(OsKind::Win2000, env);
  ASSERT_EQ(1u, m.Enumerate().size());
  const AdapterEntry* adapter = m.link->Adapters()[0].get();
  // A finished survey, so that the list has an entry to join.
  std::uint32_t written = 0;
  ASSERT_TRUE(m.link->Query(adapter, 0xFF010004, nullptr, 0, &written));
  m.system.Sleep(10000);

  for (const Request& r : requests) {
    SCOPED_TRACE(::testing::Message() << std::hex << r.oid);
    EXPECT_EQ(r.oid, r.program);
    EXPECT_EQ(r.length, r.programSize);
    std::vector<std::uint8_t> record(r.length, 0);
    std::uint8_t* buffer = r.length == 0 ? nullptr : record.data();
    if (r.use & kQuery) {
      written = 0xDEAD;
      EXPECT_TRUE(m.link->Query(adapter, r.oid, buffer, r.length, &written));
      if (r.exact) {
        EXPECT_EQ(r.length, written);
      } else {
        EXPECT_EQ(46u, written) << "one whole entry of 46 bytes";
      }
    }
    if (r.use & kSet) {
      // Sent back as read (the join names entry 0): the driver takes its own record.
      EXPECT_TRUE(m.link->Set(adapter, r.oid, buffer, r.length));
      if (r.length > 0) {
        EXPECT_FALSE(m.link->Set(adapter, r.oid, buffer, r.length - 1)) << "a short record";
      }
    }
  }

  // The codes the driver reports and accepts.
  struct Code {
    std::uint32_t value;  // as the driver means it
    std::uint32_t program;
  };
  const Code codes[] = {
      {0, kRequestQuery},
      {1, kRequestSet},
      {0, kMediaConnected},
      {1, kMediaDisconnected},
      {0, DeviceState::kInitializing},
      {1, DeviceState::kScanning},
      {2, DeviceState::kJoining},
      {3, DeviceState::kAuthenticating},
      {4, DeviceState::kAssociating},
      {5, DeviceState::kAssociated},
      {6, DeviceState::kOutOfRange},
      {7, DeviceState::kDisassociating},
      {8, DeviceState::kDeauthenticating},
      {9, DeviceState::kReassociating},
      {10, DeviceState::kJoiningBssid},
      {11, DeviceState::kChangingConfiguration},
      {12, DeviceState::kUpgradingFirmware},
      {13, DeviceState::kFailedToJoin},
      {14, DeviceState::kResetting},
      {15, DeviceState::kResetting2},
      {16, DeviceState::kNotUsable},
      {18, DeviceState::kNotUsable2},
      {19, DeviceState::kRadioOff},
      {240, DeviceState::kGoingAway},
      {241, DeviceState::kManagementError},
      {1, SurveyState::kInProgress},
      {2, SurveyState::kComplete},
      {1, BssType::kAdHoc},
      {2, BssType::kInfrastructure},
      {0x41, kDomainAllChannels},
      {32, kSsidMaxLength},
      {46, BssEntry::kSize},
      {30, BssList::kMaxEntries},
      {260, kRegistryInfoTextSize},
  };
  for (std::size_t i = 0; i < sizeof codes / sizeof codes[0]; ++i) {
    EXPECT_EQ(codes[i].value, codes[i].program) << "row " << i;
  }
}

}  // namespace
}  // namespace linkscope::testing
