#include "device/SurveyRecords.h"

#include <algorithm>
#include <cstring>

#include "device/Oids.h"

namespace linkscope {

static_assert(BssList::kBufferSize == kSurveyListSize, "one size for the survey list");
static_assert(kSelectBssRequestSize == kSelectBssSize, "one size for the join request");

void BssEntry::EncodeTo(std::uint8_t* p) const {
  p[kOffsetChannel] = channel;
  std::memcpy(p + kOffsetSsid, ssid.data(), ssid.size());
  p[kOffsetSsidLength] = ssidLength;
  std::memcpy(p + kOffsetBssid, bssid.data(), bssid.size());
  p[kOffsetRssi] = static_cast<std::uint8_t>(rssi);
  p[kOffsetWep] = wep;
  std::memcpy(p + kOffsetReserved, reserved.data(), reserved.size());
  p[kOffsetBssType] = bssType;
}

bool BssEntry::Decode(const std::uint8_t* p, std::size_t length, BssEntry* out) {
  if (p == nullptr || out == nullptr || length != kSize) return false;
  BssEntry e;
  e.channel = p[kOffsetChannel];
  std::memcpy(e.ssid.data(), p + kOffsetSsid, e.ssid.size());
  e.ssidLength = p[kOffsetSsidLength];
  std::memcpy(e.bssid.data(), p + kOffsetBssid, e.bssid.size());
  e.rssi = static_cast<std::int8_t>(p[kOffsetRssi]);
  e.wep = p[kOffsetWep];
  std::memcpy(e.reserved.data(), p + kOffsetReserved, e.reserved.size());
  e.bssType = p[kOffsetBssType];
  *out = e;
  return true;
}

std::string BssEntry::SsidBytes() const {
  const std::size_t n = std::min<std::size_t>(ssidLength, kSsidFieldSize);
  return std::string(reinterpret_cast<const char*>(ssid.data()), n);
}

std::string SurveySsidText(const BssEntry& entry) {
  const std::string bytes = entry.SsidBytes();
  const std::size_t zero = bytes.find('\0');
  return zero == std::string::npos ? bytes : bytes.substr(0, zero);
}

bool BssEntry::SetSsid(const std::string& bytes) {
  if (bytes.size() > kSsidFieldSize) return false;
  ssid.fill(0);
  std::copy(bytes.begin(), bytes.end(), ssid.begin());
  ssidLength = static_cast<std::uint8_t>(bytes.size());
  return true;
}

bool BssList::Decode(const std::uint8_t* data, std::size_t bufferLength,
                     std::size_t reportedLength, BssList* out) {
  if (out == nullptr || reportedLength > kBufferSize || reportedLength > bufferLength) {
    return false;
  }
  if (reportedLength > 0 && data == nullptr) return false;
  BssList list;
  const std::size_t count = reportedLength / BssEntry::kSize;
  list.entries.resize(count);
  for (std::size_t i = 0; i < count; ++i) {
    BssEntry::Decode(data + i * BssEntry::kSize, BssEntry::kSize, &list.entries[i]);
  }
  *out = std::move(list);
  return true;
}

std::size_t BssList::EncodeTo(std::uint8_t* out, std::size_t capacity) const {
  const std::size_t count =
      std::min({entries.size(), kMaxEntries, capacity / BssEntry::kSize});
  for (std::size_t i = 0; i < count; ++i) entries[i].EncodeTo(out + i * BssEntry::kSize);
  return count * BssEntry::kSize;
}

}  // namespace linkscope
