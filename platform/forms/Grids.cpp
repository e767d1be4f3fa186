// The base grid (TCustomGrid, TDrawGrid) and its read-only in-place editor.
#include "platform/forms/Grids.h"

#include "platform/classes/ClassBuilder.h"
#include "platform/forms/Forms.h"

#include <windowsx.h>

#include <algorithm>
#include <cassert>

namespace qv {

const std::vector<std::string> kGridOptionNames = {
    "goFixedVertLine",     "goFixedHorzLine", "goVertLine",  "goHorzLine",         "goRangeSelect",
    "goDrawFocusSelected", "goRowSizing",     "goColSizing", "goRowMoving",        "goColMoving",
    "goEditing",           "goTabs",          "goRowSelect", "goAlwaysShowEditor", "goThumbTracking"};

namespace {
const std::vector<std::string> kScrollStyleNames = {"ssNone", "ssHorizontal", "ssVertical", "ssBoth"};
const std::vector<std::string> kBorderStyleNames = {"bsNone", "bsSingle"};
constexpr int kSizingMargin = 3; // pixels either side of a column border that start sizing
} // namespace

// TInplaceEdit ---------------------------------------------------------------------------------

const TClassInfo &TInplaceEdit::StaticClassInfo() {
  static const TClassInfo &info = DefineClass<TInplaceEdit, TCustomEdit>("TInplaceEdit", [](auto &) {});
  return info;
}

TInplaceEdit::TInplaceEdit(TComponent *owner) : TCustomEdit(owner) {
  SetVisible(false);
  SetBorderStyle(TBorderStyle::bsNone);
  SetReadOnly(true);
}

void TInplaceEdit::CreateParams(TCreateParams &p) {
  TCustomEdit::CreateParams(p);
  p.Style &= ~static_cast<DWORD>(WS_BORDER);
  p.ExStyle &= ~static_cast<DWORD>(WS_EX_CLIENTEDGE);
  p.Style |= ES_AUTOHSCROLL;
}

void TInplaceEdit::Move(const TRect &r) {
  SetBounds(r.Left, r.Top, r.Width(), r.Height());
  if (!Visible()) SetVisible(true);
}

void TInplaceEdit::Hide() {
  if (Visible()) SetVisible(false);
}

void TInplaceEdit::UpdateContents() {
  if (!grid_) return;
  Font().Assign(grid_->Font());
  SetReadOnly(!grid_->CanEditModify());
  SetText(grid_->GetEditText(grid_->Col(), grid_->Row()));
}

bool TInplaceEdit::WantsKey(WPARAM vk) const { return vk == VK_LEFT || vk == VK_RIGHT; }

bool TInplaceEdit::DoKeyDown(WORD &key, uint32_t shift) {
  if (TCustomEdit::DoKeyDown(key, shift)) return true;
  switch (key) {
  case VK_UP:
  case VK_DOWN:
  case VK_PRIOR:
  case VK_NEXT:
  case VK_TAB:
  case VK_ESCAPE:
  case VK_RETURN:
  case VK_F2:
    // Navigation belongs to the grid.
    if (grid_) return grid_->Perform(CN_KEYDOWN, key, 0) != 0;
    break;
  default:
    break;
  }
  return false;
}

// TCustomGrid ----------------------------------------------------------------------------------

const TClassInfo &TCustomGrid::StaticClassInfo() {
  static const TClassInfo &info = DefineClass<TCustomGrid, TCustomControl>("TCustomGrid", [](auto &c) {
    c.Enum("BorderStyle", &TCustomGrid::BorderStyle, &TCustomGrid::SetBorderStyle, kBorderStyleNames, 1);
    c.Color("FixedColor", &TCustomGrid::FixedColor, &TCustomGrid::SetFixedColor, clBtnFace);
  });
  return info;
}

TCustomGrid::TCustomGrid(TComponent *owner) : TCustomControl(owner) {
  colWidths_.assign(5, defaultColWidth_);
  rowHeights_.assign(5, defaultRowHeight_);
  SetTabStop(true);
  SetColor(clWindow);
  UpdateBounds(Left(), Top(), 320, 120);
}

TCustomGrid::~TCustomGrid() = default;

void TCustomGrid::CreateParams(TCreateParams &p) {
  TCustomControl::CreateParams(p);
  if (scrollBars_ == TScrollStyle::ssVertical || scrollBars_ == TScrollStyle::ssBoth) p.Style |= WS_VSCROLL;
  if (scrollBars_ == TScrollStyle::ssHorizontal || scrollBars_ == TScrollStyle::ssBoth) p.Style |= WS_HSCROLL;
  if (borderStyle_ == TBorderStyle::bsSingle) p.ExStyle |= WS_EX_CLIENTEDGE;
  p.ClassStyle = CS_DBLCLKS;
}

void TCustomGrid::CreateWnd() {
  TCustomControl::CreateWnd();
  UpdateScrollBars();
}

void TCustomGrid::CheckCounts() {
  assert(fixedCols_ <= ColCount() && fixedRows_ <= RowCount());
  col_ = std::clamp(col_, std::min(fixedCols_, ColCount() - 1), std::max(ColCount() - 1, 0));
  row_ = std::clamp(row_, std::min(fixedRows_, RowCount() - 1), std::max(RowCount() - 1, 0));
  ClampTopLeft();
}

void TCustomGrid::SetColCount(int n) {
  n = std::max(n, 1);
  if (n == ColCount()) return;
  int oldCols = ColCount(), oldRows = RowCount();
  colWidths_.resize(n, defaultColWidth_);
  if (fixedCols_ >= n) fixedCols_ = n - 1;
  CheckCounts();
  SizeChanged(oldCols, oldRows);
  UpdateScrollBars();
  Invalidate();
}

void TCustomGrid::SetRowCount(int n) {
  n = std::max(n, 1);
  if (n == RowCount()) return;
  int oldCols = ColCount(), oldRows = RowCount();
  rowHeights_.resize(n, defaultRowHeight_);
  if (fixedRows_ >= n) fixedRows_ = n - 1;
  CheckCounts();
  SizeChanged(oldCols, oldRows);
  UpdateScrollBars();
  Invalidate();
}

void TCustomGrid::SetFixedCols(int n) {
  n = std::clamp(n, 0, ColCount());
  if (n == fixedCols_) return;
  fixedCols_ = n;
  leftCol_ = std::max(leftCol_, n);
  CheckCounts();
  UpdateScrollBars();
  Invalidate();
}

void TCustomGrid::SetFixedRows(int n) {
  n = std::clamp(n, 0, RowCount() - 1);
  if (n == fixedRows_) return;
  fixedRows_ = n;
  topRow_ = std::max(topRow_, n);
  CheckCounts();
  UpdateScrollBars();
  Invalidate();
}

void TCustomGrid::SetColWidths(int i, int w) {
  if (i < 0 || i >= ColCount()) return;
  w = std::max(w, -1);
  if (colWidths_[i] == w) return;
  colWidths_[i] = w;
  if (!GridLayoutLocked()) {
    UpdateScrollBars();
    Invalidate();
    InvalidateEditor();
  }
}

void TCustomGrid::SetRowHeights(int i, int h) {
  if (i < 0 || i >= RowCount()) return;
  h = std::max(h, -1);
  if (rowHeights_[i] == h) return;
  rowHeights_[i] = h;
  if (!GridLayoutLocked()) {
    UpdateScrollBars();
    Invalidate();
    InvalidateEditor();
  }
}

void TCustomGrid::SetDefaultColWidth(int w) {
  defaultColWidth_ = std::max(w, 0);
  std::fill(colWidths_.begin(), colWidths_.end(), defaultColWidth_);
  ColWidthsChanged();
  UpdateScrollBars();
  Invalidate();
}

void TCustomGrid::SetDefaultRowHeight(int h) {
  defaultRowHeight_ = std::max(h, 0);
  std::fill(rowHeights_.begin(), rowHeights_.end(), defaultRowHeight_);
  RowHeightsChanged();
  UpdateScrollBars();
  Invalidate();
}

void TCustomGrid::SetGridLineWidth(int w) {
  gridLineWidth_ = std::max(w, 0);
  Invalidate();
}

void TCustomGrid::SetOptions(uint32_t o) {
  if (o == options_) return;
  options_ = o;
  if (!(o & goEditing)) HideEditor();
  Invalidate();
}

void TCustomGrid::SetScrollBars(TScrollStyle s) {
  if (s == scrollBars_) return;
  scrollBars_ = s;
  if (HandleAllocated()) {
    // The styles are read when the window is made; show or hide the bars to match now.
    HWND h = HandleIfAllocated();
    ShowScrollBar(h, SB_VERT, s == TScrollStyle::ssVertical || s == TScrollStyle::ssBoth);
    ShowScrollBar(h, SB_HORZ, s == TScrollStyle::ssHorizontal || s == TScrollStyle::ssBoth);
    UpdateScrollBars();
  }
}

void TCustomGrid::SetBorderStyle(TBorderStyle s) {
  if (s == borderStyle_) return;
  borderStyle_ = s;
  if (HandleAllocated()) {
    HWND h = HandleIfAllocated();
    LONG_PTR ex = GetWindowLongPtrW(h, GWL_EXSTYLE);
    ex = s == TBorderStyle::bsSingle ? (ex | WS_EX_CLIENTEDGE)
                                     : (ex & ~static_cast<LONG_PTR>(WS_EX_CLIENTEDGE));
    SetWindowLongPtrW(h, GWL_EXSTYLE, ex);
    SetWindowPos(h, nullptr, 0, 0, 0, 0,
                 SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_FRAMECHANGED | SWP_NOACTIVATE);
  }
}

void TCustomGrid::SetFixedColor(TColor c) {
  fixedColor_ = c;
  Invalidate();
}

// Geometry -------------------------------------------------------------------------------------

int TCustomGrid::LineWidthOfCol(int col) const {
  if (colWidths_[col] < 0) return 0;
  uint32_t need = col < fixedCols_ ? goFixedVertLine : goVertLine;
  return (options_ & need) ? gridLineWidth_ : 0;
}

int TCustomGrid::LineWidthOfRow(int row) const {
  if (rowHeights_[row] < 0) return 0;
  uint32_t need = row < fixedRows_ ? goFixedHorzLine : goHorzLine;
  return (options_ & need) ? gridLineWidth_ : 0;
}

int TCustomGrid::ColLineWidth(int col) const {
  if (col < 0 || col >= ColCount() || colWidths_[col] < 0) return 0;
  return colWidths_[col] + LineWidthOfCol(col);
}

int TCustomGrid::RowLineWidth(int row) const {
  if (row < 0 || row >= RowCount() || rowHeights_[row] < 0) return 0;
  return rowHeights_[row] + LineWidthOfRow(row);
}

int TCustomGrid::ColLeft(int col) const {
  if (col < 0 || col >= ColCount() || (col >= fixedCols_ && col < leftCol_)) return -1;
  int x = 0;
  for (int c = 0; c < fixedCols_ && c < col; ++c)
    x += ColLineWidth(c);
  if (col >= fixedCols_)
    for (int c = leftCol_; c < col; ++c)
      x += ColLineWidth(c);
  return x;
}

int TCustomGrid::RowTop(int row) const {
  if (row < 0 || row >= RowCount() || (row >= fixedRows_ && row < topRow_)) return -1;
  int y = 0;
  for (int r = 0; r < fixedRows_ && r < row; ++r)
    y += RowLineWidth(r);
  if (row >= fixedRows_)
    for (int r = topRow_; r < row; ++r)
      y += RowLineWidth(r);
  return y;
}

TRect TCustomGrid::CellRect(int col, int row) const {
  int x = ColLeft(col), y = RowTop(row);
  if (x < 0 || y < 0 || colWidths_[col] < 0 || rowHeights_[row] < 0) return {};
  return {x, y, x + colWidths_[col], y + rowHeights_[row]};
}

TGridCoord TCustomGrid::MouseCoord(int x, int y) const {
  TGridCoord result{-1, -1};
  auto scan = [](int pos, int fixed, int first, int count, auto extent) {
    int at = 0;
    for (int i = 0; i < count; ++i) {
      if (i == fixed) i = std::max(i, first);
      if (i >= count) break;
      int e = extent(i);
      if (pos >= at && pos < at + e) return i;
      at += e;
    }
    return -1;
  };
  if (x < 0 || y < 0) return result;
  result.X = scan(x, fixedCols_, leftCol_, ColCount(), [this](int i) { return ColLineWidth(i); });
  result.Y = scan(y, fixedRows_, topRow_, RowCount(), [this](int i) { return RowLineWidth(i); });
  if (result.X < 0 || result.Y < 0) return {-1, -1};
  return result;
}

int TCustomGrid::VisibleColCount() const {
  int width = ClientWidth();
  for (int c = 0; c < fixedCols_; ++c)
    width -= ColLineWidth(c);
  int n = 0;
  for (int c = leftCol_; c < ColCount(); ++c) {
    width -= ColLineWidth(c);
    if (width < 0) break;
    ++n;
  }
  return std::max(n, ColCount() > fixedCols_ ? 1 : 0);
}

int TCustomGrid::VisibleRowCount() const {
  int height = ClientHeight();
  for (int r = 0; r < fixedRows_; ++r)
    height -= RowLineWidth(r);
  int n = 0;
  for (int r = topRow_; r < RowCount(); ++r) {
    height -= RowLineWidth(r);
    if (height < 0) break;
    ++n;
  }
  return std::max(n, RowCount() > fixedRows_ ? 1 : 0);
}

void TCustomGrid::ClampTopLeft() {
  leftCol_ = std::clamp(leftCol_, fixedCols_, std::max(fixedCols_, ColCount() - 1));
  topRow_ = std::clamp(topRow_, fixedRows_, std::max(fixedRows_, RowCount() - 1));
}

// Current cell and top-left --------------------------------------------------------------------

void TCustomGrid::SetLeftCol(int c) {
  int old = leftCol_;
  leftCol_ = c;
  ClampTopLeft();
  if (leftCol_ == old) return;
  TopLeftChanged();
  UpdateScrollBars();
  Invalidate();
  InvalidateEditor();
}

void TCustomGrid::SetTopRow(int r) {
  int old = topRow_;
  topRow_ = r;
  ClampTopLeft();
  if (topRow_ == old) return;
  TopLeftChanged();
  UpdateScrollBars();
  Invalidate();
  InvalidateEditor();
}

void TCustomGrid::SetCol(int c) { MoveCurrent(c, row_); }
void TCustomGrid::SetRow(int r) { MoveCurrent(col_, r); }

bool TCustomGrid::MoveCurrent(int col, int row, bool show) {
  if (col < 0 || col >= ColCount() || row < 0 || row >= RowCount()) return false;
  if (!SelectCell(col, row)) return false;
  FocusCell(col, row);
  if (show) MakeCurrentVisible();
  return true;
}

void TCustomGrid::FocusCell(int col, int row) {
  if (col == col_ && row == row_) return;
  int oldCol = col_, oldRow = row_;
  col_ = col;
  row_ = row;
  if (options_ & goRowSelect) {
    InvalidateRow(oldRow);
    InvalidateRow(row_);
  } else {
    InvalidateCell(oldCol, oldRow);
    InvalidateCell(col_, row_);
  }
  MakeCurrentVisible();
  InvalidateEditor();
}

void TCustomGrid::MakeCurrentVisible() {
  if (row_ >= fixedRows_) {
    if (row_ < topRow_)
      SetTopRow(row_);
    else
      while (row_ >= topRow_ + VisibleRowCount() && topRow_ < row_)
        SetTopRow(topRow_ + 1);
  }
  if (col_ >= fixedCols_ && !(options_ & goRowSelect)) {
    if (col_ < leftCol_)
      SetLeftCol(col_);
    else
      while (col_ >= leftCol_ + VisibleColCount() && leftCol_ < col_)
        SetLeftCol(leftCol_ + 1);
  }
}

void TCustomGrid::InvalidateCell(int col, int row) {
  if (!HandleAllocated()) return;
  TRect r = CellRect(col, row);
  if (r.IsEmpty()) return;
  r.Right += gridLineWidth_;
  r.Bottom += gridLineWidth_;
  InvalidateRect(HandleIfAllocated(), reinterpret_cast<const RECT *>(&r), FALSE);
}

void TCustomGrid::InvalidateRow(int row) {
  if (!HandleAllocated()) return;
  int y = RowTop(row);
  if (y < 0) return;
  RECT r{0, y, ClientWidth(), y + RowLineWidth(row)};
  InvalidateRect(HandleIfAllocated(), &r, FALSE);
}

void TCustomGrid::InvalidateCol(int col) {
  if (!HandleAllocated()) return;
  int x = ColLeft(col);
  if (x < 0) return;
  RECT r{x, 0, x + ColLineWidth(col), ClientHeight()};
  InvalidateRect(HandleIfAllocated(), &r, FALSE);
}

void TCustomGrid::ScrollDataRows(int dy, const TRect &area) {
  if (!HandleAllocated()) return;
  RECT r{area.Left, area.Top, area.Right, area.Bottom};
  ScrollWindowEx(HandleIfAllocated(), 0, dy, &r, &r, nullptr, nullptr, SW_INVALIDATE);
}

// Hooks ----------------------------------------------------------------------------------------

bool TCustomGrid::SelectCell(int, int) { return true; }
void TCustomGrid::ColWidthsChanged() { InvalidateEditor(); }
void TCustomGrid::RowHeightsChanged() { InvalidateEditor(); }
void TCustomGrid::TopLeftChanged() { InvalidateEditor(); }
void TCustomGrid::SizeChanged(int, int) {}
void TCustomGrid::Resized() {
  ClampTopLeft();
  UpdateScrollBars();
  InvalidateEditor();
}

void TCustomGrid::ColumnMoved(int from, int to) {
  int w = colWidths_[from];
  colWidths_.erase(colWidths_.begin() + from);
  colWidths_.insert(colWidths_.begin() + to, w);
  Invalidate();
}

void TCustomGrid::DrawCell(int col, int row, const TRect &rect, uint32_t state) {
  TCanvas &canvas = Canvas();
  canvas.Brush.SetColor((state & gdFixed) ? fixedColor_ : Color());
  canvas.FillRect(rect);
  (void)col, (void)row;
}

void TCustomGrid::DrawLines(TCanvas &canvas) {
  if (gridLineWidth_ <= 0) return;
  HDC dc = canvas.Handle();
  HGDIOBJ oldBrush = SelectObject(dc, GetStockObject(DC_BRUSH));
  auto fill = [dc](int l, int t, int r, int b) {
    RECT rc{l, t, r, b};
    PatBlt(dc, rc.left, rc.top, rc.right - rc.left, rc.bottom - rc.top, PATCOPY);
  };
  int cw = ClientWidth(), ch = ClientHeight();
  for (int row = 0, y = 0; row < RowCount() && y < ch; ++row) {
    if (row == fixedRows_) row = std::max(row, topRow_);
    if (row >= RowCount()) break;
    int h = rowHeights_[row];
    if (h < 0) continue;
    int rowLine = LineWidthOfRow(row);
    for (int col = 0, x = 0; col < ColCount() && x < cw; ++col) {
      if (col == fixedCols_) col = std::max(col, leftCol_);
      if (col >= ColCount()) break;
      int w = colWidths_[col];
      if (w < 0) continue;
      int colLine = LineWidthOfCol(col);
      SetDCBrushColor(dc, ColorToRGB(LineColor(col, row)));
      if (colLine > 0) fill(x + w, y, x + w + colLine, y + h + rowLine);
      if (rowLine > 0) fill(x, y + h, x + w + colLine, y + h + rowLine);
      x += w + colLine;
    }
    y += h + rowLine;
  }
  SelectObject(dc, oldBrush);
}

void TCustomGrid::DrawEmptyArea(TCanvas &canvas, const TRect &right, const TRect &below) {
  canvas.Brush.SetColor(Color());
  if (!right.IsEmpty()) canvas.FillRect(right);
  if (!below.IsEmpty()) canvas.FillRect(below);
}

void TCustomGrid::EraseBackground(HDC) {
  // Paint covers every pixel; erasing first would only flicker.
}

void TCustomGrid::Paint() {
  TCanvas &canvas = Canvas();
  int cw = ClientWidth(), ch = ClientHeight();
  if (GridLayoutLocked()) {
    DrawEmptyArea(canvas, TRect{0, 0, cw, ch}, TRect{});
    return;
  }
  RECT clip{};
  GetClipBox(canvas.Handle(), &clip);
  TRect clipRect{clip.left, clip.top, clip.right, clip.bottom};
  DrawLines(canvas);
  bool focused = Focused() || (editor_ && editor_->Focused());
  int right = 0, bottom = 0;
  for (int row = 0, y = 0; row < RowCount() && y < ch; ++row) {
    if (row == fixedRows_) row = std::max(row, topRow_);
    if (row >= RowCount()) break;
    int h = rowHeights_[row];
    if (h < 0) continue;
    int rowExtent = h + LineWidthOfRow(row);
    if (y + rowExtent > clipRect.Top && y < clipRect.Bottom) {
      for (int col = 0, x = 0; col < ColCount() && x < cw; ++col) {
        if (col == fixedCols_) col = std::max(col, leftCol_);
        if (col >= ColCount()) break;
        int w = colWidths_[col];
        if (w < 0) continue;
        TRect cell{x, y, x + w, y + h};
        if (w > 0 && h > 0 && !cell.Intersect(clipRect).IsEmpty()) {
          uint32_t state = 0;
          if (col < fixedCols_ || row < fixedRows_)
            state |= gdFixed;
          else {
            bool current = (options_ & goRowSelect) ? row == row_ : (col == col_ && row == row_);
            if (current) state |= gdSelected;
            if (col == col_ && row == row_ && focused) state |= gdFocused;
          }
          DrawCell(col, row, cell, state);
        }
        x += w + LineWidthOfCol(col);
        right = std::max(right, x);
      }
    }
    y += rowExtent;
    bottom = y;
  }
  if (right == 0)
    for (int col = 0, x = 0; col < ColCount(); ++col) {
      if (col == fixedCols_) col = std::max(col, leftCol_);
      if (col >= ColCount()) break;
      x += ColLineWidth(col);
      right = x;
    }
  DrawEmptyArea(canvas, TRect{right, 0, cw, ch}, TRect{0, bottom, std::min(right, cw), ch});
}

// Scroll bars ----------------------------------------------------------------------------------

void TCustomGrid::UpdateScrollBars() {
  if (!HandleAllocated()) return;
  HWND h = HandleIfAllocated();
  if (scrollBars_ == TScrollStyle::ssHorizontal || scrollBars_ == TScrollStyle::ssBoth) {
    SCROLLINFO si{sizeof si,
                  SIF_ALL,
                  0,
                  std::max(ColCount() - fixedCols_ - 1, 0),
                  static_cast<UINT>(VisibleColCount()),
                  leftCol_ - fixedCols_,
                  0};
    SetScrollInfo(h, SB_HORZ, &si, TRUE);
  }
  if (scrollBars_ == TScrollStyle::ssVertical || scrollBars_ == TScrollStyle::ssBoth) {
    SCROLLINFO si{sizeof si,
                  SIF_ALL,
                  0,
                  std::max(RowCount() - fixedRows_ - 1, 0),
                  static_cast<UINT>(VisibleRowCount()),
                  topRow_ - fixedRows_,
                  0};
    SetScrollInfo(h, SB_VERT, &si, TRUE);
  }
}

void TCustomGrid::HandleVertScroll(int code, int pos) {
  int page = std::max(VisibleRowCount(), 1);
  switch (code) {
  case SB_LINEUP:
    SetTopRow(topRow_ - 1);
    break;
  case SB_LINEDOWN:
    SetTopRow(topRow_ + 1);
    break;
  case SB_PAGEUP:
    SetTopRow(topRow_ - page);
    break;
  case SB_PAGEDOWN:
    SetTopRow(topRow_ + page);
    break;
  case SB_TOP:
    SetTopRow(fixedRows_);
    break;
  case SB_BOTTOM:
    SetTopRow(RowCount() - page);
    break;
  case SB_THUMBPOSITION:
    SetTopRow(fixedRows_ + pos);
    break;
  case SB_THUMBTRACK:
    if (options_ & goThumbTracking) SetTopRow(fixedRows_ + pos);
    break;
  default:
    break;
  }
}

void TCustomGrid::HandleHorzScroll(int code, int pos) {
  int page = std::max(VisibleColCount(), 1);
  switch (code) {
  case SB_LINELEFT:
    SetLeftCol(leftCol_ - 1);
    break;
  case SB_LINERIGHT:
    SetLeftCol(leftCol_ + 1);
    break;
  case SB_PAGELEFT:
    SetLeftCol(leftCol_ - page);
    break;
  case SB_PAGERIGHT:
    SetLeftCol(leftCol_ + page);
    break;
  case SB_LEFT:
    SetLeftCol(fixedCols_);
    break;
  case SB_RIGHT:
    SetLeftCol(ColCount() - page);
    break;
  case SB_THUMBPOSITION:
    SetLeftCol(fixedCols_ + pos);
    break;
  case SB_THUMBTRACK:
    if (options_ & goThumbTracking) SetLeftCol(fixedCols_ + pos);
    break;
  default:
    break;
  }
}

void TCustomGrid::HandleWheel(int delta) {
  wheelRest_ += delta;
  while (wheelRest_ >= WHEEL_DELTA) {
    wheelRest_ -= WHEEL_DELTA;
    if (row_ > fixedRows_) MoveCurrent(col_, row_ - 1);
  }
  while (wheelRest_ <= -WHEEL_DELTA) {
    wheelRest_ += WHEEL_DELTA;
    if (row_ < RowCount() - 1) MoveCurrent(col_, row_ + 1);
  }
}

// Editor ---------------------------------------------------------------------------------------

bool TCustomGrid::CanEditShow() const {
  return (options_ & goEditing) && !(options_ & goRowSelect) && row_ >= fixedRows_ && col_ >= fixedCols_ &&
         HandleAllocated();
}

std::string TCustomGrid::GetEditText(int, int) { return {}; }
void TCustomGrid::SetEditText(int, int, const std::string &) {}

void TCustomGrid::SetEditorMode(bool on) {
  if (on)
    ShowEditor();
  else
    HideEditor();
}

TInplaceEdit *TCustomGrid::CreateEditor() { return new TInplaceEdit(this); }

void TCustomGrid::ShowEditor() {
  if (!CanEditShow()) return;
  if (!editor_) {
    editor_ = CreateEditor();
    editor_->grid_ = this;
    editor_->SetParent(this);
  }
  editorMode_ = true;
  UpdateEditor();
  // Typing goes to the editor from now on.
  if (Focused() && editor_->Visible()) editor_->SetFocus();
}

void TCustomGrid::HideEditor() {
  if (!editorMode_) return;
  editorMode_ = false;
  if (editor_) {
    bool hadFocus = editor_->Focused();
    editor_->Hide();
    if (hadFocus && HandleAllocated()) ::SetFocus(HandleIfAllocated());
  }
}

void TCustomGrid::UpdateEditor() {
  if (!editorMode_ || !editor_) return;
  TRect r = CellRect(col_, row_);
  if (r.IsEmpty()) {
    editor_->Hide();
    return;
  }
  editor_->UpdateContents();
  editor_->Move(r);
}

void TCustomGrid::InvalidateEditor() {
  if (editorMode_) UpdateEditor();
}

// Mouse ----------------------------------------------------------------------------------------

bool TCustomGrid::ColSizingZone(int x, int y, int &col) const {
  if (!(options_ & goColSizing)) return false;
  int titleBottom = 0;
  for (int r = 0; r < fixedRows_; ++r)
    titleBottom += RowLineWidth(r);
  if (y < 0 || y >= titleBottom) return false;
  int at = 0;
  for (int c = 0; c < ColCount(); ++c) {
    if (c == fixedCols_) c = std::max(c, leftCol_);
    if (c >= ColCount()) break;
    if (colWidths_[c] < 0) continue;
    at += ColLineWidth(c);
    if (c >= fixedCols_ && std::abs(x - at) <= kSizingMargin) {
      col = c;
      return true;
    }
  }
  return false;
}

void TCustomGrid::MouseDown(TMouseButton button, uint32_t shift, int x, int y) {
  if (button == TMouseButton::mbLeft) {
    int col = -1;
    if (ColSizingZone(x, y, col)) {
      state_ = TGridState::gsColSizing;
      sizingCol_ = col;
      sizingStart_ = x;
      sizingOrigWidth_ = colWidths_[col];
      SetCapture(HandleIfAllocated());
    } else {
      TGridCoord cell = MouseCoord(x, y);
      if (cell.X >= fixedCols_ && cell.Y >= 0 && cell.Y < fixedRows_ && (options_ & goColMoving)) {
        state_ = TGridState::gsColMoving;
        moveFrom_ = moveTo_ = cell.X;
        SetCapture(HandleIfAllocated());
      } else if (cell.X >= fixedCols_ && cell.Y >= fixedRows_) {
        MoveCurrent(cell.X, cell.Y);
      }
    }
  }
  TCustomControl::MouseDown(button, shift, x, y);
}

void TCustomGrid::MouseMove(uint32_t shift, int x, int y) {
  if (state_ == TGridState::gsColSizing) {
    SetColWidths(sizingCol_, std::max(sizingOrigWidth_ + x - sizingStart_, 0));
  } else if (state_ == TGridState::gsColMoving) {
    TGridCoord cell = MouseCoord(x, 0);
    if (cell.X >= fixedCols_) moveTo_ = cell.X;
  } else if (HandleAllocated()) {
    int col = -1;
    SetCursor(LoadCursorW(nullptr, ColSizingZone(x, y, col) ? IDC_SIZEWE : IDC_ARROW));
  }
  TCustomControl::MouseMove(shift, x, y);
}

void TCustomGrid::MouseUp(TMouseButton button, uint32_t shift, int x, int y) {
  TGridState was = state_;
  state_ = TGridState::gsNormal;
  if (was != TGridState::gsNormal && GetCapture() == HandleIfAllocated()) ReleaseCapture();
  if (was == TGridState::gsColSizing) {
    sizingCol_ = -1;
    ColWidthsChanged();
  } else if (was == TGridState::gsColMoving && moveFrom_ != moveTo_ && moveFrom_ >= 0 && moveTo_ >= 0) {
    ColumnMoved(moveFrom_, moveTo_);
  }
  moveFrom_ = moveTo_ = -1;
  TCustomControl::MouseUp(button, shift, x, y);
}

// Keys -----------------------------------------------------------------------------------------

bool TCustomGrid::WantsKey(WPARAM vk) const {
  if (vk == VK_TAB) return (options_ & goTabs) != 0;
  return vk == VK_LEFT || vk == VK_RIGHT || vk == VK_UP || vk == VK_DOWN;
}

bool TCustomGrid::DoKeyDown(WORD &key, uint32_t shift) {
  if (TCustomControl::DoKeyDown(key, shift)) return true;
  int col = col_, row = row_;
  int page = std::max(VisibleRowCount(), 1);
  switch (key) {
  case VK_UP:
    --row;
    break;
  case VK_DOWN:
    ++row;
    break;
  case VK_LEFT:
    --col;
    break;
  case VK_RIGHT:
    ++col;
    break;
  case VK_PRIOR:
    row -= page;
    break;
  case VK_NEXT:
    row += page;
    break;
  case VK_HOME:
    col = fixedCols_;
    break;
  case VK_END:
    col = ColCount() - 1;
    break;
  case VK_TAB:
    if (!(options_ & goTabs)) return false;
    col += (shift & ssShift) ? -1 : 1;
    break;
  case VK_F2:
    ShowEditor();
    return true;
  default:
    return false;
  }
  col = std::clamp(col, fixedCols_, ColCount() - 1);
  row = std::clamp(row, fixedRows_, RowCount() - 1);
  MoveCurrent(col, row);
  return true;
}

// Messages -------------------------------------------------------------------------------------

void TCustomGrid::WndProc(TMessage &m) {
  switch (m.Msg) {
  case WM_GETDLGCODE:
    m.Result = DLGC_WANTARROWS | DLGC_WANTCHARS | ((options_ & goTabs) ? DLGC_WANTTAB : 0);
    return;
  case WM_VSCROLL: {
    SCROLLINFO si{sizeof si, SIF_TRACKPOS | SIF_POS, 0, 0, 0, 0, 0};
    GetScrollInfo(HandleIfAllocated(), SB_VERT, &si);
    int code = LOWORD(m.WParam);
    HandleVertScroll(code, code == SB_THUMBTRACK ? si.nTrackPos
                                                 : (code == SB_THUMBPOSITION ? si.nTrackPos : si.nPos));
    return;
  }
  case WM_HSCROLL: {
    SCROLLINFO si{sizeof si, SIF_TRACKPOS | SIF_POS, 0, 0, 0, 0, 0};
    GetScrollInfo(HandleIfAllocated(), SB_HORZ, &si);
    int code = LOWORD(m.WParam);
    HandleHorzScroll(code, (code == SB_THUMBTRACK || code == SB_THUMBPOSITION) ? si.nTrackPos : si.nPos);
    return;
  }
  case WM_MOUSEWHEEL:
    if (Enabled()) HandleWheel(GET_WHEEL_DELTA_WPARAM(m.WParam));
    return;
  case WM_SIZE:
    TCustomControl::WndProc(m);
    Resized();
    return;
  case WM_SETFOCUS:
  case WM_KILLFOCUS:
    TCustomControl::WndProc(m);
    InvalidateCell(col_, row_);
    if (options_ & goRowSelect) InvalidateRow(row_);
    return;
  case WM_CANCELMODE:
  case WM_CAPTURECHANGED:
    if (state_ != TGridState::gsNormal && reinterpret_cast<HWND>(m.LParam) != HandleIfAllocated()) {
      state_ = TGridState::gsNormal;
      moveFrom_ = moveTo_ = sizingCol_ = -1;
    }
    break;
  default:
    break;
  }
  TCustomControl::WndProc(m);
}

// TDrawGrid ------------------------------------------------------------------------------------

const TClassInfo &TDrawGrid::StaticClassInfo() {
  // Counts, sizes and options are published here: a derived grid that lays itself out (the
  // data-aware grid) publishes its own options instead.
  static const TClassInfo &info = DefineClass<TDrawGrid, TCustomGrid>("TDrawGrid", [](auto &c) {
    c.Integer("ColCount", &TCustomGrid::ColCount, &TCustomGrid::SetColCount, 5);
    c.Integer("DefaultColWidth", &TCustomGrid::DefaultColWidth, &TCustomGrid::SetDefaultColWidth, 64);
    c.Integer("DefaultRowHeight", &TCustomGrid::DefaultRowHeight, &TCustomGrid::SetDefaultRowHeight, 24);
    c.Integer("FixedCols", &TCustomGrid::FixedCols, &TCustomGrid::SetFixedCols, 1);
    c.Integer("FixedRows", &TCustomGrid::FixedRows, &TCustomGrid::SetFixedRows, 1);
    c.Integer("GridLineWidth", &TCustomGrid::GridLineWidth, &TCustomGrid::SetGridLineWidth, 1);
    c.Set("Options", &TCustomGrid::Options, &TCustomGrid::SetOptions, kGridOptionNames);
    c.Integer("RowCount", &TCustomGrid::RowCount, &TCustomGrid::SetRowCount, 5);
    c.Enum("ScrollBars", &TCustomGrid::ScrollBars, &TCustomGrid::SetScrollBars, kScrollStyleNames, 3);
    c.Event("OnDrawCell", &TDrawGrid::OnDrawCell);
    c.Event("OnSelectCell", &TDrawGrid::OnSelectCell);
    c.Event("OnTopLeftChanged", &TDrawGrid::OnTopLeftChanged);
  });
  return info;
}

void TDrawGrid::DrawCell(int col, int row, const TRect &rect, uint32_t state) {
  TCustomGrid::DrawCell(col, row, rect, state);
  OnDrawCell(this, col, row, rect, state);
}

bool TDrawGrid::SelectCell(int col, int row) {
  bool can = true;
  OnSelectCell(this, col, row, can);
  return can;
}

void TDrawGrid::TopLeftChanged() {
  TCustomGrid::TopLeftChanged();
  OnTopLeftChanged(this);
}

} // namespace qv
