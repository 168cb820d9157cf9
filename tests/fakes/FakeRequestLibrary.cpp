#include "fakes/FakeRequestLibrary.h"

#include <algorithm>
#include <cstring>

#include "device/Oids.h"

namespace linkscope {

AdapterHandle FakeRequestLibrary::OpenAdapter(const std::string& deviceName) {
  opens.push_back(deviceName);
  auto it = devices.find(deviceName);
  if (it == devices.end()) return kNoAdapter;
  // Every open gets a handle of its own, as the real library's do: the device's scripted
  // handle while it is free, a fresh one while it is taken.
  AdapterHandle handle = it->second;
  if (open.count(handle) != 0) handle = nextSpareHandle_++;
  open[handle] = deviceName;
  return handle;
}

void FakeRequestLibrary::CloseAdapter(AdapterHandle handle) {
  closes.push_back(handle);
  open.erase(handle);
}

void FakeRequestLibrary::Answer(std::uint32_t oid, std::vector<std::uint8_t> data) {
  struct Answer a;
  a.reportedBytes = static_cast<std::uint32_t>(data.size());
  a.data = std::move(data);
  answers[oid] = a;
}

void FakeRequestLibrary::Fail(std::uint32_t oid, std::uint32_t result) {
  struct Answer a;
  a.result = result;
  answers[oid] = a;
}

std::uint32_t FakeRequestLibrary::MakeNdisRequest(AdapterHandle handle, RequestBlock* request,
                                                  OverlappedRecord* overlapped, bool) {
  Call call{handle, request->requestType, request->oid, request->bufferLength,
            request->buffer != nullptr, {}, overlapped ? overlapped->event : nullptr};
  if (request->requestType == kRequestSet && request->buffer != nullptr) {
    const auto* p = static_cast<const std::uint8_t*>(request->buffer);
    call.sent.assign(p, p + request->bufferLength);
  }
  calls.push_back(call);
  if (open.count(handle) == 0) return 6;  // ERROR_INVALID_HANDLE
  auto it = answers.find(request->oid);
  if (it == answers.end()) {
    request->bytesWritten = 0;
    return 0;
  }
  const struct Answer& a = it->second;
  if (a.result != 0) return a.result;
  if (request->requestType == kRequestQuery && request->buffer != nullptr) {
    // An answer without bytes has no data to copy from (its pointer may be null).
    const std::size_t n = std::min<std::size_t>(a.data.size(), request->bufferLength);
    if (n > 0) std::memcpy(request->buffer, a.data.data(), n);
  }
  request->bytesWritten = a.reportedBytes;
  return 0;
}

std::uint32_t FakeRequestLibrary::GetAdapterRegistryInfoBySubkeyIndex(AdapterRegistryInfo* info,
                                                                      int index) {
  auto it = registryInfo.find(index);
  if (it == registryInfo.end()) return 1;
  *info = it->second;
  return 0;
}

void FakeRequestLibrary::ScriptAdapter(IRegistry& registry, const std::string& displayName,
                                       const std::string& serviceName, std::uint8_t cardType) {
  AdapterRegistryInfo info{};
  displayName.copy(info.displayName, kRegistryInfoTextSize - 1);
  serviceName.copy(info.serviceName, kRegistryInfoTextSize - 1);
  registryInfo[0] = info;
  devices["\\Device\\" + serviceName] = 0x71;
  Answer(OID_PRIV_CARD_TYPE, {cardType});
  Answer(OID_PRIV_DEVICE_STATE, {5});  // associated
  Answer(OID_GEN_MEDIA_CONNECT_STATUS, {0, 0, 0, 0});  // connected
  RegKey key = 0;
  if (registry.CreateKey(kRegLocalMachine,
                         "Software\\Microsoft\\Windows NT\\CurrentVersion\\NetworkCards\\1",
                         &key) == kRegOk) {
    registry.SetValue(key, "ServiceName", kRegSz,
                      reinterpret_cast<const std::uint8_t*>(serviceName.data()),
                      static_cast<std::uint32_t>(serviceName.size()));
    registry.CloseKey(key);
  }
}

}  // namespace linkscope
