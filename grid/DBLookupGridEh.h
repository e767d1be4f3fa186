#pragma once
// The lookup data list of the in-place editor. TDBLookupGridEh is a small read-only grid over a
// lookup dataset: its rows are the dataset's records, one of which (or the special row drawn
// above the rows) is the chosen one. It never takes the focus: the editor keeps it and hands
// on the keys that move the choice. TPopupDataGridEh is the same grid as a popup window that
// does not take the activation, with a frame the user may resize it by.
//
// Also the column settings the list is made from: TSpecRowEh (the special row) and
// TColumnDropDownBoxEh (the list's own columns and options).
//
// Not done yet: DropDownBox.ListSource and ColumnDefValues, multi-level titles in the list.
#include "grid/DBGridEh.h"
#include "grid/ToolCtrlsEh.h"
#include "platform/data/Value.h"

#include <functional>
#include <string>
#include <vector>

namespace qv {

// The special row of a lookup list: a row above the records that stands for one key value
// (typically null, "none").
class TSpecRowEh : public TPersistent {
  QV_DECLARE_CLASS(TSpecRowEh)
public:
  TSpecRowEh();
  // Texts of the row's cells, one per list column, separated by ';'.
  const std::string &CellsText() const { return cellsText_; }
  void SetCellsText(const std::string &s) { cellsText_ = s; }
  // The text of cell i (empty past the last).
  std::string CellText(int i) const;
  TColor Color() const { return color_; }
  void SetColor(TColor c) { color_ = c; }
  // The row's font: the list's until set.
  TFont &Font(const TFont &listFont) { return font_.Get(listFont); }
  // Default Alt+Delete (32814).
  uint32_t ShortCut() const { return shortCut_; }
  void SetShortCut(uint32_t s) { shortCut_ = s; }
  // True: the row also stands for a key that no record has.
  bool ShowIfNotInKeyList() const { return showIfNotInKeyList_; }
  void SetShowIfNotInKeyList(bool on) { showIfNotInKeyList_ = on; }
  const TDbValue &Value() const { return value_; }
  void SetValue(const TDbValue &v) { value_ = v; }
  bool Visible() const { return visible_; }
  void SetVisible(bool on) { visible_ = on; }
  // Whether the row stands for key; found: a record has that key.
  bool StandsFor(const TDbValue &key, bool found) const;

private:
  std::string cellsText_;
  TColor color_ = clWindow;
  TFollowingFont font_{nullptr};
  uint32_t shortCut_ = scAlt | VK_DELETE;
  bool showIfNotInKeyList_ = true, visible_ = false;
  TDbValue value_;
};
static_assert((scAlt | VK_DELETE) == 32814);

enum TDBLookupGridEhOption : uint32_t {
  dlgColumnResizeEh = 1,
  dlgColLinesEh = 2,
  dlgRowLinesEh = 4,
  dlgAutoSortMarkingEh = 8,
  dlgMultiSortMarkingEh = 16,
};

// The lookup list's own columns (when there are none, LookupDisplayFields decides) and options.
class TColumnDropDownBoxEh : public TPersistent {
  QV_DECLARE_CLASS(TColumnDropDownBoxEh)
public:
  TColumnDropDownBoxEh() : columns_(nullptr) {}
  bool AutoFitColWidths() const { return autoFitColWidths_; }
  void SetAutoFitColWidths(bool on) { autoFitColWidths_ = on; }
  TDBGridColumnsEh *Columns() { return &columns_; }
  uint32_t Options() const { return options_; }
  void SetOptions(uint32_t o) { options_ = o; }
  bool UseMultiTitle() const { return useMultiTitle_; }
  void SetUseMultiTitle(bool on) { useMultiTitle_ = on; }

private:
  bool autoFitColWidths_ = true, useMultiTitle_ = false;
  TDBGridColumnsEh columns_;
  uint32_t options_ = dlgColLinesEh;
};

class TDBLookupGridEh : public TCustomDBGridEh {
  QV_DECLARE_CLASS(TDBLookupGridEh)
public:
  explicit TDBLookupGridEh(TComponent *owner);

  // Shows the records of ds; keyFields are its fields matched against keys, resultField the
  // field whose text a choice gives. Columns are set up by the caller.
  void Bind(TDataSet *ds, const std::string &keyFields, const std::string &resultField);
  void Unbind();
  TDataSet *ListDataSet() const;
  // The special row shown above the records (null or invisible: none).
  void SetSpecRow(TSpecRowEh *row);
  bool SpecRowShown() const;

  enum class TChoice { None, SpecRow, Record };
  TChoice Choice() const { return choice_; }
  // Chooses the record of key, or the special row when it stands for key; else nothing.
  void LocateKey(const TDbValue &key);
  // Chooses the first record whose result text starts with text (letter case ignored); false
  // (the choice kept) when none does.
  bool SearchText(const std::string &text);
  void ChooseSpecRow();
  // Up, Down, Page Up and Page Down move the choice (Up from the first record reaches the
  // special row); false for other keys.
  bool MoveByKey(WORD key);
  // Key and result text of the choice (the special row's value and first cell).
  TDbValue ChosenKey() const;
  std::string ChosenText() const;

  // Heights of one data line, of the special row, and of the client area that shows rows data
  // rows under the titles.
  int DataLineHeight() const;
  int SpecRowHeight() const;
  int ClientHeightFor(int rows) const;
  // Data rows the client area holds.
  int RowsShown() const;
  // Width of the visible columns with their lines.
  int ColumnsWidth() const;

  // A row was chosen with the mouse (accept the list).
  std::function<void()> OnRowClicked;

protected:
  bool CanFocus() const override { return false; }
  void WndProc(TMessage &m) override;
  void DrawCell(int col, int row, const TRect &rect, uint32_t state) override;
  void MouseDown(TMouseButton button, uint32_t shift, int x, int y) override;
  void MouseUp(TMouseButton button, uint32_t shift, int x, int y) override;
  void HandleVertScroll(int code, int pos) override;
  void HandleWheel(int delta) override;

private:
  TDBDataSource *source_;
  std::string keyFields_, resultField_;
  TSpecRowEh *specRow_ = nullptr;
  TChoice choice_ = TChoice::None;
  bool pressedOnRecord_ = false;
  void SetChoice(TChoice c);
  void PaintSpecRow(HDC dc);
  // The special row's rectangle in window coordinates (empty when not shown).
  TRect SpecRowRect() const;
};

class TPopupDataGridEh : public TDBLookupGridEh, public TPopupWindowEh {
  QV_DECLARE_CLASS(TPopupDataGridEh)
public:
  explicit TPopupDataGridEh(TComponent *owner);
  void SetOwnerWindow(HWND wnd) { ownerWindow_ = wnd; }
  // The frame lets the user resize the list.
  void SetSizable(bool on);
  // The window's extra width and height over its client area (the special row included).
  TSize FrameSize();
  void ShowAt(const TRect &bounds);
  void Hide();
  bool ListVisible() const;
  // The user resized it since it was shown.
  bool UserSized() const { return userSized_; }

protected:
  void CreateParams(TCreateParams &p) override;
  void WndProc(TMessage &m) override;

private:
  HWND ownerWindow_ = nullptr;
  bool sizable_ = false, userSized_ = false;
};

} // namespace qv
