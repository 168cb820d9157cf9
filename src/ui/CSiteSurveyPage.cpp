#include "ui/CSiteSurveyPage.h"

#include <algorithm>

#include "config/AdapterSettings.h"
#include "device/DeviceCodes.h"
#include "device/OfferedChannels.h"
#include "device/Oids.h"
#include "device/RecordQuery.h"
#include "device/SurveyRequests.h"
#include "ui/DialogLayouts.h"
#include "text/OemSettings.h"
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
  SetLayoutTexts();

  ClearList();
  for (int i = 0; i < kSurveyColumnCount; ++i) {
    items.ListViewInsertColumn(kIdList, i, language.Lookup(kColumns[i].key, kColumns[i].defaultText),
                               0);
  }
  FitColumns();
  watching_ = false;
  items.SetCheck(kIdRepeat, kCheckUnchecked);
  ChannelMapGraph::Words words;
  words.channel = language.Lookup("ColumnChannel", "Channel");
  words.minutes = language.Lookup("GraphMinutes", "min");
  graph_.SetWords(words);
  graph_.SetHistory(&history_);
  items.SetPainter(kIdGraph, &graph_);
  ShowView();
  ApplyWindowsConfiguration(Services().link.configuredByWindows != 0);
  // The page opens on the list the adapter already holds; no survey is started.
  FillList();
}

void CSiteSurveyPage::ShowView() {
  IDialogItems& items = *Items();
  graph_.SetView(view_ == 2 ? ChannelMapGraph::View::Time : ChannelMapGraph::View::Channels);
  // A choice made from the keyboard or by a program marks its button as the mouse does.
  items.CheckRadio(kIdViewList, kIdViewTime, kIdViewList + view_);
  items.Show(kIdList, view_ == 0);
  items.Show(kIdGraph, view_ != 0);
  items.Redraw(kIdGraph);
}

std::uint32_t CSiteSurveyPage::RepeatIntervalMs() const {
  const std::uint32_t seconds =
      LeadingDigitsValue(Services().language.Lookup("SurveyRepeatSeconds", "10"));
  // No pause at all would survey without end; an hour is the longest that still watches.
  return (seconds == 0 ? 10 : std::min<std::uint32_t>(seconds, 3600)) * 1000;
}

void CSiteSurveyPage::UpdateChannelView() {
  IDialogItems& items = *Items();
  CAdapterLink& link = Services().link;
  // The network the card is in draws thicker; the list does not say which one it is.
  DeviceConfig config;
  const bool joined = QueryDeviceConfig(link, link.CurrentAdapter(), &config) &&
                      config.state == DeviceState::kAssociated;
  const std::vector<GraphNetwork> networks =
      SurveyGraphNetworks(result_, SurveySignalScaleOf(cardType_, Services().language),
                          joined ? &config.bssid : nullptr);
  // The channels an ad-hoc cell may use: the regulatory domain's.
  const std::vector<std::uint8_t> allowed =
      OfferedChannels(false, link.allowedChannels, link.regulatoryDomain);
  scores_ = ScoreChannels(ScoredNetworks(networks), allowed);
  graph_.SetNetworks(networks, AllowedChannelMask(allowed));
  items.SetText(kIdLeastCrowded,
                scores_.best == 0 ? std::string()
                                  : Services().language.Lookup("LeastCrowdedChannel",
                                                               "Least crowded channel:") +
                                        " " + std::to_string(scores_.best));
  items.SetText(kIdGraph, graph_.Description());
  items.Redraw(kIdGraph);
}

void CSiteSurveyPage::OnDestroyPage() {
  // Re-Scan comes back with the page's next window. The failure of the cancel is told last:
  // its box runs messages, and the dialog may go under it.
  surveyFinished_ = true;
  watching_ = false;
  // The painter stays with the page object; the control goes with this window.
  Items()->SetPainter(kIdGraph, nullptr);
  // While the dialog closes (or the program ends) a message box would only get in the way.
  CancelSurvey(Host().IsOpen());
}

void CSiteSurveyPage::MarkSurveyFinished() {
  surveyFinished_ = true;
  watching_ = false;
  if (IDialogItems* items = Items()) items->SetCheck(kIdRepeat, kCheckUnchecked);
}

