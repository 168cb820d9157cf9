#include "fakes/FakeDialogItems.h"

#include "platform/DialogSystem.h"

#include <algorithm>
#include <cctype>

namespace linkscope {

namespace {

bool IsButtonWithCheck(ControlKind kind) {
  return kind == ControlKind::CheckBox || kind == ControlKind::RadioButton;
}

bool StartsWithIgnoringCase(const std::string& text, const std::string& prefix) {
  if (prefix.size() > text.size()) return false;
  for (std::size_t i = 0; i < prefix.size(); ++i) {
    if (std::tolower(static_cast<unsigned char>(text[i])) !=
        std::tolower(static_cast<unsigned char>(prefix[i]))) {
      return false;
    }
  }
  return true;
}

int Count(const std::vector<std::string>& v) { return static_cast<int>(v.size()); }

}  // namespace

FakeDialogItems::FakeDialogItems(const DialogLayout& layout, WindowHandle firstControl)
    : title_(layout.title), dialogVisible_((layout.style & kWsVisible) != 0) {
  WindowHandle next = firstControl;
  for (const ControlLayout& c : layout.controls) {
    Control control;
    control.layout = c;
    control.window = next++;
    control.text = c.kind == ControlKind::DropDownList ? std::string() : std::string(c.text);
    control.visible = !c.hidden;
    control.enabled = (c.style & kWsDisabled) == 0;
    controls_.push_back(control);
  }
}

FakeDialogItems::Control* FakeDialogItems::Find(int id) {
  if (id == kNoControlId) return nullptr;
  for (Control& c : controls_) {
    if (c.layout.id == id) return &c;
  }
  return nullptr;
}

const FakeDialogItems::Control* FakeDialogItems::Find(int id) const {
  return const_cast<FakeDialogItems*>(this)->Find(id);
}

FakeDialogItems::Control* FakeDialogItems::FindKind(int id, ControlKind kind) {
  Control* c = Find(id);
  return c != nullptr && c->layout.kind == kind ? c : nullptr;
}

const FakeDialogItems::Control* FakeDialogItems::FindKind(int id, ControlKind kind) const {
  return const_cast<FakeDialogItems*>(this)->FindKind(id, kind);
}

bool FakeDialogItems::OwnsWindow(WindowHandle window) const {
  for (const Control& c : controls_) {
    if (c.window == window) return true;
  }
  return false;
}

void FakeDialogItems::Report(int id, int code) {
  if (commandSink) commandSink(id, code);
}

void FakeDialogItems::Type(int id, const std::string& text) {
  // Key by key: each character replaces the selection, or is refused at the limit.
  for (char ch : text) {
    Control* c = FindKind(id, ControlKind::Edit);
    if (c == nullptr || !c->enabled) return;
    const int kept = static_cast<int>(c->text.size()) - (c->selEnd - c->selStart);
    if (kept >= c->limit) {
      // Refused; Wine's edit box then reports a change all the same.
      Report(id, kEnMaxText);
    } else {
      c->text.replace(static_cast<std::size_t>(c->selStart),
                      static_cast<std::size_t>(c->selEnd - c->selStart), 1, ch);
      c->selStart = c->selEnd = c->selStart + 1;
    }
    Report(id, kEnUpdate);
    Report(id, kEnChange);
  }
}

bool FakeDialogItems::SetTitle(const std::string& text) {
  title_ = text;
  return true;
}

WindowHandle FakeDialogItems::Window(int id) const {
  const Control* c = Find(id);
  return c == nullptr ? 0 : c->window;
}

bool FakeDialogItems::SetText(int id, const std::string& text) {
  ++writes;
  written.push_back(id);
  Control* c = Find(id);
  // A drop-down list's text is its selected entry; the program never sets it as text.
  if (c == nullptr || c->layout.kind == ControlKind::DropDownList) return false;
  c->text = text;
  if (c->layout.kind == ControlKind::Edit) {
    // The caret goes to the start, and the box reports its new contents.
    c->selStart = c->selEnd = 0;
    Report(id, kEnUpdate);
    Report(id, kEnChange);
  }
  return true;
}

std::string FakeDialogItems::Text(int id) const {
  const Control* c = Find(id);
  if (c == nullptr) return std::string();
  if (c->layout.kind == ControlKind::DropDownList) {
    return c->selection < 0 ? std::string() : c->items[static_cast<std::size_t>(c->selection)];
  }
  return c->text;
}

void FakeDialogItems::EnableDialog(bool enable) {
  ++writes;
  dialogEnabled_ = enable;
  // As a window does: the focus inside a disabled dialog goes, to nobody.
  if (!enable) focus_ = 0;
}

void FakeDialogItems::Enable(int id, bool enable) {
  ++writes;
  written.push_back(id);
  if (Control* c = Find(id)) c->enabled = enable;
  // As a window does: a disabled control gives up the focus, to nobody.
  if (!enable && focus_ == id) focus_ = 0;
}

bool FakeDialogItems::IsEnabled(int id) const {
  const Control* c = Find(id);
  return c != nullptr && c->enabled;
}

void FakeDialogItems::Show(int id, bool show) {
  ++writes;
  written.push_back(id);
  if (Control* c = Find(id)) {
    c->visible = show;
    if (show && dialogVisible_ && c->painter != nullptr) Paint(*c);
  }
}

bool FakeDialogItems::IsVisible(int id) const {
  const Control* c = Find(id);
  return c != nullptr && c->visible;
}

void FakeDialogItems::Focus(int id) {
  if (Find(id) != nullptr) focus_ = id;
}

// Combo boxes and list boxes keep their items alike; only the kind of control differs.
void FakeDialogItems::ResetItems(int id, ControlKind kind) {
  if (Control* c = FindKind(id, kind)) {
    c->items.clear();
    c->selection = -1;
  }
}

int FakeDialogItems::AddItem(int id, ControlKind kind, const std::string& text) {
  Control* c = FindKind(id, kind);
  if (c == nullptr) return -1;
  c->items.push_back(text);
  return Count(c->items) - 1;
}

int FakeDialogItems::ItemCount(int id, ControlKind kind) const {
  const Control* c = FindKind(id, kind);
  return c == nullptr ? -1 : Count(c->items);
}

std::string FakeDialogItems::ItemText(int id, ControlKind kind, int index) const {
  const Control* c = FindKind(id, kind);
  if (c == nullptr || index < 0 || index >= Count(c->items)) return std::string();
  return c->items[static_cast<std::size_t>(index)];
}

int FakeDialogItems::SelectItem(int id, ControlKind kind, int index) {
  Control* c = FindKind(id, kind);
  if (c == nullptr) return -1;
  if (index == -1) {
    c->selection = -1;
    return -1;
  }
  // Out of range: refused, the selection stays (as under Wine).
  if (index < 0 || index >= Count(c->items)) return -1;
  c->selection = index;
  return index;
}

int FakeDialogItems::Selection(int id, ControlKind kind) const {
  const Control* c = FindKind(id, kind);
  return c == nullptr ? -1 : c->selection;
}

void FakeDialogItems::ComboReset(int id) {
  ++writes;
  written.push_back(id);
  ResetItems(id, ControlKind::DropDownList);
}
int FakeDialogItems::ComboAdd(int id, const std::string& text) {
  ++writes;
  written.push_back(id);
  return AddItem(id, ControlKind::DropDownList, text);
}
int FakeDialogItems::ComboCount(int id) const { return ItemCount(id, ControlKind::DropDownList); }
std::string FakeDialogItems::ComboItemText(int id, int index) const {
  return ItemText(id, ControlKind::DropDownList, index);
}
int FakeDialogItems::ComboSelect(int id, int index) {
  ++writes;
  written.push_back(id);
  return SelectItem(id, ControlKind::DropDownList, index);
}
int FakeDialogItems::ComboSelection(int id) const {
  return Selection(id, ControlKind::DropDownList);
}

int FakeDialogItems::ComboSelectPrefix(int id, int startAfter, const std::string& prefix) {
  ++writes;
  written.push_back(id);
  Control* c = FindKind(id, ControlKind::DropDownList);
  if (c == nullptr) return -1;
  const int n = Count(c->items);
  if (startAfter < -1 || startAfter >= n) startAfter = -1;
  // From the entry after `startAfter` to the end, then from the top round to `startAfter`.
  for (int k = 1; k <= n; ++k) {
    const int i = (startAfter + k) % n;
    if (StartsWithIgnoringCase(c->items[static_cast<std::size_t>(i)], prefix)) {
      c->selection = i;
      return i;
    }
  }
  return -1;
}

void FakeDialogItems::ListReset(int id) {
  ++writes;
  written.push_back(id);
  ResetItems(id, ControlKind::ListBox);
}
int FakeDialogItems::ListAdd(int id, const std::string& text) {
  ++writes;
  written.push_back(id);
  return AddItem(id, ControlKind::ListBox, text);
}
int FakeDialogItems::ListCount(int id) const { return ItemCount(id, ControlKind::ListBox); }
std::string FakeDialogItems::ListItemText(int id, int index) const {
  return ItemText(id, ControlKind::ListBox, index);
}
int FakeDialogItems::ListSelect(int id, int index) {
  ++writes;
  written.push_back(id);
  return SelectItem(id, ControlKind::ListBox, index);
}
int FakeDialogItems::ListSelection(int id) const { return Selection(id, ControlKind::ListBox); }

void FakeDialogItems::EditSetSelection(int id, int start, int end) {
  Control* c = FindKind(id, ControlKind::Edit);
  if (c == nullptr) return;
  const int length = static_cast<int>(c->text.size());
  if (start == -1) {  // removes the selection, the caret stays
    c->selStart = c->selEnd;
    return;
  }
  if (end < 0 || end > length) end = length;
  if (start < 0 || start > length) start = length;
  c->selStart = std::min(start, end);
  c->selEnd = std::max(start, end);
}

void FakeDialogItems::EditSelection(int id, int* start, int* end) const {
  const Control* c = FindKind(id, ControlKind::Edit);
  *start = c == nullptr ? 0 : c->selStart;
  *end = c == nullptr ? 0 : c->selEnd;
}

void FakeDialogItems::EditLimitText(int id, int characters) {
  // 0 lifts the limit to the largest the system allows.
  if (Control* c = FindKind(id, ControlKind::Edit)) {
    c->limit = characters <= 0 ? 0x7FFFFFFE : characters;
  }
}

int FakeDialogItems::EditLimit(int id) const {
  const Control* c = FindKind(id, ControlKind::Edit);
  return c == nullptr ? 0 : c->limit;
}

void FakeDialogItems::EditSetPasswordChar(int id, char ch) {
  if (Control* c = FindKind(id, ControlKind::Edit)) c->passwordChar = ch;
}

void FakeDialogItems::SetToolTip(int id, const std::string& text) {
  if (Control* c = Find(id)) c->toolTip = text;
}

std::string FakeDialogItems::ToolTip(int id) const {
  const Control* c = Find(id);
  return c == nullptr ? std::string() : c->toolTip;
}

char FakeDialogItems::EditPasswordChar(int id) const {
  const Control* c = FindKind(id, ControlKind::Edit);
  return c == nullptr ? 0 : c->passwordChar;
}

void FakeDialogItems::SetCheck(int id, int state) {
  ++writes;
  written.push_back(id);
  Control* c = Find(id);
  if (c != nullptr && IsButtonWithCheck(c->layout.kind)) c->check = state;
}

int FakeDialogItems::Check(int id) const {
  const Control* c = Find(id);
  return c != nullptr && IsButtonWithCheck(c->layout.kind) ? c->check : kCheckUnchecked;
}

void FakeDialogItems::CheckRadio(int first, int last, int id) {
  ++writes;
  written.push_back(id);
  for (Control& c : controls_) {
    const int cid = c.layout.id;
    if (cid >= first && cid <= last && IsButtonWithCheck(c.layout.kind)) {
      c.check = cid == id ? kCheckChecked : kCheckUnchecked;
    }
  }
}

void FakeDialogItems::ProgressSetRange(int id, int low, int high) {
  ++writes;
  written.push_back(id);
  if (Control* c = FindKind(id, ControlKind::Progress)) {
    c->low = low;
    c->high = high;
  }
}

void FakeDialogItems::ProgressSetPos(int id, int pos) {
  ++writes;
  written.push_back(id);
  if (Control* c = FindKind(id, ControlKind::Progress)) {
    c->pos = std::max(c->low, std::min(pos, c->high));
  }
}

int FakeDialogItems::ProgressPos(int id) const {
  const Control* c = FindKind(id, ControlKind::Progress);
  return c == nullptr ? 0 : c->pos;
}

void FakeDialogItems::TrackSetRange(int id, int low, int high) {
  ++writes;
  written.push_back(id);
  if (Control* c = FindKind(id, ControlKind::Trackbar)) {
    c->low = low;
    c->high = high;
    if (c->pos < low) c->pos = low;
    if (c->pos > high) c->pos = high;
  }
}

int FakeDialogItems::TrackMin(int id) const {
  const Control* c = FindKind(id, ControlKind::Trackbar);
  return c == nullptr ? 0 : c->low;
}

int FakeDialogItems::TrackMax(int id) const {
  const Control* c = FindKind(id, ControlKind::Trackbar);
  return c == nullptr ? 0 : c->high;
}

void FakeDialogItems::TrackSetPos(int id, int pos) {
  ++writes;
  written.push_back(id);
  if (Control* c = FindKind(id, ControlKind::Trackbar)) {
    c->pos = std::max(c->low, std::min(pos, c->high));
  }
}

int FakeDialogItems::TrackPos(int id) const {
  const Control* c = FindKind(id, ControlKind::Trackbar);
  return c == nullptr ? 0 : c->pos;
}

void FakeDialogItems::TrackSetTickFrequency(int id, int frequency) {
  ++writes;
  written.push_back(id);
  if (Control* c = FindKind(id, ControlKind::Trackbar)) c->tickFrequency = frequency;
}

int FakeDialogItems::ListViewInsertColumn(int id, int column, const std::string& header,
                                          int width) {
  Control* c = FindKind(id, ControlKind::ListView);
  if (c == nullptr || column < 0) return -1;
  column = std::min(column, Count(c->columns));
  c->columns.insert(c->columns.begin() + column, header);
  c->columnWidths.insert(c->columnWidths.begin() + column, std::max(width, 0));
  for (auto& row : c->rows) {
    if (static_cast<int>(row.size()) > column) row.insert(row.begin() + column, std::string());
  }
  return column;
}

int FakeDialogItems::ListViewColumnCount(int id) const {
  const Control* c = FindKind(id, ControlKind::ListView);
  return c == nullptr ? 0 : Count(c->columns);
}

std::string FakeDialogItems::ListViewColumnText(int id, int column) const {
  const Control* c = FindKind(id, ControlKind::ListView);
  if (c == nullptr || column < 0 || column >= Count(c->columns)) return std::string();
  return c->columns[static_cast<std::size_t>(column)];
}

void FakeDialogItems::ListViewDeleteAllRows(int id) {
  if (Control* c = FindKind(id, ControlKind::ListView)) {
    c->rows.clear();
    c->rowSelected.clear();
  }
}

int FakeDialogItems::ListViewInsertRow(int id, int row, const std::string& firstCell) {
  Control* c = FindKind(id, ControlKind::ListView);
  if (c == nullptr || row < 0) return -1;
  row = std::min(row, static_cast<int>(c->rows.size()));
  c->rows.insert(c->rows.begin() + row, std::vector<std::string>{firstCell});
  c->rowSelected.insert(c->rowSelected.begin() + row, false);
  return row;
}

bool FakeDialogItems::ListViewSetCell(int id, int row, int column, const std::string& text) {
  Control* c = FindKind(id, ControlKind::ListView);
  if (c == nullptr || row < 0 || row >= static_cast<int>(c->rows.size()) || column < 0 ||
      (column > 0 && column >= Count(c->columns))) {
    return false;
  }
  auto& cells = c->rows[static_cast<std::size_t>(row)];
  if (static_cast<int>(cells.size()) <= column) cells.resize(static_cast<std::size_t>(column) + 1);
  cells[static_cast<std::size_t>(column)] = text;
  return true;
}

std::string FakeDialogItems::ListViewCell(int id, int row, int column) const {
  const Control* c = FindKind(id, ControlKind::ListView);
  if (c == nullptr || row < 0 || row >= static_cast<int>(c->rows.size()) || column < 0) {
    return std::string();
  }
  const auto& cells = c->rows[static_cast<std::size_t>(row)];
  return column < static_cast<int>(cells.size()) ? cells[static_cast<std::size_t>(column)]
                                                 : std::string();
}

int FakeDialogItems::ListViewRowCount(int id) const {
  const Control* c = FindKind(id, ControlKind::ListView);
  return c == nullptr ? 0 : static_cast<int>(c->rows.size());
}

int FakeDialogItems::ListViewNextSelected(int id, int after) const {
  const Control* c = FindKind(id, ControlKind::ListView);
  if (c == nullptr) return -1;
  for (int i = std::max(after + 1, 0); i < static_cast<int>(c->rowSelected.size()); ++i) {
    if (c->rowSelected[static_cast<std::size_t>(i)]) return i;
  }
  return -1;
}

void FakeDialogItems::ListViewSelectRow(int id, int row, bool selected) {
  Control* c = FindKind(id, ControlKind::ListView);
  if (c == nullptr || row < 0 || row >= static_cast<int>(c->rowSelected.size())) return;
  // Several rows may be selected unless the list allows one only.
  if (selected && (c->layout.style & kLvsSingleSel) != 0) {
    std::fill(c->rowSelected.begin(), c->rowSelected.end(), false);
  }
  c->rowSelected[static_cast<std::size_t>(row)] = selected;
}

int FakeDialogItems::ListViewNeededWidth(int id, int column, bool withHeader) const {
  const Control* c = FindKind(id, ControlKind::ListView);
  if (c == nullptr || column < 0 || column >= Count(c->columns)) return 0;
  // Six pixels a character and some padding: wide enough to tell a long text from a short one.
  std::size_t longest = withHeader ? c->columns[static_cast<std::size_t>(column)].size() : 0;
  for (const auto& cells : c->rows) {
    if (static_cast<int>(cells.size()) > column) {
      longest = std::max(longest, cells[static_cast<std::size_t>(column)].size());
    }
  }
  return static_cast<int>(longest) * 6 + 12;
}

void FakeDialogItems::ListViewSetColumnWidth(int id, int column, int width) {
  Control* c = FindKind(id, ControlKind::ListView);
  if (c == nullptr || column < 0 || column >= Count(c->columns)) return;
  c->columnWidths[static_cast<std::size_t>(column)] = std::max(width, 0);
}

int FakeDialogItems::ListViewClientWidth(int id) const {
  const Control* c = FindKind(id, ControlKind::ListView);
  if (c == nullptr) return 0;
  // A dialog unit across is a pixel and a half with the dialog font, less a border each side.
  const int border = (c->layout.style & kWsBorder) != 0 ? 2 : 0;
  return c->layout.width * 3 / 2 - 2 * border;
}

int FakeDialogItems::ListViewColumnWidth(int id, int column) const {
  const Control* c = FindKind(id, ControlKind::ListView);
  if (c == nullptr || column < 0 || column >= Count(c->columns)) return 0;
  return c->columnWidths[static_cast<std::size_t>(column)];
}

void FakeDialogItems::TabDeleteAll(int id) {
  if (Control* c = FindKind(id, ControlKind::Tab)) {
    c->items.clear();
    c->selection = -1;
  }
}

int FakeDialogItems::TabInsert(int id, int index, const std::string& caption) {
  Control* c = FindKind(id, ControlKind::Tab);
  if (c == nullptr || index < 0) return -1;
  index = std::min(index, Count(c->items));
  c->items.insert(c->items.begin() + index, caption);
  // The first tab becomes the selected one; a tab inserted before the selection moves it on.
  if (c->items.size() == 1) {
    c->selection = 0;
  } else if (index <= c->selection) {
    ++c->selection;
  }
  return index;
}

int FakeDialogItems::TabCount(int id) const {
  const Control* c = FindKind(id, ControlKind::Tab);
  return c == nullptr ? 0 : Count(c->items);
}

std::string FakeDialogItems::TabCaption(int id, int index) const {
  const Control* c = FindKind(id, ControlKind::Tab);
  if (c == nullptr || index < 0 || index >= Count(c->items)) return std::string();
  return c->items[static_cast<std::size_t>(index)];
}

int FakeDialogItems::TabSelect(int id, int index) {
  Control* c = FindKind(id, ControlKind::Tab);
  if (c == nullptr || index < 0 || index >= Count(c->items)) return -1;
  const int previous = c->selection;
  c->selection = index;
  return previous;
}

int FakeDialogItems::TabSelection(int id) const {
  const Control* c = FindKind(id, ControlKind::Tab);
  return c == nullptr ? -1 : c->selection;
}

bool FakeDialogItems::SetImageFile(int id, const std::string& path) {
  Control* c = Find(id);
  if (c == nullptr) return false;
  const bool loads = imageFiles != nullptr && imageFiles->count(path) != 0;
  c->image = loads ? path : std::string();
  return loads;
}

bool FakeDialogItems::HasImage(int id) const {
  const Control* c = Find(id);
  return c != nullptr && !c->image.empty();
}

void FakeDialogItems::Paint(Control& c) {
  c.picture = std::make_shared<FakeCanvas>(ScaleForDpi(c.layout.width * 3 / 2, dpi),
                                           ScaleForDpi(c.layout.height * 13 / 8, dpi), dpi);
  ++c.paints;
  c.painter->Paint(*c.picture);
}

void FakeDialogItems::PaintGraphs() {
  for (Control& c : controls_) {
    if (c.layout.kind == ControlKind::Graph && c.visible && dialogVisible_ && c.painter != nullptr) {
      Paint(c);
    }
  }
}

void FakeDialogItems::SetPainter(int id, ICanvasPainter* painter) {
  if (Control* c = FindKind(id, ControlKind::Graph)) c->painter = painter;
}

void FakeDialogItems::Redraw(int id) {
  Control* c = FindKind(id, ControlKind::Graph);
  if (c != nullptr && c->painter != nullptr && c->visible && dialogVisible_) Paint(*c);
}

}  // namespace linkscope
