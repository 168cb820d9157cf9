#pragma once
// What the verbs of linkscope-cli share: the objects they run on and the parsed command line.
// Each group of verbs has a source file of its own; CliProgram.cpp parses and dispatches.

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "cli/CliOutput.h"
#include "cli/CliProgram.h"
#include "config/DriverParameters.h"
#include "config/ProfileApplication.h"
#include "config/ProfileStore.h"
#include "device/CAdapterLink.h"
#include "device/OsKind.h"
#include "device/WindowsConfiguration.h"
#include "text/LanguageTable.h"
#include "text/Messages.h"

namespace linkscope {

// The service manager as given; with none, no manager opens.
class OptionalServices : public IServiceManager {
 public:
  explicit OptionalServices(IServiceManager* services) : services_(services) {}
  ServiceHandle OpenManager(std::uint32_t access) override {
    return services_ != nullptr ? services_->OpenManager(access) : 0;
  }
  ServiceHandle OpenNamedService(ServiceHandle manager, const std::string& name,
                                 std::uint32_t access, std::uint32_t* error) override {
    return services_ != nullptr ? services_->OpenNamedService(manager, name, access, error) : 0;
  }
  bool QueryState(ServiceHandle service, std::uint32_t* state) override {
    return services_ != nullptr && services_->QueryState(service, state);
  }
  bool CloseHandle(ServiceHandle handle) override {
    return services_ != nullptr && services_->CloseHandle(handle);
  }

 private:
  IServiceManager* services_;
};

// The tray program's objects, wired as the application object wires them.
struct CliProgram::Core {
  explicit Core(CliPlatform& p)
      : windows(p.err),
        language(p.profile),
        messages(windows, language),
        link(p.requests, p.system),
        profiles(p.registry, messages),
        parameters(p.registry, messages, link),
        application(link, profiles, parameters, messages, p.system, state),
        services(p.services),
        windowsConfiguration(services, p.registry, p.requests, link, messages) {
    link.SetWindowsConfigCheck([this] { return windowsConfiguration.IsConfiguredByWindows(); });
  }

  ConsoleWindows windows;
  LanguageTable language;
  Messages messages;
  CAdapterLink link;
  ProfileStore profiles;
  DriverParameters parameters;
  ProfileState state;
  ProfileApplication application;
  OptionalServices services;
  WindowsConfiguration windowsConfiguration;
  OsKind osKind = OsKind::OtherNt;
};

struct CliProgram::Options {
  std::string verb;
  std::vector<std::string> positional;
  bool json = false;
  bool reset = false;
  bool replace = false;
  bool help = false;
  int adapter = 1;
  std::optional<std::string> as;
  std::optional<std::uint32_t> interval;
  std::uint32_t count = 0;
  std::optional<std::string> csv;
  std::uint32_t waitSeconds = 0;
  std::uint32_t timeoutSeconds = 60;
};

}  // namespace linkscope
