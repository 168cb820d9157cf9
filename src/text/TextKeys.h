#pragma once
// Every key the program looks up in the language file, with the English text shown when the
// file does not give one. The shipped file is checked against this list, so a key that is
// added to the program without a text in every language is noticed.

#include <vector>

namespace linkscope {

struct TextKey {
  // Spelled exactly as looked up, including the few keys that end in a blank or a tab.
  const char* key;
  const char* englishDefault;
  // A second place that shows the same key with another default; null when there is none.
  const char* otherDefault;
};

const std::vector<TextKey>& TextKeys();

}  // namespace linkscope
