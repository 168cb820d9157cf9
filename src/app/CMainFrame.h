#pragma once
// The program's hidden main window. It never shows; it carries the title other instances look
// for, the tray icon and the polling timer whose tick follows the adapter.

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "app/AdapterPresenceStep.h"
#include "app/DeviceStateStep.h"
#include "app/FrameServices.h"
#include "app/LinkNotifier.h"
#include "app/LinkSnapshotStep.h"
#include "app/LinkTooltip.h"
#include "app/StartupCheckStep.h"
#include "app/TickIcon.h"
#include "app/TrayIcon.h"
#include "app/WindowsConfigurationStep.h"
#include "config/ProgramCore.h"
#include "platform/Platform.h"
#include "text/LanguageTable.h"
#include "ui/CSignalHistoryWindow.h"
#include "ui/SettingsDialogHooks.h"
#include "ui/WindowLife.h"

namespace linkscope {

class CMainFrame : public IMainWindowHandler {
 public:
  // Chooses the language file and reads its list of languages; `language` is the process's
  // one table and outlives the frame.
  CMainFrame(Platform& platform, LanguageTable& language, FrameServices services);
  ~CMainFrame() override;
  CMainFrame(const CMainFrame&) = delete;
  CMainFrame& operator=(const CMainFrame&) = delete;

  // Creates the hidden window; false when the window system refuses.
  bool Create();
  void Destroy();
  WindowHandle Window() const { return window_; }

  bool OnCreate(WindowHandle window) override;
  // The polling tick; the same body runs for every timer.
  void OnTimer(std::uint32_t timerId) override;
  // The close flow: the Exit command, the window's close message and the end of the session.
  void OnClose() override;
  // The close flow without the question whether to save the changed profile.
  void CloseWithoutAsking();
  void OnDestroy() override;
  void OnRegisteredMessage(std::uint32_t message, std::uintptr_t wParam,
                           std::intptr_t lParam) override;
  bool OnQueryEndSession() override;
  // The tray menu's commands (2000 to 2125).
  void OnCommand(std::uint32_t id);
  // The popup menu as it would be shown now.
  std::vector<MenuItem> BuildMenu() const;

  // Menu command identifiers.
  static constexpr std::uint32_t kCmdNotifications = 2001;
  static constexpr std::uint32_t kCmdSignalHistory = 2000;
  static constexpr std::uint32_t kCmdAbout = 2002;
  static constexpr std::uint32_t kCmdAlwaysOnTop = 2003;
  static constexpr std::uint32_t kCmdSettings = 2004;
  static constexpr std::uint32_t kCmdLanguage = 2005;  // the submenu; 2005 + i the languages
  static constexpr std::uint32_t kCmdExit = 2025;
  static constexpr std::uint32_t kCmdProfile = 2026;   // the submenu; 2027 + i the profiles
  static constexpr std::uint32_t kCmdFirstProfile = 2027;
  static constexpr std::uint32_t kCmdLastProfile = 2125;
  // Languages get 2005 to 2024: a 21st would take the Exit command's identifier.
  static constexpr std::size_t kMaxMenuLanguages = 20;
  static constexpr std::size_t kMaxMenuProfiles = kCmdLastProfile - kCmdFirstProfile + 1;

  // Adds, changes or (with a null icon) deletes the tray icon; whether the shell accepted it.
  bool SetTrayIcon(IconHandle icon, const std::string& tip) { return tray_.Set(icon, tip); }
  bool IconShown() const { return tray_.Shown(); }
  // Reloads both icons and the tooltip from the language file in the current language.
  void ReloadIconsAndTooltip();
  // A language change asks the next tick to reload the icons and the tooltip.
  void RequestTextReload() { reloadTexts_ = true; }
  // The message the tray icon sends its mouse events with.
  std::uint32_t TrayCallbackMessage() const { return trayMessage_; }
  static constexpr const char* kTrayMessageName = "MONITOR_ICON_PRESSED";
  // Sent by the setup program before it replaces or removes the program: the close flow runs
  // as for Exit but asks nothing (unsaved profile changes stay unsaved, as if the user had
  // answered No), so that a silent uninstall or upgrade never waits for a person.
  static constexpr const char* kCloseForSetupMessageName = "LINKSCOPE_CLOSE_FOR_SETUP";

