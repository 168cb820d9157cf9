// Entry point of linkscope-cli.exe: the console, files, Ctrl+C and the running tray program,
// around the portable command-line program.

#include <windows.h>

#include <atomic>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "app/CMainFrame.h"
#include "cli/CliProgram.h"
#include "win32/Win32PcCardProbe.h"
#include "win32/Win32PrivateProfile.h"
#include "win32/Win32Registry.h"
#include "win32/Win32RequestLibrary.h"
#include "win32/Win32ServiceManager.h"
#include "win32/Win32System.h"
#include "win32/Win32WindowSystem.h"

namespace {

std::atomic<bool> g_interrupted{false};

BOOL WINAPI OnConsoleControl(DWORD type) {
  if (type == CTRL_C_EVENT || type == CTRL_BREAK_EVENT || type == CTRL_CLOSE_EVENT) {
    // The program stops at its next check and cancels what it started on the adapter.
    g_interrupted = true;
    // A closed console ends the process as soon as this returns: the main thread gets a
    // moment to send the cancel first.
    if (type == CTRL_CLOSE_EVENT) Sleep(1500);
    return TRUE;
  }
  return FALSE;
}

class StreamSink : public linkscope::ITextSink {
 public:
  explicit StreamSink(FILE* stream) : stream_(stream) {}
  void Write(const std::string& text) override {
    std::fwrite(text.data(), 1, text.size(), stream_);
    std::fflush(stream_);
  }

 private:
  FILE* stream_;
};

class StdioFiles : public linkscope::ICliFiles {
 public:
  bool Read(const std::string& path, std::size_t limit, std::string* bytes,
            std::string* why) override {
    FILE* f = std::fopen(path.c_str(), "rb");
    if (f == nullptr) {
      *why = std::strerror(errno);
      return false;
    }
    bytes->clear();
    char chunk[4096];
    std::size_t n = 0;
    bool tooLarge = false;
    while ((n = std::fread(chunk, 1, sizeof chunk, f)) > 0) {
      if (bytes->size() + n > limit) {
        tooLarge = true;
        break;
      }
      bytes->append(chunk, n);
    }
    const bool failed = std::ferror(f) != 0;
    std::fclose(f);
    if (tooLarge) {
      *why = "larger than " + std::to_string(limit) + " bytes: not a profile file";
      return false;
    }
    if (failed) {
      *why = "read error";
      return false;
    }
    return true;
  }
  bool Write(const std::string& path, const std::string& bytes, std::string* why) override {
    return Put(path, "wb", bytes, why);
  }
  bool Append(const std::string& path, const std::string& bytes, std::string* why) override {
    return Put(path, "ab", bytes, why);
  }

 private:
  static bool Put(const std::string& path, const char* mode, const std::string& bytes,
                  std::string* why) {
    FILE* f = std::fopen(path.c_str(), mode);
    if (f == nullptr) {
      *why = std::strerror(errno);
      return false;
    }
    const bool ok = std::fwrite(bytes.data(), 1, bytes.size(), f) == bytes.size();
    const bool closed = std::fclose(f) == 0;
    if (!ok || !closed) *why = "write error";
    return ok && closed;
  }
};

// The language file is named relative to the program's folder, so that the companion finds
// it from whatever folder it is started in, as the tray program (started in its own folder)
// does.
class ProgramFolderProfile : public linkscope::IPrivateProfile {
 public:
  explicit ProgramFolderProfile(std::string folder) : folder_(std::move(folder)) {}
  std::uint32_t GetString(const std::string& section, const std::string& key,
                          const std::string& defaultValue, char* buffer, std::uint32_t size,
                          const std::string& file) override {
    return inner_.GetString(section, key, defaultValue, buffer, size, Rebase(file));
  }
  bool CanOpenFile(const std::string& path) override { return inner_.CanOpenFile(Rebase(path)); }

 private:
  std::string Rebase(const std::string& path) const {
    if (path.compare(0, 2, ".\\") == 0) return folder_ + path.substr(2);
    return path;
  }
  linkscope::Win32PrivateProfile inner_;
  std::string folder_;
};

class Win32TrayProgram : public linkscope::ITrayProgram {
 public:
  bool Running(const std::string& title) override { return Find(title) != nullptr; }
  bool AskSwitch(const std::string& title, int index) override {
    HWND window = Find(title);
    const UINT message =
        RegisterWindowMessageA(linkscope::CMainFrame::kSwitchProfileMessageName);
    if (window == nullptr || message == 0) return false;
    DWORD_PTR result = 0;
    // The switch may wait for the driver (2 s when it takes the settings piece by piece) or
    // for the user to answer a message box there.
    return SendMessageTimeoutA(window, message, static_cast<WPARAM>(index), 0, SMTO_NORMAL,
                               120000, &result) != 0;
  }
  bool TellSettingsChanged(const std::string& title) override {
    HWND window = Find(title);
    const UINT message =
        RegisterWindowMessageA(linkscope::CMainFrame::kSettingsChangedMessageName);
    if (window == nullptr || message == 0) return false;
    DWORD_PTR result = 0;
    // It reads the adapter once; a box about its profile store may wait for the user.
    return SendMessageTimeoutA(window, message, 0, 0, SMTO_NORMAL, 120000, &result) != 0;
  }

 private:
  // The hidden main window, not the settings dialog, which carries the same title.
  static HWND Find(const std::string& title) {
    return FindWindowA(linkscope::Win32WindowSystem::kMainWindowClass, title.c_str());
  }
};

std::string ProgramFolder() {
  char path[MAX_PATH] = {};
  const DWORD n = GetModuleFileNameA(nullptr, path, MAX_PATH);
  if (n == 0 || n >= MAX_PATH) return ".\\";
  std::string folder(path, n);
  const std::size_t slash = folder.find_last_of("\\/");
  return slash == std::string::npos ? std::string(".\\") : folder.substr(0, slash + 1);
}

}  // namespace

int main(int argc, char** argv) {
  SetConsoleCtrlHandler(OnConsoleControl, TRUE);

  linkscope::Win32Registry registry;
  ProgramFolderProfile profile(ProgramFolder());
  linkscope::Win32System system;
  linkscope::Win32RequestLibrary requests;
  linkscope::Win32PcCardProbe pcCards;
  linkscope::Win32ServiceManager services;
  StreamSink out(stdout);
  StreamSink err(stderr);
  StdioFiles files;
  Win32TrayProgram tray;
  linkscope::CliPlatform platform{registry, profile,  system, requests,
                                  pcCards,  &services, out,   err,
                                  files,    tray,     [] { return g_interrupted.load(); },
                                  [&system] { return system.LocalTime(); }};
  std::vector<std::string> args;
  for (int i = 1; i < argc; ++i) args.emplace_back(argv[i]);
  linkscope::CliProgram program(platform);
  return program.Run(args);
}
