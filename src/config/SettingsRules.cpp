#include "config/SettingsRules.h"

#include "device/CoreRecords.h"
#include "device/WepConfig.h"

namespace linkscope {

namespace {

bool IsHexDigit(char c) {
  return (c >= '0' && c <= '9') || (c >= 'A' && c <= 'F') || (c >= 'a' && c <= 'f');
}

bool Refuse(RuleFailure* failure, const char* key, const char* defaultText, std::size_t position,
            std::size_t length) {
  if (failure != nullptr) *failure = RuleFailure{key, defaultText, position, length};
  return false;
}

}  // namespace

bool CheckSsid(const std::string& ssid, RuleFailure* failure) {
  if (ssid.size() <= kSsidMaxLength) return true;
  return Refuse(failure, "InvalidSSIDErrorMessage", "Invalid SSID (maximum 32 characters)", 0, 0);
}

bool CheckWepKeyText(int level, const std::string& text, RuleFailure* failure) {
  std::size_t required = 0;
  if (level == WepCode::kLevel64) required = 2 * WepConfig::kKeyLength64;
  if (level == WepCode::kLevel128) required = 2 * WepConfig::kKeyLength128;
  if (required == 0) return true;
  // From the first character past the required length to the end: the caret at the end of a
  // short key, the surplus of a long one.
  if (text.size() != required) {
    return Refuse(failure, "InvalidWEPkeyLengthMessage", "Invalid WEP Key length", required, 0);
  }
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (!IsHexDigit(text[i])) {
      return Refuse(failure, "InvalidWEPkeyMessage", "Invalid WEP Key", i, 1);
    }
  }
  return true;
}

}  // namespace linkscope
