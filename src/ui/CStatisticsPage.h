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

  static constexpr int kIdResetButton = 1;  // the page's default button

 protected:
  void OnCreatePage() override;

 private:
  void InitTexts();
  void OnReset();
};

}  // namespace linkscope
