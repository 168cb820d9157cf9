#pragma once
// The values the adapter's driver reads from its registry key when it starts: one name for
// each, used by the program that writes them and by the simulated driver that reads them.
// A number is stored as REG_DWORD on NT 4 and as decimal text on every other system; a text
// (the ESSID and the WEP keys) is stored as text, without its NUL, everywhere.

namespace linkscope::driverkey {

constexpr const char* kOperatingMode = "Operating_Mode";
constexpr const char* kChannel = "Channel";
constexpr const char* kEssid = "ESSID";
constexpr const char* kRate = "Rate";
constexpr const char* kInternationalRoaming = "InternationalRoaming";
constexpr const char* kRadioOnOff = "RadioOnOff";
constexpr const char* kPreambleType = "PreambleType";
constexpr const char* kFragThreshold = "Frag_Threshold";
constexpr const char* kRtsThreshold = "RTS_Threshold";
constexpr const char* kPowerMgmtMode = "PowerMgmtMode";
constexpr const char* kWepKeys[4] = {"WEP_KEY_1", "WEP_KEY_2", "WEP_KEY_3", "WEP_KEY_4"};
constexpr const char* kWepKeyIndex = "WEP_KEY_INDEX";
constexpr const char* kWepMode = "WEP_Mode";
constexpr const char* kAuthenticationType = "AuthenticationType";
constexpr const char* kEncryptionLevel = "EncryptionLevel";
// Written on Windows XP only: whether Windows configures the card.
constexpr const char* kUseWzcs = "UseWZCS";

}  // namespace linkscope::driverkey
