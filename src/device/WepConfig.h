#pragma once
// OID_PRIV_WEP: the WEP record, read by a query and written by a set, always 57 bytes.

#include <array>
#include <cstddef>
#include <cstdint>

namespace linkscope {

struct WepConfig {
  static constexpr std::size_t kSize = 57;
  static constexpr std::size_t kKeyCount = 4;
  static constexpr std::size_t kKeySlotSize = 13;
  static constexpr std::size_t kOffsetDefaultKey = 0;
  static constexpr std::size_t kOffsetWepMode = 1;
  static constexpr std::size_t kOffsetAuthentication = 2;
  static constexpr std::size_t kOffsetLevel = 4;
  static constexpr std::size_t kOffsetKeys = 5;  // key n at 5 + 13 * n

  // Key lengths that follow from the encryption level.
  static constexpr std::size_t kKeyLength64 = 5;
  static constexpr std::size_t kKeyLength128 = 13;

  std::uint8_t defaultKeyIndex = 0;     // 0 to 3: the key used to transmit
  std::uint8_t wepMode = 0;             // 0 Mandatory, 1 Optional
  std::uint16_t authenticationType = 0; // 0 Open System, 1 Shared Key, 2 Auto
  std::uint8_t encryptionLevel = 0;     // 0 disabled, 1 64-bit, 2 128-bit
  // Raw key slots. At level 1 only the first five bytes are the key; the other eight are carried
  // along untouched.
  std::array<std::array<std::uint8_t, kKeySlotSize>, kKeyCount> keys{};

  std::array<std::uint8_t, kSize> Encode() const;
  void EncodeTo(std::uint8_t* out) const;  // writes kSize bytes
  static bool Decode(const std::uint8_t* data, std::size_t length, WepConfig* out);

  // Key bytes that count at a level: 5 at level 1, 13 at level 2, none otherwise.
  static std::size_t KeyLengthOfLevel(std::uint8_t level);

  bool operator==(const WepConfig& other) const { return Encode() == other.Encode(); }
  bool operator!=(const WepConfig& other) const { return !(*this == other); }
};

namespace WepCode {
constexpr std::uint8_t kModeMandatory = 0;
constexpr std::uint8_t kModeOptional = 1;
constexpr std::uint16_t kAuthOpen = 0;
constexpr std::uint16_t kAuthShared = 1;
constexpr std::uint16_t kAuthAuto = 2;
constexpr std::uint8_t kLevelDisabled = 0;
constexpr std::uint8_t kLevel64 = 1;
constexpr std::uint8_t kLevel128 = 2;
}  // namespace WepCode

}  // namespace linkscope
