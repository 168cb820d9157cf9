// The real program on a simulated card under Wine, in the situations that used to leave it
// without its icon, with a dialog still usable under its own message, with two of it running,
// or with a tray menu that stayed open.

#include <gtest/gtest.h>
#include <windows.h>

#include <string>

#include "app/CLinkscopeApp.h"
#include "win32/ProcessHelpers.h"
#include "win32/SimulatedCardProgram.h"
#include "win32/UiDriver.h"

namespace linkscope::testing {
namespace {

constexpr const char* kSettings = "Software\\ORVEX\\Linkscope\\Settings";

// The card is present or not; `faults` is the adapter's list of failing requests; without
// its network the card never associates.
std::string Environment(bool present, const std::string& faults = "", bool network = true) {
  return std::string(R"json({"adapters": [{
  "displayName": "ORVEX PCI Skyrelay", "serviceName": "SKYLIFE",
  "instanceId": "{5A1D0000-0000-4000-8000-00000000A11F}",
  "cardType": 21, "mac": "00-60-1D-00-A1-1F", "allSettings": false, "present": )json") +
         (present ? "true" : "false") + R"json(, "faults": [)json" + faults + R"json(],
  "parameters": {"ESSID": "Harbour", "Channel": 6}}],
  "networks": [)json" +
         (network ? R"json({"bssid": "00-40-96-A1-00-01", "ssid": "Harbour", "channel": 6, "signal": 80})json"
                  : "") +
         "]}";
}

class ProgramUnderWine : public SimulatedCardProgram {
 protected:
  // Windows as the prefix has it: these paths do not depend on the version.
  void SetUp() override {
    ASSERT_NO_FATAL_FAILURE(Install("program_e2e", Environment(true), nullptr));
  }
  void TearDown() override {
    Close(&second_);
    SimulatedCardProgram::TearDown();
  }

  Process second_;
};

// The dialog's adapter list drops down while discovery finds no card (its driver's entries
// are gone from the registry; the open card still answers): the list is empty, the tick takes
// the icon away and closes the dialog. The icon must come back once the card is found again,
// also when it shows the same state as before (out of range, the not-OK icon).
TEST_F(ProgramUnderWine, IconComesBackAfterTheDialogsDropDownFoundNoCard) {
  WriteText(environment_, Environment(true, "", false));
  HWND main = StartProgram();
  ASSERT_NE(nullptr, main);
  SendTrayMouse(main, WM_LBUTTONDBLCLK);
  HWND dialog = WaitForSettingsDialog(main, 20000);
  ASSERT_NE(nullptr, dialog);

  std::string output;
  ASSERT_EQ(0u, RunCommand(Quote(folder_ + "adapterinstall.exe") + " remove", folder_, &output))
      << output;
  HWND adapters = GetDlgItem(dialog, 1001);
  ASSERT_NE(nullptr, adapters);
  PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(1001, CBN_DROPDOWN),
               reinterpret_cast<LPARAM>(adapters));
  EXPECT_TRUE(WaitForWindowGone(dialog, 30000)) << "the tick closes the dialog";
  EXPECT_TRUE(WaitForTrayIcon(main, false, 30000)) << "the tick takes the icon away";

  ASSERT_EQ(0u, RunCommand(Quote(folder_ + "adapterinstall.exe") + " install " +
                               Quote(environment_),
                           folder_, &output))
      << output;
  EXPECT_TRUE(WaitForTrayIcon(main, true, 30000)) << "the icon did not come back with the card";
}

// A message raised by the dialog belongs to it: the dialog takes no input until the message
// is answered.
TEST_F(ProgramUnderWine, AMessageFromTheDialogKeepsTheDialogFromInput) {
  Profile office = CLinkscopeApp::DefaultProfile();
  office.name = "Office";
  ASSERT_TRUE(StoreProfile(office));
  HWND main = StartProgram();
  ASSERT_NE(nullptr, main);
  SendTrayMouse(main, WM_LBUTTONDBLCLK);
  HWND dialog = WaitForSettingsDialog(main, 20000);
  ASSERT_NE(nullptr, dialog);

  // The driver refuses the configuration from now on: switching to Office fails with a
  // message.
  WriteText(environment_, Environment(true, R"({"oid": "0xFF000002", "fail": 31})"));
  HWND profiles = GetDlgItem(dialog, 1085);
  ASSERT_NE(nullptr, profiles);
  ASSERT_EQ(2, static_cast<int>(SendMessageA(profiles, CB_GETCOUNT, 0, 0)));
  SendMessageA(profiles, CB_SETCURSEL, 1, 0);
  PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(1085, CBN_SELCHANGE),
               reinterpret_cast<LPARAM>(profiles));
  HWND box = WaitForWindow("Linkscope", 30000);
  ASSERT_NE(nullptr, box) << "no message";
  EXPECT_EQ(dialog, GetWindow(box, GW_OWNER));
  EXPECT_FALSE(IsWindowEnabled(dialog)) << "the dialog takes input under its message";

  PostMessageA(box, WM_COMMAND, IDOK, 0);
  EXPECT_TRUE(WaitForWindowGone(box, 20000));
  EXPECT_TRUE(IsWindowEnabled(dialog));
  PostMessageA(dialog, WM_COMMAND, IDCANCEL, 0);
  EXPECT_TRUE(WaitForWindowGone(dialog, 20000));
}

// After a language change a second start reads the new language, looks for the title in it,
// and must find the running program.
TEST_F(ProgramUnderWine, AfterALanguageChangeASecondStartFindsTheProgram) {
  HWND main = StartProgram();
  ASSERT_NE(nullptr, main);
  // Language, into its submenu (English), down to Deutsch.
  ASSERT_TRUE(ChooseFromTrayMenu(main, {VK_DOWN, VK_RIGHT, VK_DOWN, VK_RETURN}));
  EXPECT_EQ(main, WaitForWindow("Linkscope-Dienstprogramm", 20000));
  ASSERT_EQ("Deutsch", UserValue(kSettings, "Language"));

  ASSERT_TRUE(Start(folder_ + "linkscope.exe", folder_, &second_));
  DWORD code = 0;
  EXPECT_TRUE(WaitForExit(second_, 30000, &code)) << "a second program runs beside the first";
  EXPECT_EQ(1u, code);
}

// The menu watch: once the cursor is left of or above the point the menu opened at, the menu
// closes.
TEST_F(ProgramUnderWine, TheTrayMenuClosesOnceTheCursorLeavesIt) {
  HWND main = StartProgram();
  ASSERT_NE(nullptr, main);
  ASSERT_TRUE(MoveCursor(700, 500));
  SendTrayMouse(main, WM_RBUTTONUP);
  HWND menu = WaitForPopupMenu(10000);
  ASSERT_NE(nullptr, menu);
  // The watch looks every 7 seconds. The mouse goes on moving away meanwhile, as a hand's does:
  // Wine gives the pointer back its old place while the menu holds it.
  const DWORD start = GetTickCount();
  while (IsWindow(menu) && IsWindowVisible(menu) && GetTickCount() - start < 30000) {
    MoveCursor(100, 100);
    Sleep(100);
  }
  EXPECT_FALSE(IsWindow(menu) && IsWindowVisible(menu)) << "the menu stayed";
  // Closed, the menu can be opened again.
  SendTrayMouse(main, WM_RBUTTONUP);
  menu = WaitForPopupMenu(10000);
  EXPECT_NE(nullptr, menu);
  if (menu != nullptr) PressKeys(menu, {VK_ESCAPE});
}

}  // namespace
}  // namespace linkscope::testing
