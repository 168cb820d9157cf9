#include "ui/LinkBars.h"

#include <algorithm>

#include "device/DeviceCodes.h"

namespace linkscope {

namespace {

std::string Percent(int value) { return std::to_string(value) + " %"; }

bool Linked(const DeviceConfig& c, std::uint32_t media) {
  return c.state == DeviceState::kAssociated || media == 0;
}

}  // namespace

BarScales BarScalesOf(std::uint8_t cardType, const OemSettings& oem) {
  BarScales s;
  switch (SignalScaleOf(cardType)) {
    case SignalScale::Dbm:
      s.maxSignal = 100;
      s.maxLinkQuality = static_cast<std::uint8_t>(oem.MaxLinkQualityRFMD());
      break;
    case SignalScale::MaxRssiRfmd:
      s.maxSignal = static_cast<std::int8_t>(static_cast<std::uint8_t>(oem.MaxRssiRFMD()));
      s.maxLinkQuality = static_cast<std::uint8_t>(oem.MaxLinkQualityRFMD());
      break;
    case SignalScale::MaxRssi:
      s.maxSignal = static_cast<std::int8_t>(static_cast<std::uint8_t>(oem.MaxRssi()));
      s.maxLinkQuality = static_cast<std::uint8_t>(oem.MaxLinkQuality());
      break;
  }
  return s;
}

BarReading SignalReading(const DeviceConfig& c, std::uint32_t media, std::uint8_t cardType,
                         int maxSignal) {
  BarReading r;
  // Ad-hoc cells have no access point to measure.
  if (c.operatingMode == 0 || !Linked(c, media)) return r;
  const int v = c.signal;
  if (SignalScaleOf(cardType) == SignalScale::Dbm) {
    // dBm in five steps.
    const int percent = v < -80 ? 20 : v < -70 ? 40 : v < -60 ? 60 : v < -50 ? 80 : 100;
    r.position = percent;
    r.text = Percent(percent);
    r.percent = percent;
    return r;
  }
  if (maxSignal <= 0) return r;
  r.position = v;
  r.percent = v * 100 / maxSignal;
  r.text = Percent(r.percent);
  return r;
}

BarReading LinkQualityReading(const DeviceConfig& c, std::uint32_t media, std::uint8_t cardType,
                              int maxLinkQuality) {
  BarReading r;
  if (c.operatingMode != 1) return r;
  if (LinkQualityInPercent(cardType)) {
    if (!Linked(c, media)) return r;
    r.position = c.linkQuality;
    r.text = Percent(c.linkQuality);
    r.percent = c.linkQuality;
    return r;
  }
  if (c.state != DeviceState::kAssociated || maxLinkQuality <= 0) return r;
  // These cards count errors: fewer is better, so the bar shows what is left of the maximum.
  const int quality = maxLinkQuality - std::min<int>(c.linkQuality, maxLinkQuality);
  r.position = quality;
  r.percent = quality * 100 / maxLinkQuality;
  r.text = Percent(r.percent);
  return r;
}

// The number a bar's text shows ("40 %" gives 40); none when the page shows no percentage.
std::optional<int> PercentOf(const BarReading& reading) {
  if (reading.text.empty()) return std::nullopt;
  int n = 0;
  bool negative = false;
  std::size_t i = 0;
  if (reading.text[0] == '-') {
    negative = true;
    i = 1;
  }
  for (; i < reading.text.size() && reading.text[i] >= '0' && reading.text[i] <= '9'; ++i) {
    n = n * 10 + (reading.text[i] - '0');
  }
  return negative ? -n : n;
}

}  // namespace linkscope
