#pragma once
// The codes the driver reports: device states, card types with the groups the pages tell
// apart, and regulatory domains with the channels each allows.

#include <cstdint>

namespace linkscope {

namespace DeviceState {
constexpr std::uint8_t kInitializing = 0;
constexpr std::uint8_t kScanning = 1;
constexpr std::uint8_t kJoining = 2;
constexpr std::uint8_t kAuthenticating = 3;
constexpr std::uint8_t kAssociating = 4;
constexpr std::uint8_t kAssociated = 5;  // or ready in ad-hoc; the only connected state
constexpr std::uint8_t kOutOfRange = 6;
constexpr std::uint8_t kDisassociating = 7;
constexpr std::uint8_t kDeauthenticating = 8;
constexpr std::uint8_t kReassociating = 9;
constexpr std::uint8_t kJoiningBssid = 10;
constexpr std::uint8_t kChangingConfiguration = 11;
constexpr std::uint8_t kUpgradingFirmware = 12;
constexpr std::uint8_t kFailedToJoin = 13;
constexpr std::uint8_t kResetting = 14;
constexpr std::uint8_t kResetting2 = 15;
constexpr std::uint8_t kNotUsable = 16;
constexpr std::uint8_t kNotUsable2 = 18;
constexpr std::uint8_t kRadioOff = 19;
constexpr std::uint8_t kGoingAway = 240;
constexpr std::uint8_t kManagementError = 241;
}  // namespace DeviceState

// States in which the polling tick treats the adapter as unusable and hides the icon.
bool IsUnusableState(std::uint8_t state);

// Card types the program serves.
bool IsAcceptedCardType(std::uint8_t cardType);
// Card types accepted during discovery whatever byte count the driver reports with them.
bool IsCardTypeAcceptedAnyLength(std::uint8_t cardType);

enum class SignalScale {
  Dbm,        // signal in dBm, shown in five steps
  MaxRssiRfmd,  // a share of "MaxRssiRFMD"
  MaxRssi,    // a share of "MaxRssi"
};
SignalScale SignalScaleOf(std::uint8_t cardType);
// Link quality is reported in percent (maximum "MaxLinkQualityRFMD"); otherwise it is inverted
// (shown as "MaxLinkQuality" minus the value).
bool LinkQualityInPercent(std::uint8_t cardType);
bool SupportsInternationalRoaming(std::uint8_t cardType);
bool Offers128BitWep(std::uint8_t cardType);

// Regulatory domains. Unknown codes and failed reads count as kDomainAllChannels.
constexpr std::uint8_t kDomainAllChannels = 0x41;
bool IsKnownRegulatoryDomain(std::uint8_t code);
// The code itself when known, else kDomainAllChannels.
std::uint8_t NormalizeRegulatoryDomain(std::uint8_t code);

struct ChannelRange {
  std::uint8_t first;
  std::uint8_t last;
};
// Channels the program offers under the domain (an unknown code offers those of 0x41).
ChannelRange ChannelsOfDomain(std::uint8_t code);

// The allowed-channel table of OID_PRIV_ROAMING_CHANNELS: byte i is 1 when channel i + 1 may be
// used; any other value means not allowed.
bool RoamingChannelAllowed(const std::uint8_t* table14, std::uint8_t channel);

}  // namespace linkscope
