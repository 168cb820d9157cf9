#include "sim/SimLayout.h"

#include <cstdio>
#include <cstring>
#include <vector>

#include <cctype>

namespace linkscope::sim {

namespace {
// Beyond this many adapter subkeys a walk gives up; no machine has that many network cards.
constexpr int kMaxAdapterSubkeys = 1000;

// Registry names and identifiers compare without regard to letter case.
bool EqualsNoCase(const std::string& a, const std::string& b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    if (std::toupper(static_cast<unsigned char>(a[i])) !=
        std::toupper(static_cast<unsigned char>(b[i]))) {
      return false;
    }
  }
  return true;
}
}  // namespace

bool FamilyOfVersion(const OsVersion& version, SimOsFamily* family) {
  if (version.platform == kPlatformWin9x) {
    *family = SimOsFamily::Win9x;
    return true;
  }
  if (version.platform == kPlatformNt) {
    *family = version.major <= 4 ? SimOsFamily::Nt4 : SimOsFamily::Nt5;
    return true;
  }
  return false;
}

std::string NetCardRegistryPath(SimOsFamily family) {
  switch (family) {
    case SimOsFamily::Win9x:
      return "System\\CurrentControlSet\\Services\\Class\\Net";
    case SimOsFamily::Nt4:
      return NetworkCardsKey();
    case SimOsFamily::Nt5:
      break;
  }
  return "System\\CurrentControlSet\\Control\\Class\\{4D36E972-E325-11CE-BFC1-08002BE10318}";
}

std::string NetworkCardsKey() {
  return "Software\\Microsoft\\Windows NT\\CurrentVersion\\NetworkCards";
}

std::string ServiceKey(const std::string& serviceName) {
  return "System\\CurrentControlSet\\Services\\" + serviceName;
}

std::string AdapterSubkeyName(SimOsFamily family, int index) {
  char name[16];
  if (family == SimOsFamily::Nt4) {
    std::snprintf(name, sizeof name, "%d", index + 1);
  } else {
    std::snprintf(name, sizeof name, "%04d", index);
  }
  return name;
}

std::string DeviceNameOf(SimOsFamily family, const SimAdapterSetup& adapter, int index) {
  switch (family) {
    case SimOsFamily::Win9x:
      return AdapterSubkeyName(family, index);
    case SimOsFamily::Nt4:
      return "\\Device\\" + adapter.serviceName;
    case SimOsFamily::Nt5:
      break;
  }
  return "\\Device\\" + adapter.InstanceId();
}

bool ReadRegistryText(IRegistry& registry, RegKey key, const std::string& name,
                      std::size_t maxBytes, std::string* text) {
  std::vector<std::uint8_t> data(maxBytes + 1);
  std::uint32_t size = static_cast<std::uint32_t>(data.size());
  std::uint32_t type = kRegNone;
  if (registry.QueryValue(key, name, &type, data.data(), &size) != kRegOk) return false;
  if (type != kRegSz && type != kRegExpandSz) return false;
  if (size > data.size()) return false;
  const char* p = reinterpret_cast<const char*>(data.data());
  const std::size_t length = strnlen(p, size);
  if (length > maxBytes) return false;
  text->assign(p, length);
  return true;
}

namespace {
void CopyField(char (&field)[kRegistryInfoTextSize], const std::string& text) {
  std::memset(field, 0, kRegistryInfoTextSize);
  const std::size_t n = text.size() < kRegistryInfoTextSize - 1 ? text.size()
                                                                 : kRegistryInfoTextSize - 1;
  std::memcpy(field, text.data(), n);
}
}  // namespace

std::uint32_t ReadAdapterRegistryInfo(IRegistry& registry, SimOsFamily family, int index,
                                      AdapterRegistryInfo* info) {
  if (info == nullptr || index < 0) return 1;
  const std::string path = NetCardRegistryPath(family) + "\\" + AdapterSubkeyName(family, index);
  RegKey key = 0;
  if (registry.OpenKey(kRegLocalMachine, path, RegAccess::Read, &key) != kRegOk) return 1;
  std::string display, alternate, service;
  const std::size_t max = kRegistryInfoTextSize - 1;
  switch (family) {
    case SimOsFamily::Win9x:
      ReadRegistryText(registry, key, "DriverDesc", max, &display);
      service = AdapterSubkeyName(family, index);
      break;
    case SimOsFamily::Nt4:
      ReadRegistryText(registry, key, "Description", max, &display);
      ReadRegistryText(registry, key, "Title", max, &alternate);
      ReadRegistryText(registry, key, "ServiceName", max, &service);
      break;
    case SimOsFamily::Nt5:
      ReadRegistryText(registry, key, "DriverDesc", max, &display);
      ReadRegistryText(registry, key, "NetCfgInstanceId", max, &service);
      break;
  }
  registry.CloseKey(key);
  CopyField(info->displayName, display);
  CopyField(info->altDisplayName, alternate);
  CopyField(info->serviceName, service);
  return 0;
}

bool FindDriverKey(IRegistry& registry, SimOsFamily family, const SimAdapterSetup& adapter,
                   std::string* path) {
  if (family == SimOsFamily::Nt4) {
    const std::string candidate = ServiceKey(adapter.serviceName) + "\\Parameters";
    RegKey key = 0;
    if (registry.OpenKey(kRegLocalMachine, candidate, RegAccess::Read, &key) != kRegOk) {
      return false;
    }
    registry.CloseKey(key);
    *path = candidate;
    return true;
  }
  const std::string valueName = family == SimOsFamily::Nt5 ? "NetCfgInstanceId" : "NTMPDriver";
  const std::string wanted =
      family == SimOsFamily::Nt5 ? adapter.InstanceId() : adapter.serviceName + ".sys";
  for (int index = 0; index < kMaxAdapterSubkeys; ++index) {
    const std::string candidate =
        NetCardRegistryPath(family) + "\\" + AdapterSubkeyName(family, index);
    RegKey key = 0;
    if (registry.OpenKey(kRegLocalMachine, candidate, RegAccess::Read, &key) != kRegOk) break;
    std::string value;
    const bool ok = ReadRegistryText(registry, key, valueName, 255, &value);
    registry.CloseKey(key);
    if (ok && EqualsNoCase(value, wanted)) {
      *path = candidate;
      return true;
    }
  }
  return false;
}

}  // namespace linkscope::sim
