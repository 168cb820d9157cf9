#include "ui/LinkStatusText.h"

#include <cstdio>

#include "device/DeviceCodes.h"

namespace linkscope {

namespace {

std::string Bssid(const DeviceConfig& c) {
  char text[32];
  std::snprintf(text, sizeof text, "%02X-%02X-%02X-%02X-%02X-%02X", c.bssid[0], c.bssid[1],
                c.bssid[2], c.bssid[3], c.bssid[4], c.bssid[5]);
  return text;
}

struct ManagementText {
  std::uint32_t code;
  const char* key;
  const char* defaultText;
};

// 802.11 status codes of the association and authentication answers. The key of code 13 ends
// in a blank in every language file that carries it.
constexpr ManagementText kManagementTexts[] = {
    {1, "ErrorMessage_C80211_MGMT_SC_Unspecified", "Association Denied. Unspecified Error."},
    {10, "ErrorMessage_C80211_MGMT_SC_SupportCapabilities",
     "Association Denied. Check Capabilities."},
    {11, "ErrorMessage_C80211_MGMT_SC_ReassDenied", "Re-Association Denied."},
    {12, "ErrorMessage_C80211_MGMT_SC_AssDenied", "Association Denied."},
    {13, "ErrorMessage_C80211_MGMT_SC_AuthAlgNotSupported ",
     "Authentication Error. Check Encryption Settings"},
    {14, "ErrorMessage_C80211_MGMT_SC_AuthTransSeqNumError",
     "Authentication Error. Lost Sequence."},
    {15, "ErrorMessage_C80211_MGMT_SC_AuthRejectChallenge",
     "Authentication Error. Check Encryption Settings"},
    {16, "ErrorMessage_C80211_MGMT_SC_AuthRejectTimeout", "Authentication Error. Timeout."},
    {17, "ErrorMessage_C80211_MGMT_SC_AssDeniedHandleAP",
     "Association Denied. Maximum Capacity."},
    {18, "ErrorMessage_C80211_MGMT_SC_AssDeniedBSSRate",
     "Association Denied. Check Supported Rates."},
    {160, "ErrorMessage_WEP_Required", "Enable Encryption to join this BSS"},
    {161, "ErrorMessage_WEP_Not_Required", "Disable Encryption to join this BSS"},
};

}  // namespace

std::string ManagementMessage(std::uint32_t statusCode, const ITextSource& texts) {
  for (const ManagementText& m : kManagementTexts) {
    if (m.code == statusCode) return texts.Lookup(m.key, m.defaultText);
  }
  // The looked-up text is data, never the format.
  char code[16];
  std::snprintf(code, sizeof code, "%X", static_cast<unsigned>(statusCode));
  return texts.Lookup("ErrorUnknown", "Management Error") + " (0x" + code + ")";
}

std::string LinkStateName(const DeviceConfig& c, std::uint8_t radio, const ITextSource& texts) {
  if (radio != 0 && c.state == DeviceState::kAssociated) {
    return c.operatingMode == 0 ? "Ready" : "Associated";
  }
  return LinkStatusText(c, radio, texts);
}

std::string LinkStatusText(const DeviceConfig& c, std::uint8_t radio, const ITextSource& texts) {
  if (radio == 0) return "Radio is OFF...";
  switch (c.state) {
    case DeviceState::kAssociated:
      return (c.operatingMode == 0 ? "Ready - BSSID: " : "Associated - BSSID: ") + Bssid(c);
    case DeviceState::kInitializing: return "Initializing...";
    case DeviceState::kScanning: return "Scanning...";
    case DeviceState::kJoining: return "Joining...";
    case DeviceState::kAuthenticating: return "Authenticating...";
    case DeviceState::kAssociating: return "Associating...";
    case DeviceState::kOutOfRange: return "Out Of Range...";
    case DeviceState::kDisassociating: return "Disassociating...";
    case DeviceState::kDeauthenticating: return "Diauthenticating...";
    case DeviceState::kReassociating: return "Reassociating...";
    case DeviceState::kJoiningBssid: return "Joinning specific BSSID...";
    case DeviceState::kChangingConfiguration: return "Changing Configuration...";
    case DeviceState::kUpgradingFirmware: return "Upgrading Firmware...";
    case DeviceState::kFailedToJoin:
      return "Failed to join " + Bssid(c) + " in Channel " + std::to_string(c.channel);
    case DeviceState::kResetting:
    case DeviceState::kResetting2:
      return "Resetting...";
    case DeviceState::kRadioOff: return "Radio is OFF...";
    case DeviceState::kManagementError: return ManagementMessage(c.managementStatus, texts);
    default: return "";
  }
}

}  // namespace linkscope
