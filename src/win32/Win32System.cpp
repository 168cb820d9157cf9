#include "win32/Win32System.h"

#include <winsock2.h>
#include <windows.h>

#include <cstdio>
#include <vector>

namespace linkscope {

Win32System::~Win32System() {
  if (socketsStarted_) WSACleanup();
}

bool Win32System::GetVersion(OsVersion* version) {
  OSVERSIONINFOA info{};
  info.dwOSVersionInfoSize = sizeof info;
#if defined(__GNUC__)
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wdeprecated-declarations"
#endif
  // The version the system reports to this program (compatibility settings included) is the
  // one the program must branch on, so the reported version is wanted, not the true one.
  const BOOL ok = GetVersionExA(&info);
#if defined(__GNUC__)
#pragma GCC diagnostic pop
#endif
  if (!ok) return false;
  version->major = info.dwMajorVersion;
  version->minor = info.dwMinorVersion;
  version->build = info.dwBuildNumber;
  version->platform = info.dwPlatformId;
  version->servicePack = info.szCSDVersion;
  return true;
}

void Win32System::Beep(std::uint32_t kind) { MessageBeep(kind); }

void Win32System::Sleep(std::uint32_t milliseconds) { ::Sleep(milliseconds); }

std::uint32_t Win32System::TickCount() { return GetTickCount(); }

std::string Win32System::CurrentDirectory() {
  const DWORD needed = GetCurrentDirectoryA(0, nullptr);
  if (needed == 0) return std::string();
  std::vector<char> buffer(needed + 1);
  const DWORD length = GetCurrentDirectoryA(static_cast<DWORD>(buffer.size()), buffer.data());
  if (length == 0 || length >= buffer.size()) return std::string();
  return std::string(buffer.data(), length);
}

std::string Win32System::LocalTime() {
  SYSTEMTIME t;
  GetLocalTime(&t);
  char text[32];
  std::snprintf(text, sizeof text, "%04u-%02u-%02u %02u:%02u:%02u", t.wYear, t.wMonth, t.wDay,
                t.wHour, t.wMinute, t.wSecond);
  return text;
}

bool Win32System::WriteWholeFile(const std::string& path, const std::string& bytes) {
  HANDLE file = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                            FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return false;
  DWORD written = 0;
  const BOOL wrote = ::WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written,
                                 nullptr);
  // A full disk may only show when the last buffer goes out.
  const BOOL closed = CloseHandle(file);
  return wrote && closed && written == bytes.size();
}

EventHandle Win32System::MakeEvent(bool manualReset, bool initiallySignalled) {
  HANDLE h = CreateEventA(nullptr, manualReset, initiallySignalled, nullptr);
  return reinterpret_cast<EventHandle>(h);
}

void Win32System::CloseEvent(EventHandle event) {
  if (event != 0) CloseHandle(reinterpret_cast<HANDLE>(event));
}

namespace {
std::wstring Wide(const std::string& text) {
  if (text.empty()) return std::wstring();
  const int n = MultiByteToWideChar(CP_ACP, 0, text.data(), static_cast<int>(text.size()),
                                    nullptr, 0);
  std::wstring wide(static_cast<std::size_t>(n), L'\0');
  MultiByteToWideChar(CP_ACP, 0, text.data(), static_cast<int>(text.size()), &wide[0], n);
  return wide;
}
}  // namespace

bool Win32System::DefineDosName(std::uint32_t flags, const std::string& name,
                                const std::string& target) {
  // The wide function: Wine's ANSI one frees memory it does not own and corrupts the heap.
  return DefineDosDeviceW(flags, Wide(name).c_str(), Wide(target).c_str()) != 0;
}

bool Win32System::StartSockets() {
  if (socketsStarted_) return true;
  WSADATA data{};
  socketsStarted_ = WSAStartup(MAKEWORD(1, 1), &data) == 0;
  return socketsStarted_;
}

void Win32System::EndProcess(int exitCode) { ExitProcess(static_cast<UINT>(exitCode)); }

}  // namespace linkscope
