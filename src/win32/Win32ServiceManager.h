#pragma once
#include "platform/ServiceManager.h"

namespace linkscope {

// The real service control manager, one Win32 call per method.
class Win32ServiceManager : public IServiceManager {
 public:
  ServiceHandle OpenManager(std::uint32_t access) override;
  ServiceHandle OpenNamedService(ServiceHandle manager, const std::string& name, std::uint32_t access,
                            std::uint32_t* error) override;
  bool QueryState(ServiceHandle service, std::uint32_t* state) override;
  bool CloseHandle(ServiceHandle handle) override;
};

}  // namespace linkscope
