#pragma once
// The driver's registry parameters as the simulated driver reads them when it starts, and as
// the adapter installer writes their defaults.

#include <cstdint>
#include <string>
#include <vector>

#include "device/DriverKeyValues.h"

namespace linkscope::sim {

// One value of the driver key, with what the driver accepts in it. The name and whether it is
// a number come from the program's table of driver-key values.
struct DriverParameterInfo {
  driverkey::Id id;
  const char* name;
  bool numeric;
  std::uint32_t minimum;  // numbers only
  std::uint32_t maximum;
  const char* defaultText;
};

// Every value the driver reads, in the order the installer writes them.
const std::vector<DriverParameterInfo>& DriverParameterTable();
const DriverParameterInfo* FindDriverParameter(const std::string& name);

// Checks a text for a parameter: numbers in decimal within their range; WEP keys as 0, 10 or
// 26 hexadecimal digits; the ESSID at most 32 bytes. The reason is set when it fails.
bool ValidateDriverParameter(const DriverParameterInfo& info, const std::string& text,
                             std::string* reason);

// "0A1B..." to bytes; false for an odd count or a character that is not a hex digit.
bool ParseHex(const std::string& text, std::vector<std::uint8_t>* bytes);
// Strict decimal: digits only, no sign, no blanks, fits 32 bits.
bool ParseDecimal(const std::string& text, std::uint32_t* value);

}  // namespace linkscope::sim
