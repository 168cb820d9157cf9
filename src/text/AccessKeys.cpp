#include "text/AccessKeys.h"

namespace linkscope {

std::string WithoutAccessKeys(const std::string& text) {
  std::string plain;
  plain.reserve(text.size());
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '&') {
      if (i + 1 >= text.size()) break;
      ++i;  // the marked letter, or the second "&" of "&&"
    }
    plain += text[i];
  }
  return plain;
}

char AccessKeyOf(const std::string& text) {
  for (std::size_t i = 0; i + 1 < text.size(); ++i) {
    if (text[i] != '&') continue;
    const char c = text[i + 1];
    if (c == '&') {
      ++i;
      continue;
    }
    return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c;
  }
  return 0;
}

}  // namespace linkscope
