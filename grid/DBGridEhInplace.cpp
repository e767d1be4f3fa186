// The in-place editor (TDBGridInplaceEdit) and the grid's side of editing: when the editor may
// show, the text it starts from, ColumnCanModify, and writing the text back through the column.
#include "grid/DBGridEhInplace.h"

#include "grid/DropDownPlace.h"
#include "platform/base/Text.h"
#include "platform/classes/ClassBuilder.h"
#include "platform/data/DataSet.h"
#include "platform/data/Field.h"

#include <windowsx.h>

#include <cmath>
#include <cstdlib>

namespace qv {

namespace {

int IndexOfText(TStrings &list, const std::string &text) {
  for (int i = 0; i < list.Count(); ++i)
    if (SameText(list[i], text)) return i;
  return -1;
}

bool IsEditing(const TDataSet *ds) {
  return ds && (ds->State() == TDataSetState::dsEdit || ds->State() == TDataSetState::dsInsert);
}

} // namespace

// Grid side ------------------------------------------------------------------------------------

TEditStyleEh ChooseEditStyle(TCustomDBGridEh &, TColumnEh &column) {
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
}

void TCustomDBGridEh::WriteEditedText() {
  TColumnEh *column = ColumnOfGridCol(Col());
  TInplaceEdit *editor = InplaceEditor();
  if (!column || !editor) return;
  std::string text = editor->Text();
  if (column->KeyList()->Count() > 0) {
    // The text shown is a PickList item; the field takes the KeyList entry of the same index.
    int i = text.empty() ? -1 : IndexOfText(*column->PickList(), text);
    bool known = i >= 0 && i < column->KeyList()->Count();
    UpdateColumnData(column, known ? (*column->KeyList())[i] : std::string(), !known);
    return;
  }
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
  int bw = grid->EditButtonWidth();
  buttonsWidth_ = style_ == TEditStyleEh::esSimple ? 0 : bw;
  TField *field = column->Field();
  int limit = field && field->DataType() == TFieldType::ftString && column->KeyList()->Count() == 0
                  ? field->Size()
                  : 0;
  std::string text = grid->GetEditText(grid->Col(), grid->Row());
  grid->SetEditedText(text);
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
  return CalculatorVisible() || PickListVisible() || CalendarVisible();
}

bool TDBGridInplaceEdit::UsesPickList() const {
  if (style_ == TEditStyleEh::esPickList) return true;
  if (style_ != TEditStyleEh::esDropDown || !DBGrid()) return false;
  TColumnEh *column = DBGrid()->ColumnOfGridCol(DBGrid()->Col());
  TField *field = column ? column->Field() : nullptr;
  return column && column->PickList()->Count() > 0 && !(field && field->IsNumeric());
}

TRect TDBGridInplaceEdit::ScreenRect() const {
  RECT wr{};
  GetWindowRect(HandleIfAllocated(), &wr);
  return {wr.left, wr.top, wr.right, wr.bottom};
}

TRect TDBGridInplaceEdit::ButtonRect() const {
  if (buttonsWidth_ == 0 || !HandleAllocated()) return {};
  RECT wr{};
  GetWindowRect(HandleIfAllocated(), &wr);
  int w = wr.right - wr.left, h = wr.bottom - wr.top;
  // Square buttons in tall rows; the whole height in ordinary ones.
  int bh = buttonsWidth_ * 3 / 2 < h ? buttonsWidth_ : h;
  return {w - buttonsWidth_, 0, w, bh};
}

void TDBGridInplaceEdit::PaintButtons(HDC dc) {
  TRect b = ButtonRect();
  if (b.IsEmpty()) return;
  RECT wr{};
  GetWindowRect(HandleIfAllocated(), &wr);
  RECT area{b.Left, 0, wr.right - wr.left, wr.bottom - wr.top};
  TBrush brush;
  brush.SetColor(Color());
  FillRect(dc, &area, brush.Handle());
  RECT r{b.Left, b.Top, b.Right, b.Bottom};
  UINT flat = DBGrid() && DBGrid()->Flat() ? DFCS_FLAT : 0;
  UINT pushed = buttonPressed_ ? DFCS_PUSHED : 0;
  switch (style_) {
  case TEditStyleEh::esUpDown: {
    RECT up = r, down = r;
    up.bottom = down.top = (r.top + r.bottom) / 2;
    DrawFrameControl(dc, &up, DFC_SCROLL, DFCS_SCROLLUP | flat);
    DrawFrameControl(dc, &down, DFC_SCROLL, DFCS_SCROLLDOWN | flat);
    break;
  }
  case TEditStyleEh::esEllipsis: {
    DrawFrameControl(dc, &r, DFC_BUTTON, DFCS_BUTTONPUSH | flat | pushed);
    int cx = (r.left + r.right) / 2 + (pushed ? 1 : 0), cy = (r.top + r.bottom) / 2 + (pushed ? 1 : 0);
    TBrush text;
    text.SetColor(clBtnText);
    for (int dx : {-4, 0, 4}) {
      RECT d{cx + dx - 1, cy, cx + dx + 1, cy + 2};
      FillRect(dc, &d, text.Handle());
    }
    break;
  }
  default:
    DrawFrameControl(dc, &r, DFC_SCROLL, DFCS_SCROLLCOMBOBOX | flat | pushed);
    break;
  }
}

void TDBGridInplaceEdit::SetButtonPressed(bool on) {
  if (buttonPressed_ == on) return;
  buttonPressed_ = on;
  if (HandleAllocated()) SendMessageW(HandleIfAllocated(), WM_NCPAINT, 1, 0);
}

void TDBGridInplaceEdit::WndProc(TMessage &m) {
  switch (m.Msg) {
  case WM_NCCALCSIZE:
    TInplaceEdit::WndProc(m);
    if (m.WParam) reinterpret_cast<NCCALCSIZE_PARAMS *>(m.LParam)->rgrc[0].right -= buttonsWidth_;
    return;
  case WM_NCPAINT: {
    TInplaceEdit::WndProc(m);
    HDC dc = GetWindowDC(HandleIfAllocated());
    PaintButtons(dc);
    ReleaseDC(HandleIfAllocated(), dc);
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
    RECT wr{};
    GetWindowRect(HandleIfAllocated(), &wr);
    TPoint p{GET_X_LPARAM(m.LParam) - wr.left, GET_Y_LPARAM(m.LParam) - wr.top};
    TRect b = ButtonRect();
    if (!b.Contains(p)) break;
    if (!Focused()) SetFocus();
    if (style_ == TEditStyleEh::esDropDown || style_ == TEditStyleEh::esPickList ||
        style_ == TEditStyleEh::esDateCalendar) {
      if (ListVisible())
        CloseUp(false);
      else
        DropDown();
    } else {
      SetButtonPressed(true);
      EditButtonClick(p.Y >= (b.Top + b.Bottom) / 2);
      SetButtonPressed(false);
    }
    m.Result = 0;
    return;
  }
  case WM_PASTE:
  case WM_CUT:
  case WM_CLEAR:
    if (!BeginChange()) return;
    break;
  case WM_CHAR:
  case WM_KEYDOWN:
    // Typing moves the open list's selection to the typed text.
    TInplaceEdit::WndProc(m);
    if (PickListVisible()) pickList_->SearchFor(Text());
    return;
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
  }
  bool dropStyle = style_ == TEditStyleEh::esDropDown || style_ == TEditStyleEh::esPickList ||
                   style_ == TEditStyleEh::esDateCalendar;
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
  if (key == L'\r' || key == 27 || key == L'\t') return true;         // handled as keys
  bool changes = key == L'\b' || key >= 32 || key == 22 || key == 24; // Ctrl+V, Ctrl+X
  if (changes && !BeginChange()) {
    MessageBeep(0);
    return true;
  }
  TCustomDBGridEh *grid = DBGrid();
  TColumnEh *column = grid ? grid->ColumnOfGridCol(grid->Col()) : nullptr;
  if (changes && column && column->AutoDropDown() && UsesPickList() && !ListVisible()) DropDown();
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
    ListVisible() ? CloseUp(false) : DropDown();
    return;
  case TEditStyleEh::esUpDown: {
    if (!grid->ColumnCanModify(column, true)) return;
    TStrings *items = column->PickList();
    std::string text = Text();
    if (items->Count() > 0) {
      int i = IndexOfText(*items, text), n = items->Count();
      // Forwards from a value not in the list goes to the first; backwards to the last.
      i = lowerHalf ? (i <= 0 ? n - 1 : i - 1) : (i < 0 || i >= n - 1 ? 0 : i + 1);
      SetText((*items)[i]);
    } else {
      double v = std::strtod(Text().c_str(), nullptr);
      SetText(ValueToText(lowerHalf ? v - 1 : v + 1));
    }
    SendMessageW(HandleIfAllocated(), EM_SETSEL, 0, -1);
    return;
  }
  default:
    return;
  }
}

void TDBGridInplaceEdit::DropDown() {
  if (!DBGrid() || ListVisible()) return;
  if (UsesPickList())
    DropDownPickList();
  else if (style_ == TEditStyleEh::esDateCalendar)
    DropDownCalendar();
  else if (style_ == TEditStyleEh::esDropDown)
    DropDownCalculator();
}

void TDBGridInplaceEdit::CloseUp(bool accept) {
  if (CalculatorVisible()) CloseUpCalculator(accept);
  if (PickListVisible()) CloseUpPickList(accept);
  if (CalendarVisible()) CloseUpCalendar(accept);
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

} // namespace qv
