#include "device/OsKind.h"

namespace linkscope {

bool ClassifyOs(const OsVersion& v, OsKind* kind) {
  if (v.platform == kPlatformNt) {
    if (v.major == 4) {
      *kind = OsKind::NT4;
    } else if (v.major == 5) {
      *kind = v.minor == 1 ? OsKind::WinXP : OsKind::Win2000;
    } else {
      *kind = OsKind::OtherNt;
    }
    return true;
  }
  if (v.platform == kPlatformWin9x) {
    *kind = v.minor == 0 ? OsKind::Win95 : OsKind::Win98Me;
    return true;
  }
  return false;
}

}  // namespace linkscope
