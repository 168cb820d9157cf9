// linkscope-cli.exe under Wine on the simulated adapter, one test per thing a user does with
// it: read the status beside the settings dialog, survey, carry a profile through a file,
// switch the running program's profile, and log the signal while the environment changes.

#include <gtest/gtest.h>
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <iterator>
#include <sstream>
#include <string>
#include <vector>

#include "app/CLinkscopeApp.h"
#include "config/ProfileStore.h"
#include "win32/ProcessHelpers.h"
#include "win32/SimulatedCardProgram.h"
#include "win32/UiDriver.h"
#include "win32/Win32Registry.h"
#include "win32/Win32WindowSystem.h"

namespace linkscope::testing {
namespace {

constexpr const char* kProfiles = "Software\\ORVEX\\Linkscope\\Profiles";

std::string Environment(int signal, bool present = true) {
  return std::string(R"json({"adapters": [{"present": )json") + (present ? "true" : "false") +
         R"json(,
  "displayName": "ORVEX PCI Skyrelay", "serviceName": "SKYCLI",
  "instanceId": "{5A1D0000-0000-4000-8000-00000000C117}",
  "cardType": 21, "mac": "00-60-1D-00-C1-17",
  "parameters": {"ESSID": "Harbour", "Channel": 6}}],
  "networks": [{"bssid": "00-40-96-A1-00-01", "ssid": "Harbour", "channel": 6, "signal": )json" +
         std::to_string(signal) + R"json(},
    {"bssid": "00-40-96-B2-00-02", "ssid": "Quay", "channel": 11, "signal": 45,
     "wep": {"key": "0102030405"}}]})json";
}

// The value of a "Label: value" line of the companion's output.
std::string Field(const std::string& output, const std::string& label) {
  std::size_t at = output.compare(0, label.size() + 1, label + ":") == 0 ? 0 : std::string::npos;
  if (at == std::string::npos) {
    at = output.find("\n" + label + ":");
    if (at == std::string::npos) return "<none>";
    ++at;
  }
  std::size_t b = at + label.size() + 1;
  while (b < output.size() && output[b] == ' ') ++b;
  const std::size_t e = output.find_first_of("\r\n", b);
  return output.substr(b, e == std::string::npos ? std::string::npos : e - b);
}

// A value of the card's driver key, found as Windows 2000 files it: the class key's subkey
// that names the card's interface.
std::string DriverValue(const std::string& name) {
  const std::string cls =
      "System\\CurrentControlSet\\Control\\Class\\{4D36E972-E325-11CE-BFC1-08002BE10318}\\";
  for (int i = 0; i < 32; ++i) {
    char sub[8];
    std::snprintf(sub, sizeof sub, "%04d", i);
    HKEY key = nullptr;
    if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, (cls + sub).c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS) {
      continue;
    }
    char data[256] = {};
    DWORD size = sizeof data - 1;
    std::string value = "<missing>";
    const bool ours =
        RegQueryValueExA(key, "NetCfgInstanceId", nullptr, nullptr, reinterpret_cast<BYTE*>(data),
                         &size) == ERROR_SUCCESS &&
        std::string(data) == "{5A1D0000-0000-4000-8000-00000000C117}";
    std::fill(std::begin(data), std::end(data), '\0');
    size = sizeof data - 1;
    if (ours && RegQueryValueExA(key, name.c_str(), nullptr, nullptr,
                                 reinterpret_cast<BYTE*>(data), &size) == ERROR_SUCCESS) {
      value = data;
    }
    RegCloseKey(key);
    if (ours) return value;
  }
  return "<no driver key>";
}

std::vector<std::string> Lines(const std::string& text) {
  std::vector<std::string> lines;
  std::istringstream in(text);
  std::string line;
  while (std::getline(in, line)) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    if (!line.empty()) lines.push_back(line);
  }
  return lines;
}

std::vector<std::string> Cells(const std::string& row) {
  std::vector<std::string> cells;
  std::string cell;
  std::istringstream in(row);
  while (std::getline(in, cell, ',')) cells.push_back(cell);
  if (!row.empty() && row.back() == ',') cells.push_back("");
  return cells;
}

class CliUnderWine : public SimulatedCardProgram {
 protected:
  void SetUp() override {
    ASSERT_NO_FATAL_FAILURE(
        Install("cli_e2e", Environment(80), "win2k", {"linkscope-cli.exe"}));
  }

