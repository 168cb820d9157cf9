#include "device/WepConfig.h"

#include <cstring>

#include "device/ByteOrder.h"
#include "device/Oids.h"

namespace linkscope {

static_assert(WepConfig::kSize == kWepConfigSize, "one size for the WEP record");
static_assert(WepConfig::kOffsetKeys + WepConfig::kKeyCount * WepConfig::kKeySlotSize ==
                  WepConfig::kSize,
              "the four key slots end the record");

void WepConfig::EncodeTo(std::uint8_t* p) const {
  p[kOffsetDefaultKey] = defaultKeyIndex;
  p[kOffsetWepMode] = wepMode;
  WriteU16Le(p + kOffsetAuthentication, authenticationType);
  p[kOffsetLevel] = encryptionLevel;
  for (std::size_t k = 0; k < kKeyCount; ++k) {
    std::memcpy(p + kOffsetKeys + k * kKeySlotSize, keys[k].data(), kKeySlotSize);
  }
}

std::array<std::uint8_t, WepConfig::kSize> WepConfig::Encode() const {
  std::array<std::uint8_t, kSize> out{};
  EncodeTo(out.data());
  return out;
}

bool WepConfig::Decode(const std::uint8_t* p, std::size_t length, WepConfig* out) {
  if (p == nullptr || out == nullptr || length != kSize) return false;
  WepConfig w;
  w.defaultKeyIndex = p[kOffsetDefaultKey];
  w.wepMode = p[kOffsetWepMode];
  w.authenticationType = ReadU16Le(p + kOffsetAuthentication);
  w.encryptionLevel = p[kOffsetLevel];
  for (std::size_t k = 0; k < kKeyCount; ++k) {
    std::memcpy(w.keys[k].data(), p + kOffsetKeys + k * kKeySlotSize, kKeySlotSize);
  }
  *out = w;
  return true;
}

std::size_t WepConfig::KeyLengthOfLevel(std::uint8_t level) {
  if (level == WepCode::kLevel64) return kKeyLength64;
  if (level == WepCode::kLevel128) return kKeyLength128;
  return 0;
}

}  // namespace linkscope
