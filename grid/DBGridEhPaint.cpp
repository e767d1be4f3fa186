// The grid's painting: indicator images, titles with sort markers, data cells with highlight
// colours from the style object, cell text on both paths, 3D frames and the empty area; and the
// resources, the style object and the shared off-screen bitmap.
#include "grid/DBGridEh.h"

#include "platform/base/Text.h"
#include "platform/forms/Forms.h"

#include <algorithm>
#include <cassert>
#include <cmath>
#include <functional>
#include <optional>

namespace qv {
// Shared off-screen bitmap ---------------------------------------------------------------------

namespace {

// Side of the check box a check-box column draws, in pixels.
constexpr int kCheckBoxSize = 13;
// The images of the grid's resources: row indicators and sort markers, in pixels.
constexpr int kIndicatorImageWidth = 6, kIndicatorImageHeight = 11;
constexpr int kSortMarkerWidth = 10, kSortMarkerHeight = 9;
// Width kept free at a title's right for its sort marker, and where the sort index's digits
// start within it.
constexpr int kSortMarkerArea = 16;
constexpr int kSortIndexLeft = 11;
// A font escapement is in tenths of a degree: 900 runs the text upwards.
constexpr int kUpwardsEscapement = 900;
// Gap between right-aligned text and the cell's right edge.
constexpr int kRightTextGap = 3;

// Gap between a cell's text and its edges: a 3D frame takes one pixel of the two.
int CellTextMargin(bool is3D) { return is3D ? 1 : 2; }

// One memory bitmap for all grids, grown to the largest cell drawn through it. The holders are
// declared so that they end in order: the DC's first bitmap selected back, the DC, the bitmap.
struct TSharedDrawBitmap {
  TBitmapHandle Bitmap;
  std::optional<TMemoryDC> Dc;
  std::optional<TSelectGuard> Selection;
  int Width = 0, Height = 0;
  int Refs = 0;
  bool Locked = false;

