#pragma once
// The application object: brings the program up and owns what lives for the whole run.

#include <memory>
#include <string>

#include "app/CMainFrame.h"
#include "config/ProgramCore.h"
#include "device/OsKind.h"
#include "platform/Platform.h"
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

  OsKind GetOsKind() const { return core_.osKind; }
  CMainFrame* MainFrame() { return mainFrame_.get(); }
  // The process's one language table; it exists before the main window and outlives it.
  LanguageTable& Language() { return core_.language; }
  CAdapterLink& Link() { return core_.link; }
  ProfileStore& Profiles() { return core_.profiles; }
  ProfileState& CurrentProfile() { return core_.state; }
  ProfileApplication& ProfileLogic() { return core_.application; }
  AdapterSettings& Settings() { return core_.settings; }
  CSettingsDlg& SettingsDialog() { return settingsDialog_; }
  const Messages& AppMessages() const { return core_.messages; }

  // The built-in profile start-up creates when it is missing.
  static Profile DefaultProfile() { return ProgramCore::DefaultProfile(); }

  // Per-user settings live below this key of HKEY_CURRENT_USER.
  static constexpr const char* kCompanyKey = "Software\\ORVEX";
  static constexpr const char* kAppKey = "Software\\ORVEX\\Linkscope";
  static constexpr const char* kAppName = "Linkscope";

 private:
  Platform& platform_;
  ProgramCore core_;
  CSettingsDlg settingsDialog_;
  std::unique_ptr<CMainFrame> mainFrame_;
};

}  // namespace linkscope
