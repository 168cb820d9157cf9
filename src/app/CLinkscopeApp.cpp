#include "app/CLinkscopeApp.h"

namespace linkscope {

CLinkscopeApp::CLinkscopeApp(Platform& platform)
    : platform_(platform),
      core_(platform.registry, platform.profile, platform.system, platform.requests,
            platform.windows, platform.services),
      settingsDialog_(SettingsDialogServices{platform.dialogs, platform.windows, platform.registry,
                                             platform.pcCards, core_.language, core_.messages,
                                             core_.link, core_.profiles, core_.state,
                                             core_.application, platform.system,
                                             core_.settings}) {}

CLinkscopeApp::~CLinkscopeApp() = default;

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

  mainFrame_ = std::make_unique<CMainFrame>(
      platform_, core_.language,
      FrameServices{core_.link, core_.profiles, core_.state, core_.application, core_.messages,
                    core_.settings});
  if (!mainFrame_->Create()) {
    mainFrame_.reset();
    return false;
  }

  const std::string title = mainFrame_->Title();

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

  if (!core_.LearnOsKind()) {
    platform_.windows.ShowMessage(0, "Operating System not supported", kAppName, kMbOk);
    mainFrame_.reset();
    return false;
  }
  core_.messages.SetOwner(mainFrame_->Window());
  settingsDialog_.SetOwner(mainFrame_->Window(), mainFrame_->AlwaysOnTopFlag(),
                           mainFrame_->DescriptionList());
  settingsDialog_.SetResourceDirectory(&mainFrame_->ResourceDirectory());
  settingsDialog_.SetSignalHistory(&mainFrame_->SignalHistoryWindow());
  mainFrame_->SetDialogHooks(&settingsDialog_);

  core_.EnsureDefaultProfile();
  return true;
}

int CLinkscopeApp::Run() { return platform_.windows.RunMessageLoop(); }

}  // namespace linkscope
