#include "app/CLinkscopeApp.h"

#include "config/ProfileNames.h"

namespace linkscope {

CLinkscopeApp::CLinkscopeApp(Platform& platform)
    : platform_(platform),
      language_(platform.profile),
      messages_(platform.windows, language_),
      link_(platform.requests, platform.system),
      profiles_(platform.registry, messages_),
      parameters_(platform.registry, messages_, link_),
      profileApplication_(link_, profiles_, parameters_, messages_, platform.system,
                          profileState_),
      adapterSettings_(link_, profiles_, profileState_, profileApplication_, platform.registry,
                       messages_),
      settingsDialog_(SettingsDialogServices{platform.dialogs, platform.windows, platform.registry,
                                             platform.pcCards, language_, messages_, link_,
                                             profiles_, profileState_, profileApplication_,
                                             platform.system, adapterSettings_}),
      windowsConfiguration_(services_, platform.registry, platform.requests, link_, messages_) {
  // On Windows XP the link answers the Windows-configuration query from here, not the driver.
  link_.SetWindowsConfigCheck([this] { return windowsConfiguration_.IsConfiguredByWindows(); });
}

Profile CLinkscopeApp::DefaultProfile() {
  Profile p;
  p.name = kDefaultProfileName;
  p.ssid = "";
  p.mode = 1;
  p.channel = 10;
  p.rate = 4;
  p.power = 0;
  p.preamble = 2;
  p.frag = 2346;
  p.rts = 2347;
  p.enc = 0;
  p.wepmode = 0;
  p.auth = 2;
  p.key = 0;
  p.keys = {"7E3D91C0A5", "7E3D91C0A5", "7E3D91C0A5", "7E3D91C0A5"};
  p.roaming = 0;
  p.radio = 1;
  return p;
}

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
      platform_, language_,
      FrameServices{link_, profiles_, profileState_, profileApplication_, messages_,
                    adapterSettings_});
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

  OsVersion version;
  const bool versionKnown = platform_.system.GetVersion(&version);
  if (!versionKnown || !ClassifyOs(version, &osKind_)) {
    platform_.windows.ShowMessage(0, "Operating System not supported", kAppName, kMbOk);
    mainFrame_.reset();
    return false;
  }
  link_.SetOsKind(osKind_);
  messages_.SetOwner(mainFrame_->Window());
  settingsDialog_.SetOwner(mainFrame_->Window(), mainFrame_->AlwaysOnTopFlag(),
                           mainFrame_->DescriptionList());
  settingsDialog_.SetResourceDirectory(&mainFrame_->ResourceDirectory());
  mainFrame_->SetDialogHooks(&settingsDialog_);

  // The built-in profile exists from the first start on; an existing one is left as it is.
  Profile existing;
  if (!profiles_.Find(kDefaultProfileName, &existing)) profiles_.Save(DefaultProfile(), false);
  return true;
}

int CLinkscopeApp::Run() { return platform_.windows.RunMessageLoop(); }

}  // namespace linkscope
