#pragma once
// The Statistics page: the adapter's frame counters and their reset.

#include "ui/CLayoutPage.h"

namespace linkscope {

class CStatisticsPage : public CLayoutPage {
 public:
  CStatisticsPage(const SettingsDialogServices& services, IPageHost& host);

  // Enter presses the Reset button; Escape does nothing here.
  void OnOk() override { OnReset(); }
  void OnCancel() override {}
  void OnTick() override { Refresh(); }
  void Reload() override { Refresh(); }

  // Reads the counters and shows them; a failed read hides the page, silently, until the page
  // is created again.
  bool Refresh();

  // Controls of the page: the headings and row labels, and a value under Tx and Rx for
  // each row.
  static constexpr int kIdTxHeading = 1079;
  static constexpr int kIdRxHeading = 1080;
  static constexpr int kIdDataGroup = 1077;
  static constexpr int kIdDataOkLabel = 1065;
  static constexpr int kIdDataErrorLabel = 1067;
  static constexpr int kIdTxDataOk = 1069;
  static constexpr int kIdTxDataFailed = 1070;
  static constexpr int kIdRxDataOk = 1073;
  static constexpr int kIdRxDataFailed = 1074;
  static constexpr int kIdMgmtGroup = 1078;
  static constexpr int kIdMgmtOkLabel = 1066;
  static constexpr int kIdMgmtErrorLabel = 1068;
  static constexpr int kIdTxMgmtOk = 1071;
  static constexpr int kIdTxMgmtFailed = 1072;
  static constexpr int kIdRxMgmtOk = 1075;
  static constexpr int kIdRxMgmtFailed = 1076;
  static constexpr int kIdRejectedLabel = 1081;
  static constexpr int kIdTxRejected = 1082;
  static constexpr int kIdRxRejected = 1083;
  static constexpr int kIdResetButton = 1;  // the page's default button

 protected:
  void OnCreatePage() override;

 private:
  void OnReset();
};

}  // namespace linkscope
