#include "cli/CliProgram.h"

#include <algorithm>
#include <map>
#include <optional>

#include "app/CLinkscopeApp.h"
#include "app/CMainFrame.h"
#include "device/OsKind.h"
#include "cli/ProfileFile.h"
#include "cli/SetVerb.h"
#include "config/DriverParameters.h"
#include "config/ProfileApplication.h"
#include "config/ProfileNames.h"
#include "config/ProfileStore.h"
#include "device/CAdapterLink.h"
#include "device/DeviceCodes.h"
#include "device/Oids.h"
#include "device/RecordQuery.h"
#include "device/SurveyRequests.h"
#include "device/WindowsConfiguration.h"
#include "text/LanguageTable.h"
#include "text/Messages.h"
#include "text/OemSettings.h"
#include "ui/LinkBars.h"
#include "ui/LinkStatusText.h"
#include "ui/ProfileSwitcher.h"
#include "ui/SurveyRows.h"

namespace linkscope {

namespace {

// The service manager as given; with none, no manager opens.
class OptionalServices : public IServiceManager {
 public:
  explicit OptionalServices(IServiceManager* services) : services_(services) {}
  ServiceHandle OpenManager(std::uint32_t access) override {
    return services_ != nullptr ? services_->OpenManager(access) : 0;
  }
  ServiceHandle OpenNamedService(ServiceHandle manager, const std::string& name,
                                 std::uint32_t access, std::uint32_t* error) override {
    return services_ != nullptr ? services_->OpenNamedService(manager, name, access, error) : 0;
  }
  bool QueryState(ServiceHandle service, std::uint32_t* state) override {
    return services_ != nullptr && services_->QueryState(service, state);
  }
  bool CloseHandle(ServiceHandle handle) override {
    return services_ != nullptr && services_->CloseHandle(handle);
  }

 private:
  IServiceManager* services_;
};

// The number a bar's text shows ("40 %" gives 40); none when the page shows no percentage.
std::optional<int> PercentOf(const BarReading& reading) {
  if (reading.text.empty()) return std::nullopt;
  int n = 0;
  bool negative = false;
  std::size_t i = 0;
  if (reading.text[0] == '-') {
    negative = true;
    i = 1;
  }
  for (; i < reading.text.size() && reading.text[i] >= '0' && reading.text[i] <= '9'; ++i) {
    n = n * 10 + (reading.text[i] - '0');
  }
  return negative ? -n : n;
}

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

// Profile names as the store compares them: letter case ignored.
bool SameName(const std::string& a, const std::string& b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    auto up = [](char ch) { return (ch >= 'a' && ch <= 'z') ? static_cast<char>(ch - 'a' + 'A') : ch; };
    if (up(a[i]) != up(b[i])) return false;
  }
  return true;
}

bool ParseCount(const std::string& text, std::uint32_t low, std::uint32_t high,
                std::uint32_t* value) {
  if (text.empty() || text.size() > 9) return false;
  std::uint32_t n = 0;
  for (char c : text) {
    if (c < '0' || c > '9') return false;
    n = n * 10 + static_cast<std::uint32_t>(c - '0');
  }
  if (n < low || n > high) return false;
  *value = n;
  return true;
}

const char* const kVerbUsage[][2] = {
    {"adapters", "adapters [--json]\n"
                 "  The supported adapters discovery finds: number, display name, device name.\n"},
    {"status", "status [--adapter N] [--json] [--wait SECONDS]\n"
               "  The link as the Status page words it, mode, SSID, BSSID, channel, rate, radio,\n"
               "  roaming, signal and link quality in percent, and the profile in use.\n"
               "  --wait waits up to SECONDS for the link to settle (associated, out of range,\n"
               "  refused, radio off) before it reports.\n"},
    {"survey", "survey [--adapter N] [--json] [--timeout SECONDS]\n"
               "  Runs a site survey and lists the networks found. Ctrl+C cancels the survey on\n"
               "  the adapter. A survey still running after SECONDS (default 60) is cancelled.\n"},
    {"stats", "stats [--adapter N] [--reset] [--json]\n"
              "  The ten frame counters of the Statistics page; --reset sets them back to zero\n"
              "  first.\n"},
    {"profiles", "profiles [--json]\n"
                 "  The stored profiles; * marks the one in use.\n"},
    {"apply", "apply NAME [--adapter N]\n"
              "  Switches to the profile. When Linkscope runs, it is asked to switch, as its\n"
              "  profile menu does; otherwise the profile is applied here.\n"},
    {"export", "export NAME FILE\n"
               "  Writes the profile, every field of it, into a text file. The file holds the WEP\n"
               "  keys in clear.\n"},
    {"import", "import FILE [--as NAME] [--replace]\n"
               "  Stores the profile of an export file, under NAME when given. Every field is\n"
               "  checked; a bad file is refused with its line number and nothing is stored. An\n"
               "  existing profile is overwritten only with --replace; Default never.\n"},
    {"watch", "watch [--adapter N] [--interval MS] [--count N] [--csv FILE]\n"
              "  One line per interval (default: the tray program's polling period): time,\n"
              "  state, BSSID, channel, signal and link quality in percent, data frames sent and\n"
              "  received. Runs until Ctrl+C or N lines; --csv also writes the lines to FILE with\n"
              "  a header row.\n"},
    {"set", "set [--adapter N] OPTION VALUE...\n"
            "  Changes the settings named, as the Status, Advanced and Encryption pages do:\n"
            "  --mode --channel --ssid --rate --radio --roaming --preamble --frag --rts\n"
            "  --power-save --wep --key1..--key4 --default-key --auth (set --help: values).\n"},
};

std::string VerbUsage(const std::string& verb) {
  for (const auto& v : kVerbUsage) {
    if (verb == v[0]) return std::string("Usage: linkscope-cli ") + v[1];
  }
  return "";
}

}  // namespace

