#include "device/DeviceCodes.h"

namespace linkscope {

bool IsUnusableState(std::uint8_t state) {
  return state == DeviceState::kUpgradingFirmware || state == DeviceState::kNotUsable ||
         state == DeviceState::kNotUsable2;
}

bool IsAcceptedCardType(std::uint8_t t) {
  switch (t) {
    case 1: case 2: case 3: case 11: case 12: case 13: case 14: case 15: case 16: case 17:
    case 18: case 21: case 22:
      return true;
    default:
      return false;
  }
}

bool IsCardTypeAcceptedAnyLength(std::uint8_t t) { return t >= 14 && t <= 18; }

SignalScale SignalScaleOf(std::uint8_t t) {
  switch (t) {
    case 3: case 13: case 15: case 17: case 18: case 22:
      return SignalScale::Dbm;
    case 12: case 14: case 16: case 21:
      return SignalScale::MaxRssiRfmd;
    default:
      return SignalScale::MaxRssi;
  }
}

bool LinkQualityInPercent(std::uint8_t t) {
  return t == 3 || (t >= 12 && t <= 18) || t == 21 || t == 22;
}

bool SupportsInternationalRoaming(std::uint8_t t) {
  return !(t == 1 || t == 11 || t == 15 || t == 17 || t == 18);
}

bool Offers128BitWep(std::uint8_t t) { return IsAcceptedCardType(t) && t != 1; }

bool IsKnownRegulatoryDomain(std::uint8_t code) {
  switch (code) {
    case 0x10: case 0x20: case 0x30: case 0x31: case 0x32: case 0x40: case 0x41: case 0x50:
      return true;
    default:
      return false;
  }
}

std::uint8_t NormalizeRegulatoryDomain(std::uint8_t code) {
  return IsKnownRegulatoryDomain(code) ? code : kDomainAllChannels;
}

ChannelRange ChannelsOfDomain(std::uint8_t code) {
  switch (code) {
    case 0x10: case 0x20: return {1, 11};
    case 0x30: return {1, 13};
    case 0x31: return {10, 11};
    case 0x32: return {10, 13};
    case 0x40: return {14, 14};
    case 0x50: return {3, 7};
    default: return {1, 14};
  }
}

bool RoamingChannelAllowed(const std::uint8_t* table14, std::uint8_t channel) {
  if (table14 == nullptr || channel < 1 || channel > 14) return false;
  return table14[channel - 1] == 1;
}

}  // namespace linkscope
