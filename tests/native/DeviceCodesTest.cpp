#include <gtest/gtest.h>

#include <set>

#include "device/DeviceCodes.h"

namespace linkscope {
namespace {

TEST(CardTypes, AcceptedSetAndGroups) {
  const std::set<int> accepted{1, 2, 3, 11, 12, 13, 14, 15, 16, 17, 18, 21, 22};
  const std::set<int> dbm{3, 13, 15, 17, 18, 22};
  const std::set<int> rfmd{12, 14, 16, 21};
  const std::set<int> percent{3, 12, 13, 14, 15, 16, 17, 18, 21, 22};
  const std::set<int> noRoaming{1, 11, 15, 17, 18};
  for (int t = 0; t < 256; ++t) {
    const auto type = static_cast<std::uint8_t>(t);
    EXPECT_EQ(accepted.count(t) == 1, IsAcceptedCardType(type)) << t;
    EXPECT_EQ(t >= 14 && t <= 18, IsCardTypeAcceptedAnyLength(type)) << t;
    const SignalScale expected = dbm.count(t)    ? SignalScale::Dbm
                                 : rfmd.count(t) ? SignalScale::MaxRssiRfmd
                                                 : SignalScale::MaxRssi;
    EXPECT_EQ(expected, SignalScaleOf(type)) << t;
    EXPECT_EQ(percent.count(t) == 1, LinkQualityInPercent(type)) << t;
    EXPECT_EQ(noRoaming.count(t) == 0, SupportsInternationalRoaming(type)) << t;
    EXPECT_EQ(accepted.count(t) == 1 && t != 1, Offers128BitWep(type)) << t;
  }
}

TEST(DeviceStates, OnlyTwelveSixteenAndEighteenAreUnusable) {
  for (int s = 0; s < 256; ++s) {
    EXPECT_EQ(s == 12 || s == 16 || s == 18, IsUnusableState(static_cast<std::uint8_t>(s))) << s;
  }
}

TEST(RegulatoryDomains, EightKnownCodesAndTheirChannels) {
  struct Row {
    std::uint8_t code, first, last;
  };
  const Row rows[] = {{0x10, 1, 11}, {0x20, 1, 11}, {0x30, 1, 13}, {0x31, 10, 11},
                      {0x32, 10, 13}, {0x40, 14, 14}, {0x41, 1, 14}, {0x50, 3, 7}};
  for (const Row& r : rows) {
    EXPECT_TRUE(IsKnownRegulatoryDomain(r.code));
    EXPECT_EQ(r.code, NormalizeRegulatoryDomain(r.code));
    EXPECT_EQ(r.first, ChannelsOfDomain(r.code).first);
    EXPECT_EQ(r.last, ChannelsOfDomain(r.code).last);
  }
  for (int code : {0x00, 0x11, 0x33, 0x42, 0x51, 0xFF}) {
    EXPECT_FALSE(IsKnownRegulatoryDomain(static_cast<std::uint8_t>(code)));
    EXPECT_EQ(0x41, NormalizeRegulatoryDomain(static_cast<std::uint8_t>(code)));
    EXPECT_EQ(1, ChannelsOfDomain(static_cast<std::uint8_t>(code)).first);
    EXPECT_EQ(14, ChannelsOfDomain(static_cast<std::uint8_t>(code)).last);
  }
}

TEST(RoamingChannels, OnlyTheValueOneAllows) {
  const std::uint8_t table[14] = {1, 0, 2, 1, 0xFF, 1, 1, 1, 1, 1, 1, 1, 1, 1};
  EXPECT_TRUE(RoamingChannelAllowed(table, 1));
  EXPECT_FALSE(RoamingChannelAllowed(table, 2));
  EXPECT_FALSE(RoamingChannelAllowed(table, 3));
  EXPECT_FALSE(RoamingChannelAllowed(table, 5));
  EXPECT_TRUE(RoamingChannelAllowed(table, 14));
  EXPECT_FALSE(RoamingChannelAllowed(table, 0));
  EXPECT_FALSE(RoamingChannelAllowed(table, 15));
  EXPECT_FALSE(RoamingChannelAllowed(nullptr, 1));
}

}  // namespace
}  // namespace linkscope
