// The Encryption and Profiles pages of the real program under Wine, used as a person would:
// a WEP key typed on the Encryption page lets the card join a shared-key network set on the
// Status page (a wrong one ends in the management error the Status page shows), and a profile
// is created, renamed, switched to from the tray, saved over and deleted, each step visible
// under the profiles key and in the tray menu's profile submenu.

#include <gtest/gtest.h>
#include <windows.h>

#include <string>

#include "win32/ProcessHelpers.h"
#include "win32/SimulatedCardProgram.h"
#include "win32/UiDriver.h"

namespace linkscope::testing {
namespace {

constexpr const char* kProfiles = "Software\\ORVEX\\Linkscope\\Profiles";

// The card starts on Harbour, an open network; Lighthouse is a 64-bit WEP network that
// authenticates by shared key.
const char* kEnvironment = R"json({"adapters": [{
  "displayName": "ORVEX PCI Skyrelay", "serviceName": "SKYWEP",
  "instanceId": "{5A1D0000-0000-4000-8000-00000000BE18}",
  "cardType": 21, "mac": "00-60-1D-00-BE-18",
  "parameters": {"ESSID": "Harbour", "Channel": 6}}],
  "networks": [{"bssid": "00-40-96-A1-00-01", "ssid": "Harbour", "channel": 6, "signal": 80},
               {"bssid": "00-40-96-B2-00-01", "ssid": "Lighthouse", "channel": 6, "signal": 64,
                "wep": {"key": "1A2B3C4D5E", "authentication": "shared"}}]})json";

constexpr const char* kOnHarbour = "Associated - BSSID: 00-40-96-A1-00-01";
constexpr const char* kOnLighthouse = "Associated - BSSID: 00-40-96-B2-00-01";
// What the shipped language file says for status code 15 (the challenge answered with the
// wrong key).
constexpr const char* kChallengeRefused = "Authentication Error. Check Encryption Settings";

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
// The Status page: its status line, Change, SSID and Submit.
constexpr int kStatusLine = 1003;
constexpr int kChange = 1018;
constexpr int kSsid = 1009;
constexpr int kStatusSubmit = 1019;
constexpr DWORD kLinkPatienceMs = 90000;

class WepAndProfilesUnderWine : public SimulatedCardProgram {
 protected:
  void SetUp() override {
    ASSERT_NO_FATAL_FAILURE(Install("wep_e2e", kEnvironment, "win2k", {"profileprobe.exe"}));
    ASSERT_NE(nullptr, StartProgram());
    // The first ticks find the adapter, select it and remember the profile in use.
    ASSERT_TRUE(WaitUntil([] { return UserValue(kProfiles, "LastProfile") == "Default"; }));
  }
  HWND ShowTab(int index, int marker) {
    HWND page = linkscope::testing::ShowTab(dialog_, index, marker);
    EXPECT_NE(nullptr, page) << "tab " << index << "; windows: " << VisibleWindows();
    return page;
  }

