// The Status and Advanced pages of the real program under Wine, on a simulated card, used as
// a person would: Change, a new SSID typed in, Submit; then the fragmentation threshold moved
// to its end with the keyboard and submitted with Enter. Then every page by keyboard alone, and
// the signal bar as a screen reader hears it.

#include <gtest/gtest.h>
#include <windows.h>
#include <commctrl.h>
#include <oleacc.h>

#include <algorithm>
#include <set>
#include <string>

#include "app/CLinkscopeApp.h"
#include "win32/ProcessHelpers.h"
#include "win32/SimulatedCardProgram.h"
#include "win32/UiDriver.h"

namespace linkscope::testing {
namespace {

constexpr const char* kProfiles = "Software\\ORVEX\\Linkscope\\Profiles";
constexpr const char* kNetClass =
    "System\\CurrentControlSet\\Control\\Class\\{4D36E972-E325-11CE-BFC1-08002BE10318}";
constexpr const char* kCard = "ORVEX PCI Skyrelay";

const char* kEnvironment = R"json({"adapters": [{
  "displayName": "ORVEX PCI Skyrelay", "serviceName": "SKYPAGES",
  "instanceId": "{5A1D0000-0000-4000-8000-00000000BE21}",
  "cardType": 12, "mac": "00-60-1D-00-BE-21",
  "parameters": {"ESSID": "Harbour", "Channel": 6, "Frag_Threshold": 1000}}],
  "networks": [
    {"bssid": "00-40-96-A1-00-01", "ssid": "Harbour", "channel": 6, "signal": 80},
    {"bssid": "00-40-96-B2-00-01", "ssid": "Lighthouse", "channel": 11, "signal": 60}]})json";

// A value of the simulated card's driver key (Windows 2000 layout), as text.
std::string DriverValue(const std::string& name) {
  HKEY net = nullptr;
  if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, kNetClass, 0, KEY_READ, &net) != ERROR_SUCCESS) {
    return "<no class key>";
  }
  std::string result = "<missing>";
  char sub[64];
  for (DWORD i = 0;; ++i) {
    DWORD size = sizeof sub;
    if (RegEnumKeyExA(net, i, sub, &size, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS) {
      break;
    }
    HKEY key = nullptr;
    if (RegOpenKeyExA(net, sub, 0, KEY_READ, &key) != ERROR_SUCCESS) continue;
    char data[256] = {};
    DWORD type = 0, length = sizeof data - 1;
    const bool ours = RegQueryValueExA(key, "DriverDesc", nullptr, &type,
                                       reinterpret_cast<BYTE*>(data), &length) == ERROR_SUCCESS &&
                      std::string(data) == kCard;
    if (ours) {
      char value[256] = {};
      length = sizeof value - 1;
      if (RegQueryValueExA(key, name.c_str(), nullptr, &type, reinterpret_cast<BYTE*>(value),
                           &length) == ERROR_SUCCESS) {
        result = std::string(value, length).c_str();
      }
    }
    RegCloseKey(key);
    if (ours) break;
  }
  RegCloseKey(net);
  return result;
}

// Waits until `read` gives `wanted`; the last value read otherwise.
template <typename Read>
std::string WaitForValue(Read read, const std::string& wanted, DWORD ms) {
  const DWORD start = GetTickCount();
  std::string now = read();
  while (now != wanted && GetTickCount() - start < ms) {
    Sleep(100);
    now = read();
  }
  return now;
}

// The page window of the dialog that holds control `id`.
HWND WaitForPage(HWND dialog, int id, DWORD ms) {
  const DWORD start = GetTickCount();
  do {
    HWND page = nullptr;
    while ((page = FindWindowExA(dialog, page, "#32770", nullptr)) != nullptr) {
      if (GetDlgItem(page, id) != nullptr && IsWindowVisible(page)) return page;
    }
    Sleep(100);
  } while (GetTickCount() - start < ms);
  return nullptr;
}

bool WaitForEnabled(HWND control, DWORD ms) {
  const DWORD start = GetTickCount();
  while (!IsWindowEnabled(control)) {
    if (GetTickCount() - start >= ms) return false;
    Sleep(100);
  }
  return true;
}

// The controls of the dialog and its page that Tab can reach: visible, enabled tab stops.
std::set<HWND> TabStops(HWND dialog) {
  std::set<HWND> stops;
  EnumChildWindows(
      dialog,
      [](HWND w, LPARAM param) -> BOOL {
        if (IsWindowVisible(w) && IsWindowEnabled(w) &&
            (GetWindowLongA(w, GWL_STYLE) & WS_TABSTOP) != 0) {
          reinterpret_cast<std::set<HWND>*>(param)->insert(w);
        }
        return TRUE;
      },
      reinterpret_cast<LPARAM>(&stops));
  return stops;
}

