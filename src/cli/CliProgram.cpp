#include "cli/CliProgram.h"

#include <algorithm>
#include <map>

#include "cli/CliVerbs.h"
#include "cli/SetVerb.h"
#include "device/Oids.h"
#include "text/OemSettings.h"

namespace linkscope {

namespace {

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
    {"survey", "survey [--adapter N] [--json] [--timeout SECONDS] [--channels]\n"
               "       [--watch SECONDS [--csv FILE] [--count N]]\n"
               "  Runs a site survey and lists the networks found. Ctrl+C cancels the survey on\n"
               "  the adapter. A survey still running after SECONDS (default 60) is cancelled.\n"
               "  --channels scores each channel by the signal of every network overlapping it\n"
               "  and names the least crowded one. --watch repeats the survey every SECONDS\n"
               "  until Ctrl+C or N surveys, one line (and CSV row) per network per survey.\n"},
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

CliProgram::CliProgram(CliPlatform& platform) : platform_(platform), console_(platform.err) {}
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
      {"survey", {"--adapter", "--json", "--timeout", "--channels", "--watch", "--csv", "--count"}},
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
                              a == "--timeout" || a == "--watch";
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
      if (a == "--channels") o.channels = true;
      if (a == "--watch") {
        // A survey takes a few seconds of its own; a day apart is the longest.
        if (!ParseCount(value, 1, 86400, &n)) {
          Fail("option --watch: \"" + value + "\" is not a number of seconds from 1 to 86400");
          return kExitUsage;
        }
        o.watchSeconds = n;
      }
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
  if (o.verb == "survey" && !o.watchSeconds.has_value() && (o.csv.has_value() || o.count != 0)) {
    Fail("--csv and --count go with --watch");
    platform_.err.Write(VerbUsage(o.verb));
    return kExitUsage;
  }
  if (o.positional.size() != kPositional.at(o.verb)) {
    Fail("wrong number of arguments for \"" + o.verb + "\"");
    platform_.err.Write(VerbUsage(o.verb));
    return kExitUsage;
  }

  core_ = std::make_unique<Core>(platform_.registry, platform_.profile, platform_.system,
                                 platform_.requests, console_, platform_.services);
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
  core_ = std::make_unique<Core>(platform_.registry, platform_.profile, platform_.system,
                                 platform_.requests, console_, platform_.services);
  const int started = Start(true, command.AdapterNumber());
  if (started != kExitOk) return started;
  Core& c = *core_;
  SetCommand::Target target{c.link,      c.profiles, c.state,    c.application,
                            c.settings,  c.messages, c.language, c.osKind,
                            platform_,   OemSettings(c.language).Title()};
  return command.Run(target);
}

int CliProgram::Start(bool adapter, int adapterNumber) {
  Core& c = *core_;
  c.language.ChooseFile();
  c.language.SelectStartLanguage(ProgramCore::ReadLanguageSetting(platform_.registry));

  if (!c.LearnOsKind()) {
    Fail("Operating System not supported");
    return kExitSystem;
  }
  // As at the tray program's start: the built-in profile exists, an existing one is kept.
  c.EnsureDefaultProfile();
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

}  // namespace linkscope
