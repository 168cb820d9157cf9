#pragma once
// Installs, starts, stops and removes the test service program (wzcsvc.exe) under the real
// service manager, for tests that need a service such as "WZCSVC" to exist and run.

#include <string>

namespace linkscope::testing {

// Installs `exe` as a demand-start service `name` (an earlier one of that name is removed
// first); true when it is installed and stopped.
bool InstallTestService(const std::string& name, const std::string& exe);
// Start and stop return once the service manager reports the state (false after the test's
// patience has run out).
bool StartTestService(const std::string& name);
bool StopTestService(const std::string& name);
// Stops the service if it runs and removes it; waits until the name is free again.
void RemoveTestService(const std::string& name);

}  // namespace linkscope::testing
