// The survey verb: a site survey run to its end, as the Site Survey page runs it.

#include "cli/CliVerbs.h"
#include "device/Oids.h"
#include "device/SurveyRequests.h"
#include "ui/SurveyRows.h"

namespace linkscope {

int CliProgram::Survey(const Options& o) {
  const int started = Start(true, o.adapter);
  if (started != kExitOk) return started;
  Core& c = *core_;
  const AdapterEntry* adapter = c.link.CurrentAdapter();
  if (c.link.configuredByWindows != 0 && c.osKind == OsKind::WinXP) {
    Fail("Windows configures the card: the survey is left to it");
    return kExitRefused;
  }

  BssList list;
  std::uint8_t cardType = 0;
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

  const SurveySignalScale scale = SurveySignalScaleOf(cardType, c.language);
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

}  // namespace linkscope
