#pragma once
// The service-manager contract, run against the in-memory fake natively and against Wine's
// service manager with a real service program. A world can install, start, stop and remove a
// service of its own; the program only ever asks for a service's state.

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <ostream>
#include <string>

#include "platform/ServiceManager.h"

namespace linkscope {

class ServiceWorld {
 public:
  virtual ~ServiceWorld() = default;
  virtual IServiceManager& Manager() = 0;
  // Each returns once the service is in the state asked for (false when it never got there).
  virtual bool Install(const std::string& name) = 0;
  virtual bool SetRunning(const std::string& name, bool running) = 0;
  virtual void Remove(const std::string& name) = 0;
};

struct ServiceWorldImpl {
  std::string name;
  std::function<std::unique_ptr<ServiceWorld>()> make;
};

class ServiceManagerContract : public ::testing::TestWithParam<ServiceWorldImpl> {
 protected:
  void SetUp() override { world_ = GetParam().make(); }
  std::unique_ptr<ServiceWorld> world_;
};

inline std::string ServiceWorldName(const ::testing::TestParamInfo<ServiceWorldImpl>& info) {
  return info.param.name;
}

inline void PrintTo(const ServiceWorldImpl& impl, std::ostream* os) { *os << impl.name; }

}  // namespace linkscope
