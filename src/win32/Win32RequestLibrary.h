#pragma once
#include <string>

#include "platform/RequestLibrary.h"

namespace linkscope {

// W32N50.dll, bound at run time.
class Win32RequestLibrary : public IRequestLibrary {
 public:
  explicit Win32RequestLibrary(const char* dllName = "W32N50.dll");
  ~Win32RequestLibrary() override;
  Win32RequestLibrary(const Win32RequestLibrary&) = delete;
  Win32RequestLibrary& operator=(const Win32RequestLibrary&) = delete;

  // Whether the DLL and all of its functions were found.
  bool Loaded();

  bool IsWindowsNT() override;
  bool IsWindows95() override;
  AdapterHandle OpenAdapter(const std::string& deviceName) override;
  void CloseAdapter(AdapterHandle handle) override;
  std::uint32_t MakeNdisRequest(AdapterHandle handle, RequestBlock* request,
                                OverlappedRecord* overlapped, bool synchronous) override;
  std::string GetNetCardRegistryPath() override;
  std::uint32_t GetAdapterRegistryInfoBySubkeyIndex(AdapterRegistryInfo* info,
                                                    int index) override;

 private:
  using BoolFn = unsigned char (*)();
  using OpenFn = void* (*)(const char*);
  using CloseFn = void (*)(void*);
  using RequestFn = unsigned long (*)(void*, RequestBlock*, OverlappedRecord*, unsigned char);
  using PathFn = const char* (*)();
  using InfoFn = unsigned long (*)(AdapterRegistryInfo*, int);

  bool Load();

  const std::string dllName_;  // a copy: the caller's text need not outlive us
  void* module_ = nullptr;
  bool tried_ = false;
  bool complete_ = false;
  BoolFn isWindowsNT_ = nullptr;
  BoolFn isWindows95_ = nullptr;
  OpenFn open_ = nullptr;
  CloseFn close_ = nullptr;
  RequestFn request_ = nullptr;
  PathFn path_ = nullptr;
  InfoFn info_ = nullptr;
};

}  // namespace linkscope
