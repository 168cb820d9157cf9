// The Site Survey and Statistics pages of the real program under Wine on a simulated card,
// used as a person would: a scan lists the networks around, a double-click joins one, Escape
// stops a scan; the frame counters grow and go back to zero on Reset.

#include <gtest/gtest.h>
#include <windows.h>
#include <commctrl.h>

#include <cstdio>
#include <cstdlib>
#include <functional>
#include <regex>
#include <string>
#include <vector>

#include "device/ChannelScore.h"
#include "win32/ProcessHelpers.h"
#include "win32/SimulatedCardProgram.h"
#include "win32/UiDriver.h"

namespace linkscope::testing {
namespace {

// Four networks, the last one without a name, for a card with a 100-point signal scale.
const char* kEnvironment = R"json({"adapters": [{
  "displayName": "ORVEX PCI Skyrelay", "serviceName": "SKYSCAN",
  "instanceId": "{5A1D0000-0000-4000-8000-00000000C0DE}",
  "cardType": 21, "mac": "00-60-1D-00-C0-DE",
  "parameters": {"ESSID": "Harbour", "Channel": 1}}],
  "networks": [
    {"bssid": "00-40-96-A1-00-01", "ssid": "Harbour", "channel": 1, "signal": 82},
    {"bssid": "00-40-96-B2-00-01", "ssid": "Lighthouse", "channel": 6, "signal": 64},
    {"bssid": "02-60-1D-33-44-55", "ssid": "Picnic", "channel": 3, "signal": 40, "bssType": "adhoc"},
    {"bssid": "00-40-96-D4-00-01", "ssid": "", "channel": 11, "signal": 47}]})json";

constexpr int kIdTabs = 1003;
constexpr int kIdProfileSelector = 1085;
constexpr int kIdList = 1033;
constexpr int kIdRescan = 1034;
constexpr int kIdGraph = 1035;
constexpr int kIdViewList = 1036;
constexpr int kIdViewChannels = 1037;
constexpr int kIdLeastCrowded = 1039;

// Memory in the program's process, for the list view messages that carry pointers.
class Remote {
 public:
  explicit Remote(HWND window) {
    DWORD pid = 0;
    GetWindowThreadProcessId(window, &pid);
    process_ = OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_READ | PROCESS_VM_WRITE, FALSE, pid);
    if (process_ != nullptr) {
      base_ = static_cast<char*>(
          VirtualAllocEx(process_, nullptr, 4096, MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE));
    }
  }
  ~Remote() {
    if (base_ != nullptr) VirtualFreeEx(process_, base_, 0, MEM_RELEASE);
    if (process_ != nullptr) CloseHandle(process_);
  }
  bool Ok() const { return base_ != nullptr; }
  char* At(std::size_t offset) const { return base_ + offset; }
  void Write(std::size_t offset, const void* data, std::size_t size) {
    WriteProcessMemory(process_, base_ + offset, data, size, nullptr);
  }
  void Read(std::size_t offset, void* data, std::size_t size) {
    ReadProcessMemory(process_, base_ + offset, data, size, nullptr);
  }

 private:
  HANDLE process_ = nullptr;
  char* base_ = nullptr;
};

std::string Cell(HWND list, int row, int column) {
  Remote remote(list);
  if (!remote.Ok()) return "<no memory>";
  LVITEMA item{};
  item.iSubItem = column;
  item.pszText = remote.At(512);
  item.cchTextMax = 256;
  remote.Write(0, &item, sizeof item);
  SendMessageA(list, LVM_GETITEMTEXTA, row, reinterpret_cast<LPARAM>(remote.At(0)));
  char text[256] = {};
  remote.Read(512, text, sizeof text - 1);
  return text;
}

int RowOf(HWND list, const std::string& ssid) {
  const int rows = static_cast<int>(SendMessageA(list, LVM_GETITEMCOUNT, 0, 0));
  for (int r = 0; r < rows; ++r) {
    if (Cell(list, r, 1) == ssid) return r;
  }
  return -1;
}

