#pragma once
// The program's one notification-area icon: added when the first icon is set, modified after
// that, deleted when set to none.

#include <cstdint>
#include <string>

#include "platform/WindowSystem.h"

namespace linkscope {

// A balloon the shell shows from the icon.
struct TrayBalloon {
  std::string title;
  std::string text;
};

class TrayIcon {
 public:
  explicit TrayIcon(IWindowSystem& windows) : windows_(windows) {}

  // The window that receives the icon's mouse messages, as `callbackMessage`.
  void Attach(WindowHandle owner, std::uint32_t callbackMessage);

  // A non-null icon adds the tray icon (or modifies it when it is shown); a null icon deletes
  // it. Returns whether the shell accepted the request. The tip and the balloon's texts are
  // cut to what the record holds, whole words only.
  bool Set(IconHandle icon, const std::string& tip, const TrayBalloon* balloon = nullptr);

  bool Shown() const { return shown_; }
  // The shell lost every icon (its taskbar was made anew): the next Set adds the icon again.
  void Forget() { shown_ = false; }

  static constexpr std::uint32_t kIconId = 1;

 private:
  IWindowSystem& windows_;
  WindowHandle owner_ = 0;
  std::uint32_t callbackMessage_ = 0;
  bool shown_ = false;
};

}  // namespace linkscope
