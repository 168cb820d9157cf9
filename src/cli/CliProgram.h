#pragma once
// linkscope-cli: the settings dialog's readings and the profile store for scripts and site
// walks. Short verbs, plain text by default, JSON or CSV on request, and an exit code that
// says what failed. It runs on the same objects as the tray program (request channel,
// discovery, records, profile store and application, language table); where the tray program
// shows a message box, it writes the text to standard error.

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "cli/CliOutput.h"
#include "device/SurveyRecords.h"
#include "platform/PcCardProbe.h"
#include "platform/PrivateProfile.h"
#include "platform/Registry.h"
#include "platform/RequestLibrary.h"
#include "platform/ServiceManager.h"
#include "platform/System.h"

namespace linkscope {

class ProgramCore;

// The tray program, when it runs: found by the title of its hidden window.
class ITrayProgram {
 public:
  virtual ~ITrayProgram() = default;
  virtual bool Running(const std::string& title) = 0;
  // Asks it to switch to the profile at `index` of the store's list, as its profile menu does,
  // and waits for it to have done so; false when it cannot be asked or does not answer.
  virtual bool AskSwitch(const std::string& title, int index) = 0;
  // Tells it that the adapter's settings were changed from here, and waits until it has
  // compared them with its profile in use; false when it cannot be told or does not answer.
  virtual bool TellSettingsChanged(const std::string& title) = 0;
};

struct CliPlatform {
  IRegistry& registry;
  IPrivateProfile& profile;
  ISystem& system;
  IRequestLibrary& requests;
  IPcCardProbe& pcCards;
  IServiceManager* services;  // none: a machine without the Windows configuration service
  ITextSink& out;
  ITextSink& err;
  ICliFiles& files;
  ITrayProgram& tray;
  // True once the user pressed Ctrl+C (or closed the console).
  std::function<bool()> interrupted;
  // The local time as "2026-12-08 15:43:36".
  std::function<std::string()> localTime;
};

// Exit codes, as --help lists them.
enum CliExit : int {
  kExitOk = 0,
  kExitUsage = 1,        // unknown verb or option, missing or bad argument
  kExitNoAdapter = 2,    // no supported adapter found, or no adapter with that number
  kExitAdapter = 3,      // the adapter refused or failed a request
  kExitProfile = 4,      // no such profile, a name the store refuses, or a store failure
  kExitFile = 5,         // a file cannot be read or written, or an import file is refused
  kExitInterrupted = 6,  // Ctrl+C stopped a survey (it was cancelled on the adapter)
  kExitRefused = 7,      // the switch was refused (a scan runs, Windows configures the card)
  kExitTimeout = 8,      // a survey did not complete in time (it was cancelled)
  kExitSystem = 9,       // the operating system is not supported
};

class CliProgram {
 public:
  explicit CliProgram(CliPlatform& platform);
  ~CliProgram();
  CliProgram(const CliProgram&) = delete;
  CliProgram& operator=(const CliProgram&) = delete;

  // Runs one command line (without the program name); returns the exit code.
  int Run(const std::vector<std::string>& args);

  static std::string Usage();

 private:
  using Core = ProgramCore;
  struct Options;

  int Adapters(const Options& o);
  int Status(const Options& o);
  int Survey(const Options& o);
  // One survey run to its end into `list`; an exit code.
  int RunSurvey(const Options& o, BssList* list, std::uint8_t* cardType);
  int WatchSurveys(const Options& o);
  int Stats(const Options& o);
  int Profiles(const Options& o);
  int Apply(const Options& o);
  int Export(const Options& o);
  int Import(const Options& o);
  int Watch(const Options& o);
  int Set(const std::vector<std::string>& args);

  // Brings the core up: language, operating system, and (with `adapter`) discovery and the
  // adapter chosen by --adapter. Returns kExitOk or the code to end with.
  int Start(bool adapter, int adapterNumber);
  // Sleeps up to `ms` in short slices; false when Ctrl+C came meanwhile.
  bool Pause(std::uint32_t ms);
  void Fail(const std::string& text);

  CliPlatform& platform_;
  // The core's message boxes, as lines on standard error.
  ConsoleWindows console_;
  std::unique_ptr<Core> core_;
};

}  // namespace linkscope
