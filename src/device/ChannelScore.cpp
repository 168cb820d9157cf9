#include "device/ChannelScore.h"

#include <algorithm>
#include <cstdlib>

namespace linkscope {

namespace {

bool OnBand(std::uint8_t channel) { return channel >= 1 && channel <= kChannelCount; }

// Centre frequency in MHz.
int CentreMhz(std::uint8_t channel) { return channel == 14 ? 2484 : 2407 + 5 * channel; }

// The order among equal scores: the three channels that leave each other alone first.
int TieRank(std::uint8_t channel) {
  return (channel == 1 || channel == 6 || channel == 11) ? 0 : 1;
}

}  // namespace

int ChannelOverlapMhz(std::uint8_t a, std::uint8_t b) {
  if (!OnBand(a) || !OnBand(b)) return 0;
  return std::max(0, kChannelWidthMhz - std::abs(CentreMhz(a) - CentreMhz(b)));
}

int ChannelScores::ScoreOf(std::uint8_t channel) const {
  if (!OnBand(channel)) return 0;
  return (weighted[channel - 1] + kChannelWidthMhz / 2) / kChannelWidthMhz;
}

ChannelScores ScoreChannels(const std::vector<ChannelNetwork>& networks,
                            const std::vector<std::uint8_t>& allowed) {
  ChannelScores scores;
  for (std::uint8_t channel : allowed) {
    if (OnBand(channel)) scores.allowed[channel - 1] = true;
  }
  for (const ChannelNetwork& n : networks) {
    const int percent = std::clamp(n.percent, 0, 100);
    for (std::uint8_t ch = 1; ch <= kChannelCount; ++ch) {
      scores.weighted[ch - 1] += percent * ChannelOverlapMhz(n.channel, ch);
    }
  }
  for (std::uint8_t ch = 1; ch <= kChannelCount; ++ch) {
    if (!scores.allowed[ch - 1]) continue;
    if (scores.best == 0) {
      scores.best = ch;
      continue;
    }
    const int a = scores.weighted[ch - 1];
    const int b = scores.weighted[scores.best - 1];
    if (a < b || (a == b && TieRank(ch) < TieRank(scores.best))) scores.best = ch;
  }
  return scores;
}

}  // namespace linkscope
