#pragma once
// A scripted stand-in for W32N50: adapters by device name, answers by OID, and a log of every
// call, for testing the request channel without a driver.

#include <cstdint>
#include <map>
#include <string>
#include <vector>

#include "platform/Registry.h"
#include "platform/RequestLibrary.h"

namespace linkscope {

class FakeRequestLibrary : public IRequestLibrary {
 public:
  bool IsWindowsNT() override { return windowsNT; }
  bool IsWindows95() override { return windows95; }
  AdapterHandle OpenAdapter(const std::string& deviceName) override;
  void CloseAdapter(AdapterHandle handle) override;
  std::uint32_t MakeNdisRequest(AdapterHandle handle, RequestBlock* request,
                                OverlappedRecord* overlapped, bool synchronous) override;
  std::string GetNetCardRegistryPath() override { return netCardPath; }
  std::uint32_t GetAdapterRegistryInfoBySubkeyIndex(AdapterRegistryInfo* info,
                                                    int index) override;

  // What the driver answers to one OID: the result code, the bytes it writes into the caller's
  // buffer (never more than the buffer holds) and the byte count it reports.
  struct Answer {
    std::uint32_t result = 0;
    std::vector<std::uint8_t> data;
    std::uint32_t reportedBytes = 0;
  };
  // Scripts an answer that writes `data` and reports its size.
  void Answer(std::uint32_t oid, std::vector<std::uint8_t> data);
  void Fail(std::uint32_t oid, std::uint32_t result = 31);
  std::map<std::uint32_t, struct Answer> answers;
  // OIDs with no scripted answer succeed with 0 bytes.

  struct Call {
    AdapterHandle handle;
    std::uint32_t type;
    std::uint32_t oid;
    std::uint32_t length;
    bool hasBuffer;
    std::vector<std::uint8_t> sent;  // the buffer's bytes as passed (sets)
    void* event;
  };
  std::vector<Call> calls;
  std::vector<std::string> opens;   // device names, in order, failed ones included
  std::vector<AdapterHandle> closes;

  // Device names that open; every other name fails.
  std::map<std::string, AdapterHandle> devices;
  // Handles currently open.
  std::map<AdapterHandle, std::string> open;

  // One adapter of the family at index 0 of the system's list, installed on an NT-family
  // system (its network-card list in `registry`), answering its card type, an associated state
  // and a connected medium.
  void ScriptAdapter(IRegistry& registry, const std::string& displayName,
                     const std::string& serviceName, std::uint8_t cardType);

  bool windowsNT = true;
  bool windows95 = false;
  std::string netCardPath =
      "SYSTEM\\CurrentControlSet\\Control\\Class\\{4D36E972-E325-11CE-BFC1-08002BE10318}";
  std::map<int, AdapterRegistryInfo> registryInfo;

 private:
  AdapterHandle nextSpareHandle_ = 0x10000;
};

}  // namespace linkscope
