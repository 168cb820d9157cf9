#include "device/WindowsConfiguration.h"

#include <cstring>

namespace linkscope {

bool WindowsConfiguration::ServiceRunning() {
  const ServiceHandle manager = services_.OpenManager(kScManagerConnect);
  if (manager == 0) return false;
  bool running = false;
  const ServiceHandle service =
      services_.OpenNamedService(manager, kWindowsConfigService, kServiceQueryStatus, nullptr);
  if (service != 0) {
    std::uint32_t state = 0;
    running = services_.QueryState(service, &state) && state == kServiceRunning;
    services_.CloseHandle(service);
  }
  services_.CloseHandle(manager);
  return running;
}

void WindowsConfiguration::Report(const std::string& text) {
  if (reported_ && reportedSelection_ == link_.SelectionCount()) return;
  reported_ = true;
  reportedSelection_ = link_.SelectionCount();
  messages_.ShowFixed(text);
}

bool WindowsConfiguration::ReadInterfaceId(std::string* id) {
  const AdapterEntry* adapter = link_.CurrentAdapter();
  // Without an adapter there is no interface to ask about, and nothing to report.
  if (adapter == nullptr) return false;
  const std::string path = library_.GetNetCardRegistryPath() + "\\" + adapter->IndexText();
  RegKey key = 0;
  if (registry_.OpenKey(kRegLocalMachine, path, RegAccess::Read, &key) != kRegOk) {
    Report("Failed to open the registry key!" + path);
    return false;
  }
  std::uint8_t data[260] = {};
  std::uint32_t type = 0, size = sizeof data;
  if (registry_.QueryValue(key, kNetCfgInstanceIdValue, &type, data, &size) != kRegOk) {
    registry_.CloseKey(key);
    Report(std::string("Failed to get value for this entry!") + kNetCfgInstanceIdValue);
    return false;
  }
  if (registry_.CloseKey(key) != kRegOk) {
    Report("Failed to close the registry key!");
    return false;
  }
  // The identifier is text; stored with or without its NUL.
  if (type != kRegSz && type != kRegExpandSz) {
    Report(std::string("Failed to get value for this entry!") + kNetCfgInstanceIdValue);
    return false;
  }
  const auto* text = reinterpret_cast<const char*>(data);
  *id = std::string(text, strnlen(text, size < sizeof data ? size : sizeof data));
  return true;
}

bool WindowsConfiguration::IsConfiguredByWindows() {
  const bool running = ServiceRunning();

  std::string id;
  if (!ReadInterfaceId(&id)) return true;

  RegKey key = 0;
  if (registry_.OpenKey(kRegLocalMachine, kWzcInterfacesKey + id, RegAccess::Read, &key) !=
      kRegOk) {
    return true;
  }
  std::uint8_t data[4] = {};
  std::uint32_t type = 0, size = sizeof data;
  const long rc = registry_.QueryValue(key, kWzcControlFlagsValue, &type, data, &size);
  if (registry_.CloseKey(key) != kRegOk) return true;
  // A value that is not a whole DWORD cannot say what the service does; it counts as a
  // failed read.
  if (rc != kRegOk || size != 4) return true;
  const std::uint32_t flags = std::uint32_t{data[0]} | std::uint32_t{data[1]} << 8 |
                              std::uint32_t{data[2]} << 16 | std::uint32_t{data[3]} << 24;
  return (flags & kWzcManagesInterface) != 0 && running;
}

}  // namespace linkscope
