#pragma once
// A page of the settings dialog: its window is built from its layout while its tab is
// selected, and goes when another tab is. What each page shows and does is its own class's
// business; this one holds what every page has.

#include <functional>

#include "platform/DialogSystem.h"

namespace linkscope {

class CLayoutPage : public IDialogHandler {
 public:
  explicit CLayoutPage(int resourceId) : resourceId_(resourceId) {}

  int ResourceId() const { return resourceId_; }
  WindowHandle Window() const { return window_; }
  IDialogItems* Items() const { return items_; }

  // A page window starts hidden, so that it appears once it is filled.
  void OnInitDialog(WindowHandle dialog, IDialogItems& items) override {
    window_ = dialog;
    items_ = &items;
    items.ShowDialog(true);
  }
  // Escape pressed while the focus is on the page closes the whole dialog, as it does from
  // anywhere else in it.
  void OnCancel() override {
    if (onEscape) onEscape();
  }
  std::function<void()> onEscape;

  void OnDestroy() override {
    window_ = 0;
    items_ = nullptr;
  }

  // The adapter changed under the page: it reads its records again.
  virtual void Reload() {}
  // A site survey started from this page is still running.
  virtual bool SurveyRunning() const { return false; }
  // The adapter has died away under a running survey: it counts as finished.
  virtual void MarkSurveyFinished() {}
  // Windows configures the card (or no longer does): the page's controls that would change
  // the adapter follow.
  virtual void ApplyWindowsConfiguration(bool /*configuredByWindows*/) {}

 private:
  int resourceId_;
  WindowHandle window_ = 0;
  IDialogItems* items_ = nullptr;
};

}  // namespace linkscope
