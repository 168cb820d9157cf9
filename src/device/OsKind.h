#pragma once
// The operating-system classification the device-access code branches on.

#include <cstdint>

#include "platform/System.h"

namespace linkscope {

enum class OsKind : std::uint8_t {
  OtherNt = 0,  // NT family, major version neither 4 nor 5 (Vista and later)
  Win2000 = 1,  // NT 5.x other than 5.1
  NT4 = 2,
  Win95 = 3,
  Win98Me = 4,
  WinXP = 5,
};

// Classifies a version record. Returns false for a platform that is neither NT nor Windows 9x
// (Win32s), which the program does not support; *kind is then left as it was.
bool ClassifyOs(const OsVersion& version, OsKind* kind);

}  // namespace linkscope
