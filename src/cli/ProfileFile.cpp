#include "cli/ProfileFile.h"

#include <array>
#include <cstdint>
#include <vector>

#include "config/ProfileNames.h"

namespace linkscope {

namespace {

// One numeric field: its name in the file (the profile's registry value name), where it lives
// in the profile and the values the adapter's records give it.
struct NumberField {
  const char* name;
  std::int32_t Profile::*member;
  std::int32_t low;
  std::int32_t high;
  const char* meaning;
};

// The thresholds follow the Advanced page: fragmentation 256 to 2346 (2346 turns it off),
// RTS/CTS 1 to 2347 (2347 turns it off).
const std::array<NumberField, 13>& NumberFields() {
  static const std::array<NumberField, 13> fields = {{
      {"mode", &Profile::mode, 0, 1, "0 Ad-Hoc, 1 Infrastructure"},
      {"channel", &Profile::channel, 1, 14, "1 to 14"},
      {"rate", &Profile::rate, 0, 4, "0 = 1 Mbps, 1 = 2 Mbps, 2 = 5.5 Mbps, 3 = 11 Mbps, 4 Auto"},
      {"power", &Profile::power, 0, 1, "power save: 0 off, 1 on"},
      {"preamble", &Profile::preamble, 0, 2, "0 Long, 1 Short, 2 Auto"},
      {"frag", &Profile::frag, 256, 2346, "fragmentation threshold, 256 to 2346 (2346 off)"},
      {"rts", &Profile::rts, 1, 2347, "RTS/CTS threshold, 1 to 2347 (2347 off)"},
      {"enc", &Profile::enc, 0, 2, "0 disabled, 1 64-bit WEP, 2 128-bit WEP"},
      {"wepmode", &Profile::wepmode, 0, 1, "0 Mandatory, 1 Optional"},
      {"auth", &Profile::auth, 0, 2, "0 Open System, 1 Shared Key, 2 Auto"},
      {"key", &Profile::key, 0, 3, "transmit key: 0 is key1 ... 3 is key4"},
      {"roaming", &Profile::roaming, 0, 1, "international roaming: 0 off, 1 on"},
      {"radio", &Profile::radio, 0, 1, "0 off, 1 on"},
  }};
  return fields;
}

constexpr const char* kKeyNames[4] = {"key1", "key2", "key3", "key4"};
constexpr std::size_t kMaxLineLength = 1024;

const char* const kHeader[] = {
    "# WARNING: this file holds the profile's WEP keys in clear text. Keep it private.",
    "# A Linkscope profile, written by linkscope-cli export; read by linkscope-cli import.",
    "# One field per line, \"field = value\"; lines beginning with # are ignored. Every field",
    "# must be present once. name and ssid are quoted: \\\" is a quote, \\\\ a backslash and",
    "# \\xHH any other byte. WEP keys are hexadecimal: 10 digits for 64-bit and 26 for 128-bit",
    "# encryption (either letter case).",
};

bool IsHexDigit(char c) {
  return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F');
}

int HexValue(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  return c - 'A' + 10;
}

std::string Quote(const std::string& text) {
  static const char kDigits[] = "0123456789ABCDEF";
  std::string out = "\"";
  for (char ch : text) {
    const auto c = static_cast<unsigned char>(ch);
    if (c == '"' || c == '\\') {
      out += '\\';
      out += ch;
    } else if (c < 0x20 || c >= 0x7F) {
      out += "\\x";
      out += kDigits[c >> 4];
      out += kDigits[c & 0xF];
    } else {
      out += ch;
    }
  }
  return out + "\"";
}

// A quoted value: false with a reason when it is not one.
bool Unquote(const std::string& value, std::string* text, std::string* why) {
  if (value.size() < 2 || value.front() != '"' || value.back() != '"') {
    *why = "the value must be in double quotes";
    return false;
  }
  text->clear();
  const std::size_t end = value.size() - 1;
  for (std::size_t i = 1; i < end; ++i) {
    const char c = value[i];
    if (c == '"') {
      *why = "a quote inside the value must be written \\\"";
      return false;
    }
    if (c != '\\') {
      *text += c;
      continue;
    }
    if (i + 1 >= end) {
      *why = "the value ends with a lone backslash";
      return false;
    }
    const char next = value[++i];
    if (next == '"' || next == '\\') {
      *text += next;
    } else if (next == 'x' && i + 2 < end && IsHexDigit(value[i + 1]) && IsHexDigit(value[i + 2])) {
      *text += static_cast<char>(HexValue(value[i + 1]) * 16 + HexValue(value[i + 2]));
      i += 2;
    } else {
      *why = "unknown escape after a backslash (use \\\", \\\\ or \\xHH)";
      return false;
    }
  }
  return true;
}

// A decimal number without sign or with a minus, at most nine digits so it cannot overflow.
bool ParseNumber(const std::string& value, std::int32_t* number) {
  std::size_t i = 0;
  bool negative = false;
  if (i < value.size() && value[i] == '-') {
    negative = true;
    ++i;
  }
  if (i == value.size() || value.size() - i > 9) return false;
  std::int32_t n = 0;
  for (; i < value.size(); ++i) {
    if (value[i] < '0' || value[i] > '9') return false;
    n = n * 10 + (value[i] - '0');
  }
  *number = negative ? -n : n;
  return true;
}

std::string Trim(const std::string& s) {
  std::size_t b = 0;
  std::size_t e = s.size();
  while (b < e && (s[b] == ' ' || s[b] == '\t')) ++b;
  while (e > b && (s[e - 1] == ' ' || s[e - 1] == '\t')) --e;
  return s.substr(b, e - b);
}

ProfileFileResult Fail(std::size_t line, std::string message) {
  ProfileFileResult r;
  r.line = line;
  r.message = std::move(message);
  return r;
}

}  // namespace

std::string WriteProfileFile(const Profile& profile) {
  std::string out;
  for (const char* line : kHeader) out += std::string(line) + "\r\n";
  out += "format = " + std::to_string(kProfileFileFormat) + "\r\n";
  out += "name = " + Quote(profile.name) + "\r\n";
  out += "ssid = " + Quote(profile.ssid) + "\r\n";
  for (const NumberField& f : NumberFields()) {
    out += std::string(f.name) + " = " + std::to_string(profile.*(f.member)) + "    # " +
           f.meaning + "\r\n";
  }
  for (std::size_t i = 0; i < 4; ++i) {
    out += std::string(kKeyNames[i]) + " = " + profile.keys[i] + "\r\n";
  }
  return out;
}

ProfileFileResult ParseProfileFile(const std::string& bytes) {
  if (bytes.size() > kMaxProfileFileSize) {
    return Fail(1, "the file is larger than " + std::to_string(kMaxProfileFileSize) +
                       " bytes: it is not a profile file");
  }
  Profile profile;
  // Fields seen so far, with their lines: format, name, ssid, the numbers, the four keys.
  constexpr std::size_t kFieldCount = 3 + 13 + 4;
  std::array<std::size_t, kFieldCount> seenAt{};

  std::size_t pos = 0;
  std::size_t lineNumber = 0;
  // A byte-order mark that editors put in front of UTF-8 text.
  if (bytes.compare(0, 3, "\xEF\xBB\xBF") == 0) pos = 3;
  while (pos < bytes.size()) {
    ++lineNumber;
    std::size_t end = bytes.find('\n', pos);
    if (end == std::string::npos) end = bytes.size();
    std::string line = bytes.substr(pos, end - pos);
    pos = end + 1;
    if (!line.empty() && line.back() == '\r') line.pop_back();
    if (line.size() > kMaxLineLength) return Fail(lineNumber, "the line is too long");
    if (line.find('\0') != std::string::npos) return Fail(lineNumber, "the line holds a zero byte");

    const std::string trimmed = Trim(line);
    if (trimmed.empty() || trimmed[0] == '#') continue;
    const std::size_t eq = trimmed.find('=');
    if (eq == std::string::npos) return Fail(lineNumber, "expected \"field = value\"");
    const std::string field = Trim(trimmed.substr(0, eq));
    std::string value = Trim(trimmed.substr(eq + 1));

    // The index of the field in seenAt.
    std::size_t index = kFieldCount;
    if (field == "format") index = 0;
    if (field == "name") index = 1;
    if (field == "ssid") index = 2;
    for (std::size_t i = 0; i < NumberFields().size(); ++i) {
      if (field == NumberFields()[i].name) index = 3 + i;
    }
    for (std::size_t i = 0; i < 4; ++i) {
      if (field == kKeyNames[i]) index = 3 + NumberFields().size() + i;
    }
    if (index == kFieldCount) return Fail(lineNumber, "unknown field \"" + field + "\"");
    if (seenAt[index] != 0) {
      return Fail(lineNumber, "the field \"" + field + "\" appears a second time (first on line " +
                                  std::to_string(seenAt[index]) + ")");
    }
    seenAt[index] = lineNumber;

    // Only numbers carry a trailing comment: a quoted text may hold a '#'.
    if (index >= 3 && index < 3 + NumberFields().size()) {
      const std::size_t hash = value.find('#');
      if (hash != std::string::npos) value = Trim(value.substr(0, hash));
    }

    std::string why;
    if (index == 0) {
      std::int32_t format = 0;
      if (!ParseNumber(value, &format) || format != kProfileFileFormat) {
        return Fail(lineNumber, "unknown format \"" + value + "\" (this program reads format " +
                                    std::to_string(kProfileFileFormat) + ")");
      }
    } else if (index == 1) {
      if (!Unquote(value, &profile.name, &why)) return Fail(lineNumber, "name: " + why);
      switch (CheckProfileName(profile.name)) {
        case ProfileNameProblem::Empty:
          return Fail(lineNumber, "name: a profile name cannot be empty");
        case ProfileNameProblem::TooLong:
          return Fail(lineNumber, "name: a profile name has at most " +
                                      std::to_string(kProfileNameLimit) + " characters");
        case ProfileNameProblem::IllegalCharacter:
          return Fail(lineNumber, "name: a profile name cannot hold a backslash or a zero byte");
        case ProfileNameProblem::None:
          break;
      }
    } else if (index == 2) {
      if (!Unquote(value, &profile.ssid, &why)) return Fail(lineNumber, "ssid: " + why);
      if (profile.ssid.size() > 32) return Fail(lineNumber, "ssid: at most 32 characters");
      // The store keeps the SSID as a registry text, which ends at its first zero byte: the
      // profile would join another network than the file names.
      if (profile.ssid.find('\0') != std::string::npos) {
        return Fail(lineNumber, "ssid: an SSID holding a zero byte (\\x00) cannot be stored");
      }
    } else if (index < 3 + NumberFields().size()) {
      const NumberField& f = NumberFields()[index - 3];
      std::int32_t n = 0;
      if (!ParseNumber(value, &n)) {
        return Fail(lineNumber, std::string(f.name) + ": \"" + value + "\" is not a number");
      }
      if (n < f.low || n > f.high) {
        return Fail(lineNumber, std::string(f.name) + ": " + std::to_string(n) +
                                    " is out of range (" + std::to_string(f.low) + " to " +
                                    std::to_string(f.high) + ")");
      }
      profile.*(f.member) = n;
    } else {
      const std::size_t k = index - 3 - NumberFields().size();
      bool hex = !value.empty();
      for (char c : value) hex = hex && IsHexDigit(c);
      if (!hex || (value.size() != 10 && value.size() != 26)) {
        return Fail(lineNumber, std::string(kKeyNames[k]) +
                                    ": a key is 10 or 26 hexadecimal digits, not \"" + value +
                                    "\"");
      }
      for (char& c : value) {
        if (c >= 'a' && c <= 'f') c = static_cast<char>(c - 'a' + 'A');
      }
      profile.keys[k] = value;
    }
  }

  for (std::size_t i = 0; i < kFieldCount; ++i) {
    if (seenAt[i] != 0) continue;
    std::string name;
    if (i == 0) name = "format";
    if (i == 1) name = "name";
    if (i == 2) name = "ssid";
    if (i >= 3 && i < 3 + NumberFields().size()) name = NumberFields()[i - 3].name;
    if (i >= 3 + NumberFields().size()) name = kKeyNames[i - 3 - NumberFields().size()];
    return Fail(lineNumber + 1, "the field \"" + name + "\" is missing");
  }

  // The keys must fit the encryption level the profile sets.
  const std::size_t digits = profile.enc == 2 ? 26 : 10;
  if (profile.enc != 0) {
    for (std::size_t k = 0; k < 4; ++k) {
      if (profile.keys[k].size() != digits) {
        return Fail(seenAt[3 + NumberFields().size() + k],
                    std::string(kKeyNames[k]) + ": encryption level " +
                        std::to_string(profile.enc) + " takes keys of " + std::to_string(digits) +
                        " digits");
      }
    }
  }

  ProfileFileResult result;
  result.ok = true;
  result.profile = std::move(profile);
  return result;
}

}  // namespace linkscope
