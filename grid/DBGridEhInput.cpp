// The grid's input: mouse buttons in the stated order, keys, typed characters, incremental
// search, the wheel and the vertical scroll bar.
#include "grid/DBGridEh.h"

#include "grid/DBGridEhTexts.h"
#include "platform/base/ScopeExit.h"
#include "platform/base/Text.h"
#include "platform/forms/Forms.h"

#include <algorithm>
#include <cstdlib>

namespace qv {

namespace {

constexpr UINT_PTR kSearchTimerId = 0x5EA1;
constexpr UINT kSearchPauseMs = 1500;

bool StartsWithNoCase(const std::string &text, const std::string &prefix) {
  if (prefix.size() > text.size()) return false;
  return LowerCase(text.substr(0, prefix.size())) == LowerCase(prefix);
}

// Removes the last UTF-8 character (all of its bytes).
void PopCharacter(std::string &s) {
  while (!s.empty()) {
    unsigned char c = static_cast<unsigned char>(s.back());
    s.pop_back();
    if ((c & 0xC0) != 0x80) break;
  }
}

} // namespace

// Mouse ----------------------------------------------------------------------------------------

void TCustomDBGridEh::MouseDown(TMouseButton button, uint32_t shift, int x, int y) {
  if (button == TMouseButton::mbRight && HandleAllocated()) SetCapture(HandleIfAllocated());
  if (!AcquireFocus()) return;

  if (button == TMouseButton::mbLeft && (shift & ssDouble)) {
    // Check-box and image columns step their value here once they exist.
    TControl::MouseDown(button, shift, x, y);
    return;
  }

  int sizingCol = -1;
  if (button == TMouseButton::mbLeft && (dbOptions_ & dgColumnResize) && ColSizingZone(x, y, sizingCol)) {
    PostPendingEdits();
    sizingStarted_ = true;
    TCustomGrid::MouseDown(button, shift, x, y);
    return;
  }

  TGridCoord cell = MouseCoord(x, y);
  bool titleRow = cell.Y >= 0 && cell.Y < titleRowCount_;
  TColumnEh *column = ColumnOfGridCol(cell.X);
  if (titleRow && button == TMouseButton::mbLeft && SelectByTitleClick(cell, y, shift)) {
    TControl::MouseDown(button, shift, x, y);
    return;
  }
  if (titleRow && column) {
    if ((dbOptions_ & dgColumnResize) && button == TMouseButton::mbRight) {
      // A right press on a title acts as a left press so the base grid can move the column.
      rightAsLeft_ = true;
      TCustomGrid::MouseDown(TMouseButton::mbLeft, shift, x, y);
      return;
    }
    if (button == TMouseButton::mbLeft && column->Title()->TitleButton()) {
      titlePressed_ = true;
      pressedCol_ = cell.X;
      if (HandleAllocated()) SetCapture(HandleIfAllocated());
      InvalidateCell(cell.X, cell.Y);
      return;
    }
  }
  if (titleRow && (dbOptions_ & dgColumnResize)) {
    PostPendingEdits();
    TCustomGrid::MouseDown(button, shift, x, y);
    return;
  }

  if (DataRowOfGridRow(cell.Y) && dataLink_.Active()) {
    {
      TLayoutHold hold(*this);
      PostPendingEdits();
      HideEditor();
      TGridCoord old{Col(), Row()};
      TDBCell oldCell = CurrentDBCell();
      // A Shift-click that extends a record selection leaves the current record where it is.
      bool extending = (shift & ssShift) && (dbOptions_ & dgMultiSelect) &&
                       ((cell.X == 0 && indicatorOffset_ > 0) || (dbOptions_ & dgRowSelect));
      uint64_t clicked = RowBookmark(cell.Y);
      if (cell.Y != Row() && !extending) dataLink_.MoveBy(cell.Y - Row());
      if (cell.X >= indicatorOffset_) SelectColumn(cell.X, 0);
      if (button == TMouseButton::mbLeft) SelectByDataClick(cell, oldCell, clicked, shift);
      if ((dbOptions_ & dgAlwaysShowEditor) || (cell == old && cell.X >= indicatorOffset_)) ShowEditor();
    }
    Update();
    TControl::MouseDown(button, shift, x, y);
    return;
  }
  TControl::MouseDown(button, shift, x, y);
}

void TCustomDBGridEh::MouseUp(TMouseButton button, uint32_t shift, int x, int y) {
  bool dragEnded =
      sizingStarted_ || GridState() == TGridState::gsColSizing || GridState() == TGridState::gsRowSizing;
  sizingStarted_ = false;
  if (titlePressed_) {
    titlePressed_ = false;
    int pressed = pressedCol_;
    pressedCol_ = -1;
    if (GetCapture() == HandleIfAllocated()) ReleaseCapture();
    InvalidateCell(pressed, 0);
    TGridCoord cell = MouseCoord(x, y);
    TColumnEh *column = ColumnOfGridCol(pressed);
    if (column && cell.X == pressed && cell.Y >= 0 && cell.Y < titleRowCount_) {
      OnTitleBtnClick(this, column);
      if (optionsEh_ & dghAutoSortMarking) {
        TSortMarkerEh m = column->Title()->SortMarker();
        column->Title()->SetSortMarker(m == TSortMarkerEh::smDownEh ? TSortMarkerEh::smUpEh
                                                                    : TSortMarkerEh::smDownEh);
        if (!(optionsEh_ & dghMultiSortMarking) || !(shift & ssCtrl))
          for (int i = 0; i < columns_.Count(); ++i)
            if (columns_.Items(i) != column)
              columns_.Items(i)->Title()->SetSortMarker(TSortMarkerEh::smNoneEh);
        OnSortMarkingChanged(this);
      }
    }
  }
  if (rightAsLeft_ && button == TMouseButton::mbRight) {
    rightAsLeft_ = false;
    TCustomGrid::MouseUp(TMouseButton::mbLeft, shift, x, y);
  } else {
    TCustomGrid::MouseUp(button, shift, x, y);
  }
  if (button == TMouseButton::mbRight && GetCapture() == HandleIfAllocated()) ReleaseCapture();

  bool overEditor = EditorMode() && InplaceEditor() && InplaceEditor()->Visible() &&
                    InplaceEditor()->BoundsRect().Contains({x, y});
  if (dragEnded || overEditor || button != TMouseButton::mbLeft) return;
  TGridCoord cell = MouseCoord(x, y);
  TColumnEh *column = ColumnOfGridCol(cell.X);
  if (!column) return;
  if (cell.Y >= 0 && cell.Y < titleRowCount_)
    OnTitleClick(this, column);
  else if (DataRowOfGridRow(cell.Y))
    OnCellClick(this, ColumnOfGridCol(Col()));
}

// Columns --------------------------------------------------------------------------------------

bool TCustomDBGridEh::SelectCell(int, int) { return true; }

void TCustomDBGridEh::SelectColumn(int target, int direction) {
  PostPendingEdits();
  int first = indicatorOffset_, last = ColCount() - 1;
  if (last < first) return;
  target = std::clamp(target, first, last);
  if (direction != 0) {
    while (target >= first && target <= last && ColWidths(target) <= 0)
      target += direction;
    if (target < first || target > last) {
      StopSearch();
      return;
    }
  }
  if (target != Col()) {
    int before = Col();
    OnColExit(this);
    if (Col() != before) {
      StopSearch();
      return;
    }
    if (!(dbOptions_ & dgAlwaysShowEditor)) HideEditor();
    int row = Row();
    MoveCurrent(target, row);
    InvalidateRow(row);
    if (dbOptions_ & dgAlwaysShowEditor) ShowEditor();
    OnColEnter(this);
  }
  StopSearch();
}

void TCustomDBGridEh::MoveRecords(int distance) {
  if (distance != 0) dataLink_.MoveBy(distance);
}

void TCustomDBGridEh::TabToNext(bool backwards) {
  // Columns with a tab stop; a grid where none has one (read-only) tabs through the shown ones.
  bool anyStop = std::find(tabStops_.begin(), tabStops_.end(), true) != tabStops_.end();
  auto candidate = [&](int col) {
    if (col < indicatorOffset_ || col >= ColCount() || ColWidths(col) <= 0) return false;
    return anyStop ? static_cast<bool>(tabStops_[col]) : true;
  };
  int step = backwards ? -1 : 1;
  for (int c = Col() + step; c >= indicatorOffset_ && c < ColCount(); c += step)
    if (candidate(c)) {
      SelectColumn(c, 0);
      return;
    }
  // Wrap to the next (previous) record's first (last) column.
  if (dataLink_.MoveBy(step) == 0) return;
  int c = backwards ? ColCount() - 1 : indicatorOffset_;
  for (; c >= indicatorOffset_ && c < ColCount(); c += step)
    if (candidate(c)) {
      SelectColumn(c, 0);
      return;
    }
}

// Keys -----------------------------------------------------------------------------------------

bool TCustomDBGridEh::WantsKey(WPARAM vk) const {
  if (vk == VK_TAB) return (dbOptions_ & dgTabs) != 0;
  if (vk == VK_RETURN) return (optionsEh_ & dghEnterAsTab) != 0 || inSearch_;
  if (vk == VK_ESCAPE) {
    TDataSet *ds = DataSet();
    return inSearch_ || EditorMode() || selection_.SelectionType() != TDBGridEhSelectionType::gstNon ||
           (ds && (ds->State() == TDataSetState::dsEdit || ds->State() == TDataSetState::dsInsert));
  }
  return vk == VK_LEFT || vk == VK_RIGHT || vk == VK_UP || vk == VK_DOWN;
}

bool TCustomDBGridEh::DoKeyDown(WORD &key, uint32_t shift) {
  // OnKeyDown first; the base grid's own cell movement does not apply to a data grid.
  if (TCustomControl::DoKeyDown(key, shift)) return true;
  return KeyDownAction(key, shift);
}

void TCustomDBGridEh::DeleteRecords() {
  if (!dataLink_.Active()) return;
  TDataSet *ds = DataSet();
  if (selection_.SelectionType() != TDBGridEhSelectionType::gstNon && (editActions_ & geaDeleteEh)) {
    DeleteSelection(*this, false);
    return;
  }
  if (readOnly_ || ds->IsEmpty() || !ds->CanModify() || !(allowedOperations_ & alopDeleteEh)) return;
  bool rows = selection_.SelectionType() == TDBGridEhSelectionType::gstRecordBookmarks &&
              selection_.Rows().Count() > 0;
  if ((dbOptions_ & dgConfirmDelete) &&
      Application->MessageBox(DeleteRecordsQuestion(rows ? selection_.Rows().Count() : 1), {},
                              MB_OKCANCEL | MB_ICONQUESTION) != IDOK)
    return;
  if (!rows) {
    ds->Delete();
    return;
  }
  selection_.Rows().DeleteSelected();
  selection_.Clear();
}

bool TCustomDBGridEh::KeyDownAction(WORD key, uint32_t shift) {
  if (!dataLink_.Active()) return false;
  TDataSet *ds = DataSet();
  TGridDataLinkEh &link = dataLink_;
  bool ctrl = (shift & ssCtrl) != 0, shft = (shift & ssShift) != 0;
  bool freshInsert = ds->State() == TDataSetState::dsInsert && !ds->Modified();
  // An appended record is the last one; the end flag is clear while it is being inserted.
  bool atEnd = ds->Eof() || ds->RecNo() >= ds->RecordCount();
  bool canChange = ds->CanModify() && !readOnly_ && (dbOptions_ & dgEditing);

  if (inSearch_) {
    if (key == VK_RETURN && ctrl) {
      SearchFor(searchText_, true, shft);
      return true;
    }
    if ((key == VK_RETURN || key == VK_ESCAPE || key == VK_F2) && !ctrl && !shft) {
      StopSearch();
      return true;
    }
  }

  switch (key) {
  case VK_UP:
    MoveWithSelection(shft, [&] {
      if (ctrl)
        MoveRecords(-link.ActiveRecord());
      else if (freshInsert && atEnd)
        ds->Cancel();
      else
        MoveRecords(-1);
    });
    return true;
  case VK_DOWN:
    MoveWithSelection(shft, [&] {
      if (ctrl) {
        MoveRecords(link.RecordCount() - 1 - link.ActiveRecord());
      } else if (freshInsert) {
        if (!atEnd) ds->Cancel();
      } else {
        MoveRecords(1);
        // Shift+Down extends a selection and never appends.
        if (ds->Eof() && canChange && !shft && (allowedOperations_ & alopAppendEh)) ds->Append();
      }
    });
    return true;
  case VK_PRIOR:
    if (ctrl)
      MoveRecords(-link.ActiveRecord());
    else
      MoveRecords(-VisibleDataRowCount());
    return true;
  case VK_NEXT:
    if (ctrl)
      MoveRecords(link.RecordCount() - 1 - link.ActiveRecord());
    else
      MoveRecords(VisibleDataRowCount());
    return true;
  case VK_HOME:
    if (ctrl || visibleColumns_.size() <= 1 || (dbOptions_ & dgRowSelect))
      ds->First();
    else
      SelectColumn(indicatorOffset_, 1);
    return true;
  case VK_END:
    if (ctrl || visibleColumns_.size() <= 1 || (dbOptions_ & dgRowSelect))
      ds->Last();
    else
      SelectColumn(ColCount() - 1, -1);
    return true;
  case VK_LEFT:
    MoveWithSelection(shft, [&] {
      if (dbOptions_ & dgRowSelect)
        SetLeftCol(LeftCol() - 1);
      else if (ctrl)
        SelectColumn(indicatorOffset_, 1);
      else
        SelectColumn(Col() - 1, -1);
    });
    return true;
  case VK_RIGHT:
    MoveWithSelection(shft, [&] {
      if (dbOptions_ & dgRowSelect)
        SetLeftCol(LeftCol() + 1);
      else if (ctrl)
        SelectColumn(ColCount() - 1, -1);
      else
        SelectColumn(Col() + 1, 1);
    });
    return true;
  case VK_TAB:
    if ((shift & ssAlt) || !(dbOptions_ & dgTabs)) return false;
    TabToNext(shft);
    return true;
  case VK_RETURN:
    if (optionsEh_ & dghEnterAsTab) {
      TabToNext(shft);
      return true;
    }
    return false;
  case VK_ESCAPE:
    // With nothing to cancel the key belongs to the form (its Cancel button).
    if (!WantsKey(VK_ESCAPE) && !dataLink_.Modified()) return false;
    // Reset: a modified editor shows the field again; otherwise the dataset's edit is cancelled.
    if (dataLink_.Modified()) {
      dataLink_.Modified(false);
      LinkRecordChanged(nullptr);
    } else {
      link.Reset();
    }
    selection_.Clear();
    StopSearch();
    if (!(dbOptions_ & dgAlwaysShowEditor)) HideEditor();
    return true;
  case VK_INSERT:
    if (ctrl || shft) return ClipboardKey(ctrl ? geaCopyEh : geaPasteEh);
    if (canChange) {
      if (allowedOperations_ & alopInsertEh)
        ds->Insert();
      else if (allowedOperations_ & alopAppendEh)
        ds->Append();
    }
    return true;
  case VK_DELETE:
    if (shft && !ctrl) return ClipboardKey(geaCutEh);
    if (!ctrl) return false;
    DeleteRecords();
    return true;
  case VK_F2:
    ShowEditor();
    return true;
  case 'A':
    if (ctrl && !shft && (editActions_ & geaSelectAllEh) && (allowedSelections_ & gstAll)) {
      selection_.SelectAll();
      return true;
    }
    return false;
  case 'C':
    return ctrl && !shft && ClipboardKey(geaCopyEh);
  case 'V':
    return ctrl && !shft && ClipboardKey(geaPasteEh);
  case 'X':
    return ctrl && !shft && ClipboardKey(geaCutEh);
  case 'F':
    if (ctrl && (optionsEh_ & dghIncSearch)) {
      inSearch_ = true;
      searchText_.clear();
      SetSearchTimer(false);
      HideEditor();
      InvalidateCell(0, Row());
      return true;
    }
    return false;
  default:
    return false;
  }
}

bool TCustomDBGridEh::DoKeyPress(wchar_t &key) {
  if (TCustomGrid::DoKeyPress(key)) return true;
  if (!dataLink_.Active()) return false;
  if (key == L'\b' && inSearch_) {
    PopCharacter(searchText_);
    // Only a typed search has a pause timer; one started with Ctrl+F has none.
    if (searchTimer_) SetSearchTimer(true);
    InvalidateRow(Row());
    return true;
  }
  if (key < 32 || key == 127) return false;
  TColumnEh *column = ColumnOfGridCol(Col());
  bool cannotEdit = !column || column->ReadOnly();
  bool toSearch = inSearch_ || ((optionsEh_ & dghIncSearch) && cannotEdit) ||
                  ((optionsEh_ & dghPreferIncSearch) && !(dbOptions_ & dgAlwaysShowEditor) && !EditorMode());
  if (!toSearch) return TypeIntoEditor(key);
  HandleIncSearchChar(key);
  return true;
}

// Incremental search ---------------------------------------------------------------------------

void TCustomDBGridEh::HandleIncSearchChar(wchar_t ch) {
  bool started = !inSearch_;
  std::string text = searchText_ + Narrow(std::wstring(1, ch));
  inSearch_ = true;
  HideEditor();
  if (SearchFor(text, false, false)) searchText_ = text;
  if (started || searchTimer_) SetSearchTimer(true);
  InvalidateRow(Row());
}

bool TCustomDBGridEh::SearchFor(const std::string &text, bool fromNext, bool backwards) {
  TColumnEh *column = ColumnOfGridCol(Col());
  TDataSet *ds = DataSet();
  if (!column || !dataLink_.Active() || ds->IsEmpty()) return false;
  auto matches = [&] { return StartsWithNoCase(column->DisplayText(), text); };
  if (!fromNext && matches()) return true;
  uint64_t bookmark = ds->GetBookmark();
  bool found = false;
  ds->DisableControls();
  const TScopeExit enable([ds] { ds->EnableControls(); });
  if (fromNext) {
    int step = backwards ? -1 : 1;
    while (ds->MoveBy(step) != 0)
      if (matches()) {
        found = true;
        break;
      }
  } else {
    ds->First();
    for (;;) {
      if (matches()) {
        found = true;
        break;
      }
      if (ds->MoveBy(1) == 0) break;
    }
  }
  if (!found) ds->GotoBookmark(bookmark);
  return found;
}

void TCustomDBGridEh::StopSearch() {
  if (!inSearch_) return;
  inSearch_ = false;
  searchText_.clear();
  SetSearchTimer(false);
  InvalidateRow(Row());
  if (dbOptions_ & dgAlwaysShowEditor) ShowEditor();
}

void TCustomDBGridEh::SetSearchTimer(bool on) {
  if (searchTimer_ && HandleAllocated()) KillTimer(HandleIfAllocated(), kSearchTimerId);
  searchTimer_ = 0;
  if (on && HandleAllocated())
    searchTimer_ = SetTimer(HandleIfAllocated(), kSearchTimerId, kSearchPauseMs, nullptr);
}

// Wheel and scroll bar -------------------------------------------------------------------------

void TCustomDBGridEh::HandleWheel(int delta) {
  if (!dataLink_.Active()) return;
  wheelRest_ += delta;
  while (wheelRest_ >= WHEEL_DELTA) {
    wheelRest_ -= WHEEL_DELTA;
    MoveRecords(-1);
  }
  while (wheelRest_ <= -WHEEL_DELTA) {
    wheelRest_ += WHEEL_DELTA;
    MoveRecords(1);
  }
}

void TCustomDBGridEh::HandleVertScroll(int code, int pos) {
  if (!AcquireFocus() || !dataLink_.Active()) return;
  TDataSet *ds = DataSet();
  TGridDataLinkEh &link = dataLink_;
  bool sequenced = sumList_->IsSequenced();
  switch (code) {
  case SB_LINEUP:
    MoveRecords(-link.ActiveRecord() - 1);
    break;
  case SB_LINEDOWN:
    MoveRecords(link.RecordCount() - link.ActiveRecord());
    break;
  case SB_PAGEUP:
    MoveRecords(-VisibleDataRowCount());
    break;
  case SB_PAGEDOWN:
    MoveRecords(VisibleDataRowCount());
    break;
  case SB_TOP:
    ds->First();
    break;
  case SB_BOTTOM:
    ds->Last();
    break;
  case SB_THUMBPOSITION:
    if (ignoreThumbRelease_) {
      ignoreThumbRelease_ = false;
      break;
    }
    if (!sequenced) {
      switch (pos) {
      case 0:
        ds->First();
        break;
      case 1:
        MoveRecords(-VisibleDataRowCount());
        break;
      case 3:
        MoveRecords(VisibleDataRowCount());
        break;
      case 4:
        ds->Last();
        break;
      default:
        break;
      }
    } else if (pos >= sumList_->RecordCount()) {
      ds->Last();
    } else if (pos <= 1) {
      ds->First();
    } else {
      sumList_->SetRecNo(pos);
    }
    break;
  case SB_THUMBTRACK:
    if (vertScrollBar_.Tracking() && sequenced) {
      MoveRecords(pos - sumList_->RecNo());
      ignoreThumbRelease_ = true;
    }
    break;
  default:
    break;
  }
  UpdateVertScrollBar();
}

// Messages -------------------------------------------------------------------------------------

void TCustomDBGridEh::WndProc(TMessage &m) {
  switch (m.Msg) {
  case WM_DEFERREDLAYOUTEH:
    DeferredLayoutArrived();
    return;
  case CN_KEYDOWN:
    lastCnKey_ = static_cast<WORD>(m.WParam);
    TCustomGrid::WndProc(m);
    if (m.Result) lastCnKey_ = 0;
    return;
  case WM_KEYDOWN: {
    WORD key = static_cast<WORD>(m.WParam);
    if (lastCnKey_ == key) {
      // The message loop already offered this key (CN_KEYDOWN); nobody took it.
      lastCnKey_ = 0;
      break;
    }
    if (Enabled() && DoKeyDown(key, KeyboardShiftState())) return;
    break;
  }
  case WM_TIMER:
    if (m.WParam == kSearchTimerId) {
      StopSearch();
      return;
    }
    break;
  case WM_SETCURSOR:
    if (LOWORD(m.LParam) == HTCLIENT && HandleAllocated()) {
      POINT p;
      GetCursorPos(&p);
      ::ScreenToClient(HandleIfAllocated(), &p);
      int col = -1;
      if ((dbOptions_ & dgColumnResize) && ColSizingZone(p.x, p.y, col)) {
        SetCursor(LoadCursorW(nullptr, IDC_SIZEWE));
        m.Result = TRUE;
        return;
      }
      if (InColumnSelectZone(MouseCoord(p.x, p.y), p.y)) {
        SetCursor(TGridResourcesEh::Get().DownCursor());
        m.Result = TRUE;
        return;
      }
    }
    break;
  case WM_SYSCOLORCHANGE:
    StyleColorsChanged();
    break;
  default:
    break;
  }
  TCustomGrid::WndProc(m);
}

} // namespace qv
