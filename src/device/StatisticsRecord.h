#pragma once
// OID_PRIV_STATISTICS: twelve 32-bit frame counters, 48 bytes.

#include <array>
#include <cstddef>
#include <cstdint>

namespace linkscope {

struct StatisticsRecord {
  static constexpr std::size_t kSize = 48;
  static constexpr std::size_t kCounterCount = 12;

  // Counter positions (index n sits at offset 4 * n). The receive rejection counter comes
  // before the transmit one; the two unnamed counters are carried but mean nothing to us.
  enum Counter : std::size_t {
    kTxDataOk = 0,
    kTxDataFailed = 1,
    kTxMgmtOk = 2,
    kTxMgmtFailed = 3,
    kRxDataOk = 4,
    kRxDataFailed = 5,
    kRxMgmtOk = 6,
    kRxMgmtFailed = 7,
    kRxRejected = 8,
    kUnnamed9 = 9,
    kTxRejected = 10,
    kUnnamed11 = 11,
  };

  std::array<std::uint32_t, kCounterCount> counters{};

  std::array<std::uint8_t, kSize> Encode() const;
  static bool Decode(const std::uint8_t* data, std::size_t length, StatisticsRecord* out);
};

}  // namespace linkscope
