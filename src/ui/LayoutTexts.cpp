#include "ui/LayoutTexts.h"

#include "ui/DialogLayouts.h"

namespace linkscope {

void SetLayoutTexts(const DialogLayout& layout, IDialogItems& items, const ITextSource& texts) {
  if (layout.titleKey != nullptr) items.SetTitle(texts.Lookup(layout.titleKey, layout.title));
  for (const ControlLayout& c : layout.controls) {
    if (c.textKey != nullptr) items.SetText(c.id, texts.Lookup(c.textKey, c.text));
    if (c.toolTipKey != nullptr) items.SetToolTip(c.id, texts.Lookup(c.toolTipKey, c.toolTip));
  }
}

std::string LayoutText(const DialogLayout& layout, int id, const ITextSource& texts) {
  const ControlLayout* c = layout.Find(id);
  if (c == nullptr) return std::string();
  return c->textKey != nullptr ? texts.Lookup(c->textKey, c->text) : std::string(c->text);
}

std::vector<TextKey> LayoutTextKeys() {
  std::vector<TextKey> keys;
  auto add = [&](const DialogLayout& layout) {
    if (layout.titleKey != nullptr) AddTextKey({layout.titleKey, layout.title, nullptr}, &keys);
    for (const ControlLayout& c : layout.controls) {
      if (c.textKey != nullptr) AddTextKey({c.textKey, c.text, nullptr}, &keys);
      if (c.toolTipKey != nullptr) AddTextKey({c.toolTipKey, c.toolTip, nullptr}, &keys);
    }
  };
  add(SettingsDialogLayout());
  for (int id : kPageResourceIds) add(*PageLayout(id));
  return keys;
}

}  // namespace linkscope
