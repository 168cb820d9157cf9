// The Encryption and Profiles pages of the real program under Wine, used as a person would:
// a WEP key typed on the Encryption page lets the card join a shared-key network (a wrong one
// ends in the management error), and a profile is created, renamed, switched to from the tray,
// saved over and deleted, each step visible under the profiles key.

#include <gtest/gtest.h>
#include <windows.h>

#include <functional>
#include <string>

#include "win32/ProcessHelpers.h"
#include "win32/UiDriver.h"

namespace linkscope::testing {
namespace {

constexpr const char* kProfiles = "Software\\ORVEX\\Linkscope\\Profiles";

// The card is set to join Lighthouse, a 64-bit WEP network that authenticates by shared key.
const char* kEnvironment = R"json({"adapters": [{
  "displayName": "ORVEX PCI Skyrelay", "serviceName": "SKYWEP",
  "instanceId": "{5A1D0000-0000-4000-8000-00000000BE18}",
  "cardType": 21, "mac": "00-60-1D-00-BE-18",
  "parameters": {"ESSID": "Lighthouse", "Channel": 6}}],
  "networks": [{"bssid": "00-40-96-B2-00-01", "ssid": "Lighthouse", "channel": 6, "signal": 64,
                "wep": {"key": "1A2B3C4D5E", "authentication": "shared"}}]})json";

constexpr int kTabs = 1003;
constexpr int kLevel = 1081;
constexpr int kKey1 = 1035;
constexpr int kAuthentication = 1048;
constexpr int kSubmit = 1019;
constexpr int kNew = 1087;
constexpr int kSave = 1088;
constexpr int kDelete = 1089;
constexpr int kRename = 1091;
constexpr int kName = 1092;
constexpr int kConfirm = 1094;
constexpr int kList = 1086;

bool WaitFor(const std::function<bool()>& condition, DWORD ms = 20000) {
  const DWORD start = GetTickCount();
  while (!condition()) {
    if (GetTickCount() - start > ms) return false;
    Sleep(100);
  }
  return true;
}

class WepAndProfilesUnderWine : public ::testing::Test {
 protected:
  void SetUp() override {
    folder_ = ProgramCopy("wep_e2e", {"linkscope.exe", "W32N50.dll", "adapterinstall.exe",
                                      "profileprobe.exe", "res\\Wlan.ini"});
    ASSERT_FALSE(folder_.empty());
    WriteText(folder_ + "W32N50-environment.json", kEnvironment);
    for (const char* exe : {"linkscope.exe", "adapterinstall.exe", "profileprobe.exe"}) {
      ASSERT_TRUE(SetWineVersion(exe, "win2k"));
    }
    std::string output;
    ASSERT_EQ(0u, RunCommand(Quote(folder_ + "adapterinstall.exe") +
                                 " install W32N50-environment.json",
                             folder_, &output))
        << output;
    RegDeleteTreeA(HKEY_CURRENT_USER, "Software\\ORVEX\\Linkscope");
    ASSERT_TRUE(Start(folder_ + "linkscope.exe", folder_, &program_));
    main_ = WaitForWindow("Linkscope Utility", 30000);
    ASSERT_NE(nullptr, main_);
    // The first ticks find the adapter, select it and remember the profile in use.
    ASSERT_TRUE(WaitFor([] { return UserValue(kProfiles, "LastProfile") == "Default"; }, 30000));
  }
  void TearDown() override {
    if (dialog_ != nullptr) PostMessageA(dialog_, WM_COMMAND, IDCANCEL, 0);
    Close(&program_);
    std::string output;
    RunCommand(Quote(folder_ + "adapterinstall.exe") + " remove", folder_, &output);
    for (const char* exe : {"linkscope.exe", "adapterinstall.exe", "profileprobe.exe"}) {
      ClearWineVersion(exe);
    }
  }

