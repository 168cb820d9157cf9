#include "app/CMainFrame.h"

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
    : platform_(platform), language_(language), services_(services), tray_(platform.windows) {
  language_.ChooseFile();
}

CMainFrame::~CMainFrame() {
  Destroy();
  platform_.windows.FreeIcon(okIcon_);
  platform_.windows.FreeIcon(notOkIcon_);
}

bool CMainFrame::Create() {
  if (window_ != 0) return true;
  return platform_.windows.CreateMainWindow(kInitialTitle, this) != 0;
}

void CMainFrame::Destroy() {
  if (window_ != 0) platform_.windows.DestroyWindow(window_);
  window_ = 0;
}

std::string CMainFrame::ReadLanguageSetting() const {
  std::string stored = LanguageTable::kNoLanguageYet;
  RegKey key = 0;
  if (platform_.registry.OpenKey(kRegCurrentUser, kSettingsKey, RegAccess::Read, &key) != kRegOk) {
    return stored;
  }
  // No language name can be longer than a value of the language file; a longer value names
  // none of them.
  std::string data(LanguageTable::kValueBufferSize, '\0');
  std::uint32_t type = 0;
  std::uint32_t size = LanguageTable::kValueBufferSize;
  const long rc = platform_.registry.QueryValue(
      key, kLanguageValue, &type, reinterpret_cast<std::uint8_t*>(&data[0]), &size);
  platform_.registry.CloseKey(key);
  if (rc == kRegOk && (type == kRegSz || type == kRegExpandSz) &&
      size <= LanguageTable::kValueBufferSize) {
    // Stored with or without its terminating NUL.
    data.resize(size);
    stored = data.substr(0, data.find('\0'));
  }
  return stored;
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
  if (trayMessage_ == 0) trayMessage_ = platform_.windows.RegisterMessage(kTrayMessageName);
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
  // The menu opens to the left of and below its origin: a cursor left of or above that point
  // has left it, and the menu is made to close.
  if (x < menuOriginX_ || y < menuOriginY_) {
    platform_.windows.PulseHiddenDialog(window_);
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
  adapterTaken_ = false;
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
    if (DialogOpen()) dialog_->Close();
    Discover();
    return;
  }

  if (link.CurrentAdapter() == nullptr || !adapterTaken_) {
    link.SelectAdapter(0);
    adapterTaken_ = true;
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
  if (currentIcon_ != previousIcon_) tray_.Set(currentIcon_, toolTipText_);

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
    DeviceConfig config;
    if (!QueryDeviceConfig(link, Adapter(), &config)) {
      // The adapter stays selected; the cached values and the start-up check wait for the
      // next selection.
      return false;
    }
    const auto raw = config.Encode();
    ProfileState& state = services_.profileState;
    if (services_.profileApplication.MatchesProfile(state.currentName, 0, raw.data(),
                                                    raw.size())) {
      state.inSync = true;
    } else if (state.currentName != "Default") {
      state.inSync = false;
    }
    dialog_->FillProfileSelector();
  }

  std::uint8_t domain = kDomainAllChannels;
  if (!QueryByte(link, Adapter(), OID_PRIV_REG_DOMAIN, &domain)) domain = kDomainAllChannels;
  link.regulatoryDomain = NormalizeRegulatoryDomain(domain);
  std::uint8_t roaming = 0;
  if (!QueryByte(link, Adapter(), OID_PRIV_INTL_ROAMING, &roaming)) roaming = 0;
  link.internationalRoaming = roaming;
  std::uint8_t radio = 1;
  radioAvailable_ = QueryByte(link, Adapter(), OID_PRIV_RADIO, &radio);
  radio_ = radioAvailable_ ? radio : 1;
  link.radioSupported = radioAvailable_ ? 1 : 0;

  if (!startupCheckDone_) {
    ProfileState& state = services_.profileState;
    state.currentName = services_.profiles.ReadLastProfile();
    if (state.currentName.empty()) {
      state.currentName = "Default";
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
  std::uint8_t live = 0;
  std::uint32_t written = 0;
  if (!link.Query(Adapter(), OID_PRIV_WINDOWS_CONFIG, &live, 1, &written)) return true;
  link.configuredByWindows = live;
  if (static_cast<std::int32_t>(live) == link.previousConfiguredByWindows) return true;

  if (windowsConfigSeen_ || live == 0) {
    if (!link.Set(Adapter(), OID_PRIV_WINDOWS_CONFIG, &live, 1)) {
      // The change stays pending: the previous value is kept, so the next tick tries again.
      services_.messages.Show("FailedToSetErrorMessage", "Failed to set parameters");
      return false;
    }
    services_.driverParameters.WriteUseWzcs(live != 0);
  }
  windowsConfigSeen_ = true;
  if (DialogOpen()) dialog_->ApplyWindowsConfigurationState();
  if (live == 0 && link.previousConfiguredByWindows != -1) {
    // Windows has let go of the card: after a pause the profile in use goes back on it.
    platform_.system.Sleep(kWindowsReleaseWaitMs);
    if (services_.profileApplication.ApplyProfile(services_.profileState.currentName)) {
      services_.profileState.inSync = true;
    }
  }
  link.previousConfiguredByWindows = live;
  if (DialogOpen()) dialog_->SelectStatusPage();
  return true;
}

void CMainFrame::LoseAdapter() {
  CAdapterLink& link = services_.link;
  link.Adapters().clear();
  link.ClearCurrentAdapter();
  link.regulatoryDomain = kDomainAllChannels;
  Discover();
  link.ResetChannel();
  if (link.AdapterCount() == 0) {
    if (DialogOpen()) dialog_->Close();
    if (tray_.Shown()) tray_.Set(0, toolTipText_);
  } else if (DialogOpen()) {
    dialog_->FillAdapterSelector();
  }
  currentIcon_ = 0;  // the next successful tick sets the icon again
}

void CMainFrame::OnClose() { Destroy(); }

void CMainFrame::OnDestroy() {
  // The main window going away ends the program; its icon must not stay behind in the tray.
  if (window_ != 0) platform_.windows.KillTimer(window_, kPollTimerId);
  if (tray_.Shown()) tray_.Set(0, std::string());
  window_ = 0;
  platform_.windows.QuitMessageLoop(0);
}

}  // namespace linkscope
