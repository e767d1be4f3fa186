#pragma once
// What a user has selected in a grid beyond the current cell: records (by bookmark), a rectangle
// of cells, a set of columns, or everything. Records are held by bookmark, so a selection stays on
// its records when the grid scrolls; records deleted elsewhere drop out of it.
#include <cstdint>
#include <vector>

namespace qv {

class TCustomDBGridEh;
class TColumnEh;

enum class TDBGridEhSelectionType { gstNon, gstRecordBookmarks, gstRectangle, gstColumns, gstAll };

// Selected records: bookmarks kept sorted by the dataset's order.
class TBookmarkListEh {
public:
  explicit TBookmarkListEh(TCustomDBGridEh *grid) : grid_(grid) {}
  int Count() const { return static_cast<int>(list_.size()); }
  uint64_t Items(int i) const { return list_.at(static_cast<size_t>(i)); }
  const std::vector<uint64_t> &List() const { return list_; }
  // Whether bookmark is in the list; index: where it is, or where it would go. A repeated search
  // for the same bookmark is answered from a one-entry cache.
  bool Find(uint64_t bookmark, int &index) const;
  bool Contains(uint64_t bookmark) const {
    int i = 0;
    return Find(bookmark, i);
  }
  // The current record is selected. Throws on a closed dataset.
  bool CurrentRowSelected() const;
  void SetCurrentRowSelected(bool on);
  void Clear();
  // Deletes the selected records (last to first) with the dataset's controls disabled.
  void DeleteSelected();
  // Drops bookmarks whose records are gone; true when any was dropped.
  bool DropInvalid();
  void LinkActive(bool active);

private:
  TCustomDBGridEh *grid_;
  std::vector<uint64_t> list_;
  bool linkActive_ = false;
  mutable uint64_t cacheBookmark_ = 0;
  mutable int cacheIndex_ = -1;
  mutable bool cacheFound_ = false;
  void ForgetCache() const { cacheBookmark_ = 0; }
  uint64_t CurrentBookmark() const;
};

// A cell by data column index (-1: none) and record bookmark.
struct TDBCell {
  int Col = -1;
  uint64_t Bookmark = 0;
  bool operator==(const TDBCell &) const = default;
};

class TDBGridEhSelectionRect {
public:
  explicit TDBGridEhSelectionRect(TCustomDBGridEh *grid) : grid_(grid) {}
  // Moves both corners to the cell, or with extend (and an anchor) only the moving corner.
  void Select(int col, uint64_t bookmark, bool extend);
  void Clear() { anchor_ = shift_ = TDBCell{}; }
  const TDBCell &Anchor() const { return anchor_; }
  const TDBCell &ShiftCell() const { return shift_; }
  bool Empty() const { return anchor_.Col < 0 || anchor_ == shift_; }
  // Earlier and later record, smaller and larger column. Throw a grid error without a dataset.
  uint64_t TopRow() const;
  uint64_t BottomRow() const;
  int LeftCol() const;
  int RightCol() const;
  bool CellSelected(int col, uint64_t bookmark) const;
  // A corner whose record is gone.
  bool LostRecord() const;

private:
  TCustomDBGridEh *grid_;
  TDBCell anchor_, shift_;
  void CheckActive() const;
};

// Selected columns, in collection order.
class TDBGridEhSelectionCols {
public:
  explicit TDBGridEhSelectionCols(TCustomDBGridEh *grid) : grid_(grid) {}
  const std::vector<TColumnEh *> &List() const { return list_; }
  bool Contains(const TColumnEh *c) const;
  // Adds c (alone unless keep); c becomes anchor and moving column.
  void Select(TColumnEh *c, bool keep);
  void Invert(TColumnEh *c);
  // Moves the moving column to c: visible columns between the anchor and c take the anchor's state.
  void SelectShift(TColumnEh *c);
  void Remove(TColumnEh *c);
  void Clear();

private:
  TCustomDBGridEh *grid_;
  std::vector<TColumnEh *> list_;
  TColumnEh *anchor_ = nullptr, *moving_ = nullptr;
  std::vector<TColumnEh *> shiftAdded_; // the columns the last Shift-extension added
  void Add(TColumnEh *c);
  void Sort();
};

class TDBGridEhSelection {
public:
  explicit TDBGridEhSelection(TCustomDBGridEh *grid)
      : grid_(grid), rows_(grid), rect_(grid), columns_(grid) {}
  TDBGridEhSelectionType SelectionType() const { return type_; }
  TBookmarkListEh &Rows() { return rows_; }
  TDBGridEhSelectionRect &Rect() { return rect_; }
  TDBGridEhSelectionCols &Columns() { return columns_; }
  // Whether the cell (data column index, record) is selected.
  bool DataCellSelected(int col, uint64_t bookmark) const;
  void Clear();
  void SelectAll();
  // Record selection of the current row; rectangle and column selection through the grid.
  void SetCurrentRowSelected(bool on);
  void SelectRect(int col, uint64_t bookmark, bool extend);
  void SelectColumn(TColumnEh *c, bool keep);
  void InvertColumn(TColumnEh *c);
  void ShiftSelectColumn(TColumnEh *c);
  // The dataset changed: drop records that are gone.
  void DataChanged();
  void LinkActive(bool active);

private:
  TCustomDBGridEh *grid_;
  TDBGridEhSelectionType type_ = TDBGridEhSelectionType::gstNon;
  TBookmarkListEh rows_;
  TDBGridEhSelectionRect rect_;
  TDBGridEhSelectionCols columns_;
  // Clears another kind before a selection of kind t starts.
  void Become(TDBGridEhSelectionType t);
};

} // namespace qv
