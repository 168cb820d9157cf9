#include "sim/SimHost.h"

#include <cctype>

namespace linkscope::sim {

SimHost::SimHost(ISystem& system, IRegistry& registry, SimOsFamily family)
    : system_(system), registry_(registry), family_(family) {}

std::string SimHost::Key(const std::string& serviceName) {
  std::string key = serviceName;
  for (char& c : key) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  return key;
}

void SimHost::StartDriver(SimMiniport& miniport) {
  std::string driverKey;
  const bool installed = FindDriverKey(registry_, family_, miniport.Setup(), &driverKey);
  miniport.Start(installed ? &registry_ : nullptr, driverKey, environment_.networks);
}

void SimHost::SetEnvironment(const SimEnvironment& environment) {
  environment_ = environment;
  std::map<std::string, std::unique_ptr<SimMiniport>> next;
  for (const SimAdapterSetup& setup : environment_.adapters) {
    const std::string key = Key(setup.serviceName);
    auto old = miniports_.find(key);
    if (old != miniports_.end()) {
      const bool wasIn = old->second->Setup().present && !old->second->Removed();
      old->second->UpdateSetup(setup);
      // Plugged in again (by the file, or after the removal fault): the driver starts anew.
      if (setup.present && (!wasIn || old->second->Removed())) StartDriver(*old->second);
      next[key] = std::move(old->second);
    } else {
      auto miniport = std::make_unique<SimMiniport>(setup, system_);
      StartDriver(*miniport);
      next[key] = std::move(miniport);
    }
  }
  miniports_ = std::move(next);
}

SimMiniport* SimHost::Miniport(const std::string& serviceName) {
  auto it = miniports_.find(Key(serviceName));
  return it == miniports_.end() ? nullptr : it->second.get();
}

bool SimHost::Present(const std::string& key) {
  auto it = miniports_.find(key);
  return it != miniports_.end() && it->second->Setup().present && !it->second->Removed();
}

AdapterHandle SimHost::Open(const std::string& deviceName) {
  std::string service;
  if (family_ == SimOsFamily::Win9x) {
    // The class-key instance names the driver file, which names the adapter.
    RegKey key = 0;
    const std::string path = NetCardRegistryPath() + "\\" + deviceName;
    if (deviceName.empty() || deviceName.find('\\') != std::string::npos ||
        registry_.OpenKey(kRegLocalMachine, path, RegAccess::Read, &key) != kRegOk) {
      return kNoAdapter;
    }
    std::string driver;
    const bool ok = ReadRegistryText(registry_, key, "NTMPDriver", 255, &driver);
    registry_.CloseKey(key);
    const std::string suffix = ".sys";
    if (!ok || driver.size() <= suffix.size()) return kNoAdapter;
    service = driver.substr(0, driver.size() - suffix.size());
  } else {
    const std::string prefix = "\\Device\\";
    if (deviceName.compare(0, prefix.size(), prefix) != 0) return kNoAdapter;
    const std::string name = Key(deviceName.substr(prefix.size()));
    for (const SimAdapterSetup& setup : environment_.adapters) {
      const std::string id = family_ == SimOsFamily::Nt4 ? setup.serviceName : setup.InstanceId();
      if (Key(id) == name) service = setup.serviceName;
    }
  }
  const std::string key = Key(service);
  if (service.empty() || !Present(key)) return kNoAdapter;
  const AdapterHandle handle = nextHandle_;
  nextHandle_ += 4;
  handles_[handle] = key;
  return handle;
}

void SimHost::Close(AdapterHandle handle) { handles_.erase(handle); }

std::uint32_t SimHost::Request(AdapterHandle handle, RequestBlock* request) {
  if (request == nullptr) return kErrInvalidParameter;
  auto it = handles_.find(handle);
  if (it == handles_.end()) return kErrInvalidHandle;
  if (!Present(it->second)) return kErrDeviceNotConnected;
  std::uint32_t written = 0;
  std::uint32_t needed = 0;
  const std::uint32_t rc = miniports_[it->second]->Request(
      request->requestType, request->oid, static_cast<std::uint8_t*>(request->buffer),
      request->bufferLength, &written, &needed, environment_.networks);
  request->bytesWritten = written;
  request->bytesNeeded = needed;
  return rc;
}

std::string SimHost::NetCardRegistryPath() const { return sim::NetCardRegistryPath(family_); }

std::uint32_t SimHost::AdapterRegistryInfo(linkscope::AdapterRegistryInfo* info, int index) {
  return ReadAdapterRegistryInfo(registry_, family_, index, info);
}

}  // namespace linkscope::sim
