#pragma once
// The GDI objects the program makes itself (tray icons, the Info page's logo), counted where
// they are loaded and freed. Wine does not tell another process how many GDI objects a process
// holds, so the main window answers the registered message kMessageName with these counts:
// icons in the low word, bitmaps in the high word. The soak run reads them.

#include <cstdint>

namespace linkscope::resource_counts {

constexpr const char* kMessageName = "LinkscopeResourceCounts";

void IconLoaded();
void IconFreed();
void BitmapLoaded();
void BitmapFreed();
std::uint32_t Icons();
std::uint32_t Bitmaps();

}  // namespace linkscope::resource_counts
