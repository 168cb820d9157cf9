// The survey verb: a site survey run to its end, as the Site Survey page runs it.

#include "cli/CliVerbs.h"
#include "device/ChannelScore.h"
#include "device/OfferedChannels.h"
#include "device/Oids.h"
#include "device/SurveyRequests.h"
#include "ui/SurveyRows.h"

namespace linkscope {

namespace {

// The score table: every channel from 1 to 14, its score in percent points (a forbidden one
// shows "-"), the networks on it, and the least crowded channel.
std::string ChannelScoreText(const ChannelScores& scores, const std::vector<GraphNetwork>& networks,
                             bool json, const LanguageTable& t) {
  std::vector<std::vector<std::string>> rows;
  std::string list = "[";
  for (std::uint8_t ch = 1; ch <= kChannelCount; ++ch) {
    std::string names;
    for (const GraphNetwork& n : networks) {
      if (n.channel == ch) names += (names.empty() ? "" : ", ") + n.label;
    }
    const bool allowed = scores.allowed[ch - 1];
    const std::string score = std::to_string(scores.ScoreOf(ch));
    rows.push_back({std::to_string(ch), allowed ? score : "-", names});
    list += std::string(ch > 1 ? ",\n " : "\n ") + "{\"channel\": " + std::to_string(ch) +
            ", \"allowed\": " + (allowed ? "true" : "false") + ", \"score\": " + score + "}";
  }
  if (json) {
    return "{\"channels\": " + list + "\n],\n\"leastCrowded\": " +
           (scores.best == 0 ? std::string("null") : std::to_string(scores.best)) + "}\n";
  }
  std::string text = TextTable({t.Lookup("ColumnChannel", "Channel"), "Score",
                                t.Lookup("ColumnSSID", "SSID")},
                               rows);
  if (scores.best != 0) {
    text += t.Lookup("LeastCrowdedChannel", "Least crowded channel:") + " " +
            std::to_string(scores.best) + "\n";
  }
  return text;
}

}  // namespace

int CliProgram::RunSurvey(const Options& o, BssList* result, std::uint8_t* type) {
  Core& c = *core_;
  const AdapterEntry* adapter = c.link.CurrentAdapter();
  BssList& list = *result;
  std::uint8_t& cardType = *type;
  auto fill = [&]() {
    std::uint32_t written = 0;
    c.link.Query(adapter, OID_PRIV_CARD_TYPE, &cardType, 1, &written);
    BssList fresh;
    if (!QueryBssList(c.link, adapter, &fresh)) return false;
    list = std::move(fresh);
    return true;
  };

  std::uint8_t state = 0;
  if (!QuerySurveyState(c.link, adapter, SurveyStateRead::BeforeSurvey, &state)) {
    c.messages.Show("FailedToGetSiteSurveyStateErrorMessage", "Failed to get Site Survey state");
    return kExitAdapter;
  }
  // A survey already running was started by someone else: it is followed, not started, and
  // left to its owner to cancel.
  const bool ours = state != SurveyState::kInProgress;
  if (ours && !StartSurvey(c.link, adapter)) {
    c.messages.Show("FailedToInitiateSiteSurveyErrorMessage", "Failed to initiate Site Survey");
    return kExitAdapter;
  }
  auto cancel = [&]() {
    if (ours && !CancelSurvey(c.link, adapter)) {
      c.messages.Show("FailedToCancelSiteSurveyErrorMessage", "Failed to cancel Site Survey");
    }
  };
  if (!fill()) {
    cancel();
    Fail("the survey result cannot be read");
    return kExitAdapter;
  }
  // The dialog's loop runs until the user presses Escape; nobody presses anything here, so a
  // survey that never completes is cancelled after the timeout.
  const std::uint32_t start = platform_.system.TickCount();
  for (;;) {
    if (!QuerySurveyState(c.link, adapter, SurveyStateRead::WhileFollowing, &state)) {
      c.messages.Show("FailedToGetSiteSurveyStateErrorMessage", "Failed to get Site Survey state");
      cancel();
      return kExitAdapter;
    }
    if (state == SurveyState::kComplete) break;
    if (platform_.system.TickCount() - start >= o.timeoutSeconds * 1000u) {
      cancel();
      Fail("the survey did not complete within " + std::to_string(o.timeoutSeconds) +
           " s; it was cancelled");
      return kExitTimeout;
    }
    if (!Pause(1000)) {
      cancel();
      Fail("interrupted; the survey was cancelled");
      return kExitInterrupted;
    }
    if (!fill()) {
      cancel();
      Fail("the survey result cannot be read");
      return kExitAdapter;
    }
  }
  return kExitOk;
}

int CliProgram::Survey(const Options& o) {
  const int started = Start(true, o.adapter);
  if (started != kExitOk) return started;
  Core& c = *core_;
  if (c.link.configuredByWindows != 0 && c.osKind == OsKind::WinXP) {
    Fail("Windows configures the card: the survey is left to it");
    return kExitRefused;
  }
  if (o.watchSeconds.has_value()) return WatchSurveys(o);
  BssList list;
  std::uint8_t cardType = 0;
  const int surveyed = RunSurvey(o, &list, &cardType);
  if (surveyed != kExitOk) return surveyed;
  const SurveySignalScale scale = SurveySignalScaleOf(cardType, c.language);
  if (o.channels) {
    const std::vector<std::uint8_t> allowed =
        OfferedChannels(false, c.link.allowedChannels, c.link.regulatoryDomain);
    const std::vector<GraphNetwork> networks = SurveyGraphNetworks(list, scale, nullptr);
    const ChannelScores scores = ScoreChannels(ScoredNetworks(networks), allowed);
    platform_.out.Write(ChannelScoreText(scores, networks, o.json, c.language));
    return kExitOk;
  }
  std::vector<std::vector<std::string>> rows;
  std::string json = "[";
  for (std::size_t i = 0; i < list.entries.size(); ++i) {
    const BssEntry& e = list.entries[i];
    const auto cells = SurveyRowCells(e, scale, c.language);
    rows.push_back({cells.begin(), cells.end()});
    int percent = 0;
    const bool hasSignal = SurveySignalPercent(scale, e.rssi, &percent);
    json += std::string(i > 0 ? ",\n " : "\n ") + "{\"bssid\": " + JsonString(cells[0]) +
            ", \"ssid\": " + JsonString(cells[1]) +
            ", \"signalPercent\": " + (hasSignal ? std::to_string(percent) : "null") +
            ", \"channel\": " + std::to_string(e.channel) +
            ", \"wep\": " + (e.wep != 0 ? "true" : "false") +
            ", \"type\": " + std::to_string(e.bssType) + ", \"typeText\": " + JsonString(cells[5]) +
            "}";
  }
  if (o.json) {
    platform_.out.Write(json + (list.entries.empty() ? "]\n" : "\n]\n"));
  } else {
    const LanguageTable& t = c.language;
    platform_.out.Write(TextTable({t.Lookup("ColumnBSSID", "BSSID"), t.Lookup("ColumnSSID", "SSID"),
                                   t.Lookup("ColumnSignal", "Signal"),
                                   t.Lookup("ColumnChannel", "Channel"),
                                   t.Lookup("ColumnWEP", "Encryption"),
                                   t.Lookup("ColumnBSStype", "BSS")},
                                  rows));
  }
  return kExitOk;
}

int CliProgram::WatchSurveys(const Options& o) {
  Core& c = *core_;
  std::string why;
  if (o.csv.has_value() &&
      !platform_.files.Write(*o.csv, "time,bssid,ssid,channel,signal_percent\r\n", &why)) {
    Fail("cannot write " + *o.csv + ": " + why);
    return kExitFile;
  }
  const std::uint32_t interval = *o.watchSeconds * 1000u;
  const std::uint32_t start = platform_.system.TickCount();
  for (std::uint32_t round = 0; o.count == 0 || round < o.count; ++round) {
    if (round > 0) {
      // Surveys keep to the interval however long one took, in the clock's wrapping arithmetic.
      const auto wait =
          static_cast<std::int32_t>(start + round * interval - platform_.system.TickCount());
      if (wait > 0 && !Pause(static_cast<std::uint32_t>(wait))) break;
      if (platform_.interrupted()) break;
    }
    BssList list;
    std::uint8_t cardType = 0;
    const int surveyed = RunSurvey(o, &list, &cardType);
    // Ctrl+C is how a watch ends: the survey it came in is cancelled on the adapter.
    if (surveyed == kExitInterrupted) break;
    if (surveyed != kExitOk) return surveyed;
    const std::string time = platform_.localTime();
    const SurveySignalScale scale = SurveySignalScaleOf(cardType, c.language);
    for (const BssEntry& e : list.entries) {
      int percent = 0;
      const bool hasSignal = SurveySignalPercent(scale, e.rssi, &percent);
      const std::string signal = hasSignal ? std::to_string(percent) : "";
      const std::string bssid = BssidText(e.bssid);
      const std::string ssid = SurveySsidText(e);
      platform_.out.Write(time + "  " + bssid + "  ch " + std::to_string(e.channel) + "  signal " +
                          (hasSignal ? signal + " %" : "-") + "  " + ssid + "\n");
      if (!o.csv.has_value()) continue;
      const std::string row = CsvField(time) + "," + bssid + "," + CsvField(ssid) + "," +
                              std::to_string(e.channel) + "," + signal + "\r\n";
      if (!platform_.files.Append(*o.csv, row, &why)) {
        Fail("cannot write " + *o.csv + ": " + why);
        return kExitFile;
      }
    }
  }
  return kExitOk;
}

}  // namespace linkscope