  void AddRef() { ++Refs; }
  void Release() {
    assert(Refs > 0);
    if (--Refs == 0) Free();
  }
  void Free() {
    Selection.reset();
    Dc.reset();
    Bitmap.Reset();
    Width = Height = 0;
  }
  // The DC holding a bitmap of at least w x h pixels compatible with dc.
  HDC Ensure(HDC dc, int w, int h) {
    if (Dc && w <= Width && h <= Height) return Dc->Get();
    int nw = std::max(w, Width), nh = std::max(h, Height);
    TBitmapHandle bmp(CreateCompatibleBitmap(dc, std::max(nw, 1), std::max(nh, 1)));
    if (!bmp) return nullptr;
    if (!Dc) {
      Dc.emplace(dc);
      Selection.emplace(Dc->Get(), bmp.Get());
    } else {
      SelectObject(Dc->Get(), bmp.Get());
    }
    Bitmap = std::move(bmp);
    Width = nw;
    Height = nh;
    return Dc->Get();
  }
};

TSharedDrawBitmap &SharedDrawBitmap() {
  static TSharedDrawBitmap shared;
  return shared;
}

struct TSharedLock {
  TSharedDrawBitmap &s;
  explicit TSharedLock(TSharedDrawBitmap &shared) : s(shared) {
    assert(!s.Locked);
    s.Locked = true;
  }
  ~TSharedLock() { s.Locked = false; }
};

// Makes the link's fields read another buffered record for the duration of a scope.
struct TActiveRecordScope {
  TDataLink &link;
  int saved;
  TActiveRecordScope(TDataLink &l, int record) : link(l), saved(l.ActiveRecord()) {
    link.SetActiveRecord(record);
  }
  ~TActiveRecordScope() { link.SetActiveRecord(saved); }
};

int TextWidthOf(HDC dc, const std::wstring &text, const TEXTMETRICW &tm) {
  SIZE sz{};
  GetTextExtentPoint32W(dc, text.c_str(), static_cast<int>(text.size()), &sz);
  return sz.cx + tm.tmOverhang;
}

// Copies a font into the canvas font; a change of colour alone keeps the font handle.
void AssignFont(TFont &to, const TFont &from) {
  if (to.Name() == from.Name() && to.Height() == from.Height() && to.Style() == from.Style() &&
      to.Charset() == from.Charset())
    to.SetColor(from.Color());
  else
    to.Assign(from);
}

// Selects the font into dc unless it is selected already: selecting a font is costly, and one
// paint uses few fonts for many cells. The paint puts the DC's own font back at its end.
void UseFont(HDC dc, HFONT font) {
  if (GetCurrentObject(dc, OBJ_FONT) != font) SelectObject(dc, font);
}

// Whether the device shows c as it is (no dithering). On a true-colour display every colour is;
// otherwise the device is asked, and the last answer remembered.
bool IsPureColor(HDC dc, COLORREF c, bool trueColor) {
  if (trueColor) return true;
  static COLORREF lastColor = CLR_INVALID;
  static bool lastPure = false;
  if (c != lastColor) {
    lastColor = c;
    lastPure = GetNearestColor(dc, c) == c;
  }
  return lastPure;
}

void FillSolid(HDC dc, const TRect &r, COLORREF c) {
  // An opaque empty text fills with the background colour without selecting a brush.
  COLORREF old = SetBkColor(dc, c);
  RECT rc{r.Left, r.Top, r.Right, r.Bottom};
  ExtTextOutW(dc, 0, 0, ETO_OPAQUE, &rc, nullptr, 0, nullptr);
  SetBkColor(dc, old);
}

int LoadImages(TImageList &list, const wchar_t *name, COLORREF mask) {
  const TBitmapHandle bmp(static_cast<HBITMAP>(
      LoadImageW(GetModuleHandleW(nullptr), name, IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION)));
  if (!bmp) throw Exception("Cannot load bitmap resource " + Narrow(name));
  return ImageList_AddMasked(list.Handle(), bmp.Get(), mask);
}

} // namespace

void AddSharedDrawBitmapRef() { SharedDrawBitmap().AddRef(); }
void ReleaseSharedDrawBitmapRef() { SharedDrawBitmap().Release(); }

// Resources ------------------------------------------------------------------------------------

TGridResourcesEh &TGridResourcesEh::Get() {
  static TGridResourcesEh resources;
  return resources;
}

TGridResourcesEh::TGridResourcesEh() {
  HINSTANCE inst = GetModuleHandleW(nullptr);
  down_ = LoadCursorW(inst, L"DOWNCUREH");
  right_ = LoadCursorW(inst, L"RIGHTCUREH");
  left_ = LoadCursorW(inst, L"LEFTCUREH");
  if (!down_ || !right_ || !left_) throw Exception("Cannot load cursor resource");

  indicators_ = std::make_unique<TImageList>(kIndicatorImageWidth, kIndicatorImageHeight);
  const COLORREF white = RGB(255, 255, 255), olive = RGB(128, 128, 0);
  LoadImages(*indicators_, L"DBGARROWEH", white);
  LoadImages(*indicators_, L"DBEDITEH", white);
  LoadImages(*indicators_, L"DBINSERTEH", white);
  LoadImages(*indicators_, L"DBMULTIDOTEH", white);
  LoadImages(*indicators_, L"DBMULTIARROWEH", white);
  LoadImages(*indicators_, L"DBGARROWEHW", olive);
  {
    // The white arrow again, on a coloured box, for the incremental search.
    TBitmapHandle src(
        static_cast<HBITMAP>(LoadImageW(inst, L"DBGARROWEHW", IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION)));
    if (!src) throw Exception("Cannot load bitmap resource DBGARROWEHW");
    TWindowDC screen(nullptr);
    TMemoryDC from(screen.Get()), to(screen.Get());
    TBitmapHandle dst(CreateCompatibleBitmap(screen.Get(), kIndicatorImageWidth, kIndicatorImageHeight));
    {
      TSelectGuard a(from.Get(), src.Get()), b(to.Get(), dst.Get());
      const COLORREF box = RGB(0, 127, 127);
      for (int y = 0; y < kIndicatorImageHeight; ++y)
        for (int x = 0; x < kIndicatorImageWidth; ++x) {
          COLORREF c = GetPixel(from.Get(), x, y);
          SetPixel(to.Get(), x, y, c == olive ? box : c);
        }
    }
    ImageList_AddMasked(indicators_->Handle(), dst.Get(), olive);
  }

  sortMarkers_ = std::make_unique<TImageList>(kSortMarkerWidth, kSortMarkerHeight);
  const COLORREF magenta = RGB(255, 0, 255);
  LoadImages(*sortMarkers_, L"DBSMDOWNEH", magenta);
  LoadImages(*sortMarkers_, L"DBSMUPEH", magenta);

  // Sort-index digits: Arial, character height 1 - (height of the sort marker) = -8.
  sortIndexFont_.Reset(CreateFontW(1 - sortMarkers_->Height(), 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE,
                                   DEFAULT_CHARSET, OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY,
                                   DEFAULT_PITCH, L"Arial"));
}

void TGridResourcesEh::DrawIndicator(HDC dc, int x, int y, int index, COLORREF background) {
  // Drawing through the image list (mask, transparency) costs far more than a copy: each image
  // is drawn once per background colour and copied from then on.
  uint64_t key = (static_cast<uint64_t>(index) << 32) | background;
  auto it = indicatorCache_.find(key);
  if (it == indicatorCache_.end()) {
    int w = indicators_->Width(), h = indicators_->Height();
    TBitmapHandle bmp(CreateCompatibleBitmap(dc, w, h));
    TMemoryDC mem(dc);
    {
      TSelectGuard sel(mem.Get(), bmp.Get());
      COLORREF old = SetBkColor(mem.Get(), background);
      RECT rc{0, 0, w, h};
      ExtTextOutW(mem.Get(), 0, 0, ETO_OPAQUE, &rc, nullptr, 0, nullptr);
      SetBkColor(mem.Get(), old);
      ImageList_Draw(indicators_->Handle(), index, mem.Get(), 0, 0, ILD_TRANSPARENT);
    }
    it = indicatorCache_.emplace(key, std::move(bmp)).first;
  }
  TMemoryDC mem(dc);
  TSelectGuard sel(mem.Get(), it->second.Get());
  BitBlt(dc, x, y, indicators_->Width(), indicators_->Height(), mem.Get(), 0, 0, SRCCOPY);
}

// Style ----------------------------------------------------------------------------------------

TDBGridEhStyle::TDBGridEhStyle() { CheckTrueColor(); }

TDBGridEhStyle::~TDBGridEhStyle() {
  if (window_) DestroyWindow(window_);
}

TDBGridEhStyle &TDBGridEhStyle::Default() {
  static TDBGridEhStyle *style = [] {
    auto *s = new TDBGridEhStyle; // lives for the process, as the grids may outlive static destruction order
    WNDCLASSW wc{};
    wc.lpfnWndProc = &TDBGridEhStyle::StyleWndProc;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.lpszClassName = L"TDBGridEhStyleWindow";
    RegisterClassW(&wc);
    // A hidden top-level window: it hears the broadcast of system colour changes.
    s->window_ = CreateWindowExW(0, wc.lpszClassName, L"", WS_POPUP, 0, 0, 0, 0, nullptr, nullptr,
                                 wc.hInstance, nullptr);
    if (s->window_) SetWindowLongPtrW(s->window_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(s));
    return s;
  }();
  return *style;
}

LRESULT CALLBACK TDBGridEhStyle::StyleWndProc(HWND wnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  if (msg == WM_SYSCOLORCHANGE || msg == WM_DISPLAYCHANGE) {
    if (auto *s = reinterpret_cast<TDBGridEhStyle *>(GetWindowLongPtrW(wnd, GWLP_USERDATA))) {
      s->CheckTrueColor();
      for (TCustomDBGridEh *g : s->grids_)
        g->Invalidate();
    }
  }
  return DefWindowProcW(wnd, msg, wParam, lParam);
}

void TDBGridEhStyle::CheckTrueColor() {
  TWindowDC screen(nullptr);
  trueColor_ = GetDeviceCaps(screen.Get(), NUMCOLORS) == -1;
}

void TDBGridEhStyle::AttachGrid(TCustomDBGridEh *grid) {
  if (std::find(grids_.begin(), grids_.end(), grid) == grids_.end()) grids_.push_back(grid);
}

void TDBGridEhStyle::DetachGrid(TCustomDBGridEh *grid) { std::erase(grids_, grid); }

TColor TDBGridEhStyle::LuminateColor(TColor c, TColor target, bool focused) {
  COLORREF bg = ColorToRGB(c), to = ColorToRGB(target);
  // Halfway to the target colour, then most of the way to a pale grey; a focused grid's
  // selection is then pushed a little away from a mid grey, so that it stands out more.
  constexpr double kToTarget = 0.5, kToPale = 0.6, kFromMid = 0.25;
  constexpr int kPale = 225, kMid = 122;
  auto channel = [focused](int ch, int g) {
    double v = ch + (g - ch) * kToTarget;
    v = v + (kPale - v) * kToPale;
    if (focused) v = v - (kMid - v) * kFromMid;
    return std::clamp(static_cast<int>(std::lround(v)), 0, 255);
  };
  COLORREF mixed = RGB(channel(GetRValue(bg), GetRValue(to)), channel(GetGValue(bg), GetGValue(to)),
                       channel(GetBValue(bg), GetBValue(to)));
  TWindowDC screen(nullptr);
  COLORREF nearest = GetNearestColor(screen.Get(), mixed);
  return nearest == CLR_INVALID ? mixed : nearest;
}

void TDBGridEhStyle::HighlightColors(const TCustomDBGridEh &, bool current, bool gridFocused,
                                     TColor &background, TColor &text) const {
  if (gridFocused) {
    if (current || !trueColor_ || !luminateSelection_) {
      background = clHighlight;
      text = clHighlightText;
    } else {
      background = LuminateColor(background, clHighlight, true);
    }
    return;
  }
  if (current) {
    background = clBtnShadow;
    text = clHighlightText;
  } else if (trueColor_) {
    background = LuminateColor(background, clBtnShadow, false);
  } else {
    background = clBtnFace;
  }
}

void TCustomDBGridEh::StyleColorsChanged() {
  if (style_) style_->CheckTrueColor();
  Invalidate();
}

// Painting -------------------------------------------------------------------------------------

TColor TCustomDBGridEh::LineColor(int col, int row) const {
  TColor fixedLine = flat_ ? clGray : clBlack, dataLine = Color() == clSilver ? clGray : clSilver;
  if (row < titleRowCount_ || col < indicatorOffset_) return fixedLine;
  // Frozen data columns are fixed for the base grid but draw data lines unless framed in 3D.
  if (col < FixedCols()) return (optionsEh_ & dghFrozen3D) ? fixedLine : dataLine;
  bool footerBlock = footerRowCount_ > 0 && row >= titleRowCount_ + dataRowCount_;
  if (footerBlock && ((optionsEh_ & dghFooter3D) || footerColor_ == clBtnFace)) return fixedLine;
  return dataLine;
}

bool TCustomDBGridEh::GridHasFocus() const {
  if (painting_) return paintFocused_;
  return Focused() || (InplaceEditor() && InplaceEditor()->HandleAllocated() && InplaceEditor()->Focused());
}

void TCustomDBGridEh::Paint() {
  if (inLayout_) {
    // The pass repaints when it ends; meanwhile the cells may not match the columns.
    FillSolid(Canvas().Handle(), ClientRect(), ColorToRGB(Color()));
    return;
  }
  // Asked once per paint: the focus does not change while cells are drawn.
  paintFocused_ = GridHasFocus();
  painting_ = true;
  HDC dc = Canvas().Handle();
  struct TEnd {
    bool &flag;
    HDC dc;
    HGDIOBJ font;
    ~TEnd() {
      flag = false;
      SelectObject(dc, font);
    }
  } end{painting_, dc, GetCurrentObject(dc, OBJ_FONT)};
  TCustomGrid::Paint();
  if (headTree_ && titleRowCount_ > 0) DrawHeaderTree(Canvas());
  // With row selection, a focus rectangle around the current row.
  if ((dbOptions_ & dgRowSelect) && defaultDrawing_ && Focused()) {
    int y = RowTop(Row());
    if (y >= 0) {
      RECT r{ColLeft(FixedCols()) >= 0 ? ColLeft(FixedCols()) : 0, y, ClientWidth(), y + RowHeights(Row())};
      ::DrawFocusRect(Canvas().Handle(), &r);
    }
  }
}

void TCustomDBGridEh::DrawEmptyArea(TCanvas &canvas, const TRect &right, const TRect &below) {
  COLORREF c = ColorToRGB(Color());
  if (!right.IsEmpty()) FillSolid(canvas.Handle(), right, c);
  if (!below.IsEmpty()) FillSolid(canvas.Handle(), below, c);
}

bool TCustomDBGridEh::CellIs3D(int col, int row) const {
  bool footerBlock = footerRowCount_ > 0 && row >= titleRowCount_ + dataRowCount_;
  bool fillerRow = footerRowCount_ > 0 && row == titleRowCount_ + dataRowCount_;
  if (row < titleRowCount_ || (col < indicatorOffset_ && !footerBlock)) return (optionsEh_ & dghFixed3D) != 0;
  if (col < indicatorOffset_ && fillerRow) return false;
  if (footerBlock) return !fillerRow && (optionsEh_ & dghFooter3D);
  if (col < FixedCols()) return (optionsEh_ & dghFrozen3D) != 0;
  return (optionsEh_ & dghData3D) != 0;
}

void TCustomDBGridEh::DrawFrame3D(TCanvas &canvas, const TRect &rect, bool sunken) {
  RECT r{rect.Left, rect.Top, rect.Right, rect.Bottom};
  if (flat_) {
    HDC dc = canvas.Handle();
    FillSolid(dc, {rect.Left, rect.Bottom - 1, rect.Right, rect.Bottom}, ColorToRGB(canvas.Brush.Color()));
    FillSolid(dc, {rect.Right - 1, rect.Top, rect.Right, rect.Bottom}, ColorToRGB(canvas.Brush.Color()));
    DrawEdge(dc, &r, sunken ? BDR_SUNKENINNER : BDR_RAISEDINNER, BF_LEFT | BF_TOP);
    return;
  }
  DrawEdge(canvas.Handle(), &r, sunken ? BDR_SUNKENINNER : BDR_RAISEDINNER, BF_RECT);
}

void TCustomDBGridEh::DrawCell(int col, int row, const TRect &rect, uint32_t state) {
  TCanvas &canvas = Canvas();
  if (Loading()) {
    FillSolid(canvas.Handle(), rect, ColorToRGB(Color()));
    return;
  }
  bool is3D = CellIs3D(col, row);
  TRect inner = is3D ? rect.Inflate(-1, -1) : rect;
  bool sunken = false;
  if (col < indicatorOffset_) {
    DrawIndicatorCell(canvas, row, inner, state);
  } else if (row < titleRowCount_) {
    TColumnEh *column = ColumnOfGridCol(col);
    DrawTitleCell(canvas, column, inner, state);
    sunken = titlePressed_ && pressedCol_ == col;
  } else if (DataRowOfGridRow(row)) {
    TColumnEh *column = ColumnOfGridCol(col);
    DrawDataCell(canvas, column, col, row, inner, state);
    sunken = is3D && IsHighlighted(col, row, state);
  } else if (row == titleRowCount_ + dataRowCount_) {
    // The filler row between the data and the footers shows the background only.
    FillSolid(canvas.Handle(), inner, ColorToRGB(Color()));
  } else {
    DrawFooterCell(canvas, ColumnOfGridCol(col), col, row, inner, state);
  }
  if (is3D) DrawFrame3D(canvas, rect, sunken);
}

void TCustomDBGridEh::DrawIndicatorCell(TCanvas &canvas, int row, const TRect &rect, uint32_t) {
  HDC dc = canvas.Handle();
  bool filler = footerRowCount_ > 0 && row == titleRowCount_ + dataRowCount_;
  // A selected record (records or all, with dgMultiSelect) has its indicator highlighted.
  bool selected = false;
  if ((dbOptions_ & dgMultiSelect) && DataRowOfGridRow(row)) {
    TDBGridEhSelectionType kind = selection_.SelectionType();
    selected =
        kind == TDBGridEhSelectionType::gstAll ||
        (kind == TDBGridEhSelectionType::gstRecordBookmarks && selection_.Rows().Contains(RowBookmark(row)));
  }
  TColor fill = selected ? clHighlight : filler && !(optionsEh_ & dghFrozen3D) ? Color() : FixedColor();
  FillSolid(dc, rect, ColorToRGB(fill));
  if (row < titleRowCount_ || !DataRowOfGridRow(row) || !dataLink_.Active() || row != Row()) return;
  int image = kIndicatorArrow;
  switch (DataSet()->State()) {
  case TDataSetState::dsBrowse:
    image = selected ? kIndicatorSelectedArrow : inSearch_ ? kIndicatorSearch : kIndicatorArrow;
    break;
  case TDataSetState::dsEdit:
    image = kIndicatorEdit;
    break;
  case TDataSetState::dsInsert:
    image = kIndicatorInsert;
    break;
  default:
    break;
  }
  TImageList &images = TGridResourcesEh::Get().Indicators();
  int x = rect.Right - images.Width() - CellTextMargin(CellIs3D(0, row));
  int y = rect.Top + (rect.Height() - images.Height()) / 2;
  TGridResourcesEh::Get().DrawIndicator(dc, x, y, image, ColorToRGB(fill));
}

void TCustomDBGridEh::DrawTitleCell(TCanvas &canvas, TColumnEh *column, const TRect &rect, uint32_t) {
  HDC dc = canvas.Handle();
  if (!column) {
    FillSolid(dc, rect, ColorToRGB(FixedColor()));
    return;
  }
  TColumnTitleEh *title = column->Title();
  TFont *font = title->Font();
  TColor background = title->Color();
  TSortMarkerEh marker = title->SortMarker();
  bool pressed = titlePressed_ && pressedCol_ == GridColOfColumn(column);
  OnGetBtnParams(this, column, font, background, marker, pressed);
  bool is3D = (optionsEh_ & dghFixed3D) != 0;
  int dx = CellTextMargin(is3D), dy = CellTextMargin(is3D);
  if (flat_) --dy;
  if (pressed) {
    dx += 1;
    dy += (titleHeight_ || titleLines_) ? 2 : 1;
  }
  TRect textRect = rect;
  FillSolid(dc, rect, ColorToRGB(background));
  if (marker != TSortMarkerEh::smNoneEh) {
    TImageList &markers = TGridResourcesEh::Get().SortMarkers();
    textRect.Right = std::max(textRect.Left, textRect.Right - kSortMarkerArea);
    int x = textRect.Right + (kSortMarkerArea - markers.Width()) / 2;
    int y = rect.Top + (rect.Height() - markers.Height()) / 2;
    ImageList_Draw(markers.Handle(), marker == TSortMarkerEh::smDownEh ? 0 : 1, dc, x, y, ILD_TRANSPARENT);
    int marked = 0;
    for (int i = 0; i < columns_.Count(); ++i)
      if (columns_.Items(i)->Title()->SortMarker() != TSortMarkerEh::smNoneEh) ++marked;
    if (marked > 1 && title->SortIndex() > 0) {
      TSelectGuard sel(dc, TGridResourcesEh::Get().SortIndexFont());
      SetBkMode(dc, TRANSPARENT);
      SetTextColor(dc, ColorToRGB(clWindowText));
      std::wstring digits = std::to_wstring(title->SortIndex());
      TextOutW(dc, textRect.Right + kSortIndexLeft, y, digits.c_str(), static_cast<int>(digits.size()));
    }
  }
  AssignFont(canvas.Font, *font);
  canvas.Brush.SetColor(background);
  std::string caption = title->Caption();
  if (const THeadTreeNode *leaf = HeaderLeaf(column)) {
    // Upper levels belong to the group cells drawn over the titles; the leaf takes the rest.
    caption = leaf->Text;
    textRect.Top = std::min(textRect.Bottom, rect.Top + leaf->Level * headBandHeight_);
  }
  if (title->Orientation() == TTextOrientationEh::tohVertical) {
    LOGFONTW lf{};
    GetObjectW(font->Handle(), sizeof lf, &lf);
    lf.lfEscapement = lf.lfOrientation = kUpwardsEscapement;
    TFontHandle rotated(CreateFontIndirectW(&lf));
    TSelectGuard sel(dc, rotated.Get());
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, ColorToRGB(font->Color()));
    std::wstring w = Widen(caption);
    RECT clip{textRect.Left, textRect.Top, textRect.Right, textRect.Bottom};
    ExtTextOutW(dc, textRect.Left + dx, textRect.Bottom - dy - vTitleMargin_ / 2, ETO_CLIPPED, &clip,
                w.c_str(), static_cast<UINT>(w.size()), nullptr);
    return;
  }
  bool wrap = titleHeight_ != 0 || titleLines_ != 0;
  DrawCellText(canvas, textRect, 0, 0, title->EndEllipsis(), wrap,
               wrap ? TVertLayoutEh::tlCenter : TVertLayoutEh::tlTop, title->Alignment(), caption, dy, dx,
               false);
}

