#pragma once
// The values the adapter's driver reads from its registry key when it starts: one name for
// each, used by the program that writes them and by the simulated driver that reads them.
// A number is stored as REG_DWORD on NT 4 and as decimal text on every other system; a text
// (the ESSID and the WEP keys) is stored as text, without its NUL, everywhere.

#include <cstddef>

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
// Written on Windows XP only: whether Windows configures the card. The driver itself never
// reads it, so it stands outside the table below.
constexpr const char* kUseWzcs = "UseWZCS";

// Each value the driver reads at its start, in the order a whole configuration is written.
enum class Id : std::size_t {
  OperatingMode,
  Channel,
  Essid,
  Rate,
  InternationalRoaming,
  RadioOnOff,
  PreambleType,
  FragThreshold,
  RtsThreshold,
  PowerMgmtMode,
  WepKey1,  // the four keys follow each other
  WepKey2,
  WepKey3,
  WepKey4,
  WepKeyIndex,
  WepMode,
  AuthenticationType,
  EncryptionLevel,
};

enum class Kind { Number, Text };

struct Value {
  Id id;
  const char* name;
  Kind kind;
};

constexpr Value kValues[] = {
    {Id::OperatingMode, kOperatingMode, Kind::Number},
    {Id::Channel, kChannel, Kind::Number},
    {Id::Essid, kEssid, Kind::Text},
    {Id::Rate, kRate, Kind::Number},
    {Id::InternationalRoaming, kInternationalRoaming, Kind::Number},
    {Id::RadioOnOff, kRadioOnOff, Kind::Number},
    {Id::PreambleType, kPreambleType, Kind::Number},
    {Id::FragThreshold, kFragThreshold, Kind::Number},
    {Id::RtsThreshold, kRtsThreshold, Kind::Number},
    {Id::PowerMgmtMode, kPowerMgmtMode, Kind::Number},
    {Id::WepKey1, kWepKeys[0], Kind::Text},
    {Id::WepKey2, kWepKeys[1], Kind::Text},
    {Id::WepKey3, kWepKeys[2], Kind::Text},
    {Id::WepKey4, kWepKeys[3], Kind::Text},
    {Id::WepKeyIndex, kWepKeyIndex, Kind::Number},
    {Id::WepMode, kWepMode, Kind::Number},
    {Id::AuthenticationType, kAuthenticationType, Kind::Number},
    {Id::EncryptionLevel, kEncryptionLevel, Kind::Number},
};
constexpr std::size_t kValueCount = sizeof kValues / sizeof kValues[0];

constexpr bool IndexedById() {
  for (std::size_t i = 0; i < kValueCount; ++i) {
    if (static_cast<std::size_t>(kValues[i].id) != i) return false;
  }
  return true;
}
static_assert(IndexedById(), "kValues[i] describes the value of Id i");

constexpr const Value& Of(Id id) { return kValues[static_cast<std::size_t>(id)]; }
// The id of WEP key `index` (0 to 3).
constexpr Id WepKeyId(std::size_t index) {
  return static_cast<Id>(static_cast<std::size_t>(Id::WepKey1) + index);
}

}  // namespace linkscope::driverkey
