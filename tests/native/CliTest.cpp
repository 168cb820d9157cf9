// linkscope-cli on a simulated machine, on virtual time: the verbs against what the settings
// dialog shows, the profile file's refusals, and the survey's and watch's ends.

#include <gtest/gtest.h>

#include <map>
#include <regex>

#include "cli/CliProgram.h"
#include "cli/ProfileFile.h"
#include "device/Oids.h"
#include "native/PageOnSimMachine.h"
#include "support/SampleProfiles.h"
#include "ui/CStatusPage.h"

namespace linkscope::testing {
namespace {

class StringSink : public ITextSink {
 public:
  void Write(const std::string& t) override { text += t; }
  std::string text;
};

class MemoryFiles : public ICliFiles {
 public:
  bool Read(const std::string& path, std::size_t limit, std::string* bytes,
            std::string* why) override {
    auto it = files.find(path);
    if (it == files.end()) {
      *why = "No such file or directory";
      return false;
    }
    if (it->second.size() > limit) {
      *why = "too large";
      return false;
    }
    *bytes = it->second;
    return true;
  }
  bool Write(const std::string& path, const std::string& bytes, std::string*) override {
    files[path] = bytes;
    return true;
  }
  bool Append(const std::string& path, const std::string& bytes, std::string*) override {
    files[path] += bytes;
    return true;
  }
  std::map<std::string, std::string> files;
};

class FakeTray : public ITrayProgram {
 public:
  bool Running(const std::string& title) override {
    askedTitle = title;
    return running;
  }
  bool AskSwitch(const std::string&, int index) override {
    switches.push_back(index);
    if (onSwitch) onSwitch(index);
    return true;
  }
  bool TellSettingsChanged(const std::string&) override {
    ++told;
    if (onTold) onTold();
    return true;
  }
  bool running = false;
  int told = 0;
  std::function<void()> onTold;
  std::string askedTitle;
  std::vector<int> switches;
  std::function<void(int)> onSwitch;
};

sim::SimEnvironment Lab() {
  sim::SimEnvironment env;
  env.adapters.push_back(Adapter("ORVEX PCI Skyrelay", "SKYPCI", 21));
  sim::SimNetwork lab;
  lab.ssid = "lab";
  lab.channel = 6;
  lab.signal = 70;
  lab.bssid = {0x00, 0x40, 0x96, 0x00, 0x00, 0x06};
  env.networks.push_back(lab);
  sim::SimNetwork cafe;
  cafe.ssid = "cafe \"north\"";
  cafe.channel = 11;
  cafe.signal = 40;
  cafe.wepLevel = 1;
  cafe.wepKey = {1, 2, 3, 4, 5};
  cafe.bssid = {0x00, 0x40, 0x96, 0x00, 0x00, 0x0B};
  env.networks.push_back(cafe);
  return env;
}

// The program and the companion on one simulated machine: the same registry and the same
// driver, so both see the adapter at the same moment.
class CliTest : public ::testing::Test {
 protected:
  CliTest() : page(OsKind::Win2000, Lab()) {}

  int Cli(const std::vector<std::string>& args) {
    out.text.clear();
    err.text.clear();
    CliPlatform platform{page.machine.registry, page.profile, page.machine.system,
                         page.watching,         page.machine.probe, nullptr,
                         out,                   err,           files,
                         tray,                  [this] { return interrupted(); },
                         [this] { return "T" + std::to_string(page.machine.system.now); }};
    CliProgram program(platform);
    return program.Run(args);
  }
  // A field of the companion's JSON object: its raw text.
  std::string Json(const std::string& field) {
    std::smatch m;
    const std::regex re("\"" + field + "\": (\"[^\"]*\"|[^,\\n]*)");
    return std::regex_search(out.text, m, re) ? m[1].str() : "<none>";
  }
  int Percent(const std::string& text) { return std::atoi(text.c_str()); }
  std::size_t CountOid(std::uint32_t oid) const {
    std::size_t n = 0;
    for (const auto& r : page.requests) n += r.oid == oid ? 1 : 0;
    return n;
  }
  std::string StoredRegistryValues() {
    // Every profile's values, to tell that nothing changed.
    std::string all;
    Profile p;
    for (int i = 0; page.app.Profiles().Load(i, &p); ++i) {
      all += p.name + "|" + p.ssid + "|" + std::to_string(p.channel) + "|" + p.keys[0] + ";";
    }
    return all;
  }

