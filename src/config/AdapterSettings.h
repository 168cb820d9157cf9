#pragma once
// Every change the program makes to the adapter goes through here: the Status, Advanced and
// Encryption pages, the Site Survey join, the dialog and the tray, and linkscope-cli set.
// Each operation sends its records, keeps the profile-in-sync flag in step with what the
// adapter now holds, and writes the driver's registry parameters, in that order, once. The
// caller gathers the input beforehand and words the result afterwards; the user interface
// steps (refilling the profile selector, going back to the Status page) stay with it.

#include <array>
#include <cstdint>
#include <string>

#include "config/DriverParameters.h"
#include "config/ProfileApplication.h"
#include "config/ProfileStore.h"
#include "device/CAdapterLink.h"
#include "device/CoreRecords.h"
#include "device/SurveyRecords.h"
#include "device/WepConfig.h"
#include "platform/Registry.h"
#include "text/Messages.h"

namespace linkscope {

// What became of a change. Anything but kApplied means the adapter did not take the step named
// and nothing after that step was done (a join is the exception: see Join).
enum class ChangeResult {
  kApplied,
  kConfigRefused,   // OID_PRIV_CONFIGURATION
  kRoamingRefused,  // OID_PRIV_INTL_ROAMING
  kRadioRefused,    // OID_PRIV_RADIO
  kWepRefused,      // OID_PRIV_WEP
  kJoinRefused,     // OID_PRIV_BSSID_SELECT (the selection of a surveyed network)
};

// The Status page's settings: the whole configuration record, then roaming and the radio.
struct LinkChange {
  DeviceConfig config;
  // Roaming is sent only where the caller says the adapter has it; the radio only where the
  // adapter reports one (link.radioSupported). The radio value takes part in the profile
  // comparison either way.
  bool sendRoaming = false;
  std::uint8_t roaming = 0;
  bool sendRadio = false;
  std::uint8_t radio = 1;
};

// The Encryption page's settings: the record, and the key texts as the driver key stores them
// (each already cut to the level's length; at level 0 the keys are not written).
struct WepChange {
  WepConfig wep;
  std::array<std::string, 4> keyTexts;
};

class AdapterSettings {
 public:
  // `parameters` is the program's one view of the driver key, shared with the profile
  // application.
  AdapterSettings(CAdapterLink& link, ProfileState& state, ProfileApplication& application,
                  DriverParameters& parameters)
      : link_(link), state_(state), application_(application), parameters_(parameters) {}

  // The link settings. On success the in-sync flag is what the three records say (the built-in
  // profile always counts as in sync) and the driver key holds the mode, channel, SSID, rate,
  // and roaming and radio where they were sent.
  ChangeResult ChangeLink(const LinkChange& change);
  // The radio settings of the configuration record (preamble, thresholds, power saving).
  ChangeResult ChangeAdvanced(const DeviceConfig& config);
  ChangeResult ChangeWep(const WepChange& change);
  // Joins the network at `row` of the last survey. The driver key takes the network's SSID and
  // mode and the in-sync flag follows the configuration the adapter then reports, also when
  // the selection was refused (the result says so).
  ChangeResult Join(const BssEntry& entry, std::uint32_t row);
  // A whole profile (ProfileApplication::ApplyProfile, with its own messages).
  bool ApplyProfile(const std::string& name);
  // Reads the adapter's configuration and lets the in-sync flag follow it (another adapter
  // selected, an adapter found); false when the read fails.
  bool FollowAdapter();
  // Tells the driver whether Windows configures the card (OID_PRIV_WINDOWS_CONFIG) and, once
  // it has taken that, records it in the driver key (Windows XP only); false when refused.
  bool SetWindowsConfiguration(std::uint8_t configuredByWindows);

 private:
  CAdapterLink& link_;
  ProfileState& state_;
  ProfileApplication& application_;
  DriverParameters& parameters_;
};

}  // namespace linkscope
