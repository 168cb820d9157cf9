#pragma once
// A named, complete set of adapter settings the user can switch between.

#include <array>
#include <cstdint>
#include <string>

namespace linkscope {

struct Profile {
  std::string name;
  std::string ssid;
  std::int32_t mode = 0;      // 0 Ad-Hoc, 1 Infrastructure
  std::int32_t channel = 0;   // 1 to 14
  std::int32_t rate = 0;      // 0 = 1, 1 = 2, 2 = 5.5, 3 = 11 Mbps, 4 Auto
  std::int32_t power = 0;     // 802.11 power save
  std::int32_t preamble = 0;  // 0 Long, 1 Short, 2 Auto
  std::int32_t frag = 0;
  std::int32_t rts = 0;
  std::int32_t enc = 0;       // 0 disabled, 1 64-bit WEP, 2 128-bit WEP
  std::int32_t wepmode = 0;   // 0 Mandatory, 1 Optional
  std::int32_t auth = 0;      // 0 Open System, 1 Shared Key, 2 Auto
  std::int32_t key = 0;       // index of the transmit key, 0 to 3
  std::array<std::string, 4> keys;  // upper-case hexadecimal
  std::int32_t roaming = 0;
  std::int32_t radio = 0;

  bool operator==(const Profile& other) const;
};

}  // namespace linkscope
