#include "ui/ProgramTextKeys.h"

#include "ui/LayoutTexts.h"

namespace linkscope {

const std::vector<TextKey>& TextKeys() {
  static const std::vector<TextKey> kKeys = [] {
    std::vector<TextKey> keys = LayoutTextKeys();
    for (const TextKey& k : CodeTextKeys()) AddTextKey(k, &keys);
    return keys;
  }();
  return kKeys;
}

}  // namespace linkscope
