#include "app/CMainFrame.h"

#include "text/OemSettings.h"

namespace linkscope {

CMainFrame::CMainFrame(Platform& platform, LanguageTable& language)
    : platform_(platform), language_(language), tray_(platform.windows) {
  language_.ChooseFile();
}

CMainFrame::~CMainFrame() { Destroy(); }

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

bool CMainFrame::OnCreate(WindowHandle window) {
  window_ = window;
  if (trayMessage_ == 0) trayMessage_ = platform_.windows.RegisterMessage(kTrayMessageName);
  tray_.Attach(window_, trayMessage_);
  resourceDirectory_ = platform_.system.CurrentDirectory() + "\\res\\";
  language_.SelectStartLanguage(ReadLanguageSetting());

  const OemSettings oem(language_);
  toolTipText_ = oem.ToolTipText();
  deviceDescriptions_ = oem.LoadDeviceDescriptions(OemSettings::BuiltInDeviceDescriptions());
  // The polling timer starts with the polling tick itself; until then nothing would answer it.
  pollingPeriod_ = oem.DevicePollingTimerMsec();
  return true;
}

void CMainFrame::OnTimer(std::uint32_t /*timerId*/) {}

void CMainFrame::OnClose() { Destroy(); }

void CMainFrame::OnDestroy() {
  // The main window going away ends the program; its icon must not stay behind in the tray.
  if (tray_.Shown()) tray_.Set(0, std::string());
  window_ = 0;
  platform_.windows.QuitMessageLoop(0);
}

}  // namespace linkscope
