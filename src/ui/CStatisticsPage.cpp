#include "ui/CStatisticsPage.h"

#include <string>

#include "device/SurveyRequests.h"
#include "ui/DialogLayouts.h"

namespace linkscope {

namespace {

struct CounterCell {
  int id;
  StatisticsRecord::Counter counter;
};

// The value labels in the order they are written. The rejected row shows the transmit counter
// (offset 40) under Tx and the receive one (offset 32) under Rx.
constexpr CounterCell kCells[] = {
    {1069, StatisticsRecord::kTxDataOk},     {1070, StatisticsRecord::kTxDataFailed},
    {1073, StatisticsRecord::kRxDataOk},     {1074, StatisticsRecord::kRxDataFailed},
    {1071, StatisticsRecord::kTxMgmtOk},     {1072, StatisticsRecord::kTxMgmtFailed},
    {1075, StatisticsRecord::kRxMgmtOk},     {1076, StatisticsRecord::kRxMgmtFailed},
    {1082, StatisticsRecord::kTxRejected},   {1083, StatisticsRecord::kRxRejected},
};

struct LabelText {
  int id;
  const char* key;
  const char* defaultText;
};

constexpr LabelText kTexts[] = {
    {1079, "TxLabel", "Tx"},
    {1080, "RxLabel", "Rx"},
    {1077, "DataBorder", "Data"},
    {1078, "MgmtBorder", "Management"},
    {1065, "DataOkLabel", "Successful"},
    {1067, "DataErrorLabel", "Unsuccessful"},
    {1066, "MgmtOkLabel", "Successful"},
    {1068, "MgmtErrorLabel", "Unsuccessful"},
    {1081, "RejectedLabel", "Rejected Packets"},
    {CStatisticsPage::kIdResetButton, "ResetStatisticsButton", "Reset"},
};

}  // namespace

CStatisticsPage::CStatisticsPage(const SettingsDialogServices& services, IPageHost& host)
    : CLayoutPage(kStatisticsPageId, services, host) {}

void CStatisticsPage::OnCreatePage() {
  InitTexts();
  if (!Refresh()) {
    StayHidden();
    Services().messages.Show("FailedToGetStatisticsErrorMessage", "Failed to get statistics");
  }
}

void CStatisticsPage::InitTexts() {
  IDialogItems* items = Items();
  if (items == nullptr) return;
  for (const LabelText& t : kTexts) {
    items->SetText(t.id, Services().language.Lookup(t.key, t.defaultText));
  }
}

bool CStatisticsPage::Refresh() {
  IDialogItems* items = Items();
  if (items == nullptr) return false;
  CAdapterLink& link = Services().link;
  StatisticsRecord record;
  if (!QueryStatistics(link, link.CurrentAdapter(), &record)) {
    items->ShowDialog(false);
    return false;
  }
  // The counters are unsigned: a counter past 2^31 is shown as the count it is, not as a
  // negative number.
  for (const CounterCell& cell : kCells) {
    items->SetText(cell.id, std::to_string(record.counters[cell.counter]));
  }
  return true;
}

void CStatisticsPage::OnReset() {
  CAdapterLink& link = Services().link;
  const WindowLife::Token window = Life().Mark();
  if (!ResetStatistics(link, link.CurrentAdapter())) {
    Services().messages.Show("FailedToResetStatisticsErrorMessage", "Failed to reset statistics");
  }
  // The message box lets other messages run: the page may be gone, or built again, by now.
  if (!Life().StillAlive(window)) return;
  Refresh();
}

}  // namespace linkscope
