#include "device/StatisticsRecord.h"

#include "device/ByteOrder.h"

namespace linkscope {

std::array<std::uint8_t, StatisticsRecord::kSize> StatisticsRecord::Encode() const {
  std::array<std::uint8_t, kSize> out{};
  for (std::size_t i = 0; i < kCounterCount; ++i) WriteU32Le(out.data() + 4 * i, counters[i]);
  return out;
}

bool StatisticsRecord::Decode(const std::uint8_t* p, std::size_t length, StatisticsRecord* out) {
  if (p == nullptr || out == nullptr || length != kSize) return false;
  StatisticsRecord s;
  for (std::size_t i = 0; i < kCounterCount; ++i) s.counters[i] = ReadU32Le(p + 4 * i);
  *out = s;
  return true;
}

}  // namespace linkscope
