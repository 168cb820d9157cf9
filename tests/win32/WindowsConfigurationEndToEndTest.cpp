// The real program on Windows XP under Wine, with a real service named "WZCSVC" under Wine's
// service manager: while the service runs and manages the card's interface, the program tells
// the driver, locks its dialog and refuses profile switches; when the service stops it lets
// go, tells the driver and puts the profile in use back on the card. On Windows 2000 none of
// this happens.

#include <gtest/gtest.h>
#include <windows.h>

#include <string>

#include "app/CLinkscopeApp.h"
#include "win32/ProcessHelpers.h"
#include "win32/SimulatedCardProgram.h"
#include "win32/TestService.h"
#include "win32/UiDriver.h"

namespace linkscope::testing {
namespace {

constexpr const char* kProfiles = "Software\\ORVEX\\Linkscope\\Profiles";
constexpr const char* kInstanceId = "{5A1D0000-0000-4000-8000-0000000A2C51}";
constexpr const char* kClassKey =
    "System\\CurrentControlSet\\Control\\Class\\{4D36E972-E325-11CE-BFC1-08002BE10318}";
constexpr const char* kInterfaceKey =
    "SOFTWARE\\Microsoft\\WZCSVC\\Parameters\\Interfaces\\{5A1D0000-0000-4000-8000-0000000A2C51}";
constexpr int kIdProfileSelector = 1085;
constexpr int kIdChange = 1018;  // the Status page's

const char* kEnvironment = R"json({"adapters": [{
  "displayName": "ORVEX PCI Skyrelay", "serviceName": "SKYWZC",
  "instanceId": "{5A1D0000-0000-4000-8000-0000000A2C51}",
  "cardType": 21, "mac": "00-60-1D-00-2C-51",
  "parameters": {"ESSID": "Harbour", "Channel": 6}}],
  "networks": [{"bssid": "00-40-96-A1-00-01", "ssid": "Harbour", "channel": 6, "signal": 80}]})json";

std::string MachineText(const std::string& path, const std::string& name) {
  char data[256] = {};
  DWORD size = sizeof data - 1, type = 0;
  if (RegGetValueA(HKEY_LOCAL_MACHINE, path.c_str(), name.c_str(), RRF_RT_ANY, &type, data,
                   &size) != ERROR_SUCCESS) {
    return "<missing>";
  }
  return std::string(data, strnlen(data, sizeof data));
}

void SetMachineText(const std::string& path, const std::string& name, const std::string& text) {
  RegSetKeyValueA(HKEY_LOCAL_MACHINE, path.c_str(), name.c_str(), REG_SZ, text.data(),
                  static_cast<DWORD>(text.size()));
}

void SetControlFlags(DWORD flags) {
  RegSetKeyValueA(HKEY_LOCAL_MACHINE, kInterfaceKey, "ControlFlags", REG_DWORD, &flags,
                  sizeof flags);
}

// The class key the installer gave the adapter: the one whose interface is ours.
std::string DriverKey() {
  for (int i = 0; i < 100; ++i) {
    char index[8];
    snprintf(index, sizeof index, "%04d", i);
    const std::string path = std::string(kClassKey) + "\\" + index;
    if (MachineText(path, "NetCfgInstanceId") == kInstanceId) return path;
  }
  return "";
}

// The text of the message box the program shows, once there is one.
std::string WaitForMessageText(HWND* box) {
  *box = WaitForWindow("Linkscope", kPatienceMs);
  if (*box == nullptr) return "<no message>";
  std::string text;
  for (HWND child = GetWindow(*box, GW_CHILD); child != nullptr;
       child = GetWindow(child, GW_HWNDNEXT)) {
    char cls[32] = {}, buffer[512] = {};
    GetClassNameA(child, cls, sizeof cls);
    if (lstrcmpiA(cls, "Static") != 0) continue;
    GetWindowTextA(child, buffer, sizeof buffer);
    text += buffer;
  }
  return text;
}

// The selected entry of a drop-down list.
std::string SelectedText(HWND combo) {
  const LRESULT index = SendMessageA(combo, CB_GETCURSEL, 0, 0);
  if (index == CB_ERR) return "<none>";
  // Asked in UTF-16: Wine hands another process the list's text as the list keeps it.
  wchar_t buffer[256] = {};
  if (SendMessageW(combo, CB_GETLBTEXTLEN, index, 0) >= 256) return "<long>";
  SendMessageW(combo, CB_GETLBTEXT, index, reinterpret_cast<LPARAM>(buffer));
  char text[512] = {};
  WideCharToMultiByte(CP_ACP, 0, buffer, -1, text, sizeof text, nullptr, nullptr);
  return text;
}

