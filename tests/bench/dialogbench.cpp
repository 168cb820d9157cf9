// Opening the settings dialog and switching its tabs under Wine, measured against two dialogs
// the platform builds on its own: an empty one of the same size, and one from a template made
// before the clock starts that holds the Status page's controls where the settings dialog shows
// them. The ratios say what building from layouts costs beyond the platform's own price for a
// dialog and for those controls. Prints one line per measure (the median of its rounds), and
// what the process's heaps kept per dialog (the soak's memory figures come back to this); not a
// test.
//   dialogbench [ROUNDS]

#include <windows.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <utility>
#include <vector>

#include "ui/DialogLayouts.h"
#include "win32/Win32DialogSystem.h"
#include "win32/Win32ResourceCounts.h"

namespace {

using linkscope::ControlLayout;
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

// The platform's own modal dialog from a template that exists already, ended as soon as it is
// built, as the settings dialog is by Closer.
INT_PTR CALLBACK EndAtOnce(HWND dialog, UINT message, WPARAM, LPARAM) {
  if (message != WM_INITDIALOG) return FALSE;
  EndDialog(dialog, 1);
  return TRUE;
}

// The settings dialog's frame holding the Status page's controls, each moved by the page's
// place in the dialog (page and dialog measure in the same font).
DialogLayout StatusControlsInFrame() {
  DialogLayout d = linkscope::SettingsDialogLayout();
  const DialogLayout& page = *linkscope::PageLayout(linkscope::kStatusPageId);
  d.controls = page.controls;
  for (ControlLayout& c : d.controls) {
    c.x += page.x;
    c.y += page.y;
  }
  return d;
}

// The times of one kind of dialog, one per round, and what the heaps kept of its dialogs.
class Series {
 public:
  explicit Series(std::function<void()> open) : open_(std::move(open)) {}

  // The first round builds the classes and fonts: its heap counts, its time does not.
  void Round(bool timed) {
    const std::uint64_t heapBefore = linkscope::resource_counts::HeapBytesInUse();
    const double start = Now();
    open_();
    const double seconds = Now() - start;
    heapKept_ += static_cast<long long>(linkscope::resource_counts::HeapBytesInUse()) -
                 static_cast<long long>(heapBefore);
    ++heapRounds_;
    if (timed) seconds_.push_back(seconds);
  }
  double Median() const {
    std::vector<double> sorted = seconds_;
    std::sort(sorted.begin(), sorted.end());
    return sorted.empty() ? 0 : sorted[sorted.size() / 2];
  }
  long long HeapPerRound() const { return heapKept_ / (heapRounds_ > 0 ? heapRounds_ : 1); }

 private:
  std::function<void()> open_;
  std::vector<double> seconds_;
  long long heapKept_ = 0;
  long long heapRounds_ = 0;
};

}  // namespace

int main(int argc, char** argv) {
  const int rounds = argc > 1 ? std::atoi(argv[1]) : 20;
  linkscope::Win32DialogSystem dialogs(GetModuleHandleA(nullptr));
  DialogLayout empty = linkscope::SettingsDialogLayout();
  empty.controls.clear();
  const DialogLayout& settings = linkscope::SettingsDialogLayout();
  Closer emptyCloser(dialogs, -1), openCloser(dialogs, 0), switchCloser(dialogs, 7);
  const std::vector<std::uint32_t> statusTemplate =
      linkscope::Win32DialogSystem::BuildTemplate(StatusControlsInFrame());
  const auto* ready = reinterpret_cast<LPCDLGTEMPLATEA>(statusTemplate.data());
  HINSTANCE instance = GetModuleHandleA(nullptr);

  Series base([&] { dialogs.DoModal(empty, 0, emptyCloser); });
  Series reference([&] { DialogBoxIndirectParamA(instance, ready, nullptr, EndAtOnce, 0); });
  Series open([&] { dialogs.DoModal(settings, 0, openCloser); });
  Series switched([&] { dialogs.DoModal(settings, 0, switchCloser); });
  // One of each in every round, so that a machine busy with other work slows them alike.
  for (int i = 0; i <= rounds; ++i) {
    for (Series* s : {&base, &reference, &open, &switched}) s->Round(i > 0);
  }

  const double perSwitch = (switched.Median() - open.Median()) / 7;
  std::printf("medians of %d rounds\n", rounds);
  std::printf("empty dialog of the same size: %.2f ms\n", base.Median() * 1000);
  std::printf("the Status page's controls in a dialog from a ready template: %.2f ms\n",
              reference.Median() * 1000);
  std::printf("settings dialog with its Status page: %.2f ms (%.1f x empty, %.2f x the ready "
              "template)\n",
              open.Median() * 1000, open.Median() / base.Median(),
              open.Median() / reference.Median());
  std::printf("one tab switch (destroy a page, build the next): %.2f ms (%.2f x empty)\n",
              perSwitch * 1000, perSwitch / base.Median());
  std::printf("heap kept per dialog with seven tab switches: %lld bytes\n",
              switched.HeapPerRound());
  std::printf("heap kept per dialog from the ready template: %lld bytes\n",
              reference.HeapPerRound());
  return 0;
}
