// Adapter discovery and the driver key path: the parts of CAdapterLink that read the system's
// list of network adapters.

#include <cstring>

#include "device/CAdapterLink.h"
#include "device/DeviceCodes.h"
#include "device/Oids.h"

namespace linkscope {

namespace {

constexpr const char* kMatchingDeviceId = "MatchingDeviceId";
constexpr const char* kPcCardPrefix = "PCMCIA";
// The identifier follows "PCMCIA" and its separator.
constexpr std::size_t kPcCardIdentifierOffset = 7;
// Buffers of the class-key value walk, as the Windows 9x registry hands them out.
constexpr std::uint32_t kValueBufferSize = 260;
constexpr std::uint16_t kEmptySlotWord = 0xFFFF;

bool IsWin9xKind(OsKind kind) { return kind == OsKind::Win95 || kind == OsKind::Win98Me; }

}  // namespace

std::unique_ptr<AdapterEntry> CAdapterLink::CreateEntry(const DiscoveryContext& context,
                                                        int index) {
  auto entry = std::make_unique<AdapterEntry>();
  if (!system_.GetVersion(&entry->version)) return entry;
  if (entry->version.platform == kPlatformNt) {
    if (library_.GetAdapterRegistryInfoBySubkeyIndex(&entry->registryInfo, index) != 0) {
      return entry;
    }
    entry->SetIndex(index);
    entry->deviceName = "\\Device\\" + entry->ServiceName();
    RegKey cards = 0;
    if (context.registry.OpenKey(kRegLocalMachine, kNetworkCardsKey, RegAccess::Read, &cards) !=
        kRegOk) {
      return entry;
    }
    context.registry.CloseKey(cards);
    entry->valid = true;
  } else if (entry->version.platform == kPlatformWin9x) {
    entry->SetIndex(index);
    if (library_.GetAdapterRegistryInfoBySubkeyIndex(&entry->registryInfo, index) != 0) {
      return entry;
    }
    entry->deviceName = entry->ServiceName();
    entry->valid = true;
  }
  return entry;
}

// Walks the values of the adapter's Windows 9x class key for a text "MatchingDeviceId". A key
// that cannot be opened counts as one without the value.
bool CAdapterLink::FindMatchingDeviceId(const DiscoveryContext& context, const AdapterEntry& entry,
                                        std::string* id) {
  RegKey key = 0;
  const std::string path = std::string(kWin9xNetClassKey) + "\\" + entry.deviceName;
  if (context.registry.OpenKey(kRegLocalMachine, path, RegAccess::Read, &key) != kRegOk) {
    return false;
  }
  bool found = false;
  for (std::uint32_t i = 0;; ++i) {
    char name[kValueBufferSize];
    std::uint8_t data[kValueBufferSize];
    std::uint32_t nameSize = sizeof name;
    std::uint32_t dataSize = sizeof data;
    std::uint32_t type = kRegNone;
    const long rc = context.registry.EnumValue(key, i, name, &nameSize, &type, data, &dataSize);
    if (rc == kRegMoreData) continue;  // a value too long for the walk's buffers is not it
    if (rc != kRegOk) break;
    if (nameSize >= sizeof name || dataSize > sizeof data) continue;
    if (std::string(name, nameSize) != kMatchingDeviceId || type != kRegSz) continue;
    // The text may be stored with or without its NUL.
    const char* text = reinterpret_cast<const char*>(data);
    *id = std::string(text, strnlen(text, dataSize));
    found = true;
    break;
  }
  context.registry.CloseKey(key);
  return found;
}

bool CAdapterLink::PassesPcCardCheck(const DiscoveryContext& context, const AdapterEntry& entry) {
  const bool win95Family = library_.IsWindows95();
  std::string id;
  // Registered: the class key names the hardware the driver was installed for.
  const bool registered = !win95Family || FindMatchingDeviceId(context, entry, &id);
  if (!registered) return false;
  const bool pcCard = win95Family && id.compare(0, std::strlen(kPcCardPrefix), kPcCardPrefix) == 0;
  if (!pcCard) return true;
  cardIdentifier = id.size() > kPcCardIdentifierOffset ? id.substr(kPcCardIdentifierOffset)
                                                       : std::string();
  // A card that Windows still lists may have left its slot: the PC-card service names its
  // port, and an empty slot reads all ones.
  if (!IsWin9xKind(osKind_)) return false;
  std::uint16_t port = 0;
  if (!context.pcCards.QueryCardPort(cardIdentifier, &port)) return false;
  return context.pcCards.ReadPortWord(port) != kEmptySlotWord;
}

bool CAdapterLink::CardTypeAccepted(const AdapterEntry& entry) {
  const AdapterHandle handle = library_.OpenAdapter(entry.deviceName);
  if (handle == kNoAdapter) return false;
  std::uint8_t cardType = 0;
  std::uint32_t written = 0;
  const bool answered =
      QueryOnHandle(handle, &entry, OID_PRIV_CARD_TYPE, &cardType, kOneByteSize, &written);
  // This handle served one question; the channel keeps its own.
  library_.CloseAdapter(handle);
  if (!answered) return false;
  if (IsCardTypeAcceptedAnyLength(cardType)) return true;
  return written == kOneByteSize && IsAcceptedCardType(cardType);
}

void CAdapterLink::Enumerate(const DiscoveryContext& context,
                             const std::vector<std::string>& descriptions) {
  // The list's entries are about to go; nothing may keep pointing at them.
  current_ = nullptr;
  adapters_.clear();
  // The card-type question opens the channel on whichever adapter first gets that far, which
  // may be one that is then rejected. A channel the walk opened is closed again after it, so
  // that the next request opens the adapter it names.
  const bool wasOpen = opened_ != 0;

  for (int index = 0;; ++index) {
    std::unique_ptr<AdapterEntry> entry = CreateEntry(context, index);
    if (!entry->valid) break;

    const std::string displayName = entry->DisplayName();
    bool described = false;
    for (const std::string& description : descriptions) {
      if (description != displayName) continue;
      if (IsWin9xKind(osKind_) && !PassesPcCardCheck(context, *entry)) continue;
      described = true;
      break;
    }
    if (!described) continue;
    if (!CardTypeAccepted(*entry)) continue;
    adapters_.push_back(std::move(entry));
  }

  if (!wasOpen && opened_ != 0) ResetChannel();

  if (currentIndex_ < adapters_.size()) {
    current_ = adapters_[currentIndex_].get();
  } else {
    ClearCurrentAdapter();
  }
}

void CAdapterLink::BuildDriverKeyPath() {
  if (current_ == nullptr) return;
  switch (osKind_) {
    case OsKind::Win2000:
    case OsKind::WinXP:
      driverKeyPath = library_.GetNetCardRegistryPath() + "\\" + current_->IndexText();
      break;
    case OsKind::NT4:
      driverKeyPath = std::string(kNtServicesKey) + current_->ServiceName() + "\\Parameters\\";
      break;
    case OsKind::Win95:
    case OsKind::Win98Me:
      driverKeyPath = library_.GetNetCardRegistryPath() + "\\" + current_->ServiceName();
      break;
    case OsKind::OtherNt:
      break;
  }
}

}  // namespace linkscope
