#include "win32/ProcessHelpers.h"

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

}  // namespace linkscope::testing
