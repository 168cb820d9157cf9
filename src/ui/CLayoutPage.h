#pragma once
// A page of the settings dialog: its window is built from its layout while its tab is
// selected, and goes when another tab is. The page object lives for the whole run, so its
// members keep their values between two showings. What each page shows and does is its own
// class's business; this one holds what every page has.

#include <string>

#include "platform/DialogSystem.h"
#include "ui/DialogLayouts.h"
#include "ui/LayoutTexts.h"
#include "ui/PageHost.h"
#include "ui/SettingsDialogServices.h"
#include "ui/WindowLife.h"

namespace linkscope {

class CLayoutPage : public IDialogHandler {
 public:
  CLayoutPage(int resourceId, const SettingsDialogServices& services, IPageHost& host)
      : resourceId_(resourceId), services_(services), host_(host) {}

  int ResourceId() const { return resourceId_; }
  WindowHandle Window() const { return window_; }
  IDialogItems* Items() const { return items_; }
  bool IsShown() const { return items_ != nullptr; }
  // The page's current window: a handler that shows a message box (or calls anything that
  // may) notes its token before and asks after whether the window it started on is still the
  // one shown. The frame asks the same of the page it has just built.
  const WindowLife& Life() const { return life_; }

  // A page window starts hidden, so that it appears once it is filled.
  void OnInitDialog(WindowHandle dialog, IDialogItems& items) override {
    window_ = dialog;
    items_ = &items;
    life_.Begin();
    stayHidden_ = false;
    const WindowLife::Token window = life_.Mark();
    OnCreatePage();
    // A message box shown while the page was built runs messages, and among them the page's
    // window may have gone (the dialog closed by the tick): nothing of it may be touched then.
    if (!life_.StillAlive(window)) return;
    if (!stayHidden_) items.ShowDialog(true);
  }
  // Enter: nothing, unless the page has a default action.
  void OnOk() override {}
  // Escape closes the whole dialog, as it does from anywhere else in it, unless the page
  // gives the key a meaning of its own.
  void OnCancel() override { host_.CloseDialog(); }

  void OnDestroy() override {
    OnDestroyPage();
    life_.End();
    window_ = 0;
    items_ = nullptr;
  }

  // The polling tick, once per tick while the page is shown: the pages that follow the
  // adapter (Status, Statistics, Info) read it again.
  virtual void OnTick() {}
  // The configuration record the last refresh read, when it read one.
  virtual bool RecordRead(DeviceConfig* /*config*/) const { return false; }
  // Another adapter was picked in the dialog: the page reads its records again.
  virtual void Reload() {}
  // A site survey started from this page is still running.
  virtual bool SurveyRunning() const { return false; }
  // The adapter has died away under a running survey: it counts as finished.
  virtual void MarkSurveyFinished() {}
  // Windows configures the card (or no longer does): the page's controls that would change
  // the adapter follow. Called only while the page is shown.
  virtual void ApplyWindowsConfiguration(bool /*configuredByWindows*/) {}

 protected:
  // The page's window and controls exist: it sets its texts and reads what it shows.
  virtual void OnCreatePage() {}
  // The page's window is going; its controls can still be read here. A message box shown here
  // comes last: under it the dialog may go, and the page's window with it.
  virtual void OnDestroyPage() {}

  // Gives every control the page's layout names a text key for its text (and tool tip) in
  // the current language.
  void SetLayoutTexts() const {
    if (items_ == nullptr) return;
    linkscope::SetLayoutTexts(*PageLayout(resourceId_), *items_, services_.language);
  }
  // A control's fixed text in the current language, as the page's layout names it.
  std::string LayoutText(int id) const {
    return linkscope::LayoutText(*PageLayout(resourceId_), id, services_.language);
  }

  // Called from OnCreatePage: the page could not read what it shows and stays hidden.
  void StayHidden() { stayHidden_ = true; }

  const SettingsDialogServices& Services() const { return services_; }
  IPageHost& Host() const { return host_; }

 private:
  int resourceId_;
  const SettingsDialogServices& services_;
  IPageHost& host_;
  WindowHandle window_ = 0;
  IDialogItems* items_ = nullptr;
  bool stayHidden_ = false;
  WindowLife life_;
};

}  // namespace linkscope
