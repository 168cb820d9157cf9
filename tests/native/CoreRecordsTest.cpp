#include <gtest/gtest.h>

#include <array>

#include "device/CoreRecords.h"

namespace linkscope {
namespace {

DeviceConfig SampleConfig() {
  DeviceConfig c;
  c.operatingMode = 1;
  c.channel = 14;
  c.SetSsid(std::string("\x00Lab\x1F", 5));
  c.txRate = 4;
  c.powerSave = 1;
  c.preamble = 2;
  c.fragThreshold = 2346;
  c.rtsThreshold = 2347;
  c.bssid = {0x00, 0x0D, 0xF0, 0xAB, 0xCD, 0xEF};
  c.state = 241;
  c.signal = -87;
  c.linkQuality = 200;
  c.managementStatus = 0xA1B2C3D4;
  return c;
}

TEST(DeviceConfigRecord, EveryFieldSitsAtItsOffsetLittleEndian) {
  const auto raw = SampleConfig().Encode();
  ASSERT_EQ(55u, raw.size());
  EXPECT_EQ(1, raw[0]);
  EXPECT_EQ(14, raw[1]);
  EXPECT_EQ(0x00, raw[2]);
  EXPECT_EQ('L', raw[3]);
  EXPECT_EQ(0x1F, raw[6]);
  EXPECT_EQ(0, raw[33]);
  EXPECT_EQ(5, raw[34]);
  EXPECT_EQ(4, raw[35]);
  EXPECT_EQ(1, raw[36]);
  EXPECT_EQ(2, raw[37]);
  EXPECT_EQ(0x2A, raw[38]);  // 2346 = 0x092A
  EXPECT_EQ(0x09, raw[39]);
  EXPECT_EQ(0x2B, raw[40]);  // 2347 = 0x092B
  EXPECT_EQ(0x09, raw[41]);
  EXPECT_EQ((std::array<std::uint8_t, 6>{0x00, 0x0D, 0xF0, 0xAB, 0xCD, 0xEF}),
            (std::array<std::uint8_t, 6>{raw[42], raw[43], raw[44], raw[45], raw[46], raw[47]}));
  EXPECT_EQ(241, raw[48]);
  EXPECT_EQ(0xA9, raw[49]);  // -87
  EXPECT_EQ(200, raw[50]);
  // The management status is four bytes at the odd offset 51.
  EXPECT_EQ(0xD4, raw[51]);
  EXPECT_EQ(0xC3, raw[52]);
  EXPECT_EQ(0xB2, raw[53]);
  EXPECT_EQ(0xA1, raw[54]);
}

TEST(DeviceConfigRecord, RoundTripsAtTheLimits) {
  for (std::uint32_t status : {0u, 1u, 0x80000000u, 0xFFFFFFFFu}) {
    DeviceConfig c = SampleConfig();
    c.managementStatus = status;
    c.fragThreshold = status ? 0xFFFF : 0;
    c.rtsThreshold = status ? 0 : 0xFFFF;
    c.signal = status ? -128 : 127;
    c.SetSsid(std::string(32, static_cast<char>(0xFF)));
    const auto raw = c.Encode();
    DeviceConfig back;
    ASSERT_TRUE(DeviceConfig::Decode(raw.data(), raw.size(), &back));
    EXPECT_EQ(c, back);
    EXPECT_EQ(status, back.managementStatus);
    EXPECT_EQ(c.signal, back.signal);
    EXPECT_EQ(32u, back.SsidBytes().size());
  }
}

TEST(DeviceConfigRecord, WrongLengthIsRefusedAndLeavesTheOutputAlone) {
  const auto raw = SampleConfig().Encode();
  DeviceConfig out;
  out.channel = 77;
  EXPECT_FALSE(DeviceConfig::Decode(raw.data(), 54, &out));
  EXPECT_FALSE(DeviceConfig::Decode(raw.data(), 56, &out));
  EXPECT_FALSE(DeviceConfig::Decode(nullptr, 55, &out));
  EXPECT_EQ(77, out.channel);
}

TEST(DeviceConfigRecord, SsidLengthAboveThirtyTwoGivesNoSsid) {
  auto raw = SampleConfig().Encode();
  raw[34] = 33;
  DeviceConfig c;
  ASSERT_TRUE(DeviceConfig::Decode(raw.data(), raw.size(), &c));
  EXPECT_EQ(33, c.ssidLength);
  EXPECT_EQ("", c.SsidBytes());
  raw[34] = 255;
  ASSERT_TRUE(DeviceConfig::Decode(raw.data(), raw.size(), &c));
  EXPECT_EQ("", c.SsidBytes());
}

TEST(DeviceConfigRecord, SsidKeepsRawBytesAndRefusesMoreThanThirtyTwo) {
  DeviceConfig c;
  EXPECT_TRUE(c.SetSsid(std::string("a\0b", 3)));
  EXPECT_EQ(std::string("a\0b", 3), c.SsidBytes());
  EXPECT_TRUE(c.SetSsid(""));
  EXPECT_EQ(0, c.ssidLength);
  EXPECT_TRUE(c.SetSsid("abc"));
  EXPECT_FALSE(c.SetSsid(std::string(33, 'x')));
  EXPECT_EQ("abc", c.SsidBytes());
}

TEST(AllSettingsRecord, ConfigWepRoamingRadioAndSpareBytesKeepTheirPlaces) {
  AllSettings s;
  s.config = SampleConfig();
  for (std::size_t i = 0; i < s.wep.size(); ++i) s.wep[i] = static_cast<std::uint8_t>(0x80 + i);
  s.intlRoaming = 1;
  s.radio = 0;
  for (std::size_t i = 0; i < s.reserved.size(); ++i) s.reserved[i] = static_cast<std::uint8_t>(i + 1);
  const auto raw = s.Encode();
  ASSERT_EQ(127u, raw.size());
  const auto config = s.config.Encode();
  EXPECT_TRUE(std::equal(config.begin(), config.end(), raw.begin()));
  EXPECT_EQ(0x80, raw[55]);
  EXPECT_EQ(0x80 + 56, raw[111]);
  EXPECT_EQ(1, raw[112]);
  EXPECT_EQ(0, raw[113]);
  EXPECT_EQ(1, raw[114]);
  EXPECT_EQ(13, raw[126]);

  AllSettings back;
  ASSERT_TRUE(AllSettings::Decode(raw.data(), raw.size(), &back));
  EXPECT_EQ(raw, back.Encode());
  EXPECT_FALSE(AllSettings::Decode(raw.data(), 126, &back));
  EXPECT_FALSE(AllSettings::Decode(raw.data(), 128, &back));
}

TEST(VersionInfoRecord, FieldsAtOddOffsetsRoundTrip) {
  VersionInfo v;
  v.driver1 = 7;
  v.driver2 = 2;
  v.driver3 = 255;
  v.driver4 = 0xBEEF;
  v.firmware = {1, 0x0102, 0xFFFF, 0x8000};
  const auto raw = v.Encode();
  ASSERT_EQ(13u, raw.size());
  EXPECT_EQ(7, raw[0]);
  EXPECT_EQ(2, raw[1]);
  EXPECT_EQ(255, raw[2]);
  EXPECT_EQ(0xEF, raw[3]);
  EXPECT_EQ(0xBE, raw[4]);
  EXPECT_EQ(0x01, raw[5]);
  EXPECT_EQ(0x00, raw[6]);
  EXPECT_EQ(0x02, raw[7]);
  EXPECT_EQ(0x01, raw[8]);
  EXPECT_EQ(0xFF, raw[9]);
  EXPECT_EQ(0xFF, raw[10]);
  EXPECT_EQ(0x00, raw[11]);
  EXPECT_EQ(0x80, raw[12]);
  VersionInfo back;
  ASSERT_TRUE(VersionInfo::Decode(raw.data(), raw.size(), &back));
  EXPECT_EQ(raw, back.Encode());
  EXPECT_FALSE(VersionInfo::Decode(raw.data(), 12, &back));
  EXPECT_FALSE(VersionInfo::Decode(raw.data(), 14, &back));
}

}  // namespace
}  // namespace linkscope
