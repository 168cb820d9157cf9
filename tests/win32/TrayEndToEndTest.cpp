// The real program on the simulated adapter under Wine: its tray icon appears once the card is
// found, goes when the card is pulled out through the environment file, and comes back when
// it is put in again; its tooltip follows the link and a balloon tells that the link was lost.

#include <gtest/gtest.h>
#include <windows.h>
#include <shellapi.h>

#include <algorithm>
#include <cstdlib>
#include <functional>
#include <sstream>
#include <string>

#include "app/LinkNotifier.h"
#include "win32/ProcessHelpers.h"
#include "win32/SimulatedCardProgram.h"
#include "win32/UiDriver.h"

namespace linkscope::testing {
namespace {

const char* kEnvironment = R"json({"adapters": [{
  "displayName": "ORVEX PCI Skyrelay", "serviceName": "SKYTRAY",
  "instanceId": "{5A1D0000-0000-4000-8000-0000000070A1}",
  "cardType": 21, "mac": "00-60-1D-00-70-A1", "present": %PRESENT%,
  "parameters": {"ESSID": "Harbour", "Channel": 6}}],
  "networks": [%NETWORK%]})json";

// The card in or out, and the access point with its signal (none without a signal).
std::string Environment(bool present, int signal = 80) {
  std::string text = kEnvironment;
  text.replace(text.find("%PRESENT%"), 9, present ? "true" : "false");
  const std::string network =
      signal <= 0 ? "" : R"({"bssid": "00-40-96-A1-00-01", "ssid": "Harbour", "channel": 6, "signal": )" +
                             std::to_string(signal) + "}";
  text.replace(text.find("%NETWORK%"), 9, network);
  return text;
}

// What the program gave the shell, from the log it writes of each record it sends
// (LINKSCOPE_TRAY_LOG): Wine's shell keeps its copy where another process cannot read it.
struct TrayLog {
  std::string text;
  std::string lastTip;  // of the last add or modify the shell accepted
  bool Sent(const std::string& part) const { return text.find(part) != std::string::npos; }
};

TrayLog ReadTrayLog(const std::string& path) {
  TrayLog log;
  log.text = ReadText(path);
  std::istringstream in(log.text);
  std::string line;
  while (std::getline(in, line)) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    const std::size_t tip = line.find(" tip=");
    if (line.rfind("delete", 0) == 0 || line.find(" accepted=1 ") == std::string::npos ||
        tip == std::string::npos) {
      continue;
    }
    const std::size_t title = line.find(" title=", tip);
    log.lastTip = line.substr(tip + 5, title == std::string::npos ? std::string::npos : title - tip - 5);
  }
  return log;
}

// The signal on the tip ("Signal Strength: 78 %"), or -1.
int TipSignal(const std::string& tip) {
  const std::size_t at = tip.find("Signal Strength: ");
  return at == std::string::npos ? -1 : std::atoi(tip.c_str() + at + 17);
}

using TrayUnderWine = SimulatedCardProgram;

TEST_F(TrayUnderWine, IconFollowsTheSimulatedCard) {
  ASSERT_NO_FATAL_FAILURE(Install("tray_e2e", Environment(true), nullptr));
  HWND main = StartProgram();
  ASSERT_NE(nullptr, main) << "the icon never came";

  WriteText(environment_, Environment(false));
  EXPECT_TRUE(WaitForTrayIcon(main, false, kPatienceMs)) << "the icon stayed after the card went";

  WriteText(environment_, Environment(true));
  EXPECT_TRUE(WaitForTrayIcon(main, true, kPatienceMs))
      << "the icon did not come back with the card";

  // The adapter does not match the built-in profile, so leaving asks whether to save: No.
  PostMessageA(main, WM_CLOSE, 0, 0);
  HWND question = WaitForWindow("Save changes?", kPatienceMs);
  ASSERT_NE(nullptr, question);
  PostMessageA(question, WM_COMMAND, IDNO, 0);
  DWORD code = 0;
  EXPECT_TRUE(WaitForExit(program_, kPatienceMs, &code));
  EXPECT_FALSE(TrayIconPresent(main));
}

TEST_F(TrayUnderWine, TooltipFollowsTheLinkAndABalloonTellsOfItsLoss) {
  ASSERT_NO_FATAL_FAILURE(Install("tray_tip", Environment(true), nullptr));
  const std::string logPath = folder_ + "tray-log.txt";
  SetEnvironmentVariableA("LINKSCOPE_TRAY_LOG", logPath.c_str());
  HWND main = StartProgram();
  SetEnvironmentVariableA("LINKSCOPE_TRAY_LOG", nullptr);
  ASSERT_NE(nullptr, main) << "the icon never came";

  TrayLog log;
  auto tipSays = [&](const std::function<bool(const std::string&)>& check) {
    return WaitUntil([&] {
      log = ReadTrayLog(logPath);
      return check(log.lastTip);
    });
  };
  EXPECT_TRUE(tipSays([](const std::string& tip) {
    return tip.rfind("Linkscope\\nAssociated - Harbour\\nSignal Strength: ", 0) == 0 &&
           TipSignal(tip) >= 70;
  })) << log.text;
  EXPECT_TRUE(log.Sent("size=" + std::to_string(NOTIFYICONDATAA_V2_SIZE) + " "))
      << "the record with the long tip";

  WriteText(environment_, Environment(true, 30));
  EXPECT_TRUE(tipSays([](const std::string& tip) {
    const int signal = TipSignal(tip);
    return signal >= 20 && signal <= 40;
  })) << log.text;

  // The access point goes after the start's quiet: the tip says why there is no link, and a
  // balloon says it is lost once the loss has lasted.
  Sleep(LinkNotifier::kStartQuietMs);
  WriteText(environment_, Environment(true, 0));
  EXPECT_TRUE(tipSays([](const std::string& tip) {
    return tip.rfind("Linkscope\\n", 0) == 0 && tip.find("Associated") == std::string::npos &&
           tip.find("Signal") == std::string::npos;
  })) << log.text;
  EXPECT_TRUE(WaitUntil([&] {
    log = ReadTrayLog(logPath);
    return log.Sent("title=Link lost info=Disconnected from Harbour");
  })) << log.text;
  // The card goes on looking for the access point: the tip stays as it is.
  const std::size_t calls = std::count(log.text.begin(), log.text.end(), '\n');
  Sleep(3000);
  log = ReadTrayLog(logPath);
  EXPECT_EQ(calls, std::count(log.text.begin(), log.text.end(), '\n')) << log.text;

  PostMessageA(main, WM_CLOSE, 0, 0);
  HWND question = WaitForWindow("Save changes?", kPatienceMs);
  ASSERT_NE(nullptr, question);
  PostMessageA(question, WM_COMMAND, IDNO, 0);
  DWORD code = 0;
  EXPECT_TRUE(WaitForExit(program_, kPatienceMs, &code));
}

}  // namespace
}  // namespace linkscope::testing
