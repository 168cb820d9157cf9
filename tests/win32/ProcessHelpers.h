#pragma once
// Starting and watching other programs from a Win32 test.

#include <windows.h>

#include <functional>
#include <initializer_list>
#include <string>
#include <vector>

namespace linkscope::testing {

// The folder of the running test program, with a trailing backslash.
std::string ProgramFolder();

struct Process {
  HANDLE handle = nullptr;
  DWORD id = 0;
};

// Starts `exe` (a path) with `workingDir` as its current directory; false on failure.
bool Start(const std::string& exe, const std::string& workingDir, Process* process);
// Waits up to `ms` for the process to end, pumping this thread's messages meanwhile so that
// other programs may ask our windows for their titles. True and the exit code when it ended.
bool WaitForExit(const Process& process, DWORD ms, DWORD* exitCode);
// How long a test waits for the program to do something before it gives up: far longer than
// anything takes on a loaded machine, because a wait ends as soon as its condition holds.
constexpr DWORD kPatienceMs = 60000;
// Checks `condition` until it holds (true) or `ms` have passed (false).
bool WaitUntil(const std::function<bool()>& condition, DWORD ms = kPatienceMs);
// Waits up to `ms` for a top-level window with exactly this title.
HWND WaitForWindow(const std::string& title, DWORD ms);
void Close(Process* process);

// Runs a command line in `dir`, its output (both streams) into *output; the exit code, or
// 999 when it could not run or did not end within a minute.
DWORD RunCommand(const std::string& commandLine, const std::string& dir, std::string* output);
std::string Quote(const std::string& s);
void WriteText(const std::string& path, const std::string& text);
std::string ReadText(const std::string& path);

// A folder `name` beside the test program holding copies of the program's files (paths such
// as "res\\Wlan.ini" keep their folder); its path with a trailing backslash, or "" when a
// copy failed.
std::string ProgramCopy(const std::string& name, const std::vector<const char*>& files);

// Sets or removes HKCU\Software\Wine\AppDefaults\<exeName>\Version.
bool SetWineVersion(const std::string& exeName, const std::string& version);
void ClearWineVersion(const std::string& exeName);

}  // namespace linkscope::testing
