// The acceptance rules of the WEP, statistics and site-survey requests.

#include <gtest/gtest.h>

#include "device/Oids.h"
#include "device/SurveyRequests.h"
#include "fakes/FakeRequestLibrary.h"
#include "fakes/FakeSystem.h"

namespace linkscope {
namespace {

class SurveyRequestsTest : public ::testing::Test {
 protected:
  SurveyRequestsTest() : link(library, system) {
    adapter.deviceName = "\\Device\\SKY";
    library.devices["\\Device\\SKY"] = 0x71;
  }
  void Reply(std::uint32_t oid, std::size_t bytes, std::uint32_t reported) {
    std::vector<std::uint8_t> data(bytes);
    for (std::size_t i = 0; i < bytes; ++i) data[i] = static_cast<std::uint8_t>(i * 7 + 1);
    library.answers[oid] = {0, data, reported};
  }

  FakeRequestLibrary library;
  FakeSystem system;
  CAdapterLink link;
  AdapterEntry adapter;
};

TEST_F(SurveyRequestsTest, BssListTakesWholeEntriesUpToTheBuffer) {
  BssList list;
  struct Case {
    std::uint32_t reported;
    bool ok;
    std::size_t entries;
  };
  for (const Case& c : {Case{0, true, 0}, Case{45, true, 0}, Case{47, true, 1},
                        Case{1380, true, 30}, Case{1381, false, 0}}) {
    Reply(OID_PRIV_SURVEY_LIST, 1380, c.reported);
    list.entries.assign(3, BssEntry{});
    EXPECT_EQ(c.ok, QueryBssList(link, &adapter, &list)) << c.reported;
    if (c.ok) {
      EXPECT_EQ(c.entries, list.entries.size()) << c.reported;
    }
  }
  EXPECT_EQ(1380u, library.calls.back().length);
  library.Fail(OID_PRIV_SURVEY_LIST);
  EXPECT_FALSE(QueryBssList(link, &adapter, &list));
}

TEST_F(SurveyRequestsTest, WepAndStatisticsNeedTheirExactLength) {
  WepConfig wep;
  Reply(OID_PRIV_WEP, 57, 56);
  EXPECT_FALSE(QueryWepConfig(link, &adapter, &wep));
  Reply(OID_PRIV_WEP, 57, 57);
  EXPECT_TRUE(QueryWepConfig(link, &adapter, &wep));

  StatisticsRecord stats;
  Reply(OID_PRIV_STATISTICS, 48, 47);
  EXPECT_FALSE(QueryStatistics(link, &adapter, &stats));
  std::vector<std::uint8_t> counters(48, 0);
  counters[36] = 0x24;  // the two unnamed counters are carried in every read
  counters[44] = 0x2C;
  counters[32] = 3;     // rejected on receive comes before rejected on transmit
  counters[40] = 4;
  library.Answer(OID_PRIV_STATISTICS, counters);
  ASSERT_TRUE(QueryStatistics(link, &adapter, &stats));
  EXPECT_EQ(0x24u, stats.counters[StatisticsRecord::kUnnamed9]);
  EXPECT_EQ(0x2Cu, stats.counters[StatisticsRecord::kUnnamed11]);
  EXPECT_EQ(3u, stats.counters[StatisticsRecord::kRxRejected]);
  EXPECT_EQ(4u, stats.counters[StatisticsRecord::kTxRejected]);
}

TEST_F(SurveyRequestsTest, AnEdited64BitKeyKeepsTheRestOfItsSlot) {
  std::vector<std::uint8_t> read(57, 0);
  read[4] = 1;  // 64-bit
  for (std::size_t i = 0; i < 13; ++i) read[5 + i] = static_cast<std::uint8_t>(0xA0 + i);
  library.Answer(OID_PRIV_WEP, read);
  WepConfig wep;
  ASSERT_TRUE(QueryWepConfig(link, &adapter, &wep));
  const std::uint8_t edited[5] = {0x11, 0x22, 0x33, 0x44, 0x55};
  std::copy(edited, edited + 5, wep.keys[0].begin());
  ASSERT_TRUE(SetWepConfig(link, &adapter, wep));
  const auto& sent = library.calls.back().sent;
  ASSERT_EQ(57u, sent.size());
  EXPECT_EQ(std::vector<std::uint8_t>(edited, edited + 5),
            std::vector<std::uint8_t>(sent.begin() + 5, sent.begin() + 10));
  for (std::size_t i = 5; i < 13; ++i) EXPECT_EQ(0xA0 + i, sent[5 + i]) << i;
}

TEST_F(SurveyRequestsTest, SurveyStateLengthMattersOnlyBeforeASurvey) {
  std::uint8_t state = 0;
  library.answers[OID_PRIV_SURVEY_STATE] = {0, {2, 0}, 2};
  EXPECT_FALSE(QuerySurveyState(link, &adapter, SurveyStateRead::BeforeSurvey, &state));
  EXPECT_TRUE(QuerySurveyState(link, &adapter, SurveyStateRead::WhileFollowing, &state));
  EXPECT_EQ(2, state);
  library.Answer(OID_PRIV_SURVEY_STATE, {1});
  EXPECT_TRUE(QuerySurveyState(link, &adapter, SurveyStateRead::BeforeSurvey, &state));
  EXPECT_EQ(1, state);
}

TEST_F(SurveyRequestsTest, CommandsAndTheJoinRequest) {
  EXPECT_TRUE(StartSurvey(link, &adapter));
  EXPECT_TRUE(CancelSurvey(link, &adapter));
  EXPECT_TRUE(ResetStatistics(link, &adapter));
  for (std::size_t i = 0; i < 3; ++i) {
    EXPECT_FALSE(library.calls[i].hasBuffer);
    EXPECT_EQ(0u, library.calls[i].length);
  }
  EXPECT_EQ(OID_PRIV_SURVEY_START, library.calls[0].oid);
  EXPECT_EQ(OID_PRIV_SURVEY_CANCEL, library.calls[1].oid);
  EXPECT_EQ(OID_PRIV_STATISTICS_RESET, library.calls[2].oid);
  library.Fail(OID_PRIV_SURVEY_START);
  EXPECT_FALSE(StartSurvey(link, &adapter));

  ASSERT_TRUE(SelectBss(link, &adapter, 0x01020304));
  EXPECT_EQ(kRequestSet, library.calls.back().type);
  EXPECT_EQ(OID_PRIV_SELECT_BSS, library.calls.back().oid);
  EXPECT_EQ((std::vector<std::uint8_t>{4, 3, 2, 1}), library.calls.back().sent);
}

}  // namespace
}  // namespace linkscope
