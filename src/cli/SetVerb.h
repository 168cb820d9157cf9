#pragma once
// linkscope-cli set: the settings of the Status, Advanced and Encryption pages from the command
// line. Only the settings named change; each is checked as its page checks it, and the records
// that hold them go to the adapter through the settings service, which also writes the driver
// key. A running tray program is told afterwards, so that its profile mark follows.

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "cli/CliProgram.h"
#include "config/AdapterSettings.h"
#include "device/OsKind.h"
#include "text/LanguageTable.h"

namespace linkscope {

class SetCommand {
 public:
  // The numbered settings; the SSID and the keys are texts.
  enum Field : std::size_t {
    kMode,
    kChannel,
    kRate,
    kRadio,
    kRoaming,
    kPreamble,
    kFrag,
    kRts,
    kPowerSave,
    kWep,
    kDefaultKey,
    kAuth,
    kFieldCount
  };

  // What the command works on: the core's objects with the adapter chosen, and the tray
  // program's window title in the current language.
  struct Target {
    CAdapterLink& link;
    ProfileStore& profiles;
    ProfileState& state;
    ProfileApplication& application;
    AdapterSettings& settings;
    const Messages& messages;
    const LanguageTable& language;
    OsKind osKind;
    CliPlatform& platform;
    std::string trayTitle;
  };

  // Reads the words after "set". False when the command ends here: after --help (the option
  // list went to standard output, *exit is kExitOk) or at a word it refuses (said on standard
  // error, *exit is kExitUsage).
  bool Parse(const std::vector<std::string>& args, CliPlatform& platform, int* exit);
  int AdapterNumber() const { return adapter_; }
  // Checks the settings against the adapter's records and sends them; the exit code.
  int Run(Target& target) const;

  // set --help: every option with its values and range.
  static std::string Help();

 private:
  bool NamesLink() const;
  bool NamesAdvanced() const;
  bool NamesWep() const;
  bool NamesKey() const;

  int adapter_ = 1;
  std::array<std::optional<std::uint32_t>, kFieldCount> values_;
  std::optional<std::string> ssid_;
  std::array<std::optional<std::string>, 4> keys_;
};

}  // namespace linkscope