  // The popup menu opened at (x, y): timer 2 watches the cursor until it leaves the menu.
  void StartMenuWatch(int x, int y);
  static constexpr std::uint32_t kMenuWatchTimerId = 2;
  static constexpr std::uint32_t kMenuWatchPeriodMs = 7000;

  // The settings dialog, once there is one; the tick's dialog steps use it while it is open.
  void SetDialogHooks(ISettingsDialogHooks* hooks) { dialog_ = hooks; }

  // What the creation read: the folder icon and bitmap names are relative to, the tooltip, the
  // polling period and the adapter descriptions discovery accepts.
  const std::string& ResourceDirectory() const { return resourceDirectory_; }
  const std::string& ToolTipText() const { return toolTipText_; }
  std::uint32_t PollingPeriod() const { return pollingPeriod_; }
  const std::vector<std::string>& DeviceDescriptions() const { return deviceDescriptions_; }
  bool AlwaysOnTop() const { return alwaysOnTop_; }
  // Balloons when the link changes (the "Notifications" item of the tray menu).
  bool Notifications() const { return notifications_; }
  // The live option and description list, for the settings dialog.
  const bool* AlwaysOnTopFlag() const { return &alwaysOnTop_; }
  const std::vector<std::string>* DescriptionList() const { return &deviceDescriptions_; }
  bool MenuOpen() const { return menuOpen_; }
  bool OpenOnInfo() const { return openOnInfo_; }
  IconHandle OkIcon() const { return okIcon_; }
  IconHandle NotOkIcon() const { return notOkIcon_; }
  IconHandle CurrentIcon() const { return tickIcon_.Current(); }
  std::uint8_t DeviceState() const { return deviceStateStep_.State(); }
  bool RadioAvailable() const { return services_.link.radioSupported != 0; }
  std::uint8_t RadioByte() const { return services_.link.radio; }
  bool StartupCheckDone() const { return startupCheckStep_.Done(); }
  // What the last tick learnt about the link.
  const LinkSnapshot& LastSnapshot() const { return linkSnapshotStep_.Last(); }
  // Called at the end of every tick with its snapshot, in the order added, for as long as the
  // frame lives. A listener must not destroy the frame.
  void AddTickListener(std::function<void(const LinkSnapshot&)> listener) {
    tickListeners_.push_back(std::move(listener));
  }
  // The texts of the tooltip and the balloons in the current language.
  const TrayTexts& Texts() const { return trayTexts_; }
  // The signal history window and its samples.
  CSignalHistoryWindow& SignalHistoryWindow() { return history_; }
  // How deep ticks are nested right now (0 outside a tick, 1 inside one).
  int TickDepth() const { return tickDepth_; }

  // The title other instances look for: the dialog title in the current language.
  std::string Title() const;
  // Sent to the main window with a profile's index in the store's list as its first
  // parameter: switches to that profile as the profile menu does.
  static constexpr const char* kSwitchProfileMessageName = "LINKSCOPE_SWITCH_PROFILE";
  // Sent to the main window after the command-line companion changed the adapter's settings:
  // the profile-in-sync mark follows what the adapter now holds.
  static constexpr const char* kSettingsChangedMessageName = "LINKSCOPE_SETTINGS_CHANGED";

  // The frame's title before start-up gives it the dialog title.
  static constexpr const char* kInitialTitle = "Linkscope";
  // The program's options, below HKEY_CURRENT_USER.
  static constexpr const char* kSettingsKey = ProgramCore::kSettingsKey;
  static constexpr const char* kLanguageValue = ProgramCore::kLanguageValue;
  static constexpr const char* kAlwaysOnTopValue = "AlwaysOnTop";
  static constexpr const char* kNotificationsValue = "Notifications";
  // The polling timer's identifier.
  static constexpr std::uint32_t kPollTimerId = 130;
  static constexpr std::uint32_t kOkIconId = 142;
  static constexpr std::uint32_t kNotOkIconId = 143;
  // Wait after Windows lets go of the card before the profile is applied again.
  static constexpr std::uint32_t kWindowsReleaseWaitMs =
      WindowsConfigurationStep::kWindowsReleaseWaitMs;