void TCustomDBGridEh::DrawHeaderTree(TCanvas &canvas) {
  HDC dc = canvas.Handle();
  bool is3D = (optionsEh_ & dghFixed3D) != 0;
  std::function<void(const THeadTreeNode &)> draw = [&](const THeadTreeNode &node) {
    for (const auto &child : node.Children)
      draw(*child);
    if (node.Column || node.Level < 0) return;
    std::vector<const THeadTreeNode *> leaves;
    node.Leaves(leaves);
    int left = -1, right = -1;
    TColumnEh *first = nullptr;
    for (const THeadTreeNode *leaf : leaves) {
      TRect cell = CellRect(GridColOfColumn(leaf->Column), 0);
      if (cell.IsEmpty()) continue;
      if (left < 0) left = cell.Left, first = leaf->Column;
      right = cell.Right;
    }
    if (left < 0) return;
    int top = node.Level * headBandHeight_;
    TRect group{left, top, right, top + headBandHeight_ - 1};
    TRect inner = is3D ? group.Inflate(-1, -1) : group;
    TColor background = first->Title()->Color();
    FillSolid(dc, group, ColorToRGB(background));
    // The line under the group, across the columns and their separators.
    FillSolid(dc, {left, group.Bottom, right, group.Bottom + 1}, ColorToRGB(LineColor(0, 0)));
    AssignFont(canvas.Font, *first->Title()->Font());
    canvas.Brush.SetColor(background);
    DrawCellText(canvas, inner, 0, 0, true, false, TVertLayoutEh::tlTop, TAlignment::taCenter, node.Text,
                 CellTextMargin(is3D), CellTextMargin(is3D), false);
    if (is3D) DrawFrame3D(canvas, group, false);
  };
  draw(*headTree_);
}

