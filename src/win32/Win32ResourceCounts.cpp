#include "win32/Win32ResourceCounts.h"

#include <windows.h>

#include <algorithm>
#include <vector>

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

std::uint64_t HeapBytesInUse() {
  std::vector<HANDLE> heaps(16);
  DWORD count = GetProcessHeaps(static_cast<DWORD>(heaps.size()), heaps.data());
  if (count > heaps.size()) {
    heaps.resize(count);
    count = GetProcessHeaps(count, heaps.data());
  }
  heaps.resize(std::min<std::size_t>(count, heaps.size()));
  std::uint64_t bytes = 0;
  for (HANDLE heap : heaps) {
    if (!HeapLock(heap)) continue;
    PROCESS_HEAP_ENTRY entry{};
    while (HeapWalk(heap, &entry)) {
      if ((entry.wFlags & PROCESS_HEAP_ENTRY_BUSY) != 0) bytes += entry.cbData;
    }
    HeapUnlock(heap);
  }
  return bytes;
}

}  // namespace linkscope::resource_counts
