#pragma once
// The tick's step on XP that follows the Windows configuration service: the driver's
// configured-by-Windows flag, the settings dialog's lock, and the profile in use put back on
// the card once Windows lets go of it.

#include <cstdint>

#include "app/TickStep.h"
#include "ui/WindowLife.h"

namespace linkscope {

class WindowsConfigurationStep : public TickStep {
 public:
  // `life` is the main window's: the step's boxes run messages, under which the program may be
  // closed.
  WindowsConfigurationStep(Platform& platform, const FrameServices& services,
                           ISettingsDialogHooks* const& dialog, const WindowLife& life)
      : TickStep(platform, services, dialog), life_(life) {}

  // Follows the Windows configuration service on XP; false ends the tick.
  bool FollowWindowsConfiguration();

  // Wait after Windows lets go of the card before the profile is applied again.
  static constexpr std::uint32_t kWindowsReleaseWaitMs = 2000;

 private:
  const WindowLife& life_;
  bool windowsConfigSeen_ = false;
  // The configured-by-Windows value whose refused set was last reported (-1: none pending).
  std::int32_t windowsConfigFailureShown_ = -1;
};

}  // namespace linkscope
