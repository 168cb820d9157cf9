#pragma once
// The signal-strength and link-quality bars of the Status page: their full scale by card type,
// and what a configuration record puts on them.

#include <cstdint>
#include <optional>
#include <string>

#include "device/CoreRecords.h"
#include "text/OemSettings.h"

namespace linkscope {

// Full scales of the two bars. The customisation values count by their low byte: signed for
// the signal, unsigned for the link quality.
struct BarScales {
  int maxSignal = 0;
  int maxLinkQuality = 0;
};
BarScales BarScalesOf(std::uint8_t cardType, const OemSettings& oem);

// A bar's position and the percentage beside it ("" when nothing is shown).
struct BarReading {
  int position = 0;
  std::string text;
  int percent = 0;  // the number the text shows, when it shows one
  bool operator==(const BarReading& o) const { return position == o.position && text == o.text; }
};

// `media` is OID_GEN_MEDIA_CONNECT_STATUS (0 connected). A scale of 0 or below has no
// percentage: the bar stays at 0 and the text empty rather than dividing by it.
BarReading SignalReading(const DeviceConfig& config, std::uint32_t media, std::uint8_t cardType,
                         int maxSignal);
BarReading LinkQualityReading(const DeviceConfig& config, std::uint32_t media,
                              std::uint8_t cardType, int maxLinkQuality);

// The number a bar's text shows ("40 %" gives 40); none when the page shows no percentage.
std::optional<int> PercentOf(const BarReading& reading);

}  // namespace linkscope
