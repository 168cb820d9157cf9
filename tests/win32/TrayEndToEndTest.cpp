// The real program on the simulated adapter under Wine: its tray icon appears once the card is
// found, goes when the card is pulled out through the environment file, and comes back when
// it is put in again.

#include <gtest/gtest.h>
#include <windows.h>

#include <string>

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
  "networks": [{"bssid": "00-40-96-A1-00-01", "ssid": "Harbour", "channel": 6, "signal": 80}]})json";

std::string Environment(bool present) {
  std::string text = kEnvironment;
  text.replace(text.find("%PRESENT%"), 9, present ? "true" : "false");
  return text;
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

}  // namespace
}  // namespace linkscope::testing
