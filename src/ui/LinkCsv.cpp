#include "ui/LinkCsv.h"

namespace linkscope {

const char kLinkCsvHeader[] =
    "time,state,status,bssid,channel,signal_percent,link_quality_percent,tx_data_frames,"
    "rx_data_frames\r\n";

std::string CsvField(const std::string& text) {
  if (text.find_first_of(",\"\r\n") == std::string::npos) return text;
  std::string out = "\"";
  for (char c : text) {
    if (c == '"') out += '"';
    out += c;
  }
  return out + "\"";
}

std::string LinkCsvLine(const LinkCsvRow& row) {
  auto number = [](const std::optional<int>& n) {
    return n.has_value() ? std::to_string(*n) : std::string();
  };
  return CsvField(row.time) + "," + CsvField(row.state) + "," + CsvField(row.status) + "," +
         CsvField(row.bssid) + "," + CsvField(row.channel) + "," + number(row.signalPercent) +
         "," + number(row.qualityPercent) + "," + CsvField(row.txDataFrames) + "," +
         CsvField(row.rxDataFrames) + "\r\n";
}

}  // namespace linkscope
