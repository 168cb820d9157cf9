#include "ui/CSiteSurveyPage.h"

#include <algorithm>

#include "config/AdapterSettings.h"
#include "device/Oids.h"
#include "device/RecordQuery.h"
#include "device/SurveyRequests.h"
#include "ui/DialogLayouts.h"
#include "ui/SurveyRows.h"

namespace linkscope {

namespace {

struct ColumnHeader {
  const char* key;
  const char* defaultText;
};

constexpr ColumnHeader kColumns[kSurveyColumnCount] = {
    {"ColumnBSSID", "BSSID"},   {"ColumnSSID", "SSID"},     {"ColumnSignal", "Signal"},
    {"ColumnChannel", "Channel"}, {"ColumnWEP", "Encryption"}, {"ColumnBSStype", "BSS"},
};

// A join ends on the Status page, where the new link shows.
constexpr int kStatusTab = 0;

}  // namespace

CSiteSurveyPage::CSiteSurveyPage(const SettingsDialogServices& services, IPageHost& host)
    : CLayoutPage(kSiteSurveyPageId, services, host) {}

void CSiteSurveyPage::OnCreatePage() {
  surveyStarted_ = false;
  surveyFinished_ = true;
  IDialogItems& items = *Items();
  const LanguageTable& language = Services().language;
  items.SetText(kIdRescan, language.Lookup("ButtonRescan", "Re-Scan"));
  items.SetText(kIdCancel, language.Lookup("ButtonCancel", "Cancel"));

  ClearList();
  for (int i = 0; i < kSurveyColumnCount; ++i) {
    items.ListViewInsertColumn(kIdList, i, language.Lookup(kColumns[i].key, kColumns[i].defaultText),
                               0);
  }
  FitColumns();
  ApplyWindowsConfiguration(Services().link.configuredByWindows != 0);
  // The page opens on the list the adapter already holds; no survey is started.
  FillList();
}

void CSiteSurveyPage::OnDestroyPage() {
  // Re-Scan comes back with the page's next window. The failure of the cancel is told last:
  // its box runs messages, and the dialog may go under it.
  surveyFinished_ = true;
  // While the dialog closes (or the program ends) a message box would only get in the way.
  CancelSurvey(Host().IsOpen());
}

void CSiteSurveyPage::ApplyWindowsConfiguration(bool configuredByWindows) {
  IDialogItems* items = Items();
  if (items == nullptr) return;
  // A running survey keeps Re-Scan disabled until it ends.
  items->Enable(kIdRescan, !configuredByWindows && !SurveyRunning());
  items->Enable(kIdCancel, !configuredByWindows);
  items->Enable(kIdList, !configuredByWindows);
  // The page itself as well: nothing on it answers the mouse or the keyboard then, while the
  // list stays in sight as it was.
  items->EnableDialog(!configuredByWindows);
}

void CSiteSurveyPage::EnableRescan() {
  if (IDialogItems* items = Items()) {
    items->Enable(kIdRescan, Services().link.configuredByWindows == 0);
  }
}

void CSiteSurveyPage::OnCommand(int id, int code) {
  if (id == kIdRescan && code == kBnClicked) OnRescan();
}

void CSiteSurveyPage::OnNotify(const DialogNotification& notification) {
  if (notification.id == kIdList && notification.code == kNmDblClk) OnJoin();
}

void CSiteSurveyPage::FitColumns() {
  IDialogItems& items = *Items();
  SurveyColumnWidthList whole{};
  SurveyColumnWidthList cells{};
  for (int i = 0; i < kSurveyColumnCount; ++i) {
    whole[i] = items.ListViewNeededWidth(kIdList, i, true);
    cells[i] = items.ListViewNeededWidth(kIdList, i, false);
  }
  const SurveyColumnWidthList widths =
      SurveyColumnWidths(whole, cells, items.ListViewClientWidth(kIdList));
  for (int i = 0; i < kSurveyColumnCount; ++i) items.ListViewSetColumnWidth(kIdList, i, widths[i]);
}

void CSiteSurveyPage::ClearList() {
  // The rows and the list they show go together: a join reads the entry behind a row.
  result_ = BssList();
  Items()->ListViewDeleteAllRows(kIdList);
}

bool CSiteSurveyPage::FillList() {
  if (Items() == nullptr) return false;
  CAdapterLink& link = Services().link;
  const AdapterEntry* adapter = link.CurrentAdapter();
  // The card type picks the signal scale; when the driver does not say, the last one holds.
  std::uint32_t written = 0;
  link.Query(adapter, OID_PRIV_CARD_TYPE, &cardType_, 1, &written);
  const SurveySignalScale scale = SurveySignalScaleOf(cardType_, Services().language);

  // A failed or oversize read leaves both the rows and the list they show as they were.
  BssList fresh;
  if (!QueryBssList(link, adapter, &fresh)) return false;
  IDialogItems& items = *Items();
  result_ = std::move(fresh);
  items.ListViewDeleteAllRows(kIdList);
  for (std::size_t i = 0; i < result_.entries.size(); ++i) {
    const auto cells = SurveyRowCells(result_.entries[i], scale, Services().language);
    const int row = items.ListViewInsertRow(kIdList, static_cast<int>(i), cells[0]);
    for (int c = 1; c < kSurveyColumnCount; ++c) items.ListViewSetCell(kIdList, row, c, cells[c]);
  }
  FitColumns();
  return true;
}

bool CSiteSurveyPage::Following(WindowLife::Token window) const {
  return Life().StillAlive(window) && Host().IsOpen() && !surveyFinished_;
}

bool CSiteSurveyPage::WaitBeforeNextPoll(WindowLife::Token window) {
  ISystem& system = Services().system;
  const std::uint32_t start = system.TickCount();
  for (;;) {
    // Escape, the poll tick, the Exit button, the tray menu and the end of the session all
    // run in here.
    if (!Services().dialogs.DispatchPending()) return false;
    if (!Following(window)) return false;
    const std::uint32_t waited = system.TickCount() - start;
    if (waited >= kPollIntervalMs) return true;
    system.Sleep(std::min(kWaitSliceMs, kPollIntervalMs - waited));
  }
}

void CSiteSurveyPage::OnRescan() {
  if (Items() == nullptr || SurveyRunning()) return;
  const WindowLife::Token window = Life().Mark();
  CAdapterLink& link = Services().link;
  const Messages& messages = Services().messages;
  surveyFinished_ = false;
  // Re-Scan was pressed and is about to be disabled: the focus goes to the list rather than to
  // nowhere, where Escape would close the dialog instead of stopping the survey.
  if (Items()->FocusedControl() == kIdRescan) Items()->Focus(kIdList);
  Items()->Enable(kIdRescan, false);

  std::uint8_t state = 0;
  if (!QuerySurveyState(link, link.CurrentAdapter(), SurveyStateRead::BeforeSurvey, &state)) {
    messages.Show("FailedToGetSiteSurveyStateErrorMessage", "Failed to get Site Survey state");
    return;
  }
  surveyStarted_ = true;
  ClearList();
  // A survey that is already running is someone else's to follow.
  if (state == SurveyState::kInProgress) return;
  if (!StartSurvey(link, link.CurrentAdapter())) {
    messages.Show("FailedToInitiateSiteSurveyErrorMessage", "Failed to initiate Site Survey");
    return;
  }
  if (!FillList()) return;
  for (;;) {
    if (!QuerySurveyState(link, link.CurrentAdapter(), SurveyStateRead::WhileFollowing, &state)) {
      messages.Show("FailedToGetSiteSurveyStateErrorMessage", "Failed to get Site Survey state");
      return;
    }
    if (state == SurveyState::kComplete) {
      EnableRescan();
      surveyFinished_ = true;
      return;
    }
    if (!WaitBeforeNextPoll(window)) return;
    if (!FillList()) return;
  }
}

void CSiteSurveyPage::CancelSurvey(bool showFailure) {
  CAdapterLink& link = Services().link;
  if (!surveyStarted_ || link.CurrentAdapter() == nullptr) return;
  if (linkscope::CancelSurvey(link, link.CurrentAdapter())) {
    surveyStarted_ = false;
  } else if (showFailure) {
    Services().messages.Show("FailedToCancelSiteSurveyErrorMessage", "Failed to cancel Site Survey");
  }
}

void CSiteSurveyPage::OnCancel() {
  const WindowLife::Token window = Life().Mark();
  CancelSurvey(true);
  // A failed cancel showed a box, under which this window may have gone.
  if (!Life().StillAlive(window)) return;
  EnableRescan();
  surveyFinished_ = true;
}

void CSiteSurveyPage::OnJoin() {
  IDialogItems* items = Items();
  if (items == nullptr) return;
  ISystem& system = Services().system;
  if (SurveyRunning()) {
    system.Beep(kBeepExclamation);
    return;
  }
  const int row = items->ListViewNextSelected(kIdList, -1);
  if (row < 0 || static_cast<std::size_t>(row) >= result_.entries.size()) {
    system.Beep(kBeepExclamation);
    return;
  }
  // A copy: the message box below lets other messages run, which may refill the list.
  const BssEntry entry = result_.entries[static_cast<std::size_t>(row)];
  const WindowLife::Token window = Life().Mark();
  const ChangeResult result =
      Services().adapterSettings.Join(entry, static_cast<std::uint32_t>(row));
  // The profile selector follows the adapter whatever it made of the selection.
  Host().FillProfileSelector();
  if (result != ChangeResult::kApplied) {
    Services().messages.Show("FailedToSelectAccessPointErrorMessage",
                             "Failed to select Access Point");
  }
  // The dialog goes to the Status page only from this page's window, which may have gone
  // under the box and goes here: nothing of it is touched after.
  if (Life().StillAlive(window) && Host().IsOpen()) Host().SelectPage(kStatusTab);
}

}  // namespace linkscope