class WindowsConfigurationUnderWine : public SimulatedCardProgram {
 protected:
  void SetUp() override {
    ASSERT_NO_FATAL_FAILURE(Install("wzc_e2e", kEnvironment, "winxp", {"wzcsvc.exe"}));
    driverKey_ = DriverKey();
    ASSERT_FALSE(driverKey_.empty());
    ASSERT_TRUE(InstallTestService("WZCSVC", folder_ + "wzcsvc.exe"));
    SetControlFlags(0x8000);

    // The profile in use, which the card does not match, and a second one to switch to.
    Profile office = CLinkscopeApp::DefaultProfile();
    office.name = "Office";
    office.ssid = "Harbour";
    office.channel = 6;
    office.rts = 700;
    ASSERT_TRUE(StoreProfile(office, true));
  }
  void TearDown() override {
    RemoveTestService("WZCSVC");
    RegDeleteTreeA(HKEY_LOCAL_MACHINE, "SOFTWARE\\Microsoft\\WZCSVC");
    SimulatedCardProgram::TearDown();
  }
  bool UseWzcsBecomes(const std::string& value) {
    return WaitUntil([&] { return MachineText(driverKey_, "UseWZCS") == value; });
  }
  // Opens the dialog, hands its profile selector to `check`, and closes it again.
  void InDialog(HWND main, const std::function<void(HWND dialog, HWND selector)>& check) {
    SendTrayMouse(main, WM_LBUTTONDBLCLK);
    HWND dialog = WaitForSettingsDialog(main, kPatienceMs);
    ASSERT_NE(nullptr, dialog);
    check(dialog, GetDlgItem(dialog, kIdProfileSelector));
    PostMessageA(dialog, WM_COMMAND, IDCANCEL, 0);
    EXPECT_TRUE(WaitForWindowGone(dialog, kPatienceMs));
  }

  std::string driverKey_;
};

TEST_F(WindowsConfigurationUnderWine, TheServiceTakesTheCardAndLetsItGo) {
  Process program;
  HWND main = StartProgram(&program);
  ASSERT_NE(nullptr, main);
  // The bit is set but the service is stopped: the program configures the card, and says so.
  ASSERT_TRUE(UseWzcsBecomes("0"));
  InDialog(main, [](HWND, HWND selector) {
    EXPECT_TRUE(WaitUntil([&] { return IsWindowEnabled(selector) != FALSE; }));
    EXPECT_EQ("Office*", SelectedText(selector)) << "the card does not match the profile";
  });

  // Windows takes the card.
  ASSERT_TRUE(StartTestService("WZCSVC"));
  ASSERT_TRUE(UseWzcsBecomes("1"));
  InDialog(main, [](HWND dialog, HWND selector) {
    EXPECT_FALSE(IsWindowEnabled(selector));
    EXPECT_EQ("Office", SelectedText(selector)) << "no mark while Windows configures the card";
    HWND status = ShowTab(dialog, 0, kIdChange);
    ASSERT_NE(nullptr, status);
    EXPECT_FALSE(IsWindowEnabled(GetDlgItem(status, kIdChange))) << "Change is locked";
    Screenshot("windows-configured");
    // The Site Survey page takes no input at all, and still shows itself.
    HWND survey = ShowTab(dialog, 2, 1034);
    ASSERT_NE(nullptr, survey);
    EXPECT_FALSE(IsWindowEnabled(survey));
    EXPECT_FALSE(IsWindowEnabled(GetDlgItem(survey, 1034)));
    EXPECT_TRUE(IsWindowVisible(GetDlgItem(survey, 1033)));
    Screenshot("windows-configured-survey");
  });
  // Active Profile, into its submenu (Default first), choose Default: refused.
  ASSERT_TRUE(ChooseFromTrayMenu(main, {VK_DOWN, VK_DOWN, VK_RIGHT, VK_RETURN}));
  HWND box = nullptr;
  EXPECT_EQ("Cannot switch profile while card is configured by Windows.",
            WaitForMessageText(&box));
  if (box != nullptr) {
    PressKeys(box, {VK_RETURN});
    EXPECT_TRUE(WaitForWindowGone(box, kPatienceMs));
  }
  EXPECT_EQ("Office", UserValue(kProfiles, "LastProfile"));

  // Something else changes the driver's parameters meanwhile.
  SetMachineText(driverKey_, "RTS_Threshold", "1234");

  // Windows lets go: the driver is told and the profile in use goes back on the card.
  ASSERT_TRUE(StopTestService("WZCSVC"));
  ASSERT_TRUE(UseWzcsBecomes("0"));
  EXPECT_TRUE(WaitUntil([&] { return MachineText(driverKey_, "RTS_Threshold") == "700"; }));
  InDialog(main, [](HWND, HWND selector) {
    EXPECT_TRUE(WaitUntil([&] { return IsWindowEnabled(selector) != FALSE; }));
    EXPECT_EQ("Office", SelectedText(selector)) << "the card matches the profile again";
  });

  // Clearing the bit lets go as well, with the service running.
  ASSERT_TRUE(StartTestService("WZCSVC"));
  ASSERT_TRUE(UseWzcsBecomes("1"));
  SetControlFlags(0);
  ASSERT_TRUE(UseWzcsBecomes("0"));
  ASSERT_TRUE(ChooseFromTrayMenu(main, {VK_DOWN, VK_DOWN, VK_RIGHT, VK_RETURN}));
  EXPECT_TRUE(WaitUntil([] { return UserValue(kProfiles, "LastProfile") == "Default"; }));
  Close(&program);
}

