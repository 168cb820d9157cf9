#pragma once
// The settings dialog: seven pages in a tab control, the adapter and profile selectors, and
// the Windows-configuration state. One object lives for the whole run; its window exists
// while the dialog is open.

#include <array>
#include <memory>
#include <string>
#include <vector>

#include "ui/ProfileSwitcher.h"
#include "ui/CSignalHistoryWindow.h"
#include "ui/SettingsDialogHooks.h"
#include "ui/CLayoutPage.h"
#include "ui/PageHost.h"
#include "ui/SettingsDialogServices.h"
#include "ui/WindowLife.h"

namespace linkscope {

class CSettingsDlg : public IDialogHandler, public ISettingsDialogHooks, public IPageHost {
 public:
  explicit CSettingsDlg(SettingsDialogServices services);
  ~CSettingsDlg() override;

  // The main window that owns the dialog, its always-on-top option and the adapter
  // descriptions discovery accepts; all outlive the dialog.
  void SetOwner(WindowHandle owner, const bool* alwaysOnTop,
                const std::vector<std::string>* descriptions);

  // Opens the dialog and returns when it is closed.
  int DoModal();
  // A page's destruction or creation may show a message box, and a request for a page made
  // under it (the tick following the Windows configuration) is taken over by the change under
  // way, which builds the page asked for last: one page window exists at a time.
  void SelectPage(int index) override;
  void RelabelTexts();
  bool SwitchProfile(int index) override;

  int CurrentTab() const { return currentTab_; }
  CLayoutPage* CurrentPage() const { return currentPage_; }
  WindowHandle DialogWindow() const override { return dialog_; }
  std::string ResourceDirectory() const override {
    return resourceDirectory_ != nullptr ? *resourceDirectory_ : std::string();
  }
  // The main frame's signal history window, which outlives the dialog.
  void SetSignalHistory(CSignalHistoryWindow* history) { signalHistory_ = history; }
  void OpenSignalHistory() override {
    if (signalHistory_ != nullptr) signalHistory_->Open(owner_);
  }
  // The main window's resource folder, which outlives the dialog.
  void SetResourceDirectory(const std::string* directory) { resourceDirectory_ = directory; }
  void CloseDialog() override { OnCancel(); }
  bool OpenOnInfo() const { return openOnInfo_; }
  // The dialog's window, as the pages have theirs: a handler that runs messages asks after
  // whether the window it started on is still there.
  const WindowLife& Life() const { return life_; }

  // The dialog's messages.
  void OnInitDialog(WindowHandle dialog, IDialogItems& items) override;
  void OnCommand(int id, int code) override;
  void OnNotify(const DialogNotification& notification) override;
  // Ctrl+Tab and its kin move to the next or previous tab, held as a click on a tab is.
  bool OnKey(DialogKey key) override;
  void OnOk() override;
  void OnCancel() override;
  void OnDestroy() override;

  // What the main frame asks of it.
  bool IsOpen() const override { return open_; }
  void Open(bool onInfoPage) override;
  void Close() override { OnCancel(); }
  void FillProfileSelector() override;
  void FillAdapterSelector() override;
  void ApplyWindowsConfigurationState() override;
  void SelectStatusPage() override;
  void RebuildStatusPage() override { SelectPage(kStatusTab); }
  void RefreshCurrentPage() override;
  bool TickRecord(DeviceConfig* config) const override;
  void MarkSurveyFinished() override;
  void BringToFront() override;
  void ShowInfoPage() override { SelectPage(kInfoTab); }
  void Relabel() override;
  bool SurveyRunning() const override;

  static constexpr int kTabPaddingX = 3;
  static constexpr int kTabPaddingY = 3;
  static constexpr int kStatusTab = 0;
  static constexpr int kSiteSurveyTab = 2;
  static constexpr int kProfilesTab = 5;
  static constexpr int kInfoTab = 6;
  static constexpr const char* kTabKeys[7] = {"Tab1", "Tab2", "Tab3", "Tab4",
                                              "Tab5", "Tab6", "Tab7"};
  static constexpr const char* kTabDefaults[7] = {"Status",   "Statistics", "Site Survey",
                                                  "Encryption", "Advanced", "Profiles", "Info"};

 private:
  void OnAdapterSelected();
  // Destroys the page shown and builds the one asked for last; false when the dialog went
  // meanwhile.
  bool ChangePage(WindowLife::Token dialog);
  const AdapterEntry* Adapter() const { return services_.link.CurrentAdapter(); }

  SettingsDialogServices services_;
  ProfileSwitcher switcher_;
  std::array<std::unique_ptr<CLayoutPage>, 7> pages_;
  WindowHandle owner_ = 0;
  const bool* alwaysOnTop_ = nullptr;
  const std::vector<std::string>* descriptions_ = nullptr;
  const std::string* resourceDirectory_ = nullptr;
  CSignalHistoryWindow* signalHistory_ = nullptr;

  WindowHandle dialog_ = 0;
  IDialogItems* items_ = nullptr;
  WindowLife life_;
  bool open_ = false;
  // What the page refreshed last by the tick read of the configuration, if anything.
  bool tickRecordRead_ = false;
  DeviceConfig tickRecord_;
  bool openOnInfo_ = false;
  int currentTab_ = 0;
  CLayoutPage* currentPage_ = nullptr;
  WindowHandle pageWindow_ = 0;
  // A tab change under way, the tab last asked for and how many times a page was asked for.
  bool changingPage_ = false;
  int requestedTab_ = 0;
  std::uint32_t pageRequests_ = 0;
};

}  // namespace linkscope
