#pragma once
// The site survey: its state byte, the list of networks found (up to 30 entries of 46 bytes)
// and the 4-byte join request that names one of them.

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace linkscope {

namespace SurveyState {
constexpr std::uint8_t kIdle = 0;  // any value other than 1 and 2 means no survey runs
constexpr std::uint8_t kInProgress = 1;
constexpr std::uint8_t kComplete = 2;
}  // namespace SurveyState

namespace BssType {
constexpr std::uint8_t kAdHoc = 1;
constexpr std::uint8_t kInfrastructure = 2;
}  // namespace BssType

struct BssEntry {
  static constexpr std::size_t kSize = 46;
  static constexpr std::size_t kSsidFieldSize = 32;
  static constexpr std::size_t kOffsetChannel = 0;
  static constexpr std::size_t kOffsetSsid = 1;
  static constexpr std::size_t kOffsetSsidLength = 33;
  static constexpr std::size_t kOffsetBssid = 34;
  static constexpr std::size_t kOffsetRssi = 40;
  static constexpr std::size_t kOffsetWep = 41;
  static constexpr std::size_t kOffsetReserved = 42;
  static constexpr std::size_t kReservedSize = 3;
  static constexpr std::size_t kOffsetBssType = 45;

  std::uint8_t channel = 0;
  std::array<std::uint8_t, kSsidFieldSize> ssid{};  // raw, not terminated
  std::uint8_t ssidLength = 0;  // 0 to 32 when sane; a driver may report anything
  std::array<std::uint8_t, 6> bssid{};
  std::int8_t rssi = 0;
  std::uint8_t wep = 0;  // non-zero: the network uses WEP
  std::array<std::uint8_t, kReservedSize> reserved{};
  std::uint8_t bssType = 0;  // 1 ad-hoc, 2 infrastructure, anything else: no meaning

  void EncodeTo(std::uint8_t* out) const;  // writes kSize bytes
  static bool Decode(const std::uint8_t* data, std::size_t length, BssEntry* out);

  // The SSID bytes that count; a length above 32 is taken as 32, never read past the field.
  std::string SsidBytes() const;
  // Sets ssid and ssidLength; false (and nothing changed) for more than 32 bytes.
  bool SetSsid(const std::string& bytes);
};

// The SSID as the survey list shows it and a join writes it into the driver key: its first
// SSID-length bytes (32 at most), up to the first zero byte, each byte one character.
std::string SurveySsidText(const BssEntry& entry);

struct BssList {
  static constexpr std::size_t kMaxEntries = 30;
  static constexpr std::size_t kBufferSize = kMaxEntries * BssEntry::kSize;  // 1380

  std::vector<BssEntry> entries;

  // The driver's answer: as many whole entries as `reportedLength` holds (bytes past the last
  // whole entry are ignored). A reported length above 1380, or above what the buffer holds,
  // is a failed read.
  static bool Decode(const std::uint8_t* data, std::size_t bufferLength,
                     std::size_t reportedLength, BssList* out);
  // At most kMaxEntries entries, back to back; returns the bytes written.
  std::size_t EncodeTo(std::uint8_t* out, std::size_t capacity) const;
};

// OID_PRIV_SELECT_BSS: a 32-bit index into the list as last read.
constexpr std::size_t kSelectBssRequestSize = 4;

}  // namespace linkscope
