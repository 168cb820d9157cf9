// How soon Escape takes effect while the Site Survey page follows a scan: the real program
// on a simulated card, driven from outside as a person would. Each round clicks Re-Scan with
// the mouse, waits until the scan runs, presses Escape on the keyboard and times until Re-Scan
// is enabled again. Prints the figures;
// not a test. Run it under Wine from build/mingw/bin (it installs and removes the card).
//   surveybench [ROUNDS]

#include <windows.h>
#include <commctrl.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "win32/ProcessHelpers.h"
#include "win32/UiDriver.h"

namespace {

using namespace linkscope::testing;

const char* kEnvironment = R"json({"adapters": [{
  "displayName": "ORVEX PCI Skyrelay", "serviceName": "SKYBENCH",
  "instanceId": "{5A1D0000-0000-4000-8000-00000000BE4C}",
  "cardType": 21, "mac": "00-60-1D-00-BE-4C", "parameters": {"ESSID": "Harbour"}}],
  "networks": [{"bssid": "00-40-96-A1-00-01", "ssid": "Harbour", "channel": 1, "signal": 80}]})json";

double Now() {
  LARGE_INTEGER f, c;
  QueryPerformanceFrequency(&f);
  QueryPerformanceCounter(&c);
  return static_cast<double>(c.QuadPart) / static_cast<double>(f.QuadPart);
}

template <typename F>
bool WaitFor(F condition, double seconds) {
  const double start = Now();
  while (!condition()) {
    if (Now() - start > seconds) return false;
    Sleep(1);
  }
  return true;
}

}  // namespace

int main(int argc, char** argv) {
  const int rounds = argc > 1 ? std::atoi(argv[1]) : 20;
  const std::string folder = ProgramCopy(
      "survey_bench", {"linkscope.exe", "W32N50.dll", "adapterinstall.exe", "res\\Wlan.ini"});
  if (folder.empty()) return 2;
  WriteText(folder + "W32N50-environment.json", kEnvironment);
  std::string output;
  if (RunCommand(Quote(folder + "adapterinstall.exe") + " install W32N50-environment.json",
                 folder, &output) != 0) {
    std::fputs(output.c_str(), stderr);
    return 3;
  }
  Process program;
  int rc = 0;
  std::vector<double> latencies;
  HWND main = nullptr;
  HWND dialog = nullptr;
  if (!Start(folder + "linkscope.exe", folder, &program) ||
      (main = WaitForWindow("Linkscope Utility", 30000)) == nullptr) {
    rc = 4;
  }
  if (rc == 0) {
    // Until a tick has selected the adapter (and named the profile in use), the dialog is
    // closed and opened again.
    WaitFor([&]() {
      SendTrayMouse(main, WM_LBUTTONDBLCLK);
      dialog = WaitForSettingsDialog(main, 5000);
      if (dialog == nullptr) return false;
      if (SendDlgItemMessageA(dialog, 1085, CB_GETCURSEL, 0, 0) >= 0) return true;
      PostMessageA(dialog, WM_COMMAND, IDCANCEL, 0);
      WaitForWindowGone(dialog, 5000);
      dialog = nullptr;
      return false;
    }, 30.0);
    if (dialog == nullptr) rc = 5;
  }
  HWND page = nullptr;
  if (rc == 0) {
    HWND tabs = GetDlgItem(dialog, 1003);
    PressKeys(tabs, {VK_RIGHT, VK_RIGHT});
    WaitFor([&]() {
      page = FindWindowExA(dialog, nullptr, "#32770", nullptr);
      return SendMessageA(tabs, TCM_GETCURSEL, 0, 0) == 2 && page != nullptr &&
             GetDlgItem(page, 1034) != nullptr;
    }, 10.0);
    if (page == nullptr) rc = 6;
  }
  for (int i = 0; rc == 0 && i < rounds; ++i) {
    // Re-Scan pressed with the mouse (it takes the focus, then disables itself) and Escape
    // from the keyboard, which goes wherever the focus went: the way a person stops a scan.
    HWND rescan = GetDlgItem(page, 1034);
    if (!MouseClick(rescan)) {
      rc = 10;
      break;
    }
    if (!WaitFor([&]() { return !IsWindowEnabled(rescan); }, 5.0)) {
      rc = 7;
      break;
    }
    // Somewhere inside the one-second pause between two polls.
    Sleep(100 + 37 * (i % 20));
    const double start = Now();
    PressKeyInput(VK_ESCAPE);
    if (!WaitFor([&]() { return IsWindowEnabled(rescan) != FALSE; }, 5.0)) {
      rc = 8;
      break;
    }
    latencies.push_back((Now() - start) * 1000);
  }
  if (dialog != nullptr) PostMessageA(dialog, WM_COMMAND, IDCANCEL, 0);
  Close(&program);
  RunCommand(Quote(folder + "adapterinstall.exe") + " remove", folder, &output);
  if (latencies.empty()) {
    std::fprintf(stderr, "no round measured (%d)\n", rc);
    return rc != 0 ? rc : 9;
  }
  std::sort(latencies.begin(), latencies.end());
  std::printf("Escape during a scan until Re-Scan is enabled, %zu rounds: median %.1f ms, "
              "worst %.1f ms\n",
              latencies.size(), latencies[latencies.size() / 2], latencies.back());
  return rc;
}
