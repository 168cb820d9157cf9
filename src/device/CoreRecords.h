#pragma once
// The driver's configuration, all-settings and version records. Each has a fixed byte layout;
// Encode writes exactly that many bytes and Decode accepts nothing but exactly that many.

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>

namespace linkscope {

constexpr std::size_t kSsidMaxLength = 32;

// OID_PRIV_CONFIGURATION. Offsets 0 to 41 are settings; 42 to 54 are reported by the driver
// and mean nothing in a set.
struct DeviceConfig {
  static constexpr std::size_t kSize = 55;
  static constexpr std::size_t kOffsetChannel = 1;
  static constexpr std::size_t kOffsetSsid = 2;
  static constexpr std::size_t kOffsetSsidLength = 34;
  static constexpr std::size_t kOffsetTxRate = 35;
  static constexpr std::size_t kOffsetPowerSave = 36;
  static constexpr std::size_t kOffsetPreamble = 37;
  static constexpr std::size_t kOffsetFragThreshold = 38;
  static constexpr std::size_t kOffsetRtsThreshold = 40;
  static constexpr std::size_t kOffsetBssid = 42;
  static constexpr std::size_t kOffsetState = 48;
  static constexpr std::size_t kOffsetSignal = 49;
  static constexpr std::size_t kOffsetLinkQuality = 50;
  static constexpr std::size_t kOffsetManagementStatus = 51;

  std::uint8_t operatingMode = 0;  // 0 Ad-Hoc, 1 Infrastructure
  std::uint8_t channel = 0;        // 1 to 14
  std::array<std::uint8_t, kSsidMaxLength> ssid{};  // raw, not terminated
  std::uint8_t ssidLength = 0;     // 0 to 32 when sane; the driver may report anything
  std::uint8_t txRate = 0;         // 0 = 1, 1 = 2, 2 = 5.5, 3 = 11 Mbps, 4 = Auto
  std::uint8_t powerSave = 0;
  std::uint8_t preamble = 0;       // 0 long, 1 short, 2 auto
  std::uint16_t fragThreshold = 0;
  std::uint16_t rtsThreshold = 0;
  std::array<std::uint8_t, 6> bssid{};
  std::uint8_t state = 0;          // device state code
  std::int8_t signal = 0;
  std::uint8_t linkQuality = 0;
  std::uint32_t managementStatus = 0;  // 802.11 status code, valid when state is 241

  std::array<std::uint8_t, kSize> Encode() const;
  void EncodeTo(std::uint8_t* out) const;  // writes kSize bytes
  static bool Decode(const std::uint8_t* data, std::size_t length, DeviceConfig* out);

  // The SSID bytes that count: the first ssidLength bytes, or nothing when the driver reports a
  // length above 32 (such a record never reads past the field).
  std::string SsidBytes() const;
  // Sets ssid and ssidLength; false (and nothing changed) for more than 32 bytes.
  bool SetSsid(const std::string& bytes);

  bool operator==(const DeviceConfig& other) const;
  bool operator!=(const DeviceConfig& other) const { return !(*this == other); }
};

// OID_PRIV_ALL_SETTINGS: the configuration, the WEP record, roaming and radio in one request.
struct AllSettings {
  static constexpr std::size_t kSize = 127;
  static constexpr std::size_t kOffsetWep = 55;
  static constexpr std::size_t kWepSize = 57;
  static constexpr std::size_t kOffsetIntlRoaming = 112;
  static constexpr std::size_t kOffsetRadio = 113;
  static constexpr std::size_t kOffsetReserved = 114;
  static constexpr std::size_t kReservedSize = 13;

  DeviceConfig config;
  std::array<std::uint8_t, kWepSize> wep{};  // the WEP record's bytes
  std::uint8_t intlRoaming = 0;
  std::uint8_t radio = 0;
  std::array<std::uint8_t, kReservedSize> reserved{};  // never interpreted

  std::array<std::uint8_t, kSize> Encode() const;
  static bool Decode(const std::uint8_t* data, std::size_t length, AllSettings* out);
};

// OID_PRIV_VERSION.
struct VersionInfo {
  static constexpr std::size_t kSize = 13;

  std::uint8_t driver1 = 0;
  std::uint8_t driver2 = 0;
  std::uint8_t driver3 = 0;
  std::uint16_t driver4 = 0;                 // offset 3
  std::array<std::uint16_t, 4> firmware{};  // offsets 5, 7, 9, 11

  std::array<std::uint8_t, kSize> Encode() const;
  static bool Decode(const std::uint8_t* data, std::size_t length, VersionInfo* out);
};

}  // namespace linkscope
