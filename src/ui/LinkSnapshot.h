#pragma once
// What the polling tick learnt about the link on its last run, for what shows the link outside
// the settings dialog: the tray icon's tooltip, the notifications and the signal history.

#include <cstdint>
#include <optional>
#include <string>

#include "device/CoreRecords.h"

namespace linkscope {

struct LinkSnapshot {
  // A usable adapter answered the tick (its device state was read and is not an unusable one).
  bool adapter = false;
  std::uint8_t deviceState = 0;     // OID_PRIV_DEVICE_STATE
  std::uint32_t media = 0;          // OID_GEN_MEDIA_CONNECT_STATUS, 0 connected
  std::uint8_t radio = 1;           // the radio byte the link caches, 0 off
  // The configuration record, when the tick read it (it carries the SSID, BSSID, channel,
  // signal and link quality). The tick reads it only where it shows something: on a link
  // (state 5), a refusal (241) and a failed join (13), and only while the tray icon is shown.
  std::optional<DeviceConfig> config;
  // The Status page's status line for it ("Associated - BSSID: ...", "Scanning...", a
  // management message); the states that name nothing of the record are worded from the state
  // alone; empty for a link or a refusal whose record could not be read.
  std::string statusText;
  // The two bars in percent of their card-type scale, while there is a link to measure.
  std::optional<int> signalPercent;
  std::optional<int> qualityPercent;
  // The clock's tick count (milliseconds) when it was taken.
  std::uint32_t time = 0;
};

}  // namespace linkscope
