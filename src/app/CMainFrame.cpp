#include "app/CMainFrame.h"

#include <tuple>

#include "config/ProfileNames.h"
#include "device/DeviceCodes.h"
#include "device/Oids.h"
#include "device/RecordQuery.h"
#include "device/SurveyRequests.h"
#include "text/OemSettings.h"
#include "ui/LinkBars.h"
#include "ui/LinkStatusText.h"

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

bool CMainFrame::ReadFlagSetting(const char* name, bool missing) const {
  RegKey key = 0;
  if (platform_.registry.OpenKey(kRegCurrentUser, kSettingsKey, RegAccess::Read, &key) != kRegOk) {
    return missing;
  }
  std::uint8_t data[4] = {};
  std::uint32_t type = 0, size = sizeof data;
  const long rc = platform_.registry.QueryValue(key, name, &type, data, &size);
  platform_.registry.CloseKey(key);
  if (rc != kRegOk || type != kRegDword || size != 4) return missing;
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
  trayTexts_ = TrayTexts::Load(language_);
  trayTexts_.toolTip = toolTipText_;
  linkSnapshotStep_.TextsChanged();
}

bool CMainFrame::OnCreate(WindowHandle window) {
  window_ = window;
  life_.Begin();
  if (trayMessage_ == 0) trayMessage_ = platform_.windows.RegisterMessage(kTrayMessageName);
  // A restarted shell announces its new taskbar; the icon must be added to it again.
  taskbarCreatedMessage_ = platform_.windows.RegisterMessage("TaskbarCreated");
  switchProfileMessage_ = platform_.windows.RegisterMessage(kSwitchProfileMessageName);
  settingsChangedMessage_ = platform_.windows.RegisterMessage(kSettingsChangedMessageName);
  closeForSetupMessage_ = platform_.windows.RegisterMessage(kCloseForSetupMessageName);
  tray_.Attach(window_, trayMessage_);

  resourceDirectory_ = platform_.system.CurrentDirectory() + "\\res\\";
  services_.link.Adapters().clear();
  services_.link.ClearCurrentAdapter();
  services_.link.regulatoryDomain = kDomainAllChannels;
  reloadTexts_ = false;
  language_.SelectStartLanguage(ReadLanguageSetting());
  alwaysOnTop_ = ReadFlagSetting(kAlwaysOnTopValue, true);
  notifications_ = ReadFlagSetting(kNotificationsValue, true);
  ReloadIconsAndTooltip();

  const OemSettings oem(language_);
  deviceDescriptions_ = oem.LoadDeviceDescriptions(OemSettings::BuiltInDeviceDescriptions());
  pollingPeriod_ = oem.DevicePollingTimerMsec();
  history_.SetPeriod(pollingPeriod_);
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

// The tick's steps, in order: the search while there is no adapter, the first adapter of a new
// list and the start-up check, the Windows configuration on XP, the device state and its icon;
// then what the tick learnt goes out (the tray icon's tooltip and balloons, the signal history
// while its window is open, the listeners).
void CMainFrame::Tick() {
  const WindowLife::Token window = life_.Mark();
  const TickEnd end = RunSteps();
  // A step's message box may have let the program be closed under the tick.
  if (!life_.StillAlive(window) || closing_) return;
  FinishTick(end);
}

// A step that ends the tick leaves the rest to the next one.
CMainFrame::TickEnd CMainFrame::RunSteps() {
  CAdapterLink& link = services_.link;

  if (reloadTexts_) {
    ReloadIconsAndTooltip();
    reloadTexts_ = false;
  }

  if (link.AdapterCount() == 0) {
    adapterPresenceStep_.SearchAdapters();
    return link.AdapterCount() == 0 ? TickEnd::NoAdapter : TickEnd::Unsettled;
  }

  if (link.CurrentAdapter() == nullptr) {
    link.SelectAdapter(0);
    if (!adapterPresenceStep_.TakeFirstAdapter()) return TickEnd::Unsettled;
    startupCheckStep_.Run();
  }

  if (link.GetOsKind() == OsKind::WinXP &&
      !windowsConfigurationStep_.FollowWindowsConfiguration()) {
    return TickEnd::Unsettled;
  }

  if (!deviceStateStep_.FollowDeviceState()) {
    adapterPresenceStep_.LoseAdapter();
    return link.AdapterCount() == 0 ? TickEnd::NoAdapter : TickEnd::Unsettled;
  }
  return deviceStateStep_.Usable() ? TickEnd::Link : TickEnd::Unsettled;
}

void CMainFrame::FinishTick(TickEnd end) {
  if (end == TickEnd::Link) {
    linkSnapshotStep_.Take(deviceStateStep_.State(), deviceStateStep_.Media(),
                           tickIcon_.Current() != 0);
  } else {
    linkSnapshotStep_.TakeNoAdapter();
  }
  const LinkSnapshot& snapshot = linkSnapshotStep_.Last();
  // Only a known outcome is news: a list not yet taken or a card upgrading its firmware is
  // neither a link nor a missing card.
  if (end != TickEnd::Unsettled) {
    std::optional<TrayBalloon> balloon;
    const std::optional<LinkNotifier::Change> change = notifier_.Observe(snapshot, DialogOpen());
    if (change && notifications_) balloon = BalloonFor(*change, trayTexts_);
    tipSnapshot_ = Steadied(snapshot, tipSnapshot_);
    tickIcon_.Present(LinkTooltip(tipSnapshot_, trayTexts_), balloon ? &*balloon : nullptr);
  }
  // The history samples only while its window is open: a closed window costs the tick nothing.
  if (history_.IsOpen()) SampleSignalHistory(snapshot);
  for (const auto& listener : tickListeners_) listener(snapshot);
}

// What the history draws and saves: the tick's own snapshot of the link, and the frame
// counters, which only the history asks for and only while its window is open. Without a usable
// adapter (none found, the card pulled, a state the driver cannot serve) the sample is a gap.
void CMainFrame::SampleSignalHistory(const LinkSnapshot& snapshot) {
  CAdapterLink& link = services_.link;
  const AdapterEntry* adapter = link.CurrentAdapter();
  StatisticsRecord statistics;
  bool haveStatistics = false;
  if (snapshot.adapter && adapter != nullptr) {
    haveStatistics = QueryStatistics(link, adapter, &statistics);
  }
  history_.Add(HistorySampleOf(snapshot, haveStatistics ? &statistics : nullptr,
                               platform_.system.LocalTime()));
}

void CMainFrame::OnRegisteredMessage(std::uint32_t message, std::uintptr_t wParam,
                                     std::intptr_t lParam) {
  if (message == trayMessage_ && trayMessage_ != 0) {
    OnTrayMouse(static_cast<std::uint32_t>(lParam));
  } else if (message == taskbarCreatedMessage_ && taskbarCreatedMessage_ != 0) {
    // The new taskbar holds no icon: the one the tick chose goes on it, whether the old shell
    // had accepted it or not (a program started before the taskbar had its add refused).
    tickIcon_.AddAgain();
  } else if (message == switchProfileMessage_ && switchProfileMessage_ != 0) {
    // The command-line companion's apply: the same switch as the profile menu's item, so that
    // the running program, the adapter and "LastProfile" agree. Unlike the menu it reaches
    // every profile, not only the first 99.
    if (dialog_ != nullptr && wParam <= static_cast<std::uintptr_t>(INT32_MAX)) {
      dialog_->SwitchProfile(static_cast<int>(wParam));
    }
  } else if (message == settingsChangedMessage_ && settingsChangedMessage_ != 0) {
    FollowSettingsChange();
  } else if (message == closeForSetupMessage_ && closeForSetupMessage_ != 0) {
    CloseWithoutAsking();
  }
}

void CMainFrame::FollowSettingsChange() {
  CAdapterLink& link = services_.link;
  // Without an adapter, or while Windows configures the card, there is nothing to compare.
  if (link.CurrentAdapter() == nullptr || (link.GetOsKind() == OsKind::WinXP && link.configuredByWindows != 0)) {
    return;
  }
  // The store may tell of a failure in a box, under which the program may be closed.
  const WindowLife::Token window = life_.Mark();
  // As after a page's Submit: the built-in profile keeps its mark whatever the adapter holds.
  services_.profileApplication.UpdateProfileInSyncWithAdapter();
  if (!life_.StillAlive(window)) return;
  if (DialogOpen()) dialog_->FillProfileSelector();
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
  MenuItem notifications;
  notifications.id = kCmdNotifications;
  notifications.text = language_.Lookup("TaskBarMenuNotifications", "Notifications");
  notifications.checked = notifications_;
  menu.push_back(notifications);
  menu.push_back(separator);
  for (const auto& [id, key, text] :
       {std::tuple<std::uint32_t, const char*, const char*>{
            kCmdSignalHistory, "TaskBarMenuSignalHistory", "Signal history..."},
        {kCmdSettings, "TaskBarMenuSettings", "Settings"},
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
  } else if (id == kCmdNotifications) {
    // Stored where always on top is: at exit and on a language change.
    notifications_ = !notifications_;
  } else if (id == kCmdSignalHistory) {
    history_.Open(window_);
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
    history_.Relabel();
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
  const std::uint8_t balloons[4] = {static_cast<std::uint8_t>(notifications_ ? 1 : 0), 0, 0, 0};
  platform_.registry.SetValue(key, kNotificationsValue, kRegDword, balloons, 4);
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
  history_.Close();
  if (window_ != 0) platform_.windows.KillTimer(window_, kPollTimerId);
  link.ResetChannel();
  link.Adapters().clear();
  link.ClearCurrentAdapter();
  deviceDescriptions_.clear();
  if (tray_.Shown()) tickIcon_.Remove();
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
  history_.Close();
  window_ = 0;
  life_.End();
  platform_.windows.QuitMessageLoop(0);
}

}  // namespace linkscope
