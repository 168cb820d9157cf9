#include "cli/SetVerb.h"

#include <algorithm>
#include <charconv>

#include "config/ProfileNames.h"
#include "config/SettingsRules.h"
#include "device/DeviceCodes.h"
#include "device/OfferedChannels.h"
#include "device/Oids.h"
#include "device/RecordQuery.h"
#include "device/SurveyRequests.h"
#include "ui/CEncryptionPage.h"

namespace linkscope {

namespace {

// Options that are not numbered settings.
constexpr std::size_t kAdapterOption = 100;
constexpr std::size_t kSsidOption = 101;
constexpr std::size_t kKeyOption = 102;  // + 0 to 3

struct Word {
  const char* text;
  std::uint32_t value;
};

struct SetOption {
  const char* name;
  std::size_t field;
  const char* values;  // as --help shows them; null: covered by the line before
  const char* what;
  std::uint32_t low = 0;  // a number from low to high, when high is not 0
  std::uint32_t high = 0;
  std::vector<Word> words = {};  // values given by name, the pages' English words
};

using F = SetCommand::Field;

const std::vector<SetOption>& Options() {
  static const std::vector<SetOption> kOptions = {
      {"--adapter", kAdapterOption, "N", "the adapter, numbered as 'adapters' lists them (default 1)",
       1, 1000000},
      {"--mode", F::kMode, "infrastructure|ad-hoc", "operating mode", 0, 0,
       {{"infrastructure", 1}, {"ad-hoc", 0}}},
      {"--channel", F::kChannel, "1-14",
       "a channel the Status page offers: the regulatory domain's, or with international\n"
       "      roaming on, those the adapter allows",
       1, 14},
      {"--ssid", kSsidOption, "TEXT", "at most 32 bytes; \"\" for any network"},
      {"--rate", F::kRate, "auto|1|2|5.5|11", "Tx rate in Mbit/s", 0, 0,
       {{"1", 0}, {"2", 1}, {"5.5", 2}, {"11", 3}, {"auto", 4}}},
      {"--radio", F::kRadio, "on|off", "the radio, on an adapter that can switch it", 0, 0,
       {{"off", 0}, {"on", 1}}},
      {"--roaming", F::kRoaming, "on|off",
       "international roaming, in Infrastructure mode, on an adapter that has it", 0, 0,
       {{"off", 0}, {"on", 1}}},
      {"--preamble", F::kPreamble, "long|short|auto", "preamble type", 0, 0,
       {{"long", 0}, {"short", 1}, {"auto", 2}}},
      {"--frag", F::kFrag, "256-2346|off", "fragmentation threshold in bytes (off is 2346)", 256,
       2346, {{"off", 2346}}},
      {"--rts", F::kRts, "1-2347|off", "RTS/CTS threshold in bytes (off is 2347)", 1, 2347,
       {{"off", 2347}}},
      {"--power-save", F::kPowerSave, "on|off", "power saving", 0, 0, {{"off", 0}, {"on", 1}}},
      {"--wep", F::kWep, "off|64|128", "encryption (128 bit on an adapter that offers it)", 0, 0,
       {{"off", 0}, {"64", 1}, {"128", 2}}},
      {"--key1", kKeyOption + 0, "HEX",
       "--key1 to --key4: 10 hexadecimal digits at 64 bit, 26 at 128 bit; a key not named\n"
       "      keeps what the adapter holds"},
      {"--key2", kKeyOption + 1, nullptr, ""},
      {"--key3", kKeyOption + 2, nullptr, ""},
      {"--key4", kKeyOption + 3, nullptr, ""},
      {"--default-key", F::kDefaultKey, "1-4", "the key the adapter sends with", 1, 4},
      {"--auth", F::kAuth, "open|shared|auto", "authentication type", 0, 0,
       {{"open", 0}, {"shared", 1}, {"auto", 2}}},
  };
  return kOptions;
}

std::string Lower(std::string s) {
  for (char& c : s) {
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  }
  return s;
}

std::string Upper(std::string s) {
  for (char& c : s) {
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
  }
  return s;
}

bool ParseNumber(const std::string& text, std::uint32_t low, std::uint32_t high,
                 std::uint32_t* value) {
  // Digits only: from_chars takes neither a sign nor blanks for an unsigned number.
  const char* end = text.data() + text.size();
  std::uint32_t n = 0;
  const auto read = std::from_chars(text.data(), end, n);
  if (text.empty() || read.ec != std::errc() || read.ptr != end || n < low || n > high) {
    return false;
  }
  *value = n;
  return true;
}

// The page's message for a refused input, then which option held it.
int Refuse(const SetCommand::Target& t, const RuleFailure& failure, const std::string& option) {
  t.messages.Show(failure.key, failure.defaultText);
  t.platform.err.Write("linkscope-cli: (in " + option + ")\n");
  return kExitUsage;
}

}  // namespace

std::string SetCommand::Help() {
  std::string text =
      "Usage: linkscope-cli set [--adapter N] OPTION VALUE...\n"
      "  Changes the settings named, and only those, as the Status, Advanced and Encryption\n"
      "  pages would: each is checked as its page checks it, the records that hold them go\n"
      "  to the adapter, and the driver key keeps them for the next start. While Windows\n"
      "  configures the card (XP) nothing is changed (exit code 7). A running Linkscope\n"
      "  follows: its profile in use is marked * when the adapter no longer matches it.\n";
  for (const SetOption& o : Options()) {
    if (o.values == nullptr) continue;
    const std::string head = std::string("  ") + o.name + " " + o.values;
    text += head + std::string(head.size() < 32 ? 32 - head.size() : 1, ' ') + o.what + "\n";
  }
  return text;
}

bool SetCommand::Parse(const std::vector<std::string>& args, CliPlatform& platform, int* exit) {
  auto fail = [&](const std::string& why) {
    platform.err.Write("linkscope-cli: " + why + "\n");
    *exit = kExitUsage;
    return false;
  };
  std::vector<std::size_t> seen;
  for (std::size_t i = 1; i < args.size(); ++i) {
    const std::string& a = args[i];
    if (a == "--help" || a == "-h" || a == "/?") {
      platform.out.Write(Help());
      *exit = kExitOk;
      return false;
    }
    const auto& options = Options();
    const auto option = std::find_if(options.begin(), options.end(),
                                     [&](const SetOption& o) { return a == o.name; });
    if (option == options.end()) {
      return fail("\"set\" takes no " + std::string(a.size() > 1 && a[0] == '-' ? "option" : "word") +
                  " \"" + a + "\"; linkscope-cli set --help lists its options");
    }
    if (i + 1 >= args.size()) return fail("option " + a + " needs a value");
    if (std::find(seen.begin(), seen.end(), option->field) != seen.end()) {
      return fail("option " + a + " is given twice");
    }
    seen.push_back(option->field);
    const std::string& value = args[++i];
    if (option->field == kSsidOption) {
      ssid_ = value;
      continue;
    }
    if (option->field >= kKeyOption && option->field < kKeyOption + 4) {
      keys_[option->field - kKeyOption] = value;
      continue;
    }
    std::uint32_t n = 0;
    bool known = false;
    for (const Word& w : option->words) {
      if (Lower(value) == w.text) {
        n = w.value;
        known = true;
      }
    }
    if (!known && (option->high == 0 || !ParseNumber(value, option->low, option->high, &n))) {
      return fail("option " + a + ": \"" + value + "\" is not one of " + option->values);
    }
    if (option->field == kAdapterOption) {
      adapter_ = static_cast<int>(n);
    } else {
      values_[option->field] = n;
    }
  }
  if (!NamesLink() && !NamesAdvanced() && !NamesWep()) {
    return fail("\"set\" needs a setting to change; linkscope-cli set --help lists them");
  }
  return true;
}

bool SetCommand::NamesLink() const {
  return ssid_.has_value() || values_[kMode] || values_[kChannel] || values_[kRate] ||
         values_[kRadio] || values_[kRoaming];
}

bool SetCommand::NamesAdvanced() const {
  return values_[kPreamble] || values_[kFrag] || values_[kRts] || values_[kPowerSave];
}

bool SetCommand::NamesKey() const {
  return std::any_of(keys_.begin(), keys_.end(), [](const auto& k) { return k.has_value(); });
}

bool SetCommand::NamesWep() const {
  return values_[kWep] || values_[kDefaultKey] || values_[kAuth] || NamesKey();
}

int SetCommand::Run(Target& t) const {
  CAdapterLink& link = t.link;
  const AdapterEntry* adapter = link.CurrentAdapter();
  auto fail = [&](const std::string& why, int code) -> int {
    t.platform.err.Write("linkscope-cli: " + why + "\n");
    return code;
  };
  // The pages lock their settings while Windows configures the card.
  if (t.osKind == OsKind::WinXP && link.configuredByWindows != 0) {
    return fail("Windows configures the card: its settings are left to it", kExitRefused);
  }

  // The records as the adapter holds them now; a setting not named keeps its value.
  DeviceConfig config;
  if (!QueryDeviceConfig(link, adapter, &config)) {
    t.messages.Show("FailedToGetConfigurationErrorMessage ", "Failed to get configuration");
    return kExitAdapter;
  }
  std::uint8_t cardType = 0;
  std::uint32_t written = 0;
  link.Query(adapter, OID_PRIV_CARD_TYPE, &cardType, 1, &written);
  std::uint8_t roaming = 0;
  const bool roamingSupported = QueryByte(link, adapter, OID_PRIV_INTL_ROAMING, &roaming);
  if (!roamingSupported) roaming = 0;

  auto value = [&](Field f, std::uint8_t current) {
    return values_[f] ? static_cast<std::uint8_t>(*values_[f]) : current;
  };
  config.operatingMode = value(kMode, config.operatingMode);
  config.txRate = value(kRate, config.txRate);
  const bool infrastructure = config.operatingMode == 1;
  if (values_[kRoaming]) {
    if (!roamingSupported || !SupportsInternationalRoaming(cardType)) {
      return fail("this adapter has no international roaming", kExitUsage);
    }
    if (!infrastructure && *values_[kRoaming] != 0) {
      return fail("international roaming is for Infrastructure mode only", kExitUsage);
    }
    roaming = value(kRoaming, roaming);
  }
  if (values_[kRadio] && link.radioSupported != 1) {
    return fail("this adapter cannot switch its radio", kExitUsage);
  }
  if (values_[kChannel]) {
    // The Status page's channel list: an ad-hoc cell takes the domain's channels, roaming in
    // Infrastructure mode the ones the adapter's table allows.
    const bool roamingOn = infrastructure && roaming != 0;
    std::array<std::uint8_t, kRoamingChannelsSize> allowed{};
    if (roamingOn &&
        !QueryExact(link, adapter, OID_PRIV_ROAMING_CHANNELS, allowed.data(), kRoamingChannelsSize)) {
      t.messages.Show("FailedToGetConfigurationErrorMessage ", "Failed to get configuration");
      return kExitAdapter;
    }
    const auto offered = OfferedChannels(roamingOn, allowed, link.regulatoryDomain);
    if (std::find(offered.begin(), offered.end(), *values_[kChannel]) == offered.end()) {
      std::string list;
      for (std::uint8_t ch : offered) list += (list.empty() ? "" : " ") + std::to_string(ch);
      return fail("channel " + std::to_string(*values_[kChannel]) +
                      " is not offered here; this adapter offers " + (list.empty() ? "none" : list),
                  kExitUsage);
    }
    config.channel = static_cast<std::uint8_t>(*values_[kChannel]);
  }
  if (ssid_) {
    RuleFailure failure;
    if (!CheckSsid(*ssid_, &failure)) return Refuse(t, failure, "--ssid");
    config.SetSsid(*ssid_);
  }
  config.preamble = value(kPreamble, config.preamble);
  if (values_[kFrag]) config.fragThreshold = static_cast<std::uint16_t>(*values_[kFrag]);
  if (values_[kRts]) config.rtsThreshold = static_cast<std::uint16_t>(*values_[kRts]);
  config.powerSave = value(kPowerSave, config.powerSave);

  WepChange wepChange;
  if (NamesWep()) {
    WepConfig& wep = wepChange.wep;
    if (!QueryWepConfig(link, adapter, &wep) || wep.encryptionLevel > WepCode::kLevel128) {
      t.messages.Show("FailedToGetWepInfoErrorMessage", "Failed to get WEP information");
      return kExitAdapter;
    }
    wep.encryptionLevel = value(kWep, wep.encryptionLevel);
    const std::uint8_t level = wep.encryptionLevel;
    if (level == WepCode::kLevel128 && !CEncryptionPage::Offers128Bit(cardType)) {
      return fail("this adapter offers no 128-bit encryption", kExitUsage);
    }
    if (level == WepCode::kLevelDisabled && (NamesKey() || values_[kDefaultKey] || values_[kAuth])) {
      return fail("keys, the default key and the authentication need encryption on (--wep 64 "
                  "or 128)",
                  kExitUsage);
    }
    if (values_[kDefaultKey]) wep.defaultKeyIndex = static_cast<std::uint8_t>(*values_[kDefaultKey] - 1);
    if (values_[kAuth]) wep.authenticationType = static_cast<std::uint16_t>(*values_[kAuth]);
    const std::size_t length = WepConfig::KeyLengthOfLevel(level);
    if (length > 0) {
      for (std::size_t k = 0; k < WepConfig::kKeyCount; ++k) {
        // As on the page: a key not typed shows what the adapter holds, at the level's length.
        std::string text = keys_[k] ? Upper(*keys_[k]) : EncodeKeyBytes(wep.keys[k].data(), length);
        RuleFailure failure;
        if (!CheckWepKeyText(level, text, &failure)) {
          return Refuse(t, failure, "--key" + std::to_string(k + 1));
        }
        DecodeKeyText(text, wep.keys[k].data());
        wepChange.keyTexts[k] = text;
      }
    }
  }

  // The profile the comparisons are made against, as the tray program holds it.
  t.state.currentName = t.profiles.ReadLastProfile();
  if (t.state.currentName.empty()) t.state.currentName = kDefaultProfileName;
  t.state.inSync = t.application.MatchesAdapter();

  AdapterSettings& settings = t.settings;
  std::vector<std::string> applied;
  auto report = [&](ChangeResult result, const char* what) -> int {
    if (result == ChangeResult::kApplied) {
      applied.push_back(what);
      return kExitOk;
    }
    if (result == ChangeResult::kWepRefused) {
      t.messages.Show("FailedToSetWepInfoErrorMessage", "Failed to set WEP information");
    } else if (std::string(what) == "advanced") {
      t.messages.Show("FailedToSetErrorMessage", "Failed to set parameters");
    } else {
      t.messages.Show("FailedToSetConfigurationErrorMessage", "Failed to set device configuration");
    }
    return static_cast<int>(kExitAdapter);
  };
  int code = kExitOk;
  if (NamesLink()) {
    LinkChange change;
    change.config = config;
    change.sendRoaming = values_[kRoaming].has_value();
    change.roaming = roaming;
    change.sendRadio = values_[kRadio].has_value();
    change.radio = value(kRadio, link.radio);
    code = report(settings.ChangeLink(change), "link");
  }
  // The Advanced page's fields go as that page sends them, so that the driver key gets them.
  if (code == kExitOk && NamesAdvanced()) code = report(settings.ChangeAdvanced(config), "advanced");
  if (code == kExitOk && NamesWep()) code = report(settings.ChangeWep(wepChange), "encryption");

  if (!applied.empty()) {
    std::string list;
    for (const std::string& a : applied) list += (list.empty() ? "" : ", ") + a;
    t.platform.out.Write("Applied the " + list + " settings.");
    t.platform.out.Write(t.state.inSync ? "\n"
                                        : " The adapter no longer matches profile \"" +
                                              t.state.currentName + "\".\n");
    // A running tray program compares the adapter with its profile in use again.
    if (t.platform.tray.Running(t.trayTitle) && !t.platform.tray.TellSettingsChanged(t.trayTitle)) {
      fail("the running Linkscope did not answer; its profile mark may be out of date", 0);
    }
  }
  if (code != kExitOk && !applied.empty()) {
    fail("the settings after those were not sent", 0);
  }
  return code;
}

}  // namespace linkscope
