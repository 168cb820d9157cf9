#pragma once
// What a page asks of the settings dialog that frames it.

#include <string>

#include "platform/WindowSystem.h"

namespace linkscope {

class IPageHost {
 public:
  virtual ~IPageHost() = default;

  // Shows the page of tab `index` (0 Status ... 6 Info); the calling page's window is
  // destroyed, so a page returns at once after asking for another one. Asked while a tab
  // change is under way (under a box it showed), the request is left to that change, which
  // builds the page asked for last.
  virtual void SelectPage(int index) = 0;
  // Refills the profile selector after a change that may have made the adapter differ from
  // the profile in use (or match it again).
  virtual void FillProfileSelector() = 0;
  // Closes the dialog as its Exit button does.
  virtual void CloseDialog() = 0;
  // Whether the dialog is open: false once it has been asked to close, while its windows may
  // still exist.
  virtual bool IsOpen() const = 0;
  // The dialog's own window (0 while it is closed).
  virtual WindowHandle DialogWindow() const = 0;
  // The folder that bitmap names of the language file are relative to, with its trailing
  // backslash.
  virtual std::string ResourceDirectory() const = 0;
  // Opens the signal history window beside the dialog, or brings it to the front.
  virtual void OpenSignalHistory() {}
};

}  // namespace linkscope
