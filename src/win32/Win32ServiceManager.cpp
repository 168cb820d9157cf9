#include "win32/Win32ServiceManager.h"

#include <windows.h>

namespace linkscope {

namespace {

SC_HANDLE ToHandle(ServiceHandle handle) { return reinterpret_cast<SC_HANDLE>(handle); }
ServiceHandle FromHandle(SC_HANDLE handle) { return reinterpret_cast<ServiceHandle>(handle); }

}  // namespace

ServiceHandle Win32ServiceManager::OpenManager(std::uint32_t access) {
  return FromHandle(OpenSCManagerA(nullptr, nullptr, access));
}

ServiceHandle Win32ServiceManager::OpenNamedService(ServiceHandle manager, const std::string& name,
                                               std::uint32_t access, std::uint32_t* error) {
  const SC_HANDLE service = OpenServiceA(ToHandle(manager), name.c_str(), access);
  if (service == nullptr && error != nullptr) *error = GetLastError();
  return FromHandle(service);
}

bool Win32ServiceManager::QueryState(ServiceHandle service, std::uint32_t* state) {
  SERVICE_STATUS status{};
  if (!QueryServiceStatus(ToHandle(service), &status)) return false;
  *state = status.dwCurrentState;
  return true;
}

bool Win32ServiceManager::CloseHandle(ServiceHandle handle) {
  return CloseServiceHandle(ToHandle(handle)) != FALSE;
}

}  // namespace linkscope
