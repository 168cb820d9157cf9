// Opening the settings dialog and switching its tabs under Wine, measured against opening an
// empty dialog of the same size: the ratios say what building from layouts costs beyond the
// platform's own price for a dialog. Prints one line per measure, and what the process's heaps
// kept per round (the soak's memory figures come back to this); not a test.
//   dialogbench [ROUNDS]

#include <windows.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>

#include "ui/DialogLayouts.h"
#include "win32/Win32DialogSystem.h"
#include "win32/Win32ResourceCounts.h"

namespace {

using linkscope::DialogLayout;
using linkscope::IDialogHandler;
using linkscope::IDialogItems;
using linkscope::WindowHandle;

double Now() {
  LARGE_INTEGER f, c;
  QueryPerformanceFrequency(&f);
  QueryPerformanceCounter(&c);
  return static_cast<double>(c.QuadPart) / static_cast<double>(f.QuadPart);
}

// Ends its dialog as soon as it is built, after `work`.
class Closer : public IDialogHandler {
 public:
  Closer(linkscope::Win32DialogSystem& dialogs, int pageSwitches)
      : dialogs_(dialogs), pageSwitches_(pageSwitches) {}
  void OnInitDialog(WindowHandle dialog, IDialogItems& items) override {
    // The Status page, as the settings dialog opens with it, then the tab switches.
    WindowHandle page = 0;
    for (int i = 0; i <= pageSwitches_; ++i) {
      if (page != 0) dialogs_.DestroyPage(page);
      const int id = linkscope::kPageResourceIds[i % linkscope::kPageCount];
      const WindowHandle parent =
          id == linkscope::kTabHostedPageId ? items.Window(linkscope::kIdTabControl) : dialog;
      if (pageSwitches_ >= 0) page = dialogs_.CreatePage(*linkscope::PageLayout(id), parent, pages_);
    }
    dialogs_.EndDialog(dialog, 1);
  }

 private:
  class Page : public IDialogHandler {
    void OnInitDialog(WindowHandle, IDialogItems& items) override { items.ShowDialog(true); }
  } pages_;
  linkscope::Win32DialogSystem& dialogs_;
  int pageSwitches_;
};

double Measure(linkscope::Win32DialogSystem& dialogs, const DialogLayout& layout, int switches,
               int rounds) {
  Closer closer(dialogs, switches);
  dialogs.DoModal(layout, 0, closer);  // warm-up: classes, fonts
  const double start = Now();
  for (int i = 0; i < rounds; ++i) dialogs.DoModal(layout, 0, closer);
  return (Now() - start) / rounds;
}

}  // namespace

int main(int argc, char** argv) {
  const int rounds = argc > 1 ? std::atoi(argv[1]) : 20;
  linkscope::Win32DialogSystem dialogs(GetModuleHandleA(nullptr));
  DialogLayout empty = linkscope::SettingsDialogLayout();
  empty.controls.clear();
  const double base = Measure(dialogs, empty, -1, rounds);
  const double open = Measure(dialogs, linkscope::SettingsDialogLayout(), 0, rounds);
  const std::uint64_t heapBefore = linkscope::resource_counts::HeapBytesInUse();
  const double switched = Measure(dialogs, linkscope::SettingsDialogLayout(), 7, rounds);
  const std::uint64_t heapAfter = linkscope::resource_counts::HeapBytesInUse();
  const double perSwitch = (switched - open) / 7;
  std::printf("empty dialog of the same size: %.2f ms\n", base * 1000);
  std::printf("settings dialog with its Status page: %.2f ms (%.1f x empty)\n", open * 1000,
              open / base);
  std::printf("one tab switch (destroy a page, build the next): %.2f ms (%.2f x empty)\n",
              perSwitch * 1000, perSwitch / base);
  std::printf("heap kept per dialog with seven tab switches: %lld bytes\n",
              static_cast<long long>(heapAfter - heapBefore) / (rounds + 1));
  return 0;
}
