#pragma once
// The base grid: a window of cells with column and row counts, fixed (non-scrolling) leading
// columns and rows, per-column widths (-1 hides a column together with its line) and per-row
// heights, default sizes, a grid line width, a top-left cell, a current cell, scroll bars, mouse
// sizing and moving of columns, and the hooks a derived grid overrides: cell drawing, cell
// selection, size and top-left changes, and the editor (a plain read-only edit here).
//
// Not done here: row sizing and moving, range selection.
#include "platform/forms/Controls.h"
#include "platform/forms/StdCtrls.h"

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace qv {

// Base grid options (bit set).
enum TGridOption : uint32_t {
  goFixedVertLine = 1u << 0,
  goFixedHorzLine = 1u << 1,
  goVertLine = 1u << 2,
  goHorzLine = 1u << 3,
  goRangeSelect = 1u << 4,
  goDrawFocusSelected = 1u << 5,
  goRowSizing = 1u << 6,
  goColSizing = 1u << 7,
  goRowMoving = 1u << 8,
  goColMoving = 1u << 9,
  goEditing = 1u << 10,
  goTabs = 1u << 11,
  goRowSelect = 1u << 12,
  goAlwaysShowEditor = 1u << 13,
  goThumbTracking = 1u << 14,
};
extern const std::vector<std::string> kGridOptionNames;

// Cell drawing state (bit set).
constexpr uint32_t gdSelected = 1, gdFocused = 2, gdFixed = 4;

struct TGridCoord {
  int X = 0, Y = 0;
  friend bool operator==(const TGridCoord &, const TGridCoord &) = default;
};

// What the mouse is over, for sizing and moving.
enum class TGridState { gsNormal, gsSelecting, gsRowSizing, gsColSizing, gsRowMoving, gsColMoving };

class TCustomGrid;

// The editor the base grid shows over the current cell: an EDIT window without a border.
class TInplaceEdit : public TCustomEdit {
  QV_DECLARE_CLASS(TInplaceEdit)
public:
  explicit TInplaceEdit(TComponent *owner);
  TCustomGrid *Grid() const { return grid_; }
  // Places the editor over r (grid client coordinates) and shows it.
  void Move(const TRect &r);
  void Hide();
  // Takes the grid's font, read-only state and the current cell's text (derived editors decide
  // more: buttons, word wrap, limits).
  virtual void UpdateContents();

protected:
  void CreateParams(TCreateParams &p) override;
  bool WantsKey(WPARAM vk) const override;
  bool DoKeyDown(WORD &key, uint32_t shift) override;

private:
  friend class TCustomGrid;
  TCustomGrid *grid_ = nullptr;
};

class TCustomGrid : public TCustomControl {
  QV_DECLARE_CLASS(TCustomGrid)
  friend class TInplaceEdit;

public:
  explicit TCustomGrid(TComponent *owner);
  ~TCustomGrid() override;

  int ColCount() const { return static_cast<int>(colWidths_.size()); }
  void SetColCount(int n);
  int RowCount() const { return static_cast<int>(rowHeights_.size()); }
  void SetRowCount(int n);
  int FixedCols() const { return fixedCols_; }
  void SetFixedCols(int n);
  int FixedRows() const { return fixedRows_; }
  void SetFixedRows(int n);
  // Width of column i; -1 hides the column and its line, 0 leaves only its line.
  int ColWidths(int i) const { return colWidths_.at(i); }
  void SetColWidths(int i, int w);
  int RowHeights(int i) const { return rowHeights_.at(i); }
  void SetRowHeights(int i, int h);
  int DefaultColWidth() const { return defaultColWidth_; }
  // Resets every column to w.
  void SetDefaultColWidth(int w);
  int DefaultRowHeight() const { return defaultRowHeight_; }
  // Resets every row to h.
  void SetDefaultRowHeight(int h);
  int GridLineWidth() const { return gridLineWidth_; }
  void SetGridLineWidth(int w);
  uint32_t Options() const { return options_; }
  void SetOptions(uint32_t o);
  TScrollStyle ScrollBars() const { return scrollBars_; }
  // Changing the bars recreates the window when it exists.
  void SetScrollBars(TScrollStyle s);
  TBorderStyle BorderStyle() const { return borderStyle_; }
  void SetBorderStyle(TBorderStyle s);
  TColor FixedColor() const { return fixedColor_; }
  void SetFixedColor(TColor c);

  // First scrolling column and row shown.
  int LeftCol() const { return leftCol_; }
  void SetLeftCol(int c);
  int TopRow() const { return topRow_; }
  void SetTopRow(int r);
  // The current cell (never a fixed cell while there are scrolling cells).
  int Col() const { return col_; }
  void SetCol(int c);
  int Row() const { return row_; }
  void SetRow(int r);
  // Moves the current cell (runs SelectCell first; false when it refuses).
  bool MoveCurrent(int col, int row, bool show = true);

  // Scrolling columns and rows wholly visible from LeftCol/TopRow.
  int VisibleColCount() const;
  int VisibleRowCount() const;
  // The cell rectangle in client coordinates (without its lines); empty when not shown.
  TRect CellRect(int col, int row) const;
  // The cell under a client point; {-1, -1} when none.
  TGridCoord MouseCoord(int x, int y) const;
  // Extent (width plus line) of the grid's columns as laid out now, and of rows.
  int ColLineWidth(int col) const;
  int RowLineWidth(int row) const;

  bool EditorMode() const { return editorMode_; }
  void SetEditorMode(bool on);
  TInplaceEdit *InplaceEditor() const { return editor_; }

  void InvalidateCell(int col, int row);
  void InvalidateRow(int row);
  void InvalidateCol(int col);
  void InvalidateGrid() { Invalidate(); }

  TGridState GridState() const { return state_; }

protected:
  void CreateParams(TCreateParams &p) override;
  void CreateWnd() override;
  void WndProc(TMessage &m) override;
  void Paint() override;
  void EraseBackground(HDC dc) override;
  void MouseDown(TMouseButton button, uint32_t shift, int x, int y) override;
  void MouseMove(uint32_t shift, int x, int y) override;
  void MouseUp(TMouseButton button, uint32_t shift, int x, int y) override;
  bool WantsKey(WPARAM vk) const override;
  bool DoKeyDown(WORD &key, uint32_t shift) override;

  // Hooks.
  // Draws one cell (rect without its lines); the base fills with the cell's colour.
  virtual void DrawCell(int col, int row, const TRect &rect, uint32_t state);
  // Paints the lines of the whole grid in LineColor.
  virtual void DrawLines(TCanvas &canvas);
  // Colour of the lines right of and below the cell (col, row): black beside fixed cells, silver
  // beside the others.
  virtual TColor LineColor(int col, int row) const {
    return col < fixedCols_ || row < fixedRows_ ? clBlack : clSilver;
  }
  // Fills the area right of and below the last cells.
  virtual void DrawEmptyArea(TCanvas &canvas, const TRect &right, const TRect &below);
  virtual bool SelectCell(int col, int row);
  virtual void ColWidthsChanged();
  virtual void RowHeightsChanged();
  virtual void ColumnMoved(int from, int to);
  virtual void TopLeftChanged();
  virtual void SizeChanged(int oldColCount, int oldRowCount);
  // Called when the client area changed size.
  virtual void Resized();
  virtual void UpdateScrollBars();
  virtual void HandleVertScroll(int code, int pos);
  virtual void HandleHorzScroll(int code, int pos);
  virtual void HandleWheel(int delta);
  // Editor: whether it may show on the current cell, its text, and where it writes back.
  virtual bool CanEditShow() const;
  virtual std::string GetEditText(int col, int row);
  virtual void SetEditText(int col, int row, const std::string &text);
  virtual bool CanEditModify() const { return false; }
  // Makes the editor on first use (a derived grid supplies its own kind).
  virtual TInplaceEdit *CreateEditor();
  void ShowEditor();
  void HideEditor();
  // Refreshes the editor's text and position.
  void InvalidateEditor();
  void UpdateEditor();
  // Whether the mouse is over a column border that sizing may start on; the border's column.
  bool ColSizingZone(int x, int y, int &col) const;
  // Moves the current cell to (col, row) without SelectCell (derived grids decide first).
  void FocusCell(int col, int row);
  // Scrolls the client pixels of the rows below the fixed rows by dy (positive: down).
  void ScrollDataRows(int dy, const TRect &area);
  // Left edge of the grid column col in client coordinates (-1 when not shown).
  int ColLeft(int col) const;
  int RowTop(int row) const;
  // Set while the derived grid lays itself out: no painting meanwhile.
  bool GridLayoutLocked() const { return layoutLock_ > 0; }
  void LockGridLayout() { ++layoutLock_; }
  void UnlockGridLayout() { --layoutLock_; }
  int SizingCol() const { return sizingCol_; }

private:
  std::vector<int> colWidths_, rowHeights_;
  int fixedCols_ = 1, fixedRows_ = 1;
  int defaultColWidth_ = 64, defaultRowHeight_ = 24;
  int gridLineWidth_ = 1;
  uint32_t options_ = goFixedVertLine | goFixedHorzLine | goVertLine | goHorzLine | goRangeSelect;
  TScrollStyle scrollBars_ = TScrollStyle::ssBoth;
  TBorderStyle borderStyle_ = TBorderStyle::bsSingle;
  TColor fixedColor_ = clBtnFace;
  int leftCol_ = 1, topRow_ = 1, col_ = 1, row_ = 1;
  bool editorMode_ = false;
  TInplaceEdit *editor_ = nullptr;
  TGridState state_ = TGridState::gsNormal;
  int sizingCol_ = -1, sizingStart_ = 0, sizingOrigWidth_ = 0;
  int moveFrom_ = -1, moveTo_ = -1;
  int layoutLock_ = 0;
  int wheelRest_ = 0;
  void ClampTopLeft();
  void MakeCurrentVisible();
  void CheckCounts();
  int LineWidthOfCol(int col) const;
  int LineWidthOfRow(int row) const;
};

// A grid whose cells the program draws in OnDrawCell.
using TDrawCellEvent = TEvent<TObject *, int, int, const TRect &, uint32_t>;
using TSelectCellEvent = TEvent<TObject *, int, int, bool &>;

class TDrawGrid : public TCustomGrid {
  QV_DECLARE_CLASS(TDrawGrid)
public:
  explicit TDrawGrid(TComponent *owner) : TCustomGrid(owner) {}
  TDrawCellEvent OnDrawCell;
  TSelectCellEvent OnSelectCell;
  TNotifyEvent OnTopLeftChanged;

protected:
  void DrawCell(int col, int row, const TRect &rect, uint32_t state) override;
  bool SelectCell(int col, int row) override;
  void TopLeftChanged() override;
};

} // namespace qv
