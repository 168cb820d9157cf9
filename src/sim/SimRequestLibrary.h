#pragma once
// The request library over the simulated adapters, for native runs of the program: the same
// driver behaviour as W32N50.dll, on the clock and registry the test hands in.

#include "platform/RequestLibrary.h"
#include "sim/SimHost.h"

namespace linkscope::sim {

class SimRequestLibrary : public IRequestLibrary {
 public:
  explicit SimRequestLibrary(SimHost& host) : host_(host) {}

  bool IsWindowsNT() override { return host_.Family() != SimOsFamily::Win9x; }
  bool IsWindows95() override { return host_.Family() == SimOsFamily::Win9x; }
  AdapterHandle OpenAdapter(const std::string& deviceName) override {
    return host_.Open(deviceName);
  }
  void CloseAdapter(AdapterHandle handle) override { host_.Close(handle); }
  std::uint32_t MakeNdisRequest(AdapterHandle handle, RequestBlock* request, OverlappedRecord*,
                                bool) override {
    return host_.Request(handle, request);
  }
  std::string GetNetCardRegistryPath() override { return host_.NetCardRegistryPath(); }
  std::uint32_t GetAdapterRegistryInfoBySubkeyIndex(AdapterRegistryInfo* info,
                                                    int index) override {
    return host_.AdapterRegistryInfo(info, index);
  }

 private:
  SimHost& host_;
};

}  // namespace linkscope::sim
