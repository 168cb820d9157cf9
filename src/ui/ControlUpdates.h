#pragma once
// Writes that touch a control only when its value differs. A page refreshed on every polling
// tick uses them so that a steady link repaints nothing: no flicker, and no list refilled
// under the user's mouse.

#include <string>
#include <vector>

#include "platform/DialogItems.h"

namespace linkscope {

inline void UpdateText(IDialogItems& items, int id, const std::string& text) {
  if (items.Text(id) != text) items.SetText(id, text);
}

inline void UpdateEnabled(IDialogItems& items, int id, bool enable) {
  if (items.IsEnabled(id) != enable) items.Enable(id, enable);
}

inline void UpdateSelection(IDialogItems& items, int id, int index) {
  if (items.ComboSelection(id) != index) items.ComboSelect(id, index);
}

inline void UpdateProgress(IDialogItems& items, int id, int position) {
  if (items.ProgressPos(id) != position) items.ProgressSetPos(id, position);
}

// Empties and refills a drop-down list unless it holds exactly these entries already; true
// when it was refilled (its selection is then gone).
inline bool UpdateComboItems(IDialogItems& items, int id, const std::vector<std::string>& texts) {
  bool same = items.ComboCount(id) == static_cast<int>(texts.size());
  for (std::size_t i = 0; same && i < texts.size(); ++i) {
    same = items.ComboItemText(id, static_cast<int>(i)) == texts[i];
  }
  if (same) return false;
  items.ComboReset(id);
  for (const std::string& t : texts) items.ComboAdd(id, t);
  return true;
}

}  // namespace linkscope
