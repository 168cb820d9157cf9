#include "ui/CSignalHistoryWindow.h"

namespace linkscope {

CSignalHistoryWindow::CSignalHistoryWindow(IWindowSystem& windows, ISystem& system,
                                           const LanguageTable& language, std::uint32_t periodMs)
    : windows_(windows), system_(system), language_(language), history_(periodMs) {
  LoadTexts();
}

CSignalHistoryWindow::~CSignalHistoryWindow() { Close(); }

void CSignalHistoryWindow::LoadTexts() {
  const LanguageTable& t = language_;
  title_ = t.Lookup("SignalHistoryTitle", "Signal history");
  texts_.signal = t.Lookup("SignalHistorySignal", "Signal Strength");
  texts_.quality = t.Lookup("SignalHistoryQuality", "Link Quality");
  texts_.percentAxis = t.Lookup("SignalHistoryPercentAxis", "%");
  texts_.timeAxis = t.Lookup("SignalHistoryTimeAxis", "Minutes ago");
  texts_.noLink = t.Lookup("SignalHistoryNoLink", "no link");
}

std::vector<MenuItem> CSignalHistoryWindow::MenuBar() const {
  MenuItem save;
  save.id = kCmdSaveCsv;
  save.text = language_.Lookup("SignalHistorySaveCsv", "Save as CSV...");
  return {save};
}

void CSignalHistoryWindow::Open(WindowHandle owner) {
  if (window_ != 0) {
    windows_.BringToFront(window_);
    return;
  }
  LoadTexts();
  const WindowHandle window =
      windows_.CreateGraphWindow(owner, title_, MenuBar(), kWidth, kHeight, &graph_, this);
  if (window == 0) return;
  window_ = window;
  life_.Begin();
}

void CSignalHistoryWindow::Close() {
  if (window_ == 0) return;
  windows_.DestroyWindow(window_);
  // The system reports the destruction back; should it not, the window is gone all the same.
  if (window_ != 0) OnGraphDestroy();
}

void CSignalHistoryWindow::OnGraphDestroy() {
  window_ = 0;
  life_.End();
}

void CSignalHistoryWindow::Relabel() {
  LoadTexts();
  if (window_ == 0) return;
  windows_.SetWindowTitle(window_, title_);
  windows_.SetMenuBar(window_, MenuBar());
  windows_.InvalidateWindow(window_);
}

void CSignalHistoryWindow::Add(const HistorySample& sample) {
  history_.Add(sample);
  if (window_ != 0) windows_.InvalidateWindow(window_);
}

void CSignalHistoryWindow::OnGraphCommand(std::uint32_t id) {
  if (id == kCmdSaveCsv) SaveAsCsv();
}

void CSignalHistoryWindow::SaveAsCsv() {
  const WindowLife::Token token = life_.Mark();
  std::string path;
  const bool chosen = windows_.ChooseSaveFile(
      window_, language_.Lookup("SignalHistorySaveCsv", "Save as CSV..."),
      language_.Lookup("SignalHistoryCsvFiles", "CSV files"), "csv", &path);
  // A window closed under the box (Exit, the end of the session) saves nothing: the user
  // can no longer be told whether it worked.
  if (!chosen || !life_.StillAlive(token)) return;
  if (!system_.WriteWholeFile(path, history_.Csv())) {
    windows_.ShowMessage(window_,
                         language_.Lookup("ErrorCannotWriteCsv", "Could not write the file") +
                             "\n" + path,
                         title_, kMbOk | kMbIconExclamation);
  }
}

}  // namespace linkscope
