#pragma once
// The keys the program's code looks up in the language file by name (messages, menus, list
// entries, status texts, customisation values), with the English text shown when the file
// does not give one. The fixed texts of the dialogs' controls are named by their layouts
// instead; a key a layout names with the same text is not repeated here. ui/ProgramTextKeys.h
// joins both into the list of every key.

#include <vector>

namespace linkscope {

struct TextKey {
  // Spelled exactly as looked up, including the few keys that end in a blank or a tab.
  const char* key;
  const char* englishDefault;
  // A second place that shows the same key with another default; null when there is none.
  const char* otherDefault;
};

const std::vector<TextKey>& CodeTextKeys();

// Adds `key` to `keys`; a key listed already is not added again, and when it was listed with
// another text, that text becomes its other default.
void AddTextKey(const TextKey& key, std::vector<TextKey>* keys);

}  // namespace linkscope
