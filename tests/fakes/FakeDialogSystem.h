#pragma once
// Dialogs in memory. A modal dialog's "loop" is a callback the test supplies: inside it the
// test presses buttons and keys and fires timer ticks, as the real loop would dispatch them.

#include <functional>
#include <map>
#include <set>
#include <string>
#include <memory>
#include <vector>

#include "fakes/FakeDialogItems.h"
#include "platform/DialogSystem.h"

namespace linkscope {

class FakeDialogSystem : public IDialogSystem {
 public:
  // Bitmap files that exist for the dialogs' image controls.
  std::set<std::string> imageFiles;
  int DoModal(const DialogLayout& layout, WindowHandle owner, IDialogHandler& handler) override;
  void EndDialog(WindowHandle dialog, int result) override;
  WindowHandle CreatePage(const DialogLayout& layout, WindowHandle parent,
                          IDialogHandler& handler) override;
  void DestroyPage(WindowHandle page) override;
  // Runs `pending` (the test's ticks and clicks) and answers what it returns; true without it.
  bool DispatchPending() override {
    ++dispatches;
    return pending ? pending() : true;
  }
  std::function<bool()> pending;
  int dispatches = 0;

  // Runs once inside each modal loop, after OnInitDialog. A dialog still open when it returns
  // is ended with kIdCancel without asking its handler, and counted in modalsLeftOpen.
  std::function<void(WindowHandle dialog, const DialogLayout& layout)> modalLoop;
  int modalsLeftOpen = 0;
  bool failCreate = false;

  // A window of someone else's that pages may be created in (the real system takes any).
  WindowHandle AddHostWindow();

  // Destroys a dialog (and its pages) at once, as Windows does with the windows a destroyed
  // owner leaves behind; its modal loop, if any, then returns with nothing left to end.
  void DestroyNow(WindowHandle dialog) { Destroy(dialog); }

  bool Exists(WindowHandle dialog) const { return dialogs_.count(dialog) != 0; }
  // Dialogs and pages that exist.
  std::size_t DialogCount() const { return dialogs_.size(); }
  // The controls of an existing dialog or page; null when it does not exist.
  FakeDialogItems* Items(WindowHandle dialog);
  int ResourceOf(WindowHandle dialog) const;
  WindowHandle ParentOf(WindowHandle dialog) const;
  // The existing pages, oldest first.
  std::vector<WindowHandle> Pages() const;
  int ModalDepth() const { return modalDepth_; }

  // What the real window delivers. A click on a disabled or hidden control does nothing, as
  // the user cannot reach it; the others deliver unconditionally.
  void Click(WindowHandle dialog, int id);
  void Command(WindowHandle dialog, int id, int code);
  void Notify(WindowHandle dialog, const DialogNotification& notification);
  void PressEnter(WindowHandle dialog);
  void PressEscape(WindowHandle dialog);
  // Ctrl+Tab and its kin, which the real system hands to the frame wherever the focus is.
  bool PressKey(WindowHandle dialog, DialogKey key);
  // The ids of the controls Tab visits in one round, as the real system walks frame and page:
  // the frame's visible, enabled tab stops in layout order, each page's (when the page shows
  // and takes input) right after the tab control. A radio group's stop is its checked button,
  // which Windows gives the tab-stop style.
  std::vector<int> TabSequence(WindowHandle dialog);
  void Timer(WindowHandle dialog, std::uint32_t timerId);
  // The user picks entry `index` of a drop-down list: the selection changes, then the
  // selection-change command arrives.
  void ChooseComboItem(WindowHandle dialog, int id, int index);
  // The user clicks tab `index`: it becomes selected, then the selection change is reported.
  void ChooseTab(WindowHandle dialog, int id, int index);

 private:
  struct Dialog {
    const DialogLayout* layout = nullptr;
    IDialogHandler* handler = nullptr;
    WindowHandle parent = 0;
    std::unique_ptr<FakeDialogItems> items;
    bool modal = false;
    bool ended = false;
    bool destroying = false;
    int result = 0;
    int order = 0;
  };
  WindowHandle Create(const DialogLayout& layout, WindowHandle parent, IDialogHandler& handler,
                      bool modal);
  // Destroys a dialog and, after it, every page inside it or inside one of its controls.
  void Destroy(WindowHandle dialog);
  bool IsKnownWindow(WindowHandle window) const;
  IDialogHandler* HandlerOf(WindowHandle dialog);

  std::map<WindowHandle, Dialog> dialogs_;
  std::vector<WindowHandle> hosts_;
  WindowHandle next_ = 0x200000;
  int order_ = 0;
  int modalDepth_ = 0;
};

}  // namespace linkscope
