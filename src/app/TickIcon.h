#pragma once
// The icon the tick keeps in the tray: the ok or the not-ok picture while a usable adapter
// answers, none while there is none. The frame owns the tray icon, the pictures and the tip,
// and loads the pictures and the tip anew on a language change.

#include <string>

#include "app/TrayIcon.h"

namespace linkscope {

class TickIcon {
 public:
  TickIcon(TrayIcon& tray, const std::string& tip, const IconHandle& okIcon,
           const IconHandle& notOkIcon)
      : tray_(tray), tip_(tip), okIcon_(okIcon), notOkIcon_(notOkIcon) {}
  TickIcon(const TickIcon&) = delete;
  TickIcon& operator=(const TickIcon&) = delete;

  // The picture chosen last; none until a tick shows one, and again after Withdraw or Forget.
  IconHandle Current() const { return currentIcon_; }

  // Shows the ok or the not-ok picture. The icon is the only way into the program: whenever
  // the shell does not hold it (a refused add, a deletion the tick made), it is added again,
  // not only when the choice changes.
  void Show(bool ok);
  // Takes the icon out of the tray when the shell holds it; it returns with the first tick
  // that shows a picture again.
  void Withdraw();
  // Deletes the icon whether or not the shell is known to hold it.
  void Remove() { tray_.Set(0, tip_); }
  // Forgets the choice but leaves the icon where it is: the next picture shown is set anew.
  void Forget() { currentIcon_ = 0; }

 private:
  TrayIcon& tray_;
  const std::string& tip_;
  const IconHandle& okIcon_;
  const IconHandle& notOkIcon_;
  IconHandle currentIcon_ = 0;
  IconHandle previousIcon_ = 0;
};

}  // namespace linkscope
