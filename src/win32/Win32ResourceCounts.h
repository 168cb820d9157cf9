#pragma once
// The GDI objects the program makes itself (tray icons, the Info page's logo), counted where
// they are loaded and freed. Wine does not tell another process how many GDI objects a process
// holds, so the main window answers the registered message kMessageName with these counts:
// icons in the low word, bitmaps in the high word. The soak run reads them. With wParam
// kHeapQuery it answers the bytes allocated in the process's heaps instead, so that a soak can
// tell memory the program holds from memory Wine's own side of the process holds.

#include <cstdint>

namespace linkscope::resource_counts {

constexpr const char* kMessageName = "LinkscopeResourceCounts";
constexpr std::uintptr_t kHeapQuery = 1;

void IconLoaded();
void IconFreed();
void BitmapLoaded();
void BitmapFreed();
std::uint32_t Icons();
std::uint32_t Bitmaps();
// Bytes in the busy blocks of every heap of the process (walked on request only).
std::uint64_t HeapBytesInUse();

}  // namespace linkscope::resource_counts
