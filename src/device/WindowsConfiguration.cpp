#include "device/WindowsConfiguration.h"

#include <cstring>

namespace linkscope {

WindowsConfiguration::ServiceState WindowsConfiguration::QueryService() {
  const ServiceHandle manager = services_.OpenManager(kScManagerConnect);
  if (manager == 0) return ServiceState::Unknown;
  ServiceState result = ServiceState::Unknown;
  std::uint32_t error = 0;
  const ServiceHandle service =
      services_.OpenNamedService(manager, kWindowsConfigService, kServiceQueryStatus, &error);
  if (service != 0) {
    std::uint32_t state = 0;
    if (services_.QueryState(service, &state)) {
      result = state == kServiceRunning ? ServiceState::Running : ServiceState::NotRunning;
    }
    services_.CloseHandle(service);
  } else if (error == kServiceDoesNotExist) {
    result = ServiceState::NotRunning;
  }
  services_.CloseHandle(manager);
  return result;
}

bool WindowsConfiguration::ServiceRunning() { return QueryService() == ServiceState::Running; }

void WindowsConfiguration::Report(const std::string& text) {
  if (reported_ && reportedSelection_ == link_.SelectionCount()) return;
  reported_ = true;
  reportedSelection_ = link_.SelectionCount();
  reports_.ShowFixed(text);
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
  const ServiceState service = QueryService();
  // A service that is not installed, or installed and not running, configures nothing: the
  // card is the program's whatever the registry still holds. Nothing is read either, so a
  // machine without the service is shown no message about keys only the service writes.
  if (service == ServiceState::NotRunning) return false;
  const bool running = service == ServiceState::Running;

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