// A double-click in the middle of the row's first cell, as the mouse delivers it.
void DoubleClickRow(HWND list, int row) {
  Remote remote(list);
  RECT rect{};
  rect.left = LVIR_BOUNDS;
  remote.Write(0, &rect, sizeof rect);
  SendMessageA(list, LVM_GETITEMRECT, row, reinterpret_cast<LPARAM>(remote.At(0)));
  remote.Read(0, &rect, sizeof rect);
  const LPARAM at = MAKELPARAM(rect.left + 8, (rect.top + rect.bottom) / 2);
  PostMessageA(list, WM_LBUTTONDOWN, MK_LBUTTON, at);
  PostMessageA(list, WM_LBUTTONUP, 0, at);
  PostMessageA(list, WM_LBUTTONDBLCLK, MK_LBUTTON, at);
  PostMessageA(list, WM_LBUTTONUP, 0, at);
}

int CurrentTab(HWND dialog) {
  return static_cast<int>(SendMessageA(GetDlgItem(dialog, kIdTabs), TCM_GETCURSEL, 0, 0));
}

// The page on screen: the dialog's child dialog window.
HWND PageOf(HWND dialog) { return FindWindowExA(dialog, nullptr, "#32770", nullptr); }

class SurveyPagesUnderWine : public SimulatedCardProgram {
 protected:
  void SetUp() override {
    ASSERT_NO_FATAL_FAILURE(Install("survey_e2e", kEnvironment, "win2k", {"profileprobe.exe"}));
  }

  // Starts the program, opens the dialog from the tray once the adapter is found and moves to
  // tab `tab` with the arrow keys.
  HWND OpenOnTab(int tab) {
    if (main_ == nullptr && StartProgram() == nullptr) return nullptr;
    HWND dialog = nullptr;
    // The dialog opens from the first start on, but the adapter is selected by a later tick,
    // which also names the profile in use: until the profile selector shows it, the dialog is
    // closed and opened again.
    WaitUntil([&]() {
      SendTrayMouse(main_, WM_LBUTTONDBLCLK);
      dialog = WaitForSettingsDialog(main_, 5000);
      if (dialog == nullptr) return false;
      if (SendDlgItemMessageA(dialog, kIdProfileSelector, CB_GETCURSEL, 0, 0) >= 0) return true;
      PostMessageA(dialog, WM_COMMAND, IDCANCEL, 0);
      WaitForWindowGone(dialog, 5000);
      dialog = nullptr;
      return false;
    }, 30000);
    if (dialog == nullptr) return nullptr;
    for (int i = 0; i < tab; ++i) PressKeys(GetDlgItem(dialog, kIdTabs), {VK_RIGHT});
    WaitUntil([&]() { return CurrentTab(dialog) == tab && PageOf(dialog) != nullptr; }, 10000);
    return dialog;
  }
};