bool TCustomDBGridEh::IsHighlighted(int col, int row, uint32_t state) const {
  bool focused = GridHasFocus();
  // With dgMultiSelect, cells of the selection show whether or not the grid has the focus.
  if ((dbOptions_ & dgMultiSelect) && GridCellSelected(col, row)) return true;
  bool selected = (state & gdSelected) || ((dbOptions_ & dgRowSelect) && row == Row()) ||
                  ((optionsEh_ & dghRowHighlight) && row == Row());
  if (!selected) return false;
  return (dbOptions_ & dgAlwaysShowSelection) || (focused && (optionsEh_ & dghHighlightFocus));
}

void TCustomDBGridEh::DrawDataCell(TCanvas &canvas, TColumnEh *column, int col, int row, const TRect &rect,
                                   uint32_t state) {
  HDC dc = canvas.Handle();
  if (!column) {
    FillSolid(dc, rect, ColorToRGB(Color()));
    return;
  }
  TGridDataLinkEh &link = dataLink_;
  int record = row - titleRowCount_;
  bool hasRecord = link.Active() && record < link.RecordCount();
  std::optional<TActiveRecordScope> scope;
  if (hasRecord) scope.emplace(link, record);

  // Handlers change a copy: the column's own font stays as it is (and stays a default).
  AssignFont(cellFont_, *column->Font());
  TFont *font = &cellFont_;
  TColor background = column->Color();
  TAlignment alignment = column->Alignment();
  TRect textRect = rect;
  if (column->AlwaysShowEditButton())
    textRect.Right = std::max(textRect.Left, textRect.Right - editButtonWidth_);
  std::string text = hasRecord ? column->DisplayText() : std::string();
  OnGetCellParams(this, column, font, background, state);
  if (column->OnGetCellParams) {
    TColCellParamsEh params;
    params.Column = column;
    params.Col = col;
    params.Row = row;
    params.State = state;
    params.Font = font;
    params.Alignment = alignment;
    params.Background = background;
    params.Text = text;
    column->OnGetCellParams(this, params);
    background = params.Background;
    alignment = params.Alignment;
    text = params.Text;
  }
  TColor textColor = font->Color();
  bool highlighted = IsHighlighted(col, row, state);
  if (highlighted) {
    bool current = (dbOptions_ & dgRowSelect) ? row == Row() : (col == Col() && row == Row());
    bool focused = GridHasFocus();
    if (style_)
      style_->HighlightColors(*this, current, focused, background, textColor);
    else if (focused)
      background = clHighlight, textColor = clHighlightText;
    else if (current)
      background = clBtnShadow, textColor = clHighlightText;
    else
      background = clBtnFace;
  }
  if (defaultDrawing_) {
    AssignFont(canvas.Font, *font);
    canvas.Font.SetColor(textColor);
    canvas.Brush.SetColor(background);
    if (column->Checkboxes()) {
      FillSolid(dc, rect, ColorToRGB(background));
      int size = std::min({rect.Width(), rect.Height(), kCheckBoxSize});
      RECT box{rect.Left + (rect.Width() - size) / 2, rect.Top + (rect.Height() - size) / 2, 0, 0};
      box.right = box.left + size;
      box.bottom = box.top + size;
      bool checked = !text.empty() && text != "0" && text != "False";
      DrawFrameControl(dc, &box, DFC_BUTTON, DFCS_BUTTONCHECK | (checked ? DFCS_CHECKED : 0));
    } else {
      DrawCellText(canvas, textRect, 0, 0, column->EndEllipsis(), column->WordWrap() && tallRows_,
                   TVertLayoutEh::tlTop, alignment, text, CellTextMargin(false) - (flat_ ? 1 : 0),
                   CellTextMargin(false), true);
    }
    if (column->AlwaysShowEditButton() && textRect.Right < rect.Right) {
      RECT b{textRect.Right, rect.Top, rect.Right, rect.Bottom};
      DrawFrameControl(dc, &b, DFC_SCROLL, DFCS_SCROLLCOMBOBOX);
    }
  }
  // The draw events still see the row's record.
  TRect full = rect;
  if (!columns_.State()) OnDrawDataCell(this, full, col - indicatorOffset_, column, state);
  OnDrawColumnCell(this, full, col - indicatorOffset_, column, state);
  scope.reset();
  if (defaultDrawing_ && (state & gdFocused) && GridHasFocus() && !(dbOptions_ & dgRowSelect) && !inLayout_) {
    TCustomForm *form = ParentForm();
    if (form && form->ActiveControl() == this) {
      RECT r{rect.Left, rect.Top, rect.Right, rect.Bottom};
      ::DrawFocusRect(dc, &r);
    }
  }
}

