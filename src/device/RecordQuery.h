#pragma once
// The length rule for records read from the driver: where a record's length is enforced, a
// query that succeeds with any other byte count than the record's counts as failed.

#include <cstdint>

#include "device/CAdapterLink.h"
#include "device/CoreRecords.h"

namespace linkscope {

// True when the driver answered and wrote exactly `length` bytes.
bool QueryExact(CAdapterLink& link, const AdapterEntry* adapter, std::uint32_t oid, void* buffer,
                std::uint32_t length);

// One-byte values (device state, roaming, radio, regulatory domain, card type).
bool QueryByte(CAdapterLink& link, const AdapterEntry* adapter, std::uint32_t oid,
               std::uint8_t* value);

bool QueryDeviceConfig(CAdapterLink& link, const AdapterEntry* adapter, DeviceConfig* config);
bool SetDeviceConfig(CAdapterLink& link, const AdapterEntry* adapter, const DeviceConfig& config);
bool QueryVersionInfo(CAdapterLink& link, const AdapterEntry* adapter, VersionInfo* info);
bool SetAllSettings(CAdapterLink& link, const AdapterEntry* adapter, const AllSettings& settings);

// OID_GEN_MEDIA_CONNECT_STATUS: false when the query fails or has another length.
bool QueryMediaConnectStatus(CAdapterLink& link, const AdapterEntry* adapter,
                             std::uint32_t* status);

// A command without data: a query with no buffer and length 0.
bool SendCommand(CAdapterLink& link, const AdapterEntry* adapter, std::uint32_t oid);

}  // namespace linkscope
