#include "device/CAdapterLink.h"

#include <cstring>

#include "device/DeviceCodes.h"
#include "device/Oids.h"
#include "device/RecordQuery.h"

namespace linkscope {

CAdapterLink::CAdapterLink(IRequestLibrary& library, ISystem& system)
    : library_(library), system_(system) {}

CAdapterLink::~CAdapterLink() {
  if (handle_ != kNoAdapter) library_.CloseAdapter(handle_);
  if (event_ != 0) system_.CloseEvent(event_);
}

bool CAdapterLink::LazyOpen(const AdapterEntry* adapter) {
  if (opened_ != 0) return true;
  // A channel left half-open by a failed attempt holds nothing: the handle was closed again
  // and the event released, so both start from none.
  overlapped_.event = nullptr;
  handle_ = kNoAdapter;
  if (adapter == nullptr) return false;

  const AdapterHandle handle = library_.OpenAdapter(adapter->deviceName);
  if (handle == kNoAdapter) return false;

  std::memset(&overlapped_, 0, sizeof overlapped_);
  const EventHandle event = system_.MakeEvent(/*manualReset=*/true, /*initiallySignalled=*/false);
  if (event == 0) {
    library_.CloseAdapter(handle);
    return false;
  }
  handle_ = handle;
  event_ = event;
  overlapped_.event = reinterpret_cast<void*>(event);

  // On the NT family the driver's device is also reachable under the service name; the
  // library relies on that link. A failure here does not stop the channel.
  if (library_.IsWindowsNT()) {
    system_.DefineDosName(kDddRawTargetPath, adapter->ServiceName(), adapter->deviceName);
  }
  opened_ = 1;
  return true;
}

bool CAdapterLink::Request(AdapterHandle handle, std::uint32_t type, std::uint32_t oid,
                           void* buffer, std::uint32_t length, std::uint32_t* bytesWritten) {
  request_.requestType = type;
  request_.oid = oid;
  request_.buffer = buffer;
  request_.bufferLength = length;
  request_.bytesWritten = 0;
  request_.bytesNeeded = 0;
  if (library_.MakeNdisRequest(handle, &request_, &overlapped_, true) != 0) return false;
  if (bytesWritten != nullptr) *bytesWritten = request_.bytesWritten;
  return true;
}

bool CAdapterLink::Query(const AdapterEntry* adapter, std::uint32_t oid, void* buffer,
                         std::uint32_t length, std::uint32_t* bytesWritten) {
  if (osKind_ == OsKind::WinXP && oid == OID_PRIV_WINDOWS_CONFIG) {
    // On XP the flag is Windows' to tell, not the driver's: nothing is sent and no adapter is
    // needed. The answer is the Windows-configuration detection's (WindowsConfiguration, set
    // by the program and the command line through SetWindowsConfigCheck); a link given none
    // counts Windows as not configuring the card.
    if (buffer == nullptr || length < 1) return false;
    const bool byWindows = windowsConfigCheck_ ? windowsConfigCheck_() : false;
    static_cast<std::uint8_t*>(buffer)[0] = byWindows ? 1 : 0;
    return true;
  }
  if (!LazyOpen(adapter)) return false;
  return Request(handle_, kRequestQuery, oid, buffer, length, bytesWritten);
}

bool CAdapterLink::QueryOnHandle(AdapterHandle handle, const AdapterEntry* adapter,
                                 std::uint32_t oid, void* buffer, std::uint32_t length,
                                 std::uint32_t* bytesWritten) {
  if (!LazyOpen(adapter)) return false;
  return Request(handle, kRequestQuery, oid, buffer, length, bytesWritten);
}

bool CAdapterLink::Set(const AdapterEntry* adapter, std::uint32_t oid, const void* buffer,
                       std::uint32_t length) {
  if (!LazyOpen(adapter)) return false;
  // The library's request record has one buffer field for both directions; a set only reads it.
  return Request(handle_, kRequestSet, oid, const_cast<void*>(buffer), length, nullptr);
}

void CAdapterLink::ResetAdapter() {
  std::uint32_t written = 0;
  Query(current_, OID_PRIV_RESET, nullptr, 0, &written);
}

void CAdapterLink::ResetChannel() {
  if (handle_ != kNoAdapter) library_.CloseAdapter(handle_);
  if (event_ != 0) system_.CloseEvent(event_);
  event_ = 0;
  overlapped_.event = nullptr;
  handle_ = kNoAdapter;
  opened_ = 0;
}

bool CAdapterLink::SelectAdapter(std::uint32_t index) {
  if (index >= adapters_.size()) {
    ClearCurrentAdapter();
    return false;
  }
  currentIndex_ = index;
  current_ = adapters_[index].get();
  ++selections_;
  return true;
}

void CAdapterLink::ClearCurrentAdapter() {
  current_ = nullptr;
  currentIndex_ = 0;
  ++selections_;
}

void CAdapterLink::RefreshAdapterValues() {
  std::uint8_t domain = kDomainAllChannels;
  if (!QueryByte(*this, current_, OID_PRIV_REG_DOMAIN, &domain)) domain = kDomainAllChannels;
  regulatoryDomain = NormalizeRegulatoryDomain(domain);
  std::uint8_t roaming = 0;
  if (!QueryByte(*this, current_, OID_PRIV_INTL_ROAMING, &roaming)) roaming = 0;
  internationalRoaming = roaming;
  std::uint8_t value = 1;
  const bool answered = QueryByte(*this, current_, OID_PRIV_RADIO, &value);
  radioSupported = answered ? 1 : 0;
  radio = answered ? value : 1;
}

}  // namespace linkscope