// The tray program's objects, wired as the application object wires them.
struct CliProgram::Core {
  explicit Core(CliPlatform& p)
      : windows(p.err),
        language(p.profile),
        messages(windows, language),
        link(p.requests, p.system),
        profiles(p.registry, messages),
        parameters(p.registry, messages, link),
        application(link, profiles, parameters, messages, p.system, state),
        services(p.services),
        windowsConfiguration(services, p.registry, p.requests, link, messages) {
    link.SetWindowsConfigCheck([this] { return windowsConfiguration.IsConfiguredByWindows(); });
  }

  ConsoleWindows windows;
  LanguageTable language;
  Messages messages;
  CAdapterLink link;
  ProfileStore profiles;
  DriverParameters parameters;
  ProfileState state;
  ProfileApplication application;
  OptionalServices services;
  WindowsConfiguration windowsConfiguration;
  OsKind osKind = OsKind::OtherNt;
};

struct CliProgram::Options {
  std::string verb;
  std::vector<std::string> positional;
  bool json = false;
  bool reset = false;
  bool replace = false;
  bool help = false;
  int adapter = 1;
  std::optional<std::string> as;
  std::optional<std::uint32_t> interval;
  std::uint32_t count = 0;
  std::optional<std::string> csv;
  std::uint32_t waitSeconds = 0;
  std::uint32_t timeoutSeconds = 60;
};

CliProgram::CliProgram(CliPlatform& platform) : platform_(platform) {}
CliProgram::~CliProgram() = default;

std::string CliProgram::Usage() {
  std::string text =
      "linkscope-cli: the Linkscope wireless adapter utility for the command line.\n"
      "\n"
      "Usage: linkscope-cli VERB [options]      linkscope-cli VERB --help for one verb\n"
      "\n";
  for (const auto& v : kVerbUsage) text += std::string("  ") + v[1];
  text +=
      "\n"
      "Adapters are numbered from 1 in the order 'adapters' lists them; --adapter 1 is the\n"
      "default. -- ends the options: every word after it is a name or a file, even one that\n"
      "begins with - (linkscope-cli apply -- -x). Messages go to standard error. Exit codes:\n"
      "  0 success               5 a file cannot be read or written, or an import is refused\n"
      "  1 bad command line      6 interrupted by Ctrl+C (the survey was cancelled)\n"
      "  2 no adapter            7 the switch was refused\n"
      "  3 the adapter failed    8 the survey did not complete in time\n"
      "  4 profile error         9 operating system not supported\n";
  return text;
}

