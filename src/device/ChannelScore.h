#pragma once
// How crowded each 2.4 GHz channel is, from the networks a site survey found.
//
// An 802.11b channel is 22 MHz wide and its neighbours lie only 5 MHz apart (channel 14 sits
// 12 MHz above 13), so a network disturbs every channel whose band shares part of its own:
// the four channels on either side of its own, less and less the farther they lie. A network
// weighs on a channel with its signal in percent times the megahertz the two bands share
// (22 on its own channel, 17 one channel away, 12, 7, 2, then nothing), divided by 22: a
// network on the channel itself counts whole, one four channels away a tenth of a percent
// point per ten percent of signal. A channel's score is the sum over all networks; the least
// crowded channel is the allowed one with the lowest score. Among equal scores channels 1, 6
// and 11 come first, since the three do not overlap each other and a cell placed on one of
// them leaves the most room beside it, then the lower channel.

#include <array>
#include <cstdint>
#include <vector>

namespace linkscope {

constexpr int kChannelCount = 14;
constexpr int kChannelWidthMhz = 22;

// One network as the score sees it: its channel (1 to 14; anything else is not on the band)
// and its signal in percent (above 100 counts as 100, below 0 as 0).
struct ChannelNetwork {
  std::uint8_t channel = 0;
  int percent = 0;
};

// The megahertz the bands of two channels share: 22 for the same channel, 0 when they lie
// five channels or more apart, or when either is not a channel from 1 to 14.
int ChannelOverlapMhz(std::uint8_t a, std::uint8_t b);

struct ChannelScores {
  // Index 0 is channel 1. Percent times shared megahertz, summed: kept whole so that two
  // channels compare exactly; ScoreOf gives it in percent points.
  std::array<int, kChannelCount> weighted{};
  std::array<bool, kChannelCount> allowed{};
  // The least crowded allowed channel; 0 when no channel is allowed.
  std::uint8_t best = 0;

  // The score of `channel` in percent points, rounded to the nearest; 0 outside 1 to 14.
  int ScoreOf(std::uint8_t channel) const;
};

// Scores channels 1 to 14 for `networks`; only the `allowed` ones (ascending or not) can be
// the best.
ChannelScores ScoreChannels(const std::vector<ChannelNetwork>& networks,
                            const std::vector<std::uint8_t>& allowed);

}  // namespace linkscope
