// Lookup columns: their list settings, the key and text a lookup cell starts from, writing an
// edited lookup cell back through its key fields, and the editor's lookup data list (filled from
// the column, sized, placed in the work area, positioned on the key, closed with or without
// taking the choice).
#include "grid/DBGridEhInplace.h"
#include "grid/DropDownPlace.h"
#include "platform/base/Text.h"
#include "platform/data/DataError.h"
#include "platform/data/DataSet.h"
#include "platform/data/Field.h"

namespace qv {

namespace {

// The key of a lookup field with one key field (null with several).
TDbValue SingleKey(const TField &field) {
  std::vector<TDbValue> keys = field.KeyValues();
  return keys.size() == 1 ? keys[0] : TDbValue{};
}

// Whether a record of the lookup dataset has the key.
bool KeyFound(const TField &field, const TDbValue &key) {
  const TLookupFieldDef &def = field.LookupDef();
  std::vector<std::string> names = FieldNameList(def.LookupKeyFields);
  if (!def.LookupDataSet || IsNullValue(key) || names.size() != 1) return false;
  return !IsNullValue(def.LookupDataSet->Lookup(names[0], {key}, names[0]));
}

// The key of the lookup record whose result text is text (letter case ignored); null for none.
TDbValue KeyOfText(const TField &field, const std::string &text) {
  const TLookupFieldDef &def = field.LookupDef();
  if (!def.LookupDataSet) return {};
  return def.LookupDataSet->Lookup(def.LookupResultField, {text}, def.LookupKeyFields, {true, false});
}

TRect WorkAreaRect() {
  RECT work{};
  SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
  return {work.left, work.top, work.right, work.bottom};
}

// Fills the list's columns: the drop-down box's own, else one per shown field.
void SetListColumns(TDBLookupGridEh &list, TColumnEh &column, const TLookupFieldDef &def) {
  TDBGridColumnsEh *to = list.Columns();
  TDBGridColumnsEh *own = column.DropDownBox()->Columns();
  to->BeginUpdate();
  to->Clear();
  if (own->Count() > 0) {
    for (int i = 0; i < own->Count(); ++i) {
      TColumnEh *from = own->Items(i), *c = to->Add();
      c->SetFieldName(from->FieldName());
      c->SetVisible(from->Visible());
      if (from->ExplicitValues() & cvWidth) c->SetWidth(from->Width());
      if (from->ExplicitValues() & cvAlignment) c->SetAlignment(from->Alignment());
      if (from->ExplicitValues() & cvTitleCaption) c->Title()->SetCaption(from->Title()->Caption());
    }
  } else {
    std::vector<std::string> names = FieldNameList(column.LookupDisplayFields());
    if (names.empty()) names.push_back(def.LookupResultField);
    for (const std::string &name : names)
      to->Add()->SetFieldName(name);
  }
  to->EndUpdate();
}

} // namespace

// Column settings -----------------------------------------------------------------------------

bool TColumnEh::IsLookup() const {
  TField *f = Field();
  return f && f->IsLookup();
}

TSpecRowEh *TColumnEh::DropDownSpecRow() {
  if (!specRow_) specRow_ = std::make_unique<TSpecRowEh>();
  return specRow_.get();
}

TColumnDropDownBoxEh *TColumnEh::DropDownBox() {
  if (!dropDownBox_) dropDownBox_ = std::make_unique<TColumnDropDownBoxEh>();
  return dropDownBox_.get();
}

bool TColumnEh::DropDownShowTitles() const {
  if (dropDownShowTitles_ >= 0) return dropDownShowTitles_ != 0;
  TCustomDBGridEh *grid = Grid();
  return grid && grid->ColumnDefValues()->DropDownShowTitles();
}

bool LookupListAllowed(TCustomDBGridEh &grid, TColumnEh &column) {
  TField *field = column.Field();
  if (!field || !field->IsLookup() || !field->CanModify() || column.ReadOnly() || grid.ReadOnly())
    return false;
  return grid.DataLink().Active() && !grid.DataLink().ReadOnly();
}

// Grid side -----------------------------------------------------------------------------------

TDbValue TCustomDBGridEh::LookupCellKey(TColumnEh *column) {
  TField *field = column ? column->Field() : nullptr;
  if (!field || !field->IsLookup()) return {};
  TDbValue key = SingleKey(*field);
  TSpecRowEh *row = column->DropDownSpecRow();
  return row->StandsFor(key, KeyFound(*field, key)) ? row->Value() : key;
}

std::string TCustomDBGridEh::LookupCellText(TColumnEh *column) {
  TField *field = column ? column->Field() : nullptr;
  if (!field) return {};
  TDbValue key = SingleKey(*field);
  TSpecRowEh *row = column->DropDownSpecRow();
  return row->StandsFor(key, KeyFound(*field, key)) ? row->CellText(0) : field->DisplayText();
}

void TCustomDBGridEh::UpdateColumnKey(TColumnEh *column, const std::string &text, const TDbValue &key) {
  std::string t = text;
  bool handled = false;
  column->OnUpdateData(this, t, handled);
  if (handled) return;
  if (TField *field = column->Field()) field->SetValue(key);
}

void TCustomDBGridEh::WriteLookupText(TColumnEh *column, const std::string &text) {
  TField *field = column->Field();
  if (!field) return;
  TDbValue key = editedValue_;
  TSpecRowEh *row = column->DropDownSpecRow();
  if (IsNullValue(key) && !Trim(text).empty()) {
    if (row->Visible() && SameText(text, row->CellText(0))) {
      key = row->Value();
    } else {
      // A typed text is the record showing it; an unknown one may be added by the handler.
      key = KeyOfText(*field, text);
      if (IsNullValue(key)) {
        bool recheck = false;
        column->OnNotInList(column, text, recheck);
        if (recheck) key = KeyOfText(*field, text);
      }
      // Storing null for a text the user typed would lose the cell's value without a word.
      if (IsNullValue(key))
        throw EDatabaseError("“" + text + "”不在字段“" + field->FieldName() + "”的查找列表中");
    }
  }
  if (!ColumnCanModify(column, true)) return;
  editedValue_ = key;
  UpdateColumnKey(column, text, key);
}

// The editor's data list ----------------------------------------------------------------------

void TDBGridInplaceEdit::DropDownDataList() {
  TCustomDBGridEh *grid = DBGrid();
  TColumnEh *column = grid->ColumnOfGridCol(grid->Col());
  TField *field = column ? column->Field() : nullptr;
  if (!field || !field->IsLookup() || !field->LookupDef().LookupDataSet) return;
  const TLookupFieldDef &def = field->LookupDef();
  TDataSet *lookup = def.LookupDataSet;
  if (!dataList_) {
    dataList_ = new TPopupDataGridEh(this);
    dataList_->OnCloseUp = [this](bool accept) { CloseUp(accept); };
  }
  TPopupDataGridEh &list = *dataList_;
  list.SetOwnerWindow(GetAncestor(Handle(), GA_ROOT));
  list.SetSizable(column->DropDownSizing());
  list.Font().Assign(Font());
  list.SetColor(Color());
  list.SetSpecRow(column->DropDownSpecRow());
  TColumnDropDownBoxEh *box = column->DropDownBox();
  uint32_t boxOptions = box->Options();
  auto flag = [](bool on, uint32_t bit) { return on ? bit : 0u; };
  list.SetOptions(dgAlwaysShowSelection | flag(column->DropDownShowTitles(), dgTitles) |
                  flag(boxOptions & dlgColLinesEh, dgColLines) |
                  flag(boxOptions & dlgRowLinesEh, dgRowLines) |
                  flag(boxOptions & dlgColumnResizeEh, dgColumnResize));
  list.SetOptionsEh(dghFixed3D | flag(boxOptions & dlgAutoSortMarkingEh, dghAutoSortMarking) |
                    flag(boxOptions & dlgMultiSortMarkingEh, dghMultiSortMarking));
  list.SetUseMultiTitle(box->UseMultiTitle());
  // The columns take their natural widths first: a width of -1 fits the list to them.
  list.SetAutoFitColWidths(false);
  SetListColumns(list, *column, def);
  list.Handle();
  list.Bind(lookup, def.LookupKeyFields, def.LookupResultField);
  list.RequestLayout();

  int rows = std::max(1, column->DropDownRows());
  bool scrolls = !lookup->IsSequenced() || lookup->RecordCount() > rows;
  if (!scrolls) rows = std::max(1, lookup->RecordCount());
  // The grid's bar would show for any second record; the list shows it only when rows are hidden.
  list.VertScrollBar()->SetVisibleMode(scrolls ? TScrollBarVisibleModeEh::sbAutoShowEh
                                               : TScrollBarVisibleModeEh::sbNeverShowEh);
  TSize frame = list.FrameSize();
  int height = list.ClientHeightFor(rows) + frame.cy;
  TRect cell = ScreenRect();
  int width = column->DropDownWidth();
  if (width == -1)
    width = list.ColumnsWidth() + frame.cx + (scrolls ? GetSystemMetrics(SM_CXVSCROLL) : 0);
  else if (width <= 0)
    width = cell.Width();
  width = std::max(width, cell.Width());
  TDropDownPlacement place = PlaceDropDown(cell, width, height, WorkAreaRect());
  list.SetAutoFitColWidths(box->AutoFitColWidths());
  list.LocateKey(grid->EditedValue());
  list.ShowAt(place.Bounds);
  SetButtonPressed(true);
}

void TDBGridInplaceEdit::CloseUpDataList(bool accept) {
  TCustomDBGridEh *grid = DBGrid();
  TColumnEh *column = grid->ColumnOfGridCol(grid->Col());
  TPopupDataGridEh &list = *dataList_;
  if (column && list.UserSized()) {
    // The size the user gave the list is kept for the next time.
    RECT wr{};
    GetWindowRect(list.Handle(), &wr);
    column->SetDropDownRows(std::max(1, list.RowsShown()));
    column->SetDropDownWidth(wr.right - wr.left);
  }
  bool chosen = accept && list.Choice() != TDBLookupGridEh::TChoice::None;
  TDbValue key = list.ChosenKey();
  std::string text = list.ChosenText();
  list.Hide();
  list.Unbind();
  SetButtonPressed(false);
  if (GetCapture()) ReleaseCapture();
  if (!chosen) {
    if (accept) return;
    SetText(grid->EditedText());
    grid->SetEditedValue(grid->LookupCellKey(column));
    return;
  }
  TField *field = column ? column->Field() : nullptr;
  try {
    if (!field || !grid->ColumnCanModify(column, true)) return;
  } catch (...) {
    SetText(field->EditText() + " ");
    throw;
  }
  grid->SetEditedValue(key);
  grid->SetEditedText(text);
  SetText(text);
  SendMessageW(Handle(), EM_SETSEL, 0, -1);
}

void TDBGridInplaceEdit::DataListTextChanged(const std::string &before) {
  if (Text() == before) return;
  // The key of the chosen record no longer goes with the text: it is looked up when written.
  if (TCustomDBGridEh *grid = DBGrid()) grid->SetEditedValue({});
  if (DataListVisible()) dataList_->SearchText(Text());
}

bool TDBGridInplaceEdit::DataListShortCut(WORD key, uint32_t shift) {
  TCustomDBGridEh *grid = DBGrid();
  TColumnEh *column = grid ? grid->ColumnOfGridCol(grid->Col()) : nullptr;
  if (!column) return false;
  TSpecRowEh *row = column->DropDownSpecRow();
  if (!row->Visible() || ShortCutOf(key, shift) != row->ShortCut()) return false;
  if (!BeginChange()) return true;
  if (DataListVisible()) dataList_->ChooseSpecRow();
  grid->SetEditedValue(row->Value());
  SetText(row->CellText(0));
  SendMessageW(Handle(), EM_SETSEL, 0, -1);
  return true;
}

} // namespace qv
