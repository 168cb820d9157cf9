// The reading verbs: adapters, status, stats and watch.

#include <algorithm>
#include <optional>

#include "cli/CliVerbs.h"
#include "config/ProfileNames.h"
#include "device/DeviceCodes.h"
#include "device/Oids.h"
#include "device/RecordQuery.h"
#include "device/SurveyRequests.h"
#include "text/AccessKeys.h"
#include "text/OemSettings.h"
#include "ui/LinkBars.h"
#include "ui/LinkCsv.h"
#include "ui/LinkStatusText.h"
#include "ui/SurveyRows.h"

namespace linkscope {

namespace {

std::string JsonNumberOrNull(const std::optional<int>& n) {
  return n.has_value() ? std::to_string(*n) : "null";
}

std::string PercentText(const std::optional<int>& n) {
  return n.has_value() ? std::to_string(*n) + " %" : "-";
}

// The states after which the link stays as it is until something changes: what `status
// --wait` waits for.
bool Settled(std::uint8_t state, std::uint8_t radio) {
  return radio == 0 || state == DeviceState::kAssociated || state == DeviceState::kOutOfRange ||
         state == DeviceState::kFailedToJoin || state == DeviceState::kRadioOff ||
         state == DeviceState::kManagementError;
}

}  // namespace

int CliProgram::Adapters(const Options& o) {
  const int started = Start(true, 1);
  if (started == kExitNoAdapter && core_->link.AdapterCount() == 0) {
    // An empty list is an answer, not a failure of this verb.
    if (o.json) platform_.out.Write("[]\n");
    return kExitNoAdapter;
  }
  if (started != kExitOk) return started;
  std::vector<std::vector<std::string>> rows;
  std::string json = "[";
  int n = 0;
  for (const auto& entry : core_->link.Adapters()) {
    ++n;
    rows.push_back({std::to_string(n), entry->DisplayName(), entry->deviceName});
    json += std::string(n > 1 ? ",\n " : "\n ") + "{\"number\": " + std::to_string(n) +
            ", \"name\": " + JsonString(entry->DisplayName()) +
            ", \"device\": " + JsonString(entry->deviceName) + "}";
  }
  platform_.out.Write(o.json ? json + "\n]\n" : TextTable({"#", "Adapter", "Device"}, rows));
  return kExitOk;
}

int CliProgram::Status(const Options& o) {
  const int started = Start(true, o.adapter);
  if (started != kExitOk) return started;
  Core& c = *core_;
  const AdapterEntry* adapter = c.link.CurrentAdapter();
  const LanguageTable& t = c.language;

  // As the Status page reads: the card type, the radio, the configuration, the media state.
  std::uint8_t cardType = 0;
  std::uint32_t written = 0;
  c.link.Query(adapter, OID_PRIV_CARD_TYPE, &cardType, 1, &written);
  const BarScales scales = BarScalesOf(cardType, OemSettings(t));

  const std::uint32_t pollMs = std::max<std::uint32_t>(100, OemSettings(t).DevicePollingTimerMsec());
  const std::uint32_t waitStart = platform_.system.TickCount();
  std::uint8_t radio = 1;
  DeviceConfig config;
  std::uint32_t media = kMediaConnected;
  for (;;) {
    radio = 1;
    if (c.link.radioSupported == 1) {
      std::uint8_t value = 1;
      if (QueryByte(c.link, adapter, OID_PRIV_RADIO, &value)) radio = value;
    }
    if (!QueryDeviceConfig(c.link, adapter, &config)) {
      c.messages.Show("FailedToGetConfigurationErrorMessage ", "Failed to get configuration");
      return kExitAdapter;
    }
    media = kMediaConnected;
    if (!QueryMediaConnectStatus(c.link, adapter, &media)) media = kMediaConnected;
    if (o.waitSeconds == 0 || Settled(config.state, radio)) break;
    if (platform_.system.TickCount() - waitStart >= o.waitSeconds * 1000u) break;
    if (!Pause(pollMs)) return kExitInterrupted;
  }

  const std::string stateText = LinkStatusText(config, radio, t);
  const std::optional<int> signal =
      PercentOf(SignalReading(config, media, cardType, scales.maxSignal));
  const std::optional<int> quality =
      PercentOf(LinkQualityReading(config, media, cardType, scales.maxLinkQuality));

  std::uint8_t roaming = 0;
  const bool roamingSupported = QueryByte(c.link, adapter, OID_PRIV_INTL_ROAMING, &roaming);
  if (!roamingSupported) roaming = 0;
  // The page shows roaming off in Ad-Hoc mode, whatever the driver holds.
  const std::uint8_t roamingShown = config.operatingMode == 0 ? 0 : roaming;

  const std::string modeText = config.operatingMode == 0 ? t.Lookup("AdHoc", "Ad-Hoc")
                                                         : t.Lookup("Infrastructure", "Infrastructure");
  std::string rateText;
  switch (config.txRate) {
    case 0: rateText = t.Lookup("1Mbps", "1 Mbps"); break;
    case 1: rateText = t.Lookup("2Mbps", "2 Mbps"); break;
    case 2: rateText = t.Lookup("55Mbps", "5.5 Mbps"); break;
    case 3: rateText = t.Lookup("11Mbps", "11 Mbps"); break;
    case 4: rateText = t.Lookup("Auto", "Auto"); break;
    default: rateText = std::to_string(config.txRate); break;
  }
  const std::string radioText = radio == 0 ? t.Lookup("RadioOff", "Off") : t.Lookup("RadioOn", "On");
  const std::string roamingText = !roamingSupported ? std::string("-")
                                  : roamingShown != 0 ? t.Lookup("IntRoamEnabled", "Enabled")
                                                      : t.Lookup("IntRoamDisabled", "Disabled");

  // The profile in use, and whether the adapter still holds it, as the tray program decides
  // at its first tick.
  c.state.currentName = c.profiles.ReadLastProfile();
  if (c.state.currentName.empty()) c.state.currentName = kDefaultProfileName;
  const bool byWindows = c.osKind == OsKind::WinXP && c.link.configuredByWindows != 0;
  const bool inSync = !byWindows && c.application.MatchesAdapter();
  const std::string ssid = config.SsidBytes().substr(0, config.SsidBytes().find('\0'));
  const std::string bssid = BssidText(config.bssid);

  if (o.json) {
    std::string j = "{\n";
    j += "  \"adapter\": " + JsonString(adapter->DisplayName()) + ",\n";
    j += "  \"state\": " + std::to_string(config.state) + ",\n";
    j += "  \"status\": " + JsonString(stateText) + ",\n";
    j += "  \"mode\": " + std::to_string(config.operatingMode) + ",\n";
    j += "  \"modeText\": " + JsonString(modeText) + ",\n";
    j += "  \"ssid\": " + JsonString(ssid) + ",\n";
    j += "  \"bssid\": " + JsonString(bssid) + ",\n";
    j += "  \"channel\": " + std::to_string(config.channel) + ",\n";
    j += "  \"rate\": " + std::to_string(config.txRate) + ",\n";
    j += "  \"rateText\": " + JsonString(rateText) + ",\n";
    j += "  \"radio\": " + std::to_string(radio == 0 ? 0 : 1) + ",\n";
    j += "  \"roaming\": " + (roamingSupported ? std::to_string(roamingShown) : "null") + ",\n";
    j += "  \"signalPercent\": " + JsonNumberOrNull(signal) + ",\n";
    j += "  \"linkQualityPercent\": " + JsonNumberOrNull(quality) + ",\n";
    j += "  \"profile\": " + JsonString(c.state.currentName) + ",\n";
    j += "  \"profileMatches\": " + std::string(byWindows ? "null" : inSync ? "true" : "false") +
         ",\n";
    j += "  \"configuredByWindows\": " + std::string(byWindows ? "true" : "false") + "\n}\n";
    platform_.out.Write(j);
    return kExitOk;
  }
  std::string profileText = c.state.currentName;
  if (byWindows) {
    profileText += " (Windows configures the card)";
  } else {
    profileText += inSync ? " (the adapter matches it)" : " * (the adapter no longer matches it)";
  }
  platform_.out.Write(LabelledLines({
      {"Adapter", adapter->DisplayName()},
      {"Status", stateText},
      {"Operating mode", modeText},
      {"SSID", ssid},
      {"BSSID", bssid},
      {"Channel", std::to_string(config.channel)},
      {"Tx rate", rateText},
      {"Radio", radioText},
      {"Int. roaming", roamingText},
      {"Signal strength", PercentText(signal)},
      {"Link quality", PercentText(quality)},
      {"Profile", profileText},
  }));
  return kExitOk;
}

int CliProgram::Stats(const Options& o) {
  const int started = Start(true, o.adapter);
  if (started != kExitOk) return started;
  Core& c = *core_;
  const AdapterEntry* adapter = c.link.CurrentAdapter();
  if (o.reset && !ResetStatistics(c.link, adapter)) {
    c.messages.Show("FailedToResetStatisticsErrorMessage", "Failed to reset statistics");
    return kExitAdapter;
  }
  StatisticsRecord record;
  if (!QueryStatistics(c.link, adapter, &record)) {
    c.messages.Show("FailedToGetStatisticsErrorMessage", "Failed to get statistics");
    return kExitAdapter;
  }
  // Shown as the page shows them: signed 32-bit decimal.
  auto n = [&](StatisticsRecord::Counter k) {
    return std::to_string(static_cast<std::int32_t>(record.counters[k]));
  };
  using R = StatisticsRecord;
  if (o.json) {
    platform_.out.Write(
        "{\n  \"dataTxOk\": " + n(R::kTxDataOk) + ",\n  \"dataTxFailed\": " + n(R::kTxDataFailed) +
        ",\n  \"dataRxOk\": " + n(R::kRxDataOk) + ",\n  \"dataRxFailed\": " + n(R::kRxDataFailed) +
        ",\n  \"mgmtTxOk\": " + n(R::kTxMgmtOk) + ",\n  \"mgmtTxFailed\": " + n(R::kTxMgmtFailed) +
        ",\n  \"mgmtRxOk\": " + n(R::kRxMgmtOk) + ",\n  \"mgmtRxFailed\": " + n(R::kRxMgmtFailed) +
        ",\n  \"rejectedTx\": " + n(R::kTxRejected) + ",\n  \"rejectedRx\": " + n(R::kRxRejected) +
        "\n}\n");
    return kExitOk;
  }
  const LanguageTable& t = c.language;
  // The Statistics page's labels (their keys and texts), without their access keys.
  auto label = [&](const char* key, const char* defaultText) {
    return WithoutAccessKeys(t.Lookup(key, defaultText));
  };
  const std::string data = label("DataBorder", "&Data");
  const std::string mgmt = label("MgmtBorder", "&Management");
  const std::string ok = label("DataOkLabel", "&Successful");
  const std::string bad = label("DataErrorLabel", "&Unsuccessful");
  platform_.out.Write(TextTable(
      {"", "", label("TxLabel", "&Tx"), label("RxLabel", "&Rx")},
      {{data, ok, n(R::kTxDataOk), n(R::kRxDataOk)},
       {data, bad, n(R::kTxDataFailed), n(R::kRxDataFailed)},
       {mgmt, label("MgmtOkLabel", "Successfu&l"), n(R::kTxMgmtOk), n(R::kRxMgmtOk)},
       {mgmt, label("MgmtErrorLabel", "U&nsuccessful"), n(R::kTxMgmtFailed),
        n(R::kRxMgmtFailed)},
       {label("RejectedLabel", "Re&jected Packets"), "", n(R::kTxRejected), n(R::kRxRejected)}}));
  return kExitOk;
}

int CliProgram::Watch(const Options& o) {
  const int started = Start(true, o.adapter);
  if (started != kExitOk) return started;
  Core& c = *core_;
  const AdapterEntry* adapter = c.link.CurrentAdapter();
  const std::uint32_t interval =
      o.interval.value_or(std::max<std::uint32_t>(100, OemSettings(c.language).DevicePollingTimerMsec()));

  std::string why;
  if (o.csv.has_value() &&
      !platform_.files.Write(*o.csv, kLinkCsvHeader, &why)) {
    Fail("cannot write " + *o.csv + ": " + why);
    return kExitFile;
  }

  std::uint8_t cardType = 0;
  std::uint32_t written = 0;
  c.link.Query(adapter, OID_PRIV_CARD_TYPE, &cardType, 1, &written);
  const BarScales scales = BarScalesOf(cardType, OemSettings(c.language));

  const std::uint32_t start = platform_.system.TickCount();
  for (std::uint32_t line = 0; o.count == 0 || line < o.count; ++line) {
    if (line > 0) {
      // Lines keep to the interval however long a reading took. The clock wraps after 49
      // days: the wait is the signed distance to the line's moment, in the clock's arithmetic.
      const std::uint32_t due = start + line * interval;
      const auto wait = static_cast<std::int32_t>(due - platform_.system.TickCount());
      if (wait > 0 && !Pause(static_cast<std::uint32_t>(wait))) break;
      if (platform_.interrupted()) break;
    }
    std::uint8_t radio = 1;
    if (c.link.radioSupported == 1) {
      std::uint8_t value = 1;
      if (QueryByte(c.link, adapter, OID_PRIV_RADIO, &value)) radio = value;
    }
    DeviceConfig config;
    const bool haveConfig = QueryDeviceConfig(c.link, adapter, &config);
    std::uint32_t media = kMediaConnected;
    if (!QueryMediaConnectStatus(c.link, adapter, &media)) media = kMediaConnected;
    StatisticsRecord stats;
    const bool haveStats = QueryStatistics(c.link, adapter, &stats);

    const std::string time = platform_.localTime();
    std::string state, status, bssid, channel, tx, rx;
    std::optional<int> signal, quality;
    if (haveConfig) {
      state = std::to_string(config.state);
      status = LinkStatusText(config, radio, c.language);
      bssid = BssidText(config.bssid);
      channel = std::to_string(config.channel);
      signal = PercentOf(SignalReading(config, media, cardType, scales.maxSignal));
      quality = PercentOf(LinkQualityReading(config, media, cardType, scales.maxLinkQuality));
    } else {
      status = "(no answer from the adapter)";
    }
    if (haveStats) {
      tx = std::to_string(static_cast<std::int32_t>(stats.counters[StatisticsRecord::kTxDataOk]));
      rx = std::to_string(static_cast<std::int32_t>(stats.counters[StatisticsRecord::kRxDataOk]));
    }
    const std::string s = signal.has_value() ? std::to_string(*signal) : "";
    const std::string q = quality.has_value() ? std::to_string(*quality) : "";
    platform_.out.Write(time + "  " + status + "  ch " + (channel.empty() ? "-" : channel) +
                        "  signal " + PercentText(signal) + "  quality " + PercentText(quality) +
                        "  tx " + (tx.empty() ? "-" : tx) + "  rx " + (rx.empty() ? "-" : rx) +
                        "\n");
    if (o.csv.has_value()) {
      const LinkCsvRow row{time, state, status, bssid, channel, signal, quality, tx, rx};
      if (!platform_.files.Append(*o.csv, LinkCsvLine(row), &why)) {
        Fail("cannot write " + *o.csv + ": " + why);
        return kExitFile;
      }
    }
  }
  return kExitOk;
}

}  // namespace linkscope
