// The Info page of the real program under Wine: the simulated card's versions and MAC address
// from the environment file, the program's own version and the shipped logo.

#include <gtest/gtest.h>
#include <windows.h>

#include <string>

#include "win32/ProcessHelpers.h"
#include "win32/UiDriver.h"

namespace linkscope::testing {
namespace {

const char* kEnvironment = R"json({"adapters": [{
  "displayName": "ORVEX PCI Skyrelay", "serviceName": "SKYINFO",
  "cardType": 21, "mac": "00-60-1D-7B-0C-E4",
  "driverVersion": [2, 14, 0, 4660], "firmwareVersion": [1, 0, 2, 7]}],
  "networks": []})json";

std::string TextOf(HWND page, int id) {
  char buffer[128] = {};
  GetDlgItemTextA(page, id, buffer, sizeof buffer);
  return buffer;
}

TEST(InfoPageUnderWine, ShowsTheCardsVersionsAndAddressTheProgramsVersionAndTheLogo) {
  const std::string folder =
      ProgramCopy("info_e2e", {"linkscope.exe", "W32N50.dll", "adapterinstall.exe",
                               "res\\Wlan.ini", "res\\linkscope-logo.bmp"});
  ASSERT_FALSE(folder.empty());
  WriteText(folder + "W32N50-environment.json", kEnvironment);
  for (const char* exe : {"linkscope.exe", "adapterinstall.exe"}) {
    ASSERT_TRUE(SetWineVersion(exe, "winxp"));
  }
  std::string output;
  ASSERT_EQ(0u, RunCommand(Quote(folder + "adapterinstall.exe") + " install W32N50-environment.json",
                           folder, &output))
      << output;

  Process program;
  ASSERT_TRUE(Start(folder + "linkscope.exe", folder, &program));
  HWND main = WaitForWindow("Linkscope Utility", kPatienceMs);
  ASSERT_NE(nullptr, main);
  ASSERT_TRUE(WaitForTrayIcon(main, kPatienceMs));
  // About, the third item from the end, opens the dialog on the Info page.
  ASSERT_TRUE(ChooseFromTrayMenu(main, {VK_UP, VK_UP, VK_RETURN}));
  HWND dialog = WaitForSettingsDialog(main, kPatienceMs);
  ASSERT_NE(nullptr, dialog);
  HWND page = nullptr;
  EXPECT_TRUE(WaitUntil([&] {
    page = FindWindowExA(dialog, nullptr, "#32770", nullptr);
    return page != nullptr && IsWindowVisible(page) && !TextOf(page, 1070).empty();
  }));
  ASSERT_NE(nullptr, page);
  EXPECT_EQ("Driver Version", TextOf(page, 1063));
  EXPECT_EQ("2.14.0.4660", TextOf(page, 1066));
  EXPECT_EQ("1.0.2.7", TextOf(page, 1067));
  EXPECT_EQ("3.3.4.40", TextOf(page, 1068));
  EXPECT_EQ("00-60-1D-7B-0C-E4", TextOf(page, 1070));
  EXPECT_NE(0, SendDlgItemMessageA(page, 1000, STM_GETIMAGE, IMAGE_BITMAP, 0)) << "the logo";

  PostMessageA(dialog, WM_COMMAND, IDCANCEL, 0);
  EXPECT_TRUE(WaitForWindowGone(dialog, kPatienceMs));
  Close(&program);
  RunCommand(Quote(folder + "adapterinstall.exe") + " remove", folder, &output);
  for (const char* exe : {"linkscope.exe", "adapterinstall.exe"}) ClearWineVersion(exe);
}

}  // namespace
}  // namespace linkscope::testing