 private:
  // The "Language" option, or "NoLanguageYet" when it is not stored as text.
  std::string ReadLanguageSetting() const;
  // A DWORD option below the Settings key; `missing` when it is absent or not a DWORD.
  bool ReadFlagSetting(const char* name, bool missing) const;
  IconHandle LoadIcon(const std::string& fileName, std::uint32_t builtIn);
  void Tick();
  // How the tick's steps ended: with a usable adapter's state read, with no adapter at all, or
  // before the state was known (a new list not yet taken, a step that ended the tick).
  enum class TickEnd { Link, NoAdapter, Unsettled };
  TickEnd RunSteps();
  // The snapshot, the balloon it may bring and the tray icon with its tooltip; then the
  // listeners.
  void FinishTick(TickEnd end);
  // Adds the tick's snapshot to the signal history, while its window is open.
  void SampleSignalHistory(const LinkSnapshot& snapshot);
  void WatchMenu();
  void OnTrayMouse(std::uint32_t mouseMessage);
  void ShowMenu();
  void WriteOptions();
  // Compares the adapter with the profile in use after a change made from outside.
  void FollowSettingsChange();
  bool DialogOpen() const { return dialog_ != nullptr && dialog_->IsOpen(); }

  Platform& platform_;
  LanguageTable& language_;
  FrameServices services_;
  ISettingsDialogHooks* dialog_ = nullptr;
  WindowHandle window_ = 0;
  // The main window's life, as the dialog and its pages have theirs: the tray menu and the
  // boxes of a tick run messages, and the program may be closed under them.
  WindowLife life_;
  TrayIcon tray_;
  std::uint32_t trayMessage_ = 0;
  std::string resourceDirectory_;
  std::string toolTipText_;
  std::uint32_t pollingPeriod_ = 0;
  std::vector<std::string> deviceDescriptions_;
  bool alwaysOnTop_ = true;
  bool notifications_ = true;
  bool reloadTexts_ = false;
  TrayTexts trayTexts_;
  LinkNotifier notifier_;
  // What the tooltip was made from last (see Steadied).
  LinkSnapshot tipSnapshot_;
  std::vector<std::function<void(const LinkSnapshot&)>> tickListeners_;
  IconHandle okIcon_ = 0;
  IconHandle notOkIcon_ = 0;
  int tickDepth_ = 0;
  int menuOriginX_ = 0;
  int menuOriginY_ = 0;
  bool menuOpen_ = false;
  bool openOnInfo_ = false;
  bool closing_ = false;
  std::uint32_t taskbarCreatedMessage_ = 0;
  std::uint32_t switchProfileMessage_ = 0;
  std::uint32_t settingsChangedMessage_ = 0;
  std::uint32_t closeForSetupMessage_ = 0;
  // The tick's steps, in the order the tick runs them.
  TickIcon tickIcon_{tray_, okIcon_, notOkIcon_, notifications_};
  AdapterPresenceStep adapterPresenceStep_{platform_, services_, dialog_, tickIcon_,
                                           deviceDescriptions_};
  StartupCheckStep startupCheckStep_{platform_, services_, dialog_};
  WindowsConfigurationStep windowsConfigurationStep_{platform_, services_, dialog_, life_};
  DeviceStateStep deviceStateStep_{platform_, services_, dialog_, tickIcon_};
  LinkSnapshotStep linkSnapshotStep_{platform_, services_, dialog_, language_};
  // Its samples outlive its window: they stay while the program runs.
  CSignalHistoryWindow history_{platform_.windows, platform_.system, language_, 1000};
  void Close(bool askToSave);
};

}  // namespace linkscope