void CliProgram::Fail(const std::string& text) { platform_.err.Write("linkscope-cli: " + text + "\n"); }

bool CliProgram::Pause(std::uint32_t ms) {
  const std::uint32_t start = platform_.system.TickCount();
  for (;;) {
    if (platform_.interrupted()) return false;
    const std::uint32_t waited = platform_.system.TickCount() - start;
    if (waited >= ms) return true;
    platform_.system.Sleep(std::min<std::uint32_t>(100, ms - waited));
  }
}

int CliProgram::Run(const std::vector<std::string>& args) {
  Options o;
  if (args.empty()) {
    platform_.err.Write(Usage());
    return kExitUsage;
  }
  o.verb = args[0];
  if (o.verb == "--help" || o.verb == "-h" || o.verb == "/?" || o.verb == "help") {
    platform_.out.Write(Usage());
    return kExitOk;
  }
  if (VerbUsage(o.verb).empty()) {
    Fail("unknown verb \"" + o.verb + "\"; linkscope-cli --help lists them");
    return kExitUsage;
  }
  if (o.verb == "set") return Set(args);
  // Which options each verb takes.
  static const std::map<std::string, std::vector<std::string>> kAllowed = {
      {"adapters", {"--json"}},
      {"status", {"--adapter", "--json", "--wait"}},
      {"survey", {"--adapter", "--json", "--timeout"}},
      {"stats", {"--adapter", "--reset", "--json"}},
      {"profiles", {"--json"}},
      {"apply", {"--adapter"}},
      {"export", {}},
      {"import", {"--as", "--replace"}},
      {"watch", {"--adapter", "--interval", "--count", "--csv"}},
  };
  static const std::map<std::string, std::size_t> kPositional = {
      {"adapters", 0}, {"status", 0}, {"survey", 0}, {"stats", 0},  {"profiles", 0},
      {"apply", 1},    {"export", 2}, {"import", 1}, {"watch", 0}};
  const auto& allowed = kAllowed.at(o.verb);
  // After "--" every word is an argument: a profile named "-x" or a file "--help".
  bool options = true;
  for (std::size_t i = 1; i < args.size(); ++i) {
    const std::string& a = args[i];
    if (options && a == "--") {
      options = false;
      continue;
    }
    if (options && (a == "--help" || a == "-h" || a == "/?")) {
      o.help = true;
      continue;
    }
    if (options && a.size() > 1 && a[0] == '-') {
      if (std::find(allowed.begin(), allowed.end(), a) == allowed.end()) {
        Fail("\"" + o.verb + "\" takes no option \"" + a +
             "\" (put -- before a name or file that begins with -)");
        platform_.err.Write(VerbUsage(o.verb));
        return kExitUsage;
      }
      const bool takesValue = a == "--adapter" || a == "--as" || a == "--interval" ||
                              a == "--count" || a == "--csv" || a == "--wait" ||
                              a == "--timeout";
      std::string value;
      if (takesValue) {
        if (i + 1 >= args.size()) {
          Fail("option " + a + " needs a value");
          return kExitUsage;
        }
        value = args[++i];
      }
      std::uint32_t n = 0;
      if (a == "--json") o.json = true;
      if (a == "--reset") o.reset = true;
      if (a == "--replace") o.replace = true;
      if (a == "--as") o.as = value;
      if (a == "--csv") o.csv = value;
      if (a == "--adapter" || a == "--interval" || a == "--count" || a == "--wait" ||
          a == "--timeout") {
        const bool interval = a == "--interval";
        // An interval below 100 ms would only load the adapter; a day is the longest.
        if (!ParseCount(value, interval ? 100 : (a == "--adapter" ? 1 : 0),
                        interval ? 86400000u : 1000000u, &n)) {
          Fail("option " + a + ": \"" + value + "\" is not a number in range");
          return kExitUsage;
        }
        if (a == "--adapter") o.adapter = static_cast<int>(n);
        if (a == "--interval") o.interval = n;
        if (a == "--count") o.count = n;
        if (a == "--wait") o.waitSeconds = n;
        if (a == "--timeout") o.timeoutSeconds = n;
      }
      continue;
    }
    o.positional.push_back(a);
  }
  if (o.help) {
    platform_.out.Write(VerbUsage(o.verb));
    return kExitOk;
  }
  if (o.positional.size() != kPositional.at(o.verb)) {
    Fail("wrong number of arguments for \"" + o.verb + "\"");
    platform_.err.Write(VerbUsage(o.verb));
    return kExitUsage;
  }

  core_ = std::make_unique<Core>(platform_);
  if (o.verb == "adapters") return Adapters(o);
  if (o.verb == "status") return Status(o);
  if (o.verb == "survey") return Survey(o);
  if (o.verb == "stats") return Stats(o);
  if (o.verb == "profiles") return Profiles(o);
  if (o.verb == "apply") return Apply(o);
  if (o.verb == "export") return Export(o);
  if (o.verb == "import") return Import(o);
  return Watch(o);
}

