#pragma once
// The tick's last step: the adapter's device state, the tray icon that shows it, the open
// dialog's refresh, and the end of the program when Windows 95 takes the card away.

#include <cstdint>

#include "app/TickIcon.h"
#include "app/TickStep.h"

namespace linkscope {

class DeviceStateStep : public TickStep {
 public:
  DeviceStateStep(Platform& platform, const FrameServices& services,
                  ISettingsDialogHooks* const& dialog, TickIcon& icon)
      : TickStep(platform, services, dialog), icon_(icon) {}

  // Reads the state and follows it; false when the adapter does not answer.
  bool FollowDeviceState();
  // The state the adapter answered last.
  std::uint8_t State() const { return deviceState_; }

 private:
  TickIcon& icon_;
  std::uint8_t deviceState_ = 0;
};

}  // namespace linkscope
