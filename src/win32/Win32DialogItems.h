#pragma once
// The controls of one real dialog window: each method is one message or call on the control
// with that id (7-Zip's control wrappers are the model).

#include <cstdint>
#include <vector>

#include "platform/DialogItems.h"

namespace linkscope {

class Win32DialogItems : public IDialogItems {
 public:
  explicit Win32DialogItems(WindowHandle dialog = 0) : dialog_(dialog) {}
  void Attach(WindowHandle dialog) {
    dialog_ = dialog;
    toolTips_ = 0;
  }
  WindowHandle Dialog() const { return dialog_; }

  bool SetTitle(const std::string& text) override;
  std::string Title() const override;
  void ShowDialog(bool show) override;
  bool DialogVisible() const override;
  void EnableDialog(bool enable) override;
  bool DialogEnabled() const override;

  WindowHandle Window(int id) const override;
  bool SetText(int id, const std::string& text) override;
  std::string Text(int id) const override;
  void Enable(int id, bool enable) override;
  bool IsEnabled(int id) const override;
  void Show(int id, bool show) override;
  bool IsVisible(int id) const override;
  void Focus(int id) override;
  int FocusedControl() const override;

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
  void EditScrollCaret(int id) override;
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
  void TabSetPadding(int id, int horizontal, int vertical) override;
  int TabInsert(int id, int index, const std::string& caption) override;
  int TabCount(int id) const override;
  std::string TabCaption(int id, int index) const override;
  int TabSelect(int id, int index) override;
  int TabSelection(int id) const override;
  bool SetImageFile(int id, const std::string& path) override;
  bool HasImage(int id) const override;
  void SetPainter(int id, ICanvasPainter* painter) override;
  void Redraw(int id) override;

  ~Win32DialogItems() override;

 private:
  WindowHandle dialog_;
  // Bitmaps loaded for the dialog's image controls, freed with it.
  std::vector<std::uintptr_t> images_;
  // The tooltip window of the dialog's tips, made with the first one; owned by the dialog, it
  // goes with it.
  WindowHandle toolTips_ = 0;
};

}  // namespace linkscope
