// The grid's data link: the field map, the notifications and the grid's reactions, the window of
// buffered records behind the data rows, the current row, the vertical scroll bar and focus.
#include "grid/DBGridEh.h"

#include "platform/base/ScopeExit.h"

#include <algorithm>
#include <cassert>
#include <cstdlib>

namespace qv {

// TGridDataLinkEh ------------------------------------------------------------------------------

void TGridDataLinkEh::ClearMapping() {
  count_ = 0;
  if (map_.empty()) map_.resize(8);
}

void TGridDataLinkEh::AddMapping(const std::string &fieldName) {
  if (count_ == static_cast<int>(map_.size())) map_.resize(map_.empty() ? 8 : map_.size() * 2);
  TField *f = DataSet() ? DataSet()->FindField(fieldName) : nullptr;
  map_[count_++] = f ? f->Index() : -1;
}

TField *TGridDataLinkEh::Fields(int i) const {
  TDataSet *ds = DataSet();
  if (i < 0 || i >= count_ || map_[i] < 0 || !ds || map_[i] >= ds->FieldCount()) return nullptr;
  return ds->Fields(map_[i]);
}

void TGridDataLinkEh::ActiveChanged() {
  grid_->LinkActive();
  modified_ = false;
}

void TGridDataLinkEh::DataSetChanged() {
  grid_->LinkDataChanged();
  modified_ = false;
}

void TGridDataLinkEh::DataSetScrolled(int distance) { grid_->LinkScrolled(distance); }

void TGridDataLinkEh::LayoutChanged() {
  for (int i = 0; i < grid_->Columns()->Count(); ++i)
    grid_->Columns()->Items(i)->ForgetField();
  grid_->RequestLayout();
  DataSetChanged();
}

void TGridDataLinkEh::RecordChanged(TField *field) {
  grid_->LinkRecordChanged(field);
  modified_ = false;
}

void TGridDataLinkEh::EditingChanged() { grid_->LinkEditingChanged(); }

void TGridDataLinkEh::UpdateData() {
  if (inUpdateData_) return;
  inUpdateData_ = true;
  struct TReset {
    bool &flag;
    ~TReset() { flag = false; }
  } reset{inUpdateData_};
  // A value the field refuses leaves the flag set: the editor keeps its text for another try.
  if (modified_) grid_->WriteEditedText();
  modified_ = false;
}

void TGridDataLinkEh::FocusControl(TField *field) { grid_->LinkFocusControl(field); }

// Reactions ------------------------------------------------------------------------------------

void TCustomDBGridEh::LinkActive() {
  // The dataset's fields are made anew when it opens: no column may keep a field it had.
  for (int i = 0; i < columns_.Count(); ++i)
    columns_.Items(i)->ForgetField();
  if (!dataLink_.Active()) HideEditor();
  selection_.LinkActive(dataLink_.Active());
  rowAnchor_ = 0;
  StopSearch();
  sumList_->SetDataSet(DataSet());
  RequestLayout();
  if (dataLink_.Active() && (dbOptions_ & dgAlwaysShowEditor)) ShowEditor();
  UpdateVertScrollBar();
}

void TCustomDBGridEh::LinkDataChanged() {
  if (!HandleAllocated() || inDataChanged_) return;
  inDataChanged_ = true;
  struct TReset {
    bool &flag;
    ~TReset() { flag = false; }
  } reset{inDataChanged_};
  selection_.DataChanged();
  RecountRows();
  if (UpdateVertScrollBar() && autoFitColWidths_) PostDeferredLayout();
  SyncCurrentRow();
  InvalidateEditor();
  Invalidate();
}

void TCustomDBGridEh::LinkScrolled(int distance) {
  if (!HandleAllocated()) return;
  int oldRow = Row();
  if (dataLink_.ActiveRecord() >= dataRowCount_) RecountRows();
  if (UpdateVertScrollBar() && autoFitColWidths_) PostDeferredLayout();
  SyncCurrentRow();
  InvalidateRow(oldRow);
  InvalidateRow(Row());
  if (distance != 0) {
    HideEditor();
    HWND h = HandleIfAllocated();
    // A move by a whole page or more leaves nothing worth scrolling.
    if (std::abs(distance) >= VisibleDataRowCount()) {
      Invalidate();
    } else {
      int top = RowTop(titleRowCount_);
      int lineHeight = DefaultRowHeight() + ((dbOptions_ & dgRowLines) ? GridLineWidth() : 0);
      int dy = -distance * lineHeight;
      TRect area{0, top, ClientWidth(), top + dataRowCount_ * lineHeight};
      // What was waiting to be painted moves with the pixels: invalidate it where it lands.
      TGdiHandle<HRGN> pending(CreateRectRgn(0, 0, 0, 0));
      int kind = GetUpdateRgn(h, pending.Get(), FALSE);
      ScrollDataRows(dy, area);
      if (kind != NULLREGION && kind != ERROR) {
        OffsetRgn(pending.Get(), 0, dy);
        InvalidateRgn(h, pending.Get(), FALSE);
      }
      InvalidateRow(oldRow - distance);
      InvalidateRow(Row());
    }
    if (dbOptions_ & dgAlwaysShowEditor) ShowEditor();
  }
  InvalidateFooter();
  if (holdDepth_ == 0) Update();
}

void TCustomDBGridEh::LinkRecordChanged(TField *field) {
  if (!HandleAllocated()) return;
  if (field) {
    for (int i = 0; i < columns_.Count(); ++i)
      if (columns_.Items(i)->Field() == field) {
        InvalidateRow(Row());
        break;
      }
  } else {
    Invalidate();
  }
  // Only a text that now reads differently replaces what the editor holds (and its selection).
  if (EditorMode() && InplaceEditor() && InplaceEditor()->Text() != GetEditText(Col(), Row()))
    InvalidateEditor();
}

void TCustomDBGridEh::LinkEditingChanged() {
  if (indicatorOffset_ > 0) InvalidateCell(0, Row());
}

void TCustomDBGridEh::LinkFocusControl(TField *field) {
  for (int i = 0; i < columns_.Count(); ++i) {
    if (columns_.Items(i)->Field() != field) continue;
    SelectColumn(i + indicatorOffset_, 0);
    if (SelectedIndex() == i && CanFocus()) {
      SetFocus();
      ShowEditor();
    }
    return;
  }
}

// Rows -----------------------------------------------------------------------------------------

int TCustomDBGridEh::VisibleDataRowCount() const {
  int n = VisibleRowCount();
  if (footerRowCount_ > 0) n -= footerRowCount_ + 1;
  return std::max(n, 1);
}

void TCustomDBGridEh::RecountRows() {
  int dataRows = 1;
  TGridDataLinkEh &link = dataLink_;
  bool withRecords = link.Active() && !DataSet()->IsEmpty() && HandleAllocated();
  int lineHeight = DefaultRowHeight() + ((dbOptions_ & dgRowLines) ? GridLineWidth() : 0);
  int titleHeight = titleRowCount_ > 0 ? RowLineWidth(0) : 0;
  int footerHeight = footerRowCount_ * lineHeight;
  if (withRecords) {
    int buffer = std::max(1, (ClientHeight() - titleHeight - footerHeight) / std::max(lineHeight, 1));
    link.SetBufferCount(buffer);
    dataRows = std::max(link.RecordCount(), 1);
  }
  int count = dataRows + titleRowCount_ + (footerRowCount_ > 0 ? footerRowCount_ + 1 : 0);
  if (Row() >= count) FocusCell(Col(), count - 1);
  dataRowCount_ = dataRows;
  SetRowCount(count);
  // Rows that were the filler before keep no height of it.
  for (int r = titleRowCount_; r < count; ++r)
    if (r != titleRowCount_ + dataRows && RowHeights(r) != DefaultRowHeight())
      SetRowHeights(r, DefaultRowHeight());
  if (footerRowCount_ > 0) {
    int filler = titleRowCount_ + dataRows;
    int rest = ClientHeight() - titleHeight - dataRows * lineHeight - footerHeight;
    SetRowHeights(filler, std::max(rest - ((dbOptions_ & dgRowLines) ? GridLineWidth() : 0), 0));
  }
  if (withRecords) SyncCurrentRow();
}

void TCustomDBGridEh::SyncCurrentRow() {
  if (!dataLink_.Active() || !HandleAllocated() || Loading()) return;
  int target = dataLink_.ActiveRecord() + titleRowCount_;
  if (target >= RowCount()) return;
  if (target != Row()) {
    if (!(dbOptions_ & dgAlwaysShowEditor)) HideEditor();
    int oldRow = Row();
    FocusCell(Col(), target);
    InvalidateRow(oldRow);
    InvalidateRow(target);
    InvalidateEditor();
  }
  if (EditorMode() && InplaceEditor() && InplaceEditor()->Text() != GetEditText(Col(), Row()))
    InvalidateEditor();
}

void TCustomDBGridEh::InvalidateFooter() {
  if (footerRowCount_ <= 0 || !HandleAllocated()) return;
  for (int r = titleRowCount_ + dataRowCount_ + 1; r < RowCount(); ++r)
    InvalidateRow(r);
}

// Scroll bar -----------------------------------------------------------------------------------

bool TCustomDBGridEh::UpdateVertScrollBar() {
  if (!HandleAllocated()) return false;
  HWND h = HandleIfAllocated();
  bool wasShown = (GetWindowLongPtrW(h, GWL_STYLE) & WS_VSCROLL) != 0;
  TDataSet *ds = DataSet();
  bool active = dataLink_.Active();
  SCROLLINFO si{sizeof si, SIF_RANGE | SIF_PAGE | SIF_POS, 0, 4, 0, 0, 0};
  // The summary list numbers the records (its own order for a dataset that cannot).
  if (active && sumList_->IsSequenced()) {
    int page = VisibleDataRowCount();
    si.nMin = 1;
    si.nMax = std::max(sumList_->RecordCount() + page - 1, 1);
    si.nPage = static_cast<UINT>(page);
    TDataSetState state = ds->State();
    if (state == TDataSetState::dsBrowse || state == TDataSetState::dsEdit)
      si.nPos = std::max(sumList_->RecNo(), 1);
    else {
      SCROLLINFO old{sizeof old, SIF_POS, 0, 0, 0, 0, 0};
      GetScrollInfo(h, SB_VERT, &old);
      si.nPos = old.nPos;
    }
  } else if (active) {
    si.nPos = ds->Bof() ? 0 : (ds->Eof() ? 4 : 2);
  }
  TWinControl *ext = vertScrollBar_.ExtScrollBar();
  TScrollBarVisibleModeEh mode = vertScrollBar_.VisibleMode();
  if (mode == TScrollBarVisibleModeEh::sbNeverShowEh || ext) {
    ShowScrollBar(h, SB_VERT, FALSE);
    if (ext && ext->HandleAllocated()) SetScrollInfo(ext->HandleIfAllocated(), SB_CTL, &si, TRUE);
  } else if (mode == TScrollBarVisibleModeEh::sbAlwaysShowEh) {
    si.fMask |= SIF_DISABLENOSCROLL;
    ShowScrollBar(h, SB_VERT, TRUE);
    SetScrollInfo(h, SB_VERT, &si, TRUE);
  } else {
    // Shown when the page does not cover the range (the base grid may have hidden the bar when
    // it changed its own scroll bars).
    bool wanted = si.nPage < static_cast<UINT>(si.nMax - si.nMin + 1);
    if (wanted != wasShown) ShowScrollBar(h, SB_VERT, wanted);
    SCROLLINFO now{sizeof now, SIF_RANGE | SIF_PAGE | SIF_POS, 0, 0, 0, 0, 0};
    // Only a change is worth the bar's repaint.
    if (wanted != wasShown || !GetScrollInfo(h, SB_VERT, &now) || now.nMin != si.nMin ||
        now.nMax != si.nMax || now.nPage != si.nPage || now.nPos != si.nPos)
      SetScrollInfo(h, SB_VERT, &si, TRUE);
  }
  bool shown = (GetWindowLongPtrW(h, GWL_STYLE) & WS_VSCROLL) != 0;
  return shown != wasShown;
}

void TCustomDBGridEh::UpdateScrollBars() {
  TCustomGrid::UpdateScrollBars();
  if (!inLayout_) UpdateVertScrollBar();
}

// Focus and pending edits ----------------------------------------------------------------------

bool TCustomDBGridEh::AcquireFocus() {
  if (!CanFocus()) return true;
  auto focusedHere = [this] {
    return Focused() || (InplaceEditor() && InplaceEditor()->HandleAllocated() && InplaceEditor()->Focused());
  };
  if (!focusedHere()) {
    try {
      SetFocus();
    } catch (const EInvalidOperation &) {
      return false;
    }
    // The form may not have handed the focus on yet (an inactive form): ask directly once more.
    if (!focusedHere() && HandleAllocated()) ::SetFocus(HandleIfAllocated());
  }
  return focusedHere();
}

void TCustomDBGridEh::PostPendingEdits() {
  if (dataLink_.Active()) dataLink_.UpdateRecord();
}

void TCustomDBGridEh::DoExit() {
  if (dataLink_.Active()) {
    TDataSet *ds = DataSet();
    // A refused post takes the focus back, so that the edit can be put right.
    TScopeExit keepFocus([this] {
      if (CanFocus() && HandleAllocated()) ::SetFocus(HandleIfAllocated());
    });
    if ((dbOptions_ & dgCancelOnExit) && ds->State() == TDataSetState::dsInsert && !ds->Modified())
      ds->Cancel();
    else
      PostPendingEdits();
    keepFocus.Dismiss();
  }
  TCustomGrid::DoExit();
}

} // namespace qv
