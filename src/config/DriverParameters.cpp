#include "config/DriverParameters.h"

#include <vector>

#include "config/RegistryText.h"
#include "device/DriverKeyValues.h"

namespace linkscope {

namespace {

bool IsWin9x(OsKind kind) { return kind == OsKind::Win95 || kind == OsKind::Win98Me; }

}  // namespace

bool DriverParameters::Open() {
  Close();
  writeFailed_ = false;
  // Systems after XP keep no parameters the program knows of: nothing may be written
  // anywhere, so there is no key to open.
  if (link_.GetOsKind() == OsKind::OtherNt || link_.CurrentAdapter() == nullptr) return false;
  link_.BuildDriverKeyPath();
  if (link_.driverKeyPath.empty()) return false;
  RegKey key = 0;
  if (registry_.OpenKey(kRegLocalMachine, link_.driverKeyPath, RegAccess::All, &key) != kRegOk) {
    return false;
  }
  key_ = key;
  return true;
}

void DriverParameters::Close() {
  if (key_ != 0) registry_.CloseKey(key_);
  key_ = 0;
}

void DriverParameters::StoreText(const std::string& name, const std::string& text,
                                 bool mirror) {
  if (key_ == 0) return;
  const auto* bytes = reinterpret_cast<const std::uint8_t*>(text.data());
  const auto size = static_cast<std::uint32_t>(text.size());
  if (registry_.SetValue(key_, name, kRegSz, bytes, size) != kRegOk) writeFailed_ = true;
  if (!mirror || !IsWin9x(link_.GetOsKind())) return;
  // Windows 9x reads the parameter's copy from the network driver's "Ndi\params" branch; the
  // branch is the installer's, so a value whose key is missing has no copy. A key that is
  // there but refuses us would leave an old copy behind: that is a failed write.
  RegKey copy = 0;
  const std::string path = link_.driverKeyPath + "\\Ndi\\params" + "\\" + name + "\\";
  const long opened = registry_.OpenKey(kRegLocalMachine, path, RegAccess::All, &copy);
  if (opened != kRegOk) {
    if (opened != kRegNotFound) writeFailed_ = true;
    return;
  }
  if (registry_.SetValue(copy, "", kRegSz, bytes, size) != kRegOk) writeFailed_ = true;
  registry_.CloseKey(copy);
}

void DriverParameters::WriteNumber(const std::string& name, std::uint32_t value) {
  if (key_ == 0) return;
  if (link_.GetOsKind() == OsKind::NT4) {
    const std::uint8_t bytes[4] = {
        static_cast<std::uint8_t>(value), static_cast<std::uint8_t>(value >> 8),
        static_cast<std::uint8_t>(value >> 16), static_cast<std::uint8_t>(value >> 24)};
    if (registry_.SetValue(key_, name, kRegDword, bytes, 4) != kRegOk) writeFailed_ = true;
    return;
  }
  // Decimal as a signed 32-bit number, as the driver parses it.
  StoreText(name, std::to_string(static_cast<std::int32_t>(value)), true);
}

void DriverParameters::WriteText(const std::string& name, const std::string& text) {
  StoreText(name, text, true);
}

void DriverParameters::WriteTextWithoutCopy(const std::string& name, const std::string& text) {
  StoreText(name, text, false);
}

bool DriverParameters::WriteAll(const DeviceConfig& config, const WepConfig& wep,
                                std::uint8_t radio, std::uint8_t roaming,
                                const std::array<std::string, 4>& keyTexts) {
  if (!Open()) return false;
  namespace key = driverkey;
  WriteNumber(key::kOperatingMode, config.operatingMode);
  if (config.channel >= 1 && config.channel <= 14) WriteNumber(key::kChannel, config.channel);
  WriteText(key::kEssid, config.SsidBytes());
  WriteNumber(key::kRate, config.txRate);
  WriteNumber(key::kInternationalRoaming, roaming);
  WriteNumber(key::kRadioOnOff, radio);
  WriteNumber(key::kPreambleType, config.preamble);
  WriteNumber(key::kFragThreshold, config.fragThreshold);
  WriteNumber(key::kRtsThreshold, config.rtsThreshold);
  WriteNumber(key::kPowerMgmtMode, config.powerSave);
  if (wep.encryptionLevel == 1 || wep.encryptionLevel == 2) {
    for (std::size_t k = 0; k < keyTexts.size(); ++k) WriteText(key::kWepKeys[k], keyTexts[k]);
    WriteNumber(key::kWepKeyIndex, wep.defaultKeyIndex);
    WriteNumber(key::kWepMode, wep.wepMode);
    WriteNumber(key::kAuthenticationType, wep.authenticationType);
  }
  WriteNumber(key::kEncryptionLevel, wep.encryptionLevel);
  Close();
  // Every value is still attempted, but a configuration with a value missing is not saved:
  // the driver would start with a mixture of the old settings and the new.
  return !writeFailed_;
}

std::string DriverParameters::ReadText(const std::string& keyPath, const std::string& valueName) {
  RegKey key = 0;
  if (registry_.OpenKey(kRegLocalMachine, keyPath, RegAccess::Read, &key) != kRegOk) {
    messages_.ShowFixed("Failed to open the registry key!" + keyPath);
    return "ERROR";
  }
  std::uint8_t data[260] = {};
  std::uint32_t type = 0, size = sizeof data;
  if (registry_.QueryValue(key, valueName, &type, data, &size) != kRegOk) {
    registry_.CloseKey(key);
    messages_.ShowFixed("Failed to get value for this entry!" + valueName);
    return "ERROR";
  }
  const std::string text = RegistryValueText(type, data, size);
  if (registry_.CloseKey(key) != kRegOk) {
    messages_.ShowFixed("Failed to close the registry key!");
    return "ERROR";
  }
  return text;
}

void DriverParameters::WriteUseWzcs(bool configuredByWindows) {
  if (link_.GetOsKind() != OsKind::WinXP) return;
  if (!Open()) return;
  StoreText(driverkey::kUseWzcs, configuredByWindows ? "1" : "0", false);
  Close();
}

}  // namespace linkscope
