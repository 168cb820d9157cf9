// The Wine soak (scripts/soak): the real program on the simulated card for SECONDS, the
// environment file rewritten every second (signal swings, networks coming and going, the card
// pulled out now and then) and the settings dialog opened, paged through (a survey on the Site
// Survey page) and closed again and again. Every minute it prints what the program holds:
// GDI and USER objects as Windows reports them (GetGuiResources), its windows (counted here),
// the icons and bitmaps it says it holds itself, its kernel handles and its private memory.
// The first line after the warm-up and the last one are the figures; they are a report, not a
// pass mark. Exit code 0 when the program ran the whole time and ended when asked.
//
//   soak.exe SECONDS

#include <windows.h>
#include <psapi.h>

#include <cstdio>
#include <cstdlib>
#include <string>

#include "win32/ProcessHelpers.h"
#include "win32/UiDriver.h"

namespace linkscope::testing {
namespace {

std::string Environment(int second) {
  // The card is out for two seconds of every 47; networks come and go; signals swing.
  const bool present = second % 47 < 45;
  std::string text =
      "{\"adapters\": [{\"displayName\": \"ORVEX PCMCIA Skyrelay (K1)\", \"serviceName\": "
      "\"SKYSOAK\", \"hardwareId\": \"PCMCIA\\\\ORVEX-SKYRELAY_K1-5D2A\", \"cardType\": 12, "
      "\"mac\": \"00-60-1D-4A-21-07\", \"present\": ";
  text += present ? "true" : "false";
  text += ", \"parameters\": {\"ESSID\": \"Harbour\", \"Channel\": 1}}], \"networks\": [";
  const int networks = 2 + second % 9;
  for (int i = 0; i < networks; ++i) {
    const std::string ssid = i == 0 ? std::string("Harbour") : "Passing " + std::to_string(i);
    char network[200];
    std::snprintf(network, sizeof network,
                  "%s{\"bssid\": \"00-40-96-A1-00-%02X\", \"ssid\": \"%s\", \"channel\": %d, "
                  "\"signal\": %d}",
                  i == 0 ? "" : ", ", i, ssid.c_str(), i == 0 ? 1 : 1 + (i * 3) % 11,
                  (second * 7 + i * 13) % 101);
    text += network;
  }
  text += "]}";
  return text;
}

struct Figures {
  DWORD gdi = 0, user = 0, handles = 0;
  int windows = 0;
  long ownIcons = -1, ownBitmaps = -1;
  SIZE_T privateBytes = 0, workingSet = 0;
  // What the program's heaps hold (it walks them when asked), as against what the process has.
  unsigned long long heapBytes = 0;
};

struct WindowCount {
  DWORD process;
  int count;
};

BOOL CALLBACK CountChild(HWND, LPARAM data) {
  ++reinterpret_cast<WindowCount*>(data)->count;
  return TRUE;
}

BOOL CALLBACK CountTop(HWND window, LPARAM data) {
  auto* counting = reinterpret_cast<WindowCount*>(data);
  DWORD owner = 0;
  GetWindowThreadProcessId(window, &owner);
  if (owner == counting->process) {
    ++counting->count;
    EnumChildWindows(window, CountChild, data);
  }
  return TRUE;
}

Figures Measure(const Process& program, HWND main) {
  Figures f;
  f.gdi = GetGuiResources(program.handle, GR_GDIOBJECTS);
  f.user = GetGuiResources(program.handle, GR_USEROBJECTS);
  GetProcessHandleCount(program.handle, &f.handles);
  WindowCount counting{program.id, 0};
  EnumWindows(CountTop, reinterpret_cast<LPARAM>(&counting));
  f.windows = counting.count;
  // The program answers this message with the icons (low word) and bitmaps (high word) it
  // holds.
  DWORD_PTR own = 0;
  if (SendMessageTimeoutA(main, RegisterWindowMessageA("LinkscopeResourceCounts"), 0, 0,
                          SMTO_ABORTIFHUNG, 5000, &own) != 0) {
    f.ownIcons = static_cast<long>(LOWORD(own));
    f.ownBitmaps = static_cast<long>(HIWORD(own));
  }
  DWORD_PTR heap = 0;
  if (SendMessageTimeoutA(main, RegisterWindowMessageA("LinkscopeResourceCounts"), 1, 0,
                          SMTO_ABORTIFHUNG, 5000, &heap) != 0) {
    f.heapBytes = heap;
  }
  PROCESS_MEMORY_COUNTERS_EX memory{};
  memory.cb = sizeof memory;
  if (GetProcessMemoryInfo(program.handle, reinterpret_cast<PROCESS_MEMORY_COUNTERS*>(&memory),
                           sizeof memory)) {
    f.privateBytes = memory.PrivateUsage;
    f.workingSet = memory.WorkingSetSize;
  }
  return f;
}

struct Answering {
  DWORD process;
  int answered;
};

BOOL CALLBACK AnswerMessage(HWND window, LPARAM data) {
  auto* answering = reinterpret_cast<Answering*>(data);
  DWORD owner = 0;
  GetWindowThreadProcessId(window, &owner);
  char cls[16] = {}, title[64] = {};
  GetClassNameA(window, cls, sizeof cls);
  GetWindowTextA(window, title, sizeof title);
  // The program's message boxes carry its name as their caption (the dialog is "Linkscope
  // Utility"); a pulled card makes pages say they cannot read it.
  if (owner == answering->process && std::string(cls) == "#32770" && IsWindowVisible(window) &&
      std::string(title) == "Linkscope") {
    PostMessageA(window, WM_COMMAND, IDOK, 0);
    ++answering->answered;
  }
  return TRUE;
}

// Answers the program's open message boxes with OK, as a person would; never waits on it.
int AnswerMessages(DWORD process) {
  Answering answering{process, 0};
  EnumWindows(AnswerMessage, reinterpret_cast<LPARAM>(&answering));
  return answering.answered;
}

int messagesAnswered = 0;

void Print(const char* when, DWORD seconds, const Figures& f) {
  std::printf("%-6s %6lus  gdi %4lu  user %4lu  windows %4d  own icons %3ld  own bitmaps %3ld  "
              "handles %4lu  private %6lu KiB  working set %6lu KiB  heaps %7llu B\n",
              when, static_cast<unsigned long>(seconds), static_cast<unsigned long>(f.gdi),
              static_cast<unsigned long>(f.user), f.windows, f.ownIcons, f.ownBitmaps,
              static_cast<unsigned long>(f.handles),
              static_cast<unsigned long>(f.privateBytes / 1024),
              static_cast<unsigned long>(f.workingSet / 1024), f.heapBytes);
  std::fflush(stdout);
}

// One visit of the settings dialog: every tab, a survey on the Site Survey page, then Exit.
// Returns whether the dialog opened (a pulled card may close it at any moment).
// Messages go to the program by post or with a time limit: a page that shows a message box
// holds its thread until the box is answered.
bool VisitDialog(const Process& program, HWND main, const std::string& environment,
                 DWORD* second, DWORD start) {
  SendTrayMouse(main, WM_LBUTTONDBLCLK);
  HWND dialog = WaitForSettingsDialog(main, 10000);
  if (dialog == nullptr) return false;
  HWND tabs = GetDlgItem(dialog, 1003);
  for (int tab = 0; tab < 7 && IsWindow(dialog); ++tab) {
    DWORD_PTR result = 0;
    SendMessageTimeoutA(tabs, 0x1330 /* TCM_SETCURFOCUS */, tab, 0, SMTO_NORMAL, 3000, &result);
    messagesAnswered += AnswerMessages(program.id);
    if (tab == 2) {
      HWND page = FindWindowExA(dialog, nullptr, "#32770", nullptr);
      if (page != nullptr) {
        PostMessageA(page, WM_COMMAND, MAKEWPARAM(1034, BN_CLICKED),
                     reinterpret_cast<LPARAM>(GetDlgItem(page, 1034)));
      }
    }
    // The environment keeps changing while the dialog is up.
    for (int i = 0; i < (tab == 2 ? 4 : 1); ++i) {
      Sleep(1000);
      *second = (GetTickCount() - start) / 1000;
      WriteText(environment, Environment(static_cast<int>(*second)));
      messagesAnswered += AnswerMessages(program.id);
    }
  }
  if (IsWindow(dialog)) PostMessageA(dialog, WM_COMMAND, IDCANCEL, 0);
  for (int i = 0; i < 10 && IsWindow(dialog); ++i) {
    messagesAnswered += AnswerMessages(program.id);
    WaitForWindowGone(dialog, 1000);
  }
  return true;
}

}  // namespace
}  // namespace linkscope::testing

