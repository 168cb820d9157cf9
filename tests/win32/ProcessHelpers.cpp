#include "win32/ProcessHelpers.h"

#include <fstream>
#include <sstream>
#include <vector>

#include "win32/Win32WindowSystem.h"

namespace linkscope::testing {

std::string ProgramFolder() {
  char path[MAX_PATH];
  const DWORD n = GetModuleFileNameA(nullptr, path, MAX_PATH);
  std::string s(path, n);
  return s.substr(0, s.find_last_of("\\/") + 1);
}

bool Start(const std::string& exe, const std::string& workingDir, Process* process) {
  STARTUPINFOA si{};
  si.cb = sizeof si;
  PROCESS_INFORMATION pi{};
  std::vector<char> commandLine(exe.begin(), exe.end());
  commandLine.insert(commandLine.begin(), '"');
  commandLine.push_back('"');
  commandLine.push_back('\0');
  if (!CreateProcessA(exe.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr,
                      workingDir.empty() ? nullptr : workingDir.c_str(), &si, &pi)) {
    return false;
  }
  CloseHandle(pi.hThread);
  process->handle = pi.hProcess;
  process->id = pi.dwProcessId;
  return true;
}

bool WaitForExit(const Process& process, DWORD ms, DWORD* exitCode) {
  const DWORD start = GetTickCount();
  for (;;) {
    const DWORD elapsed = GetTickCount() - start;
    if (elapsed >= ms) return false;
    const DWORD rc = MsgWaitForMultipleObjects(1, &process.handle, FALSE, ms - elapsed,
                                               QS_ALLINPUT);
    if (rc == WAIT_OBJECT_0) {
      GetExitCodeProcess(process.handle, exitCode);
      return true;
    }
    if (rc != WAIT_OBJECT_0 + 1) return false;
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
      TranslateMessage(&msg);
      DispatchMessageA(&msg);
    }
  }
}

bool WaitUntil(const std::function<bool()>& condition, DWORD ms) {
  const DWORD start = GetTickCount();
  for (;;) {
    if (condition()) return true;
    if (GetTickCount() - start >= ms) return false;
    Sleep(50);
  }
}

HWND WaitForWindow(const std::string& title, DWORD ms) {
  const DWORD start = GetTickCount();
  Win32WindowSystem windows(GetModuleHandleA(nullptr));
  do {
    if (WindowHandle found = windows.FindTopLevelWindow(title)) return reinterpret_cast<HWND>(found);
    Sleep(50);
  } while (GetTickCount() - start < ms);
  return nullptr;
}

void Close(Process* process) {
  if (process->handle != nullptr) {
    DWORD code = 0;
    if (GetExitCodeProcess(process->handle, &code) && code == STILL_ACTIVE) {
      TerminateProcess(process->handle, 99);
      WaitForSingleObject(process->handle, 10000);
    }
    CloseHandle(process->handle);
  }
  process->handle = nullptr;
}

std::string ProgramCopy(const std::string& name, const std::vector<const char*>& files) {
  const std::string bin = ProgramFolder();
  const std::string folder = bin + name + "\\";
  CreateDirectoryA(folder.c_str(), nullptr);
  CreateDirectoryA((folder + "res").c_str(), nullptr);
  for (const char* file : files) {
    if (!CopyFileA((bin + file).c_str(), (folder + file).c_str(), FALSE)) return std::string();
  }
  return folder;
}

bool SetWineVersion(const std::string& exeName, const std::string& version) {
  HKEY key = nullptr;
  const std::string path = "Software\\Wine\\AppDefaults\\" + exeName;
  if (RegCreateKeyExA(HKEY_CURRENT_USER, path.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr,
                      &key, nullptr) != ERROR_SUCCESS) {
    return false;
  }
  const LONG rc = RegSetValueExA(key, "Version", 0, REG_SZ,
                                 reinterpret_cast<const BYTE*>(version.c_str()),
                                 static_cast<DWORD>(version.size() + 1));
  RegCloseKey(key);
  return rc == ERROR_SUCCESS;
}

void ClearWineVersion(const std::string& exeName) {
  RegDeleteTreeA(HKEY_CURRENT_USER, ("Software\\Wine\\AppDefaults\\" + exeName).c_str());
}

// Runs a command line in `dir`, its output (both streams) into *output; the exit code, or
// 999 when it could not run or did not end within a minute.
DWORD RunCommand(const std::string& commandLine, const std::string& dir, std::string* output) {
  const std::string outPath = dir + "run-output.txt";
  SECURITY_ATTRIBUTES sa{sizeof sa, nullptr, TRUE};
  HANDLE out = CreateFileA(outPath.c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE,
                           &sa, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (out == INVALID_HANDLE_VALUE) return 999;
  STARTUPINFOA si{};
  si.cb = sizeof si;
  si.dwFlags = STARTF_USESTDHANDLES;
  si.hStdInput = GetStdHandle(STD_INPUT_HANDLE);
  si.hStdOutput = out;
  si.hStdError = out;
  PROCESS_INFORMATION pi{};
  std::vector<char> line(commandLine.begin(), commandLine.end());
  line.push_back('\0');
  const BOOL started = CreateProcessA(nullptr, line.data(), nullptr, nullptr, TRUE,
                                      CREATE_NO_WINDOW, nullptr, dir.c_str(), &si, &pi);
  CloseHandle(out);
  if (!started) return 999;
  CloseHandle(pi.hThread);
  DWORD code = 999;
  if (WaitForSingleObject(pi.hProcess, 60000) == WAIT_OBJECT_0) {
    GetExitCodeProcess(pi.hProcess, &code);
  } else {
    TerminateProcess(pi.hProcess, 999);
  }
  CloseHandle(pi.hProcess);
  if (output != nullptr) {
    std::ifstream f(outPath, std::ios::binary);
    std::stringstream s;
    s << f.rdbuf();
    *output = s.str();
  }
  return code;
}

std::string Quote(const std::string& s) { return "\"" + s + "\""; }

void WriteText(const std::string& path, const std::string& text) {
  std::ofstream f(path, std::ios::binary | std::ios::trunc);
  f << text;
}

std::string ReadText(const std::string& path) {
  std::ifstream f(path, std::ios::binary);
  std::stringstream s;
  s << f.rdbuf();
  return s.str();
}

}  // namespace linkscope::testing
