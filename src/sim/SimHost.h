#pragma once
// The simulated machine's adapters behind the request library: which adapters are plugged in,
// their drivers, and the handles opened on them. The request library DLL and the native
// SimRequestLibrary both sit on this.

#include <map>
#include <memory>
#include <string>

#include "platform/Registry.h"
#include "platform/RequestLibrary.h"
#include "platform/System.h"
#include "sim/SimEnvironment.h"
#include "sim/SimLayout.h"
#include "sim/SimMiniport.h"

namespace linkscope::sim {

class SimHost {
 public:
  SimHost(ISystem& system, IRegistry& registry, SimOsFamily family);

  // Takes a new environment. Adapters that stay keep their running state; an adapter that is
  // new, or plugged in again, starts its driver (which reads its registry parameters).
  void SetEnvironment(const SimEnvironment& environment);
  const SimEnvironment& Environment() const { return environment_; }
  SimOsFamily Family() const { return family_; }

  AdapterHandle Open(const std::string& deviceName);
  void Close(AdapterHandle handle);
  std::uint32_t Request(AdapterHandle handle, RequestBlock* request);
  std::string NetCardRegistryPath() const;
  std::uint32_t AdapterRegistryInfo(linkscope::AdapterRegistryInfo* info, int index);

  // The driver of an adapter by service name; null when there is none.
  SimMiniport* Miniport(const std::string& serviceName);
  std::size_t OpenHandleCount() const { return handles_.size(); }

 private:
  static std::string Key(const std::string& serviceName);
  bool Present(const std::string& key);
  void StartDriver(SimMiniport& miniport);

  ISystem& system_;
  IRegistry& registry_;
  SimOsFamily family_;
  SimEnvironment environment_;
  std::map<std::string, std::unique_ptr<SimMiniport>> miniports_;  // by upper-case service
  std::map<AdapterHandle, std::string> handles_;
  AdapterHandle nextHandle_ = 0x5100;
};

}  // namespace linkscope::sim