int CliProgram::Set(const std::vector<std::string>& args) {
  SetCommand command;
  int exit = kExitOk;
  if (!command.Parse(args, platform_, &exit)) return exit;
  core_ = std::make_unique<Core>(platform_);
  const int started = Start(true, command.AdapterNumber());
  if (started != kExitOk) return started;
  Core& c = *core_;
  SetCommand::Target target{c.link,     c.profiles, c.state,  c.application,
                            platform_.registry, c.messages, c.language, c.osKind,
                            platform_,  CMainFrame::TitleOf(c.language)};
  return command.Run(target);
}

int CliProgram::Start(bool adapter, int adapterNumber) {
  Core& c = *core_;
  c.language.ChooseFile();
  c.language.SelectStartLanguage(CMainFrame::ReadLanguageSetting(platform_.registry));

  OsVersion version;
  if (!platform_.system.GetVersion(&version) || !ClassifyOs(version, &c.osKind)) {
    Fail("Operating System not supported");
    return kExitSystem;
  }
  c.link.SetOsKind(c.osKind);
  // As at the tray program's start: the built-in profile exists, an existing one is kept.
  Profile builtIn;
  if (!c.profiles.Find(kDefaultProfileName, &builtIn)) {
    c.profiles.Save(CLinkscopeApp::DefaultProfile(), false);
  }
  if (!adapter) return kExitOk;

  const OemSettings oem(c.language);
  const std::vector<std::string> descriptions =
      oem.LoadDeviceDescriptions(OemSettings::BuiltInDeviceDescriptions());
  c.link.Enumerate(DiscoveryContext{platform_.registry, platform_.pcCards}, descriptions);
  if (c.link.AdapterCount() == 0) {
    Fail("no supported adapter found");
    return kExitNoAdapter;
  }
  if (!c.link.SelectAdapter(static_cast<std::uint32_t>(adapterNumber - 1))) {
    Fail("there is no adapter " + std::to_string(adapterNumber) + " (" +
         std::to_string(c.link.AdapterCount()) + " found; see linkscope-cli adapters)");
    return kExitNoAdapter;
  }
  c.link.RefreshAdapterValues();
  if (c.osKind == OsKind::WinXP) {
    std::uint8_t byWindows = 0;
    std::uint32_t written = 0;
    if (c.link.Query(c.link.CurrentAdapter(), OID_PRIV_WINDOWS_CONFIG, &byWindows, 1, &written)) {
      c.link.configuredByWindows = byWindows;
    }
  }
  return kExitOk;
}

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
  const std::string data = t.Lookup("DataBorder", "Data");
  const std::string mgmt = t.Lookup("MgmtBorder", "Management");
  const std::string ok = t.Lookup("DataOkLabel", "Successful");
  const std::string bad = t.Lookup("DataErrorLabel", "Unsuccessful");
  platform_.out.Write(TextTable(
      {"", "", t.Lookup("TxLabel", "Tx"), t.Lookup("RxLabel", "Rx")},
      {{data, ok, n(R::kTxDataOk), n(R::kRxDataOk)},
       {data, bad, n(R::kTxDataFailed), n(R::kRxDataFailed)},
       {mgmt, t.Lookup("MgmtOkLabel", "Successful"), n(R::kTxMgmtOk), n(R::kRxMgmtOk)},
       {mgmt, t.Lookup("MgmtErrorLabel", "Unsuccessful"), n(R::kTxMgmtFailed),
        n(R::kRxMgmtFailed)},
       {t.Lookup("RejectedLabel", "Rejected Packets"), "", n(R::kTxRejected), n(R::kRxRejected)}}));
  return kExitOk;
}

