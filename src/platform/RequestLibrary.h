#pragma once
// The contract of W32N50, the NDIS user-mode request library, and the records that cross it.
// The records below are the library's C calling records, shared in memory with the DLL; the
// adapter's own data (the buffers the requests carry) are byte records encoded elsewhere.

#include <cstddef>
#include <cstdint>
#include <string>

namespace linkscope {

// The adapter handle the library returns; -1 means no adapter.
using AdapterHandle = std::intptr_t;
constexpr AdapterHandle kNoAdapter = -1;

constexpr std::uint32_t kRequestQuery = 0;
constexpr std::uint32_t kRequestSet = 1;

// One NDIS request. The library owns the 20-byte header; the program fills type, OID, buffer
// and length and clears the two counts before each call.
struct RequestBlock {
  std::uint8_t header[20];
  std::uint32_t requestType;
  std::uint32_t oid;
  // A 32-bit address in the library's original 32-bit contract; pointer-sized in the 64-bit build.
  void* buffer;
  std::uint32_t bufferLength;
  std::uint32_t bytesWritten;
  std::uint32_t bytesNeeded;
};

// The Windows OVERLAPPED record of the 64-bit platform (two pointer-sized status words, the
// 64-bit offset and the event), laid out so that the library can use it as one.
struct OverlappedRecord {
  std::uintptr_t internal;
  std::uintptr_t internalHigh;
  std::uint32_t offset;
  std::uint32_t offsetHigh;
  void* event;
};

// Three NUL-terminated texts of 260 bytes: display name, alternate display name (used when the
// first is empty) and service name (on Windows 9x the class-key instance name).
constexpr std::size_t kRegistryInfoTextSize = 260;
struct AdapterRegistryInfo {
  char displayName[kRegistryInfoTextSize];
  char altDisplayName[kRegistryInfoTextSize];
  char serviceName[kRegistryInfoTextSize];
};
static_assert(sizeof(AdapterRegistryInfo) == 3 * kRegistryInfoTextSize,
              "the library fills exactly three 260-byte texts");

class IRequestLibrary {
 public:
  virtual ~IRequestLibrary() = default;

  virtual bool IsWindowsNT() = 0;
  virtual bool IsWindows95() = 0;
  // kNoAdapter on failure.
  virtual AdapterHandle OpenAdapter(const std::string& deviceName) = 0;
  virtual void CloseAdapter(AdapterHandle handle) = 0;
  // 0 is success; then request->bytesWritten is valid.
  virtual std::uint32_t MakeNdisRequest(AdapterHandle handle, RequestBlock* request,
                                        OverlappedRecord* overlapped, bool synchronous) = 0;
  // Path under HKEY_LOCAL_MACHINE of the network-adapter class key; empty when unknown.
  virtual std::string GetNetCardRegistryPath() = 0;
  // 0 when an adapter exists at `index` and `info` is filled; nonzero when there is none.
  virtual std::uint32_t GetAdapterRegistryInfoBySubkeyIndex(AdapterRegistryInfo* info,
                                                            int index) = 0;
};

}  // namespace linkscope
