// Every record the driver hands back, decoded from the same bytes: the configuration, all
// settings, version, WEP, statistics and the survey list, and what the pages make of them
// (the status line, the survey rows, the comparison with a profile). A record decoded from
// exactly its size encodes back to the same bytes; nothing reads past what the driver wrote.

#include <algorithm>
#include <cstdint>
#include <string>
#include <vector>

#include "config/ProfileApplication.h"
#include "device/CoreRecords.h"
#include "device/StatisticsRecord.h"
#include "device/SurveyRecords.h"
#include "device/WepConfig.h"
#include "fuzz/FuzzCheck.h"
#include "support/SampleProfiles.h"
#include "ui/LinkStatusText.h"
#include "ui/SurveyRows.h"

namespace linkscope {
namespace {

template <typename Record>
void RoundTrip(const std::uint8_t* data, std::size_t size, const char* what) {
  Record record;
  if (!Record::Decode(data, size, &record)) {
    FUZZ_CHECK(size != Record::kSize, what);
    return;
  }
  FUZZ_CHECK(size == Record::kSize, what);
  const auto encoded = record.Encode();
  FUZZ_CHECK(std::equal(encoded.begin(), encoded.end(), data), what);
}

void SurveyList(const std::uint8_t* data, std::size_t bufferLength, std::size_t reported,
                std::uint8_t cardType) {
  BssList list;
  if (!BssList::Decode(data, bufferLength, reported, &list)) {
    FUZZ_CHECK(reported > BssList::kBufferSize || reported > bufferLength,
               "a survey list that fits its buffer is read");
    return;
  }
  FUZZ_CHECK(list.entries.size() == reported / BssEntry::kSize, "whole entries are counted");
  DefaultTexts texts;
  const SurveySignalScale scale = SurveySignalScaleOf(cardType, texts);
  for (const BssEntry& entry : list.entries) {
    FUZZ_CHECK(entry.SsidBytes().size() <= BssEntry::kSsidFieldSize, "SSID within its field");
    FUZZ_CHECK(SurveySsidText(entry).size() <= BssEntry::kSsidFieldSize,
               "shown SSID within its field");
    const auto cells = SurveyRowCells(entry, scale, texts);
    FUZZ_CHECK(cells[0].size() == 17, "BSSID shown as six pairs");
  }
  std::vector<std::uint8_t> again(BssList::kBufferSize);
  const std::size_t written = list.EncodeTo(again.data(), again.size());
  FUZZ_CHECK(written == list.entries.size() * BssEntry::kSize, "entries encode whole");
  FUZZ_CHECK(std::equal(again.begin(), again.begin() + written, data),
             "survey entries encode back to the driver's bytes");
}

}  // namespace
}  // namespace linkscope

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace linkscope;
  RoundTrip<DeviceConfig>(data, size, "configuration record");
  RoundTrip<AllSettings>(data, size, "all-settings record");
  RoundTrip<VersionInfo>(data, size, "version record");
  RoundTrip<WepConfig>(data, size, "WEP record");
  RoundTrip<StatisticsRecord>(data, size, "statistics record");

  DefaultTexts texts;
  DeviceConfig config;
  if (DeviceConfig::Decode(data, size, &config)) {
    FUZZ_CHECK(config.SsidBytes().size() <= kSsidMaxLength, "SSID within its field");
    LinkStatusText(config, 1, texts);
    LinkStatusText(config, 0, texts);
  }
  if (size >= 4) {
    ManagementMessage(static_cast<std::uint32_t>(data[0] | data[1] << 8 | data[2] << 16) |
                          static_cast<std::uint32_t>(data[3]) << 24,
                      texts);
  }

  // The survey list as the driver reports it, and with a reported length and card type taken
  // from the first three bytes.
  SurveyList(data, size, size, 12);
  if (size >= 3) {
    SurveyList(data + 3, size - 3, static_cast<std::size_t>(data[0] | data[1] << 8), data[2]);
  }

  // A stored profile against every record kind the driver can answer.
  const Profile profile = SampleProfile();
  if (DeviceConfig::Decode(data, size, &config)) RecordMatches(profile, config);
  WepConfig wep;
  if (WepConfig::Decode(data, size, &wep)) RecordMatches(profile, wep);
  if (size >= 1) {
    RecordMatches(profile, RadioSetting{data[0]});
    RecordMatches(profile, RoamingSetting{data[0]});
  }

  // Key texts from outside decode into one 13-byte slot and no further.
  std::uint8_t slot[WepConfig::kKeySlotSize + 1] = {};
  slot[WepConfig::kKeySlotSize] = 0xA5;
  DecodeKeyText(std::string(reinterpret_cast<const char*>(data), size), slot);
  FUZZ_CHECK(slot[WepConfig::kKeySlotSize] == 0xA5, "a key text stays in its slot");
  return 0;
}
