#pragma once
// The fixed texts a dialog layout names by key: a dialog sets them from the language file
// once its window is built, and the list of every key the program looks up takes them from
// the layouts, so that each is written once, beside its control.

#include <string>
#include <vector>

#include "platform/DialogItems.h"
#include "platform/DialogLayout.h"
#include "text/TextKeys.h"
#include "text/TextSource.h"

namespace linkscope {

// Sets the title, and every control text and tool tip, that `layout` names a key for.
void SetLayoutTexts(const DialogLayout& layout, IDialogItems& items, const ITextSource& texts);

// What control `id` of `layout` shows as its fixed text: its key looked up with the English
// text as the default; the English text itself when the control has no key.
std::string LayoutText(const DialogLayout& layout, int id, const ITextSource& texts);

// Every key the settings dialog and its pages name, with its English text. A key named twice
// is listed once; named with another text the second time, it carries that as its other
// default.
std::vector<TextKey> LayoutTextKeys();

}  // namespace linkscope