TEST_F(SurveyPagesUnderWine, ScanListsTheNetworksAndADoubleClickJoinsOne) {
  HWND dialog = OpenOnTab(2);
  ASSERT_NE(nullptr, dialog);
  HWND page = PageOf(dialog);
  HWND list = GetDlgItem(page, kIdList);
  HWND rescan = GetDlgItem(page, kIdRescan);
  ASSERT_NE(nullptr, list);
  ASSERT_NE(nullptr, rescan);

  Click(page, kIdRescan);
  // The simulated survey takes three seconds; then Re-Scan comes back with the full list.
  ASSERT_TRUE(WaitUntil([&]() { return !IsWindowEnabled(rescan); }, 5000));
  ASSERT_TRUE(WaitUntil([&]() { return IsWindowEnabled(rescan); }, 20000));
  ASSERT_EQ(4, static_cast<int>(SendMessageA(list, LVM_GETITEMCOUNT, 0, 0)));
  const int lighthouse = RowOf(list, "Lighthouse");
  ASSERT_GE(lighthouse, 0);
  EXPECT_EQ("00-40-96-B2-00-01", Cell(list, lighthouse, 0));
  EXPECT_EQ("6", Cell(list, lighthouse, 3));
  EXPECT_EQ("Infrastructure", Cell(list, lighthouse, 5));
  EXPECT_EQ("Ad-Hoc", Cell(list, RowOf(list, "Picnic"), 5));
  EXPECT_EQ("11", Cell(list, RowOf(list, ""), 3));
  EXPECT_NE(std::string::npos, Cell(list, RowOf(list, "Harbour"), 2).find(" %"));
  // All six columns fit the list: no horizontal scroll bar hides the last.
  RECT client{};
  ASSERT_TRUE(GetClientRect(list, &client));
  LRESULT columns = 0;
  for (int i = 0; i < 6; ++i) columns += SendMessageA(list, LVM_GETCOLUMNWIDTH, i, 0);
  EXPECT_LE(columns, client.right);
  EXPECT_EQ(0, GetWindowLongA(list, GWL_STYLE) & WS_HSCROLL);

  // The channel view in place of the list: the same networks on their channels, as the graph
  // draws them (its text names what it shows), and under it the one channel none of their
  // bands reaches.
  Click(page, kIdViewChannels);
  HWND graph = GetDlgItem(page, kIdGraph);
  ASSERT_TRUE(WaitUntil([&]() { return IsWindowVisible(graph) && !IsWindowVisible(list); }, 5000));
  const std::string drawn = TextOf(page, kIdGraph);
  for (const char* network : {"Harbour: Channel 1, ", "Lighthouse: Channel 6, ",
                              "Picnic: Channel 3, ", "00-40-96-D4-00-01: Channel 11, "}) {
    EXPECT_NE(std::string::npos, drawn.find(network)) << drawn;
  }
  // The score of what was drawn, over the card's channels 1 to 11.
  std::vector<ChannelNetwork> scored;
  const std::regex entry(": Channel ([0-9]+), ([0-9]+) %");
  for (auto it = std::sregex_iterator(drawn.begin(), drawn.end(), entry);
       it != std::sregex_iterator(); ++it) {
    scored.push_back({static_cast<std::uint8_t>(std::stoi((*it)[1])), std::stoi((*it)[2])});
  }
  ASSERT_EQ(4u, scored.size()) << drawn;
  const std::vector<std::uint8_t> domain = {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11};
  EXPECT_EQ("Least crowded channel: " + std::to_string(ScoreChannels(scored, domain).best),
            TextOf(page, kIdLeastCrowded));
  // What reached the screen is the graph's own picture, not the window's background.
  RECT box{};
  GetWindowRect(graph, &box);
  HDC screen = GetDC(nullptr);
  int colours = 0;
  COLORREF last = CLR_INVALID;
  for (int x = box.left + 4; x < box.right - 4; x += 2) {
    const COLORREF c = GetPixel(screen, x, (box.top + box.bottom) / 2 + 20);
    colours += c != last ? 1 : 0;
    last = c;
  }
  ReleaseDC(nullptr, screen);
  EXPECT_GT(colours, 2);
  Click(page, kIdViewList);
  ASSERT_TRUE(WaitUntil([&]() { return IsWindowVisible(list); }, 5000));

  // A double-click on Lighthouse joins it and shows the Status page.
  DoubleClickRow(list, lighthouse);
  ASSERT_TRUE(WaitUntil([&]() { return CurrentTab(dialog) == 0; }, 10000));
  EXPECT_TRUE(WaitForWindowGone(page, 10000));
  // The Status page's line names the network joined once the card is on it.
  HWND status = PageOf(dialog);
  ASSERT_NE(nullptr, status);
  EXPECT_TRUE(WaitUntil([&]() {
    return TextOf(status, 1003).find("00-40-96-B2-00-01") != std::string::npos;
  }, 30000)) << TextOf(status, 1003);
  // A driver started afresh from the driver key comes up on the network joined.
  std::string output;
  ASSERT_EQ(0u, RunCommand(Quote(folder_ + "profileprobe.exe") + " read state.txt 0 0", folder_,
                           &output))
      << output;
  EXPECT_NE(std::string::npos, ReadText(folder_ + "state.txt").find("ssid=Lighthouse"));

  // A second scan, stopped by Escape: the tab control is free at once.
  for (int i = 0; i < 2; ++i) PressKeys(GetDlgItem(dialog, kIdTabs), {VK_RIGHT});
  ASSERT_TRUE(WaitUntil([&]() { return CurrentTab(dialog) == 2 && PageOf(dialog) != nullptr; },
                      10000));
  page = PageOf(dialog);
  rescan = GetDlgItem(page, kIdRescan);
  // Re-Scan pressed with the mouse disables itself; Escape from the keyboard still reaches
  // the page and stops the survey.
  ASSERT_TRUE(MouseClick(rescan));
  ASSERT_TRUE(WaitUntil([&]() { return !IsWindowEnabled(rescan); }, 5000));
  PressKeyInput(VK_ESCAPE);
  EXPECT_TRUE(WaitUntil([&]() { return IsWindowEnabled(rescan); }, 2000));
  ASSERT_TRUE(IsWindow(dialog) && IsWindowVisible(dialog)) << "Escape closes nothing on this page";
  PressKeys(GetDlgItem(dialog, kIdTabs), {VK_LEFT});
  EXPECT_TRUE(WaitUntil([&]() { return CurrentTab(dialog) == 1; }, 5000));

  PostMessageA(dialog, WM_COMMAND, IDCANCEL, 0);
  EXPECT_TRUE(WaitForWindowGone(dialog, 20000));
}

