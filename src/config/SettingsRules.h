#pragma once
// The checks a setting passes before it is sent, shared by the pages and linkscope-cli set, so
// that both refuse the same input with the same message.

#include <cstddef>
#include <cstdint>
#include <string>

namespace linkscope {

// A refusal: the language file's key and its built-in English text, and where in the input the
// fault lies (the dialog selects from there: the surplus of a long key, the bad digit).
struct RuleFailure {
  const char* key = nullptr;
  const char* defaultText = nullptr;
  std::size_t position = 0;
  std::size_t length = 0;  // 0: from position to the end
};

// An SSID of at most 32 bytes.
bool CheckSsid(const std::string& ssid, RuleFailure* failure);

// A WEP key typed for encryption level `level` (1: 64 bit, 10 digits; 2: 128 bit, 26 digits;
// any other level takes no key): the length first, then each character a hexadecimal digit.
bool CheckWepKeyText(int level, const std::string& text, RuleFailure* failure);

}  // namespace linkscope
