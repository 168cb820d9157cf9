#pragma once
// What the verbs of linkscope-cli share: the parsed command line, and the core they run on, the
// tray program's own (config/ProgramCore.h). Each group of verbs has a source file of its own;
// CliProgram.cpp parses the command line and dispatches.

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "cli/CliOutput.h"
#include "cli/CliProgram.h"
#include "config/ProgramCore.h"

namespace linkscope {

struct CliProgram::Options {
  std::string verb;
  std::vector<std::string> positional;
  bool json = false;
  bool reset = false;
  bool replace = false;
  bool help = false;
  int adapter = 1;
  std::optional<std::string> as;
  std::optional<std::uint32_t> interval;
  std::uint32_t count = 0;
  std::optional<std::string> csv;
  std::uint32_t waitSeconds = 0;
  std::uint32_t timeoutSeconds = 60;
  // survey: the channel score table; a survey every so many seconds.
  bool channels = false;
  std::optional<std::uint32_t> watchSeconds;
};

}  // namespace linkscope