TEST_F(SurveyPagesUnderWine, CountersGrowWhileAssociatedAndResetBringsThemBack) {
  HWND dialog = OpenOnTab(1);
  ASSERT_NE(nullptr, dialog);
  HWND page = PageOf(dialog);
  ASSERT_NE(nullptr, page);
  auto counter = [&](int id) {
    char text[32] = {};
    GetWindowTextA(GetDlgItem(page, id), text, sizeof text);
    return std::strtoul(text, nullptr, 10);
  };
  // Data frames received: they grow with the ticks once the card is associated.
  ASSERT_TRUE(WaitUntil([&]() { return counter(1073) > 0; }, 20000));
  const unsigned long before = counter(1073);
  ASSERT_TRUE(WaitUntil([&]() { return counter(1073) > before; }, 10000));
  const unsigned long grown = counter(1073);

  // Escape does nothing on this page; Enter presses Reset, and right after it the counters
  // start again from nothing.
  PressKeys(page, {VK_ESCAPE, VK_RETURN});
  ASSERT_TRUE(WaitUntil([&]() { return counter(1073) < grown; }, 5000));
  EXPECT_LT(counter(1073), grown / 2 + 10);
  EXPECT_TRUE(IsWindow(dialog));
  EXPECT_TRUE(IsWindowVisible(page));
  PostMessageA(dialog, WM_COMMAND, IDCANCEL, 0);
  EXPECT_TRUE(WaitForWindowGone(dialog, 20000));
}

// Opening and closing each page many times leaves the program's GDI and USER objects, and its
// windows, as they were once the first round has loaded what stays loaded. (Wine does not
// count GDI and USER objects: there the window count is what tells.)
TEST_F(SurveyPagesUnderWine, PagesLeaveNoHandlesBehind) {
  HWND dialog = OpenOnTab(0);
  ASSERT_NE(nullptr, dialog);
  HANDLE process = OpenProcess(PROCESS_QUERY_INFORMATION, FALSE, program_.id);
  ASSERT_NE(nullptr, process);
  auto cycle = [&](int tab) {
    for (int i = 0; i < tab; ++i) PressKeys(GetDlgItem(dialog, kIdTabs), {VK_RIGHT});
    WaitUntil([&]() { return CurrentTab(dialog) == tab && PageOf(dialog) != nullptr; }, 10000);
    for (int i = 0; i < tab; ++i) PressKeys(GetDlgItem(dialog, kIdTabs), {VK_LEFT});
    WaitUntil([&]() { return CurrentTab(dialog) == 0; }, 10000);
  };
  for (int tab : {1, 2}) {
    SCOPED_TRACE(tab);
    cycle(tab);
    const DWORD gdi = GetGuiResources(process, GR_GDIOBJECTS);
    const DWORD user = GetGuiResources(process, GR_USEROBJECTS);
    const int windows = WindowCount(program_.id);
    for (int i = 0; i < 50; ++i) cycle(tab);
    EXPECT_EQ(windows, WindowCount(program_.id));
    EXPECT_LE(GetGuiResources(process, GR_GDIOBJECTS), gdi);
    EXPECT_LE(GetGuiResources(process, GR_USEROBJECTS), user);
    std::printf("tab %d: GDI %lu -> %lu, USER %lu -> %lu, windows %d -> %d\n", tab, gdi,
                GetGuiResources(process, GR_GDIOBJECTS), user,
                GetGuiResources(process, GR_USEROBJECTS), windows, WindowCount(program_.id));
  }
  CloseHandle(process);
  PostMessageA(dialog, WM_COMMAND, IDCANCEL, 0);
  EXPECT_TRUE(WaitForWindowGone(dialog, 20000));
}

}  // namespace
}  // namespace linkscope::testing
