#include "win32/Win32DialogItems.h"

#include <windows.h>
#include <commctrl.h>

#include <algorithm>
#include <functional>
#include <vector>

#include "win32/Win32GraphControl.h"
#include "win32/Win32ResourceCounts.h"

namespace linkscope {

namespace {

HWND ToHwnd(WindowHandle w) { return reinterpret_cast<HWND>(w); }

// Reads a text whose length the control reports first.
std::string ReadText(int length, const std::function<void(char*, int)>& read) {
  if (length <= 0) return std::string();
  std::vector<char> buffer(static_cast<std::size_t>(length) + 1, '\0');
  read(buffer.data(), length + 1);
  return std::string(buffer.data());
}

// Cells, headers and captions the program shows are short; longer ones are cut here.
constexpr int kItemTextCapacity = 1024;

}  // namespace

// One message to the control with that id.
#define SEND(id, msg, w, l) \
  SendDlgItemMessageA(ToHwnd(dialog_), (id), (msg), (WPARAM)(w), (LPARAM)(l))

bool Win32DialogItems::SetTitle(const std::string& text) {
  return SetWindowTextA(ToHwnd(dialog_), text.c_str()) != FALSE;
}

std::string Win32DialogItems::Title() const {
  HWND h = ToHwnd(dialog_);
  return ReadText(GetWindowTextLengthA(h), [h](char* b, int n) { GetWindowTextA(h, b, n); });
}

void Win32DialogItems::ShowDialog(bool show) {
  ShowWindow(ToHwnd(dialog_), show ? SW_SHOW : SW_HIDE);
}

bool Win32DialogItems::DialogVisible() const {
  return (GetWindowLongPtrA(ToHwnd(dialog_), GWL_STYLE) & WS_VISIBLE) != 0;
}

void Win32DialogItems::EnableDialog(bool enable) {
  HWND dialog = ToHwnd(dialog_);
  EnableWindow(dialog, enable ? TRUE : FALSE);
  // The system takes the focus from a disabled window itself, but not from its controls.
  HWND focus = GetFocus();
  if (!enable && focus != nullptr && (focus == dialog || IsChild(dialog, focus))) SetFocus(nullptr);
}

bool Win32DialogItems::DialogEnabled() const { return IsWindowEnabled(ToHwnd(dialog_)) != FALSE; }

WindowHandle Win32DialogItems::Window(int id) const {
  return reinterpret_cast<WindowHandle>(GetDlgItem(ToHwnd(dialog_), id));
}

bool Win32DialogItems::SetText(int id, const std::string& text) {
  return SetDlgItemTextA(ToHwnd(dialog_), id, text.c_str()) != FALSE;
}

std::string Win32DialogItems::Text(int id) const {
  HWND h = GetDlgItem(ToHwnd(dialog_), id);
  if (h == nullptr) return std::string();
  return ReadText(GetWindowTextLengthA(h), [h](char* b, int n) { GetWindowTextA(h, b, n); });
}

void Win32DialogItems::Enable(int id, bool enable) {
  HWND dialog = ToHwnd(dialog_);
  HWND control = GetDlgItem(dialog, id);
  const bool hadFocus = !enable && control != nullptr && GetFocus() == control;
  // A disabled window loses the focus to nobody, and the keys would then go to the frame
  // rather than to this dialog (Escape closing the frame). The focus moves on to the next
  // tab stop first.
  if (hadFocus) SendMessageA(dialog, WM_NEXTDLGCTL, 0, FALSE);
  EnableWindow(control, enable ? TRUE : FALSE);
  // With no other tab stop, the dialog itself takes it. Only now: the dialog hands its focus
  // to the control it last had, which a disabled control can no longer take.
  if (hadFocus && (GetFocus() == control || GetFocus() == nullptr)) SetFocus(dialog);
}

bool Win32DialogItems::IsEnabled(int id) const {
  HWND h = GetDlgItem(ToHwnd(dialog_), id);
  return h != nullptr && IsWindowEnabled(h) != FALSE;
}

void Win32DialogItems::Show(int id, bool show) {
  ShowWindow(GetDlgItem(ToHwnd(dialog_), id), show ? SW_SHOW : SW_HIDE);
}

bool Win32DialogItems::IsVisible(int id) const {
  // The control's own flag: IsWindowVisible would also ask its dialog.
  HWND h = GetDlgItem(ToHwnd(dialog_), id);
  return h != nullptr && (GetWindowLongPtrA(h, GWL_STYLE) & WS_VISIBLE) != 0;
}

void Win32DialogItems::Focus(int id) {
  // Through the dialog manager, so that the default button follows the focus.
  SendMessageA(ToHwnd(dialog_), WM_NEXTDLGCTL,
               reinterpret_cast<WPARAM>(GetDlgItem(ToHwnd(dialog_), id)), TRUE);
}

int Win32DialogItems::FocusedControl() const {
  HWND focus = GetFocus();
  if (focus == nullptr || !IsChild(ToHwnd(dialog_), focus)) return 0;
  return GetDlgCtrlID(focus);
}

void Win32DialogItems::ComboReset(int id) { SEND(id, CB_RESETCONTENT, 0, 0); }

int Win32DialogItems::ComboAdd(int id, const std::string& text) {
  return static_cast<int>(SEND(id, CB_ADDSTRING, 0, text.c_str()));
}

int Win32DialogItems::ComboCount(int id) const {
  return static_cast<int>(SEND(id, CB_GETCOUNT, 0, 0));
}

std::string Win32DialogItems::ComboItemText(int id, int index) const {
  const int length = static_cast<int>(SEND(id, CB_GETLBTEXTLEN, index, 0));
  return ReadText(length, [&](char* b, int) { SEND(id, CB_GETLBTEXT, index, b); });
}

int Win32DialogItems::ComboSelect(int id, int index) {
  return static_cast<int>(SEND(id, CB_SETCURSEL, index, 0));
}

int Win32DialogItems::ComboSelection(int id) const {
  return static_cast<int>(SEND(id, CB_GETCURSEL, 0, 0));
}

int Win32DialogItems::ComboSelectPrefix(int id, int startAfter, const std::string& prefix) {
  return static_cast<int>(SEND(id, CB_SELECTSTRING, startAfter, prefix.c_str()));
}

void Win32DialogItems::ListReset(int id) { SEND(id, LB_RESETCONTENT, 0, 0); }

int Win32DialogItems::ListAdd(int id, const std::string& text) {
  return static_cast<int>(SEND(id, LB_ADDSTRING, 0, text.c_str()));
}

int Win32DialogItems::ListCount(int id) const {
  return static_cast<int>(SEND(id, LB_GETCOUNT, 0, 0));
}

std::string Win32DialogItems::ListItemText(int id, int index) const {
  const int length = static_cast<int>(SEND(id, LB_GETTEXTLEN, index, 0));
  return ReadText(length, [&](char* b, int) { SEND(id, LB_GETTEXT, index, b); });
}

int Win32DialogItems::ListSelect(int id, int index) {
  return static_cast<int>(SEND(id, LB_SETCURSEL, index, 0));
}

int Win32DialogItems::ListSelection(int id) const {
  return static_cast<int>(SEND(id, LB_GETCURSEL, 0, 0));
}

void Win32DialogItems::EditSetSelection(int id, int start, int end) {
  SEND(id, EM_SETSEL, start, end);
}

void Win32DialogItems::EditSelection(int id, int* start, int* end) const {
  DWORD s = 0;
  DWORD e = 0;
  SEND(id, EM_GETSEL, &s, &e);
  *start = static_cast<int>(s);
  *end = static_cast<int>(e);
}

void Win32DialogItems::EditScrollCaret(int id) { SEND(id, EM_SCROLLCARET, 0, 0); }

void Win32DialogItems::EditLimitText(int id, int characters) {
  SEND(id, EM_SETLIMITTEXT, characters, 0);
}

int Win32DialogItems::EditLimit(int id) const {
  return static_cast<int>(SEND(id, EM_GETLIMITTEXT, 0, 0));
}

void Win32DialogItems::EditSetPasswordChar(int id, char c) {
  SEND(id, EM_SETPASSWORDCHAR, static_cast<unsigned char>(c), 0);
}

char Win32DialogItems::EditPasswordChar(int id) const {
  return static_cast<char>(SEND(id, EM_GETPASSWORDCHAR, 0, 0));
}

void Win32DialogItems::SetToolTip(int id, const std::string& text) {
  HWND dialog = ToHwnd(dialog_);
  HWND control = GetDlgItem(dialog, id);
  if (control == nullptr) return;
  HWND tips = ToHwnd(toolTips_);
  if (tips == nullptr || !IsWindow(tips)) {
    // Always-tip: the tips show also while another window is active.
    tips = CreateWindowExA(WS_EX_TOPMOST, TOOLTIPS_CLASSA, nullptr,
                           WS_POPUP | TTS_ALWAYSTIP | TTS_NOPREFIX, CW_USEDEFAULT, CW_USEDEFAULT,
                           CW_USEDEFAULT, CW_USEDEFAULT, dialog, nullptr,
                           reinterpret_cast<HINSTANCE>(GetWindowLongPtrA(dialog, GWLP_HINSTANCE)),
                           nullptr);
    if (tips == nullptr) return;
    toolTips_ = reinterpret_cast<WindowHandle>(tips);
    SendMessageA(tips, TTM_SETDELAYTIME, TTDT_AUTOMATIC, 100);
    SendMessageA(tips, TTM_SETDELAYTIME, TTDT_AUTOPOP, 8000);
    SendMessageA(tips, TTM_ACTIVATE, TRUE, 0);
  }
  TOOLINFOA info{};
  info.cbSize = sizeof info;
  // The tool is the control's window; subclassing it relays its mouse messages to the tips.
  info.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
  info.hwnd = dialog;
  info.uId = reinterpret_cast<UINT_PTR>(control);
  info.lpszText = const_cast<char*>(text.c_str());
  SendMessageA(tips, TTM_DELTOOLA, 0, reinterpret_cast<LPARAM>(&info));
  SendMessageA(tips, TTM_ADDTOOLA, 0, reinterpret_cast<LPARAM>(&info));
}

std::string Win32DialogItems::ToolTip(int id) const {
  HWND dialog = ToHwnd(dialog_);
  HWND control = GetDlgItem(dialog, id);
  HWND tips = ToHwnd(toolTips_);
  if (control == nullptr || tips == nullptr || !IsWindow(tips)) return std::string();
  std::vector<char> buffer(kItemTextCapacity, '\0');
  TOOLINFOA info{};
  info.cbSize = sizeof info;
  info.hwnd = dialog;
  info.uId = reinterpret_cast<UINT_PTR>(control);
  info.lpszText = buffer.data();
  SendMessageA(tips, TTM_GETTEXTA, buffer.size(), reinterpret_cast<LPARAM>(&info));
  buffer.back() = '\0';
  return std::string(buffer.data());
}

void Win32DialogItems::SetCheck(int id, int state) {
  CheckDlgButton(ToHwnd(dialog_), id, static_cast<UINT>(state));
}

int Win32DialogItems::Check(int id) const {
  return static_cast<int>(IsDlgButtonChecked(ToHwnd(dialog_), id));
}

void Win32DialogItems::CheckRadio(int first, int last, int id) {
  CheckRadioButton(ToHwnd(dialog_), first, last, id);
}

void Win32DialogItems::ProgressSetRange(int id, int low, int high) {
  SEND(id, PBM_SETRANGE32, low, high);
}

void Win32DialogItems::ProgressSetPos(int id, int pos) { SEND(id, PBM_SETPOS, pos, 0); }

int Win32DialogItems::ProgressPos(int id) const {
  return static_cast<int>(SEND(id, PBM_GETPOS, 0, 0));
}

void Win32DialogItems::TrackSetRange(int id, int low, int high) {
  // Both ends as full numbers (TBM_SETRANGE packs them into 16 bits each); the second
  // message redraws.
  SEND(id, TBM_SETRANGEMIN, FALSE, low);
  SEND(id, TBM_SETRANGEMAX, TRUE, high);
}

int Win32DialogItems::TrackMin(int id) const {
  return static_cast<int>(SEND(id, TBM_GETRANGEMIN, 0, 0));
}

int Win32DialogItems::TrackMax(int id) const {
  return static_cast<int>(SEND(id, TBM_GETRANGEMAX, 0, 0));
}

void Win32DialogItems::TrackSetPos(int id, int pos) { SEND(id, TBM_SETPOS, TRUE, pos); }

int Win32DialogItems::TrackPos(int id) const {
  return static_cast<int>(SEND(id, TBM_GETPOS, 0, 0));
}

void Win32DialogItems::TrackSetTickFrequency(int id, int frequency) {
  SEND(id, TBM_SETTICFREQ, frequency, 0);
}

int Win32DialogItems::ListViewInsertColumn(int id, int column, const std::string& header,
                                           int width) {
  LVCOLUMNA c{};
  c.mask = LVCF_FMT | LVCF_TEXT | LVCF_WIDTH | LVCF_SUBITEM;
  c.fmt = LVCFMT_LEFT;
  c.cx = width;
  c.pszText = const_cast<char*>(header.c_str());
  c.iSubItem = column;
  return static_cast<int>(SEND(id, LVM_INSERTCOLUMNA, column, &c));
}

int Win32DialogItems::ListViewColumnCount(int id) const {
  HWND header = reinterpret_cast<HWND>(SEND(id, LVM_GETHEADER, 0, 0));
  return header == nullptr ? 0 : static_cast<int>(SendMessageA(header, HDM_GETITEMCOUNT, 0, 0));
}

std::string Win32DialogItems::ListViewColumnText(int id, int column) const {
  char text[kItemTextCapacity] = "";
  LVCOLUMNA c{};
  c.mask = LVCF_TEXT;
  c.pszText = text;
  c.cchTextMax = kItemTextCapacity;
  if (SEND(id, LVM_GETCOLUMNA, column, &c) == 0) return std::string();
  return std::string(text);
}

void Win32DialogItems::ListViewDeleteAllRows(int id) { SEND(id, LVM_DELETEALLITEMS, 0, 0); }

int Win32DialogItems::ListViewInsertRow(int id, int row, const std::string& firstCell) {
  LVITEMA item{};
  item.mask = LVIF_TEXT;
  item.iItem = row;
  item.pszText = const_cast<char*>(firstCell.c_str());
  return static_cast<int>(SEND(id, LVM_INSERTITEMA, 0, &item));
}

bool Win32DialogItems::ListViewSetCell(int id, int row, int column, const std::string& text) {
  LVITEMA item{};
  item.iSubItem = column;
  item.pszText = const_cast<char*>(text.c_str());
  return SEND(id, LVM_SETITEMTEXTA, row, &item) != 0;
}

std::string Win32DialogItems::ListViewCell(int id, int row, int column) const {
  char text[kItemTextCapacity] = "";
  LVITEMA item{};
  item.iSubItem = column;
  item.pszText = text;
  item.cchTextMax = kItemTextCapacity;
  const auto length = SEND(id, LVM_GETITEMTEXTA, row, &item);
  return std::string(text, static_cast<std::size_t>(length > 0 ? length : 0));
}

int Win32DialogItems::ListViewRowCount(int id) const {
  return static_cast<int>(SEND(id, LVM_GETITEMCOUNT, 0, 0));
}

int Win32DialogItems::ListViewNextSelected(int id, int after) const {
  return static_cast<int>(SEND(id, LVM_GETNEXTITEM, after, LVNI_SELECTED));
}

void Win32DialogItems::ListViewSelectRow(int id, int row, bool selected) {
  LVITEMA item{};
  item.stateMask = LVIS_SELECTED;
  item.state = selected ? LVIS_SELECTED : 0;
  SEND(id, LVM_SETITEMSTATE, row, &item);
}

int Win32DialogItems::ListViewNeededWidth(int id, int column, bool withHeader) const {
  // Measured here rather than by LVSCW_AUTOSIZE_USEHEADER, which Wine's list view sizes too
  // narrow for the header: the widest of the texts in the list's font, with the margins the
  // list view draws around a cell's text.
  auto textWidth = [&](const std::string& text) {
    return static_cast<int>(SEND(id, LVM_GETSTRINGWIDTHA, 0, text.c_str()));
  };
  int widest = withHeader ? textWidth(ListViewColumnText(id, column)) : 0;
  const int rows = ListViewRowCount(id);
  for (int row = 0; row < rows; ++row) {
    widest = std::max(widest, textWidth(ListViewCell(id, row, column)));
  }
  const int margins = column == 0 ? 20 : 14;
  return widest + margins;
}

void Win32DialogItems::ListViewSetColumnWidth(int id, int column, int width) {
  SEND(id, LVM_SETCOLUMNWIDTH, column, MAKELPARAM(std::max(width, 0), 0));
}

int Win32DialogItems::ListViewClientWidth(int id) const {
  RECT client{};
  if (!GetClientRect(GetDlgItem(ToHwnd(dialog_), id), &client)) return 0;
  return static_cast<int>(client.right - client.left);
}

int Win32DialogItems::ListViewColumnWidth(int id, int column) const {
  return static_cast<int>(SEND(id, LVM_GETCOLUMNWIDTH, column, 0));
}

void Win32DialogItems::TabDeleteAll(int id) { SEND(id, TCM_DELETEALLITEMS, 0, 0); }

void Win32DialogItems::TabSetPadding(int id, int horizontal, int vertical) {
  SEND(id, TCM_SETPADDING, 0, MAKELPARAM(horizontal, vertical));
}

int Win32DialogItems::TabInsert(int id, int index, const std::string& caption) {
  TCITEMA item{};
  item.mask = TCIF_TEXT;
  item.pszText = const_cast<char*>(caption.c_str());
  return static_cast<int>(SEND(id, TCM_INSERTITEMA, index, &item));
}

int Win32DialogItems::TabCount(int id) const {
  return static_cast<int>(SEND(id, TCM_GETITEMCOUNT, 0, 0));
}

std::string Win32DialogItems::TabCaption(int id, int index) const {
  char text[kItemTextCapacity] = "";
  TCITEMA item{};
  item.mask = TCIF_TEXT;
  item.pszText = text;
  item.cchTextMax = kItemTextCapacity;
  if (SEND(id, TCM_GETITEMA, index, &item) == 0) return std::string();
  return std::string(text);
}

int Win32DialogItems::TabSelect(int id, int index) {
  return static_cast<int>(SEND(id, TCM_SETCURSEL, index, 0));
}

int Win32DialogItems::TabSelection(int id) const {
  return static_cast<int>(SEND(id, TCM_GETCURSEL, 0, 0));
}

#undef SEND

Win32DialogItems::~Win32DialogItems() {
  for (std::uintptr_t image : images_) {
    if (DeleteObject(reinterpret_cast<HBITMAP>(image))) resource_counts::BitmapFreed();
  }
}

bool Win32DialogItems::SetImageFile(int id, const std::string& path) {
  HWND control = GetDlgItem(ToHwnd(dialog_), id);
  if (control == nullptr) return false;
  auto* bitmap = static_cast<HBITMAP>(LoadImageA(nullptr, path.c_str(), IMAGE_BITMAP, 0, 0,
                                                 LR_LOADFROMFILE | LR_CREATEDIBSECTION));
  const LPARAM image = reinterpret_cast<LPARAM>(bitmap);
  auto* old = reinterpret_cast<HBITMAP>(SendMessageA(control, STM_SETIMAGE, IMAGE_BITMAP, image));
  // The control may keep a copy of its own and hand it back later: one that is not ours is
  // freed here.
  bool ours = false;
  for (std::uintptr_t loaded : images_) ours = ours || loaded == reinterpret_cast<std::uintptr_t>(old);
  if (old != nullptr && !ours && old != bitmap) DeleteObject(old);
  if (bitmap == nullptr) return false;
  resource_counts::BitmapLoaded();
  images_.push_back(reinterpret_cast<std::uintptr_t>(bitmap));
  return true;
}

bool Win32DialogItems::HasImage(int id) const {
  return SendDlgItemMessageA(ToHwnd(dialog_), id, STM_GETIMAGE, IMAGE_BITMAP, 0) != 0;
}

void Win32DialogItems::SetPainter(int id, ICanvasPainter* painter) {
  HWND control = GetDlgItem(ToHwnd(dialog_), id);
  if (control == nullptr || !IsGraphWindow(control)) return;
  SetGraphPainter(control, painter);
  InvalidateRect(control, nullptr, FALSE);
}

void Win32DialogItems::Redraw(int id) {
  HWND control = GetDlgItem(ToHwnd(dialog_), id);
  if (control == nullptr || !IsGraphWindow(control)) return;
  InvalidateRect(control, nullptr, FALSE);
  UpdateWindow(control);
}

}  // namespace linkscope
