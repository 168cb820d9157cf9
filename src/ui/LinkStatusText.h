#pragma once
// The one-line connection status of the Status page, from the configuration record the driver
// reports and the radio byte.

#include <cstdint>
#include <string>

#include "device/CoreRecords.h"
#include "text/TextSource.h"

namespace linkscope {

// "Associated - BSSID: ...", "Scanning...", the management message of state 241, ...; empty
// for a state the driver does not define. A radio switched off wins over every state. The
// state texts are fixed; only the management messages come from the language file.
std::string LinkStatusText(const DeviceConfig& config, std::uint8_t radio,
                           const ITextSource& texts);

// The same line without the BSSID, for a place too small for it: "Associated" or "Ready" for
// a link, the line itself for every other state.
std::string LinkStateName(const DeviceConfig& config, std::uint8_t radio, const ITextSource& texts);

// The text for an 802.11 status code the driver reports with state 241; an unknown code is
// shown with its number.
std::string ManagementMessage(std::uint32_t statusCode, const ITextSource& texts);

}  // namespace linkscope
