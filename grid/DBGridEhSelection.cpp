// The grid's selection model: records by bookmark (sorted, with a one-entry search cache), a
// rectangle of cells, a set of columns, or all; the mouse and keys that make them are in
// DBGridEhInput.cpp, the highlighting in DBGridEhPaint.cpp.
#include "grid/DBGridEh.h"

#include "platform/base/ScopeExit.h"

#include <algorithm>

namespace qv {

namespace {

TDataSet *DataSetOf(const TCustomDBGridEh *grid) { return grid->DataSet(); }

bool DataSetActive(const TCustomDBGridEh *grid) {
  TDataSet *ds = DataSetOf(grid);
  return ds && ds->Active();
}

int Compare(const TCustomDBGridEh *grid, uint64_t a, uint64_t b) {
  TDataSet *ds = DataSetOf(grid);
  return ds ? ds->CompareBookmarks(a, b) : 0;
}

} // namespace

// Records --------------------------------------------------------------------------------------

bool TBookmarkListEh::Find(uint64_t bookmark, int &index) const {
  if (bookmark != 0 && bookmark == cacheBookmark_) {
    index = cacheIndex_;
    return cacheFound_;
  }
  // Halves the range: lo ends on the first entry not before bookmark.
  int lo = 0, hi = Count();
  while (lo < hi) {
    int mid = (lo + hi) / 2;
    if (Compare(grid_, list_[static_cast<size_t>(mid)], bookmark) < 0)
      lo = mid + 1;
    else
      hi = mid;
  }
  bool found = lo < Count() && Compare(grid_, list_[static_cast<size_t>(lo)], bookmark) == 0;
  index = lo;
  cacheBookmark_ = bookmark;
  cacheIndex_ = index;
  cacheFound_ = found;
  return found;
}

uint64_t TBookmarkListEh::CurrentBookmark() const {
  if (!DataSetActive(grid_)) throw EInvalidOperation("Cannot perform this operation on a closed dataset");
  return DataSetOf(grid_)->GetBookmark();
}

bool TBookmarkListEh::CurrentRowSelected() const {
  uint64_t bookmark = CurrentBookmark();
  return bookmark != 0 && Contains(bookmark);
}

void TBookmarkListEh::SetCurrentRowSelected(bool on) {
  uint64_t bookmark = CurrentBookmark();
  if (bookmark == 0) return;
  int index = 0;
  bool found = Find(bookmark, index);
  if (found == on) return;
  if (on)
    list_.insert(list_.begin() + index, bookmark);
  else
    list_.erase(list_.begin() + index);
  ForgetCache();
  grid_->InvalidateRow(grid_->Row());
}

void TBookmarkListEh::Clear() {
  if (list_.empty()) return;
  list_.clear();
  ForgetCache();
  grid_->Invalidate();
}

void TBookmarkListEh::DeleteSelected() {
  TDataSet *ds = DataSetOf(grid_);
  if (list_.empty() || !DataSetActive(grid_)) return;
  ds->DisableControls();
  const TScopeExit enable([ds] { ds->EnableControls(); });
  for (size_t i = list_.size(); i-- > 0;) {
    uint64_t bookmark = list_[i];
    list_.erase(list_.begin() + static_cast<std::ptrdiff_t>(i));
    ForgetCache();
    if (!ds->BookmarkValid(bookmark)) continue;
    ds->GotoBookmark(bookmark);
    ds->Delete();
  }
}

bool TBookmarkListEh::DropInvalid() {
  TDataSet *ds = DataSetOf(grid_);
  size_t before = list_.size();
  std::erase_if(list_, [ds](uint64_t b) { return !ds || !ds->BookmarkValid(b); });
  if (list_.size() == before) return false;
  ForgetCache();
  return true;
}

void TBookmarkListEh::LinkActive(bool active) {
  list_.clear();
  ForgetCache();
  linkActive_ = active;
}

// Rectangle ------------------------------------------------------------------------------------

void TDBGridEhSelectionRect::CheckActive() const {
  if (!DataSetActive(grid_)) throw EInvalidOperation("The grid has no open dataset");
}

void TDBGridEhSelectionRect::Select(int col, uint64_t bookmark, bool extend) {
  if (!extend || anchor_.Col < 0) anchor_ = {col, bookmark};
  shift_ = {col, bookmark};
}

uint64_t TDBGridEhSelectionRect::TopRow() const {
  CheckActive();
  return Compare(grid_, anchor_.Bookmark, shift_.Bookmark) <= 0 ? anchor_.Bookmark : shift_.Bookmark;
}

uint64_t TDBGridEhSelectionRect::BottomRow() const {
  CheckActive();
  return Compare(grid_, anchor_.Bookmark, shift_.Bookmark) <= 0 ? shift_.Bookmark : anchor_.Bookmark;
}

int TDBGridEhSelectionRect::LeftCol() const {
  CheckActive();
  return std::min(anchor_.Col, shift_.Col);
}

int TDBGridEhSelectionRect::RightCol() const {
  CheckActive();
  return std::max(anchor_.Col, shift_.Col);
}

bool TDBGridEhSelectionRect::CellSelected(int col, uint64_t bookmark) const {
  if (Empty() || col < LeftCol() || col > RightCol()) return false;
  return Compare(grid_, bookmark, TopRow()) >= 0 && Compare(grid_, bookmark, BottomRow()) <= 0;
}

bool TDBGridEhSelectionRect::LostRecord() const {
  TDataSet *ds = DataSetOf(grid_);
  return !ds || !ds->BookmarkValid(anchor_.Bookmark) || !ds->BookmarkValid(shift_.Bookmark);
}

// Columns --------------------------------------------------------------------------------------

bool TDBGridEhSelectionCols::Contains(const TColumnEh *c) const {
  return std::find(list_.begin(), list_.end(), c) != list_.end();
}

void TDBGridEhSelectionCols::Sort() {
  std::sort(list_.begin(), list_.end(), [](TColumnEh *a, TColumnEh *b) { return a->Index() < b->Index(); });
}

void TDBGridEhSelectionCols::Add(TColumnEh *c) {
  if (Contains(c)) return;
  list_.push_back(c);
  Sort();
}

void TDBGridEhSelectionCols::Select(TColumnEh *c, bool keep) {
  if (!keep) list_.clear();
  Add(c);
  anchor_ = moving_ = c;
  shiftAdded_.clear();
}

void TDBGridEhSelectionCols::Invert(TColumnEh *c) {
  if (Contains(c))
    std::erase(list_, c);
  else
    Add(c);
  anchor_ = moving_ = c;
  shiftAdded_.clear();
}

void TDBGridEhSelectionCols::SelectShift(TColumnEh *c) {
  if (!anchor_) {
    Select(c, false);
    return;
  }
  // Columns that the previous extension brought in leave the run again; the new run from the
  // anchor to c then takes the anchor's state.
  bool anchorSelected = Contains(anchor_);
  for (TColumnEh *added : shiftAdded_)
    if (anchorSelected)
      std::erase(list_, added);
    else
      Add(added);
  shiftAdded_.clear();
  TDBGridColumnsEh *columns = grid_->Columns();
  int from = std::min(anchor_->Index(), c->Index()), to = std::max(anchor_->Index(), c->Index());
  for (int i = from; i <= to; ++i) {
    TColumnEh *item = columns->Items(i);
    if (!item->Visible() || item == anchor_) continue;
    if (Contains(item) == anchorSelected) continue;
    if (anchorSelected)
      Add(item);
    else
      std::erase(list_, item);
    shiftAdded_.push_back(item);
  }
  moving_ = c;
}

void TDBGridEhSelectionCols::Remove(TColumnEh *c) {
  std::erase(list_, c);
  std::erase(shiftAdded_, c);
  if (anchor_ == c) anchor_ = nullptr;
  if (moving_ == c) moving_ = nullptr;
}

void TDBGridEhSelectionCols::Clear() {
  list_.clear();
  shiftAdded_.clear();
  anchor_ = moving_ = nullptr;
}

// The selection --------------------------------------------------------------------------------

bool TDBGridEhSelection::DataCellSelected(int col, uint64_t bookmark) const {
  switch (type_) {
  case TDBGridEhSelectionType::gstRecordBookmarks:
    return rows_.Contains(bookmark);
  case TDBGridEhSelectionType::gstRectangle:
    return rect_.CellSelected(col, bookmark);
  case TDBGridEhSelectionType::gstColumns: {
    const auto &visible = grid_->VisibleColumns();
    return col >= 0 && col < static_cast<int>(visible.size()) &&
           columns_.Contains(visible[static_cast<size_t>(col)]);
  }
  case TDBGridEhSelectionType::gstAll:
    return true;
  default:
    return false;
  }
}

void TDBGridEhSelection::Clear() {
  if (type_ == TDBGridEhSelectionType::gstNon) return;
  rows_.Clear();
  rect_.Clear();
  columns_.Clear();
  type_ = TDBGridEhSelectionType::gstNon;
  grid_->Invalidate();
  grid_->SelectionCleared();
}

void TDBGridEhSelection::Become(TDBGridEhSelectionType t) {
  if (type_ != t) Clear();
  type_ = t;
}

void TDBGridEhSelection::SelectAll() {
  Become(TDBGridEhSelectionType::gstAll);
  grid_->Invalidate();
}

void TDBGridEhSelection::SetCurrentRowSelected(bool on) {
  if (on) Become(TDBGridEhSelectionType::gstRecordBookmarks);
  if (type_ != TDBGridEhSelectionType::gstRecordBookmarks) return;
  rows_.SetCurrentRowSelected(on);
  if (rows_.Count() == 0) type_ = TDBGridEhSelectionType::gstNon;
}

void TDBGridEhSelection::SelectRect(int col, uint64_t bookmark, bool extend) {
  if (type_ != TDBGridEhSelectionType::gstRectangle) {
    // A new rectangle starts from the current cell when it is extended.
    TDBCell anchor = rect_.Anchor();
    Become(TDBGridEhSelectionType::gstRectangle);
    if (extend && anchor.Col >= 0) rect_.Select(anchor.Col, anchor.Bookmark, false);
  }
  rect_.Select(col, bookmark, extend);
  if (rect_.Empty()) type_ = TDBGridEhSelectionType::gstNon;
  grid_->Invalidate();
}

void TDBGridEhSelection::SelectColumn(TColumnEh *c, bool keep) {
  Become(TDBGridEhSelectionType::gstColumns);
  columns_.Select(c, keep);
  grid_->Invalidate();
}

void TDBGridEhSelection::InvertColumn(TColumnEh *c) {
  Become(TDBGridEhSelectionType::gstColumns);
  columns_.Invert(c);
  if (columns_.List().empty()) type_ = TDBGridEhSelectionType::gstNon;
  grid_->Invalidate();
}

void TDBGridEhSelection::ShiftSelectColumn(TColumnEh *c) {
  Become(TDBGridEhSelectionType::gstColumns);
  columns_.SelectShift(c);
  if (columns_.List().empty()) type_ = TDBGridEhSelectionType::gstNon;
  grid_->Invalidate();
}

void TDBGridEhSelection::DataChanged() {
  if (!DataSetActive(grid_)) return;
  switch (type_) {
  case TDBGridEhSelectionType::gstRecordBookmarks:
    if (rows_.DropInvalid() && rows_.Count() == 0) type_ = TDBGridEhSelectionType::gstNon;
    break;
  case TDBGridEhSelectionType::gstRectangle:
    if (rect_.LostRecord()) Clear();
    break;
  default:
    break;
  }
}

void TDBGridEhSelection::LinkActive(bool active) {
  rows_.LinkActive(active);
  rect_.Clear();
  columns_.Clear();
  type_ = TDBGridEhSelectionType::gstNon;
}

} // namespace qv

