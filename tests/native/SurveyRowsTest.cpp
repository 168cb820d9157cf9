// The cells of a Site Survey row: the signal on each card type's scale, and the texts of the
// SSID, encryption and BSS type as the bytes from the air give them.

#include <gtest/gtest.h>

#include <map>

#include "ui/SurveyRows.h"

namespace linkscope::testing {
namespace {

class MapTexts : public ITextSource {
 public:
  std::string Lookup(const std::string& key, const std::string& defaultText) const override {
    auto it = values.find(key);
    return it == values.end() ? defaultText : it->second;
  }
  std::map<std::string, std::string> values;
};

BssEntry Entry(std::int8_t rssi) {
  BssEntry e;
  e.rssi = rssi;
  e.channel = 6;
  e.bssType = BssType::kInfrastructure;
  return e;
}

TEST(SurveyRows, SignalCellFollowsTheCardTypeScale) {
  struct Case {
    std::uint8_t cardType;
    const char* maxRssi;      // nullptr: absent from the file
    const char* maxRssiRfmd;  // nullptr: absent
    std::int8_t rssi;
    const char* cell;
  };
  const Case cases[] = {
      // Step scale in dBm.
      {13, nullptr, nullptr, -75, "40 %"},
      {13, nullptr, nullptr, -50, "100 %"},
      {13, nullptr, nullptr, -81, "20 %"},
      {13, nullptr, nullptr, -80, "40 %"},
      {3, nullptr, nullptr, -61, "60 %"},
      {22, nullptr, nullptr, -51, "80 %"},
      {3, nullptr, nullptr, 0, "100 %"},  // 0 is a signal like any other here
      // "MaxRssi", default 40.
      {1, nullptr, nullptr, 30, "75 %"},
      {1, nullptr, nullptr, 50, "125 %"},  // not limited to 100
      {1, nullptr, nullptr, 0, "N/A"},
      {1, nullptr, nullptr, -20, "-50 %"},
      {1, "200", nullptr, 30, "-53 %"},  // low 8 bits as a signed byte: -56
      {1, "300 units", nullptr, 22, "50 %"},  // 300 & 0xFF = 44
      // A maximum of 0 leaves nothing to divide by.
      {1, "0", nullptr, 30, "N/A"},
      {1, "256", nullptr, 30, "N/A"},
      {1, "none", nullptr, 30, "N/A"},
      // "MaxRssiRFMD", default 100.
      {12, nullptr, nullptr, 45, "45 %"},
      {21, "10", nullptr, 45, "45 %"},  // "MaxRssi" does not apply
      {16, nullptr, "50", 45, "90 %"},
      {14, nullptr, "0", 45, "N/A"},
  };
  for (const Case& c : cases) {
    MapTexts texts;
    if (c.maxRssi != nullptr) texts.values["MaxRssi"] = c.maxRssi;
    if (c.maxRssiRfmd != nullptr) texts.values["MaxRssiRFMD"] = c.maxRssiRfmd;
    const SurveySignalScale scale = SurveySignalScaleOf(c.cardType, texts);
    EXPECT_EQ(c.cell, SurveyRowCells(Entry(c.rssi), scale, texts)[2])
        << "card type " << int(c.cardType) << ", RSSI " << int(c.rssi);
  }
}

TEST(SurveyRows, TextCellsShowTheEntryAsTheAirGaveIt) {
  struct Case {
    std::string ssid;          // the SSID field's bytes
    std::uint8_t ssidLength;
    std::uint8_t wep;
    std::uint8_t bssType;
    std::string ssidCell;
    const char* wepCell;
    const char* typeCell;
  };
  const std::string ff32(32, '\xFF');
  const Case cases[] = {
      {"Harbour", 7, 0, 2, "Harbour", "No", "Infrastructure"},
      {"Picnic", 6, 1, 1, "Picnic", "Yes", "Ad-Hoc"},
      {"Odd", 3, 0x80, 3, "Odd", "Yes", ""},
      {"Nothing", 0, 0, 0, "", "No", ""},
      {std::string("Caf\0e", 5), 5, 0, 2, "Caf", "No", "Infrastructure"},  // a zero byte ends it
      {"%s%n%d", 6, 0, 2, "%s%n%d", "No", "Infrastructure"},               // never a format
      {ff32, 32, 0, 255, ff32, "No", ""},
      {ff32, 200, 0, 2, ff32, "No", "Infrastructure"},  // a length past 32 reads 32 bytes
      {"Short", 3, 0, 2, "Sho", "No", "Infrastructure"},
  };
  MapTexts texts;
  const SurveySignalScale scale = SurveySignalScaleOf(12, texts);
  for (const Case& c : cases) {
    BssEntry e = Entry(50);
    std::copy(c.ssid.begin(), c.ssid.end(), e.ssid.begin());
    e.ssidLength = c.ssidLength;
    e.wep = c.wep;
    e.bssType = c.bssType;
    e.channel = 14;
    e.bssid = {0x00, 0x40, 0x96, 0xA1, 0x0B, 0xFE};
    const auto cells = SurveyRowCells(e, scale, texts);
    EXPECT_EQ("00-40-96-A1-0B-FE", cells[0]);
    EXPECT_EQ(c.ssidCell, cells[1]);
    EXPECT_EQ("14", cells[3]);
    EXPECT_EQ(c.wepCell, cells[4]);
    EXPECT_EQ(c.typeCell, cells[5]);
  }
  // The language file names them.
  texts.values = {{"BssUsingWEP", "Ja"}, {"AdHoc", "Direkt"}, {"RssiInfoNotAvailable", "k.A."}};
  BssEntry e = Entry(0);
  e.wep = 1;
  e.bssType = BssType::kAdHoc;
  const auto cells = SurveyRowCells(e, SurveySignalScaleOf(1, texts), texts);
  EXPECT_EQ("k.A.", cells[2]);
  EXPECT_EQ("Ja", cells[4]);
  EXPECT_EQ("Direkt", cells[5]);
}

// Widths of the sort Wine gives the scan of the simulated environment, in a list 351 pixels
// wide: first the headers give way, then the cells, never the BSSID.
TEST(SurveyRows, AllSixColumnsFitTheListAndTheBssidStaysWhole) {
  struct Case {
    int available;
    SurveyColumnWidthList expected;
  };
  const SurveyColumnWidthList whole = {110, 63, 43, 53, 64, 79};
  const SurveyColumnWidthList cells = {110, 63, 36, 26, 34, 79};
  const Case cases[] = {
      {412, whole},                          // room for everything
      {351, {110, 63, 36, 27, 35, 79}},      // the headers give way
      {250, {110, 28, 28, 26, 28, 28}},      // the cells too, the widest first
      {100, {110, 20, 20, 20, 20, 20}},      // never narrower than that
  };
  for (const Case& c : cases) {
    EXPECT_EQ(c.expected, SurveyColumnWidths(whole, cells, c.available)) << c.available;
  }
}

}  // namespace
}  // namespace linkscope::testing
