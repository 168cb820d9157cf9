#include "ui/CSettingsDlg.h"

#include "device/DeviceCodes.h"
#include "device/Oids.h"
#include "text/OemSettings.h"
#include "ui/CAdvancedPage.h"
#include "ui/CEncryptionPage.h"
#include "ui/CInfoPage.h"
#include "ui/CProfilesPage.h"
#include "ui/CSiteSurveyPage.h"
#include "ui/CStatisticsPage.h"
#include "ui/CStatusPage.h"
#include "ui/DialogLayouts.h"
#include "ui/LayoutTexts.h"

namespace linkscope {

CSettingsDlg::CSettingsDlg(SettingsDialogServices services)
    : services_(services),
      switcher_(services.link, services.profiles, services.profileApplication,
                services.messages) {
  // In tab order, as kPageResourceIds lists them.
  pages_ = {std::make_unique<CStatusPage>(services_, *this),
            std::make_unique<CStatisticsPage>(services_, *this),
            std::make_unique<CSiteSurveyPage>(services_, *this),
            std::make_unique<CEncryptionPage>(services_, *this),
            std::make_unique<CAdvancedPage>(services_, *this),
            std::make_unique<CProfilesPage>(services_, *this),
            std::make_unique<CInfoPage>(services_, *this)};
}

CSettingsDlg::~CSettingsDlg() = default;

void CSettingsDlg::SetOwner(WindowHandle owner, const bool* alwaysOnTop,
                            const std::vector<std::string>* descriptions) {
  owner_ = owner;
  alwaysOnTop_ = alwaysOnTop;
  descriptions_ = descriptions;
}

int CSettingsDlg::DoModal() {
  return services_.dialogs.DoModal(SettingsDialogLayout(), owner_, *this);
}

void CSettingsDlg::Open(bool onInfoPage) {
  if (open_) return;
  openOnInfo_ = onInfoPage;
  DoModal();
}

void CSettingsDlg::OnInitDialog(WindowHandle dialog, IDialogItems& items) {
  dialog_ = dialog;
  items_ = &items;
  life_.Begin();
  const WindowLife::Token window = life_.Mark();
  // The modal loop has disabled the main window: a message shown now must belong to the
  // dialog, or the dialog would stay usable under it and its handlers could run again.
  services_.messages.SetModalOwner(dialog);
  CAdapterLink& link = services_.link;

  FillProfileSelector();
  const OemSettings oem(services_.language);
  items.Show(kIdAdapterSelector, oem.ShowAdaptersList());

  if (link.GetOsKind() == OsKind::WinXP) {
    std::uint8_t byWindows = 1;
    std::uint32_t written = 0;
    if (!link.Query(Adapter(), OID_PRIV_WINDOWS_CONFIG, &byWindows, 1, &written)) byWindows = 1;
    link.configuredByWindows = byWindows != 0 ? 1 : 0;
    items.SetCheck(kIdWindowsCheckBox, link.configuredByWindows);
  } else {
    items.Show(kIdWindowsCheckBox, false);
    link.configuredByWindows = 0;
  }
  items.Enable(kIdProfileSelector, link.configuredByWindows == 0);

  // The page is built before anything acts on it: the one of the previous opening is gone
  // with its window.
  const int initialTab = openOnInfo_ ? kInfoTab : kStatusTab;
  SelectPage(initialTab);
  if (!life_.StillAlive(window)) return;  // closed while the page's opening message was up
  open_ = true;
  ApplyWindowsConfigurationState();
  if (!life_.StillAlive(window)) return;
  RelabelTexts();
  FillAdapterSelector();
  // The page built above stays unless the Windows-configuration step moved away from it:
  // building it again would read the adapter again and say a failure twice.
  if (currentTab_ != initialTab || pageWindow_ == 0) {
    SelectPage(initialTab);
  } else {
    items.TabSelect(kIdTabControl, initialTab);
  }
  if (!life_.StillAlive(window)) return;

  // The dialog belongs to the main window and follows its place among the windows.
  const bool topmost = alwaysOnTop_ != nullptr && *alwaysOnTop_;
  if (owner_ != 0) {
    services_.windows.SetTopmost(owner_, topmost);
    // Leaving the topmost band puts a window below the others; the dialog comes to the top of
    // the normal windows instead.
    if (!topmost) services_.windows.RaiseToTop(owner_);
  }
}

void CSettingsDlg::RelabelTexts() {
  if (items_ == nullptr) return;
  const LanguageTable& language = services_.language;
  items_->TabDeleteAll(kIdTabControl);
  // Seven captions in the tab control's width: a narrower padding than the default keeps them
  // all in sight instead of behind scroll arrows.
  items_->TabSetPadding(kIdTabControl, kTabPaddingX, kTabPaddingY);
  for (int i = 0; i < kPageCount; ++i) {
    items_->TabInsert(kIdTabControl, i, language.Lookup(kTabKeys[i], kTabDefaults[i]));
  }
  SetLayoutTexts(SettingsDialogLayout(), *items_, language);
}

void CSettingsDlg::SelectPage(int index) {
  if (items_ == nullptr || index < 0 || index >= kPageCount) return;
  requestedTab_ = index;
  currentTab_ = index;
  ++pageRequests_;
  // A request made under a box that the change under way showed: that change builds it.
  if (changingPage_) return;
  changingPage_ = true;
  // When the dialog went meanwhile, its destruction has ended the change (and a later opening
  // may have one of its own).
  if (ChangePage(life_.Mark())) changingPage_ = false;
}

bool CSettingsDlg::ChangePage(WindowLife::Token dialog) {
  for (;;) {
    if (pageWindow_ != 0) {
      // No page is the current one while it goes: the tick refreshes none, and nothing is
      // applied to a page whose window is being destroyed.
      currentPage_ = nullptr;
      services_.dialogs.DestroyPage(pageWindow_);
      // The page may have told of a failure on its way out (the Site Survey page's cancel),
      // and the dialog may have gone under the box.
      if (!life_.StillAlive(dialog)) return false;
      pageWindow_ = 0;
    }
    const std::uint32_t requests = pageRequests_;
    const int index = requestedTab_;
    CLayoutPage& page = *pages_[index];
    const DialogLayout* layout = PageLayout(page.ResourceId());
    if (layout != nullptr) {
      // The Profiles page lives inside the tab control; the others beside it.
      const WindowHandle parent = page.ResourceId() == kTabHostedPageId
                                      ? items_->Window(kIdTabControl)
                                      : dialog_;
      const WindowHandle created = services_.dialogs.CreatePage(*layout, parent, page);
      // A message the page showed while it was built runs messages: the tick may have closed
      // the dialog meanwhile, and with it the page, or asked for another page.
      if (!life_.StillAlive(dialog)) return false;
      pageWindow_ = created;
    }
    if (requests == pageRequests_) {
      currentPage_ = &page;
      currentTab_ = index;
      break;
    }
  }
  items_->TabSelect(kIdTabControl, currentTab_);
  // A page is built with its controls open; while Windows configures the card, each page
  // shown is locked as it appears, not only the one on screen when the state changed.
  if (services_.link.configuredByWindows != 0 && currentPage_->IsShown()) {
    currentPage_->ApplyWindowsConfiguration(true);
  }
  return true;
}

void CSettingsDlg::FillAdapterSelector() {
  if (items_ == nullptr) return;
  CAdapterLink& link = services_.link;
  items_->ComboReset(kIdAdapterSelector);
  for (const auto& entry : link.Adapters()) items_->ComboAdd(kIdAdapterSelector, entry->DisplayName());
  items_->ComboSelect(kIdAdapterSelector, static_cast<int>(link.CurrentIndex()));
}

void CSettingsDlg::FillProfileSelector() {
  if (items_ == nullptr) return;
  const ProfileState& state = services_.profileState;
  items_->ComboReset(kIdProfileSelector);
  std::vector<std::string> names;
  services_.profiles.Names(&names);
  int selected = -1;
  for (std::size_t i = 0; i < names.size(); ++i) {
    std::string text = names[i];
    if (names[i] == state.currentName) {
      selected = static_cast<int>(i);
      // A "*" marks a profile the adapter no longer matches; while Windows configures the
      // card, the settings are not the user's to compare.
      if (!state.inSync && services_.link.configuredByWindows == 0) text += "*";
    }
    items_->ComboAdd(kIdProfileSelector, text);
  }
  items_->ComboSelect(kIdProfileSelector, selected);
}

bool CSettingsDlg::SwitchProfile(int index) {
  const bool allowed = switcher_.SwitchProfile(index, this);
  // The Profiles page, when it is still the one shown, marks the profile now in use.
  if (currentTab_ == kProfilesTab && currentPage_ != nullptr && currentPage_->IsShown()) {
    static_cast<CProfilesPage*>(currentPage_)->FillList();
  }
  return allowed;
}

void CSettingsDlg::ApplyWindowsConfigurationState() {
  if (!open_ || items_ == nullptr) return;
  const WindowLife::Token window = life_.Mark();
  const bool byWindows = services_.link.configuredByWindows != 0;
  // The "*" of a changed profile is not shown while Windows configures the card: the mark
  // follows the flag at once, not at the next refill.
  FillProfileSelector();
  if (services_.link.GetOsKind() == OsKind::WinXP) {
    items_->Enable(kIdProfileSelector, !byWindows);
    if (byWindows) SelectPage(kStatusTab);
  }
  // The Status page may have told of a failed read, and the dialog may have gone under the box;
  // during a tab change no page is current, and the page built next follows the flag itself.
  if (!life_.StillAlive(window) || currentPage_ == nullptr || !currentPage_->IsShown()) return;
  currentPage_->ApplyWindowsConfiguration(services_.link.configuredByWindows != 0);
}

void CSettingsDlg::SelectStatusPage() {
  if (open_ && currentTab_ != kStatusTab) SelectPage(kStatusTab);
}

void CSettingsDlg::RefreshCurrentPage() {
  // Only the Status, Statistics and Info pages follow the adapter on every tick; the others
  // leave OnTick empty.
  tickRecordRead_ = false;
  if (!open_ || currentPage_ == nullptr || !currentPage_->IsShown()) return;
  currentPage_->OnTick();
  // The page may be gone once its refresh ran messages.
  if (currentPage_ != nullptr) tickRecordRead_ = currentPage_->RecordRead(&tickRecord_);
}

bool CSettingsDlg::TickRecord(DeviceConfig* config) const {
  if (!tickRecordRead_ || !open_) return false;
  *config = tickRecord_;
  return true;
}

void CSettingsDlg::MarkSurveyFinished() {
  if (currentPage_ != nullptr && currentTab_ == kSiteSurveyTab) currentPage_->MarkSurveyFinished();
}

bool CSettingsDlg::SurveyRunning() const {
  return currentPage_ != nullptr && currentTab_ == kSiteSurveyTab && currentPage_->SurveyRunning();
}

void CSettingsDlg::BringToFront() {
  if (dialog_ != 0) services_.windows.BringToFront(dialog_);
}

void CSettingsDlg::Relabel() {
  RelabelTexts();
  SelectPage(currentTab_);
}

void CSettingsDlg::OnCommand(int id, int code) {
  CAdapterLink& link = services_.link;
  if (id == kIdProfileSelector && code == kCbnSelChange) {
    const int index = items_->ComboSelection(kIdProfileSelector);
    if (index >= 0 && !SwitchProfile(index)) FillProfileSelector();
  } else if (id == kIdAdapterSelector && code == kCbnDropDown) {
    if (descriptions_ != nullptr) {
      link.Enumerate(DiscoveryContext{services_.registry, services_.pcCards}, *descriptions_);
    }
    FillAdapterSelector();
  } else if (id == kIdAdapterSelector && code == kCbnSelChange) {
    OnAdapterSelected();
  } else if (id == kIdResetButton && code == kBnClicked) {
    link.ResetAdapter();
  }
}

void CSettingsDlg::OnAdapterSelected() {
  CAdapterLink& link = services_.link;
  const int index = items_->ComboSelection(kIdAdapterSelector);
  if (index < 0 || static_cast<std::size_t>(index) >= link.AdapterCount()) return;
  if (link.Handle() != kNoAdapter) link.ResetChannel();
  link.SelectAdapter(static_cast<std::uint32_t>(index));
  link.RefreshAdapterValues();
  // The Site Survey and Profiles pages keep what they show; the others read it again, and the
  // Encryption page tells of a failed read in a box, under which the dialog may go.
  const WindowLife::Token window = life_.Mark();
  if (currentPage_ != nullptr && currentPage_->IsShown()) currentPage_->Reload();
  if (!life_.StillAlive(window)) return;
  if (services_.adapterSettings.FollowAdapter()) FillProfileSelector();
}

void CSettingsDlg::OnNotify(const DialogNotification& notification) {
  if (notification.id != kIdTabControl || notification.code != kTcnSelChange) return;
  // A running re-scan keeps its page: the Site Survey tab is selected again.
  if (SurveyRunning()) {
    items_->TabSelect(kIdTabControl, kSiteSurveyTab);
    return;
  }
  SelectPage(items_->TabSelection(kIdTabControl));
}

bool CSettingsDlg::OnKey(DialogKey key) {
  if (items_ == nullptr) return false;
  // A running re-scan keeps its page and its focus, as on a click on a tab.
  if (SurveyRunning()) return true;
  const int step = key == DialogKey::NextTab ? 1 : kPageCount - 1;
  const WindowLife::Token window = life_.Mark();
  SelectPage((currentTab_ + step) % kPageCount);
  // The page that had the focus is gone: it goes to the tabs, where the next Ctrl+Tab or
  // Tab goes on from.
  if (life_.StillAlive(window)) items_->Focus(kIdTabControl);
  return true;
}

void CSettingsDlg::OnOk() {
  // Enter does nothing here: only the Exit button and Escape close the dialog.
}

void CSettingsDlg::OnCancel() {
  if (!open_) return;
  open_ = false;
  services_.dialogs.EndDialog(dialog_, kIdCancel);
}

void CSettingsDlg::OnDestroy() {
  // The page's window goes with the dialog; no page is on screen until the next opening, and a
  // tab change under way ends here.
  life_.End();
  changingPage_ = false;
  pageWindow_ = 0;
  currentPage_ = nullptr;
  services_.messages.SetModalOwner(0);
  items_ = nullptr;
  dialog_ = 0;
  open_ = false;
}

}  // namespace linkscope
