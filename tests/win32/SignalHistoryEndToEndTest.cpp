// The signal history window of the real program under Wine on the simulated card: opened from
// the tray menu, its picture follows the signal while the environment file lowers and raises
// it, Save as CSV writes the samples, and opening and closing it leaves nothing behind.

#include <gtest/gtest.h>
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

#include "win32/ProcessHelpers.h"
#include "win32/SimulatedCardProgram.h"
#include "win32/UiDriver.h"

namespace linkscope::testing {
namespace {

std::string Environment(int signal) {
  return R"json({"adapters": [{
  "displayName": "ORVEX PCI Skyrelay", "serviceName": "SKYHIST",
  "instanceId": "{5A1D0000-0000-4000-8000-00000000C0DE}",
  "cardType": 21, "mac": "00-60-1D-00-C0-DE",
  "parameters": {"ESSID": "Harbour", "Channel": 6}}],
  "networks": [{"bssid": "00-40-96-A1-00-01", "ssid": "Harbour", "channel": 6, "signal": )json" +
         std::to_string(signal) + "}]}";
}

// The height, in pixels above the client area's bottom, of the signal line a few seconds ago:
// the topmost pixel of the line's colour on the screen in a column a little left of the plot's
// right edge. -1 without one.
int SignalHeight(HWND window) {
  RECT client{};
  GetClientRect(window, &client);
  POINT origin{0, 0};
  ClientToScreen(window, &origin);
  HDC screen = GetDC(nullptr);
  if (screen == nullptr) return -1;
  const int x = origin.x + client.right - 24;
  int top = -1;
  for (int y = 0; y < client.bottom; ++y) {
    if (GetPixel(screen, x, origin.y + y) == RGB(0, 90, 200)) {
      top = y;
      break;
    }
  }
  ReleaseDC(nullptr, screen);
  return top < 0 ? -1 : client.bottom - top;
}

// The Signal history item: up from the bottom past Exit, About and Settings.
bool OpenHistory(HWND main) { return ChooseFromTrayMenu(main, {VK_UP, VK_UP, VK_UP, VK_UP, VK_RETURN}); }

class SignalHistoryUnderWine : public SimulatedCardProgram {
 protected:
  void SetUp() override { ASSERT_NO_FATAL_FAILURE(Install("history_e2e", Environment(80))); }
};

TEST_F(SignalHistoryUnderWine, FollowsTheSignalSavesTheSamplesAndLeavesNothingBehind) {
  HWND main = StartProgram();
  ASSERT_NE(nullptr, main);
  ASSERT_TRUE(OpenHistory(main));
  HWND history = WaitForWindow("Signal history", kPatienceMs);
  ASSERT_NE(nullptr, history) << VisibleWindows();
  SetWindowPos(history, HWND_TOP, 0, 0, 640, 360, SWP_SHOWWINDOW);
  EXPECT_TRUE(WaitUntil([&] { return SignalHeight(history) > 0; }, 40000));
  const int strong = SignalHeight(history);

  WriteText(environment_, Environment(20));
  EXPECT_TRUE(WaitUntil([&] { return SignalHeight(history) > 0 && SignalHeight(history) < strong - 40; },
                        20000))
      << strong << " then " << SignalHeight(history);
  Sleep(6000);
  WriteText(environment_, Environment(80));
  EXPECT_TRUE(WaitUntil([&] { return SignalHeight(history) >= strong - 10; }, 20000));
  Sleep(3000);
  Screenshot("signal-history");

  // Save as CSV, through the save box.
  const std::string csv = folder_ + "history.csv";
  DeleteFileA(csv.c_str());  // left by an earlier run, it would bring the box's overwrite question
  PostMessageA(history, WM_COMMAND, 3001, 0);
  HWND box = WaitForWindow("Save as CSV...", kPatienceMs);
  ASSERT_NE(nullptr, box) << VisibleWindows();
  // The name's combo box in the Explorer style, its edit box in the old one.
  HWND name = GetDlgItem(box, 1148);
  if (name == nullptr) name = GetDlgItem(box, 1152);
  ASSERT_NE(nullptr, name);
  SendMessageA(name, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(csv.c_str()));
  PostMessageA(box, WM_COMMAND, IDOK, 0);
  ASSERT_TRUE(WaitForWindowGone(box, kPatienceMs));
  ASSERT_TRUE(WaitUntil([&] { return !ReadText(csv).empty(); }, 10000));
  const std::string saved = ReadText(csv);
  EXPECT_EQ(0u, saved.find("time,state,status,bssid,channel,signal_percent,"
                           "link_quality_percent,tx_data_frames,rx_data_frames\r\n"));
  EXPECT_NE(std::string::npos, saved.find(",00-40-96-A1-00-01,6,")) << saved;
  EXPECT_LT(10, static_cast<int>(std::count(saved.begin(), saved.end(), '\n'))) << saved;

  // Closing and opening again: the samples stay, and nothing piles up.
  auto cycle = [&] {
    PostMessageA(history, WM_CLOSE, 0, 0);
    EXPECT_TRUE(WaitForWindowGone(history, kPatienceMs));
    EXPECT_TRUE(OpenHistory(main));
    history = WaitForWindow("Signal history", kPatienceMs);
    EXPECT_TRUE(history != nullptr && WaitUntil([&] { return SignalHeight(history) > 0; }, 10000));
  };
  cycle();
  const int windows = WindowCount(program_.id);
  const LRESULT counts = SendMessageA(main, RegisterWindowMessageA("LinkscopeResourceCounts"), 0, 0);
  for (int i = 0; i < 50 && history != nullptr; ++i) cycle();
  EXPECT_EQ(windows, WindowCount(program_.id));
  EXPECT_EQ(counts, SendMessageA(main, RegisterWindowMessageA("LinkscopeResourceCounts"), 0, 0));

  // Exit from the tray closes it first.
  ASSERT_TRUE(ChooseFromTrayMenu(main, {VK_UP, VK_RETURN}));
  HWND question = WaitForWindow("Save changes?", 5000);
  if (question != nullptr) PressKeys(question, {VK_RETURN});
  DWORD code = 1;
  EXPECT_TRUE(WaitForExit(program_, 30000, &code));
  EXPECT_EQ(0u, code);
}

}  // namespace
}  // namespace linkscope::testing
