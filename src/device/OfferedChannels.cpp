#include "device/OfferedChannels.h"

#include "device/DeviceCodes.h"

namespace linkscope {

std::vector<std::uint8_t> OfferedChannels(bool roaming, const std::array<std::uint8_t, 14>& allowed,
                                          std::uint8_t regulatoryDomain) {
  std::vector<std::uint8_t> channels;
  if (roaming) {
    for (std::uint8_t ch = 1; ch <= 14; ++ch) {
      if (RoamingChannelAllowed(allowed.data(), ch)) channels.push_back(ch);
    }
    return channels;
  }
  const ChannelRange range = ChannelsOfDomain(regulatoryDomain);
  for (int ch = range.first; ch <= range.last; ++ch) channels.push_back(static_cast<std::uint8_t>(ch));
  return channels;
}

std::uint8_t ChannelOfText(const std::string& text) {
  if (text.empty() || text.size() > 2) return 0;
  int value = 0;
  for (char c : text) {
    if (c < '0' || c > '9') return 0;
    value = value * 10 + (c - '0');
  }
  return value >= 1 && value <= 14 ? static_cast<std::uint8_t>(value) : 0;
}

std::string ChannelNumberPart(const std::string& entry) {
  return entry.substr(0, entry.find(' '));
}

}  // namespace linkscope
