#pragma once
// The service control manager in memory: services by name with a state, and the two ways the
// real one refuses (no manager, a status query that fails).

#include <map>
#include <set>
#include <string>

#include "fakes/CaseInsensitive.h"
#include "platform/ServiceManager.h"

namespace linkscope {

struct CaseInsensitiveLess {
  bool operator()(const std::string& a, const std::string& b) const {
    return CompareNoCase(a, b) < 0;
  }
};

class FakeServiceManager : public IServiceManager {
 public:
  ServiceHandle OpenManager(std::uint32_t access) override;
  ServiceHandle OpenNamedService(ServiceHandle manager, const std::string& name, std::uint32_t access,
                            std::uint32_t* error) override;
  bool QueryState(ServiceHandle service, std::uint32_t* state) override;
  bool CloseHandle(ServiceHandle handle) override;

  // What a test sets up.
  void Install(const std::string& name) { states_[name] = kServiceStopped; }
  void SetState(const std::string& name, std::uint32_t state) { states_[name] = state; }
  void Remove(const std::string& name) { states_.erase(name); }
  bool refuseManager = false;
  bool failStatusQuery = false;

  // Handles not closed yet.
  std::size_t OpenHandles() const { return managers_.size() + services_.size(); }

 private:
  std::map<std::string, std::uint32_t, CaseInsensitiveLess> states_;
  std::set<ServiceHandle> managers_;
  std::map<ServiceHandle, std::string> services_;
  ServiceHandle next_ = 0x5C0;
};

}  // namespace linkscope
