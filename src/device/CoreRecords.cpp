#include "device/CoreRecords.h"

#include <algorithm>
#include <cstring>

#include "device/ByteOrder.h"

namespace linkscope {

void DeviceConfig::EncodeTo(std::uint8_t* p) const {
  p[0] = operatingMode;
  p[kOffsetChannel] = channel;
  std::memcpy(p + kOffsetSsid, ssid.data(), ssid.size());
  p[kOffsetSsidLength] = ssidLength;
  p[kOffsetTxRate] = txRate;
  p[kOffsetPowerSave] = powerSave;
  p[kOffsetPreamble] = preamble;
  WriteU16Le(p + kOffsetFragThreshold, fragThreshold);
  WriteU16Le(p + kOffsetRtsThreshold, rtsThreshold);
  std::memcpy(p + kOffsetBssid, bssid.data(), bssid.size());
  p[kOffsetState] = state;
  p[kOffsetSignal] = static_cast<std::uint8_t>(signal);
  p[kOffsetLinkQuality] = linkQuality;
  WriteU32Le(p + kOffsetManagementStatus, managementStatus);
}

std::array<std::uint8_t, DeviceConfig::kSize> DeviceConfig::Encode() const {
  std::array<std::uint8_t, kSize> out{};
  EncodeTo(out.data());
  return out;
}

bool DeviceConfig::Decode(const std::uint8_t* p, std::size_t length, DeviceConfig* out) {
  if (p == nullptr || out == nullptr || length != kSize) return false;
  DeviceConfig c;
  c.operatingMode = p[0];
  c.channel = p[kOffsetChannel];
  std::memcpy(c.ssid.data(), p + kOffsetSsid, c.ssid.size());
  c.ssidLength = p[kOffsetSsidLength];
  c.txRate = p[kOffsetTxRate];
  c.powerSave = p[kOffsetPowerSave];
  c.preamble = p[kOffsetPreamble];
  c.fragThreshold = ReadU16Le(p + kOffsetFragThreshold);
  c.rtsThreshold = ReadU16Le(p + kOffsetRtsThreshold);
  std::memcpy(c.bssid.data(), p + kOffsetBssid, c.bssid.size());
  c.state = p[kOffsetState];
  c.signal = static_cast<std::int8_t>(p[kOffsetSignal]);
  c.linkQuality = p[kOffsetLinkQuality];
  c.managementStatus = ReadU32Le(p + kOffsetManagementStatus);
  *out = c;
  return true;
}

std::string DeviceConfig::SsidBytes() const {
  if (ssidLength > kSsidMaxLength) return std::string();
  return std::string(reinterpret_cast<const char*>(ssid.data()), ssidLength);
}

bool DeviceConfig::SetSsid(const std::string& bytes) {
  if (bytes.size() > kSsidMaxLength) return false;
  ssid.fill(0);
  std::copy(bytes.begin(), bytes.end(), ssid.begin());
  ssidLength = static_cast<std::uint8_t>(bytes.size());
  return true;
}

bool DeviceConfig::operator==(const DeviceConfig& o) const { return Encode() == o.Encode(); }

std::array<std::uint8_t, AllSettings::kSize> AllSettings::Encode() const {
  std::array<std::uint8_t, kSize> out{};
  config.EncodeTo(out.data());
  std::memcpy(out.data() + kOffsetWep, wep.data(), wep.size());
  out[kOffsetIntlRoaming] = intlRoaming;
  out[kOffsetRadio] = radio;
  std::memcpy(out.data() + kOffsetReserved, reserved.data(), reserved.size());
  return out;
}

bool AllSettings::Decode(const std::uint8_t* p, std::size_t length, AllSettings* out) {
  if (p == nullptr || out == nullptr || length != kSize) return false;
  AllSettings s;
  if (!DeviceConfig::Decode(p, DeviceConfig::kSize, &s.config)) return false;
  std::memcpy(s.wep.data(), p + kOffsetWep, s.wep.size());
  s.intlRoaming = p[kOffsetIntlRoaming];
  s.radio = p[kOffsetRadio];
  std::memcpy(s.reserved.data(), p + kOffsetReserved, s.reserved.size());
  *out = s;
  return true;
}

std::array<std::uint8_t, VersionInfo::kSize> VersionInfo::Encode() const {
  std::array<std::uint8_t, kSize> out{};
  out[0] = driver1;
  out[1] = driver2;
  out[2] = driver3;
  WriteU16Le(out.data() + 3, driver4);
  for (std::size_t i = 0; i < firmware.size(); ++i) WriteU16Le(out.data() + 5 + 2 * i, firmware[i]);
  return out;
}

bool VersionInfo::Decode(const std::uint8_t* p, std::size_t length, VersionInfo* out) {
  if (p == nullptr || out == nullptr || length != kSize) return false;
  VersionInfo v;
  v.driver1 = p[0];
  v.driver2 = p[1];
  v.driver3 = p[2];
  v.driver4 = ReadU16Le(p + 3);
  for (std::size_t i = 0; i < v.firmware.size(); ++i) v.firmware[i] = ReadU16Le(p + 5 + 2 * i);
  *out = v;
  return true;
}

}  // namespace linkscope
