#pragma once
// The channels the Status page offers for an adapter.

#include <array>
#include <cstdint>
#include <string>
#include <vector>

namespace linkscope {

// With international roaming on, the channels the allowed-channel table marks; otherwise those
// of the regulatory domain. Ascending.
std::vector<std::uint8_t> OfferedChannels(bool roaming, const std::array<std::uint8_t, 14>& allowed,
                                          std::uint8_t regulatoryDomain);

// The channel a channel-list entry stands for; 0 when the text is not a channel from 1 to 14.
std::uint8_t ChannelOfText(const std::string& text);

// The number of a channel-list entry: its text up to the first blank, as an entry may carry a
// note after its number ("11 (least crowded)").
std::string ChannelNumberPart(const std::string& entry);

}  // namespace linkscope
