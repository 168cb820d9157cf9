#pragma once
// The signal history window: a top-level window beside the tray icon that draws the link's
// signal strength and quality over the last ten minutes and saves the samples as CSV. The
// object lives as long as the main frame and keeps the samples while the window comes and
// goes; the frame adds a sample on each tick while the window is open.

#include <cstdint>
#include <string>
#include <vector>

#include "platform/System.h"
#include "platform/WindowSystem.h"
#include "text/LanguageTable.h"
#include "ui/SignalHistory.h"
#include "ui/SignalHistoryGraph.h"
#include "ui/WindowLife.h"

namespace linkscope {

class CSignalHistoryWindow : public IGraphWindowHandler {
 public:
  // The menu bar's command.
  static constexpr std::uint32_t kCmdSaveCsv = 3001;
  // The window's first size, at 96 DPI.
  static constexpr int kWidth = 640;
  static constexpr int kHeight = 360;

  CSignalHistoryWindow(IWindowSystem& windows, ISystem& system, const LanguageTable& language,
                       std::uint32_t periodMs);
  ~CSignalHistoryWindow() override;
  CSignalHistoryWindow(const CSignalHistoryWindow&) = delete;
  CSignalHistoryWindow& operator=(const CSignalHistoryWindow&) = delete;

  bool IsOpen() const { return window_ != 0; }
  WindowHandle Window() const { return window_; }
  // Opens the window owned by `owner`, or brings it to the front when it is open already.
  void Open(WindowHandle owner);
  void Close();
  // Takes the texts of the current language.
  void Relabel();
  void SetPeriod(std::uint32_t periodMs) { history_.SetPeriod(periodMs); }
  // The newest sample; the picture follows it.
  void Add(const HistorySample& sample);
  const SignalHistory& History() const { return history_; }
  const SignalHistoryTexts& Texts() const { return texts_; }

  void OnGraphCommand(std::uint32_t id) override;
  void OnGraphClose() override { Close(); }
  void OnGraphDestroy() override;

 private:
  void LoadTexts();
  std::vector<MenuItem> MenuBar() const;
  void SaveAsCsv();

  IWindowSystem& windows_;
  ISystem& system_;
  const LanguageTable& language_;
  SignalHistory history_;
  SignalHistoryTexts texts_;
  std::string title_;
  SignalHistoryGraph graph_{history_, texts_};
  WindowHandle window_ = 0;
  // The save box runs messages: the tick, Exit or the end of the session may close the window
  // under it.
  WindowLife life_;
};

}  // namespace linkscope
