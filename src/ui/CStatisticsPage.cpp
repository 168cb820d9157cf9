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
using P = CStatisticsPage;
constexpr CounterCell kCells[] = {
    {P::kIdTxDataOk, StatisticsRecord::kTxDataOk},
    {P::kIdTxDataFailed, StatisticsRecord::kTxDataFailed},
    {P::kIdRxDataOk, StatisticsRecord::kRxDataOk},
    {P::kIdRxDataFailed, StatisticsRecord::kRxDataFailed},
    {P::kIdTxMgmtOk, StatisticsRecord::kTxMgmtOk},
    {P::kIdTxMgmtFailed, StatisticsRecord::kTxMgmtFailed},
    {P::kIdRxMgmtOk, StatisticsRecord::kRxMgmtOk},
    {P::kIdRxMgmtFailed, StatisticsRecord::kRxMgmtFailed},
    {P::kIdTxRejected, StatisticsRecord::kTxRejected},
    {P::kIdRxRejected, StatisticsRecord::kRxRejected},
};

}  // namespace

CStatisticsPage::CStatisticsPage(const SettingsDialogServices& services, IPageHost& host)
    : CLayoutPage(kStatisticsPageId, services, host) {}

void CStatisticsPage::OnCreatePage() {
  SetLayoutTexts();
  if (!Refresh()) {
    StayHidden();
    Services().messages.Show("FailedToGetStatisticsErrorMessage", "Failed to get statistics");
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
