#include "device/RecordQuery.h"

#include <array>

#include "device/ByteOrder.h"
#include "device/Oids.h"

namespace linkscope {

bool QueryExact(CAdapterLink& link, const AdapterEntry* adapter, std::uint32_t oid, void* buffer,
                std::uint32_t length) {
  // Starts as a count no answer can match, so a path that reports success without a count
  // still fails the rule.
  std::uint32_t written = length + 1;
  if (!link.Query(adapter, oid, buffer, length, &written)) return false;
  return written == length;
}

bool QueryByte(CAdapterLink& link, const AdapterEntry* adapter, std::uint32_t oid,
               std::uint8_t* value) {
  std::uint8_t byte = 0;
  if (!QueryExact(link, adapter, oid, &byte, 1)) return false;
  *value = byte;
  return true;
}

bool QueryDeviceConfig(CAdapterLink& link, const AdapterEntry* adapter, DeviceConfig* config) {
  std::array<std::uint8_t, DeviceConfig::kSize> raw{};
  if (!QueryExact(link, adapter, OID_PRIV_CONFIGURATION, raw.data(), DeviceConfig::kSize)) {
    return false;
  }
  return DeviceConfig::Decode(raw.data(), raw.size(), config);
}

bool SetDeviceConfig(CAdapterLink& link, const AdapterEntry* adapter, const DeviceConfig& config) {
  const auto raw = config.Encode();
  return link.Set(adapter, OID_PRIV_CONFIGURATION, raw.data(), DeviceConfig::kSize);
}

bool QueryVersionInfo(CAdapterLink& link, const AdapterEntry* adapter, VersionInfo* info) {
  std::array<std::uint8_t, VersionInfo::kSize> raw{};
  if (!QueryExact(link, adapter, OID_PRIV_VERSION, raw.data(), VersionInfo::kSize)) return false;
  return VersionInfo::Decode(raw.data(), raw.size(), info);
}

bool SetAllSettings(CAdapterLink& link, const AdapterEntry* adapter, const AllSettings& settings) {
  const auto raw = settings.Encode();
  return link.Set(adapter, OID_PRIV_ALL_SETTINGS, raw.data(), AllSettings::kSize);
}

bool QueryMediaConnectStatus(CAdapterLink& link, const AdapterEntry* adapter,
                             std::uint32_t* status) {
  std::array<std::uint8_t, kMediaConnectStatusSize> raw{};
  if (!QueryExact(link, adapter, OID_GEN_MEDIA_CONNECT_STATUS, raw.data(), raw.size())) {
    return false;
  }
  *status = ReadU32Le(raw.data());
  return true;
}

bool SendCommand(CAdapterLink& link, const AdapterEntry* adapter, std::uint32_t oid) {
  std::uint32_t written = 0;
  return link.Query(adapter, oid, nullptr, 0, &written);
}

}  // namespace linkscope
