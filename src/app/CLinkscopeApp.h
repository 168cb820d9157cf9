#pragma once
// The application object: brings the program up and owns what lives for the whole run.

#include <memory>
#include <string>

#include "app/CMainFrame.h"
#include "device/OsKind.h"
#include "config/AdapterSettings.h"
#include "config/DriverParameters.h"
#include "config/ProfileApplication.h"
#include "config/ProfileStore.h"
#include "device/CAdapterLink.h"
#include "device/WindowsConfiguration.h"
#include "platform/Platform.h"
#include "text/LanguageTable.h"
#include "text/Messages.h"
#include "ui/CSettingsDlg.h"

namespace linkscope {

class CLinkscopeApp {
 public:
  explicit CLinkscopeApp(Platform& platform);
  ~CLinkscopeApp();

  // True when the program is to run its message loop, false when it is to end at once.
  bool InitInstance();
  // Runs the message loop after a successful InitInstance; returns the process exit code.
  int Run();

  OsKind GetOsKind() const { return osKind_; }
  CMainFrame* MainFrame() { return mainFrame_.get(); }
  // The process's one language table; it exists before the main window and outlives it.
  LanguageTable& Language() { return language_; }
  CAdapterLink& Link() { return link_; }
  ProfileStore& Profiles() { return profiles_; }
  ProfileState& CurrentProfile() { return profileState_; }
  ProfileApplication& ProfileLogic() { return profileApplication_; }
  AdapterSettings& Settings() { return adapterSettings_; }
  CSettingsDlg& SettingsDialog() { return settingsDialog_; }
  const Messages& AppMessages() const { return messages_; }

  // The built-in profile start-up creates when it is missing.
  static Profile DefaultProfile();

  // Per-user settings live below this key of HKEY_CURRENT_USER.
  static constexpr const char* kCompanyKey = "Software\\ORVEX";
  static constexpr const char* kAppKey = "Software\\ORVEX\\Linkscope";
  static constexpr const char* kAppName = "Linkscope";

 private:
  // The platform's service manager as it is when asked; with none, no manager opens.
  class PlatformServices : public IServiceManager {
   public:
    explicit PlatformServices(const Platform& platform) : platform_(platform) {}
    ServiceHandle OpenManager(std::uint32_t access) override {
      return platform_.services != nullptr ? platform_.services->OpenManager(access) : 0;
    }
    ServiceHandle OpenNamedService(ServiceHandle manager, const std::string& name,
                                   std::uint32_t access, std::uint32_t* error) override {
      if (platform_.services == nullptr) return 0;
      return platform_.services->OpenNamedService(manager, name, access, error);
    }
    bool QueryState(ServiceHandle service, std::uint32_t* state) override {
      return platform_.services != nullptr && platform_.services->QueryState(service, state);
    }
    bool CloseHandle(ServiceHandle handle) override {
      return platform_.services != nullptr && platform_.services->CloseHandle(handle);
    }

   private:
    const Platform& platform_;
  };

  Platform& platform_;
  PlatformServices services_{platform_};
  LanguageTable language_;
  Messages messages_;
  CAdapterLink link_;
  ProfileStore profiles_;
  DriverParameters parameters_;
  ProfileState profileState_;
  ProfileApplication profileApplication_;
  AdapterSettings adapterSettings_;
  CSettingsDlg settingsDialog_;
  WindowsConfiguration windowsConfiguration_;
  OsKind osKind_ = OsKind::OtherNt;
  std::unique_ptr<CMainFrame> mainFrame_;
};

}  // namespace linkscope