  // Double-clicks the tray icon until the dialog is there (the first ticks find the adapter).
  HWND OpenDialog() {
    dialog_ = nullptr;
    WaitFor([&] {
      SendTrayMouse(main_, WM_LBUTTONDBLCLK);
      dialog_ = WaitForSettingsDialog(main_, 1000);
      return dialog_ != nullptr;
    }, 30000);
    return dialog_;
  }
  void CloseDialog() {
    HWND dialog = dialog_;
    PostMessageA(dialog, WM_COMMAND, IDCANCEL, 0);
    EXPECT_TRUE(WaitForWindowGone(dialog, 20000)) << Windows();
    dialog_ = nullptr;
  }
  // Moves to tab `index` with the arrow keys and returns its page once it has the control
  // `marker`.
  HWND ShowTab(int index, int marker) {
    HWND tabs = GetDlgItem(dialog_, kTabs);
    const int current = static_cast<int>(SendMessageA(tabs, 0x130B /* TCM_GETCURSEL */, 0, 0));
    for (int i = current; i < index; ++i) PressKeys(tabs, {VK_RIGHT});
    for (int i = current; i > index; --i) PressKeys(tabs, {VK_LEFT});
    EXPECT_EQ(index, static_cast<int>(SendMessageA(tabs, 0x130B, 0, 0))) << Windows();
    HWND page = nullptr;
    WaitFor([&] {
      // The Profiles page lives in the tab control, the others beside it.
      for (HWND parent : {dialog_, tabs}) {
        HWND candidate = nullptr;
        while ((candidate = FindWindowExA(parent, candidate, "#32770", nullptr)) != nullptr) {
          if (GetDlgItem(candidate, marker) != nullptr && IsWindowVisible(candidate)) {
            page = candidate;
            return true;
          }
        }
      }
      return false;
    });
    EXPECT_NE(nullptr, page) << "tab " << index << "; windows: " << Windows();
    return page;
  }
  // Types into an edit box as the keyboard would, replacing what it holds.
  static void Type(HWND page, int id, const std::string& text) {
    HWND edit = GetDlgItem(page, id);
    SendMessageA(edit, EM_SETSEL, 0, -1);
    for (char c : text) SendMessageA(edit, WM_CHAR, static_cast<unsigned char>(c), 0);
  }
  static std::string TextOf(HWND page, int id) {
    // WM_GETTEXT reaches into the other process; GetWindowText would not for an edit box.
    char text[256] = {};
    SendMessageA(GetDlgItem(page, id), WM_GETTEXT, sizeof text, reinterpret_cast<LPARAM>(text));
    return text;
  }
  // Picks an entry of a drop-down list: the selection changes and the page hears of it.
  static void Choose(HWND page, int id, int index) {
    HWND combo = GetDlgItem(page, id);
    SendMessageA(combo, CB_SETCURSEL, index, 0);
    SendMessageA(page, WM_COMMAND, MAKEWPARAM(id, CBN_SELCHANGE), reinterpret_cast<LPARAM>(combo));
  }
  // The visible top-level windows' titles, for a failure's message.
  static std::string Windows() {
    std::string titles;
    EnumWindows(
        [](HWND hwnd, LPARAM param) -> BOOL {
          char title[128] = {};
          GetWindowTextA(hwnd, title, sizeof title);
          if (IsWindowVisible(hwnd) && title[0] != 0) {
            // A message box says what it is about in its static text.
            char text[256] = {};
            HWND label = GetDlgItem(hwnd, 0xFFFF);
            if (label != nullptr) {
              SendMessageA(label, WM_GETTEXT, sizeof text, reinterpret_cast<LPARAM>(text));
            }
            *reinterpret_cast<std::string*>(param) += std::string("[") + title + ": " + text + "] ";
          }
          return TRUE;
        },
        reinterpret_cast<LPARAM>(&titles));
    return titles;
  }
  static void Click(HWND page, int id) {
    PostMessageA(page, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED),
                 reinterpret_cast<LPARAM>(GetDlgItem(page, id)));
  }
  // Answers the question box with that caption Yes.
  static bool AnswerYes(const char* caption) {
    HWND box = WaitForWindow(caption, 20000);
    if (box == nullptr) return false;
    PostMessageA(box, WM_COMMAND, IDYES, 0);
    return WaitForWindowGone(box, 20000);
  }
  // What a driver started afresh from the driver key makes of joining the configured network.
  std::string FreshDriverJoins() {
    std::string output;
    const DWORD code = RunCommand(Quote(folder_ + "profileprobe.exe") + " join join.txt 0 0",
                                  folder_, &output);
    return code == 0 ? ReadText(folder_ + "join.txt") : "probe failed: " + output;
  }
  // Types key 1 on the Encryption page at 64 bit with shared key and submits it.
  void SubmitKey(const std::string& key) {
    ASSERT_NE(nullptr, OpenDialog());
    HWND page = ShowTab(3, kLevel);
    ASSERT_NE(nullptr, page);
    Choose(page, kLevel, 1);
    ASSERT_EQ(10u, TextOf(page, kKey1).size()) << TextOf(page, kKey1);
    Type(page, kKey1, key);
    EXPECT_EQ(key, TextOf(page, kKey1));
    Choose(page, kAuthentication, 1);
    Click(page, kSubmit);
    // A successful Submit ends on the Status page.
    EXPECT_TRUE(WaitForWindowGone(page, 20000)) << Windows();
    CloseDialog();
  }
  static std::string ProfileValue(const std::string& profile, const std::string& name) {
    return UserValue(std::string(kProfiles) + "\\" + profile, name);
  }
  static bool ProfileExists(const std::string& profile) {
    HKEY key = nullptr;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, (std::string(kProfiles) + "\\" + profile).c_str(), 0,
                      KEY_READ, &key) != ERROR_SUCCESS) {
      return false;
    }
    RegCloseKey(key);
    return true;
  }

  std::string folder_;
  Process program_;
  HWND main_ = nullptr;
  HWND dialog_ = nullptr;
};

