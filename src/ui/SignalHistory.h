#pragma once
// The samples the signal history window draws and saves: one per polling tick while the window
// is open, kept for the last ten minutes of the clock while the program runs, so that closing
// and opening the window again shows what was watched before.

#include <cstdint>
#include <deque>
#include <optional>
#include <string>

#include "device/StatisticsRecord.h"
#include "text/LanguageTable.h"
#include "ui/LinkCsv.h"
#include "ui/LinkSnapshot.h"

namespace linkscope {

struct HistorySample {
  std::uint32_t time = 0;  // the clock's tick count
  // Present while there was a link to measure; both empty are a gap in the lines.
  std::optional<int> signalPercent;
  std::optional<int> qualityPercent;
  LinkCsvRow row;  // the sample as the CSV file has it
};

// The sample a tick's reading of the link gives. `statistics` only while they were read (the
// tx and rx columns stay empty otherwise); `localTime` is the clock the file shows.
HistorySample HistorySampleOf(const LinkSnapshot& link, const StatisticsRecord* statistics,
                              const std::string& localTime);

class SignalHistory {
 public:
  static constexpr std::uint32_t kSpanMs = 10 * 60 * 1000;

  // `periodMs` is the polling period: it bounds how many samples ten minutes hold, and two
  // samples further apart than two periods (the window was closed between them) are not
  // joined by a line.
  explicit SignalHistory(std::uint32_t periodMs);
  // The period the language file sets, once it is read; the samples stay.
  void SetPeriod(std::uint32_t periodMs);

  // Adds the newest sample and forgets those older than ten minutes before it. The clock
  // wraps after 49 days: ages are distances in its own arithmetic.
  void Add(const HistorySample& sample);
  const std::deque<HistorySample>& Samples() const { return samples_; }
  std::uint32_t PeriodMs() const { return periodMs_; }
  // Whether the line runs on from `before` to `after` (both linked, no pause between them).
  bool Joined(const HistorySample& before, const HistorySample& after) const;
  // Milliseconds from `sample` to the newest sample.
  std::uint32_t AgeOf(const HistorySample& sample) const;

  // The whole file: the header and one row per sample, oldest first.
  std::string Csv() const;

 private:
  std::uint32_t periodMs_;
  std::size_t capacity_;
  std::deque<HistorySample> samples_;
};

}  // namespace linkscope
