#include "app/WindowsConfigurationStep.h"

#include "device/Oids.h"

namespace linkscope {

bool WindowsConfigurationStep::FollowWindowsConfiguration() {
  CAdapterLink& link = services_.link;
  // The dialog's pages, built again for the new state, and the profile put back may tell of a
  // failure in a box, under which the program may be closed: the tick ends then.
  const WindowLife::Token window = life_.Mark();
  std::uint8_t live = 0;
  std::uint32_t written = 0;
  if (!link.Query(Adapter(), OID_PRIV_WINDOWS_CONFIG, &live, 1, &written)) return true;
  // The dialog shows the flag the link holds; it follows every change of the live value at
  // once, whether the driver has taken the change or not, since the profile switch already
  // does: its controls must not stay open while Windows drives the card, nor locked after
  // Windows let go before a refusing driver ever heard of the change.
  const bool shownChanged = live != link.configuredByWindows;
  link.configuredByWindows = live;
  if (static_cast<std::int32_t>(live) == link.previousConfiguredByWindows) {
    if (shownChanged && DialogOpen()) dialog_->ApplyWindowsConfigurationState();
    return life_.StillAlive(window);
  }

  if (windowsConfigSeen_ || live == 0) {
    if (!services_.adapterSettings.SetWindowsConfiguration(live)) {
      // The change stays pending: the previous value is kept, so the next tick tries again.
      // A driver that keeps refusing would otherwise bring a message every polling period:
      // it is said once for each change.
      if (shownChanged && DialogOpen()) dialog_->ApplyWindowsConfigurationState();
      if (static_cast<std::int32_t>(live) != windowsConfigFailureShown_) {
        windowsConfigFailureShown_ = live;
        if (life_.StillAlive(window)) {
          services_.messages.Show("FailedToSetErrorMessage", "Failed to set parameters");
        }
      }
      return false;
    }
  }
  windowsConfigFailureShown_ = -1;
  windowsConfigSeen_ = true;
  if (DialogOpen()) dialog_->ApplyWindowsConfigurationState();
  if (!life_.StillAlive(window)) return false;
  if (live == 0 && link.previousConfiguredByWindows != -1) {
    // Windows has let go of the card: after a pause the profile in use goes back on it.
    platform_.system.Sleep(kWindowsReleaseWaitMs);
    if (services_.adapterSettings.ApplyProfile(services_.profileState.currentName)) {
      services_.profileState.inSync = true;
      if (DialogOpen()) dialog_->FillProfileSelector();
    }
    if (!life_.StillAlive(window)) return false;
  }
  link.previousConfiguredByWindows = live;
  if (DialogOpen()) dialog_->RebuildStatusPage();
  return life_.StillAlive(window);
}

}  // namespace linkscope
