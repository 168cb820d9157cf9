#include "ui/LayoutTexts.h"

#include "text/AccessKeys.h"
#include "ui/DialogLayouts.h"

namespace linkscope {

void SetLayoutTexts(const DialogLayout& layout, IDialogItems& items, const ITextSource& texts) {
  if (layout.titleKey != nullptr) items.SetTitle(texts.Lookup(layout.titleKey, layout.title));
  std::string previousLabel;
  for (const ControlLayout& c : layout.controls) {
    std::string text;
    if (c.textKey != nullptr) {
      text = texts.Lookup(c.textKey, c.text);
      items.SetText(c.id, text);
    }
    if (c.toolTipKey != nullptr) items.SetToolTip(c.id, texts.Lookup(c.toolTipKey, c.toolTip));
    // A bar or a slider shows no text of its own. Windows' screen readers name it by the label
    // before it; Wine's by its window text, so it carries its label's words there as well.
    if ((c.kind == ControlKind::Progress || c.kind == ControlKind::Trackbar) &&
        !previousLabel.empty()) {
      items.SetText(c.id, WithoutAccessKeys(previousLabel));
    }
    previousLabel = c.kind == ControlKind::Label ? text : std::string();
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