TEST_F(WepAndProfilesUnderWine, TheRightKeyTypedInLowerCaseJoinsAndAWrongOneIsRefused) {
  EXPECT_EQ("state=241 status=13", FreshDriverJoins()) << "open system meets shared key";

  SubmitKey("1a2b3c4d5e");
  EXPECT_EQ("state=5", FreshDriverJoins());

  SubmitKey("1a2b3c4d5f");
  EXPECT_EQ("state=241 status=15", FreshDriverJoins()) << "the challenge fails";
}

TEST_F(WepAndProfilesUnderWine, AProfileIsCreatedRenamedChosenSavedAndDeleted) {
  ASSERT_NE(nullptr, OpenDialog());
  HWND page = ShowTab(5, kList);
  ASSERT_NE(nullptr, page);
  Click(page, kNew);
  ASSERT_TRUE(WaitFor([&] { return IsWindowVisible(GetDlgItem(page, kName)) != 0; }));
  Type(page, kName, "Office");
  Click(page, kConfirm);
  ASSERT_TRUE(WaitFor([] { return ProfileExists("Office"); }));
  EXPECT_EQ("Lighthouse", ProfileValue("Office", "ssid"));
  // Listed after Default and selected as the profile in use.
  EXPECT_TRUE(WaitFor([&] {
    HWND list = GetDlgItem(page, kList);
    return SendMessageA(list, LB_GETCOUNT, 0, 0) == 2 && SendMessageA(list, LB_GETCURSEL, 0, 0) == 1;
  }));

  // Office is the profile in use and stays selected: Rename acts on it.
  Click(page, kRename);
  ASSERT_TRUE(WaitFor([&] { return IsWindowVisible(GetDlgItem(page, kName)) != 0; }));
  Type(page, kName, "Work");
  Click(page, kConfirm);
  ASSERT_TRUE(WaitFor([] { return ProfileExists("Work") && !ProfileExists("Office"); }));
  EXPECT_EQ("Lighthouse", ProfileValue("Work", "ssid"));
  CloseDialog();

  // The tray menu lists it: Active Profile, into its submenu (Default), down to Work.
  ASSERT_TRUE(ChooseFromTrayMenu(main_, {VK_DOWN, VK_DOWN, VK_RIGHT, VK_DOWN, VK_RETURN}));
  ASSERT_TRUE(WaitFor([] { return UserValue(kProfiles, "LastProfile") == "Work"; }));

  // WEP on: the adapter no longer matches Work, which can then be saved over.
  ASSERT_NE(nullptr, OpenDialog());
  HWND encryption = ShowTab(3, kLevel);
  ASSERT_NE(nullptr, encryption);
  Choose(encryption, kLevel, 1);
  ASSERT_EQ(10u, TextOf(encryption, kKey1).size());
  Type(encryption, kKey1, "1a2b3c4d5e");
  Click(encryption, kSubmit);
  ASSERT_TRUE(WaitForWindowGone(encryption, 20000));
  page = ShowTab(5, kList);
  ASSERT_NE(nullptr, page);
  ASSERT_TRUE(WaitFor([&] { return IsWindowEnabled(GetDlgItem(page, kSave)) != 0; }));
  EXPECT_EQ("0", ProfileValue("Work", "enc"));
  Click(page, kSave);
  ASSERT_TRUE(AnswerYes("Overwrite profile?"));
  ASSERT_TRUE(WaitFor([] { return ProfileValue("Work", "enc") == "1"; }));
  EXPECT_EQ("1A2B3C4D5E", ProfileValue("Work", "key1"));

  // Deleting the profile in use brings Default back.
  Click(page, kDelete);
  ASSERT_TRUE(AnswerYes("Delete profile?"));
  ASSERT_TRUE(WaitFor([] { return !ProfileExists("Work"); }));
  EXPECT_TRUE(WaitFor([] { return UserValue(kProfiles, "LastProfile") == "Default"; }));
  EXPECT_TRUE(ProfileExists("Default"));
  CloseDialog();
}

}  // namespace
}  // namespace linkscope::testing