// Footer cells --------------------------------------------------------------------------------------

void TCustomDBGridEh::DrawFooterCell(TCanvas &canvas, TColumnEh *column, int col, int row, const TRect &rect,
                                     uint32_t state) {
  int footerRow = row - (titleRowCount_ + dataRowCount_ + 1);
  TColumnFooterEh *footer = column ? column->FooterOf(footerRow) : nullptr;
  if (!footer) {
    FillSolid(canvas.Handle(), rect, ColorToRGB(footerColor_));
    return;
  }
  AssignFont(cellFont_, *footer->Font());
  TFont *font = &cellFont_;
  TColor background = footer->Color();
  TAlignment alignment = footer->Alignment();
  std::string text = FooterText(column, footerRow);
  OnGetFooterParams(this, col - indicatorOffset_, footerRow, column, font, background, alignment, state,
                    text);
  if (defaultDrawing_) {
    AssignFont(canvas.Font, *font);
    canvas.Brush.SetColor(background);
    bool is3D = CellIs3D(col, row);
    int dx = CellTextMargin(is3D), dy = CellTextMargin(is3D) - (flat_ ? 1 : 0);
    DrawCellText(canvas, rect, 0, 0, footer->EndEllipsis(), footer->WordWrap() && tallRows_,
                 TVertLayoutEh::tlTop, alignment, text, dy, dx, true);
  }
  OnDrawFooterCell(this, col - indicatorOffset_, footerRow, column, rect, state);
}

