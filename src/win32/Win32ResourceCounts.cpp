#include "win32/Win32ResourceCounts.h"

namespace linkscope::resource_counts {

namespace {
// Only the user-interface thread loads and frees these.
std::uint32_t icons = 0;
std::uint32_t bitmaps = 0;
}  // namespace

void IconLoaded() { ++icons; }
void IconFreed() {
  if (icons > 0) --icons;
}
void BitmapLoaded() { ++bitmaps; }
void BitmapFreed() {
  if (bitmaps > 0) --bitmaps;
}
std::uint32_t Icons() { return icons; }
std::uint32_t Bitmaps() { return bitmaps; }

}  // namespace linkscope::resource_counts
