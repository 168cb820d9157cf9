#pragma once
// The application object: brings the program up and owns what lives for the whole run.

#include <memory>
#include <string>

#include "app/CMainFrame.h"
#include "app/OsKind.h"
#include "platform/Platform.h"
#include "text/LanguageTable.h"

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

  // Per-user settings live below this key of HKEY_CURRENT_USER.
  static constexpr const char* kCompanyKey = "Software\\ORVEX";
  static constexpr const char* kAppKey = "Software\\ORVEX\\Linkscope";
  static constexpr const char* kAppName = "Linkscope";

 private:
  std::string DialogTitle() const;

  Platform& platform_;
  LanguageTable language_;
  OsKind osKind_ = OsKind::OtherNt;
  std::unique_ptr<CMainFrame> mainFrame_;
};

}  // namespace linkscope