  DWORD Cli(const std::string& args, std::string* output) {
    return RunCommand(Quote(folder_ + "linkscope-cli.exe") + " " + args, folder_, output);
  }
  static Profile Office() {
    Profile office = CLinkscopeApp::DefaultProfile();
    office.name = "Office";
    office.ssid = "Harbour";
    office.channel = 6;
    office.rts = 700;
    office.enc = 1;
    office.key = 2;
    office.keys = {"0102030405", "A1B2C3D4E5", "00FF00FF00", "7E3D91C0A5"};
    return office;
  }

  Win32Registry registry_;
  Win32WindowSystem windows_{GetModuleHandleA(nullptr)};
  DefaultTexts texts_;
  Messages messages_{windows_, texts_};
  ProfileStore store_{registry_, messages_};
};

TEST_F(CliUnderWine, StatusPrintsWhatTheStatusPageShows) {
  HWND main = StartProgram();
  ASSERT_NE(nullptr, main);
  HWND dialog = OpenDialog();
  ASSERT_NE(nullptr, dialog);
  HWND status = ShowTab(dialog, 0, 1018);
  ASSERT_NE(nullptr, status);
  const std::string associated = "Associated - BSSID: 00-40-96-A1-00-01";
  ASSERT_TRUE(WaitUntil([&] { return TextOf(GetDlgItem(status, 1003)) == associated; }));

  // The companion's driver starts afresh, as a second program on a real card would find it
  // running: --wait lets it settle first.
  std::string output;
  ASSERT_EQ(0u, Cli("status --wait 60", &output)) << output;
  EXPECT_EQ(associated, Field(output, "Status")) << output;
  EXPECT_EQ(TextOf(GetDlgItem(status, 1009)), Field(output, "SSID"));
  EXPECT_EQ(TextOf(GetDlgItem(status, 1025)), Field(output, "Channel"));
  EXPECT_EQ(TextOf(GetDlgItem(status, 1024)), Field(output, "Operating mode"));
  EXPECT_EQ(TextOf(GetDlgItem(status, 1026)), Field(output, "Tx rate"));
  EXPECT_EQ(TextOf(GetDlgItem(status, 1030)), Field(output, "Radio"));
  // Both drivers add a little noise to each reading of the signal.
  EXPECT_NEAR(std::atoi(TextOf(GetDlgItem(status, 1031)).c_str()),
              std::atoi(Field(output, "Signal strength").c_str()), 10);
  EXPECT_NEAR(std::atoi(TextOf(GetDlgItem(status, 1032)).c_str()),
              std::atoi(Field(output, "Link quality").c_str()), 10);
  EXPECT_EQ(0u, Field(output, "Profile").find("Default")) << output;
  CloseDialog();
}

TEST_F(CliUnderWine, SurveyListsTheEnvironmentsNetworks) {
  std::string output;
  ASSERT_EQ(0u, Cli("survey", &output)) << output;
  const auto lines = Lines(output);
  ASSERT_EQ(3u, lines.size()) << output;
  EXPECT_EQ(0u, lines[0].find("BSSID")) << output;
  EXPECT_NE(std::string::npos, output.find("00-40-96-A1-00-01  Harbour")) << output;
  EXPECT_NE(std::string::npos, output.find("00-40-96-B2-00-02  Quay")) << output;
}

// The shipped environment's networks around the test's card (channels 1 to 11): the score
// table names the channel its native table gives for them ("the shipped environment").
TEST_F(CliUnderWine, SurveyChannelsNamesTheLeastCrowdedChannelOfTheShippedEnvironment) {
  const std::string shipped = ReadText(ProgramFolder() + "simulated-environment.json");
  const std::size_t from = shipped.find("\"networks\"");
  const std::size_t to = shipped.rfind(']');
  ASSERT_TRUE(from != std::string::npos && to != std::string::npos && to > from);
  std::string environment = Environment(80);
  environment = environment.substr(0, environment.find("\"networks\"")) +
                shipped.substr(from, to + 1 - from) + "}\n";
  WriteText(folder_ + "W32N50-environment.json", environment);
  std::string output;
  ASSERT_TRUE(WaitUntil([&] {
    return Cli("survey --channels", &output) == 0 && output.find("Vault") != std::string::npos;
  })) << output;
  EXPECT_EQ("11", Field(output, "Least crowded channel")) << output;
  const auto lines = Lines(output);
  ASSERT_EQ(16u, lines.size()) << output;  // header, channels 1 to 14, the answer
  EXPECT_EQ(0u, lines[14].find("14       -")) << output;
}