// The grid's side -----------------------------------------------------------------------------

namespace qv {

void TCustomDBGridEh::SelectionCleared() {
  if ((dbOptions_ & dgAlwaysShowEditor) && dataLink_.Active()) ShowEditor();
}

TDBCell TCustomDBGridEh::CurrentDBCell() const {
  return {Col() - indicatorOffset_, DataSet() ? DataSet()->GetBookmark() : 0};
}

uint64_t TCustomDBGridEh::RowBookmark(int row) const {
  if (!DataRowOfGridRow(row)) return 0;
  // Reading another buffered record and back leaves the link as it was.
  auto &link = const_cast<TGridDataLinkEh &>(dataLink_);
  int record = row - titleRowCount_;
  if (!link.Active() || record >= link.RecordCount()) return 0;
  int saved = link.ActiveRecord();
  link.SetActiveRecord(record);
  uint64_t bookmark = DataSet()->ActiveBookmark();
  link.SetActiveRecord(saved);
  return bookmark;
}

bool TCustomDBGridEh::GridCellSelected(int col, int row) const {
  if (selection_.SelectionType() == TDBGridEhSelectionType::gstNon) return false;
  uint64_t bookmark = RowBookmark(row);
  return bookmark != 0 && selection_.DataCellSelected(col - indicatorOffset_, bookmark);
}

void TCustomDBGridEh::SelectByDataClick(TGridCoord cell, TDBCell old, uint64_t clicked, uint32_t shift) {
  TDataSet *ds = DataSet();
  uint64_t bookmark = clicked ? clicked : ds ? ds->GetBookmark() : 0;
  bool ctrl = (shift & ssCtrl) != 0, shft = (shift & ssShift) != 0;
  bool indicator = cell.X < indicatorOffset_ || (dbOptions_ & dgRowSelect);
  if (indicator && (dbOptions_ & dgMultiSelect) && (allowedSelections_ & gstRecordBookmarks)) {
    if (ctrl) {
      selection_.SetCurrentRowSelected(!selection_.Rows().CurrentRowSelected() ||
                                       selection_.SelectionType() !=
                                           TDBGridEhSelectionType::gstRecordBookmarks);
      rowAnchor_ = bookmark;
      return;
    }
    if (shft && rowAnchor_ && ds && ds->BookmarkValid(rowAnchor_)) {
      SelectRecordRange(rowAnchor_, bookmark);
      return;
    }
    if (optionsEh_ & dghClearSelection) selection_.Clear();
    selection_.SetCurrentRowSelected(true);
    rowAnchor_ = bookmark;
    return;
  }
  if (cell.X < indicatorOffset_ || (dbOptions_ & dgRowSelect) || !(allowedSelections_ & gstRectangle)) {
    if (optionsEh_ & dghClearSelection) selection_.Clear();
    return;
  }
  if (shft) {
    const TDBCell &anchor = selection_.Rect().Anchor();
    if (selection_.SelectionType() != TDBGridEhSelectionType::gstRectangle &&
        (anchor.Col < 0 || !ds || !ds->BookmarkValid(anchor.Bookmark)))
      selection_.SelectRect(old.Col, old.Bookmark, false);
    selection_.SelectRect(cell.X - indicatorOffset_, bookmark, true);
    return;
  }
  if (optionsEh_ & dghClearSelection) selection_.Clear();
  selection_.SelectRect(cell.X - indicatorOffset_, bookmark, false);
}

void TCustomDBGridEh::SelectRecordRange(uint64_t from, uint64_t to) {
  // Every record from one to the other joins the selection; the current record stays.
  TDataSet *ds = DataSet();
  if (!ds) return;
  int step = ds->CompareBookmarks(from, to) <= 0 ? -1 : 1;
  uint64_t current = ds->GetBookmark();
  {
    ds->DisableControls();
    const TScopeExit enable([ds] { ds->EnableControls(); });
    ds->GotoBookmark(to);
    for (;;) {
      selection_.SetCurrentRowSelected(true);
      if (ds->GetBookmark() == from || ds->MoveBy(step) == 0) break;
    }
    ds->GotoBookmark(current);
  }
  Invalidate();
}

bool TCustomDBGridEh::InColumnSelectZone(TGridCoord cell, int y) const {
  if (!(allowedSelections_ & gstColumns) || cell.Y < 0 || cell.Y >= titleRowCount_) return false;
  if (!ColumnOfGridCol(cell.X) || !dataLink_.Active()) return false;
  // The upper quarter of the title row (its cursor is the downward arrow).
  TRect r = CellRect(cell.X, 0);
  return y >= r.Top && y < r.Top + std::max(r.Height() / 4, 3);
}

bool TCustomDBGridEh::SelectByTitleClick(TGridCoord cell, int y, uint32_t shift) {
  if (cell.X == 0 && indicatorOffset_ > 0 && cell.Y == 0 && (dbOptions_ & dgMultiSelect) &&
      (allowedSelections_ & gstAll) && dataLink_.Active()) {
    if (selection_.SelectionType() == TDBGridEhSelectionType::gstAll)
      selection_.Clear();
    else
      selection_.SelectAll();
    return true;
  }
  if (!InColumnSelectZone(cell, y)) return false;
  TColumnEh *column = ColumnOfGridCol(cell.X);
  if (shift & ssShift)
    selection_.ShiftSelectColumn(column);
  else if (shift & ssCtrl)
    selection_.InvertColumn(column);
  else
    selection_.SelectColumn(column, false);
  return true;
}

void TCustomDBGridEh::MoveWithSelection(bool shift, const std::function<void()> &move) {
  bool rect = shift && (allowedSelections_ & gstRectangle) && !(dbOptions_ & dgRowSelect) &&
              Col() >= indicatorOffset_;
  // Rows are extended with dgMultiSelect where rectangles are not (row select, or not allowed).
  bool rows = shift && !rect && (dbOptions_ & dgMultiSelect) && (allowedSelections_ & gstRecordBookmarks);
  TDBCell old = CurrentDBCell();
  if (!shift && (optionsEh_ & dghClearSelection)) selection_.Clear();
  move();
  if (rows && old.Bookmark) {
    TDataSet *ds = DataSet();
    if (!ds) return;
    if (!rowAnchor_ || !ds->BookmarkValid(rowAnchor_)) rowAnchor_ = old.Bookmark;
    SelectRecordRange(old.Bookmark, ds->GetBookmark());
    return;
  }
  if (!rect) return;
  if (selection_.SelectionType() != TDBGridEhSelectionType::gstRectangle)
    selection_.SelectRect(old.Col, old.Bookmark, false);
  TDBCell now = CurrentDBCell();
  selection_.SelectRect(now.Col, now.Bookmark, true);
}

} // namespace qv
