#pragma once
// The program's only road to the adapter's driver. Opens the adapter on first use, sends NDIS
// query and set requests through the request library, keeps the list of detected adapters and
// the current one, and answers the Windows-configuration query itself on Windows XP.

#include <array>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "device/OsKind.h"
#include "device/AdapterEntry.h"
#include "platform/PcCardProbe.h"
#include "platform/Registry.h"
#include "platform/RequestLibrary.h"
#include "platform/System.h"

namespace linkscope {

// What discovery needs besides the request library: the registry (the NT network-card list
// and the Windows 9x class keys) and the Windows 9x PC-card service.
struct DiscoveryContext {
  IRegistry& registry;
  IPcCardProbe& pcCards;
};

// Registry keys discovery reads, under HKEY_LOCAL_MACHINE.
constexpr const char* kNetworkCardsKey = "Software\\Microsoft\\Windows NT\\CurrentVersion\\NetworkCards";
constexpr const char* kWin9xNetClassKey = "System\\CurrentControlSet\\Services\\Class\\Net";
constexpr const char* kNtServicesKey = "System\\CurrentControlSet\\Services\\";

class CAdapterLink {
 public:
  CAdapterLink(IRequestLibrary& library, ISystem& system);
  ~CAdapterLink();
  CAdapterLink(const CAdapterLink&) = delete;
  CAdapterLink& operator=(const CAdapterLink&) = delete;

  void SetOsKind(OsKind kind) { osKind_ = kind; }
  OsKind GetOsKind() const { return osKind_; }
  // Where the XP answer of OID_PRIV_WINDOWS_CONFIG comes from: true when the Windows wireless
  // configuration service drives the card.
  void SetWindowsConfigCheck(std::function<bool()> check) { windowsConfigCheck_ = std::move(check); }

  // A query on the channel's handle. `adapter` is opened when the channel is closed; an open
  // channel answers whatever adapter is named. On failure *bytesWritten is left as it was.
  bool Query(const AdapterEntry* adapter, std::uint32_t oid, void* buffer, std::uint32_t length,
             std::uint32_t* bytesWritten);
  // A query on a handle the caller opened itself; the channel is still opened lazily.
  bool QueryOnHandle(AdapterHandle handle, const AdapterEntry* adapter, std::uint32_t oid,
                     void* buffer, std::uint32_t length, std::uint32_t* bytesWritten);
  bool Set(const AdapterEntry* adapter, std::uint32_t oid, const void* buffer,
           std::uint32_t length);

  // Tells the current adapter to reset; the answer is ignored.
  void ResetAdapter();
  // Closes the channel so that the next request opens the then-current adapter.
  void ResetChannel();

  bool IsOpen() const { return opened_ != 0; }
  AdapterHandle Handle() const { return handle_; }

  // The adapters of the last discovery, in discovery order, and the current one.
  std::vector<std::unique_ptr<AdapterEntry>>& Adapters() { return adapters_; }
  std::size_t AdapterCount() const { return adapters_.size(); }
  std::uint32_t CurrentIndex() const { return currentIndex_; }
  const AdapterEntry* CurrentAdapter() const { return current_; }
  // Makes the entry at `index` current; false (and nothing selected) when there is none.
  bool SelectAdapter(std::uint32_t index);
  void ClearCurrentAdapter();
  // Counts every change of the selection (a pick, or none), so that what is reported once per
  // selected adapter can tell a new selection from the same one.
  std::uint32_t SelectionCount() const { return selections_; }

  // Rebuilds the adapter list: walks the system's network adapters from index 0 until the
  // first index without one, and keeps those whose display name equals one of `descriptions`
  // (in list order, exactly), that pass the Windows 9x PC-card check and whose driver reports
  // a card type the program serves. The current adapter stays at its index when that index
  // still exists, else none is current.
  void Enumerate(const DiscoveryContext& context, const std::vector<std::string>& descriptions);
  // Reads the values kept for a newly selected adapter: the regulatory domain (0x41 unless
  // one of the eight known codes comes back), international roaming (0 when the adapter does
  // not answer) and the radio byte with whether it answered (1 when it did not).
  void RefreshAdapterValues();
  // Sets driverKeyPath to the current adapter's driver parameter key for the OsKind (left as it
  // was for other kinds, or when no adapter is current).
  void BuildDriverKeyPath();

  // Values cached for the current adapter.
  std::uint8_t regulatoryDomain = 0x41;
  std::uint8_t internationalRoaming = 0;
  std::uint8_t radioSupported = 0;
  std::uint8_t radio = 1;  // the radio byte; 1 when the adapter does not tell
  std::array<std::uint8_t, 14> allowedChannels{};
  std::string cardIdentifier;
  std::string driverKeyPath;
  std::uint8_t configuredByWindows = 0;
  std::int32_t previousConfiguredByWindows = -1;

 private:
  bool LazyOpen(const AdapterEntry* adapter);
  std::unique_ptr<AdapterEntry> CreateEntry(const DiscoveryContext& context, int index);
  bool PassesPcCardCheck(const DiscoveryContext& context, const AdapterEntry& entry);
  bool FindMatchingDeviceId(const DiscoveryContext& context, const AdapterEntry& entry,
                            std::string* id);
  bool CardTypeAccepted(const AdapterEntry& entry);
  bool Request(AdapterHandle handle, std::uint32_t type, std::uint32_t oid, void* buffer,
               std::uint32_t length, std::uint32_t* bytesWritten);

  IRequestLibrary& library_;
  ISystem& system_;
  OsKind osKind_ = OsKind::OtherNt;
  std::function<bool()> windowsConfigCheck_;

  AdapterHandle handle_ = kNoAdapter;
  std::uint32_t opened_ = 0;
  OverlappedRecord overlapped_{};
  EventHandle event_ = 0;
  RequestBlock request_{};

  std::vector<std::unique_ptr<AdapterEntry>> adapters_;
  std::uint32_t currentIndex_ = 0;
  const AdapterEntry* current_ = nullptr;
  std::uint32_t selections_ = 0;
};

}  // namespace linkscope
