#pragma once
// Whether the Windows XP wireless configuration service drives the current adapter: the
// service "WZCSVC" runs and its per-interface key for the adapter has bit 0x8000 of
// "ControlFlags" set. A service the service manager reports as not installed or not running
// drives nothing, whatever the registry holds. Otherwise (it runs, or its state cannot be
// learned) every registry failure counts as configured by Windows, so that the program never
// fights the service over a card it cannot tell about.

#include <cstdint>
#include <string>

#include "device/CAdapterLink.h"
#include "device/ProblemReport.h"
#include "platform/Registry.h"
#include "platform/RequestLibrary.h"
#include "platform/ServiceManager.h"

namespace linkscope {

constexpr const char* kWindowsConfigService = "WZCSVC";
constexpr const char* kWzcInterfacesKey = "SOFTWARE\\Microsoft\\WZCSVC\\Parameters\\Interfaces\\";
constexpr const char* kWzcControlFlagsValue = "ControlFlags";
constexpr const char* kNetCfgInstanceIdValue = "NetCfgInstanceId";
constexpr std::uint32_t kWzcManagesInterface = 0x8000;

class WindowsConfiguration {
 public:
  WindowsConfiguration(IServiceManager& services, IRegistry& registry, IRequestLibrary& library,
                       const CAdapterLink& link, const IProblemReport& reports)
      : services_(services), registry_(registry), library_(library), link_(link),
        reports_(reports) {}

  // The answer of the Windows-configuration query on XP.
  bool IsConfiguredByWindows();
  // Whether the service "WZCSVC" is running now.
  bool ServiceRunning();

 private:
  // Unknown: no service manager, or a service that cannot be opened or asked for another
  // reason than its absence.
  enum class ServiceState { Running, NotRunning, Unknown };
  ServiceState QueryService();
  // The current adapter's interface identifier; false (after a message, once per adapter
  // selection) when it cannot be read.
  bool ReadInterfaceId(std::string* id);
  void Report(const std::string& text);

  IServiceManager& services_;
  IRegistry& registry_;
  IRequestLibrary& library_;
  const CAdapterLink& link_;
  const IProblemReport& reports_;
  // The selection a failure was last reported for. The detection runs on every tick: a value
  // that is missing would otherwise open a new message box every polling period.
  bool reported_ = false;
  std::uint32_t reportedSelection_ = 0;
};

}  // namespace linkscope
