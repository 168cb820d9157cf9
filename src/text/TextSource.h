#pragma once
// Where the program's visible texts come from: a lookup by key with the caller's English
// default. The language table is the program's source; tests use their own.

#include <string>

namespace linkscope {

class ITextSource {
 public:
  virtual ~ITextSource() = default;
  virtual std::string Lookup(const std::string& key, const std::string& defaultText) const = 0;
};

// A source with no file behind it: every lookup gives its default.
class DefaultTexts : public ITextSource {
 public:
  std::string Lookup(const std::string&, const std::string& defaultText) const override {
    return defaultText;
  }
};

}  // namespace linkscope