TEST_F(CliUnderWine, AProfileGoesThroughAFileAndABrokenFileStoresNothing) {
  ASSERT_TRUE(store_.Save(Office(), false));
  std::string output;
  ASSERT_EQ(0u, Cli("export Office office.txt", &output)) << output;
  ASSERT_EQ(0u, Cli("import office.txt --as Copy", &output)) << output;
  Profile copy;
  ASSERT_TRUE(store_.Find("Copy", &copy));
  Profile expected = Office();
  expected.name = "Copy";
  EXPECT_EQ(expected, copy);

  const std::string good = ReadText(folder_ + "office.txt");
  auto broken = [&](const std::string& from, const std::string& to) {
    std::string text = good;
    const std::size_t at = text.find(from);
    EXPECT_NE(std::string::npos, at) << from;
    if (at != std::string::npos) text.replace(at, from.size(), to);
    return text;
  };
  // The line numbers of the shipped layout: six comment lines, format, name, ssid, then the
  // fields in order.
  const struct {
    std::string text;
    const char* line;
  } cases[] = {
      {broken("\nchannel = 6", "\nchannel = 15"), "line 11:"},
      {broken("key2 = A1B2C3D4E5", "key2 = A1B2C3D4E"), "line 24:"},
      {broken("\nrate = 4", "\n"), "line 27:"},
  };
  std::vector<std::string> before;
  ASSERT_TRUE(store_.Names(&before));
  for (const auto& c : cases) {
    WriteText(folder_ + "broken.txt", c.text);
    EXPECT_EQ(5u, Cli("import broken.txt --as Broken", &output)) << output;
    EXPECT_NE(std::string::npos, output.find(c.line)) << output;
    std::vector<std::string> after;
    ASSERT_TRUE(store_.Names(&after));
    EXPECT_EQ(before, after);
  }
}

TEST_F(CliUnderWine, ApplySwitchesTheRunningProgram) {
  ASSERT_TRUE(store_.Save(Office(), false));
  HWND main = StartProgram();
  ASSERT_NE(nullptr, main);
  // The dialog's profile selector names the program's profile in use, the same name its menu
  // checks (a menu of another process cannot be read under Wine).
  HWND dialog = OpenDialog();
  ASSERT_NE(nullptr, dialog);
  HWND selector = GetDlgItem(dialog, 1085);
  ASSERT_TRUE(WaitUntil([&] { return TextOf(selector).find("Default") == 0; }))
      << TextOf(selector);

  std::string output;
  ASSERT_EQ(0u, Cli("apply office", &output)) << output;
  EXPECT_NE(std::string::npos, output.find("Linkscope switched")) << output;
  EXPECT_EQ("Office", UserValue(kProfiles, "LastProfile"));
  EXPECT_TRUE(WaitUntil([&] { return TextOf(selector) == "Office"; })) << TextOf(selector);
  CloseDialog();
}

TEST_F(CliUnderWine, SetChangesTheCardAndTheRunningProgramFollows) {
  ASSERT_TRUE(store_.Save(Office(), false));
  HWND main = StartProgram();
  ASSERT_NE(nullptr, main);
  std::string output;
  ASSERT_EQ(0u, Cli("apply Office", &output)) << output;

  ASSERT_EQ(0u, Cli("set --ssid Quay", &output)) << output;
  EXPECT_EQ("Quay", DriverValue("ESSID"));
  EXPECT_EQ("1", DriverValue("EncryptionLevel")) << "the WEP values stay as Office wrote them";
  // A companion started afresh is a second program on the card: its driver comes up on Quay.
  ASSERT_EQ(0u, Cli("status", &output)) << output;
  EXPECT_EQ("Quay", Field(output, "SSID")) << output;

  // Every program runs its own simulated driver. The card is pulled and plugged in again, so
  // that the running program's driver, like the one card of a real machine, holds what the
  // companion set; the program closes no dialog and compares nothing on the way (none is open).
  WriteText(environment_, Environment(80, false) + "\n");
  ASSERT_TRUE(WaitForTrayIcon(main, false, kPatienceMs));
  WriteText(environment_, Environment(80) + "\n");
  ASSERT_TRUE(WaitForTrayIcon(main, true, kPatienceMs));
  HWND dialog = OpenDialog();
  ASSERT_NE(nullptr, dialog);
  HWND status = ShowTab(dialog, 0, 1018);
  ASSERT_NE(nullptr, status);
  EXPECT_TRUE(WaitUntil([&] { return TextOf(GetDlgItem(status, 1009)) == "Quay"; }))
      << TextOf(GetDlgItem(status, 1009));
  HWND selector = GetDlgItem(dialog, 1085);
  EXPECT_EQ("Office", TextOf(selector)) << "nothing has told the program yet";

  // Told after this set, the program compares the adapter with Office: no longer the same.
  ASSERT_EQ(0u, Cli("set --wep 64 --key1 0a1b2c3d4e --default-key 1", &output)) << output;
  EXPECT_EQ("0A1B2C3D4E", DriverValue("WEP_KEY_1"));
  EXPECT_EQ("A1B2C3D4E5", DriverValue("WEP_KEY_2")) << "a key not named keeps the adapter's";
  EXPECT_EQ("0", DriverValue("WEP_KEY_INDEX"));
  EXPECT_TRUE(WaitUntil([&] { return TextOf(selector) == "Office*"; })) << TextOf(selector);

  // A refused value changes nothing and tells nobody.
  EXPECT_EQ(1u, Cli("set --key1 0A1B2C3D4G", &output)) << output;
  EXPECT_NE(std::string::npos, output.find("Invalid WEP Key")) << output;
  EXPECT_EQ("0A1B2C3D4E", DriverValue("WEP_KEY_1"));

  CloseDialog();
  PostMessageA(main, WM_CLOSE, 0, 0);
  HWND question = WaitForWindow("Save changes?", kPatienceMs);
  EXPECT_NE(nullptr, question) << "leaving asks whether to save the changed profile";
  if (question != nullptr) PostMessageA(question, WM_COMMAND, IDNO, 0);
}

