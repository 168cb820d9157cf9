// The real program on the simulated adapter under Wine: its tray icon appears once the card is
// found, goes when the card is pulled out through the environment file, and comes back when
// it is put in again.

#include <gtest/gtest.h>
#include <windows.h>

#include <string>

#include "win32/ProcessHelpers.h"
#include "win32/UiDriver.h"

namespace linkscope::testing {
namespace {

const char* kEnvironment = R"json({"adapters": [{
  "displayName": "ORVEX PCI Skyrelay", "serviceName": "SKYTRAY",
  "instanceId": "{5A1D0000-0000-4000-8000-0000000070A1}",
  "cardType": 21, "mac": "00-60-1D-00-70-A1", "present": %PRESENT%,
  "parameters": {"ESSID": "Harbour", "Channel": 6}}],
  "networks": [{"bssid": "00-40-96-A1-00-01", "ssid": "Harbour", "channel": 6, "signal": 80}]})json";

std::string Environment(bool present) {
  std::string text = kEnvironment;
  text.replace(text.find("%PRESENT%"), 9, present ? "true" : "false");
  return text;
}

TEST(TrayUnderWine, IconFollowsTheSimulatedCard) {
  const std::string folder = ProgramCopy(
      "tray_e2e", {"linkscope.exe", "W32N50.dll", "adapterinstall.exe", "res\\Wlan.ini"});
  ASSERT_FALSE(folder.empty());
  const std::string environment = folder + "W32N50-environment.json";
  WriteText(environment, Environment(true));
  std::string output;
  ASSERT_EQ(0u, RunCommand(Quote(folder + "adapterinstall.exe") + " install " + Quote(environment),
                           folder, &output))
      << output;

  Process program;
  ASSERT_TRUE(Start(folder + "linkscope.exe", folder, &program));
  HWND main = WaitForWindow("Linkscope Utility", 30000);
  ASSERT_NE(nullptr, main);
  EXPECT_TRUE(WaitForTrayIcon(main, true, 30000)) << "the icon never came";

  WriteText(environment, Environment(false));
  EXPECT_TRUE(WaitForTrayIcon(main, false, 30000)) << "the icon stayed after the card went";

  WriteText(environment, Environment(true));
  EXPECT_TRUE(WaitForTrayIcon(main, true, 30000)) << "the icon did not come back with the card";

  // The adapter does not match the built-in profile, so leaving asks whether to save: No.
  PostMessageA(main, WM_CLOSE, 0, 0);
  HWND question = WaitForWindow("Save changes?", 30000);
  ASSERT_NE(nullptr, question);
  PostMessageA(question, WM_COMMAND, IDNO, 0);
  DWORD code = 0;
  EXPECT_TRUE(WaitForExit(program, 30000, &code));
  EXPECT_FALSE(TrayIconPresent(main));
  Close(&program);
  RunCommand(Quote(folder + "adapterinstall.exe") + " remove", folder, &output);
}

}  // namespace
}  // namespace linkscope::testing