// Cell text ------------------------------------------------------------------------------------

void TCustomDBGridEh::DrawCellText(TCanvas &canvas, const TRect &rect, int leftMargin, int rightMargin,
                                   bool endEllipsis, bool wordWrap, TVertLayoutEh layout,
                                   TAlignment alignment, const std::string &text, int dy, int dx, bool fill) {
  HDC dc = canvas.Handle();
  bool mirrored = (GetWindowLongPtrW(HandleIfAllocated(), GWL_EXSTYLE) & WS_EX_RTLREADING) != 0;
  if (mirrored) {
    std::swap(leftMargin, rightMargin);
    if (alignment == TAlignment::taLeftJustify)
      alignment = TAlignment::taRightJustify;
    else if (alignment == TAlignment::taRightJustify)
      alignment = TAlignment::taLeftJustify;
  }
  COLORREF brush = ColorToRGB(canvas.Brush.Color());
  COLORREF textColor = ColorToRGB(canvas.Font.Color());
  UseFont(dc, canvas.Font.Handle());
  std::wstring w = Widen(text);
  bool trueColor = style_ ? style_->IsTrueColor() : TDBGridEhStyle::Default().IsTrueColor();
  if (IsPureColor(dc, brush, trueColor) && !wordWrap) {
    // Fast path: straight to the screen. Left-aligned text that may be cut needs no measuring.
    TEXTMETRICW tm{};
    bool measure = endEllipsis || alignment != TAlignment::taLeftJustify;
    if (measure) GetTextMetricsW(dc, &tm);
    int available = rect.Width() - dx;
    int width = measure ? TextWidthOf(dc, w, tm) : 0;
    if (endEllipsis && width > available) {
      std::wstring original = w;
      for (size_t i = 1; width > available && i + 1 <= original.size(); ++i) {
        w = original.substr(0, original.size() - i - 1) + L"...";
        width = TextWidthOf(dc, w, tm);
      }
    }
    int x = rect.Left + dx + leftMargin;
    if (alignment == TAlignment::taRightJustify)
      x = rect.Right - width - kRightTextGap - rightMargin;
    else if (alignment == TAlignment::taCenter)
      x = rect.Left + rect.Width() / 2 - width / 2;
    SetTextColor(dc, textColor);
    SetBkColor(dc, brush);
    SetBkMode(dc, OPAQUE);
    RECT clip{rect.Left, rect.Top, rect.Right, rect.Bottom};
    ExtTextOutW(dc, x, rect.Top + dy, ETO_CLIPPED | (fill ? ETO_OPAQUE : 0), &clip, w.c_str(),
                static_cast<UINT>(w.size()), nullptr);
    return;
  }
  // Off-screen path: wrapped or dithered text is composed in the shared bitmap, then copied.
  TSharedDrawBitmap &shared = SharedDrawBitmap();
  if (shared.Locked || rect.IsEmpty()) return;
  TSharedLock lock(shared);
  HDC mem = shared.Ensure(dc, rect.Width(), rect.Height());
  if (!mem) return;
  TRect local{0, 0, rect.Width(), rect.Height()};
  if (fill)
    FillSolid(mem, local, brush);
  else
    BitBlt(mem, 0, 0, rect.Width(), rect.Height(), dc, rect.Left, rect.Top, SRCCOPY);
  TSelectGuard memFont(mem, canvas.Font.Handle());
  SetBkMode(mem, TRANSPARENT);
  SetTextColor(mem, textColor);
  UINT flags = DT_NOPREFIX | DT_EXPANDTABS;
  if (alignment == TAlignment::taRightJustify)
    flags |= DT_RIGHT;
  else if (alignment == TAlignment::taCenter)
    flags |= DT_CENTER;
  else
    flags |= DT_LEFT;
  if (mirrored) flags |= DT_RTLREADING;
  if (wordWrap) flags |= DT_WORDBREAK;
  if (endEllipsis) flags |= DT_END_ELLIPSIS;
  RECT tr{dx + leftMargin, dy, local.Right - dx - rightMargin, local.Bottom - dy};
  if (layout != TVertLayoutEh::tlTop) {
    RECT calc = tr;
    int textHeight = DrawTextW(mem, w.c_str(), static_cast<int>(w.size()), &calc, flags | DT_CALCRECT);
    int height = tr.bottom - tr.top;
    if (layout == TVertLayoutEh::tlCenter)
      tr.top += std::max(height / 2 - textHeight / 2, 0);
    else
      tr.top = std::max(tr.bottom - textHeight, tr.top);
  }
  DrawTextW(mem, w.c_str(), static_cast<int>(w.size()), &tr, flags);
  BitBlt(dc, rect.Left, rect.Top, rect.Width(), rect.Height(), mem, 0, 0, SRCCOPY);
}

} // namespace qv
