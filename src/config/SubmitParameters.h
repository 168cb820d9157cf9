#pragma once
// The driver parameters a page writes after the adapter has taken its Submit, so that the
// driver starts the same way next time. Nothing is written when the driver key cannot be
// opened; the adapter keeps what it was sent all the same.

#include <cstdint>

#include "config/DriverParameters.h"
#include "device/CoreRecords.h"

namespace linkscope {

// The Status page's six settings. The channel is written only when it is one; roaming and the
// radio only where the adapter has them.
struct LinkSettings {
  const DeviceConfig* config = nullptr;
  std::uint8_t roaming = 0;
  bool roamingSupported = false;
  std::uint8_t radio = 1;
  bool radioSupported = false;
};
bool WriteLinkParameters(DriverParameters& parameters, const LinkSettings& settings);

// The Advanced page's four radio fields.
bool WriteRadioParameters(DriverParameters& parameters, const DeviceConfig& config);

}  // namespace linkscope
