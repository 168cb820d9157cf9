#include "ui/SignalHistory.h"

#include <algorithm>

#include "ui/SurveyRows.h"

namespace linkscope {

HistorySample HistorySampleOf(const LinkSnapshot& link, const StatisticsRecord* statistics,
                              const std::string& localTime) {
  HistorySample s;
  s.time = link.time;
  s.signalPercent = link.signalPercent;
  s.qualityPercent = link.qualityPercent;
  s.row.time = localTime;
  s.row.signalPercent = link.signalPercent;
  s.row.qualityPercent = link.qualityPercent;
  if (link.config.has_value()) {
    s.row.state = std::to_string(link.config->state);
    s.row.status = link.statusText;
    s.row.bssid = BssidText(link.config->bssid);
    s.row.channel = std::to_string(link.config->channel);
  }
  if (statistics != nullptr) {
    // As the Statistics page shows them: signed 32-bit decimal.
    s.row.txDataFrames = std::to_string(
        static_cast<std::int32_t>(statistics->counters[StatisticsRecord::kTxDataOk]));
    s.row.rxDataFrames = std::to_string(
        static_cast<std::int32_t>(statistics->counters[StatisticsRecord::kRxDataOk]));
  }
  return s;
}

SignalHistory::SignalHistory(std::uint32_t periodMs) { SetPeriod(periodMs); }

void SignalHistory::SetPeriod(std::uint32_t periodMs) {
  periodMs_ = std::max<std::uint32_t>(periodMs, 1);
  // Timer messages never come faster than the period: ten minutes hold no more than one
  // sample per period, and a few for messages that bunch up after a busy moment. A period
  // shorter than the system's timers run still costs no more than 10 ms worth.
  capacity_ = kSpanMs / std::max<std::uint32_t>(periodMs_, 10) + 8;
  while (samples_.size() > capacity_) samples_.pop_front();
}

void SignalHistory::Add(const HistorySample& sample) {
  samples_.push_back(sample);
  while (samples_.size() > capacity_ || AgeOf(samples_.front()) > kSpanMs) samples_.pop_front();
}

std::uint32_t SignalHistory::AgeOf(const HistorySample& sample) const {
  return samples_.empty() ? 0 : samples_.back().time - sample.time;
}

bool SignalHistory::Joined(const HistorySample& before, const HistorySample& after) const {
  return after.time - before.time <= 2 * periodMs_;
}

std::string SignalHistory::Csv() const {
  std::string csv = kLinkCsvHeader;
  for (const HistorySample& s : samples_) csv += LinkCsvLine(s.row);
  return csv;
}

}  // namespace linkscope
