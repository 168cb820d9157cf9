#pragma once
// The operating system services the program needs besides the registry and windows: version
// information, the clock, the current directory, events, MS-DOS device names, sockets start-up
// and the warning beep.

#include <cstdint>
#include <string>

namespace linkscope {

// Platform identifiers of the version record.
constexpr std::uint32_t kPlatformWin32s = 0;
constexpr std::uint32_t kPlatformWin9x = 1;
constexpr std::uint32_t kPlatformNt = 2;

struct OsVersion {
  std::uint32_t major = 0;
  std::uint32_t minor = 0;
  std::uint32_t build = 0;
  std::uint32_t platform = 0;
  std::string servicePack;
};

// Handle of a kernel event; 0 is none.
using EventHandle = std::uintptr_t;

// DefineDosDevice flag: the target is a kernel path, not an MS-DOS path.
constexpr std::uint32_t kDddRawTargetPath = 0x1;

// MessageBeep kinds.
constexpr std::uint32_t kBeepExclamation = 0x30;  // MB_ICONEXCLAMATION

class ISystem {
 public:
  virtual ~ISystem() = default;

  virtual bool GetVersion(OsVersion* version) = 0;

  virtual void Beep(std::uint32_t kind) = 0;
  virtual void Sleep(std::uint32_t milliseconds) = 0;
  // Milliseconds since an arbitrary start, wrapping at 2^32.
  virtual std::uint32_t TickCount() = 0;

  virtual std::string CurrentDirectory() = 0;
  // The local date and time as "2026-12-08 15:43:36".
  virtual std::string LocalTime() = 0;
  // Creates or truncates the file at `path` and writes `bytes`; false when any of it fails.
  virtual bool WriteWholeFile(const std::string& path, const std::string& bytes) = 0;

  // An unnamed event; 0 on failure.
  virtual EventHandle MakeEvent(bool manualReset, bool initiallySignalled) = 0;
  virtual void CloseEvent(EventHandle event) = 0;

  virtual bool DefineDosName(std::uint32_t flags, const std::string& name,
                               const std::string& target) = 0;

  // Windows sockets version 1.1 start-up.
  virtual bool StartSockets() = 0;

  // Ends the process at once with `exitCode`, without running the message loop's end.
  virtual void EndProcess(int exitCode) = 0;
};

}  // namespace linkscope
