#include "win32/TestService.h"

#include <windows.h>

#include "win32/ProcessHelpers.h"

namespace linkscope::testing {

namespace {

// A service handle with the rights asked for; closed with its manager on destruction.
class Service {
 public:
  Service(const std::string& name, DWORD access) {
    manager_ = OpenSCManagerA(nullptr, nullptr, SC_MANAGER_ALL_ACCESS);
    if (manager_ != nullptr) service_ = OpenServiceA(manager_, name.c_str(), access);
  }
  ~Service() {
    if (service_ != nullptr) CloseServiceHandle(service_);
    if (manager_ != nullptr) CloseServiceHandle(manager_);
  }
  Service(const Service&) = delete;
  Service& operator=(const Service&) = delete;
  SC_HANDLE Get() const { return service_; }
  DWORD State() const {
    SERVICE_STATUS status{};
    return service_ != nullptr && QueryServiceStatus(service_, &status) ? status.dwCurrentState : 0;
  }

 private:
  SC_HANDLE manager_ = nullptr;
  SC_HANDLE service_ = nullptr;
};

bool Exists(const std::string& name) {
  Service service(name, SERVICE_QUERY_STATUS);
  return service.Get() != nullptr;
}

}  // namespace

bool InstallTestService(const std::string& name, const std::string& exe) {
  RemoveTestService(name);
  SC_HANDLE manager = OpenSCManagerA(nullptr, nullptr, SC_MANAGER_ALL_ACCESS);
  if (manager == nullptr) return false;
  const std::string command = Quote(exe) + " " + name;
  SC_HANDLE service = CreateServiceA(manager, name.c_str(), name.c_str(), SERVICE_ALL_ACCESS,
                                     SERVICE_WIN32_OWN_PROCESS, SERVICE_DEMAND_START,
                                     SERVICE_ERROR_IGNORE, command.c_str(), nullptr, nullptr,
                                     nullptr, nullptr, nullptr);
  if (service != nullptr) CloseServiceHandle(service);
  CloseServiceHandle(manager);
  return service != nullptr;
}

bool StartTestService(const std::string& name) {
  Service service(name, SERVICE_START | SERVICE_QUERY_STATUS);
  if (service.Get() == nullptr) return false;
  if (!StartServiceA(service.Get(), 0, nullptr) &&
      GetLastError() != ERROR_SERVICE_ALREADY_RUNNING) {
    return false;
  }
  return WaitUntil([&] { return service.State() == SERVICE_RUNNING; });
}

bool StopTestService(const std::string& name) {
  Service service(name, SERVICE_STOP | SERVICE_QUERY_STATUS);
  if (service.Get() == nullptr) return false;
  if (service.State() == SERVICE_STOPPED) return true;
  SERVICE_STATUS status{};
  ControlService(service.Get(), SERVICE_CONTROL_STOP, &status);
  return WaitUntil([&] { return service.State() == SERVICE_STOPPED; });
}

void RemoveTestService(const std::string& name) {
  {
    Service service(name, SERVICE_ALL_ACCESS);
    if (service.Get() == nullptr) return;
    StopTestService(name);
    DeleteService(service.Get());
  }
  // The name is free once the last handle to the deleted service is closed.
  WaitUntil([&] { return !Exists(name); });
}

}  // namespace linkscope::testing
