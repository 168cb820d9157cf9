#include "config/AdapterSettings.h"

#include <initializer_list>

#include "config/ProfileNames.h"
#include "device/DriverKeyValues.h"
#include "device/Oids.h"
#include "device/RecordQuery.h"
#include "device/SurveyRequests.h"

namespace linkscope {

namespace {

bool IsChannel(std::uint8_t channel) { return channel >= 1 && channel <= 14; }

struct NumberValue {
  const char* name;
  std::uint32_t value;
};

void WriteNumbers(DriverParameters& parameters, std::initializer_list<NumberValue> values) {
  for (const NumberValue& v : values) parameters.WriteNumber(v.name, v.value);
}

}  // namespace

ChangeResult AdapterSettings::ChangeLink(const LinkChange& change) {
  const AdapterEntry* adapter = link_.CurrentAdapter();
  const DeviceConfig& config = change.config;
  if (!SetDeviceConfig(link_, adapter, config)) return ChangeResult::kConfigRefused;
  const std::string& current = state_.currentName;
  bool matches = application_.MatchesProfile(current, config);

  if (change.sendRoaming) {
    if (!link_.Set(adapter, OID_PRIV_INTL_ROAMING, &change.roaming, 1)) {
      return ChangeResult::kRoamingRefused;
    }
    // The channel lists follow the roaming the adapter now has.
    link_.internationalRoaming = change.roaming;
    matches = application_.MatchesProfile(current, RoamingSetting{change.roaming}) && matches;
  }
  if (change.sendRadio && !link_.Set(adapter, OID_PRIV_RADIO, &change.radio, 1)) {
    return ChangeResult::kRadioRefused;
  }
  matches = application_.MatchesProfile(current, RadioSetting{change.radio}) && matches;
  // Unlike a single record's update, a whole link change leaves the built-in profile in sync
  // whatever it sent: the built-in profile is what the user makes of it.
  state_.inSync = IsDefaultProfileName(current) || matches;

  if (parameters_.Open()) {
    parameters_.WriteNumber(driverkey::kOperatingMode, config.operatingMode);
    if (IsChannel(config.channel)) parameters_.WriteNumber(driverkey::kChannel, config.channel);
    parameters_.WriteText(driverkey::kEssid, config.SsidBytes());
    parameters_.WriteNumber(driverkey::kRate, config.txRate);
    if (change.sendRoaming) {
      parameters_.WriteNumber(driverkey::kInternationalRoaming, change.roaming);
    }
    if (change.sendRadio) parameters_.WriteNumber(driverkey::kRadioOnOff, change.radio);
    parameters_.Close();
  }
  return ChangeResult::kApplied;
}

ChangeResult AdapterSettings::ChangeAdvanced(const DeviceConfig& config) {
  if (!SetDeviceConfig(link_, link_.CurrentAdapter(), config)) {
    return ChangeResult::kConfigRefused;
  }
  application_.UpdateProfileInSync(config);
  if (parameters_.Open()) {
    WriteNumbers(parameters_, {{driverkey::kPreambleType, config.preamble},
                               {driverkey::kFragThreshold, config.fragThreshold},
                               {driverkey::kRtsThreshold, config.rtsThreshold},
                               {driverkey::kPowerMgmtMode, config.powerSave}});
    parameters_.Close();
  }
  return ChangeResult::kApplied;
}

ChangeResult AdapterSettings::ChangeWep(const WepChange& change) {
  const WepConfig& wep = change.wep;
  if (!SetWepConfig(link_, link_.CurrentAdapter(), wep)) return ChangeResult::kWepRefused;
  application_.UpdateProfileInSync(wep);
  if (parameters_.Open()) {
    // The keys, the default key, the mode and the authentication mean nothing to a driver
    // that encrypts nothing: they stay as they were.
    if (wep.encryptionLevel == WepCode::kLevel64 || wep.encryptionLevel == WepCode::kLevel128) {
      for (std::size_t k = 0; k < WepConfig::kKeyCount; ++k) {
        parameters_.WriteText(driverkey::kWepKeys[k], change.keyTexts[k]);
      }
      WriteNumbers(parameters_, {{driverkey::kWepKeyIndex, wep.defaultKeyIndex},
                                 {driverkey::kWepMode, wep.wepMode},
                                 {driverkey::kAuthenticationType, wep.authenticationType}});
    }
    parameters_.WriteNumber(driverkey::kEncryptionLevel, wep.encryptionLevel);
    parameters_.Close();
  }
  return ChangeResult::kApplied;
}

ChangeResult AdapterSettings::Join(const BssEntry& entry, std::uint32_t row) {
  // An ad-hoc cell has no roaming: the channel lists shown next are the domain's.
  if (entry.bssType == BssType::kAdHoc) link_.internationalRoaming = 0;
  const bool selected = SelectBss(link_, link_.CurrentAdapter(), row);
  // The driver key names the network whether the adapter took the selection or not: the user
  // chose it, and the driver tries it again when it starts.
  if (parameters_.Open()) {
    // The name as the list shows it, in the driver key only.
    parameters_.WriteTextWithoutCopy(driverkey::kEssid, SurveySsidText(entry));
    if (entry.bssType == BssType::kAdHoc) parameters_.WriteNumber(driverkey::kOperatingMode, 0);
    if (entry.bssType == BssType::kInfrastructure) {
      parameters_.WriteNumber(driverkey::kOperatingMode, 1);
    }
    parameters_.Close();
  }
  FollowAdapter();
  return selected ? ChangeResult::kApplied : ChangeResult::kJoinRefused;
}

bool AdapterSettings::ApplyProfile(const std::string& name) {
  return application_.ApplyProfile(name);
}

bool AdapterSettings::FollowAdapter() {
  DeviceConfig config;
  if (!QueryDeviceConfig(link_, link_.CurrentAdapter(), &config)) return false;
  application_.UpdateProfileInSync(config);
  return true;
}

bool AdapterSettings::SetWindowsConfiguration(std::uint8_t configuredByWindows) {
  if (!link_.Set(link_.CurrentAdapter(), OID_PRIV_WINDOWS_CONFIG, &configuredByWindows, 1)) {
    return false;
  }
  parameters_.WriteUseWzcs(configuredByWindows != 0);
  return true;
}

}  // namespace linkscope
