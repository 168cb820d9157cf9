#include "text/Messages.h"

namespace linkscope {

void Messages::Show(const std::string& key, const std::string& defaultText) const {
  windows_.ShowMessage(Owner(), texts_.Lookup(key, defaultText), kCaption, kMbOk);
}

void Messages::ShowFixed(const std::string& text) const {
  windows_.ShowMessage(Owner(), text, kCaption, kMbOk);
}

bool Messages::Ask(const std::string& key, const std::string& defaultText,
                   bool noIsDefault) const {
  const std::uint32_t style = kMbYesNo | (noIsDefault ? kMbDefButton2 : 0);
  return windows_.ShowMessage(Owner(), texts_.Lookup(key, defaultText), kCaption, style) == kIdYes;
}

}  // namespace linkscope
