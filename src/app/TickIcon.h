#pragma once
// The icon the tick keeps in the tray: the ok or the not-ok picture while a usable adapter
// answers, none while there is none. The frame owns the tray icon and the pictures, and loads
// the pictures anew on a language change. The tick chooses the picture as it goes and hands
// the icon its tooltip (and a balloon, when there is news) once, at its end: the shell hears
// of the icon only when something it shows changed.

#include <cstdint>
#include <optional>
#include <string>

#include "app/TrayIcon.h"

namespace linkscope {

class TickIcon {
 public:
  // `holdOnLeave`: the option that shows balloons; with it, a card that goes keeps its icon
  // for a while, so that the balloon saying so has somewhere to come from.
  TickIcon(TrayIcon& tray, const IconHandle& okIcon, const IconHandle& notOkIcon,
           const bool& holdOnLeave)
      : tray_(tray), okIcon_(okIcon), notOkIcon_(notOkIcon), holdOnLeave_(holdOnLeave) {}
  TickIcon(const TickIcon&) = delete;
  TickIcon& operator=(const TickIcon&) = delete;

  // How long the icon of a card that went stays, with its balloon (the shell's shortest
  // balloon time is ten seconds).
  static constexpr std::uint32_t kHoldMs = 10000;

  // The picture chosen last; none until a tick shows one, and again after Withdraw or Forget.
  IconHandle Current() const { return currentIcon_; }
  // The tooltip the shell was given last.
  const std::string& Tip() const { return shownTip_; }
  bool Holding() const { return holdUntil_.has_value(); }

  // Chooses the ok or the not-ok picture; Present shows it.
  void Show(bool ok);
  // Gives the shell the chosen picture with `tip` (and the balloon) when the picture or the
  // tip differ from what it holds, when there is a balloon, or when the shell does not hold
  // the icon at all (a refused add, a deletion the tick made): the icon is the only way into
  // the program. Nothing while no picture is chosen.
  void Present(const std::string& tip, const TrayBalloon* balloon);
  // Takes the icon out of the tray when the shell holds it; it returns with the first tick
  // that shows a picture again.
  void Withdraw();
  // The adapter is gone at `now` (the clock's tick count): the icon goes, or with the hold it
  // shows the not-ok picture until kHoldMs have passed since the first call.
  void Leave(std::uint32_t now);
  // Deletes the icon whether or not the shell is known to hold it.
  void Remove();
  // Forgets the choice but leaves the icon where it is: the next picture shown is set anew.
  void Forget() {
    currentIcon_ = 0;
    shownIcon_ = 0;
  }
  // The shell lost every icon: the chosen one goes on the new taskbar with its tip.
  void AddAgain();

 private:
  TrayIcon& tray_;
  const IconHandle& okIcon_;
  const IconHandle& notOkIcon_;
  const bool& holdOnLeave_;
  IconHandle currentIcon_ = 0;
  IconHandle shownIcon_ = 0;
  std::string shownTip_;
  std::optional<std::uint32_t> holdUntil_;
};

}  // namespace linkscope
