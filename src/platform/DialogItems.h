#pragma once
// The controls of one dialog window, addressed by control id, with the platform's semantics:
// indices count from 0, -1 is "none" or a failure, positions are clamped to their ranges the
// way the real controls clamp them. A page reaches its window only through this.

#include <cstdint>
#include <string>

#include "platform/Canvas.h"
#include "platform/WindowSystem.h"

namespace linkscope {

constexpr int kCheckUnchecked = 0;
constexpr int kCheckChecked = 1;

class IDialogItems {
 public:
  virtual ~IDialogItems() = default;

  // The dialog window itself: its title, and whether it shows (a page hides itself when it
  // cannot read its data).
  virtual bool SetTitle(const std::string& text) = 0;
  virtual std::string Title() const = 0;
  virtual void ShowDialog(bool show) = 0;
  virtual bool DialogVisible() const = 0;
  // A disabled dialog takes no input at all, and the focus leaves it; its controls keep their
  // own states and look.
  virtual void EnableDialog(bool enable) = 0;
  virtual bool DialogEnabled() const = 0;

  // Any control. The window of a control is what a page uses as its parent when it lives
  // inside one (a tab control); 0 when there is no such control.
  virtual WindowHandle Window(int id) const = 0;
  // An edit box reports its new text to the handler (kEnChange), as when the user types; a
  // drop-down list's text is its selection and is not set this way.
  virtual bool SetText(int id, const std::string& text) = 0;
  // For a drop-down list: the text of the selected entry, empty with none.
  virtual std::string Text(int id) const = 0;
  virtual void Enable(int id, bool enable) = 0;
  virtual bool IsEnabled(int id) const = 0;
  // The control's own visibility, whether or not its dialog shows.
  virtual void Show(int id, bool show) = 0;
  virtual bool IsVisible(int id) const = 0;
  virtual void Focus(int id) = 0;
  // The id of the control that has the keyboard focus; 0 when it lies outside this dialog.
  virtual int FocusedControl() const = 0;

  // Drop-down lists. Add appends (the lists are not sorted) and returns the new index.
  virtual void ComboReset(int id) = 0;
  virtual int ComboAdd(int id, const std::string& text) = 0;
  virtual int ComboCount(int id) const = 0;
  virtual std::string ComboItemText(int id, int index) const = 0;
  // Selects `index`; -1 clears the selection. Returns the index, or -1 for -1 and for an
  // index out of range. After an index out of range the selection is not to be relied on:
  // Windows clears it, Wine keeps it.
  virtual int ComboSelect(int id, int index) = 0;
  virtual int ComboSelection(int id) const = 0;
  // Selects the first entry after `startAfter` (-1: from the start, wrapping round) whose text
  // begins with `prefix`, letter case ignored; its index, or -1 with the selection unchanged.
  virtual int ComboSelectPrefix(int id, int startAfter, const std::string& prefix) = 0;

  // List boxes (single selection), with the same rules.
  virtual void ListReset(int id) = 0;
  virtual int ListAdd(int id, const std::string& text) = 0;
  virtual int ListCount(int id) const = 0;
  virtual std::string ListItemText(int id, int index) const = 0;
  virtual int ListSelect(int id, int index) = 0;
  virtual int ListSelection(int id) const = 0;

  // Edit boxes. Positions count characters; end -1 is the end of the text; both are clamped
  // to the text.
  virtual void EditSetSelection(int id, int start, int end) = 0;
  virtual void EditSelection(int id, int* start, int* end) const = 0;
  virtual void EditScrollCaret(int id) = 0;
  // The most characters the user can type; text set by the program is not cut.
  virtual void EditLimitText(int id, int characters) = 0;
  virtual int EditLimit(int id) const = 0;
  // 0 shows the text as it is.
  virtual void EditSetPasswordChar(int id, char c) = 0;
  virtual char EditPasswordChar(int id) const = 0;