int CliProgram::Profiles(const Options& o) {
  const int started = Start(false, 0);
  if (started != kExitOk) return started;
  Core& c = *core_;
  std::vector<std::string> names;
  if (!c.profiles.Names(&names)) names.clear();  // no profiles key yet: no profiles
  std::string current = c.profiles.ReadLastProfile();
  if (current.empty()) current = kDefaultProfileName;
  auto isCurrent = [&](const std::string& name) { return SameName(name, current); };
  if (o.json) {
    std::string j = "[";
    for (std::size_t i = 0; i < names.size(); ++i) {
      Profile p;
      const bool loaded = c.profiles.Find(names[i], &p);
      j += std::string(i > 0 ? ",\n " : "\n ") + "{\"name\": " + JsonString(names[i]) +
           ", \"current\": " + (isCurrent(names[i]) ? "true" : "false");
      if (loaded) {
        j += ", \"ssid\": " + JsonString(p.ssid) + ", \"mode\": " + std::to_string(p.mode) +
             ", \"channel\": " + std::to_string(p.channel) + ", \"enc\": " + std::to_string(p.enc);
      }
      j += "}";
    }
    platform_.out.Write(j + (names.empty() ? "]\n" : "\n]\n"));
    return kExitOk;
  }
  std::string text;
  for (const std::string& name : names) text += (isCurrent(name) ? "* " : "  ") + name + "\n";
  platform_.out.Write(text);
  return kExitOk;
}

int CliProgram::Apply(const Options& o) {
  const int started = Start(false, 0);
  if (started != kExitOk) return started;
  Core& c = *core_;
  const std::string& wanted = o.positional[0];
  std::vector<std::string> names;
  if (!c.profiles.Names(&names)) names.clear();
  int index = -1;
  for (std::size_t i = 0; i < names.size(); ++i) {
    if (SameName(names[i], wanted)) {
      index = static_cast<int>(i);
      break;
    }
  }
  if (index < 0) {
    Fail("there is no profile named \"" + wanted + "\" (see linkscope-cli profiles)");
    return kExitProfile;
  }
  const std::string& name = names[static_cast<std::size_t>(index)];

  const std::string title = CMainFrame::TitleOf(c.language);
  if (platform_.tray.Running(title)) {
    // The running program holds the profile in use; it switches, so that it, the adapter and
    // the registry agree. It shows its own refusals.
    if (!platform_.tray.AskSwitch(title, index)) {
      Fail("the running Linkscope did not answer");
      return kExitRefused;
    }
    if (c.profiles.ReadLastProfile() != name) {
      Fail("the running Linkscope did not switch to \"" + name + "\" (it says why in its window)");
      return kExitRefused;
    }
    platform_.out.Write("Linkscope switched to profile \"" + name + "\".\n");
    return kExitOk;
  }

  const int adapterStarted = Start(true, o.adapter);
  if (adapterStarted != kExitOk) return adapterStarted;
  ProfileSwitcher switcher(c.link, c.profiles, c.application, c.messages);
  c.state.currentName.clear();
  if (!switcher.SwitchProfile(index, nullptr)) return kExitRefused;
  // ApplyProfile has said why it failed; success makes the name current.
  if (c.state.currentName != name) return kExitAdapter;
  platform_.out.Write("Profile \"" + name + "\" applied.\n");
  return kExitOk;
}

