#include "fakes/FakeServiceManager.h"

namespace linkscope {

ServiceHandle FakeServiceManager::OpenManager(std::uint32_t /*access*/) {
  if (refuseManager) return 0;
  const ServiceHandle handle = ++next_;
  managers_.insert(handle);
  return handle;
}

ServiceHandle FakeServiceManager::OpenNamedService(ServiceHandle manager, const std::string& name,
                                              std::uint32_t /*access*/, std::uint32_t* error) {
  if (managers_.count(manager) == 0) {
    if (error != nullptr) *error = kServiceInvalidHandle;
    return 0;
  }
  if (states_.count(name) == 0) {
    if (error != nullptr) *error = kServiceDoesNotExist;
    return 0;
  }
  const ServiceHandle handle = ++next_;
  services_[handle] = name;
  return handle;
}

bool FakeServiceManager::QueryState(ServiceHandle service, std::uint32_t* state) {
  const auto it = services_.find(service);
  if (it == services_.end() || failStatusQuery) return false;
  // A service removed while a handle is open still answers with its last state on Windows;
  // here it reads as stopped.
  const auto found = states_.find(it->second);
  *state = found == states_.end() ? kServiceStopped : found->second;
  return true;
}

bool FakeServiceManager::CloseHandle(ServiceHandle handle) {
  return managers_.erase(handle) + services_.erase(handle) > 0;
}

}  // namespace linkscope