  // A tip that shows while the mouse rests on control `id` (after 100 ms, for 8 seconds), also
  // while the dialog is not the active window; setting it again replaces it. Tips go with
  // their dialog.
  virtual void SetToolTip(int id, const std::string& text) = 0;
  // The tip of a control; empty when it has none.
  virtual std::string ToolTip(int id) const = 0;
  // Check boxes and radio buttons.
  virtual void SetCheck(int id, int state) = 0;
  virtual int Check(int id) const = 0;
  // Checks `id` and clears every other button with an id from `first` to `last`.
  virtual void CheckRadio(int first, int last, int id) = 0;

  // Progress bars: the position is clamped to the range.
  virtual void ProgressSetRange(int id, int low, int high) = 0;
  virtual void ProgressSetPos(int id, int pos) = 0;
  virtual int ProgressPos(int id) const = 0;

  // Trackbars: the position is clamped to the range, also when the range changes.
  virtual void TrackSetRange(int id, int low, int high) = 0;
  virtual int TrackMin(int id) const = 0;
  virtual int TrackMax(int id) const = 0;
  virtual void TrackSetPos(int id, int pos) = 0;
  virtual int TrackPos(int id) const = 0;
  virtual void TrackSetTickFrequency(int id, int frequency) = 0;

  // List views in report style, all columns left-aligned. Insert returns the index given
  // (or the row count when it lies beyond the end), -1 on failure.
  virtual int ListViewInsertColumn(int id, int column, const std::string& header, int width) = 0;
  virtual int ListViewColumnCount(int id) const = 0;
  virtual std::string ListViewColumnText(int id, int column) const = 0;
  virtual void ListViewDeleteAllRows(int id) = 0;
  virtual int ListViewInsertRow(int id, int row, const std::string& firstCell) = 0;
  virtual bool ListViewSetCell(int id, int row, int column, const std::string& text) = 0;
  virtual std::string ListViewCell(int id, int row, int column) const = 0;
  virtual int ListViewRowCount(int id) const = 0;
  // The first selected row after `after` (-1: from the start); -1 when there is none.
  virtual int ListViewNextSelected(int id, int after) const = 0;
  virtual void ListViewSelectRow(int id, int row, bool selected) = 0;
  // Column widths in pixels. The width a column needs to show its widest cell whole, and its
  // header too when `withHeader`, with the margins the list view draws around a cell's text.
  virtual int ListViewNeededWidth(int id, int column, bool withHeader) const = 0;
  virtual void ListViewSetColumnWidth(int id, int column, int width) = 0;
  virtual int ListViewColumnWidth(int id, int column) const = 0;
  // The width the columns have inside the list's borders (and beside its vertical scroll bar
  // when the rows need one): columns that add up to more bring a horizontal scroll bar.
  virtual int ListViewClientWidth(int id) const = 0;

  // Tab controls. Selecting a tab from here does not report a selection change.
  virtual void TabDeleteAll(int id) = 0;
  // Space in pixels around each tab's caption, left and right and above and below.
  virtual void TabSetPadding(int id, int horizontal, int vertical) = 0;
  virtual int TabInsert(int id, int index, const std::string& caption) = 0;
  virtual int TabCount(int id) const = 0;
  virtual std::string TabCaption(int id, int index) const = 0;
  virtual int TabSelect(int id, int index) = 0;  // the previous selection
  virtual int TabSelection(int id) const = 0;

  // Static image controls: the bitmap file at `path` (a device-independent bitmap at the
  // file's own size) becomes the control's image; false, and no image, when it cannot be
  // loaded. The dialog frees its images when it goes.
  virtual bool SetImageFile(int id, const std::string& path) = 0;
  virtual bool HasImage(int id) const = 0;

  // Graph controls: the painter draws the whole control at each paint, through a buffer, so
  // nothing flickers; without one the control shows the window colour. The painter must
  // outlive the control or be taken off first. Redraw paints the control at once when it is on
  // screen, with what its painter draws now; one that is not on screen is painted when it
  // shows. Both do nothing on a control of another kind. The control's text (SetText) is not
  // drawn: it names what the picture shows for a screen reader.
  virtual void SetPainter(int id, ICanvasPainter* painter) = 0;
  virtual void Redraw(int id) = 0;
};

}  // namespace linkscope