int main(int argc, char** argv) {
  using namespace linkscope::testing;
  const DWORD seconds = argc > 1 ? static_cast<DWORD>(std::atoi(argv[1])) : 600;
  const std::string folder = ProgramCopy(
      "soak", {"linkscope.exe", "W32N50.dll", "adapterinstall.exe", "res\\Wlan.ini",
               "res\\linkscope-logo.bmp"});
  if (folder.empty()) {
    std::puts("soak: cannot copy the program");
    return 2;
  }
  const std::string environment = folder + "W32N50-environment.json";
  WriteText(environment, Environment(0));
  std::string output;
  if (RunCommand(Quote(folder + "adapterinstall.exe") + " install " + Quote(environment), folder,
                 &output) != 0) {
    std::printf("soak: adapterinstall failed: %s\n", output.c_str());
    return 2;
  }
  Process program;
  if (!Start(folder + "linkscope.exe", folder, &program)) return 3;
  HWND main = WaitForWindow("Linkscope Utility", 30000);
  if (main == nullptr || !WaitForTrayIcon(main, true, 30000)) {
    std::puts("soak: the program or its icon never came");
    Close(&program);
    return 3;
  }

  std::puts("soak: the program runs with its icon; a minute's warm-up");
  std::fflush(stdout);
  const DWORD start = GetTickCount();
  DWORD second = 0, nextReport = 60, visits = 0, rewrites = 0;
  bool warm = false;
  Figures first, last;
  while (second < seconds) {
    if (WaitForSingleObject(program.handle, 0) == WAIT_OBJECT_0) {
      std::printf("soak: the program ended by itself after %lus\n",
                  static_cast<unsigned long>(second));
      return 4;
    }
    if (second % 15 == 5 && VisitDialog(program, main, environment, &second, start)) ++visits;
    messagesAnswered += AnswerMessages(program.id);
    Sleep(1000);
    second = (GetTickCount() - start) / 1000;
    WriteText(environment, Environment(static_cast<int>(second)));
    ++rewrites;
    // After a first minute the program has built every page once: from here on nothing
    // should grow.
    if (!warm && second >= 60) {
      warm = true;
      first = Measure(program, main);
      Print("start", second, first);
      nextReport = second + 60;
    } else if (warm && second >= nextReport) {
      Print("", second, Measure(program, main));
      nextReport += 60;
    }
  }
  // The card in, the dialog shut: the same state as at the first figures.
  WriteText(environment, Environment(0));
  for (int i = 0; i < 3; ++i) {
    messagesAnswered += AnswerMessages(program.id);
    Sleep(1000);
  }
  last = Measure(program, main);
  Print("end", (GetTickCount() - start) / 1000, last);
  std::printf("soak: %lus, %lu environment rewrites, %lu dialog visits, %d message boxes "
              "answered\n",
              static_cast<unsigned long>((GetTickCount() - start) / 1000),
              static_cast<unsigned long>(rewrites), static_cast<unsigned long>(visits),
              messagesAnswered);
  std::fflush(stdout);

  PostMessageA(main, WM_CLOSE, 0, 0);
  HWND question = WaitForWindow("Save changes?", 10000);
  if (question != nullptr) PostMessageA(question, WM_COMMAND, IDNO, 0);
  DWORD code = 0;
  const bool ended = WaitForExit(program, 30000, &code);
  Close(&program);
  RunCommand(Quote(folder + "adapterinstall.exe") + " remove", folder, &output);
  return ended ? 0 : 5;
}
