// The lookup data list (TDBLookupGridEh, TPopupDataGridEh) and the column settings it is made
// from (TSpecRowEh, TColumnDropDownBoxEh).
#include "grid/DBLookupGridEh.h"

#include "grid/DropDownWindow.h"
#include "platform/base/Text.h"
#include "platform/classes/ClassBuilder.h"
#include "platform/data/DataSet.h"
#include "platform/data/Field.h"

#include <windowsx.h>

#include <algorithm>

namespace qv {

namespace {

void FillColor(HDC dc, const TRect &r, COLORREF c) {
  RECT rc{r.Left, r.Top, r.Right, r.Bottom};
  SetDCBrushColor(dc, c);
  FillRect(dc, &rc, static_cast<HBRUSH>(GetStockObject(DC_BRUSH)));
}

} // namespace

// TSpecRowEh -----------------------------------------------------------------------------------

const TClassInfo &TSpecRowEh::StaticClassInfo() {
  static const TClassInfo &info = DefineClass<TSpecRowEh, TPersistent>("TSpecRowEh", [](auto &c) {
    using T = TSpecRowEh;
    c.String("CellsText", &T::CellsText, &T::SetCellsText, std::string());
    c.Color("Color", &T::Color, &T::SetColor, clWindow);
    c.Integer("ShortCut", &T::ShortCut, &T::SetShortCut, 32814);
    c.Boolean("ShowIfNotInKeyList", &T::ShowIfNotInKeyList, &T::SetShowIfNotInKeyList, true);
    c.Boolean("Visible", &T::Visible, &T::SetVisible, false);
  });
  return info;
}

TSpecRowEh::TSpecRowEh() = default;

std::string TSpecRowEh::CellText(int i) const {
  size_t start = 0;
  for (int n = 0; n < i; ++n) {
    start = cellsText_.find(';', start);
    if (start == std::string::npos) return {};
    ++start;
  }
  size_t end = cellsText_.find(';', start);
  return cellsText_.substr(start, end == std::string::npos ? std::string::npos : end - start);
}

bool TSpecRowEh::StandsFor(const TDbValue &key, bool found) const {
  if (!visible_) return false;
  if (!found && showIfNotInKeyList_) return true;
  if (IsNullValue(key) || IsNullValue(value_)) return IsNullValue(key) && IsNullValue(value_);
  return ValueToText(key) == ValueToText(value_);
}

const TClassInfo &TColumnDropDownBoxEh::StaticClassInfo() {
  static const TClassInfo &info =
      DefineClass<TColumnDropDownBoxEh, TPersistent>("TColumnDropDownBoxEh", [](auto &c) {
        using T = TColumnDropDownBoxEh;
        c.Boolean("AutoFitColWidths", &T::AutoFitColWidths, &T::SetAutoFitColWidths, true);
        c.CollectionProp("Columns", [](const T &o) { return const_cast<T &>(o).Columns(); });
        c.Boolean("UseMultiTitle", &T::UseMultiTitle, &T::SetUseMultiTitle, false);
      });
  return info;
}

// TDBLookupGridEh ------------------------------------------------------------------------------

const TClassInfo &TDBLookupGridEh::StaticClassInfo() {
  static const TClassInfo &info =
      DefineClass<TDBLookupGridEh, TCustomDBGridEh>("TDBLookupGridEh", [](auto &) {});
  return info;
}

TDBLookupGridEh::TDBLookupGridEh(TComponent *owner)
    : TCustomDBGridEh(owner), source_(new TDBDataSource(this)) {
  SetReadOnly(true);
  SetOptions(dgTitles | dgColLines | dgAlwaysShowSelection);
  SetOptionsEh(dghFixed3D);
  SetAllowedSelections(0);
  SetBorderStyle(TBorderStyle::bsNone);
  HorzScrollBar()->SetVisible(false);
}

void TDBLookupGridEh::Bind(TDataSet *ds, const std::string &keyFields, const std::string &resultField) {
  keyFields_ = keyFields;
  resultField_ = resultField;
  choice_ = TChoice::None;
  source_->SetDataSet(ds);
  SetDataSource(source_);
}

void TDBLookupGridEh::Unbind() {
  SetDataSource(nullptr);
  source_->SetDataSet(nullptr);
  choice_ = TChoice::None;
}

TDataSet *TDBLookupGridEh::ListDataSet() const { return DataSet(); }

void TDBLookupGridEh::SetSpecRow(TSpecRowEh *row) {
  specRow_ = row;
  if (HandleAllocated())
    SetWindowPos(HandleIfAllocated(), nullptr, 0, 0, 0, 0,
                 SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
}

bool TDBLookupGridEh::SpecRowShown() const { return specRow_ && specRow_->Visible(); }

void TDBLookupGridEh::SetChoice(TChoice c) {
  choice_ = c;
  if (!HandleAllocated()) return;
  RedrawWindow(HandleIfAllocated(), nullptr, nullptr, RDW_INVALIDATE | RDW_FRAME);
}

void TDBLookupGridEh::LocateKey(const TDbValue &key) {
  TDataSet *ds = DataSet();
  bool found = ds && ds->Active() && !IsNullValue(key) && ds->Locate(keyFields_, {key});
  if (SpecRowShown() && specRow_->StandsFor(key, found)) return SetChoice(TChoice::SpecRow);
  SetChoice(found ? TChoice::Record : TChoice::None);
}

bool TDBLookupGridEh::SearchText(const std::string &text) {
  TDataSet *ds = DataSet();
  if (text.empty() || !ds || !ds->Active() || !ds->Locate(resultField_, {text}, {true, true})) return false;
  SetChoice(TChoice::Record);
  return true;
}

void TDBLookupGridEh::ChooseSpecRow() {
  if (SpecRowShown()) SetChoice(TChoice::SpecRow);
}

bool TDBLookupGridEh::MoveByKey(WORD key) {
  if (key != VK_UP && key != VK_DOWN && key != VK_PRIOR && key != VK_NEXT) return false;
  TDataSet *ds = DataSet();
  bool records = ds && ds->Active() && !ds->IsEmpty();
  bool up = key == VK_UP || key == VK_PRIOR;
  int step = key == VK_UP || key == VK_DOWN ? 1 : std::max(1, RowsShown());
  if (choice_ != TChoice::Record) {
    // From the special row or from nothing: down reaches the first record, up the special row.
    if (up && SpecRowShown())
      SetChoice(TChoice::SpecRow);
    else if (records && (choice_ == TChoice::None || !up)) {
      ds->First();
      if (step > 1 && !up) ds->MoveBy(step - 1);
      SetChoice(TChoice::Record);
    }
    return true;
  }
  if (!records) return true;
  if (up && ds->RecNo() == 1) {
    ChooseSpecRow();
    return true;
  }
  ds->MoveBy(up ? -step : step);
  return true;
}

TDbValue TDBLookupGridEh::ChosenKey() const {
  if (choice_ == TChoice::SpecRow) return specRow_->Value();
  TDataSet *ds = DataSet();
  std::vector<std::string> keys = FieldNameList(keyFields_);
  if (choice_ != TChoice::Record || !ds || keys.size() != 1) return {};
  return ds->FieldByName(keys[0])->Value();
}

std::string TDBLookupGridEh::ChosenText() const {
  if (choice_ == TChoice::SpecRow) return specRow_->CellText(0);
  TDataSet *ds = DataSet();
  if (choice_ != TChoice::Record || !ds) return {};
  return ds->FieldByName(resultField_)->EditText();
}

int TDBLookupGridEh::DataLineHeight() const {
  return DefaultRowHeight() + ((Options() & dgRowLines) ? GridLineWidth() : 0);
}

int TDBLookupGridEh::SpecRowHeight() const { return SpecRowShown() ? DataLineHeight() : 0; }

int TDBLookupGridEh::ClientHeightFor(int rows) const {
  return (TitleRowCount() > 0 ? RowLineWidth(0) : 0) + rows * DataLineHeight();
}

int TDBLookupGridEh::RowsShown() const {
  int titles = TitleRowCount() > 0 ? RowLineWidth(0) : 0;
  return std::max(0, (ClientHeight() - titles) / std::max(1, DataLineHeight()));
}

int TDBLookupGridEh::ColumnsWidth() const {
  int width = 0;
  for (int c = 0; c < ColCount(); ++c)
    width += ColLineWidth(c);
  return width;
}

TRect TDBLookupGridEh::SpecRowRect() const {
  if (!SpecRowShown() || !HandleAllocated()) return {};
  HWND h = HandleIfAllocated();
  RECT wr{};
  GetWindowRect(h, &wr);
  POINT origin{0, 0};
  ::ClientToScreen(h, &origin);
  int left = origin.x - wr.left, top = origin.y - wr.top;
  // The row spans the client area and the scroll bar beside it; the frame is as wide on the right.
  return {left, top - SpecRowHeight(), wr.right - wr.left - left, top};
}

void TDBLookupGridEh::PaintSpecRow(HDC dc) {
  TRect r = SpecRowRect();
  if (r.IsEmpty()) return;
  bool chosen = choice_ == TChoice::SpecRow;
  TFont &font = specRow_->Font(Font());
  COLORREF back = ColorToRGB(chosen ? clHighlight : specRow_->Color());
  FillColor(dc, {r.Left, r.Top, r.Right, r.Bottom - 1}, back);
  FillColor(dc, {r.Left, r.Bottom - 1, r.Right, r.Bottom}, ColorToRGB(clSilver));
  TSelectGuard sel(dc, font.Handle());
  SetBkMode(dc, TRANSPARENT);
  SetTextColor(dc, ColorToRGB(chosen ? clHighlightText : font.Color()));
  int cell = 0;
  for (int c = FixedCols(); c < ColCount(); ++c) {
    TColumnEh *column = ColumnOfGridCol(c);
    int left = ColLeft(c);
    if (!column || !column->Visible() || left < 0) continue;
    std::wstring text = Widen(specRow_->CellText(cell++));
    RECT tr{r.Left + left + 2, r.Top + 1, std::min(r.Left + left + ColWidths(c), r.Right) - 2, r.Bottom - 1};
    DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &tr,
              DT_SINGLELINE | DT_NOPREFIX | DT_END_ELLIPSIS | DT_VCENTER);
  }
}

void TDBLookupGridEh::WndProc(TMessage &m) {
  switch (m.Msg) {
  case WM_MOUSEACTIVATE:
    // The editor keeps the activation and the focus.
    m.Result = MA_NOACTIVATE;
    return;
  case WM_NCCALCSIZE:
    TCustomDBGridEh::WndProc(m);
    if (SpecRowShown()) {
      RECT *client = m.WParam ? &reinterpret_cast<NCCALCSIZE_PARAMS *>(m.LParam)->rgrc[0]
                              : reinterpret_cast<RECT *>(m.LParam);
      client->top = std::min(client->bottom, client->top + SpecRowHeight());
    }
    return;
  case WM_NCPAINT: {
    TCustomDBGridEh::WndProc(m);
    HDC dc = GetWindowDC(HandleIfAllocated());
    PaintSpecRow(dc);
    ReleaseDC(HandleIfAllocated(), dc);
    return;
  }
  case WM_NCHITTEST: {
    TCustomDBGridEh::WndProc(m);
    RECT wr{};
    GetWindowRect(HandleIfAllocated(), &wr);
    if (SpecRowRect().Contains({GET_X_LPARAM(m.LParam) - wr.left, GET_Y_LPARAM(m.LParam) - wr.top}))
      m.Result = HTBORDER;
    return;
  }
  case WM_NCLBUTTONDOWN: {
    RECT wr{};
    GetWindowRect(HandleIfAllocated(), &wr);
    if (!SpecRowRect().Contains({GET_X_LPARAM(m.LParam) - wr.left, GET_Y_LPARAM(m.LParam) - wr.top})) break;
    ChooseSpecRow();
    if (OnRowClicked) OnRowClicked();
    m.Result = 0;
    return;
  }
  default:
    break;
  }
  TCustomDBGridEh::WndProc(m);
}

void TDBLookupGridEh::DrawCell(int col, int row, const TRect &rect, uint32_t state) {
  if (!DataRowOfGridRow(row) || col < IndicatorOffset())
    return TCustomDBGridEh::DrawCell(col, row, rect, state);
  TColumnEh *column = ColumnOfGridCol(col);
  TDataLink &link = DataLink();
  int record = row - TitleRowCount();
  bool hasRecord = column && link.Active() && record < link.RecordCount();
  std::string text;
  if (hasRecord) {
    int saved = link.ActiveRecord();
    link.SetActiveRecord(record);
    text = column->DisplayText();
    link.SetActiveRecord(saved);
  }
  // Only the chosen record shows highlighted: a key no record has leaves every row plain.
  bool chosen = hasRecord && choice_ == TChoice::Record && row == Row();
  TCanvas &canvas = Canvas();
  const TFont &font = column ? *column->Font() : Font();
  canvas.Font.Assign(font);
  canvas.Font.SetColor(chosen ? clHighlightText : font.Color());
  canvas.Brush.SetColor(chosen ? clHighlight : column ? column->Color() : Color());
  DrawCellText(canvas, rect, 0, 0, column && column->EndEllipsis(), false, TVertLayoutEh::tlTop,
               column ? column->Alignment() : TAlignment::taLeftJustify, text, Flat() ? 1 : 2, 2, true);
}

void TDBLookupGridEh::MouseDown(TMouseButton button, uint32_t shift, int x, int y) {
  TGridCoord cell = MouseCoord(x, y);
  bool onRecord = button == TMouseButton::mbLeft && DataRowOfGridRow(cell.Y) && DataLink().Active() &&
                  cell.Y - TitleRowCount() < DataLink().RecordCount();
  TCustomDBGridEh::MouseDown(button, shift, x, y);
  pressedOnRecord_ = onRecord;
  if (onRecord) SetChoice(TChoice::Record);
}

void TDBLookupGridEh::MouseUp(TMouseButton button, uint32_t shift, int x, int y) {
  bool pressed = pressedOnRecord_ && button == TMouseButton::mbLeft;
  pressedOnRecord_ = false;
  TCustomDBGridEh::MouseUp(button, shift, x, y);
  if (pressed && DataRowOfGridRow(MouseCoord(x, y).Y) && OnRowClicked) OnRowClicked();
}

void TDBLookupGridEh::HandleVertScroll(int code, int pos) {
  TCustomDBGridEh::HandleVertScroll(code, pos);
  if (code != SB_ENDSCROLL && DataLink().Active() && !DataSet()->IsEmpty()) SetChoice(TChoice::Record);
}

void TDBLookupGridEh::HandleWheel(int delta) {
  TCustomDBGridEh::HandleWheel(delta);
  if (DataLink().Active() && !DataSet()->IsEmpty()) SetChoice(TChoice::Record);
}

// TPopupDataGridEh -----------------------------------------------------------------------------

const TClassInfo &TPopupDataGridEh::StaticClassInfo() {
  static const TClassInfo &info =
      DefineClass<TPopupDataGridEh, TDBLookupGridEh>("TPopupDataGridEh", [](auto &) {});
  return info;
}

TPopupDataGridEh::TPopupDataGridEh(TComponent *owner) : TDBLookupGridEh(owner) {
  OnRowClicked = [this] { CloseUp(true); };
}

void TPopupDataGridEh::CreateParams(TCreateParams &p) {
  TDBLookupGridEh::CreateParams(p);
  p.Style = WS_POPUP | WS_VSCROLL | WS_CLIPCHILDREN | DropDownFrameStyle(sizable_);
  p.ExStyle = WS_EX_TOOLWINDOW | WS_EX_TOPMOST;
  p.WndParent = ownerWindow_;
  p.Menu = nullptr;
}

void TPopupDataGridEh::SetSizable(bool on) {
  if (on == sizable_) return;
  sizable_ = on;
  ApplyDropDownFrame(*this, on);
}

TSize TPopupDataGridEh::FrameSize() {
  HWND h = Handle();
  RECT rc{0, 0, 100, 100};
  AdjustWindowRectEx(&rc,
                     static_cast<DWORD>(GetWindowLongPtrW(h, GWL_STYLE) & ~static_cast<LONG_PTR>(WS_VSCROLL)),
                     FALSE, static_cast<DWORD>(GetWindowLongPtrW(h, GWL_EXSTYLE)));
  return {rc.right - rc.left - 100, rc.bottom - rc.top - 100 + SpecRowHeight()};
}

void TPopupDataGridEh::ShowAt(const TRect &bounds) {
  userSized_ = false;
  ShowDropDownWindow(*this, bounds, SWP_FRAMECHANGED);
}

void TPopupDataGridEh::Hide() { HideDropDownWindow(*this); }

bool TPopupDataGridEh::ListVisible() const { return DropDownWindowShown(*this); }

void TPopupDataGridEh::WndProc(TMessage &m) {
  if (m.Msg == WM_EXITSIZEMOVE) userSized_ = true;
  TDBLookupGridEh::WndProc(m);
}

} // namespace qv
