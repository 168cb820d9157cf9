#pragma once
// The Site Survey page: scanning for networks, the list of what was found, and joining one.

#include <cstdint>

#include "device/SurveyRecords.h"
#include "ui/CLayoutPage.h"

namespace linkscope {

class CSiteSurveyPage : public CLayoutPage {
 public:
  CSiteSurveyPage(const SettingsDialogServices& services, IPageHost& host);

  void OnCommand(int id, int code) override;
  void OnNotify(const DialogNotification& notification) override;
  // Escape stops a running survey and closes nothing.
  void OnCancel() override;

  bool SurveyRunning() const override { return !surveyFinished_; }
  void MarkSurveyFinished() override { surveyFinished_ = true; }
  void ApplyWindowsConfiguration(bool configuredByWindows) override;

  // The list as last read from the adapter: row i of the list view shows entry i.
  const BssList& SurveyResult() const { return result_; }

  static constexpr int kIdList = 1033;
  static constexpr int kIdRescan = 1034;
  // The driver is asked for the survey's state and list once a second.
  static constexpr std::uint32_t kPollIntervalMs = 1000;
  // Between two polls the page keeps answering messages in slices this long, so that Escape
  // or a closing dialog is served at once rather than after the whole second.
  static constexpr std::uint32_t kWaitSliceMs = 10;

 protected:
  void OnCreatePage() override;
  void OnDestroyPage() override;

 private:
  bool FillList();
  void ClearList();
  void FitColumns();
  void OnRescan();
  // Waits out the pause between two polls; false when the survey is no longer to be followed
  // (finished or cancelled meanwhile, the page or the dialog gone or going, the program ending).
  bool WaitBeforeNextPoll(WindowLife::Token window);
  bool Following(WindowLife::Token window) const;
  void CancelSurvey(bool showFailure);
  void OnJoin();
  void EnableRescan();

  BssList result_;
  std::uint8_t cardType_ = 0;
  bool surveyStarted_ = false;
  bool surveyFinished_ = true;
};

}  // namespace linkscope