TEST_F(WindowsConfigurationUnderWine, WithoutTheServiceTheCardIsTheUsers) {
  // An XP machine whose wireless service was never installed: nothing ever wrote the
  // interface's key either.
  RemoveTestService("WZCSVC");
  RegDeleteTreeA(HKEY_LOCAL_MACHINE, "SOFTWARE\\Microsoft\\WZCSVC");
  Process program;
  HWND main = StartProgram(&program);
  ASSERT_NE(nullptr, main);
  ASSERT_TRUE(UseWzcsBecomes("0"));
  InDialog(main, [&](HWND dialog, HWND selector) {
    EXPECT_TRUE(WaitUntil([&] { return IsWindowEnabled(selector) != FALSE; }));
    HWND status = ShowTab(dialog, 0, kIdChange);
    ASSERT_NE(nullptr, status);
    HWND submit = GetDlgItem(status, 1019);
    Click(status, kIdChange);
    ASSERT_TRUE(WaitUntil([&] { return IsWindowEnabled(submit) != FALSE; })) << "Change locked";
    Type(status, 1009, "Lighthouse");
    Click(status, 1019);
    EXPECT_TRUE(WaitUntil([&] { return MachineText(driverKey_, "ESSID") == "Lighthouse"; }));
    // Re-Scan runs: the button waits out the survey and comes back.
    HWND survey = ShowTab(dialog, 2, 1034);
    ASSERT_NE(nullptr, survey);
    HWND rescan = GetDlgItem(survey, 1034);
    ASSERT_TRUE(IsWindowEnabled(rescan));
    Click(survey, 1034);
    EXPECT_TRUE(WaitUntil([&] { return !IsWindowEnabled(rescan); }));
    EXPECT_TRUE(WaitUntil([&] { return IsWindowEnabled(rescan) != FALSE; }));
  });
  EXPECT_EQ(nullptr, WaitForWindow("Linkscope", 0)) << "no message";
  Close(&program);
}

TEST_F(WindowsConfigurationUnderWine, OnWindows2000TheServiceChangesNothing) {
  ASSERT_TRUE(SetWineVersion("linkscope.exe", "win2k"));
  ASSERT_TRUE(StartTestService("WZCSVC"));
  Process program;
  HWND main = StartProgram(&program);
  ASSERT_NE(nullptr, main);
  InDialog(main, [](HWND, HWND selector) { EXPECT_TRUE(IsWindowEnabled(selector)); });
  ASSERT_TRUE(ChooseFromTrayMenu(main, {VK_DOWN, VK_DOWN, VK_RIGHT, VK_RETURN}));
  EXPECT_TRUE(WaitUntil([] { return UserValue(kProfiles, "LastProfile") == "Default"; }));
  EXPECT_EQ(nullptr, WaitForWindow("Linkscope", 0)) << "no refusal";
  EXPECT_EQ("<missing>", MachineText(driverKey_, "UseWZCS"));
  Close(&program);
}

}  // namespace
}  // namespace linkscope::testing
