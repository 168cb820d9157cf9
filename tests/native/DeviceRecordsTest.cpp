// The WEP, statistics and site-survey records: exact sizes, offsets and the reading rules.

#include <gtest/gtest.h>

#include <vector>

#include "device/StatisticsRecord.h"
#include "device/SurveyRecords.h"
#include "device/WepConfig.h"

namespace linkscope {
namespace {

TEST(WepConfigRecord, FieldsSitAtTheirOffsetsAndRoundTrip) {
  WepConfig w;
  w.defaultKeyIndex = 3;
  w.wepMode = 1;
  w.authenticationType = 0x0102;
  w.encryptionLevel = 2;
  for (std::size_t k = 0; k < 4; ++k) {
    for (std::size_t i = 0; i < 13; ++i) w.keys[k][i] = static_cast<std::uint8_t>(k * 16 + i);
  }
  const auto raw = w.Encode();
  ASSERT_EQ(57u, raw.size());
  EXPECT_EQ(3, raw[0]);
  EXPECT_EQ(1, raw[1]);
  EXPECT_EQ(0x02, raw[2]);
  EXPECT_EQ(0x01, raw[3]);
  EXPECT_EQ(2, raw[4]);
  EXPECT_EQ(0x00, raw[5]);    // key 1, first byte
  EXPECT_EQ(0x10, raw[18]);   // key 2
  EXPECT_EQ(0x20, raw[31]);   // key 3
  EXPECT_EQ(0x30, raw[44]);   // key 4
  EXPECT_EQ(0x3C, raw[56]);   // key 4, last byte
  WepConfig back;
  ASSERT_TRUE(WepConfig::Decode(raw.data(), raw.size(), &back));
  EXPECT_EQ(w, back);
}

TEST(WepConfigRecord, OnlyExactly57BytesDecode) {
  std::vector<std::uint8_t> raw(58, 0);
  WepConfig w;
  EXPECT_FALSE(WepConfig::Decode(raw.data(), 56, &w));
  EXPECT_FALSE(WepConfig::Decode(raw.data(), 58, &w));
  EXPECT_TRUE(WepConfig::Decode(raw.data(), 57, &w));
  EXPECT_EQ(5u, WepConfig::KeyLengthOfLevel(1));
  EXPECT_EQ(13u, WepConfig::KeyLengthOfLevel(2));
  EXPECT_EQ(0u, WepConfig::KeyLengthOfLevel(3));
}

TEST(StatisticsRecordLayout, TwelveLittleEndianCountersRejectedRxBeforeTx) {
  StatisticsRecord s;
  for (std::size_t i = 0; i < 12; ++i) s.counters[i] = 0x01000000u * static_cast<std::uint32_t>(i) + 7;
  s.counters[StatisticsRecord::kRxRejected] = 0xFFFFFFFF;
  s.counters[StatisticsRecord::kTxRejected] = 0x80000000;
  const auto raw = s.Encode();
  ASSERT_EQ(48u, raw.size());
  EXPECT_EQ(0xFF, raw[32]);
  EXPECT_EQ(0x00, raw[40]);
  EXPECT_EQ(0x80, raw[43]);
  EXPECT_EQ(7, raw[44]);
  EXPECT_EQ(11, raw[47]);
  StatisticsRecord back;
  ASSERT_TRUE(StatisticsRecord::Decode(raw.data(), raw.size(), &back));
  EXPECT_EQ(s.counters, back.counters);
  EXPECT_FALSE(StatisticsRecord::Decode(raw.data(), 47, &back));
}

BssEntry SampleEntry(std::uint8_t tag) {
  BssEntry e;
  e.channel = 14;
  e.SetSsid(std::string("\x00Odd\x07", 5));
  e.bssid = {0x00, 0x60, 0x1D, 0xAA, 0xBB, tag};
  e.rssi = -80;
  e.wep = 1;
  e.reserved = {9, 8, 7};
  e.bssType = 2;
  return e;
}

TEST(BssEntryRecord, FieldsSitAtTheirOffsets) {
  std::uint8_t raw[BssEntry::kSize];
  SampleEntry(0x42).EncodeTo(raw);
  EXPECT_EQ(14, raw[0]);
  EXPECT_EQ(0x00, raw[1]);
  EXPECT_EQ('O', raw[2]);
  EXPECT_EQ(0x07, raw[5]);
  EXPECT_EQ(5, raw[33]);
  EXPECT_EQ(0x00, raw[34]);
  EXPECT_EQ(0x42, raw[39]);
  EXPECT_EQ(0xB0, raw[40]);  // -80
  EXPECT_EQ(1, raw[41]);
  EXPECT_EQ(9, raw[42]);
  EXPECT_EQ(2, raw[45]);
  BssEntry back;
  ASSERT_TRUE(BssEntry::Decode(raw, sizeof raw, &back));
  EXPECT_EQ(std::string("\x00Odd\x07", 5), back.SsidBytes());
  EXPECT_EQ(-80, back.rssi);
}

TEST(BssEntryRecord, AnSsidLengthAbove32NeverReadsPastTheField) {
  std::uint8_t raw[BssEntry::kSize] = {};
  for (int i = 1; i <= 32; ++i) raw[i] = 'A';
  raw[33] = 200;
  raw[34] = 'X';  // the BSSID must not leak into the name
  BssEntry e;
  ASSERT_TRUE(BssEntry::Decode(raw, sizeof raw, &e));
  EXPECT_EQ(std::string(32, 'A'), e.SsidBytes());
  EXPECT_FALSE(e.SetSsid(std::string(33, 'B')));
}

TEST(BssListRecord, CountFollowsTheReportedLength) {
  std::vector<std::uint8_t> raw(BssList::kBufferSize + 1, 0);
  BssList list;
  for (std::size_t i = 0; i < 30; ++i) SampleEntry(static_cast<std::uint8_t>(i)).EncodeTo(raw.data() + 46 * i);
  ASSERT_TRUE(BssList::Decode(raw.data(), raw.size(), 0, &list));
  EXPECT_TRUE(list.entries.empty());
  ASSERT_TRUE(BssList::Decode(raw.data(), raw.size(), 47, &list));
  EXPECT_EQ(1u, list.entries.size());
  ASSERT_TRUE(BssList::Decode(raw.data(), raw.size(), 1380, &list));
  ASSERT_EQ(30u, list.entries.size());
  EXPECT_EQ(29, list.entries[29].bssid[5]);
  EXPECT_FALSE(BssList::Decode(raw.data(), raw.size(), 1381, &list));
  // A count beyond the buffer handed to the driver is refused as well.
  EXPECT_FALSE(BssList::Decode(raw.data(), 460, 506, &list));
}

TEST(BssListRecord, EncodesAtMostThirtyWholeEntries) {
  BssList list;
  for (int i = 0; i < 35; ++i) list.entries.push_back(SampleEntry(static_cast<std::uint8_t>(i)));
  std::vector<std::uint8_t> raw(2000, 0xEE);
  EXPECT_EQ(1380u, list.EncodeTo(raw.data(), raw.size()));
  EXPECT_EQ(0xEE, raw[1380]);
  EXPECT_EQ(92u, list.EncodeTo(raw.data(), 100));
}

}  // namespace
}  // namespace linkscope
