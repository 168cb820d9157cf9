#pragma once
// The texts of one row of the Site Survey list: BSSID, SSID, signal, channel, encryption and
// BSS type of a network the adapter found.

#include <array>
#include <cstdint>
#include <string>

#include "device/ChannelScore.h"
#include "device/DeviceCodes.h"
#include "device/SurveyRecords.h"
#include "text/TextSource.h"
#include "ui/ChannelMapGraph.h"

namespace linkscope {

constexpr int kSurveyColumnCount = 6;

// How the signal of a card type is turned into a percentage.
struct SurveySignalScale {
  SignalScale scale = SignalScale::MaxRssi;
  // The full-scale value of the two maximum scales: the low 8 bits of the language file's
  // number, read as a signed byte, as the driver's RSSI is.
  std::int8_t maximum = 0;
};

// The scale of `cardType`, its maximum looked up in the language file.
SurveySignalScale SurveySignalScaleOf(std::uint8_t cardType, const ITextSource& texts);

// The signal in percent; false when there is none to show: an RSSI of 0 on a maximum scale
// (the card does not know), or a maximum of 0, which leaves nothing to divide by. A signal
// above the maximum gives more than 100.
bool SurveySignalPercent(const SurveySignalScale& scale, std::int8_t rssi, int* percent);

// "00-40-96-A1-00-01".
std::string BssidText(const std::array<std::uint8_t, 6>& bssid);

// The widths of the list's columns, in pixels, so that all six fit `available` and no
// horizontal scroll bar hides the last: from what each column needs for its header and cells
// (`whole`) and for its cells alone (`cells`). When the whole widths do not fit, the headers
// give way first, each column in proportion to what its header adds to its cells. When even
// the cells do not fit, the columns after the BSSID narrow from the widest down to a common
// width (kSurveyColumnMinimum at least); the BSSID stays whole.
using SurveyColumnWidthList = std::array<int, kSurveyColumnCount>;
SurveyColumnWidthList SurveyColumnWidths(const SurveyColumnWidthList& whole,
                                         const SurveyColumnWidthList& cells, int available);
constexpr int kSurveyColumnMinimum = 20;

// The six cells of the entry's row, in column order.
std::array<std::string, kSurveyColumnCount> SurveyRowCells(const BssEntry& entry,
                                                           const SurveySignalScale& scale,
                                                           const ITextSource& texts);

// The networks of a survey as the graphs draw them and the channel score weighs them: those
// with a signal to show, labelled with their SSID (their BSSID when it is empty), the one whose
// BSSID is `inUse` (null: none) marked.
std::vector<GraphNetwork> SurveyGraphNetworks(const BssList& list, const SurveySignalScale& scale,
                                              const std::array<std::uint8_t, 6>* inUse);
std::vector<ChannelNetwork> ScoredNetworks(const std::vector<GraphNetwork>& networks);

// The channels a regulatory domain allows, as the graph greys the others.
std::array<bool, kChannelCount> AllowedChannelMask(const std::vector<std::uint8_t>& channels);

}  // namespace linkscope
