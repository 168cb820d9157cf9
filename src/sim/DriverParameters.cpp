#include "sim/DriverParameters.h"

#include <cctype>

namespace linkscope::sim {

const std::vector<DriverParameterInfo>& DriverParameterTable() {
  static const std::vector<DriverParameterInfo> table = {
      {"Operating_Mode", true, 0, 1, "1"},
      {"Channel", true, 1, 14, "6"},
      {"ESSID", false, 0, 0, ""},
      {"Rate", true, 0, 4, "4"},
      {"InternationalRoaming", true, 0, 1, "0"},
      {"RadioOnOff", true, 0, 1, "1"},
      {"PreambleType", true, 0, 2, "2"},
      {"Frag_Threshold", true, 256, 2346, "2346"},
      {"RTS_Threshold", true, 0, 2347, "2347"},
      {"PowerMgmtMode", true, 0, 1, "0"},
      {"WEP_KEY_1", false, 0, 0, ""},
      {"WEP_KEY_2", false, 0, 0, ""},
      {"WEP_KEY_3", false, 0, 0, ""},
      {"WEP_KEY_4", false, 0, 0, ""},
      {"WEP_KEY_INDEX", true, 0, 3, "0"},
      {"WEP_Mode", true, 0, 1, "0"},
      {"AuthenticationType", true, 0, 2, "0"},
      {"EncryptionLevel", true, 0, 2, "0"},
  };
  return table;
}

const DriverParameterInfo* FindDriverParameter(const std::string& name) {
  for (const DriverParameterInfo& info : DriverParameterTable()) {
    if (name == info.name) return &info;
  }
  return nullptr;
}

bool ParseHex(const std::string& text, std::vector<std::uint8_t>* bytes) {
  if (text.size() % 2 != 0) return false;
  std::vector<std::uint8_t> out;
  for (std::size_t i = 0; i < text.size(); i += 2) {
    int v = 0;
    for (std::size_t j = i; j < i + 2; ++j) {
      const char c = text[j];
      int d;
      if (c >= '0' && c <= '9') d = c - '0';
      else if (c >= 'a' && c <= 'f') d = c - 'a' + 10;
      else if (c >= 'A' && c <= 'F') d = c - 'A' + 10;
      else return false;
      v = v * 16 + d;
    }
    out.push_back(static_cast<std::uint8_t>(v));
  }
  *bytes = std::move(out);
  return true;
}

bool ParseDecimal(const std::string& text, std::uint32_t* value) {
  if (text.empty() || text.size() > 10) return false;
  std::uint64_t v = 0;
  for (char c : text) {
    if (c < '0' || c > '9') return false;
    v = v * 10 + static_cast<std::uint64_t>(c - '0');
  }
  if (v > 0xFFFFFFFFull) return false;
  *value = static_cast<std::uint32_t>(v);
  return true;
}

bool ValidateDriverParameter(const DriverParameterInfo& info, const std::string& text,
                             std::string* reason) {
  const std::string name = info.name;
  if (info.numeric) {
    std::uint32_t v = 0;
    if (!ParseDecimal(text, &v) || v < info.minimum || v > info.maximum) {
      *reason = "must be a number from " + std::to_string(info.minimum) + " to " +
                std::to_string(info.maximum);
      return false;
    }
    return true;
  }
  if (name == "ESSID") {
    if (text.size() > 32) {
      *reason = "must be at most 32 bytes";
      return false;
    }
    return true;
  }
  std::vector<std::uint8_t> bytes;
  if (!ParseHex(text, &bytes) || !(bytes.empty() || bytes.size() == 5 || bytes.size() == 13)) {
    *reason = "must be empty or 10 or 26 hexadecimal digits";
    return false;
  }
  return true;
}

}  // namespace linkscope::sim