  PageOnSimMachine page;
  StringSink out;
  StringSink err;
  MemoryFiles files;
  FakeTray tray;
  std::function<bool()> interrupted = [] { return false; };
};

TEST_F(CliTest, StatusSaysWhatTheStatusPageShowsAtTheSameMoment) {
  page.Start();
  page.Wait(5000);
  page.Tick();
  page.OnPage(0, [&](WindowHandle, FakeDialogItems& items) {
    page.Tick();
    ASSERT_EQ(kExitOk, Cli({"status", "--json"}));
    EXPECT_EQ("\"" + items.Text(CStatusPage::kIdStatusLine) + "\"", Json("status"));
    EXPECT_EQ("\"Associated - BSSID: 00-40-96-00-00-06\"", Json("status"));
    EXPECT_EQ("\"" + items.Text(CStatusPage::kIdSsid) + "\"", Json("ssid"));
    EXPECT_EQ(items.ComboItemText(CStatusPage::kIdChannel, items.ComboSelection(CStatusPage::kIdChannel)),
              Json("channel"));
    EXPECT_EQ("\"" + items.ComboItemText(CStatusPage::kIdMode, items.ComboSelection(CStatusPage::kIdMode)) + "\"", Json("modeText"));
    EXPECT_EQ("\"" + items.ComboItemText(CStatusPage::kIdRate, items.ComboSelection(CStatusPage::kIdRate)) + "\"", Json("rateText"));
    // The driver adds a little noise to every reading of the signal.
    EXPECT_NEAR(Percent(items.Text(CStatusPage::kIdSignalText)), Percent(Json("signalPercent")), 10);
    EXPECT_NEAR(Percent(items.Text(CStatusPage::kIdQualityText)),
                Percent(Json("linkQualityPercent")), 10);
    EXPECT_EQ("\"Default\"", Json("profile"));
  });
  ASSERT_EQ(kExitOk, Cli({"status"}));
  EXPECT_NE(std::string::npos, out.text.find("Associated - BSSID: 00-40-96-00-00-06")) << out.text;
}

TEST_F(CliTest, StatusWaitsForTheLinkToSettleWhenAsked) {
  page.Start();
  // A driver just started is still scanning; --wait follows it on the polling period.
  ASSERT_EQ(kExitOk, Cli({"status", "--json", "--wait", "20"}));
  EXPECT_EQ("5", Json("state"));
}

TEST_F(CliTest, ExportThenImportAsCopyGivesTheSameProfileFieldByField) {
  page.Start();
  Profile home = CLinkscopeApp::DefaultProfile();
  home.name = "Home";
  home.ssid = "a \"q\" \\ #x\x01";
  home.enc = 2;
  home.keys = {"0102030405060708090A0B0C0D", "A1B2C3D4E5F60718293A4B5C6D",
               "00000000000000000000000000", "FFFFFFFFFFFFFFFFFFFFFFFFFF"};
  home.key = 3;
  home.channel = 14;
  ASSERT_TRUE(page.app.Profiles().Save(home, false));

  ASSERT_EQ(kExitOk, Cli({"export", "home", "home.txt"}));
  EXPECT_EQ(0u, files.files["home.txt"].find("# WARNING"));
  ASSERT_EQ(kExitOk, Cli({"import", "home.txt", "--as", "Copy"})) << err.text;
  Profile copy;
  ASSERT_TRUE(page.app.Profiles().Find("Copy", &copy));
  home.name = "Copy";
  EXPECT_EQ(home, copy);

  // Once there, it is kept unless the user says otherwise, in any letter case.
  EXPECT_EQ(kExitProfile, Cli({"import", "home.txt", "--as", "COPY"}));
  EXPECT_EQ(kExitOk, Cli({"import", "home.txt", "--as", "COPY", "--replace"}));
  ASSERT_TRUE(page.app.Profiles().Find("copy", &copy));
  EXPECT_EQ("Copy", copy.name);
}

TEST_F(CliTest, ImportRefusesNamesTheStoreWouldNotTakeAndNeverWritesDefault) {
  page.Start();
  ASSERT_EQ(kExitOk, Cli({"export", "Default", "d.txt"}));
  const std::string before = StoredRegistryValues();
  for (const std::vector<std::string>& args : std::vector<std::vector<std::string>>{
           {"import", "d.txt"},
           {"import", "d.txt", "--replace"},
           {"import", "d.txt", "--as", "dEfAuLt", "--replace"},
           {"import", "d.txt", "--as", "SixteenLettersXX"},
           {"import", "d.txt", "--as", "a\\b"},
           {"import", "d.txt", "--as", ""}}) {
    EXPECT_EQ(kExitProfile, Cli(args)) << args.back();
    EXPECT_FALSE(err.text.empty()) << args.back();
  }
  EXPECT_EQ(before, StoredRegistryValues());
}

// Hand-broken export files: each is refused with the line at fault, and nothing is stored.
TEST_F(CliTest, ABrokenImportFileIsRefusedWithItsLineAndStoresNothing) {
  page.Start();
  Profile lab = SampleProfile("Lab", "", 10);
  lab.auth = WepCode::kAuthAuto;
  const std::string good = WriteProfileFile(lab);
  auto lineOf = [&](const std::string& field) {
    const std::size_t at = good.find("\n" + field + " = ");
    return static_cast<std::size_t>(std::count(good.begin(), good.begin() + at + 1, '\n')) + 1;
  };
  auto replaced = [&](const std::string& field, const std::string& line) {
    std::string text = good;
    const std::size_t b = text.find("\n" + field + " = ") + 1;
    text.replace(b, text.find('\n', b) - b, line);
    return text;
  };
  const std::size_t lines = static_cast<std::size_t>(std::count(good.begin(), good.end(), '\n'));
  struct Case {
    const char* what;
    std::string text;
    std::size_t line;
  };
  const std::vector<Case> cases = {
      {"channel 15", replaced("channel", "channel = 15"), lineOf("channel")},
      {"key of 9 digits", replaced("key2", "key2 = A1B2C3D4E"), lineOf("key2")},
      {"missing line", replaced("rate", "# rate removed"), lines + 1},
      {"26 digits at 64 bit", replaced("key1", "key1 = 0102030405060708090A0B0C0D"),
       lineOf("key1")},
      {"not a number", replaced("mode", "mode = one"), lineOf("mode")},
      {"unknown field", replaced("power", "powder = 0"), lineOf("power")},
      {"twice", replaced("power", "channel = 3"), lineOf("power")},
      {"unquoted name", replaced("name", "name = Lab"), lineOf("name")},
      {"bad escape", replaced("ssid", "ssid = \"a\\q\""), lineOf("ssid")},
      {"33-byte ssid", replaced("ssid", "ssid = \"" + std::string(33, 's') + "\""), lineOf("ssid")},
      {"zero byte", replaced("ssid", std::string("ssid = \"a\0b\"", 12)), lineOf("ssid")},
      // The registry's texts and key names end at a zero byte: the profile would change.
      {"escaped zero byte", replaced("ssid", "ssid = \"a\\x00b\""), lineOf("ssid")},
      {"zero byte in the name", replaced("name", "name = \"L\\x00ab\""), lineOf("name")},
      {"other format", replaced("format", "format = 2"), lineOf("format")},
      {"no equals", replaced("radio", "radio 1"), lineOf("radio")},
  };
  const std::string before = StoredRegistryValues();
  for (const Case& c : cases) {
    files.files["bad.txt"] = c.text;
    EXPECT_EQ(kExitFile, Cli({"import", "bad.txt", "--as", "Broken"})) << c.what;
    EXPECT_NE(std::string::npos, err.text.find("line " + std::to_string(c.line) + ":"))
        << c.what << ": " << err.text;
  }
  EXPECT_EQ(before, StoredRegistryValues());
  files.files["big.txt"] = std::string(kMaxProfileFileSize + 1, '#');
  EXPECT_EQ(kExitFile, Cli({"import", "big.txt"}));
  EXPECT_EQ(kExitFile, Cli({"import", "absent.txt"}));
}

// A profile whose name begins with '-' is reached after "--", in every verb that takes a name.
TEST_F(CliTest, DoubleDashEndsTheOptions) {
  page.Start();
  Profile dash = CLinkscopeApp::DefaultProfile();
  dash.name = "-x";
  files.files["-x.txt"] = WriteProfileFile(dash);
  ASSERT_EQ(kExitOk, Cli({"import", "--", "-x.txt"})) << err.text;
  EXPECT_EQ(kExitUsage, Cli({"export", "-x", "out.txt"}));
  ASSERT_EQ(kExitOk, Cli({"export", "--", "-x", "--help"})) << err.text;
  EXPECT_EQ(WriteProfileFile(dash), files.files["--help"]);
  ASSERT_EQ(kExitOk, Cli({"apply", "--", "-x"})) << err.text;
  EXPECT_EQ("-x", page.app.Profiles().ReadLastProfile());
  EXPECT_EQ(kExitOk, Cli({"import", "--as", "-y", "--", "-x.txt"})) << err.text;
}

TEST_F(CliTest, SurveyListsTheNetworksTheSiteSurveyPageWouldShow) {
  page.Start();
  ASSERT_EQ(kExitOk, Cli({"survey"})) << err.text;
  EXPECT_NE(std::string::npos, out.text.find("00-40-96-00-00-06  lab")) << out.text;
  EXPECT_NE(std::string::npos, out.text.find("cafe \"north\"")) << out.text;
  ASSERT_EQ(kExitOk, Cli({"survey", "--json"}));
  EXPECT_NE(std::string::npos, out.text.find("\"ssid\": \"cafe \\\"north\\\"\", \"signalPercent\": "))
      << out.text;
  EXPECT_NE(std::string::npos, out.text.find("\"wep\": true")) << out.text;
  // Channel 1 is the only one neither network's band reaches (lab is on 6, cafe on 11).
  ASSERT_EQ(kExitOk, Cli({"survey", "--channels"})) << err.text;
  EXPECT_NE(std::string::npos, out.text.find("Least crowded channel: 1\n")) << out.text;
  EXPECT_NE(std::string::npos, out.text.find("11       40     cafe")) << out.text;
  ASSERT_EQ(kExitOk, Cli({"survey", "--channels", "--json"}));
  EXPECT_EQ("1}", Json("leastCrowded"));
}

TEST_F(CliTest, SurveyWatchWritesEachNetworkOfEachSurveyUntilTheCountOrCtrlC) {
  page.Start();
  ASSERT_EQ(kExitOk, Cli({"survey", "--watch", "5", "--count", "2", "--csv", "s.csv"}))
      << err.text;
  const std::string csv = files.files["s.csv"];
  EXPECT_EQ(0u, csv.find("time,bssid,ssid,channel,signal_percent\r\n")) << csv;
  EXPECT_EQ(5, std::count(csv.begin(), csv.end(), '\n')) << csv;
  EXPECT_NE(std::string::npos, csv.find(",00-40-96-00-00-0B,\"cafe \"\"north\"\"\",11,")) << csv;
  EXPECT_EQ(4, std::count(out.text.begin(), out.text.end(), '\n'));
  EXPECT_EQ(2u, CountOid(OID_PRIV_SURVEY_START));
  // Ctrl+C during the second survey cancels it and ends the watch with the first written.
  const std::uint32_t from = page.machine.system.now;
  interrupted = [&] { return page.machine.system.now >= from + 6000; };
  EXPECT_EQ(kExitOk, Cli({"survey", "--watch", "5", "--csv", "s.csv"}));
  EXPECT_EQ(2, std::count(out.text.begin(), out.text.end(), '\n'));
  EXPECT_EQ(1u, CountOid(OID_PRIV_SURVEY_CANCEL));
}

TEST_F(CliTest, CtrlCAndTheTimeoutCancelTheSurveyOnTheAdapter) {
  page.Start();
  // Ctrl+C while the first second of the survey is waited for.
  const std::uint32_t from = page.machine.system.now;
  interrupted = [&] { return page.machine.system.now >= from + 500; };
  EXPECT_EQ(kExitInterrupted, Cli({"survey"}));
  EXPECT_EQ(1u, CountOid(OID_PRIV_SURVEY_CANCEL));
  EXPECT_TRUE(out.text.empty());

  // A survey still running when the timeout comes is cancelled as well.
  interrupted = [] { return false; };
  page.requests.clear();
  EXPECT_EQ(kExitTimeout, Cli({"survey", "--timeout", "0"}));
  EXPECT_EQ(1u, CountOid(OID_PRIV_SURVEY_START));
  EXPECT_EQ(1u, CountOid(OID_PRIV_SURVEY_CANCEL));
}

TEST_F(CliTest, StatsReadsAndResetsTheTenCounters) {
  page.Start();
  page.Wait(5000);
  page.Tick();
  page.Wait(20000);
  ASSERT_EQ(kExitOk, Cli({"stats", "--json"}));
  EXPECT_NE("0", Json("dataTxOk"));
  ASSERT_EQ(kExitOk, Cli({"stats", "--reset", "--json"}));
  EXPECT_EQ("0", Json("dataTxOk"));
  EXPECT_EQ(1u, CountOid(OID_PRIV_STATISTICS_RESET));
}

TEST_F(CliTest, WatchWritesAHeaderAndOneRowPerIntervalUntilTheCount) {
  page.Start();
  page.Wait(5000);
  page.Tick();
  const std::uint32_t start = page.machine.system.now;
  ASSERT_EQ(kExitOk, Cli({"watch", "--interval", "2000", "--count", "3", "--csv", "w.csv"}));
  const std::string csv = files.files["w.csv"];
  EXPECT_EQ(0u, csv.find("time,state,status,bssid,channel,signal_percent,link_quality_percent,"
                         "tx_data_frames,rx_data_frames\r\n"));
  EXPECT_EQ(4, std::count(csv.begin(), csv.end(), '\n')) << csv;
  EXPECT_NE(std::string::npos, csv.find("\r\nT" + std::to_string(start + 4000) + ",5,")) << csv;
  EXPECT_NE(std::string::npos, csv.find(",00-40-96-00-00-06,6,")) << csv;
  EXPECT_EQ(3, std::count(out.text.begin(), out.text.end(), '\n'));

  // Ctrl+C ends it between two lines, with the lines so far written.
  const std::uint32_t from = page.machine.system.now;
  interrupted = [&] { return page.machine.system.now >= from + 3000; };
  ASSERT_EQ(kExitOk, Cli({"watch", "--interval", "2000", "--csv", "w.csv"}));
  EXPECT_EQ(2, std::count(out.text.begin(), out.text.end(), '\n'));
}

TEST_F(CliTest, ApplyAsksTheRunningProgramOrAppliesItself) {
  page.Start();
  Profile office = CLinkscopeApp::DefaultProfile();
  office.name = "Office";
  office.ssid = "lab";
  office.channel = 6;
  ASSERT_TRUE(page.app.Profiles().Save(office, false));
  std::vector<std::string> names;
  ASSERT_TRUE(page.app.Profiles().Names(&names));
  const int officeIndex =
      static_cast<int>(std::find(names.begin(), names.end(), "Office") - names.begin());

  // Running: the program switches, through the same path as its menu.
  tray.running = true;
  tray.onSwitch = [&](int index) { page.app.SettingsDialog().SwitchProfile(index); };
  ASSERT_EQ(kExitOk, Cli({"apply", "office"})) << err.text;
  EXPECT_EQ(std::vector<int>{officeIndex}, tray.switches);
  EXPECT_EQ("Linkscope Utility", tray.askedTitle);
  EXPECT_EQ("Office", page.app.CurrentProfile().currentName);
  EXPECT_EQ("Office", page.app.Profiles().ReadLastProfile());
  std::string checked;
  for (const MenuItem& item : page.app.MainFrame()->BuildMenu()) {
    for (const MenuItem& profile : item.submenu) {
      if (profile.checked) checked += profile.text;
    }
  }
  EXPECT_EQ("Office", checked) << "the tray menu's check mark";

  // A program that does not switch is reported, not taken for a success.
  tray.onSwitch = nullptr;
  EXPECT_EQ(kExitRefused, Cli({"apply", "Default"}));
  EXPECT_EQ("Office", page.app.Profiles().ReadLastProfile());

  // Not running: the companion applies it to the adapter itself.
  tray.running = false;
  page.requests.clear();
  ASSERT_EQ(kExitOk, Cli({"apply", "Default"})) << err.text;
  EXPECT_EQ("Default", page.app.Profiles().ReadLastProfile());
  EXPECT_EQ(1u, page.SetsOf(OID_PRIV_ALL_SETTINGS).size());
  EXPECT_EQ(kExitProfile, Cli({"apply", "Nowhere"}));
}

// set over its options, one row after the other on the same adapter: the exit code, what the
// companion said, the records that reached the adapter, the driver key, and the running
// program's profile mark.
TEST_F(CliTest, SetSendsOnlyWhatWasNamedAndRefusesWhatThePagesRefuse) {
  page.Start();
  page.Wait(5000);
  page.Tick();
  // The adapter allows channels 12 and 13 with roaming; its domain (FCC) stops at 11.
  page.Change([](sim::SimEnvironment& env) { env.adapters[0].roamingChannels[12] = 1; });
  Profile office;
  ASSERT_TRUE(page.app.ProfileLogic().CaptureCurrentSettings(&office));
  office.name = "Office";
  ASSERT_TRUE(page.app.Profiles().Save(office, false));
  page.app.Profiles().WriteLastProfile("Office");
  page.app.CurrentProfile() = {"Office", true};
  tray.running = true;
  tray.onTold = [&] {
    page.windows.SendRegistered(page.frame,
        page.windows.RegisterMessage(CMainFrame::kSettingsChangedMessageName), 0, 0);
  };
  constexpr std::uint32_t kConfig = OID_PRIV_CONFIGURATION, kWep = OID_PRIV_WEP;
  struct Case {
    std::vector<std::string> args;
    int exit;
    std::string said;                  // in the companion's output or messages
    std::vector<std::uint32_t> sets;   // the set requests, in order
    std::map<std::string, std::string> driverKey;
    int inSync = -1;                   // the running program's mark afterwards (-1: not told)
  };
  const std::string longSsid(33, 's');
  const std::vector<Case> cases = {
      {{"set", "--ssid", "cafe"}, kExitOk, "no longer matches profile \"Office\"", {kConfig},
       {{"ESSID", "cafe"}}, 0},
      {{"set", "--ssid", office.ssid}, kExitOk, "Applied the link settings.\n", {kConfig}, {}, 1},
      {{"set", "--ssid", longSsid}, kExitUsage, "Invalid SSID (maximum 32 characters)", {}, {}},
      {{"set", "--mode", "Ad-Hoc", "--channel", "11"}, kExitOk, "", {kConfig},
       {{"Operating_Mode", "0"}, {"Channel", "11"}}, 0},
      {{"set", "--channel", "13"}, kExitUsage, "offers 1 2 3 4 5 6 7 8 9 10 11", {}, {}},
      {{"set", "--roaming", "on"}, kExitUsage, "Infrastructure mode only", {}, {}},
      {{"set", "--mode", "infrastructure", "--roaming", "on", "--channel", "13", "--rate", "5.5"},
       kExitOk, "", {kConfig, OID_PRIV_INTL_ROAMING},
       {{"Operating_Mode", "1"}, {"Channel", "13"}, {"InternationalRoaming", "1"}, {"Rate", "2"}}, 0},
      {{"set", "--radio", "off"}, kExitOk, "", {kConfig, OID_PRIV_RADIO}, {{"RadioOnOff", "0"}}, 0},
      {{"set", "--frag", "off", "--rts", "500", "--preamble", "short", "--power-save", "on"},
       kExitOk, "Applied the advanced settings.", {kConfig},
       {{"Frag_Threshold", "2346"}, {"RTS_Threshold", "500"}, {"PreambleType", "1"},
        {"PowerMgmtMode", "1"}}, 0},
      {{"set", "--frag", "255"}, kExitUsage, "is not one of 256-2346|off", {}, {}},
      {{"set", "--wep", "64", "--key1", "0a1b2c3d4e"}, kExitOk, "", {kWep},
       {{"EncryptionLevel", "1"}, {"WEP_KEY_1", "0A1B2C3D4E"}}, 0},
      {{"set", "--default-key", "2", "--auth", "shared"}, kExitOk, "", {kWep},
       {{"WEP_KEY_INDEX", "1"}, {"AuthenticationType", "1"}, {"WEP_KEY_1", "0A1B2C3D4E"}}, 0},
      {{"set", "--key2", "0A1B2C3D4G"}, kExitUsage, "Invalid WEP Key\n", {}, {}},
      {{"set", "--wep", "128", "--key3", "0A1B"}, kExitUsage, "Invalid WEP Key length", {}, {}},
      {{"set", "--wep", "off", "--key1", "0102030405"}, kExitUsage, "need encryption on", {}, {}},
      {{"set", "--rate", "3"}, kExitUsage, "not one of auto|1|2|5.5|11", {}, {}},
      {{"set", "--ssid"}, kExitUsage, "needs a value", {}, {}},
      {{"set", "--ssid", "a", "--ssid", "b"}, kExitUsage, "given twice", {}, {}},
      {{"set", "--adapter", "1"}, kExitUsage, "needs a setting", {}, {}},
      {{"set", "--adapter", "2", "--ssid", "x"}, kExitNoAdapter, "no adapter 2", {}, {}},
  };
  for (const Case& c : cases) {
    const std::string row = c.args.size() > 1 ? c.args[1] + " " + c.args.back() : "set";
    page.requests.clear();
    tray.told = 0;
    EXPECT_EQ(c.exit, Cli(c.args)) << row << ": " << err.text;
    EXPECT_NE(std::string::npos, (out.text + err.text).find(c.said)) << row << ": " << out.text
                                                                     << err.text;
    std::vector<std::uint32_t> sets;
    for (const auto& r : page.requests) {
      if (r.type == kRequestSet) sets.push_back(r.oid);
    }
    EXPECT_EQ(c.sets, sets) << row;
    for (const auto& [name, text] : c.driverKey) {
      EXPECT_EQ(text, page.DriverText(name)) << row;
    }
    EXPECT_EQ(c.inSync >= 0 ? 1 : 0, tray.told) << row;
    if (c.inSync >= 0) {
      EXPECT_EQ(c.inSync == 1, page.app.CurrentProfile().inSync) << row;
    }
  }

  // The adapter's records cannot be read: nothing is sent.
  page.Change([](sim::SimEnvironment& env) {
    env.adapters[0].faults.push_back({OID_PRIV_WEP, sim::SimFault::Kind::Fail, 31});
  });
  page.requests.clear();
  EXPECT_EQ(kExitAdapter, Cli({"set", "--auth", "open"}));
  EXPECT_NE(std::string::npos, err.text.find("Failed to get WEP information")) << err.text;
  EXPECT_TRUE(page.SetsOf(kWep).empty() && page.SetsOf(kConfig).empty());
  EXPECT_EQ(kExitOk, Cli({"set", "--help"}));
  EXPECT_NE(std::string::npos, out.text.find("--rts 1-2347|off")) << out.text;
}

TEST_F(CliTest, AFirstRunBeforeTheTrayProgramFindsTheBuiltInProfile) {
  // The tray program has never started on this machine: no profile is stored yet.
  ASSERT_EQ(kExitOk, Cli({"profiles"}));
  EXPECT_EQ("* Default\n", out.text);
  Profile stored;
  ASSERT_TRUE(page.app.Profiles().Find("Default", &stored));
  EXPECT_EQ(CLinkscopeApp::DefaultProfile(), stored);
}

TEST_F(CliTest, TheCommandLineIsCheckedBeforeAnythingIsAsked) {
  for (const std::vector<std::string>& args : std::vector<std::vector<std::string>>{
           {}, {"frobnicate"}, {"status", "--reset"}, {"watch", "--interval", "5"},
           {"watch", "--count"}, {"export", "Default"}, {"status", "--adapter", "0"},
           {"survey", "--watch", "0"}, {"survey", "--csv", "s.csv"}}) {
    EXPECT_EQ(kExitUsage, Cli(args)) << (args.empty() ? "" : args.back());
  }
  EXPECT_TRUE(page.requests.empty());
  EXPECT_EQ(kExitOk, Cli({"--help"}));
  EXPECT_NE(std::string::npos, out.text.find("Exit codes"));
  EXPECT_NE(std::string::npos, out.text.find("-- ends the options"));
  EXPECT_EQ(kExitOk, Cli({"import", "--help"}));
  EXPECT_NE(std::string::npos, out.text.find("--replace"));
  EXPECT_EQ(kExitNoAdapter, Cli({"status", "--adapter", "2"}));
}

}  // namespace
}  // namespace linkscope::testing