class PagesUnderWine : public SimulatedCardProgram {
 protected:
  void SetUp() override { ASSERT_NO_FATAL_FAILURE(Install("pages_e2e", kEnvironment)); }
};

TEST_F(PagesUnderWine, ChangeTheNetworkThenTheFragmentationThreshold) {
  // "Office" is the profile in use: a change of the adapter earns it its "*".
  Profile office = CLinkscopeApp::DefaultProfile();
  office.name = "Office";
  office.ssid = "Harbour";
  office.channel = 6;
  ASSERT_TRUE(StoreProfile(office, true));

  ASSERT_NE(nullptr, StartProgram());
  HWND dialog = OpenDialog();
  ASSERT_NE(nullptr, dialog);
  HWND status = WaitForPage(dialog, 1018, 20000);
  ASSERT_NE(nullptr, status);
  HWND line = GetDlgItem(status, 1003);
  EXPECT_EQ("Associated - BSSID: 00-40-96-A1-00-01",
            WaitForValue([&] { return TextOf(line); }, "Associated - BSSID: 00-40-96-A1-00-01",
                         30000));

  // Change pressed with the mouse disables itself; Escape from the keyboard then still ends
  // the editing, and closes nothing.
  HWND change = GetDlgItem(status, 1018);
  HWND submit = GetDlgItem(status, 1019);
  ASSERT_TRUE(MouseClick(change));
  ASSERT_TRUE(WaitForEnabled(submit, 10000));
  EXPECT_FALSE(IsWindowEnabled(change));
  PressKeyInput(VK_ESCAPE);
  EXPECT_TRUE(WaitForEnabled(change, 10000)) << VisibleWindows();
  EXPECT_FALSE(IsWindowEnabled(submit));
  ASSERT_TRUE(IsWindow(dialog) && IsWindowVisible(dialog)) << "Escape closed the dialog";

  // Change, a new SSID, Submit.
  PostMessageA(GetDlgItem(status, 1018), BM_CLICK, 0, 0);
  HWND ssid = GetDlgItem(status, 1009);
  ASSERT_TRUE(WaitForEnabled(ssid, 10000));
  SendMessageA(ssid, EM_SETSEL, 0, -1);
  for (char c : std::string("Lighthouse")) PostMessageA(ssid, WM_CHAR, static_cast<WPARAM>(c), 1);
  EXPECT_EQ("Lighthouse", WaitForValue([&] { return TextOf(ssid); }, "Lighthouse", 10000));
  PostMessageA(GetDlgItem(status, 1019), BM_CLICK, 0, 0);

  EXPECT_EQ("Associated - BSSID: 00-40-96-B2-00-01",
            WaitForValue([&] { return TextOf(line); }, "Associated - BSSID: 00-40-96-B2-00-01",
                         30000));
  EXPECT_EQ("Lighthouse", DriverValue("ESSID"));
  EXPECT_EQ("11", TextOf(GetDlgItem(status, 1025))) << "the access point's channel";
  EXPECT_EQ("Office*", TextOf(GetDlgItem(dialog, 1085)));
  EXPECT_TRUE(IsWindowEnabled(GetDlgItem(status, 1018)));
  EXPECT_FALSE(IsWindowEnabled(ssid));
  Screenshot("status-page");

  // The Advanced tab, by the arrow keys on the tabs.
  HWND tabs = GetDlgItem(dialog, 1003);
  PressKeys(tabs, {VK_RIGHT, VK_RIGHT, VK_RIGHT, VK_RIGHT});
  HWND advanced = WaitForPage(dialog, 1052, 20000);
  ASSERT_NE(nullptr, advanced);
  HWND value = GetDlgItem(advanced, 1059);
  HWND indication = GetDlgItem(advanced, 1060);
  EXPECT_EQ("1000", TextOf(value));
  EXPECT_EQ("Enabled", TextOf(indication));
  // The End key takes the thumb to the right end: fragmentation off.
  PressKeys(GetDlgItem(advanced, 1052), {VK_END});
  EXPECT_EQ("2346", WaitForValue([&] { return TextOf(value); }, "2346", 10000));
  EXPECT_EQ("Disabled", WaitForValue([&] { return TextOf(indication); }, "Disabled", 10000));
  Screenshot("advanced-page");

  // Enter submits, and the dialog goes back to the Status page.
  PressKeys(GetDlgItem(advanced, 1052), {VK_RETURN});
  EXPECT_EQ("2346", WaitForValue([] { return DriverValue("Frag_Threshold"); }, "2346", 20000));
  EXPECT_NE(nullptr, WaitForPage(dialog, 1018, 20000));
  EXPECT_EQ(0, static_cast<int>(SendMessageA(tabs, 0x130B /* TCM_GETCURSEL */, 0, 0)));
  EXPECT_EQ("Lighthouse", DriverValue("ESSID")) << "the rest of the record as read";

  PostMessageA(dialog, WM_COMMAND, IDCANCEL, 0);
  EXPECT_TRUE(WaitForWindowGone(dialog, 20000));
}

