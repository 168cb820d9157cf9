#pragma once
// The objects the tray program and linkscope-cli both run on, wired once: the language table,
// the message boxes, the request channel, the profile store, the driver parameters, the
// profile in use and its application, the settings service every change to the adapter goes
// through, and the Windows-configuration detection the request channel asks on XP. The tray program builds its main window and the settings dialog on it;
// the command line its verbs.

#include <string>

#include "config/AdapterSettings.h"
#include "config/DriverParameters.h"
#include "config/Profile.h"
#include "config/ProfileApplication.h"
#include "config/ProfileStore.h"
#include "device/CAdapterLink.h"
#include "device/OsKind.h"
#include "device/WindowsConfiguration.h"
#include "platform/PrivateProfile.h"
#include "platform/Registry.h"
#include "platform/RequestLibrary.h"
#include "platform/ServiceManager.h"
#include "platform/System.h"
#include "platform/WindowSystem.h"
#include "text/LanguageTable.h"
#include "text/Messages.h"

namespace linkscope {

class ProgramCore {
 public:
  // `windows` shows the message boxes (the command line writes them to standard error).
  // `services` is read each time the detection asks, so that it may be set later; a null one
  // behaves as a machine without a service manager.
  ProgramCore(IRegistry& registry, IPrivateProfile& profile, ISystem& system,
              IRequestLibrary& requests, IWindowSystem& windows,
              IServiceManager* const& services);
  ProgramCore(const ProgramCore&) = delete;
  ProgramCore& operator=(const ProgramCore&) = delete;

  // Reads the version the system reports and classifies it; the request channel follows the
  // kind. False for a system the program does not support (the caller says so its own way).
  bool LearnOsKind();
  // The built-in profile exists from the first start on; an existing one is left as it is.
  void EnsureDefaultProfile();

  // The built-in profile start-up creates when it is missing.
  static Profile DefaultProfile();
  // The "Language" option, or "NoLanguageYet" when it is not stored as text.
  static std::string ReadLanguageSetting(IRegistry& registry);

  // The program's options, below HKEY_CURRENT_USER.
  static constexpr const char* kSettingsKey = "Software\\ORVEX\\Linkscope\\Settings";
  static constexpr const char* kLanguageValue = "Language";

 private:
  // The service manager as it is when asked; with none, no manager opens.
  class OptionalServices : public IServiceManager {
   public:
    explicit OptionalServices(IServiceManager* const& services) : services_(services) {}
    ServiceHandle OpenManager(std::uint32_t access) override;
    ServiceHandle OpenNamedService(ServiceHandle manager, const std::string& name,
                                   std::uint32_t access, std::uint32_t* error) override;
    bool QueryState(ServiceHandle service, std::uint32_t* state) override;
    bool CloseHandle(ServiceHandle handle) override;

   private:
    IServiceManager* const& services_;
  };

  ISystem& system_;
  OptionalServices services_;

 public:
  LanguageTable language;
  Messages messages;
  CAdapterLink link;
  ProfileStore profiles;
  DriverParameters parameters;
  ProfileState state;
  ProfileApplication application;
  AdapterSettings settings;
  OsKind osKind = OsKind::OtherNt;

 private:
  WindowsConfiguration windowsConfiguration_;
};

}  // namespace linkscope