void CSiteSurveyPage::ApplyWindowsConfiguration(bool configuredByWindows) {
  IDialogItems* items = Items();
  if (items == nullptr) return;
  // A running survey keeps Re-Scan disabled until it ends.
  items->Enable(kIdRescan, !configuredByWindows && !SurveyRunning());
  items->Enable(kIdCancel, !configuredByWindows);
  items->Enable(kIdRepeat, !configuredByWindows);
  // A watch surveys on its own: Windows, once it configures the card, ends it.
  if (configuredByWindows && watching_) {
    watching_ = false;
    items->SetCheck(kIdRepeat, kCheckUnchecked);
  }
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
  if (code != kBnClicked || Items() == nullptr) return;
  if (id == kIdRescan) {
    OnRescan();
  } else if (id >= kIdViewList && id <= kIdViewTime) {
    view_ = id - kIdViewList;
    ShowView();
  } else if (id == kIdRepeat) {
    watching_ = Items()->Check(kIdRepeat) == kCheckChecked;
    // Checked while a survey runs, the watch goes on from its end; while it waits, it waits.
    if (watching_ && !SurveyRunning() && !betweenSurveys_) OnRescan();
  }
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
  scores_ = ChannelScores();
  graph_.SetNetworks({}, {});
  Items()->SetText(kIdLeastCrowded, "");
  Items()->SetText(kIdGraph, "");
  Items()->Redraw(kIdGraph);
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
  // The graph follows the list as a survey fills it.
  UpdateChannelView();
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
  if (Items() == nullptr) return;
  // Re-Scan while a watch waits: its next survey starts now, from the watch's own loop, never
  // inside it.
  if (betweenSurveys_) {
    rescanNow_ = true;
    return;
  }
  if (SurveyRunning()) return;
  const WindowLife::Token window = Life().Mark();
  for (;;) {
    if (!RunSurvey(window)) {
      StopWatching(window);
      return;
    }
    if (!watching_ || !WaitBetweenSurveys(window)) return;
  }
}

void CSiteSurveyPage::StopWatching(WindowLife::Token window) {
  watching_ = false;
  if (Life().StillAlive(window) && Items() != nullptr) {
    Items()->SetCheck(kIdRepeat, kCheckUnchecked);
  }
}

bool CSiteSurveyPage::WaitBetweenSurveys(WindowLife::Token window) {
  ISystem& system = Services().system;
  const std::uint32_t interval = RepeatIntervalMs();
  const std::uint32_t start = system.TickCount();
  betweenSurveys_ = true;
  rescanNow_ = false;
  bool next = true;
  for (;;) {
    // The guards of a survey are off here: a tab change, a profile switch or a join may take
    // the page away, the dialog may close, and the user may uncheck Repeat or press Escape.
    if (!Services().dialogs.DispatchPending() || !Life().StillAlive(window) ||
        !Host().IsOpen() || !watching_) {
      next = false;
      break;
    }
    const std::uint32_t waited = system.TickCount() - start;
    if (rescanNow_ || waited >= interval) break;
    system.Sleep(std::min(kWaitSliceMs, interval - waited));
  }
  betweenSurveys_ = false;
  return next;
}

bool CSiteSurveyPage::RunSurvey(WindowLife::Token window) {
  if (!Life().StillAlive(window) || Items() == nullptr || SurveyRunning()) return false;
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
    return false;
  }
  surveyStarted_ = true;
  ClearList();
  // A survey that is already running is someone else's to follow.
  if (state == SurveyState::kInProgress) return false;
  if (!StartSurvey(link, link.CurrentAdapter())) {
    messages.Show("FailedToInitiateSiteSurveyErrorMessage", "Failed to initiate Site Survey");
    return false;
  }
  if (!FillList()) return false;
  for (;;) {
    if (!QuerySurveyState(link, link.CurrentAdapter(), SurveyStateRead::WhileFollowing, &state)) {
      messages.Show("FailedToGetSiteSurveyStateErrorMessage", "Failed to get Site Survey state");
      return false;
    }
    if (state == SurveyState::kComplete) {
      EnableRescan();
      surveyFinished_ = true;
      history_.Add(Services().system.TickCount(), graph_.Networks());
      // The time graph takes the survey in.
      if (view_ == 2) Items()->Redraw(kIdGraph);
      return true;
    }
    if (!WaitBeforeNextPoll(window)) return false;
    if (!FillList()) return false;
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
  // Escape ends a watch as well as its survey.
  StopWatching(window);
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
