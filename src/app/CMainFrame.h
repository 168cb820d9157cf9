#pragma once
// The program's hidden main window. It never shows; it carries the title other instances look
// for, and (as the program grows) the tray icon, the timers and the menu.

#include <cstdint>
#include <string>
#include <vector>

#include "app/TrayIcon.h"
#include "platform/Platform.h"
#include "text/LanguageTable.h"

namespace linkscope {

class CMainFrame : public IMainWindowHandler {
 public:
  // Chooses the language file and reads its list of languages; `language` is the process's
  // one table and outlives the frame.
  CMainFrame(Platform& platform, LanguageTable& language);
  ~CMainFrame() override;
  CMainFrame(const CMainFrame&) = delete;
  CMainFrame& operator=(const CMainFrame&) = delete;

  // Creates the hidden window; false when the window system refuses.
  bool Create();
  void Destroy();
  WindowHandle Window() const { return window_; }

  bool OnCreate(WindowHandle window) override;
  void OnTimer(std::uint32_t timerId) override;
  void OnClose() override;
  void OnDestroy() override;

  // Adds, changes or (with a null icon) deletes the tray icon; whether the shell accepted it.
  bool SetTrayIcon(IconHandle icon, const std::string& tip) { return tray_.Set(icon, tip); }
  bool IconShown() const { return tray_.Shown(); }
  // The message the tray icon sends its mouse events with.
  std::uint32_t TrayCallbackMessage() const { return trayMessage_; }
  static constexpr const char* kTrayMessageName = "MONITOR_ICON_PRESSED";
  // What the creation read: the folder icon and bitmap names are relative to, the tooltip, the
  // polling period and the adapter descriptions discovery accepts.
  const std::string& ResourceDirectory() const { return resourceDirectory_; }
  const std::string& ToolTipText() const { return toolTipText_; }
  std::uint32_t PollingPeriod() const { return pollingPeriod_; }
  const std::vector<std::string>& DeviceDescriptions() const { return deviceDescriptions_; }

  // The frame's title before start-up gives it the dialog title.
  static constexpr const char* kInitialTitle = "Linkscope";
  // The program's options, below HKEY_CURRENT_USER.
  static constexpr const char* kSettingsKey = "Software\\ORVEX\\Linkscope\\Settings";
  static constexpr const char* kLanguageValue = "Language";
  // The polling timer's identifier.
  static constexpr std::uint32_t kPollTimerId = 130;

 private:
  // The "Language" option, or "NoLanguageYet" when it is not stored as text.
  std::string ReadLanguageSetting() const;

  Platform& platform_;
  LanguageTable& language_;
  WindowHandle window_ = 0;
  TrayIcon tray_;
  std::uint32_t trayMessage_ = 0;
  std::string resourceDirectory_;
  std::string toolTipText_;
  std::uint32_t pollingPeriod_ = 0;
  std::vector<std::string> deviceDescriptions_;
};

}  // namespace linkscope