TEST_F(CliUnderWine, WatchLogsTheSignalAsTheEnvironmentChanges) {
  // Rows every 2 s; the companion's own driver associates within the first two.
  SECURITY_ATTRIBUTES sa{sizeof sa, nullptr, TRUE};
  const std::string outPath = folder_ + "watch-output.txt";
  HANDLE out = CreateFileA(outPath.c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, &sa,
                           CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  ASSERT_NE(INVALID_HANDLE_VALUE, out);
  STARTUPINFOA si{};
  si.cb = sizeof si;
  si.dwFlags = STARTF_USESTDHANDLES;
  si.hStdOutput = out;
  si.hStdError = out;
  PROCESS_INFORMATION pi{};
  std::string line = Quote(folder_ + "linkscope-cli.exe") +
                     " watch --interval 2000 --count 5 --csv watch.csv";
  std::vector<char> command(line.begin(), line.end());
  command.push_back('\0');
  DeleteFileA((folder_ + "watch.csv").c_str());
  ASSERT_TRUE(CreateProcessA(nullptr, command.data(), nullptr, nullptr, TRUE, CREATE_NO_WINDOW,
                             nullptr, folder_.c_str(), &si, &pi));
  CloseHandle(out);
  CloseHandle(pi.hThread);
  Process watch{pi.hProcess, pi.dwProcessId};

  // Once a row shows the link, the access point moves away.
  auto rows = [&] {
    auto lines = Lines(ReadText(folder_ + "watch.csv"));
    if (!lines.empty()) lines.erase(lines.begin());
    return lines;
  };
  auto associatedRows = [&] {
    int n = 0;
    for (const auto& r : rows()) n += Cells(r).size() > 5 && Cells(r)[1] == "5" ? 1 : 0;
    return n;
  };
  ASSERT_TRUE(WaitUntil([&] { return associatedRows() >= 1; }));
  const std::size_t rowsBeforeEdit = rows().size();
  WriteText(folder_ + "W32N50-environment.json", Environment(30) + "\n");

  DWORD code = 999;
  ASSERT_TRUE(WaitForExit(watch, kPatienceMs, &code));
  Close(&watch);
  EXPECT_EQ(0u, code) << ReadText(outPath);

  const auto lines = Lines(ReadText(folder_ + "watch.csv"));
  ASSERT_EQ(6u, lines.size()) << ReadText(folder_ + "watch.csv");
  EXPECT_EQ("time,state,status,bssid,channel,signal_percent,link_quality_percent,"
            "tx_data_frames,rx_data_frames",
            lines[0]);
  ASSERT_LT(rowsBeforeEdit, 5u) << "the edit came after the last row";
  const auto before = Cells(lines[rowsBeforeEdit]);
  const auto last = Cells(lines[5]);
  ASSERT_EQ(9u, before.size()) << lines[rowsBeforeEdit];
  ASSERT_EQ(9u, last.size()) << lines[5];
  EXPECT_EQ("00-40-96-A1-00-01", before[3]);
  EXPECT_EQ("6", before[4]);
  EXPECT_GT(std::atoi(before[5].c_str()), 60) << lines[rowsBeforeEdit];
  EXPECT_LT(std::atoi(last[5].c_str()), 45) << lines[5];
  EXPECT_FALSE(last[5].empty()) << lines[5];
}

}  // namespace
}  // namespace linkscope::testing
