#pragma once
// What the command-line companion writes: the two console streams and files, and the quoting
// its machine-readable forms (JSON, CSV) need.

#include <cstdint>
#include <string>
#include <vector>

#include "platform/WindowSystem.h"
#include "ui/LinkCsv.h"

namespace linkscope {

// Standard output or standard error.
class ITextSink {
 public:
  virtual ~ITextSink() = default;
  virtual void Write(const std::string& text) = 0;
};

// Files named on the command line.
class ICliFiles {
 public:
  virtual ~ICliFiles() = default;
  // The whole file, at most `limit` bytes; false (with the system's reason) when it cannot be
  // read or is larger.
  virtual bool Read(const std::string& path, std::size_t limit, std::string* bytes,
                    std::string* why) = 0;
  // Creates or truncates the file and writes `bytes`.
  virtual bool Write(const std::string& path, const std::string& bytes, std::string* why) = 0;
  // Adds `bytes` at the end of an existing file.
  virtual bool Append(const std::string& path, const std::string& bytes, std::string* why) = 0;
};

// A JSON string literal of `text`, its bytes taken as Latin-1 (the adapter's SSIDs are bytes,
// not UTF-8), so that any SSID gives valid JSON.
std::string JsonString(const std::string& text);

// Left-aligned label and value lines, the labels padded to one width.
std::string LabelledLines(const std::vector<std::pair<std::string, std::string>>& lines);

// A table with a header row, columns padded to their widest cell.
std::string TextTable(const std::vector<std::string>& header,
                      const std::vector<std::vector<std::string>>& rows);

// The program's message boxes as lines on standard error: the core reports its failures
// through message boxes, and a console program shows none. A question is answered No (its
// safe answer) and said so.
class ConsoleWindows : public IWindowSystem {
 public:
  explicit ConsoleWindows(ITextSink& err) : err_(err) {}

  int ShowMessage(WindowHandle owner, const std::string& text, const std::string& caption,
                  std::uint32_t style) override;
  // How many messages went to standard error.
  int MessageCount() const { return messages_; }

  WindowHandle CreateMainWindow(const std::string&, IMainWindowHandler*) override { return 0; }
  void DestroyWindow(WindowHandle) override {}
  bool SetWindowTitle(WindowHandle, const std::string&) override { return false; }
  WindowHandle FindTopLevelWindow(const std::string&) override { return 0; }
  bool SetTimer(WindowHandle, std::uint32_t, std::uint32_t) override { return false; }
  void KillTimer(WindowHandle, std::uint32_t) override {}
  std::uint32_t RegisterMessage(const std::string&) override { return 0; }
  bool NotifyTrayIcon(TrayAction, const TrayIconRecord&) override { return false; }
  IconHandle LoadIconFile(const std::string&) override { return 0; }
  IconHandle LoadBuiltInIcon(std::uint32_t) override { return 0; }
  void FreeIcon(IconHandle) override {}
  std::uint32_t TrackPopupMenu(WindowHandle, const std::vector<MenuItem>&, int, int) override {
    return 0;
  }
  void BringToFront(WindowHandle) override {}
  WindowHandle CreateGraphWindow(WindowHandle, const std::string&, const std::vector<MenuItem>&,
                                 int, int, ICanvasPainter*, IGraphWindowHandler*) override {
    return 0;
  }
  bool SetMenuBar(WindowHandle, const std::vector<MenuItem>&) override { return false; }
  bool InvalidateWindow(WindowHandle) override { return false; }
  bool ChooseSaveFile(WindowHandle, const std::string&, const std::string&, const std::string&,
                      std::string*) override {
    return false;
  }
  bool SetTopmost(WindowHandle, bool) override { return false; }
  bool RaiseToTop(WindowHandle) override { return false; }
  bool GetCursorPosition(int*, int*) override { return false; }
  bool CursorOnMenu() override { return false; }
  void CloseMenu(WindowHandle) override {}
  int RunMessageLoop() override { return 0; }
  void QuitMessageLoop(int) override {}

 private:
  ITextSink& err_;
  int messages_ = 0;
};

}  // namespace linkscope
