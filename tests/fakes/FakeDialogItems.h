#pragma once
// The controls of one dialog in memory, built from its layout. They behave like the real
// controls where page logic depends on it (prefix search, selection rules, clamping, the edit
// limit applying to typing only); the contract suite holds both to the same rules.

#include <functional>
#include <memory>
#include <set>
#include <string>
#include <vector>

#include "fakes/FakeCanvas.h"
#include "platform/DialogItems.h"
#include "platform/DialogLayout.h"

namespace linkscope {

class FakeDialogItems : public IDialogItems {
 public:
  // Control i of the layout gets the window handle firstControl + i.
  FakeDialogItems(const DialogLayout& layout, WindowHandle firstControl);

  struct Control {
    ControlLayout layout;
    WindowHandle window = 0;
    std::string text;
    bool enabled = true;
    bool visible = true;
    std::vector<std::string> items;  // drop-down list, list box, tab captions
    int selection = -1;
    int limit = 30000;  // the edit control's initial limit
    char passwordChar = 0;
    std::string toolTip;
    int selStart = 0;
    int selEnd = 0;
    int check = kCheckUnchecked;
    int low = 0;
    int high = 100;
    int pos = 0;
    int tickFrequency = 1;
    std::vector<std::string> columns;
    std::vector<int> columnWidths;
    std::vector<std::vector<std::string>> rows;
    std::vector<bool> rowSelected;
    std::string image;  // the file the image came from; empty for none
    // Graph controls: the painter, and what it drew at the last paint (null before any).
    ICanvasPainter* painter = nullptr;
    std::shared_ptr<FakeCanvas> picture;
    int paints = 0;
  };
  // The DPI graph controls are painted at. A graph is as many pixels as its dialog units make
  // with the dialog font at that DPI: 1.5 across and 1.625 down at 96.
  int dpi = 96;
  // Paints the graph controls on screen, as the window's next paint would.
  void PaintGraphs();
  // The control with that id, or null.
  Control* Find(int id);
  const Control* Find(int id) const;
  const std::vector<Control>& Controls() const { return controls_; }
  // The user types `text` into an edit box at its selection, as far as its limit allows.
  void Type(int id, const std::string& text);
  bool OwnsWindow(WindowHandle window) const;
  // Calls that change a control (texts, states, entries, selections, positions), counted
  // whether or not the value differs: what a window would repaint.
  int writes = 0;
  // How often the dialog was told to show: a page that must stay hidden never is, not even
  // for a moment.
  int timesShown = 0;
  std::vector<int> written;  // the ids of those calls, in turn
  // Where the controls' own commands go (an edit box reporting a new text).
  std::function<void(int id, int code)> commandSink;

  bool SetTitle(const std::string& text) override;
  std::string Title() const override { return title_; }
  void ShowDialog(bool show) override {
    timesShown += show ? 1 : 0;
    dialogVisible_ = show;
    if (show) PaintGraphs();
  }
  bool DialogVisible() const override { return dialogVisible_; }
  void EnableDialog(bool enable) override;
  bool DialogEnabled() const override { return dialogEnabled_; }

  WindowHandle Window(int id) const override;
  bool SetText(int id, const std::string& text) override;
  std::string Text(int id) const override;
  void Enable(int id, bool enable) override;
  bool IsEnabled(int id) const override;
  void Show(int id, bool show) override;
  bool IsVisible(int id) const override;
  void Focus(int id) override;
  int FocusedControl() const override { return focus_; }

  void ComboReset(int id) override;
  int ComboAdd(int id, const std::string& text) override;
  int ComboCount(int id) const override;
  std::string ComboItemText(int id, int index) const override;
  int ComboSelect(int id, int index) override;
  int ComboSelection(int id) const override;
  int ComboSelectPrefix(int id, int startAfter, const std::string& prefix) override;

  void ListReset(int id) override;
  int ListAdd(int id, const std::string& text) override;
  int ListCount(int id) const override;
  std::string ListItemText(int id, int index) const override;
  int ListSelect(int id, int index) override;
  int ListSelection(int id) const override;

  void EditSetSelection(int id, int start, int end) override;
  void EditSelection(int id, int* start, int* end) const override;
  void EditScrollCaret(int) override {}
  void EditLimitText(int id, int characters) override;
  int EditLimit(int id) const override;
  void EditSetPasswordChar(int id, char c) override;
  char EditPasswordChar(int id) const override;
  void SetToolTip(int id, const std::string& text) override;
  std::string ToolTip(int id) const override;

  void SetCheck(int id, int state) override;
  int Check(int id) const override;
  void CheckRadio(int first, int last, int id) override;

  void ProgressSetRange(int id, int low, int high) override;
  void ProgressSetPos(int id, int pos) override;
  int ProgressPos(int id) const override;

  void TrackSetRange(int id, int low, int high) override;
  int TrackMin(int id) const override;
  int TrackMax(int id) const override;
  void TrackSetPos(int id, int pos) override;
  int TrackPos(int id) const override;
  void TrackSetTickFrequency(int id, int frequency) override;

  int ListViewInsertColumn(int id, int column, const std::string& header, int width) override;
  int ListViewColumnCount(int id) const override;
  std::string ListViewColumnText(int id, int column) const override;
  void ListViewDeleteAllRows(int id) override;
  int ListViewInsertRow(int id, int row, const std::string& firstCell) override;
  bool ListViewSetCell(int id, int row, int column, const std::string& text) override;
  std::string ListViewCell(int id, int row, int column) const override;
  int ListViewRowCount(int id) const override;
  int ListViewNextSelected(int id, int after) const override;
  void ListViewSelectRow(int id, int row, bool selected) override;
  int ListViewNeededWidth(int id, int column, bool withHeader) const override;
  void ListViewSetColumnWidth(int id, int column, int width) override;
  int ListViewClientWidth(int id) const override;
  int ListViewColumnWidth(int id, int column) const override;

  void TabDeleteAll(int id) override;
  void TabSetPadding(int, int horizontal, int) override { tabPadding = horizontal; }
  int tabPadding = -1;
  int TabInsert(int id, int index, const std::string& caption) override;
  int TabCount(int id) const override;
  std::string TabCaption(int id, int index) const override;
  int TabSelect(int id, int index) override;
  int TabSelection(int id) const override;
  bool SetImageFile(int id, const std::string& path) override;
  bool HasImage(int id) const override;
  // The bitmap files that load (set by the dialog system); none when null.
  const std::set<std::string>* imageFiles = nullptr;
  void SetPainter(int id, ICanvasPainter* painter) override;
  void Redraw(int id) override;

 private:
  void Report(int id, int code);
  void Paint(Control& c);
  Control* FindKind(int id, ControlKind kind);
  const Control* FindKind(int id, ControlKind kind) const;
  void ResetItems(int id, ControlKind kind);
  int AddItem(int id, ControlKind kind, const std::string& text);
  int ItemCount(int id, ControlKind kind) const;
  std::string ItemText(int id, ControlKind kind, int index) const;
  int SelectItem(int id, ControlKind kind, int index);
  int Selection(int id, ControlKind kind) const;

  std::vector<Control> controls_;
  std::string title_;
  bool dialogVisible_;
  bool dialogEnabled_ = true;
  int focus_ = 0;
};

}  // namespace linkscope