  // What a driver started afresh from the driver key makes of joining the configured network.
  std::string FreshDriverJoins() {
    std::string output;
    const DWORD code = RunCommand(Quote(folder_ + "profileprobe.exe") + " join join.txt 0 0",
                                  folder_, &output);
    return code == 0 ? ReadText(folder_ + "join.txt") : "probe failed: " + output;
  }
  // Types key 1 on the Encryption page of the open dialog at 64 bit with shared key and
  // submits it; the dialog is then back on its Status page, which this returns.
  HWND SubmitKey(const std::string& key) {
    HWND page = ShowTab(3, kLevel);
    if (page == nullptr) return nullptr;
    Choose(page, kLevel, 1);
    EXPECT_EQ(10u, TextOf(page, kKey1).size()) << TextOf(page, kKey1);
    Type(page, kKey1, key);
    EXPECT_EQ(key, TextOf(page, kKey1));
    Choose(page, kAuthentication, 1);
    Click(page, kSubmit);
    // A successful Submit ends on the Status page.
    EXPECT_TRUE(WaitForWindowGone(page, kPatienceMs)) << VisibleWindows();
    return ShowTab(0, kChange);
  }
  // Change, the SSID typed in, Submit: the card joins that network.
  void JoinOnStatusPage(HWND status, const std::string& ssid) {
    Click(status, kChange);
    HWND box = GetDlgItem(status, kSsid);
    ASSERT_TRUE(WaitUntil([&] { return IsWindowEnabled(box) != 0; }));
    Type(status, kSsid, ssid);
    EXPECT_EQ(ssid, TextOf(box));
    Click(status, kStatusSubmit);
    EXPECT_TRUE(WaitUntil([&] { return IsWindowEnabled(box) == 0; })) << "Submit locks it again";
  }
  // Waits until the Status page's status line reads `text`; what it last read.
  static std::string WaitForStatusLine(HWND status, const std::string& text) {
    HWND line = GetDlgItem(status, kStatusLine);
    std::string now;
    WaitUntil(
        [&] {
          now = TextOf(line);
          return now == text;
        },
        kLinkPatienceMs);
    return now;
  }
  // The height of the tray menu's profile submenu, opened by the keyboard and closed again. A
  // menu of another process cannot be read item by item under Wine; its height grows and
  // shrinks with the profiles it lists. -1 when it did not open.
  int ProfileSubmenuHeight() {
    SendTrayMouse(main_, WM_RBUTTONUP);
    HWND menu = WaitForPopupMenu(kPatienceMs);
    if (menu == nullptr) return -1;
    // Active Profile, into its submenu.
    PressKeys(menu, {VK_DOWN, VK_DOWN, VK_RIGHT});
    struct Search {
      HWND top;
      HWND found;
    } search{menu, nullptr};
    WaitUntil([&] {
      EnumWindows(
          [](HWND hwnd, LPARAM param) -> BOOL {
            auto* s = reinterpret_cast<Search*>(param);
            char cls[16] = {};
            GetClassNameA(hwnd, cls, sizeof cls);
            if (hwnd != s->top && std::string(cls) == "#32768" && IsWindowVisible(hwnd)) {
              s->found = hwnd;
              return FALSE;
            }
            return TRUE;
          },
          reinterpret_cast<LPARAM>(&search));
      return search.found != nullptr;
    });
    RECT r{};
    const bool measured = search.found != nullptr && GetWindowRect(search.found, &r);
    PressKeys(menu, {VK_ESCAPE, VK_ESCAPE});
    EXPECT_TRUE(WaitUntil([menu] { return !IsWindow(menu) || !IsWindowVisible(menu); }));
    return measured ? static_cast<int>(r.bottom - r.top) : -1;
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
};

TEST_F(WepAndProfilesUnderWine, TheRightKeyTypedInLowerCaseJoinsAndAWrongOneIsRefused) {
  ASSERT_NE(nullptr, OpenDialog());
  HWND status = ShowTab(0, kChange);
  ASSERT_NE(nullptr, status);
  EXPECT_EQ(kOnHarbour, WaitForStatusLine(status, kOnHarbour));

  status = SubmitKey("1a2b3c4d5e");
  ASSERT_NE(nullptr, status);
  ASSERT_NO_FATAL_FAILURE(JoinOnStatusPage(status, "Lighthouse"));
  EXPECT_EQ(kOnLighthouse, WaitForStatusLine(status, kOnLighthouse));
  // The key and the network are in the driver key: a driver started afresh joins as well.
  EXPECT_EQ("state=5", FreshDriverJoins());

  // The card tries Lighthouse again with the new key, and the access point refuses it.
  status = SubmitKey("1a2b3c4d5f");
  ASSERT_NE(nullptr, status);
  EXPECT_EQ(kChallengeRefused, WaitForStatusLine(status, kChallengeRefused));
  // The same words stand for code 13; the driver's own record says which it was.
  EXPECT_EQ("state=241 status=15", FreshDriverJoins());
  CloseDialog();
}

TEST_F(WepAndProfilesUnderWine, AProfileIsCreatedRenamedChosenSavedAndDeleted) {
  // Default alone.
  const int oneProfile = ProfileSubmenuHeight();
  ASSERT_GT(oneProfile, 0);
  ASSERT_NE(nullptr, OpenDialog());
  HWND page = ShowTab(5, kList);
  ASSERT_NE(nullptr, page);
  Click(page, kNew);
  ASSERT_TRUE(WaitUntil([&] { return IsWindowVisible(GetDlgItem(page, kName)) != 0; }));
  Type(page, kName, "Office");
  Click(page, kConfirm);
  // The store writes a profile value by value: wait for the whole of it, not for its key.
  EXPECT_TRUE(WaitUntil([] { return ProfileValue("Office", "ssid") == "Harbour"; }));
  // Listed after Default and selected as the profile in use.
  EXPECT_TRUE(WaitUntil([&] {
    HWND list = GetDlgItem(page, kList);
    return SendMessageA(list, LB_GETCOUNT, 0, 0) == 2 && SendMessageA(list, LB_GETCURSEL, 0, 0) == 1;
  }));

  // Office is the profile in use and stays selected: Rename acts on it.
  Click(page, kRename);
  ASSERT_TRUE(WaitUntil([&] { return IsWindowVisible(GetDlgItem(page, kName)) != 0; }));
  Type(page, kName, "Work");
  Click(page, kConfirm);
  ASSERT_TRUE(WaitUntil([] { return ProfileExists("Work") && !ProfileExists("Office"); }));
  EXPECT_TRUE(WaitUntil([] { return ProfileValue("Work", "ssid") == "Harbour"; }));
  CloseDialog();
  EXPECT_GT(ProfileSubmenuHeight(), oneProfile) << "Default and Work";

  // The tray menu lists it: Active Profile, into its submenu (Default), down to Work.
  ASSERT_TRUE(ChooseFromTrayMenu(main_, {VK_DOWN, VK_DOWN, VK_RIGHT, VK_DOWN, VK_RETURN}));
  ASSERT_TRUE(WaitUntil([] { return UserValue(kProfiles, "LastProfile") == "Work"; }));

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
  ASSERT_TRUE(WaitUntil([&] { return IsWindowEnabled(GetDlgItem(page, kSave)) != 0; }));
  EXPECT_EQ("0", ProfileValue("Work", "enc"));
  Click(page, kSave);
  ASSERT_TRUE(AnswerYes("Overwrite profile?"));
  EXPECT_TRUE(WaitUntil([] {
    return ProfileValue("Work", "enc") == "1" && ProfileValue("Work", "key1") == "1A2B3C4D5E";
  }));

  // Deleting the profile in use brings Default back.
  Click(page, kDelete);
  ASSERT_TRUE(AnswerYes("Delete profile?"));
  ASSERT_TRUE(WaitUntil([] { return !ProfileExists("Work"); }));
  EXPECT_TRUE(WaitUntil([] { return UserValue(kProfiles, "LastProfile") == "Default"; }));
  EXPECT_TRUE(ProfileExists("Default"));
  CloseDialog();
  // The submenu lists Default alone again.
  EXPECT_EQ(oneProfile, ProfileSubmenuHeight());
}

}  // namespace
}  // namespace linkscope::testing
