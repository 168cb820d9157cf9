#include "ui/SurveyRows.h"

#include <algorithm>
#include <cstdio>
#include <numeric>

#include "text/OemSettings.h"

namespace linkscope {

namespace {

// The dBm of the step-scale cards in five steps of 20 %.
int StepPercent(std::int8_t rssi) {
  if (rssi < -80) return 20;
  if (rssi <= -71) return 40;
  if (rssi <= -61) return 60;
  if (rssi <= -51) return 80;
  return 100;
}

}  // namespace

SurveySignalScale SurveySignalScaleOf(std::uint8_t cardType, const ITextSource& texts) {
  SurveySignalScale s;
  s.scale = SignalScaleOf(cardType);
  std::uint32_t value = 0;
  if (s.scale == SignalScale::MaxRssiRfmd) {
    value = LeadingDigitsValue(texts.Lookup("MaxRssiRFMD", "100"));
  } else if (s.scale == SignalScale::MaxRssi) {
    value = LeadingDigitsValue(texts.Lookup("MaxRssi", "40"));
  }
  s.maximum = static_cast<std::int8_t>(static_cast<std::uint8_t>(value & 0xFF));
  return s;
}

bool SurveySignalPercent(const SurveySignalScale& scale, std::int8_t rssi, int* percent) {
  if (scale.scale == SignalScale::Dbm) {
    *percent = StepPercent(rssi);
    return true;
  }
  if (rssi == 0 || scale.maximum == 0) return false;
  // Signed, truncated toward zero, not limited to 100.
  *percent = static_cast<int>(rssi) * 100 / static_cast<int>(scale.maximum);
  return true;
}

std::string BssidText(const std::array<std::uint8_t, 6>& b) {
  char text[18];
  std::snprintf(text, sizeof text, "%02X-%02X-%02X-%02X-%02X-%02X", b[0], b[1], b[2], b[3], b[4],
                b[5]);
  return text;
}

std::array<std::string, kSurveyColumnCount> SurveyRowCells(const BssEntry& entry,
                                                           const SurveySignalScale& scale,
                                                           const ITextSource& texts) {
  std::array<std::string, kSurveyColumnCount> cells;
  cells[0] = BssidText(entry.bssid);
  cells[1] = SurveySsidText(entry);
  int percent = 0;
  cells[2] = SurveySignalPercent(scale, entry.rssi, &percent)
                 ? std::to_string(percent) + " %"
                 : texts.Lookup("RssiInfoNotAvailable", "N/A");
  cells[3] = std::to_string(entry.channel);
  cells[4] = entry.wep != 0 ? texts.Lookup("BssUsingWEP", "Yes") : texts.Lookup("BssNotUsingWEP", "No");
  if (entry.bssType == BssType::kAdHoc) {
    cells[5] = texts.Lookup("AdHoc", "Ad-Hoc");
  } else if (entry.bssType == BssType::kInfrastructure) {
    cells[5] = texts.Lookup("Infrastructure", "Infrastructure");
  }
  return cells;
}

SurveyColumnWidthList SurveyColumnWidths(const SurveyColumnWidthList& whole,
                                         const SurveyColumnWidthList& cells, int available) {
  const auto total = [](const SurveyColumnWidthList& w) {
    return std::accumulate(w.begin(), w.end(), 0);
  };
  SurveyColumnWidthList widths = whole;
  const int excess = total(widths) - available;
  if (excess <= 0) return widths;
  // What the headers add: "Channel" and "Encryption" are far wider than "11" and "Yes", and a
  // header cut short still names its column, while a cell cut short loses what it says.
  SurveyColumnWidthList headers{};
  for (int i = 0; i < kSurveyColumnCount; ++i) headers[i] = std::max(0, whole[i] - cells[i]);
  const int slack = total(headers);
  if (excess <= slack) {
    // Rounded up, so that the sum fits; no column loses more than its header adds.
    for (int i = 0; i < kSurveyColumnCount; ++i) {
      widths[i] -= (headers[i] * excess + slack - 1) / slack;
    }
    return widths;
  }
  for (int i = 0; i < kSurveyColumnCount; ++i) widths[i] = std::min(whole[i], cells[i]);
  // The widest width the other columns may keep so that they fit beside the BSSID.
  const int room = available - widths[0];
  const auto beside = [&](int level) {
    int sum = 0;
    for (int i = 1; i < kSurveyColumnCount; ++i) sum += std::min(widths[i], level);
    return sum;
  };
  int low = 0;
  int high = *std::max_element(widths.begin() + 1, widths.end());
  while (low < high) {
    const int level = (low + high + 1) / 2;
    if (beside(level) <= room) {
      low = level;
    } else {
      high = level - 1;
    }
  }
  const int level = std::max(low, kSurveyColumnMinimum);
  for (int i = 1; i < kSurveyColumnCount; ++i) widths[i] = std::min(widths[i], level);
  return widths;
}

std::vector<GraphNetwork> SurveyGraphNetworks(const BssList& list, const SurveySignalScale& scale,
                                              const std::array<std::uint8_t, 6>* inUse) {
  std::vector<GraphNetwork> networks;
  for (const BssEntry& e : list.entries) {
    GraphNetwork n;
    if (!SurveySignalPercent(scale, e.rssi, &n.percent)) continue;
    n.bssid = e.bssid;
    n.label = SurveySsidText(e);
    if (n.label.empty()) n.label = BssidText(e.bssid);
    n.channel = e.channel;
    n.inUse = inUse != nullptr && *inUse == e.bssid;
    networks.push_back(n);
  }
  return networks;
}

std::vector<ChannelNetwork> ScoredNetworks(const std::vector<GraphNetwork>& networks) {
  std::vector<ChannelNetwork> scored;
  for (const GraphNetwork& n : networks) scored.push_back(ChannelNetwork{n.channel, n.percent});
  return scored;
}

std::array<bool, kChannelCount> AllowedChannelMask(const std::vector<std::uint8_t>& channels) {
  std::array<bool, kChannelCount> mask{};
  for (std::uint8_t ch : channels) {
    if (ch >= 1 && ch <= kChannelCount) mask[ch - 1] = true;
  }
  return mask;
}

}  // namespace linkscope
