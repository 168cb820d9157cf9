#pragma once
// The application object: brings the program up and owns what lives for the whole run.

#include <memory>
#include <string>

#include "app/CMainFrame.h"
#include "app/OsKind.h"
#include "config/DriverParameters.h"
#include "config/ProfileApplication.h"
#include "config/ProfileStore.h"
#include "device/CAdapterLink.h"
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
  CSettingsDlg& SettingsDialog() { return settingsDialog_; }
  const Messages& AppMessages() const { return messages_; }

  // The built-in profile start-up creates when it is missing.
  static Profile DefaultProfile();

  // Per-user settings live below this key of HKEY_CURRENT_USER.
  static constexpr const char* kCompanyKey = "Software\\ORVEX";
  static constexpr const char* kAppKey = "Software\\ORVEX\\Linkscope";
  static constexpr const char* kAppName = "Linkscope";

 private:
  Platform& platform_;
  LanguageTable language_;
  Messages messages_;
  CAdapterLink link_;
  ProfileStore profiles_;
  DriverParameters parameters_;
  ProfileState profileState_;
  ProfileApplication profileApplication_;
  CSettingsDlg settingsDialog_;
  OsKind osKind_ = OsKind::OtherNt;
  std::unique_ptr<CMainFrame> mainFrame_;
};

}  // namespace linkscope