TEST_F(PagesUnderWine, EveryPageByKeyboardAloneAndTheSignalBarByItsName) {
  ASSERT_NE(nullptr, StartProgram());
  HWND dialog = OpenDialog();
  ASSERT_NE(nullptr, dialog);
  HWND status = WaitForPage(dialog, 1018, 20000);
  ASSERT_NE(nullptr, status);

  // A screen reader asks the bar for its name through the system's accessibility objects (by
  // __uuidof: the IID_IAccessible of MinGW-w64's import library reads as another identifier).
  ASSERT_TRUE(SUCCEEDED(CoInitialize(nullptr)));
  IAccessible* bar = nullptr;
  ASSERT_EQ(S_OK, AccessibleObjectFromWindow(GetDlgItem(status, 1021), OBJID_CLIENT,
                                             __uuidof(IAccessible), reinterpret_cast<void**>(&bar)));
  VARIANT self;
  VariantInit(&self);
  self.vt = VT_I4;
  self.lVal = CHILDID_SELF;
  BSTR name = nullptr;
  EXPECT_EQ(S_OK, bar->get_accName(self, &name));
  EXPECT_EQ(std::wstring(L"Signal Strength"), name != nullptr ? std::wstring(name) : L"<none>");
  SysFreeString(name);
  bar->Release();
  CoUninitialize();

  // One click makes the dialog the active window; from there on only keys.
  ASSERT_TRUE(MouseClick(GetDlgItem(status, 1003)));
  HWND tabs = GetDlgItem(dialog, 1003);
  for (int tab = 0; tab < 7; ++tab) {
    ASSERT_TRUE(WaitUntil([&] { return SendMessageA(tabs, TCM_GETCURSEL, 0, 0) == tab; }, 20000))
        << "Ctrl+Tab did not reach tab " << tab;
    // Each reachable control exactly once in one round of Tab.
    const std::set<HWND> stops = TabStops(dialog);
    std::multiset<HWND> visited;
    HWND focus = FocusIn(dialog);
    for (std::size_t i = 0; i < stops.size(); ++i) {
      PressKeyInput(VK_TAB);
      const HWND before = focus;
      WaitUntil([&] { return (focus = FocusIn(dialog)) != before; }, 10000);
      visited.insert(focus);
    }
    EXPECT_EQ(std::multiset<HWND>(stops.begin(), stops.end()), visited) << "tab " << tab;
    PressChordInput({VK_CONTROL, VK_TAB});
  }
  EXPECT_TRUE(WaitUntil([&] { return SendMessageA(tabs, TCM_GETCURSEL, 0, 0) == 0; }, 20000));
  CloseDialog();
}

TEST_F(PagesUnderWine, AltSReachesTheSsidBoxInEachLanguage) {
  const struct {
    const char* language;
    const char* title;
  } languages[] = {{"English", "Linkscope Utility"},
                   {"Deutsch", "Linkscope-Dienstprogramm"},
                   {"Fran\xE7" "ais", "Utilitaire Linkscope"}};
  for (const auto& l : languages) {
    HKEY settings = nullptr;
    ASSERT_EQ(ERROR_SUCCESS, RegCreateKeyExA(HKEY_CURRENT_USER, "Software\\ORVEX\\Linkscope\\Settings",
                                             0, nullptr, 0, KEY_WRITE, nullptr, &settings, nullptr));
    RegSetValueExA(settings, "Language", 0, REG_SZ, reinterpret_cast<const BYTE*>(l.language),
                   static_cast<DWORD>(strlen(l.language) + 1));
    RegCloseKey(settings);
    ASSERT_TRUE(Start(folder_ + "linkscope.exe", folder_, &program_));
    main_ = WaitForWindow(l.title, kPatienceMs);
    ASSERT_NE(nullptr, main_) << l.language;
    ASSERT_TRUE(WaitForTrayIcon(main_, true, kPatienceMs));
    HWND dialog = OpenDialog();
    ASSERT_NE(nullptr, dialog) << l.language;
    HWND status = WaitForPage(dialog, 1018, 20000);
    ASSERT_NE(nullptr, status);
    PostMessageA(GetDlgItem(status, 1018), BM_CLICK, 0, 0);
    HWND ssid = GetDlgItem(status, 1009);
    ASSERT_TRUE(WaitForEnabled(ssid, 10000));
    ASSERT_TRUE(MouseClick(GetDlgItem(status, 1003)));
    ASSERT_TRUE(WaitUntil([&] { return FocusIn(dialog) == GetDlgItem(status, 1003); }, 10000));
    PressChordInput({VK_MENU, 'S'});
    EXPECT_TRUE(WaitUntil([&] { return FocusIn(dialog) == ssid; }, 10000)) << l.language;
    CloseDialog();
    Close(&program_);
  }
}

}  // namespace
}  // namespace linkscope::testing
