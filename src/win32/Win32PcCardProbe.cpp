#include "win32/Win32PcCardProbe.h"

#include <windows.h>

namespace linkscope {

namespace {
constexpr DWORD kGetCardPort = 0x220000;
constexpr std::uint16_t kEmptySlot = 0xFFFF;
}  // namespace

bool Win32PcCardProbe::QueryCardPort(const std::string& cardIdentifier, std::uint16_t* port) {
  HANDLE device = CreateFileA("\\\\.\\mpstub.vxd", 0, 0, nullptr, CREATE_NEW,
                              FILE_FLAG_DELETE_ON_CLOSE, nullptr);
  if (device == INVALID_HANDLE_VALUE) return false;
  BYTE out[2] = {};
  DWORD returned = 0;
  const BOOL ok = DeviceIoControl(device, kGetCardPort, const_cast<char*>(cardIdentifier.data()),
                                  static_cast<DWORD>(cardIdentifier.size()), out, sizeof out,
                                  &returned, nullptr);
  CloseHandle(device);
  if (!ok || returned != sizeof out) return false;
  *port = static_cast<std::uint16_t>(out[0] | (out[1] << 8));
  return true;
}

std::uint16_t Win32PcCardProbe::ReadPortWord(std::uint16_t port) {
  // Only Windows 9x lets a program read an I/O port; elsewhere the instruction faults, so the
  // slot counts as empty there.
  OSVERSIONINFOA info{};
  info.dwOSVersionInfoSize = sizeof info;
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wdeprecated-declarations"
  const BOOL known = GetVersionExA(&info);
#pragma GCC diagnostic pop
  if (!known || info.dwPlatformId != VER_PLATFORM_WIN32_WINDOWS) return kEmptySlot;
  std::uint16_t value = kEmptySlot;
  __asm__ __volatile__("inw %1, %0" : "=a"(value) : "Nd"(port));
  return value;
}

}  // namespace linkscope
