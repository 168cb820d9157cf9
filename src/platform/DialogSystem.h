#pragma once
// Dialogs built from their layouts: a modal dialog with its own loop, and pages (child dialogs
// without a loop of their own). Every message of a dialog reaches its handler's portable
// methods; the handler reaches the dialog's controls through IDialogItems.

#include <cstdint>

#include "platform/DialogItems.h"
#include "platform/DialogLayout.h"
#include "platform/WindowSystem.h"

namespace linkscope {

// The command ids the dialog keys send (Enter, Escape) and that the OK and Cancel buttons carry.
constexpr int kIdCancel = 2;

// Notification codes a handler sees, with the platform's values.
constexpr int kBnClicked = 0;
constexpr int kCbnSelChange = 1;
constexpr int kCbnDropDown = 7;
constexpr int kLbnSelChange = 1;
constexpr int kEnChange = 0x300;     // an edit box's text changed, by the user or the program
constexpr int kEnUpdate = 0x400;     // sent just before kEnChange
constexpr int kEnMaxText = 0x501;    // a typed character was refused by the limit
constexpr int kNmClick = -2;
constexpr int kNmDblClk = -3;
constexpr int kNmCustomDraw = -12;  // reported once per drawing of the control
constexpr int kTcnSelChange = -551;

// Keys the dialog system hands to the dialog around the focus before the focused control sees
// them: Ctrl+Tab and Ctrl+Page Down ask for the next tab, Ctrl+Shift+Tab and Ctrl+Page Up for
// the previous one.
enum class DialogKey { NextTab, PreviousTab };

struct DialogNotification {
  int id = 0;    // the control's id
  int code = 0;  // kNm..., kTcn...
  int item = -1; // the row of a list-view click, else -1
};

class IDialogHandler {
 public:
  virtual ~IDialogHandler() = default;
  // The dialog and its controls exist; `items` reaches them until OnDestroy returns.
  virtual void OnInitDialog(WindowHandle dialog, IDialogItems& items) = 0;
  // A control's command (button click, list selection change, drop-down opening...); OK and
  // Cancel go to OnOk and OnCancel instead.
  virtual void OnCommand(int /*id*/, int /*code*/) {}
  virtual void OnNotify(const DialogNotification& /*notification*/) {}
  // A trackbar's thumb moved.
  virtual void OnScroll(int /*id*/) {}
  virtual void OnTimer(std::uint32_t /*timerId*/) {}
  // A dialog key, wherever the focus is inside the dialog (its pages included); false leaves
  // the key to the focused control.
  virtual bool OnKey(DialogKey /*key*/) { return false; }
  // Enter, or the button with id 1.
  virtual void OnOk() {}
  // Escape, the button with id 2, or the frame's close box.
  virtual void OnCancel() {}
  // The window is going; `items` is still usable here and never after.
  virtual void OnDestroy() {}
};

class IDialogSystem {
 public:
  virtual ~IDialogSystem() = default;

  // Builds the dialog from `layout`, owned by `owner` (disabled meanwhile), runs its loop until
  // EndDialog and returns the code passed there; -1 when the dialog could not be created.
  // The loop dispatches every other window's messages too, timers included.
  virtual int DoModal(const DialogLayout& layout, WindowHandle owner, IDialogHandler& handler) = 0;
  // Ends a modal dialog: its loop returns `result` once the current message is handled.
  virtual void EndDialog(WindowHandle dialog, int result) = 0;

  // Builds a page inside `parent` (a dialog, or one of its controls) at the layout's
  // position; OnInitDialog has run when this returns. 0 on failure.
  virtual WindowHandle CreatePage(const DialogLayout& layout, WindowHandle parent,
                                  IDialogHandler& handler) = 0;
  virtual void DestroyPage(WindowHandle page) = 0;

  // Dispatches the messages already waiting (timer ticks among them) and returns: what a long
  // operation runs between its steps so that the program stays alive. False when the program
  // is asked to end meanwhile (the request stays queued for the main loop).
  virtual bool DispatchPending() = 0;
};

}  // namespace linkscope
