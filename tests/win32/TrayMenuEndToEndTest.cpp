// The tray menu of the real program under Wine, used with the keyboard as a person would:
// always on top is stored only at exit, Exit asks to save a changed profile and Enter answers
// No, and choosing a profile applies it to the simulated adapter.

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
constexpr const char* kProfiles = "Software\\ORVEX\\Linkscope\\Profiles";

const char* kEnvironment = R"json({"adapters": [{
  "displayName": "ORVEX PCI Skyrelay", "serviceName": "SKYMENU",
  "instanceId": "{5A1D0000-0000-4000-8000-00000000BE17}",
  "cardType": 21, "mac": "00-60-1D-00-BE-17",
  "parameters": {"ESSID": "Harbour", "Channel": 6}}],
  "networks": [{"bssid": "00-40-96-A1-00-01", "ssid": "Harbour", "channel": 6, "signal": 80}]})json";

class TrayMenuUnderWine : public SimulatedCardProgram {
 protected:
  // Windows 2000 keeps the driver parameters the program writes.
  void SetUp() override {
    ASSERT_NO_FATAL_FAILURE(Install("menu_e2e", kEnvironment, "win2k", {"profileprobe.exe"}));
  }
};

TEST_F(TrayMenuUnderWine, AlwaysOnTopIsStoredAtExitAndTheSaveQuestionDefaultsToNo) {
  Process program;
  HWND main = StartProgram(&program);
  ASSERT_NE(nullptr, main);
  // Language, Active Profile, Always on top (the separators are skipped).
  ASSERT_TRUE(ChooseFromTrayMenu(main, {VK_DOWN, VK_DOWN, VK_DOWN, VK_RETURN}));
  EXPECT_EQ("<missing>", UserValue(kSettings, "AlwaysOnTop")) << "stored at the toggle";

  // Exit is the last item. The adapter does not match the built-in profile: the question.
  ASSERT_TRUE(ChooseFromTrayMenu(main, {VK_UP, VK_RETURN}));
  HWND question = WaitForWindow("Save changes?", kPatienceMs);
  ASSERT_NE(nullptr, question);
  PressKeys(question, {VK_RETURN});
  DWORD code = 1;
  EXPECT_TRUE(WaitForExit(program, 30000, &code));
  EXPECT_EQ(0u, code);
  Close(&program);

  EXPECT_EQ("0", UserValue(kSettings, "AlwaysOnTop"));
  EXPECT_EQ("English", UserValue(kSettings, "Language"));
  EXPECT_EQ("Default", UserValue(kProfiles, "LastProfile"));
  // No was the answer: the built-in profile keeps its settings.
  EXPECT_EQ("10", UserValue(std::string(kProfiles) + "\\Default", "channel"));
  EXPECT_EQ("", UserValue(std::string(kProfiles) + "\\Default", "ssid"));
}

TEST_F(TrayMenuUnderWine, ChoosingAProfileAppliesItToTheAdapter) {
  // A second profile beside the built-in one, listed after it.
  Profile office = CLinkscopeApp::DefaultProfile();
  office.name = "Office";
  office.ssid = "Harbour";
  office.channel = 6;
  office.rts = 700;
  ASSERT_TRUE(StoreProfile(office));

  Process program;
  HWND main = StartProgram(&program);
  ASSERT_NE(nullptr, main);
  // Active Profile, into its submenu (Default), down to Office.
  ASSERT_TRUE(ChooseFromTrayMenu(main, {VK_DOWN, VK_DOWN, VK_RIGHT, VK_DOWN, VK_RETURN}));
  WaitUntil([] { return UserValue(kProfiles, "LastProfile") == "Office"; });
  EXPECT_EQ("Office", UserValue(kProfiles, "LastProfile"));

  // A driver started afresh (another process) comes up with the profile's settings.
  std::string output;
  ASSERT_EQ(0u, RunCommand(Quote(folder_ + "profileprobe.exe") + " read state.txt 0 0", folder_,
                           &output))
      << output;
  EXPECT_EQ("rts=700 ssid=Harbour", ReadText(folder_ + "state.txt"));

  // The adapter matches the profile now: leaving asks nothing.
  ASSERT_TRUE(ChooseFromTrayMenu(main, {VK_UP, VK_RETURN}));
  DWORD code = 1;
  EXPECT_TRUE(WaitForExit(program, 30000, &code));
  EXPECT_EQ(nullptr, WaitForWindow("Save changes?", 0));
  Close(&program);
}

}  // namespace
}  // namespace linkscope::testing

