#include "app/CMainFrame.h"

#include <tuple>

#include "config/ProfileNames.h"
#include "device/DeviceCodes.h"
#include "device/Oids.h"
#include "device/RecordQuery.h"
#include "text/OemSettings.h"

namespace linkscope {

namespace {

// Marks a tick in progress for as long as it lives.
class TickScope {
 public:
  explicit TickScope(int& depth) : depth_(depth) { ++depth_; }
  ~TickScope() { --depth_; }
  TickScope(const TickScope&) = delete;
  TickScope& operator=(const TickScope&) = delete;

 private:
  int& depth_;
};

}  // namespace

CMainFrame::CMainFrame(Platform& platform, LanguageTable& language, FrameServices services)
    : platform_(platform),
      language_(language),
      services_(services),
      tray_(platform.windows) {
  language_.ChooseFile();
}

CMainFrame::~CMainFrame() {
  Destroy();
  platform_.windows.FreeIcon(okIcon_);
  platform_.windows.FreeIcon(notOkIcon_);
}

std::string CMainFrame::Title() const { return OemSettings(language_).Title(); }

bool CMainFrame::Create() {
  if (window_ != 0) return true;
  return platform_.windows.CreateMainWindow(kInitialTitle, this) != 0;
}

void CMainFrame::Destroy() {
  if (window_ != 0) platform_.windows.DestroyWindow(window_);
  window_ = 0;
}

std::string CMainFrame::ReadLanguageSetting() const {
  return ProgramCore::ReadLanguageSetting(platform_.registry);
}

bool CMainFrame::ReadAlwaysOnTopSetting() const {
  RegKey key = 0;
  if (platform_.registry.OpenKey(kRegCurrentUser, kSettingsKey, RegAccess::Read, &key) != kRegOk) {
    return true;
  }
  std::uint8_t data[4] = {};
  std::uint32_t type = 0, size = sizeof data;
  const long rc = platform_.registry.QueryValue(key, kAlwaysOnTopValue, &type, data, &size);
  platform_.registry.CloseKey(key);
  if (rc != kRegOk || type != kRegDword || size != 4) return true;
  return (data[0] | data[1] | data[2] | data[3]) != 0;
}

IconHandle CMainFrame::LoadIcon(const std::string& fileName, std::uint32_t builtIn) {
  IconHandle icon = 0;
  if (!fileName.empty()) icon = platform_.windows.LoadIconFile(resourceDirectory_ + fileName);
  // A file that is missing or no icon falls back to the built-in one without a word.
  if (icon == 0) icon = platform_.windows.LoadBuiltInIcon(builtIn);
  return icon;
}

void CMainFrame::ReloadIconsAndTooltip() {
  const OemSettings oem(language_);
  const IconHandle ok = LoadIcon(oem.TaskBarOkIcon(), kOkIconId);
  const IconHandle notOk = LoadIcon(oem.TaskBarNotOkIcon(), kNotOkIconId);
  // The shell keeps its own copy of the icon it shows, so the old ones can go.
  platform_.windows.FreeIcon(okIcon_);
  platform_.windows.FreeIcon(notOkIcon_);
  okIcon_ = ok;
  notOkIcon_ = notOk;
  toolTipText_ = oem.ToolTipText();
}

bool CMainFrame::OnCreate(WindowHandle window) {
  window_ = window;
  life_.Begin();
  if (trayMessage_ == 0) trayMessage_ = platform_.windows.RegisterMessage(kTrayMessageName);
  // A restarted shell announces its new taskbar; the icon must be added to it again.
  taskbarCreatedMessage_ = platform_.windows.RegisterMessage("TaskbarCreated");
  switchProfileMessage_ = platform_.windows.RegisterMessage(kSwitchProfileMessageName);
  closeForSetupMessage_ = platform_.windows.RegisterMessage(kCloseForSetupMessageName);
  tray_.Attach(window_, trayMessage_);

  resourceDirectory_ = platform_.system.CurrentDirectory() + "\\res\\";
  services_.link.Adapters().clear();
  services_.link.ClearCurrentAdapter();
  services_.link.regulatoryDomain = kDomainAllChannels;
  reloadTexts_ = false;
  language_.SelectStartLanguage(ReadLanguageSetting());
  alwaysOnTop_ = ReadAlwaysOnTopSetting();
  ReloadIconsAndTooltip();

  const OemSettings oem(language_);
  deviceDescriptions_ = oem.LoadDeviceDescriptions(OemSettings::BuiltInDeviceDescriptions());
  pollingPeriod_ = oem.DevicePollingTimerMsec();
  platform_.windows.SetTimer(window_, kPollTimerId, pollingPeriod_);
  return true;
}

void CMainFrame::StartMenuWatch(int x, int y) {
  menuOriginX_ = x;
  menuOriginY_ = y;
  platform_.windows.SetTimer(window_, kMenuWatchTimerId, kMenuWatchPeriodMs);
}

void CMainFrame::WatchMenu() {
  int x = 0, y = 0;
  if (!platform_.windows.GetCursorPosition(&x, &y)) return;
  // A cursor left of or above the point the menu opened at has left the icon. The menu opens
  // to the left of that point (and above it at the bottom of the screen), so a cursor that
  // lies on the menu is the user choosing, and the menu stays.
  if ((x < menuOriginX_ || y < menuOriginY_) && !platform_.windows.CursorOnMenu()) {
    platform_.windows.CloseMenu(window_);
    platform_.windows.KillTimer(window_, kMenuWatchTimerId);
  }
}

void CMainFrame::OnTimer(std::uint32_t timerId) {
  if (timerId == kMenuWatchTimerId) WatchMenu();
  // A tick that shows a message or waits keeps the message loop running, and the timer's next
  // message would start another tick inside it, without end. One tick at a time: a tick that
  // finds another in progress leaves at once.
  if (tickDepth_ > 0) return;
  TickScope scope(tickDepth_);
  Tick();
}

void CMainFrame::Discover() {
  services_.link.Enumerate(DiscoveryContext{platform_.registry, platform_.pcCards},
                           deviceDescriptions_);
  // After every discovery of its own the tick takes the first adapter afresh, whatever the
  // new list left current.
  services_.link.ClearCurrentAdapter();
}

void CMainFrame::Tick() {
  CAdapterLink& link = services_.link;

  if (reloadTexts_) {
    ReloadIconsAndTooltip();
    reloadTexts_ = false;
  }

  if (link.AdapterCount() == 0) {
    link.ResetChannel();
    if (tray_.Shown()) tray_.Set(0, toolTipText_);
    currentIcon_ = 0;  // the icon returns with the first tick that has an adapter again
    if (DialogOpen()) dialog_->Close();
    Discover();
    return;
  }

  if (link.CurrentAdapter() == nullptr) {
    link.SelectAdapter(0);
    if (!TakeFirstAdapter()) return;
  }

  if (link.GetOsKind() == OsKind::WinXP && !FollowWindowsConfiguration()) return;

  std::uint8_t state = 0;
  if (!QueryByte(link, Adapter(), OID_PRIV_DEVICE_STATE, &state)) {
    LoseAdapter();
    return;
  }
  deviceState_ = state;
  if (IsUnusableState(state)) {
    if (DialogOpen()) dialog_->Close();
    if (tray_.Shown()) tray_.Set(0, toolTipText_);
    link.ResetChannel();
    currentIcon_ = 0;  // the icon returns on the first tick with another state
    return;
  }

  std::uint32_t media = kMediaConnected;
  if (!QueryMediaConnectStatus(link, Adapter(), &media)) media = kMediaConnected;
  previousIcon_ = currentIcon_;
  currentIcon_ = (state != DeviceState::kAssociated && media != kMediaConnected) ? notOkIcon_
                                                                                 : okIcon_;
  // The icon is the only way into the program: whenever the shell does not hold it (a
  // refused add, a deletion the tick made), it is added again, not only when the choice
  // changes.
  if (currentIcon_ != previousIcon_ || !tray_.Shown()) tray_.Set(currentIcon_, toolTipText_);

  if (state == DeviceState::kGoingAway && DialogOpen()) dialog_->MarkSurveyFinished();
  if (DialogOpen()) dialog_->RefreshCurrentPage();

  if (state == DeviceState::kGoingAway && link.GetOsKind() == OsKind::Win95) {
    // Windows 95 takes the card away from under the program: it leaves at once, asking
    // nothing and saving nothing.
    link.ResetChannel();
    tray_.Set(0, toolTipText_);
    platform_.system.EndProcess(0);
  }
}

bool CMainFrame::TakeFirstAdapter() {
  CAdapterLink& link = services_.link;

  if (DialogOpen()) {
    // When the configuration cannot be read the adapter stays selected; the cached values and
    // the start-up check wait for the next selection.
    if (!services_.adapterSettings.FollowAdapter()) return false;
    dialog_->FillProfileSelector();
  }

  link.RefreshAdapterValues();

  if (!startupCheckDone_) {
    ProfileState& state = services_.profileState;
    state.currentName = services_.profiles.ReadLastProfile();
    if (state.currentName.empty()) {
      state.currentName = kDefaultProfileName;
      services_.profiles.WriteLastProfile(state.currentName);
    }
    bool compare = true;
    if (link.GetOsKind() == OsKind::WinXP) {
      // While Windows configures the card, its settings are Windows' and say nothing about
      // the profile.
      std::uint8_t byWindows = 1;
      std::uint32_t written = 0;
      if (!link.Query(Adapter(), OID_PRIV_WINDOWS_CONFIG, &byWindows, 1, &written) ||
          byWindows != 0) {
        compare = false;
      }
    }
    if (compare) state.inSync = services_.profileApplication.MatchesAdapter();
    startupCheckDone_ = true;
  }
  return true;
}

bool CMainFrame::FollowWindowsConfiguration() {
  CAdapterLink& link = services_.link;
  // The dialog's pages, built again for the new state, and the profile put back may tell of a
  // failure in a box, under which the program may be closed: the tick ends then.
  const WindowLife::Token window = life_.Mark();
  std::uint8_t live = 0;
  std::uint32_t written = 0;
  if (!link.Query(Adapter(), OID_PRIV_WINDOWS_CONFIG, &live, 1, &written)) return true;
  // The dialog shows the flag the link holds; it follows every change of the live value at
  // once, whether the driver has taken the change or not, since the profile switch already
  // does: its controls must not stay open while Windows drives the card, nor locked after
  // Windows let go before a refusing driver ever heard of the change.
  const bool shownChanged = live != link.configuredByWindows;
  link.configuredByWindows = live;
  if (static_cast<std::int32_t>(live) == link.previousConfiguredByWindows) {
    if (shownChanged && DialogOpen()) dialog_->ApplyWindowsConfigurationState();
    return life_.StillAlive(window);
  }

  if (windowsConfigSeen_ || live == 0) {
    if (!services_.adapterSettings.SetWindowsConfiguration(live)) {
      // The change stays pending: the previous value is kept, so the next tick tries again.
      // A driver that keeps refusing would otherwise bring a message every polling period:
      // it is said once for each change.
      if (shownChanged && DialogOpen()) dialog_->ApplyWindowsConfigurationState();
      if (static_cast<std::int32_t>(live) != windowsConfigFailureShown_) {
        windowsConfigFailureShown_ = live;
        if (life_.StillAlive(window)) {
          services_.messages.Show("FailedToSetErrorMessage", "Failed to set parameters");
        }
      }
      return false;
    }
  }
  windowsConfigFailureShown_ = -1;
  windowsConfigSeen_ = true;
  if (DialogOpen()) dialog_->ApplyWindowsConfigurationState();
  if (!life_.StillAlive(window)) return false;
  if (live == 0 && link.previousConfiguredByWindows != -1) {
    // Windows has let go of the card: after a pause the profile in use goes back on it.
    platform_.system.Sleep(kWindowsReleaseWaitMs);
    if (services_.adapterSettings.ApplyProfile(services_.profileState.currentName)) {
      services_.profileState.inSync = true;
      if (DialogOpen()) dialog_->FillProfileSelector();
    }
    if (!life_.StillAlive(window)) return false;
  }
  link.previousConfiguredByWindows = live;
  if (DialogOpen()) dialog_->RebuildStatusPage();
  return life_.StillAlive(window);
}

void CMainFrame::LoseAdapter() {
  CAdapterLink& link = services_.link;
  link.regulatoryDomain = kDomainAllChannels;
  Discover();  // a new list, and no adapter selected
  link.ResetChannel();
  if (link.AdapterCount() == 0) {
    if (DialogOpen()) dialog_->Close();
    if (tray_.Shown()) tray_.Set(0, toolTipText_);
  } else if (DialogOpen()) {
    dialog_->FillAdapterSelector();
  }
  currentIcon_ = 0;  // the next successful tick sets the icon again
}

void CMainFrame::OnRegisteredMessage(std::uint32_t message, std::uintptr_t wParam,
                                     std::intptr_t lParam) {
  if (message == trayMessage_ && trayMessage_ != 0) {
    OnTrayMouse(static_cast<std::uint32_t>(lParam));
  } else if (message == taskbarCreatedMessage_ && taskbarCreatedMessage_ != 0) {
    // The new taskbar holds no icon: the one the tick chose goes on it, whether the old shell
    // had accepted it or not (a program started before the taskbar had its add refused).
    tray_.Forget();
    if (currentIcon_ != 0) tray_.Set(currentIcon_, toolTipText_);
  } else if (message == switchProfileMessage_ && switchProfileMessage_ != 0) {
    // The command-line companion's apply: the same switch as the profile menu's item, so that
    // the running program, the adapter and "LastProfile" agree. Unlike the menu it reaches
    // every profile, not only the first 99.
    if (dialog_ != nullptr && wParam <= static_cast<std::uintptr_t>(INT32_MAX)) {
      dialog_->SwitchProfile(static_cast<int>(wParam));
    }
  } else if (message == closeForSetupMessage_ && closeForSetupMessage_ != 0) {
    CloseWithoutAsking();
  }
}

void CMainFrame::OnTrayMouse(std::uint32_t mouseMessage) {
  switch (mouseMessage) {
    case kMouseLeftUp:
      platform_.windows.GetCursorPosition(&menuOriginX_, &menuOriginY_);
      break;
    case kMouseLeftDoubleClick:
      openOnInfo_ = false;
      if (dialog_ == nullptr) break;
      if (!dialog_->IsOpen()) {
        if (services_.link.AdapterCount() > 0) dialog_->Open(false);
      } else if (alwaysOnTop_) {
        dialog_->Close();
      } else {
        dialog_->BringToFront();
      }
      break;
    case kMouseRightUp:
      ShowMenu();
      break;
    default:
      break;
  }
}

std::vector<MenuItem> CMainFrame::BuildMenu() const {
  std::vector<MenuItem> menu;
  const std::vector<std::string>& languages = language_.Languages();
  if (languages.size() > 1) {
    MenuItem item;
    item.text = language_.Lookup("TaskBarMenuLanguage", "Language");
    for (std::size_t i = 0; i < languages.size() && i < kMaxMenuLanguages; ++i) {
      MenuItem entry;
      entry.id = kCmdLanguage + static_cast<std::uint32_t>(i);
      entry.text = languages[i];
      entry.checked = languages[i] == language_.CurrentLanguage();
      item.submenu.push_back(entry);
    }
    menu.push_back(item);
  }
  MenuItem profiles;
  profiles.text = language_.Lookup("TaskBarMenuProfile", "Active Profile");
  std::vector<std::string> names;
  services_.profiles.Names(&names);
  // Profiles beyond the last identifier are not listed: the identifiers after it belong to
  // nothing the program handles.
  for (std::size_t i = 0; i < names.size() && i < kMaxMenuProfiles; ++i) {
    MenuItem entry;
    entry.id = kCmdFirstProfile + static_cast<std::uint32_t>(i);
    entry.text = names[i];
    entry.checked = names[i] == services_.profileState.currentName;
    profiles.submenu.push_back(entry);
  }
  menu.push_back(profiles);
  MenuItem separator;
  separator.separator = true;
  menu.push_back(separator);
  MenuItem topmost;
  topmost.id = kCmdAlwaysOnTop;
  topmost.text = language_.Lookup("TaskBarMenuAlwaysOnTop", "Always on top");
  topmost.checked = alwaysOnTop_;
  menu.push_back(topmost);
  menu.push_back(separator);
  for (const auto& [id, key, text] :
       {std::tuple<std::uint32_t, const char*, const char*>{kCmdSettings, "TaskBarMenuSettings",
                                                           "Settings"},
        {kCmdAbout, "TaskBarMenuAbout", "About..."},
        {kCmdExit, "TaskBarMenuExit", "Exit"}}) {
    MenuItem item;
    item.id = id;
    item.text = language_.Lookup(key, text);
    menu.push_back(item);
  }
  return menu;
}

void CMainFrame::ShowMenu() {
  if (menuOpen_) return;
  menuOpen_ = true;
  int x = 0, y = 0;
  platform_.windows.GetCursorPosition(&x, &y);
  StartMenuWatch(x, y);
  const WindowLife::Token window = life_.Mark();
  const std::uint32_t command = platform_.windows.TrackPopupMenu(window_, BuildMenu(), x, y);
  menuOpen_ = false;
  // The session may have ended while the menu was up: a closed program runs no command.
  if (command != 0 && life_.StillAlive(window)) OnCommand(command);
}

void CMainFrame::OnCommand(std::uint32_t id) {
  CAdapterLink& link = services_.link;
  if (id == kCmdAbout) {
    openOnInfo_ = true;
    if (DialogOpen()) {
      dialog_->ShowInfoPage();
    } else if (dialog_ != nullptr && link.AdapterCount() > 0) {
      dialog_->Open(true);
    }
  } else if (id == kCmdSettings) {
    openOnInfo_ = false;
    if (dialog_ != nullptr && !dialog_->IsOpen() && link.AdapterCount() > 0) dialog_->Open(false);
  } else if (id == kCmdAlwaysOnTop) {
    // The option is stored at exit and on a language change, not now.
    alwaysOnTop_ = !alwaysOnTop_;
    platform_.windows.SetTopmost(window_, alwaysOnTop_);
  } else if (id == kCmdExit) {
    OnClose();
  } else if (id >= kCmdLanguage && id < kCmdLanguage + kMaxMenuLanguages) {
    const std::size_t i = id - kCmdLanguage;
    if (i >= language_.Languages().size()) return;
    language_.SetCurrentLanguage(language_.Languages()[i]);
    reloadTexts_ = true;
    WriteOptions();
    // A later start reads the new language and looks for its title: the running program
    // must carry it, or a second one would start beside it.
    platform_.windows.SetWindowTitle(window_, Title());
    if (DialogOpen()) dialog_->Relabel();
  } else if (id >= kCmdFirstProfile && id <= kCmdLastProfile) {
    if (dialog_ != nullptr) dialog_->SwitchProfile(static_cast<int>(id - kCmdFirstProfile));
  }
}

void CMainFrame::WriteOptions() {
  RegKey key = 0;
  if (platform_.registry.CreateKey(kRegCurrentUser, kSettingsKey, &key) != kRegOk) return;
  const std::string& language = language_.CurrentLanguage();
  platform_.registry.SetValue(key, kLanguageValue, kRegSz,
                              reinterpret_cast<const std::uint8_t*>(language.data()),
                              static_cast<std::uint32_t>(language.size()));
  const std::uint8_t onTop[4] = {static_cast<std::uint8_t>(alwaysOnTop_ ? 1 : 0), 0, 0, 0};
  platform_.registry.SetValue(key, kAlwaysOnTopValue, kRegDword, onTop, 4);
  platform_.registry.CloseKey(key);
}

void CMainFrame::OnClose() { Close(true); }

void CMainFrame::CloseWithoutAsking() { Close(false); }

void CMainFrame::Close(bool askToSave) {
  if (closing_) return;
  closing_ = true;
  ProfileState& state = services_.profileState;
  if (state.currentName.empty()) state.currentName = kDefaultProfileName;
  services_.profiles.WriteLastProfile(state.currentName);

  CAdapterLink& link = services_.link;
  if (askToSave && !state.inSync && link.configuredByWindows == 0 && link.AdapterCount() > 0) {
    const std::string question =
        language_.Lookup("QuestionSaveChanges1", "You have made changes to your current profile (") +
        state.currentName +
        language_.Lookup("QuestionSaveChanges2", ").Would you like to save these changes?");
    const std::string caption = language_.Lookup("QuestionSaveChangesCaption", "Save changes?");
    // Owned like every other message: by the settings dialog while it is open.
    const int answer = platform_.windows.ShowMessage(
        services_.messages.Owner(), question, caption, kMbYesNo | kMbIconQuestion | kMbDefButton2);
    if (answer == kIdYes) {
      Profile profile;
      if (!services_.profileApplication.CaptureCurrentSettings(&profile)) {
        services_.messages.Show("ErrorCannotGetSettings", "Cannot get current settings");
      } else {
        profile.name = state.currentName;
        if (!services_.profiles.Save(profile, false)) {
          services_.messages.Show("ErrorCannotSaveProfile", "Could not save profile");
        }
      }
    }
  }
  WriteOptions();
  if (window_ != 0) platform_.windows.KillTimer(window_, kPollTimerId);
  link.ResetChannel();
  link.Adapters().clear();
  link.ClearCurrentAdapter();
  deviceDescriptions_.clear();
  if (tray_.Shown()) tray_.Set(0, toolTipText_);
  Destroy();
}

bool CMainFrame::OnQueryEndSession() {
  OnClose();
  return true;
}

void CMainFrame::OnDestroy() {
  // The main window going away ends the program; its icon must not stay behind in the tray.
  if (window_ != 0) platform_.windows.KillTimer(window_, kPollTimerId);
  if (tray_.Shown()) tray_.Set(0, std::string());
  window_ = 0;
  life_.End();
  platform_.windows.QuitMessageLoop(0);
}

}  // namespace linkscope
