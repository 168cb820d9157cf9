#pragma once
// The rows of the link log, as `linkscope-cli watch --csv` writes them and the signal history
// window saves them: one home for the columns and their quoting, so the two files stay alike.

#include <optional>
#include <string>

namespace linkscope {

// A CSV field: quoted when it holds a separator, a quote or a line end.
std::string CsvField(const std::string& text);

// The header line, with its line end.
extern const char kLinkCsvHeader[];

// One reading of the link. Empty fields stay empty in the row: no record, no link to
// measure, no statistics read.
struct LinkCsvRow {
  std::string time;     // local time, "2026-12-08 15:43:36"
  std::string state;    // the configuration record's state byte
  std::string status;   // the Status page's status line
  std::string bssid;
  std::string channel;
  std::optional<int> signalPercent;
  std::optional<int> qualityPercent;
  std::string txDataFrames;
  std::string rxDataFrames;
};

// The row's line, with its line end.
std::string LinkCsvLine(const LinkCsvRow& row);

}  // namespace linkscope
