#include "win32/Win32RequestLibrary.h"

#include <windows.h>

#include <cstring>

namespace linkscope {

// The library is loaded at run time rather than imported: without it (or with a broken one)
// the program must still start, stay in the notification area and simply find no adapter,
// instead of being refused by the loader before any of its code runs.

namespace {
template <typename Fn>
Fn Resolve(void* module, const char* name) {
  return reinterpret_cast<Fn>(
      reinterpret_cast<void*>(GetProcAddress(static_cast<HMODULE>(module), name)));
}
}  // namespace

Win32RequestLibrary::Win32RequestLibrary(const char* dllName) : dllName_(dllName) {}

Win32RequestLibrary::~Win32RequestLibrary() {
  if (module_ != nullptr) FreeLibrary(static_cast<HMODULE>(module_));
}

bool Win32RequestLibrary::Load() {
  if (tried_) return complete_;
  tried_ = true;
  module_ = LoadLibraryA(dllName_.c_str());
  if (module_ == nullptr) return false;
  isWindowsNT_ = Resolve<BoolFn>(module_, "W32N_IsWindowsNT");
  isWindows95_ = Resolve<BoolFn>(module_, "W32N_IsWindows95");
  open_ = Resolve<OpenFn>(module_, "W32N_OpenAdapterA");
  close_ = Resolve<CloseFn>(module_, "W32N_CloseAdapter");
  request_ = Resolve<RequestFn>(module_, "W32N_MakeNdisRequest");
  path_ = Resolve<PathFn>(module_, "W32N_GetNetCardRegistryPath");
  info_ = Resolve<InfoFn>(module_, "W32N_GetAdapterRegistryInfoBySubkeyIndex");
  complete_ = isWindowsNT_ && isWindows95_ && open_ && close_ && request_ && path_ && info_;
  return complete_;
}

bool Win32RequestLibrary::Loaded() { return Load(); }

bool Win32RequestLibrary::IsWindowsNT() { return Load() && isWindowsNT_() != 0; }

bool Win32RequestLibrary::IsWindows95() { return Load() && isWindows95_() != 0; }

AdapterHandle Win32RequestLibrary::OpenAdapter(const std::string& deviceName) {
  if (!Load()) return kNoAdapter;
  void* handle = open_(deviceName.c_str());
  if (handle == INVALID_HANDLE_VALUE) return kNoAdapter;
  return reinterpret_cast<AdapterHandle>(handle);
}

void Win32RequestLibrary::CloseAdapter(AdapterHandle handle) {
  if (Load() && handle != kNoAdapter) close_(reinterpret_cast<void*>(handle));
}

std::uint32_t Win32RequestLibrary::MakeNdisRequest(AdapterHandle handle, RequestBlock* request,
                                                   OverlappedRecord* overlapped,
                                                   bool synchronous) {
  if (!Load()) return ERROR_MOD_NOT_FOUND;
  return static_cast<std::uint32_t>(
      request_(reinterpret_cast<void*>(handle), request, overlapped, synchronous ? 1 : 0));
}

std::string Win32RequestLibrary::GetNetCardRegistryPath() {
  if (!Load()) return std::string();
  const char* path = path_();
  if (path == nullptr) return std::string();
  // The library hands out a registry path; a registry key path never exceeds 255 characters
  // per name and a few names, so anything unterminated within 2 KiB is refused.
  const std::size_t length = strnlen(path, 2048);
  return length == 2048 ? std::string() : std::string(path, length);
}

std::uint32_t Win32RequestLibrary::GetAdapterRegistryInfoBySubkeyIndex(AdapterRegistryInfo* info,
                                                                       int index) {
  if (!Load()) return ERROR_MOD_NOT_FOUND;
  return static_cast<std::uint32_t>(info_(info, index));
}

}  // namespace linkscope
