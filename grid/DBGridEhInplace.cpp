// The in-place editor (TDBGridInplaceEdit) and the grid's side of editing: when the editor may
// show, the text it starts from, ColumnCanModify, and writing the text back through the column.
#include "grid/DBGridEhInplace.h"

#include "grid/DropDownPlace.h"
#include "platform/base/Text.h"
#include "platform/classes/ClassBuilder.h"
#include "platform/data/DataSet.h"
#include "platform/data/Field.h"
#include "platform/graphics/GdiObjects.h"

#include <windowsx.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>

namespace qv {

namespace {

int IndexOfText(TStrings &list, const std::string &text) {
  for (int i = 0; i < list.Count(); ++i)
    if (SameText(list[i], text)) return i;
  return -1;
}

// The index of the KeyList entry whose PickList text this is (-1: none).
int KeyIndexOfText(TColumnEh &column, const std::string &text) {
  if (text.empty()) return -1;
  int i = IndexOfText(*column.PickList(), text);
  return i < column.KeyList()->Count() ? i : -1;
}

// The column's editor drops down its PickList.
bool DropsDownPickList(TEditStyleEh style, TColumnEh &column) {
  if (style == TEditStyleEh::esPickList) return true;
  TField *field = column.Field();
  return style == TEditStyleEh::esDropDown && column.PickList()->Count() > 0 &&
         !(field && field->IsNumeric());
}

// The look of the default button of an edit style.
TEditButtonStyleEh DefaultButtonStyle(TEditStyleEh style) {
  switch (style) {
  case TEditStyleEh::esEllipsis:
    return TEditButtonStyleEh::ebsEllipsisEh;
  case TEditStyleEh::esUpDown:
    return TEditButtonStyleEh::ebsUpDownEh;
  default:
    return TEditButtonStyleEh::ebsDropDownEh;
  }
}

bool IsEditing(const TDataSet *ds) {
  return ds && (ds->State() == TDataSetState::dsEdit || ds->State() == TDataSetState::dsInsert);
}

} // namespace

// Grid side ------------------------------------------------------------------------------------

TEditStyleEh ChooseEditStyle(TCustomDBGridEh &grid, TColumnEh &column) {
  switch (column.ButtonStyle()) {
  case TColumnButtonStyleEh::cbsEllipsis:
    return TEditStyleEh::esEllipsis;
  case TColumnButtonStyleEh::cbsUpDown:
    return TEditStyleEh::esUpDown;
  case TColumnButtonStyleEh::cbsDropDown:
    return TEditStyleEh::esDropDown;
  case TColumnButtonStyleEh::cbsNone:
    return TEditStyleEh::esSimple;
  case TColumnButtonStyleEh::cbsAuto:
    break;
  }
  if (LookupListAllowed(grid, column)) return TEditStyleEh::esDataList;
  if (column.PickList()->Count() > 0 && !column.ReadOnly()) return TEditStyleEh::esPickList;
  if (column.Field() && column.Field()->IsDate() && !column.ReadOnly()) return TEditStyleEh::esDateCalendar;
  return TEditStyleEh::esSimple;
}

bool TColumnEh::DropDownSizing() const {
  if (dropDownSizing_ >= 0) return dropDownSizing_ != 0;
  TCustomDBGridEh *grid = Grid();
  return grid && grid->ColumnDefValues()->DropDownSizing();
}

bool TCustomDBGridEh::CanEditShow() const {
  if (!TCustomGrid::CanEditShow() || !dataLink_.Active() || inSearch_ || inLayout_) return false;
  if (!DataRowOfGridRow(Row())) return false;
  TColumnEh *column = ColumnOfGridCol(Col());
  if (!column || !column->Visible() || column->Checkboxes()) return false;
  // A read-only grid refuses the editor: the exam's question list reacts to every click on its
  // current cell (storing the ticked options, showing the question again), which an editor
  // over that cell would take for itself.
  return !readOnly_;
}

std::string TCustomDBGridEh::GetEditText(int col, int) {
  TColumnEh *column = ColumnOfGridCol(col);
  if (!column || !dataLink_.Active()) return {};
  TField *field = column->Field();
  std::string text = field ? field->EditText() : std::string();
  if (column->KeyList()->Count() > 0) {
    int i = IndexOfText(*column->KeyList(), text);
    text = i >= 0 && i < column->PickList()->Count() ? (*column->PickList())[i] : std::string();
  }
  if (column->IsLookup()) text = LookupCellText(column);
  TColCellParamsEh params;
  params.Column = column;
  params.Col = col;
  params.Row = Row();
  params.State = gdSelected | gdFocused;
  params.Font = column->Font();
  params.Background = column->Color();
  params.Text = text;
  column->OnGetCellParams(this, params);
  return params.Text;
}

bool TCustomDBGridEh::ColumnCanModify(TColumnEh *column, bool putIntoEdit) {
  if (readOnly_ || !dataLink_.Active() || dataLink_.ReadOnly() || !column || column->ReadOnly()) return false;
  TField *field = column->Field();
  if (!field || !field->CanModify() || field->IsBlob()) return false;
  TDataSet *ds = DataSet();
  bool allowed = (allowedOperations_ & alopUpdateEh) || ds->State() == TDataSetState::dsInsert;
  if (!allowed) return false;
  if (!putIntoEdit) return true;
  if (!IsEditing(ds) && ds->IsEmpty()) return false;
  if (!dataLink_.Edit()) return false;
  dataLink_.Modified(true);
  return IsEditing(ds);
}

TInplaceEdit *TCustomDBGridEh::CreateEditor() { return new TDBGridInplaceEdit(this); }

void TCustomDBGridEh::UpdateColumnData(TColumnEh *column, const std::string &text, bool null) {
  std::string t = text;
  bool handled = false;
  column->OnUpdateData(this, t, handled);
  if (handled) return;
  TField *field = column->Field();
  if (!field) return;
  if (null)
    field->Clear();
  else
    field->SetEditText(t);
  // What the user wrote in the editor is offered again; a refused value never gets here.
  TInplaceEdit *editor = InplaceEditor();
  if (column->MRUList()->Active() && EditorMode() && editor) column->MRUList()->Add(editor->Text());
}

void TCustomDBGridEh::WriteEditedText() {
  TColumnEh *column = ColumnOfGridCol(Col());
  TInplaceEdit *editor = InplaceEditor();
  if (!column || !editor) return;
  std::string text = editor->Text();
  if (column->IsLookup()) return WriteLookupText(column, text);
  bool accept = false;
  if (column->KeyList()->Count() > 0) {
    // The text shown is a PickList item; the field takes the KeyList entry of the same index.
    // An unknown text may be added by OnNotInList; else the field becomes null.
    int i = KeyIndexOfText(*column, text);
    if (i < 0 && !text.empty() && column->OnNotInList) {
      column->OnNotInList(column, text, accept);
      if (accept) i = KeyIndexOfText(*column, text);
    }
    UpdateColumnData(column, i >= 0 ? (*column->KeyList())[i] : std::string(), i < 0);
    return;
  }
  if (!text.empty() && DropsDownPickList(ChooseEditStyle(*this, *column), *column) &&
      IndexOfText(*column->PickList(), text) < 0)
    column->OnNotInList(column, text, accept); // a pick list only suggests: the text is kept
  UpdateColumnData(column, text, false);
}

void TCustomDBGridEh::EditorEnter() {
  TDataSet *ds = DataSet();
  if (dataLink_.Active() && IsEditing(ds)) {
    // The text goes into the field and the record to the database; a refused value stops here
    // with the field's error, the editor keeping the text.
    ds->Post();
  }
  if (!(dbOptions_ & dgAlwaysShowEditor)) HideEditor();
}

bool TCustomDBGridEh::TypeIntoEditor(wchar_t key) {
  if (EditorMode() || !(dbOptions_ & dgEditing) || !CanEditShow()) return false;
  ShowEditor();
  TInplaceEdit *editor = InplaceEditor();
  if (!EditorMode() || !editor || !editor->HandleAllocated()) return false;
  editor->SetFocus();
  // The key replaces the whole text, as in a spreadsheet.
  SendMessageW(editor->HandleIfAllocated(), EM_SETSEL, 0, -1);
  SendMessageW(editor->HandleIfAllocated(), WM_CHAR, key, 1);
  return true;
}

// TDBGridInplaceEdit ---------------------------------------------------------------------------

const TClassInfo &TDBGridInplaceEdit::StaticClassInfo() {
  static const TClassInfo &info =
      DefineClass<TDBGridInplaceEdit, TInplaceEdit>("TDBGridInplaceEdit", [](auto &) {});
  return info;
}

TDBGridInplaceEdit::TDBGridInplaceEdit(TComponent *owner) : TInplaceEdit(owner) {}

TDBGridInplaceEdit::~TDBGridInplaceEdit() = default;

TCustomDBGridEh *TDBGridInplaceEdit::DBGrid() const { return dynamic_cast<TCustomDBGridEh *>(Grid()); }

void TDBGridInplaceEdit::CreateParams(TCreateParams &p) {
  TInplaceEdit::CreateParams(p);
  // A multi-line edit, so that the text can keep a margin at the top and wrap in tall rows.
  p.Style |= ES_MULTILINE;
  if (wordWrap_) p.Style &= ~static_cast<DWORD>(ES_AUTOHSCROLL);
}

void TDBGridInplaceEdit::UpdateContents() {
  TCustomDBGridEh *grid = DBGrid();
  if (!grid) return;
  TColumnEh *column = grid->ColumnOfGridCol(grid->Col());
  if (!column) return;
  if (ListVisible()) CloseUp(false);
  style_ = ChooseEditStyle(*grid, *column);
  Font().Assign(*column->Font());
  TColor background = column->Color();
  grid->OnGetCellParams(grid, column, &Font(), background, gdSelected | gdFocused);
  SetColor(background);
  bool wrap = column->WordWrap() && grid->TallRows();
  if (wrap != wordWrap_) {
    wordWrap_ = wrap;
    if (HandleAllocated()) DestroyHandle();
  }
  SetReadOnly(!grid->ColumnCanModify(column, false));
  BuildButtons(*column, grid->EditButtonWidth());
  TField *field = column->Field();
  int limit = field && field->DataType() == TFieldType::ftString && column->KeyList()->Count() == 0
                  ? field->Size()
                  : 0;
  std::string text = grid->GetEditText(grid->Col(), grid->Row());
  grid->SetEditedText(text);
  grid->SetEditedValue(grid->LookupCellKey(column));
  HWND h = Handle();
  SendMessageW(h, EM_LIMITTEXT, static_cast<WPARAM>(limit), 0);
  if (Text() != text) SetText(text);
  SendMessageW(h, EM_SETSEL, 0, -1);
  // The button area is the non-client part on the right; the text keeps its margins.
  SetWindowPos(h, nullptr, 0, 0, 0, 0,
               SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
  RECT rc{};
  GetClientRect(h, &rc);
  int top = grid->Flat() ? 1 : 2;
  rc.left += 2;
  rc.top += top;
  rc.right -= 2;
  SendMessageW(h, EM_SETRECTNP, 0, reinterpret_cast<LPARAM>(&rc));
}

bool TDBGridInplaceEdit::ListVisible() const {
  return CalculatorVisible() || PickListVisible() || CalendarVisible() || MRUListVisible() ||
         DataListVisible();
}

TColumnEh *TDBGridInplaceEdit::CurrentColumn() const {
  TCustomDBGridEh *grid = DBGrid();
  return grid ? grid->ColumnOfGridCol(grid->Col()) : nullptr;
}

bool TDBGridInplaceEdit::UsesPickList() const {
  TColumnEh *column = CurrentColumn();
  return column && DropsDownPickList(style_, *column);
}

TRect TDBGridInplaceEdit::ScreenRect() const {
  RECT wr{};
  GetWindowRect(HandleIfAllocated(), &wr);
  return {wr.left, wr.top, wr.right, wr.bottom};
}

void TDBGridInplaceEdit::BuildButtons(TColumnEh &column, int defaultWidth) {
  if (tracking_ >= 0 && GetCapture() == HandleIfAllocated()) ReleaseCapture();
  tracking_ = -1;
  buttons_.clear();
  TEditButtonsEh *items = column.EditButtons();
  for (int i = 0; i < items->Count(); ++i) {
    TEditButtonEh *item = items->Items(i);
    if (item->Visible())
      buttons_.push_back({item, item->Style(), item->Width() > 0 ? item->Width() : defaultWidth});
  }
  if (style_ != TEditStyleEh::esSimple)
    buttons_.push_back({nullptr, DefaultButtonStyle(style_), defaultWidth});
  buttonsWidth_ = 0;
  for (const TEditButtonControlEh &b : buttons_)
    buttonsWidth_ += b.Width;
}

TRect TDBGridInplaceEdit::EditButtonRect(int i) const {
  if (i < 0 || i >= EditButtonCount() || !HandleAllocated()) return {};
  RECT wr{};
  GetWindowRect(HandleIfAllocated(), &wr);
  int w = wr.right - wr.left, h = wr.bottom - wr.top;
  // Square buttons in tall rows; the whole height in ordinary ones.
  int bw = DBGrid() ? DBGrid()->EditButtonWidth() : buttons_[i].Width;
  int bh = bw * 3 / 2 < h ? bw : h;
  int left = w - buttonsWidth_;
  for (int k = 0; k < i; ++k)
    left += buttons_[k].Width;
  return {left, 0, left + buttons_[i].Width, bh};
}

int TDBGridInplaceEdit::ButtonAt(TPoint p) const {
  for (int i = 0; i < EditButtonCount(); ++i)
    if (EditButtonRect(i).Contains(p)) return i;
  return -1;
}

TPoint TDBGridInplaceEdit::WindowPointOfScreen(LPARAM lp) const {
  RECT wr{};
  GetWindowRect(HandleIfAllocated(), &wr);
  return {GET_X_LPARAM(lp) - wr.left, GET_Y_LPARAM(lp) - wr.top};
}

TPoint TDBGridInplaceEdit::WindowPointOfClient(LPARAM lp) const {
  POINT p{GET_X_LPARAM(lp), GET_Y_LPARAM(lp)};
  ::ClientToScreen(HandleIfAllocated(), &p);
  return WindowPointOfScreen(MAKELPARAM(p.x, p.y));
}

void TDBGridInplaceEdit::PaintButtons(HDC dc) {
  if (buttons_.empty()) return;
  RECT wr{};
  GetWindowRect(HandleIfAllocated(), &wr);
  int w = wr.right - wr.left;
  RECT area{w - buttonsWidth_, 0, w, wr.bottom - wr.top};
  TBrush brush;
  brush.SetColor(Color());
  FillRect(dc, &area, brush.Handle());
  bool flat = DBGrid() && DBGrid()->Flat();
  for (int i = 0; i < EditButtonCount(); ++i) {
    TEditButtonControlEh &b = buttons_[i];
    DrawEditButtonEh(dc, EditButtonRect(i), b.Style, b.Item ? &b.Item->ButtonGlyph() : nullptr, b.Press,
                     flat);
  }
}

void TDBGridInplaceEdit::SetButtonPress(int i, TEditButtonPressEh press) {
  if (i < 0 || i >= EditButtonCount() || buttons_[i].Press == press) return;
  buttons_[i].Press = press;
  if (HandleAllocated()) SendMessageW(HandleIfAllocated(), WM_NCPAINT, 1, 0);
}

void TDBGridInplaceEdit::SetButtonPressed(bool on) {
  // The style's own button is the last one.
  if (buttons_.empty() || buttons_.back().Item) return;
  SetButtonPress(EditButtonCount() - 1, on ? TEditButtonPressEh::Pressed : TEditButtonPressEh::None);
}

void TDBGridInplaceEdit::DefaultButtonDown(bool lowerHalf) {
  if (style_ == TEditStyleEh::esDropDown || style_ == TEditStyleEh::esPickList ||
      style_ == TEditStyleEh::esDateCalendar || style_ == TEditStyleEh::esDataList) {
    if (ListVisible())
      CloseUp(false);
    else
      DropDown();
    return;
  }
  int own = EditButtonCount() - 1;
  SetButtonPress(own, lowerHalf ? TEditButtonPressEh::LowerPressed : TEditButtonPressEh::Pressed);
  EditButtonClick(lowerHalf);
  SetButtonPress(own, TEditButtonPressEh::None);
}

void TDBGridInplaceEdit::PressEditButton(int i, bool lowerHalf) {
  TEditButtonEh *item = buttons_[i].Item;
  trackingLower_ = lowerHalf && item->Style() == TEditButtonStyleEh::ebsUpDownEh;
  tracking_ = i;
  SetButtonPress(i, trackingLower_ ? TEditButtonPressEh::LowerPressed : TEditButtonPressEh::Pressed);
  // The click comes when the mouse is let go over the button.
  SetCapture(HandleIfAllocated());
  item->OnDown(item, !trackingLower_);
}

void TDBGridInplaceEdit::TrackEditButton(TPoint p) {
  TEditButtonPressEh held = trackingLower_ ? TEditButtonPressEh::LowerPressed : TEditButtonPressEh::Pressed;
  SetButtonPress(tracking_, EditButtonRect(tracking_).Contains(p) ? held : TEditButtonPressEh::None);
}

void TDBGridInplaceEdit::ReleaseEditButton() {
  int i = tracking_;
  tracking_ = -1;
  bool over = buttons_[i].Press != TEditButtonPressEh::None;
  TEditButtonEh *item = buttons_[i].Item;
  SetButtonPress(i, TEditButtonPressEh::None);
  if (GetCapture() == HandleIfAllocated()) ReleaseCapture();
  if (over) ClickEditButtonItem(item, trackingLower_);
}

bool TDBGridInplaceEdit::PressShortCut(TShortCut shortCut) {
  for (int i = 0; i < EditButtonCount(); ++i) {
    TEditButtonEh *item = buttons_[i].Item;
    if (!item || item->ShortCut() == 0 || item->ShortCut() != shortCut) continue;
    SetButtonPress(i, TEditButtonPressEh::Pressed);
    item->OnDown(item, true);
    SetButtonPress(i, TEditButtonPressEh::None);
    ClickEditButtonItem(item, false);
    return true;
  }
  return false;
}

void TDBGridInplaceEdit::ClickEditButtonItem(TEditButtonEh *item, bool lowerHalf) {
  bool handled = false;
  item->OnClick(item, handled);
  if (handled) return;
  if (item->DropdownMenu()) {
    ShowButtonMenu(item);
    return;
  }
  switch (item->Style()) {
  case TEditButtonStyleEh::ebsUpDownEh:
    StepValue(lowerHalf);
    return;
  case TEditButtonStyleEh::ebsPlusEh:
    StepValue(false);
    return;
  case TEditButtonStyleEh::ebsMinusEh:
    StepValue(true);
    return;
  default:
    return;
  }
}

void TDBGridInplaceEdit::ShowButtonMenu(TEditButtonEh *item) {
  // OnClick may have moved the editor to another column: the button must still be here.
  int i = 0;
  while (i < EditButtonCount() && buttons_[i].Item != item)
    ++i;
  if (i == EditButtonCount() || !HandleAllocated()) return;
  RECT wr{};
  GetWindowRect(HandleIfAllocated(), &wr);
  TRect b = EditButtonRect(i);
  SetButtonPress(i, TEditButtonPressEh::Pressed);
  item->DropdownMenu()->Popup(wr.left + b.Left, wr.top + b.Bottom);
  SetButtonPress(i, TEditButtonPressEh::None);
}

void TDBGridInplaceEdit::WndProc(TMessage &m) {
  switch (m.Msg) {
  case WM_NCCALCSIZE:
    TInplaceEdit::WndProc(m);
    if (m.WParam) {
      // Buttons wider than the cell leave no text area, never a negative one.
      RECT &client = reinterpret_cast<NCCALCSIZE_PARAMS *>(m.LParam)->rgrc[0];
      client.right = std::max(client.left, client.right - buttonsWidth_);
    }
    return;
  case WM_NCPAINT: {
    TInplaceEdit::WndProc(m);
    const TWindowDC dc(HandleIfAllocated(), true);
    PaintButtons(dc.Get());
    return;
  }
  case WM_NCHITTEST: {
    TInplaceEdit::WndProc(m);
    RECT wr{};
    GetWindowRect(HandleIfAllocated(), &wr);
    POINT p{GET_X_LPARAM(m.LParam) - wr.left, GET_Y_LPARAM(m.LParam) - wr.top};
    if (buttonsWidth_ > 0 && p.x >= wr.right - wr.left - buttonsWidth_) m.Result = HTBORDER;
    return;
  }
  case WM_NCLBUTTONDOWN:
  case WM_NCLBUTTONDBLCLK: {
    TPoint p = WindowPointOfScreen(m.LParam);
    int i = ButtonAt(p);
    if (i < 0) break;
    if (!Focused()) SetFocus();
    TRect b = EditButtonRect(i);
    bool lowerHalf = p.Y >= (b.Top + b.Bottom) / 2;
    if (buttons_[i].Item)
      PressEditButton(i, lowerHalf);
    else
      DefaultButtonDown(lowerHalf);
    m.Result = 0;
    return;
  }
  case WM_MOUSEMOVE:
    if (tracking_ < 0) break;
    TrackEditButton(WindowPointOfClient(m.LParam));
    return;
  case WM_LBUTTONUP:
    if (tracking_ < 0) break;
    ReleaseEditButton();
    return;
  case WM_CAPTURECHANGED:
    // Taken away while held: the button goes up without a click.
    if (tracking_ >= 0) {
      SetButtonPress(tracking_, TEditButtonPressEh::None);
      tracking_ = -1;
    }
    break;
  case WM_PASTE:
  case WM_CUT:
  case WM_CLEAR:
    if (!BeginChange()) return;
    [[fallthrough]];
  case WM_CHAR:
  case WM_KEYDOWN: {
    // Typing moves the open list's selection to the typed text, or offers recorded texts. In a
    // lookup cell only Delete of the keys edits the text (others close the list and set the
    // text themselves).
    bool lookupTyped = style_ == TEditStyleEh::esDataList && (m.Msg != WM_KEYDOWN || m.WParam == VK_DELETE);
    std::string before = Text();
    TInplaceEdit::WndProc(m);
    if (PickListVisible())
      pickList_->SearchFor(Text());
    else if (lookupTyped)
      DataListTextChanged(before);
    else if (Text() != before)
      TextTyped();
    return;
  }
  default:
    break;
  }
  TInplaceEdit::WndProc(m);
}

bool TDBGridInplaceEdit::BeginChange() {
  TCustomDBGridEh *grid = DBGrid();
  if (!grid || ReadOnly()) return false;
  if (grid->DataLink().Modified()) return true;
  TColumnEh *column = grid->ColumnOfGridCol(grid->Col());
  // The dataset's change to edit state refreshes the editor only when the field reads
  // differently; the text and the selection being typed over stay.
  return grid->ColumnCanModify(column, true);
}

bool TDBGridInplaceEdit::WantsKey(WPARAM vk) const {
  return vk == VK_LEFT || vk == VK_RIGHT || vk == VK_RETURN;
}

bool TDBGridInplaceEdit::DoKeyDown(WORD &key, uint32_t shift) {
  TCustomDBGridEh *grid = DBGrid();
  if (!grid) return TInplaceEdit::DoKeyDown(key, shift);
  if (MRUListVisible()) {
    if (key == VK_ESCAPE || (key == VK_RETURN && mruList_->ItemIndex() >= 0)) {
      CloseUpMRUList(key == VK_RETURN);
      return true;
    }
    if (key == VK_RETURN) {
      CloseUpMRUList(false); // nothing chosen: Enter goes on as usual
    } else if (!(shift & ssAlt) && key != VK_HOME && key != VK_END && mruList_->MoveByKey(key)) {
      return true;
    }
  }
  if (PressShortCut(ShortCutOf(key, shift))) return true;
  if (ListVisible()) {
    if ((shift & ssAlt) && (key == VK_UP || key == VK_DOWN)) {
      CloseUp(true);
      return true;
    }
    if (CalculatorVisible() && (key == VK_ESCAPE || key == VK_RETURN)) {
      calculator_->KeyPressed(key == VK_ESCAPE ? '\x1b' : '\r');
      return true;
    }
    if (CalendarVisible() && calendar_->HandleKey(key)) return true;
    if (PickListVisible()) {
      if (key == VK_ESCAPE || key == VK_RETURN) {
        CloseUp(key == VK_RETURN);
        return true;
      }
      if (key != VK_HOME && key != VK_END && pickList_->MoveByKey(key)) return true;
    }
    if (DataListVisible()) {
      if (key == VK_ESCAPE || key == VK_RETURN) {
        CloseUp(key == VK_RETURN);
        return true;
      }
      if (dataList_->MoveByKey(key)) return true;
    }
  }
  if (style_ == TEditStyleEh::esDataList && DataListShortCut(key, shift)) return true;
  bool dropStyle = style_ == TEditStyleEh::esDropDown || style_ == TEditStyleEh::esPickList ||
                   style_ == TEditStyleEh::esDateCalendar || style_ == TEditStyleEh::esDataList;
  if (dropStyle && (((shift & ssAlt) && key == VK_DOWN) || key == VK_F4)) {
    ListVisible() ? CloseUp(true) : DropDown();
    return true;
  }
  if (key == VK_RETURN && (shift & ssCtrl) && (dropStyle || style_ == TEditStyleEh::esEllipsis)) {
    EditButtonClick();
    return true;
  }
  if (key == VK_RETURN && !(grid->OptionsEh() & dghEnterAsTab)) {
    grid->EditorEnter();
    return true;
  }
  if (key == VK_DELETE && !BeginChange()) return true;
  return TInplaceEdit::DoKeyDown(key, shift);
}

bool TDBGridInplaceEdit::DoKeyPress(wchar_t &key) {
  if (TInplaceEdit::DoKeyPress(key)) return true;
  if (CalculatorVisible()) {
    if (key > 0 && key < 128) calculator_->KeyPressed(static_cast<char>(key));
    return true;
  }
  if (key == VK_RETURN || key == VK_ESCAPE || key == VK_TAB) return true; // handled as keys
  bool changes = key == L'\b' || key >= 32 || key == 22 || key == 24;     // Ctrl+V, Ctrl+X
  if (changes && !BeginChange()) {
    MessageBeep(0);
    return true;
  }
  TCustomDBGridEh *grid = DBGrid();
  TColumnEh *column = grid ? grid->ColumnOfGridCol(grid->Col()) : nullptr;
  bool hasList = UsesPickList() || style_ == TEditStyleEh::esDataList;
  if (changes && column && column->AutoDropDown() && hasList && !ListVisible()) DropDown();
  return false;
}

void TDBGridInplaceEdit::DoExit() {
  if (ListVisible()) CloseUp(false);
  TInplaceEdit::DoExit();
}

void TDBGridInplaceEdit::EditButtonClick(bool lowerHalf) {
  TCustomDBGridEh *grid = DBGrid();
  if (!grid) return;
  TColumnEh *column = grid->ColumnOfGridCol(grid->Col());
  if (!column) return;
  switch (style_) {
  case TEditStyleEh::esEllipsis:
    column->OnEditButtonClick(grid, column);
    return;
  case TEditStyleEh::esDropDown:
  case TEditStyleEh::esPickList:
  case TEditStyleEh::esDateCalendar:
  case TEditStyleEh::esDataList:
    ListVisible() ? CloseUp(false) : DropDown();
    return;
  case TEditStyleEh::esUpDown:
    StepValue(lowerHalf);
    return;
  default:
    return;
  }
}

void TDBGridInplaceEdit::StepValue(bool backwards) {
  TCustomDBGridEh *grid = DBGrid();
  TColumnEh *column = CurrentColumn();
  if (!column || !grid->ColumnCanModify(column, true)) return;
  TStrings *items = column->PickList();
  if (items->Count() > 0) {
    int i = IndexOfText(*items, Text()), n = items->Count();
    // Forwards from a value not in the list goes to the first; backwards to the last.
    i = backwards ? (i <= 0 ? n - 1 : i - 1) : (i < 0 || i >= n - 1 ? 0 : i + 1);
    SetText((*items)[i]);
  } else {
    double v = std::strtod(Text().c_str(), nullptr);
    SetText(ValueToText(backwards ? v - 1 : v + 1));
  }
  SendMessageW(HandleIfAllocated(), EM_SETSEL, 0, -1);
}

void TDBGridInplaceEdit::DropDown() {
  if (MRUListVisible()) CloseUpMRUList(false);
  if (!DBGrid() || ListVisible()) return;
  if (UsesPickList())
    DropDownPickList();
  else if (style_ == TEditStyleEh::esDateCalendar)
    DropDownCalendar();
  else if (style_ == TEditStyleEh::esDataList)
    DropDownDataList();
  else if (style_ == TEditStyleEh::esDropDown)
    DropDownCalculator();
}

void TDBGridInplaceEdit::CloseUp(bool accept) {
  if (CalculatorVisible()) CloseUpCalculator(accept);
  if (PickListVisible()) CloseUpPickList(accept);
  if (CalendarVisible()) CloseUpCalendar(accept);
  if (MRUListVisible()) CloseUpMRUList(accept);
  if (DataListVisible()) CloseUpDataList(accept);
}

namespace {

TRect WorkArea() {
  RECT work{};
  SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
  return {work.left, work.top, work.right, work.bottom};
}

} // namespace

void TDBGridInplaceEdit::DropDownCalculator() {
  TCustomDBGridEh *grid = DBGrid();
  TColumnEh *column = grid->ColumnOfGridCol(grid->Col());
  TField *field = column ? column->Field() : nullptr;
  if (!field || !field->IsNumeric()) return;
  if (!calculator_) {
    calculator_ = new TPopupCalculatorEh(this);
    calculator_->OnCloseUp = [this](bool accept) { CloseUp(accept); };
  }
  calculator_->SetOwnerWindow(GetAncestor(Handle(), GA_ROOT));
  calculator_->SetFlat(grid->Flat());
  calculator_->SetValue(std::strtod(Text().c_str(), nullptr));
  RECT pr{};
  GetWindowRect(calculator_->Handle(), &pr);
  TDropDownPlacement place = PlaceDropDown(ScreenRect(), pr.right - pr.left, pr.bottom - pr.top, WorkArea());
  // The caret would blink under the popup's keys; the selection would suggest they replace it.
  HideCaret(Handle());
  SendMessageW(Handle(), EM_SETSEL, static_cast<WPARAM>(-1), 0);
  calculator_->ShowAt(place.Bounds.Left, place.Bounds.Top);
  SetButtonPressed(true);
}

void TDBGridInplaceEdit::CloseUpCalculator(bool accept) {
  TCustomDBGridEh *grid = DBGrid();
  calculator_->Hide();
  SetButtonPressed(false);
  if (GetCapture()) ReleaseCapture();
  ShowCaret(Handle());
  TColumnEh *column = grid->ColumnOfGridCol(grid->Col());
  if (!accept) {
    SetText(grid->EditedText());
    return;
  }
  if (!column || !grid->ColumnCanModify(column, true)) return;
  std::string text = FormatCalcValue(calculator_->Value(), '.');
  SetText(text);
  grid->UpdateColumnData(column, text, false);
  SendMessageW(Handle(), EM_SETSEL, 0, -1);
}

void TDBGridInplaceEdit::DropDownPickList() {
  TCustomDBGridEh *grid = DBGrid();
  TColumnEh *column = grid->ColumnOfGridCol(grid->Col());
  if (!column) return;
  if (!pickList_) {
    pickList_ = new TPopupListboxEh(this);
    pickList_->OnCloseUp = [this](bool accept) { CloseUp(accept); };
  }
  pickList_->SetOwnerWindow(GetAncestor(Handle(), GA_ROOT));
  pickList_->Font().Assign(Font());
  pickList_->SetColor(Color());
  pickList_->SetSizable(column->DropDownSizing());
  // With a KeyList only the items that have a key are offered.
  std::vector<std::string> items;
  int n = column->PickList()->Count();
  if (column->KeyList()->Count() > 0) n = std::min(n, column->KeyList()->Count());
  for (int i = 0; i < n; ++i)
    items.push_back((*column->PickList())[i]);
  pickList_->SetItems(items);
  TField *field = column->Field();
  pickList_->SetItemIndex(field && field->IsNull() ? -1 : IndexOfText(*column->PickList(), Text()));
  if (pickList_->ItemIndex() >= n) pickList_->SetItemIndex(-1);
  int itemHeight = pickList_->ItemHeight();
  int rows = std::max(1, column->DropDownRows());
  bool scrolls = n > rows;
  TSize frame = pickList_->FrameSize();
  int height = (scrolls ? rows : std::max(n, 1)) * itemHeight + frame.cy;
  TRect cell = ScreenRect();
  int width = std::max(cell.Width(), column->DropDownWidth());
  width = std::max(width,
                   pickList_->WidestItem() + 4 + frame.cx + (scrolls ? GetSystemMetrics(SM_CXVSCROLL) : 0));
  TDropDownPlacement place = PlaceDropDown(cell, width, height, WorkArea());
  pickList_->ShowAt(place.Bounds);
  SetButtonPressed(true);
}

void TDBGridInplaceEdit::CloseUpPickList(bool accept) {
  TCustomDBGridEh *grid = DBGrid();
  TColumnEh *column = grid->ColumnOfGridCol(grid->Col());
  if (column && pickList_->UserSized()) {
    // The size the user gave the list is kept for the next time.
    RECT wr{}, client{};
    GetWindowRect(pickList_->Handle(), &wr);
    GetClientRect(pickList_->Handle(), &client);
    column->SetDropDownRows(std::max(1, static_cast<int>(client.bottom) / pickList_->ItemHeight()));
    column->SetDropDownWidth(wr.right - wr.left);
  }
  std::string chosen = pickList_->Item(pickList_->ItemIndex());
  bool picked = accept && pickList_->ItemIndex() >= 0;
  pickList_->Hide();
  SetButtonPressed(false);
  if (GetCapture()) ReleaseCapture();
  if (!picked) {
    if (!accept) SetText(grid->EditedText());
    return;
  }
  if (!BeginChange()) return;
  SetText(chosen);
  SendMessageW(Handle(), EM_SETSEL, 0, -1);
}

void TDBGridInplaceEdit::DropDownCalendar() {
  TCustomDBGridEh *grid = DBGrid();
  TColumnEh *column = grid->ColumnOfGridCol(grid->Col());
  TField *field = column ? column->Field() : nullptr;
  if (!field) return;
  if (!calendar_) {
    calendar_ = new TPopupMonthCalendarEh(this);
    calendar_->OnCloseUp = [this](bool accept) { CloseUp(accept); };
  }
  calendar_->SetOwnerWindow(GetAncestor(Handle(), GA_ROOT));
  calendar_->Font().Assign(Font());
  calendar_->SetColor(Color());
  // The editor's date; for text that is no date the field's; else today.
  TDateTimeParts date = Today();
  std::string text = Trim(Text());
  if (!text.empty() && !ParseDateTime(text, date) && !field->IsNull()) ParseDateTime(field->AsString(), date);
  calendar_->SetDate(date);
  TSize size = calendar_->MinimumSize();
  TDropDownPlacement place = PlaceDropDown(ScreenRect(), size.cx, size.cy, WorkArea());
  calendar_->ShowAt(place.Bounds);
  SetButtonPressed(true);
}

void TDBGridInplaceEdit::CloseUpCalendar(bool accept) {
  TCustomDBGridEh *grid = DBGrid();
  calendar_->Hide();
  SetButtonPressed(false);
  if (GetCapture()) ReleaseCapture();
  TColumnEh *column = grid->ColumnOfGridCol(grid->Col());
  if (!accept) {
    SetText(grid->EditedText());
    return;
  }
  TField *field = column ? column->Field() : nullptr;
  if (!field || !grid->ColumnCanModify(column, true)) return;
  // A date and time keeps the time it had.
  TDateTimeParts chosen = calendar_->Date(), old;
  if (ParseDateTime(Text(), old))
    chosen.Hour = old.Hour, chosen.Minute = old.Minute, chosen.Second = old.Second;
  std::string text = FormatDateTime(chosen, field->DataType() == TFieldType::ftDateTime);
  SetText(text);
  grid->UpdateColumnData(column, text, false);
  SendMessageW(Handle(), EM_SETSEL, 0, -1);
}

void TDBGridInplaceEdit::TextTyped() {
  TColumnEh *column = CurrentColumn();
  if (!column || !column->MRUList()->Active() || (ListVisible() && !MRUListVisible())) return;
  std::vector<std::string> matching = column->MRUList()->Matching(Text());
  if (matching.empty()) {
    if (MRUListVisible()) CloseUpMRUList(false);
    return;
  }
  if (!mruList_) {
    mruList_ = new TPopupListboxEh(this);
    mruList_->OnCloseUp = [this](bool accept) { CloseUpMRUList(accept); };
  }
  mruList_->SetOwnerWindow(GetAncestor(Handle(), GA_ROOT));
  mruList_->Font().Assign(Font());
  mruList_->SetColor(Color());
  mruList_->SetItems(matching);
  mruList_->SetItemIndex(-1);
  int n = static_cast<int>(matching.size()), rows = std::max(1, column->DropDownRows());
  bool scrolls = n > rows;
  TSize frame = mruList_->FrameSize();
  int height = std::min(n, rows) * mruList_->ItemHeight() + frame.cy;
  TRect cell = ScreenRect();
  int width = std::max(cell.Width(), mruList_->WidestItem() + 4 + frame.cx +
                                         (scrolls ? GetSystemMetrics(SM_CXVSCROLL) : 0));
  mruList_->ShowAt(PlaceDropDown(cell, width, height, WorkArea()).Bounds);
}

void TDBGridInplaceEdit::CloseUpMRUList(bool accept) {
  std::string chosen = mruList_->Item(mruList_->ItemIndex());
  mruList_->Hide();
  if (GetCapture()) ReleaseCapture();
  // Not taken: the typed text stays as it is.
  if (!accept || chosen.empty() || !BeginChange()) return;
  SetText(chosen);
  int end = static_cast<int>(Widen(chosen).size());
  SendMessageW(Handle(), EM_SETSEL, static_cast<WPARAM>(end), end);
}

} // namespace qv
