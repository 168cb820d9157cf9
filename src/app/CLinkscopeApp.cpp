#include "app/CLinkscopeApp.h"

namespace linkscope {

CLinkscopeApp::CLinkscopeApp(Platform& platform)
    : platform_(platform), language_(platform.profile) {}

CLinkscopeApp::~CLinkscopeApp() = default;

std::string CLinkscopeApp::DialogTitle() const {
  const std::string title = language_.Lookup("DlgTitle", "Linkscope Utility");
  // An empty title would match every untitled window of the desktop, and the program could
  // never start; it keeps its built-in title instead.
  return title.empty() ? std::string("Linkscope Utility") : title;
}

bool CLinkscopeApp::InitInstance() {
  if (!platform_.system.StartSockets()) {
    platform_.windows.ShowMessage(0, "Windows sockets initialization failed.", kAppName, kMbOk);
    return false;
  }

  // The per-user key that options and profiles live under. It is created here so that it
  // exists whatever is stored later; a failure shows later, where something is written.
  RegKey appKey = 0;
  if (platform_.registry.CreateKey(kRegCurrentUser, kAppKey, &appKey) == kRegOk) {
    platform_.registry.CloseKey(appKey);
  }

  mainFrame_ = std::make_unique<CMainFrame>(platform_, language_);
  if (!mainFrame_->Create()) {
    mainFrame_.reset();
    return false;
  }

  const std::string title = DialogTitle();

  // The own window must not find itself: it carries a neutral title while the others are
  // searched, and the real one afterwards. A file whose title is that neutral one gets
  // another, or the program would always find itself.
  const char* neutral = title == "TempName" ? "TempName." : "TempName";
  platform_.windows.SetWindowTitle(mainFrame_->Window(), neutral);
  const WindowHandle other = platform_.windows.FindTopLevelWindow(title);
  platform_.windows.SetWindowTitle(mainFrame_->Window(), title);
  if (other != 0) {
    platform_.system.Beep(kBeepExclamation);
    mainFrame_.reset();
    return false;
  }

  OsVersion version;
  const bool versionKnown = platform_.system.GetVersion(&version);
  if (!versionKnown || !ClassifyOs(version, &osKind_)) {
    platform_.windows.ShowMessage(0, "Operating System not supported", kAppName, kMbOk);
    mainFrame_.reset();
    return false;
  }
  return true;
}

int CLinkscopeApp::Run() { return platform_.windows.RunMessageLoop(); }

}  // namespace linkscope