namespace linkscope::testing {
namespace {

TEST_F(TrayMenuUnderWine, TheLanguageSubmenuListsTheShippedLanguages) {
  Process program;
  HWND main = StartProgram(&program);
  ASSERT_NE(nullptr, main);
  // Language, into its submenu (English), down to the second language of the shipped file.
  ASSERT_TRUE(ChooseFromTrayMenu(main, {VK_DOWN, VK_RIGHT, VK_DOWN, VK_RETURN}));
  WaitUntil([] { return UserValue(kSettings, "Language") != "<missing>"; });
  EXPECT_EQ("Deutsch", UserValue(kSettings, "Language"));
  EXPECT_EQ("1", UserValue(kSettings, "AlwaysOnTop"));  // both are stored on a language change
  Close(&program);
}

TEST_F(TrayMenuUnderWine, DoubleClickOpensTheDialogAndEscapeClosesIt) {
  Process program;
  HWND main = StartProgram(&program);
  ASSERT_NE(nullptr, main);
  SendTrayMouse(main, WM_LBUTTONDBLCLK);
  HWND dialog = WaitForSettingsDialog(main, kPatienceMs);
  ASSERT_NE(nullptr, dialog);
  HWND tabs = GetDlgItem(dialog, 1003);
  ASSERT_NE(nullptr, tabs);
  EXPECT_EQ(7, static_cast<int>(SendMessageA(tabs, 0x1304 /* TCM_GETITEMCOUNT */, 0, 0)));
  EXPECT_EQ(0, static_cast<int>(SendMessageA(tabs, 0x130B /* TCM_GETCURSEL */, 0, 0)));
  char exit[32] = {};
  GetWindowTextA(GetDlgItem(dialog, IDCANCEL), exit, sizeof exit);
  EXPECT_STREQ("E&xit", exit);

  // The arrow key on the tab control moves to the next tab, and its page replaces the first.
  HWND statusPage = FindWindowExA(dialog, nullptr, "#32770", nullptr);
  ASSERT_NE(nullptr, statusPage);
  PressKeys(tabs, {VK_RIGHT});
  EXPECT_TRUE(WaitUntil([tabs] { return SendMessageA(tabs, 0x130B, 0, 0) == 1; }));
  EXPECT_TRUE(WaitForWindowGone(statusPage, kPatienceMs));
  HWND statisticsPage = FindWindowExA(dialog, nullptr, "#32770", nullptr);
  EXPECT_NE(nullptr, statisticsPage);
  EXPECT_TRUE(IsWindowVisible(statisticsPage));

  PressKeys(dialog, {VK_ESCAPE});
  EXPECT_TRUE(WaitForWindowGone(dialog, kPatienceMs));
  DWORD code = 0;
  EXPECT_FALSE(WaitForExit(program, 500, &code)) << "the program stays in the tray";

  // About opens it on the Info page.
  ASSERT_TRUE(ChooseFromTrayMenu(main, {VK_UP, VK_UP, VK_RETURN}));
  dialog = WaitForSettingsDialog(main, kPatienceMs);
  ASSERT_NE(nullptr, dialog);
  EXPECT_EQ(6, static_cast<int>(SendMessageA(GetDlgItem(dialog, 1003), 0x130B, 0, 0)));
  PostMessageA(dialog, WM_COMMAND, IDCANCEL, 0);
  EXPECT_TRUE(WaitForWindowGone(dialog, kPatienceMs));
  Close(&program);
}

}  // namespace
}  // namespace linkscope::testing
