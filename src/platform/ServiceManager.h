#pragma once
// The service control manager as the program uses it: open the manager, open one service by
// name, ask its current state. Handles, access rights, states and error codes are the Windows
// ones, so that the detection reads the same against Wine's service manager and the fake.

#include <cstdint>
#include <string>

namespace linkscope {

using ServiceHandle = std::uintptr_t;  // 0 is no handle

// Access rights.
constexpr std::uint32_t kScManagerConnect = 0x0001;     // SC_MANAGER_CONNECT
constexpr std::uint32_t kServiceQueryStatus = 0x0004;   // SERVICE_QUERY_STATUS

// Current states of a service (SERVICE_STATUS.dwCurrentState).
constexpr std::uint32_t kServiceStopped = 1;
constexpr std::uint32_t kServiceStartPending = 2;
constexpr std::uint32_t kServiceStopPending = 3;
constexpr std::uint32_t kServiceRunning = 4;

// Error codes.
constexpr std::uint32_t kServiceDoesNotExist = 1060;   // ERROR_SERVICE_DOES_NOT_EXIST
constexpr std::uint32_t kServiceInvalidHandle = 6;     // ERROR_INVALID_HANDLE

class IServiceManager {
 public:
  virtual ~IServiceManager() = default;

  // The local machine's service manager; 0 on failure.
  virtual ServiceHandle OpenManager(std::uint32_t access) = 0;
  // A service by name (letter case ignored); 0 on failure, *error (when given) then says why.
  virtual ServiceHandle OpenNamedService(ServiceHandle manager, const std::string& name,
                                    std::uint32_t access, std::uint32_t* error) = 0;
  // The service's current state; false when the handle cannot be asked.
  virtual bool QueryState(ServiceHandle service, std::uint32_t* state) = 0;
  // Closes a manager or service handle.
  virtual bool CloseHandle(ServiceHandle handle) = 0;
};

}  // namespace linkscope