int CliProgram::Export(const Options& o) {
  const int started = Start(false, 0);
  if (started != kExitOk) return started;
  Profile profile;
  if (!core_->profiles.Find(o.positional[0], &profile)) {
    Fail("there is no profile named \"" + o.positional[0] + "\" (see linkscope-cli profiles)");
    return kExitProfile;
  }
  std::string why;
  if (!platform_.files.Write(o.positional[1], WriteProfileFile(profile), &why)) {
    Fail("cannot write " + o.positional[1] + ": " + why);
    return kExitFile;
  }
  platform_.out.Write("Profile \"" + profile.name + "\" exported to " + o.positional[1] +
                      ". The file holds its WEP keys in clear.\n");
  return kExitOk;
}

int CliProgram::Import(const Options& o) {
  const int started = Start(false, 0);
  if (started != kExitOk) return started;
  Core& c = *core_;
  const std::string& file = o.positional[0];
  std::string bytes;
  std::string why;
  if (!platform_.files.Read(file, kMaxProfileFileSize, &bytes, &why)) {
    Fail("cannot read " + file + ": " + why);
    return kExitFile;
  }
  ProfileFileResult parsed = ParseProfileFile(bytes);
  if (!parsed.ok) {
    Fail(file + ", line " + std::to_string(parsed.line) + ": " + parsed.message +
         ". Nothing was stored.");
    return kExitFile;
  }
  Profile profile = std::move(parsed.profile);
  if (o.as.has_value()) {
    profile.name = *o.as;
    switch (CheckProfileName(profile.name)) {
      case ProfileNameProblem::Empty:
        c.messages.Show("ErrorProfileNameEmpty", "Please specify a profile name");
        return kExitProfile;
      case ProfileNameProblem::TooLong:
        c.messages.Show("ErrorProfileNameLength", "The field must not exceed 15 characters");
        return kExitProfile;
      case ProfileNameProblem::IllegalCharacter:
        c.messages.Show("ErrorProfileNameInvalidChars", "The field contains illegal characters");
        return kExitProfile;
      case ProfileNameProblem::None:
        break;
    }
  }
  if (IsDefaultProfileName(profile.name)) {
    c.messages.Show("ErrorCannotCreateDefaultProfile ",
                    "This name conflicts with default profile. Please specify a different name.");
    return kExitProfile;
  }
  Profile existing;
  if (c.profiles.Find(profile.name, &existing)) {
    if (!o.replace) {
      c.messages.Show("ErrorCannotCreateExistingProfile",
                      "This name conflicts with another profile. Please specify a different name");
      Fail("use --replace to overwrite \"" + existing.name + "\"");
      return kExitProfile;
    }
    // The stored letter case stays: registry key names ignore case.
    profile.name = existing.name;
  }
  // The store writes a profile whole or not at all.
  if (!c.profiles.Save(profile, false)) return kExitProfile;
  platform_.out.Write("Profile \"" + profile.name + "\" imported from " + file + ".\n");
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
      !platform_.files.Write(*o.csv,
                             "time,state,status,bssid,channel,signal_percent,"
                             "link_quality_percent,tx_data_frames,rx_data_frames\r\n",
                             &why)) {
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
      const std::string row = CsvField(time) + "," + state + "," + CsvField(status) + "," + bssid +
                              "," + channel + "," + s + "," + q + "," + tx + "," + rx + "\r\n";
      if (!platform_.files.Append(*o.csv, row, &why)) {
        Fail("cannot write " + *o.csv + ": " + why);
        return kExitFile;
      }
    }
  }
  return kExitOk;
}

}  // namespace linkscope
