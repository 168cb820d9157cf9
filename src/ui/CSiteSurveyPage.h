#pragma once
// The Site Survey page: scanning for networks, the list of what was found, and joining one.

#include <cstdint>

#include "device/ChannelScore.h"
#include "device/SurveyRecords.h"
#include "ui/CLayoutPage.h"
#include "ui/ChannelMapGraph.h"

namespace linkscope {

class CSiteSurveyPage : public CLayoutPage {
 public:
  CSiteSurveyPage(const SettingsDialogServices& services, IPageHost& host);

  void OnCommand(int id, int code) override;
  void OnNotify(const DialogNotification& notification) override;
  // Escape stops a running survey and closes nothing.
  void OnCancel() override;

  bool SurveyRunning() const override { return !surveyFinished_; }
  // The adapter going away ends a watch with its survey.
  void MarkSurveyFinished() override;
  void ApplyWindowsConfiguration(bool configuredByWindows) override;

  // The list as last read from the adapter: row i of the list view shows entry i.
  const BssList& SurveyResult() const { return result_; }
  // What the graphs draw: the networks of the last list read, and of the surveys of the last
  // minutes; the channel scores of the last list read.
  const ChannelMapGraph& Graph() const { return graph_; }
  const SurveyHistory& History() const { return history_; }
  const ChannelScores& Scores() const { return scores_; }
  // The Repeat box is checked and its surveys are still to come.
  bool Watching() const { return watching_; }
  // The pause between two surveys of a watch, from the language file.
  std::uint32_t RepeatIntervalMs() const;

  static constexpr int kIdList = 1033;
  static constexpr int kIdRescan = 1034;
  static constexpr int kIdGraph = 1035;
  static constexpr int kIdViewList = 1036;
  static constexpr int kIdViewChannels = 1037;
  static constexpr int kIdViewTime = 1038;
  static constexpr int kIdLeastCrowded = 1039;
  static constexpr int kIdRepeat = 1040;
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
  // One survey, from Re-Scan to its end; true when it completed.
  bool RunSurvey(WindowLife::Token window);
  // The pause of a watch before its next survey; false when the watch is over.
  bool WaitBetweenSurveys(WindowLife::Token window);
  void StopWatching(WindowLife::Token window);
  void ShowView();
  void UpdateChannelView();
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
  ChannelMapGraph graph_;
  SurveyHistory history_;
  ChannelScores scores_;
  int view_ = 0;  // 0 the list, 1 the channels, 2 over time; kept between two showings
  bool watching_ = false;
  bool betweenSurveys_ = false;
  bool rescanNow_ = false;
};

}  // namespace linkscope
