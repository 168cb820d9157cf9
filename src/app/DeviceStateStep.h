#pragma once
// The tick's last step: the adapter's device state, the tray icon's picture for it, the open
// dialog's refresh, and the end of the program when Windows 95 takes the card away. The frame
// shows the picture at the end of the tick, with the tooltip the state gives.

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
  // The media status the last usable state came with (0 connected).
  std::uint32_t Media() const { return media_; }
  // The last state answered is one the program works with (not 12, 16 or 18).
  bool Usable() const { return usable_; }

 private:
  TickIcon& icon_;
  std::uint8_t deviceState_ = 0;
  std::uint32_t media_ = 0;
  bool usable_ = false;
};

}  // namespace linkscope
