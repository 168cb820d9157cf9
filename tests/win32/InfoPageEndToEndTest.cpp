// The Info page of the real program under Wine: the simulated card's versions and MAC address
// from the environment file, the program's own version and the shipped logo.

#include <gtest/gtest.h>
#include <windows.h>

#include <string>

#include "win32/ProcessHelpers.h"
#include "win32/SimulatedCardProgram.h"
#include "win32/UiDriver.h"

namespace linkscope::testing {
namespace {

const char* kEnvironment = R"json({"adapters": [{
  "displayName": "ORVEX PCI Skyrelay", "serviceName": "SKYINFO",
  "cardType": 21, "mac": "00-60-1D-7B-0C-E4",
  "driverVersion": [2, 14, 0, 4660], "firmwareVersion": [1, 0, 2, 7]}],
  "networks": []})json";

using InfoPageUnderWine = SimulatedCardProgram;

TEST_F(InfoPageUnderWine, ShowsTheCardsVersionsAndAddressTheProgramsVersionAndTheLogo) {
  ASSERT_NO_FATAL_FAILURE(
      Install("info_e2e", kEnvironment, "winxp", {"res\\linkscope-logo.bmp"}));
  HWND main = StartProgram();
  ASSERT_NE(nullptr, main);
  // About, the third item from the end, opens the dialog on the Info page.
  ASSERT_TRUE(ChooseFromTrayMenu(main, {VK_UP, VK_UP, VK_RETURN}));
  dialog_ = WaitForSettingsDialog(main, kPatienceMs);
  ASSERT_NE(nullptr, dialog_);
  HWND page = nullptr;
  EXPECT_TRUE(WaitUntil([&] {
    page = FindWindowExA(dialog_, nullptr, "#32770", nullptr);
    return page != nullptr && IsWindowVisible(page) && !TextOf(page, 1070).empty();
  }));
  ASSERT_NE(nullptr, page);
  EXPECT_EQ("&Driver Version", TextOf(page, 1063));
  EXPECT_EQ("2.14.0.4660", TextOf(page, 1066));
  EXPECT_EQ("1.0.2.7", TextOf(page, 1067));
  EXPECT_EQ("3.3.4.40", TextOf(page, 1068));
  EXPECT_EQ("00-60-1D-7B-0C-E4", TextOf(page, 1070));
  EXPECT_NE(0, SendDlgItemMessageA(page, 1000, STM_GETIMAGE, IMAGE_BITMAP, 0)) << "the logo";
  CloseDialog();
}

}  // namespace
}  // namespace linkscope::testing
