#include "sim/DriverParameters.h"

#include <cctype>

namespace linkscope::sim {

namespace {

using driverkey::Id;

// What the driver accepts in each value and what it starts with when the value is missing.
struct Limits {
  Id id;
  std::uint32_t minimum;  // numbers only
  std::uint32_t maximum;
  const char* defaultText;
};

constexpr Limits kLimits[] = {
    {Id::OperatingMode, 0, 1, "1"},
    {Id::Channel, 1, 14, "6"},
    {Id::Essid, 0, 0, ""},
    {Id::Rate, 0, 4, "4"},
    {Id::InternationalRoaming, 0, 1, "0"},
    {Id::RadioOnOff, 0, 1, "1"},
    {Id::PreambleType, 0, 2, "2"},
    {Id::FragThreshold, 256, 2346, "2346"},
    {Id::RtsThreshold, 0, 2347, "2347"},
    {Id::PowerMgmtMode, 0, 1, "0"},
    {Id::WepKey1, 0, 0, ""},
    {Id::WepKey2, 0, 0, ""},
    {Id::WepKey3, 0, 0, ""},
    {Id::WepKey4, 0, 0, ""},
    {Id::WepKeyIndex, 0, 3, "0"},
    {Id::WepMode, 0, 1, "0"},
    {Id::AuthenticationType, 0, 2, "0"},
    {Id::EncryptionLevel, 0, 2, "0"},
};

constexpr bool EveryValueLimited() {
  if (sizeof kLimits / sizeof kLimits[0] != driverkey::kValueCount) return false;
  for (std::size_t i = 0; i < driverkey::kValueCount; ++i) {
    if (kLimits[i].id != driverkey::kValues[i].id) return false;
  }
  return true;
}
static_assert(EveryValueLimited(), "the driver reads every value of the driver key, in order");

}  // namespace

const std::vector<DriverParameterInfo>& DriverParameterTable() {
  static const std::vector<DriverParameterInfo> table = [] {
    std::vector<DriverParameterInfo> rows;
    for (const Limits& limits : kLimits) {
      const driverkey::Value& value = driverkey::Of(limits.id);
      rows.push_back({value.id, value.name, value.kind == driverkey::Kind::Number,
                      limits.minimum, limits.maximum, limits.defaultText});
    }
    return rows;
  }();
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
  if (info.numeric) {
    std::uint32_t v = 0;
    if (!ParseDecimal(text, &v) || v < info.minimum || v > info.maximum) {
      *reason = "must be a number from " + std::to_string(info.minimum) + " to " +
                std::to_string(info.maximum);
      return false;
    }
    return true;
  }
  if (info.id == Id::Essid) {
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
