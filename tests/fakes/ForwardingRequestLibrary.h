#pragma once
// Passes every call on to another request library and lets a test watch the requests on the
// way: the program's traffic to a simulated adapter, counted or timed.

#include <functional>

#include "platform/RequestLibrary.h"

namespace linkscope {

class ForwardingRequestLibrary : public IRequestLibrary {
 public:
  explicit ForwardingRequestLibrary(IRequestLibrary& inner) : inner_(inner) {}

  bool IsWindowsNT() override { return inner_.IsWindowsNT(); }
  bool IsWindows95() override { return inner_.IsWindows95(); }
  AdapterHandle OpenAdapter(const std::string& name) override { return inner_.OpenAdapter(name); }
  void CloseAdapter(AdapterHandle handle) override { inner_.CloseAdapter(handle); }
  std::uint32_t MakeNdisRequest(AdapterHandle handle, RequestBlock* request,
                                OverlappedRecord* overlapped, bool synchronous) override {
    if (onRequest) onRequest(*request);
    return inner_.MakeNdisRequest(handle, request, overlapped, synchronous);
  }
  std::string GetNetCardRegistryPath() override { return inner_.GetNetCardRegistryPath(); }
  std::uint32_t GetAdapterRegistryInfoBySubkeyIndex(AdapterRegistryInfo* info,
                                                    int index) override {
    return inner_.GetAdapterRegistryInfoBySubkeyIndex(info, index);
  }

  // Sees each request before it goes on.
  std::function<void(const RequestBlock&)> onRequest;

 private:
  IRequestLibrary& inner_;
};

}  // namespace linkscope
