// The grid's layout: creation, the layout-changing properties, the layout pass that turns the
// column model into the base grid's columns, widths and row heights, and the fitting of column
// widths to the client width.
#include "grid/DBGridEh.h"

#include "platform/base/ScopeExit.h"

#include <algorithm>
#include <cassert>

namespace qv {

namespace {

// Room a row keeps above and below its text: one pixel in a flat grid, three in a 3D one.
constexpr int kFlatRowPadding = 1, kRowPadding = 3;
// Room a title row keeps around its text, and the extra room of a title with set lines or height.
constexpr int kTitlePadding = 4, kTitleLinesPadding = 2;
// A row is tall enough for wrapped text when it is this much taller than one line.
constexpr int kTallRowExtra = 4;
// A title of stacked bands is the bands' heights together, less this much (3D or flat titles).
constexpr int kSharedBandLines3D = 1, kSharedBandLinesFlat = 3;

struct TFontMetrics {
  TEXTMETRICW Tm{};
  int TextHeight = 0; // of "Wg"
};

TFontMetrics MeasureFont(const TFont &font) {
  TFontMetrics m;
  TWindowDC screen(nullptr);
  TSelectGuard sel(screen.Get(), font.Handle());
  GetTextMetricsW(screen.Get(), &m.Tm);
  SIZE sz{};
  GetTextExtentPoint32W(screen.Get(), L"Wg", 2, &sz);
  m.TextHeight = sz.cy;
  return m;
}

} // namespace

TCustomDBGridEh::TCustomDBGridEh(TComponent *owner)
    : TCustomGrid(owner), dataLink_(this), sumList_(std::make_unique<TDBGridEhSumList>(this)), columns_(this),
      columnDefValues_(this), horzScrollBar_(this, false), vertScrollBar_(this, true),
      titleFont_([this] { RequestLayout(); }), footerFont_([this] { RequestLayout(); }) {
  SetColor(clWindow);
  SetParentColor(false);
  sumList_->SumListChanged = [this](TObject *) { InvalidateFooter(); };
  sumList_->OnRecalcAll = [this](TObject *sender) { OnSumListRecalcAll(sender); };
  sumList_->OnAfterRecalcAll = [this](TObject *sender) { OnSumListAfterRecalcAll(sender); };
  SyncBaseOptions();
  SetScrollBars(TScrollStyle::ssHorizontal);
  SetRowCount(2);
  SetColCount(2);
  style_ = &TDBGridEhStyle::Default();
  style_->AttachGrid(this);
  AddSharedDrawBitmapRef();
}

TCustomDBGridEh::~TCustomDBGridEh() {
  ++holdDepth_; // no layout passes while the grid goes
  SetSearchTimer(false);
  if (style_) style_->DetachGrid(this);
  dataLink_.SetDataSource(nullptr);
  sumList_->SetDataSet(nullptr);
  ReleaseSharedDrawBitmapRef();
}

void TCustomDBGridEh::SetStyle(TDBGridEhStyle *style) {
  if (style_ == style) return;
  if (style_) style_->DetachGrid(this);
  style_ = style;
  if (style_) style_->AttachGrid(this);
  Invalidate();
}

void TCustomDBGridEh::SyncBaseOptions() {
  uint32_t o = goColMoving;
  if (dbOptions_ & dgColLines) o |= goFixedVertLine | goVertLine;
  if (dbOptions_ & dgRowLines) o |= goFixedHorzLine | goHorzLine;
  if (dbOptions_ & dgColumnResize) o |= goColSizing;
  if (dbOptions_ & dgEditing) o |= goEditing;
  if (dbOptions_ & dgTabs) o |= goTabs;
  if (dbOptions_ & dgRowSelect) o |= goRowSelect;
  if (dbOptions_ & dgAlwaysShowEditor) o |= goAlwaysShowEditor;
  TCustomGrid::SetOptions(o);
}

// Properties -----------------------------------------------------------------------------------

void TCustomDBGridEh::SetDataSource(TDBDataSource *ds) {
  if (dataSource_ == ds) return;
  if (dataSource_) RemoveFreeNotification(dataSource_);
  dataSource_ = ds;
  if (ds) FreeNotification(ds);
  // Detaching first makes the link report the old dataset inactive and the new one active, so no
  // column keeps a field of the old dataset even when both are open; one pass covers both.
  BeginLayout();
  const TScopeExit end([this] { EndLayout(); });
  dataLink_.SetDataSource(nullptr);
  dataLink_.SetDataSource(ds ? ds->Source() : nullptr);
  if (!dataLink_.Active()) LinkActive();
}

void TCustomDBGridEh::Notification(TComponent *c, TOperation op) {
  if (op == TOperation::opRemove && c == dataSource_) {
    dataSource_ = nullptr;
    dataLink_.SetDataSource(nullptr);
  }
  if (op == TOperation::opRemove) {
    if (c == horzScrollBar_.ExtScrollBar()) horzScrollBar_.SetExtScrollBar(nullptr);
    if (c == vertScrollBar_.ExtScrollBar()) vertScrollBar_.SetExtScrollBar(nullptr);
    for (int i = 0; i < columns_.Count(); ++i)
      columns_.Items(i)->EditButtons()->ForgetComponent(c);
  }
  TCustomGrid::Notification(c, op);
}

void TCustomDBGridEh::SetAutoFitColWidths(bool on) {
  if (autoFitColWidths_ == on) return;
  autoFitColWidths_ = on;
  if (!Loading()) {
    columns_.BeginUpdate();
    for (int i = 0; i < columns_.Count(); ++i) {
      TColumnEh *c = columns_.Items(i);
      if (on)
        c->SetAutoFitBaseWidth(c->Width());
      else
        c->SetWidth(c->AutoFitBaseWidth());
    }
    flushingColumns_ = true;
    columns_.EndUpdate();
    flushingColumns_ = false;
  }
  RequestLayout();
}

void TCustomDBGridEh::SetMinAutoFitWidth(int w) {
  minAutoFitWidth_ = w;
  RequestLayout();
}

void TCustomDBGridEh::SetFrozenCols(int n) {
  frozenCols_ = std::max(n, 0);
  RequestLayout();
}

void TCustomDBGridEh::SetFooterRowCount(int n) {
  if (n < 0) return; // refused
  footerRowCount_ = n;
  RequestLayout();
}

void TCustomDBGridEh::SetTitleHeight(int h) {
  titleHeight_ = h;
  RequestLayout();
}

void TCustomDBGridEh::SetTitleLines(int n) {
  titleLines_ = n;
  RequestLayout();
}

void TCustomDBGridEh::SetRowHeight(int h) {
  rowHeight_ = std::max(h, 0);
  RequestLayout();
}

void TCustomDBGridEh::SetRowLines(int n) {
  rowLines_ = n;
  RequestLayout();
}

void TCustomDBGridEh::SetUseMultiTitle(bool on) {
  useMultiTitle_ = on;
  RequestLayout();
}

void TCustomDBGridEh::SetVTitleMargin(int m) {
  vTitleMargin_ = m;
  RequestLayout();
}

void TCustomDBGridEh::SetFooterColor(TColor c) {
  footerColor_ = c;
  Invalidate();
}

void TCustomDBGridEh::SetFlat(bool on) {
  flat_ = on;
  RequestLayout();
}

void TCustomDBGridEh::SetOptions(uint32_t o) {
  if (o == dbOptions_) return;
  dbOptions_ = o;
  SyncBaseOptions();
  RequestLayout();
}

void TCustomDBGridEh::SetOptionsEh(uint32_t o) {
  optionsEh_ = o;
  Invalidate();
}

void TCustomDBGridEh::SetReadOnly(bool on) {
  readOnly_ = on;
  Invalidate();
}

void TCustomDBGridEh::FontChanged() {
  TCustomGrid::FontChanged();
  RequestLayout();
}

// Layout sections ------------------------------------------------------------------------------

void TCustomDBGridEh::BeginLayout() {
  if (layoutDepth_++ == 0) columns_.BeginUpdate();
}

void TCustomDBGridEh::EndLayout() {
  assert(layoutDepth_ > 0);
  if (--layoutDepth_ > 0) return;
  const TScopeExit flush([this] {
    // Changes the pass itself made to the columns are already laid out.
    flushingColumns_ = true;
    columns_.EndUpdate();
    flushingColumns_ = false;
  });
  if (holdDepth_ == 0)
    RebuildLayout();
  else
    layoutWanted_ = true;
}

void TCustomDBGridEh::HoldLayout() { ++holdDepth_; }

void TCustomDBGridEh::ReleaseLayout() {
  assert(holdDepth_ > 0);
  // A pass asked for while held runs from the message queue, after whatever released the hold.
  if (--holdDepth_ == 0 && layoutWanted_) PostLayoutMessage();
}

void TCustomDBGridEh::DeferredLayoutArrived() {
  layoutPosted_ = false;
  // Blocked now: the section's end or the hold's release runs the pass (posting again here
  // would spin while a modal loop runs inside a held click).
  if (layoutDepth_ == 0 && holdDepth_ == 0 && !inLayout_)
    RequestLayout();
  else
    layoutWanted_ = true;
}

void TCustomDBGridEh::RequestLayout() {
  if (layoutDepth_ > 0 || holdDepth_ > 0 || inLayout_) return;
  BeginLayout();
  EndLayout();
}

void TCustomDBGridEh::PostLayoutMessage() {
  if (!layoutPosted_ && HandleAllocated()) {
    PostMessageW(HandleIfAllocated(), WM_DEFERREDLAYOUTEH, 0, 0);
    layoutPosted_ = true;
  }
}

void TCustomDBGridEh::PostDeferredLayout() {
  PostLayoutMessage();
  if (layoutDepth_ > 0 && --layoutDepth_ == 0) {
    flushingColumns_ = true;
    columns_.EndUpdate();
    flushingColumns_ = false;
  }
}

int TCustomDBGridEh::TextHeightOf(const TFont &font) { return MeasureFont(font).TextHeight; }

// The layout pass ------------------------------------------------------------------------------

void TCustomDBGridEh::RebuildLayout() {
  if (Loading() || inLayout_) return;
  inLayout_ = true;
  LockGridLayout();
  const TScopeExit endPass([this] {
    inLayout_ = false;
    UnlockGridLayout();
  });
  ++layoutPasses_;

  // 1. Queued deferred passes are covered by this one.
  DropDeferredLayout();
  // 2-3. The field map and the columns.
  BuildColumns();
  // 4. Visible columns, column count and fixed columns.
  SetGridColumns();
  // 5. Title rows.
  titleRowCount_ = (dbOptions_ & dgTitles) ? 1 : 0;

  // 6-7. Data row height, edit buttons and tall rows.
  MeasureRows();
  // 8. Title row height.
  int titleHeight = NaturalTitleHeight();
  // 9. Horizontal scroll bar.
  UpdateHorzScrollBar();
  // 10-11. Widths, then fitting.
  ApplyColumnAttributes();
  if (autoFitColWidths_ && HandleAllocated()) FitColumnWidths();

  // 12. Title height from TitleHeight/TitleLines, or from the header tree.
  ApplyTitleHeight(titleHeight);

  // 13. Widths again, rows, the current row.
  ApplyColumnAttributes();
  RecountRows();
  SyncCurrentRow();
  TColumnEh *current = ColumnOfGridCol(Col());
  if ((!current || !current->Visible()) && !visibleColumns_.empty())
    FocusCell(GridColOfColumn(visibleColumns_.front()), Row());
  UpdateScrollBars();
  // The base grid's own bars may have changed (step 9); the vertical one is the grid's.
  UpdateVertScrollBar();
  Invalidate();
}

void TCustomDBGridEh::DropDeferredLayout() {
  if (HandleAllocated()) {
    MSG msg;
    while (PeekMessageW(&msg, HandleIfAllocated(), WM_DEFERREDLAYOUTEH, WM_DEFERREDLAYOUTEH, PM_REMOVE)) {
    }
  }
  layoutPosted_ = false;
  layoutWanted_ = false;
}

void TCustomDBGridEh::BuildColumns() {
  bool hasPersistent = false, hasGenerated = false;
  for (int i = 0; i < columns_.Count(); ++i)
    (columns_.Items(i)->IsPersistent() ? hasPersistent : hasGenerated) = true;
  if (hasPersistent && hasGenerated) columns_.RemoveGenerated();

  indicatorOffset_ = (dbOptions_ & dgIndicator) ? 1 : 0;
  dataLink_.ClearMapping();
  bool active = dataLink_.Active();
  TDataSet *ds = DataSet();
  if (columns_.State()) {
    dataLink_.SetSparseMap(true);
    for (int i = 0; i < columns_.Count(); ++i) {
      columns_.Items(i)->ForgetField();
      if (active) dataLink_.AddMapping(columns_.Items(i)->FieldName());
    }
  } else {
    dataLink_.SetSparseMap(false);
    if (active) {
      for (int i = columns_.Count() - 1; i >= 0; --i) {
        TColumnEh *c = columns_.Items(i);
        TField *f = c->Field();
        if (!f || f->DataSet() != ds || !f->Visible()) columns_.Delete(i);
      }
      int position = 0;
      for (int fi = 0; fi < ds->FieldCount(); ++fi) {
        TField *f = ds->Fields(fi);
        if (!f->Visible()) continue;
        dataLink_.AddMapping(f->FieldName());
        TColumnEh *column = nullptr;
        for (int i = 0; i < columns_.Count() && !column; ++i)
          if (columns_.Items(i)->Field() == f) column = columns_.Items(i);
        if (!column) {
          column = columns_.Add();
          column->SetPersistent(false);
          column->SetField(f);
        }
        column->SetIndex(position++);
      }
    } else {
      columns_.Clear();
    }
    if (columns_.Count() == 0) {
      TColumnEh *empty = columns_.Add();
      empty->SetPersistent(false);
    }
  }
}

void TCustomDBGridEh::SetGridColumns() {
  bool active = dataLink_.Active();
  visibleColumns_.clear();
  for (int i = 0; i < columns_.Count(); ++i)
    if (columns_.Items(i)->Visible()) visibleColumns_.push_back(columns_.Items(i));
  int frozen = std::min(frozenCols_, columns_.Count());
  if (!columns_.State() && !active) frozen = 0;
  int hiddenFrozen = 0;
  for (int i = 0; i < frozen; ++i)
    if (!columns_.Items(i)->Visible()) ++hiddenFrozen;
  for (int i = frozen; frozen > 0 && i < columns_.Count() && !columns_.Items(i)->Visible(); ++i)
    ++hiddenFrozen;
  SetColCount(columns_.Count() + indicatorOffset_);
  int fixedCols = indicatorOffset_ + frozen + hiddenFrozen - (visibleColumns_.empty() ? 1 : 0);
  SetFixedCols(std::clamp(fixedCols, 0, ColCount() - 1));
  tabStops_.assign(ColCount(), false);
}

void TCustomDBGridEh::MeasureRows() {
  TFontMetrics fm = MeasureFont(Font());
  int h = std::max(fm.TextHeight, 1);
  int p = (flat_ ? kFlatRowPadding : kRowPadding) + ((dbOptions_ & dgRowLines) ? GridLineWidth() : 0);
  int rowHeight = (rowHeight_ > 0 || rowLines_ > 0)
                      ? rowHeight_ + (fm.Tm.tmExternalLeading + fm.Tm.tmHeight) * rowLines_
                      : h + p;
  if (optionsEh_ & dghFitRowHeightToText) {
    int f = (rowHeight - p) / h, e = (rowHeight - p) % h;
    rowHeight = (e <= h / 2 && f > 0) ? f * h + p : (f + 1) * h + p;
    rowLines_ = (rowHeight - p) / h;
    rowHeight_ = p;
  }
  SetDefaultRowHeight(std::max(rowHeight, 1));

  // A flat grid's edit button is two thirds of a line wide (an odd number of pixels, so that its
  // arrow has a middle), no wider than a scroll bar; a button takes the row's height when the
  // row is lower than one and a half of its widths.
  int bw =
      flat_ ? std::min(scrollBarWidth_, (std::max<int>(fm.Tm.tmHeight * 2 / 3, 1) | 1)) + 1 : scrollBarWidth_;
  editButtonWidth_ = (bw * 3 + 1) / 2 < rowHeight ? bw : rowHeight;
  tallRows_ = fm.Tm.tmExternalLeading + fm.Tm.tmHeight + fm.Tm.tmInternalLeading + kTallRowExtra < rowHeight;
}

int TCustomDBGridEh::NaturalTitleHeight() {
  int titleHeight = 0;
  if (titleRowCount_ > 0) {
    for (int i = 0; i < columns_.Count(); ++i)
      titleHeight = std::max(titleHeight, TextHeightOf(*columns_.Items(i)->Title()->Font()) + kTitlePadding);
    if (columns_.Count() == 0) titleHeight = TextHeightOf(*TitleFont()) + kTitlePadding;
  }
  return titleHeight;
}

void TCustomDBGridEh::UpdateHorzScrollBar() {
  bool horz = !autoFitColWidths_ && horzScrollBar_.Visible() && !horzScrollBar_.ExtScrollBar();
  SetScrollBars(horz ? TScrollStyle::ssHorizontal : TScrollStyle::ssNone);
}

void TCustomDBGridEh::ApplyTitleHeight(int titleHeight) {
  if (titleRowCount_ > 0) {
    if (titleHeight_ != 0 || titleLines_ != 0) {
      const TFont *tallest = TitleFont();
      int tallestHeight = 0;
      for (int i = 0; i < columns_.Count(); ++i) {
        TFont *f = columns_.Items(i)->Title()->Font();
        int th = TextHeightOf(*f);
        if (th > tallestHeight) tallestHeight = th, tallest = f;
      }
      TFontMetrics tm = MeasureFont(*tallest);
      titleHeight = titleLines_ * tm.Tm.tmHeight + tm.Tm.tmExternalLeading + titleHeight_ +
                    kTitleLinesPadding + ((dbOptions_ & dgRowLines) ? 1 : 0);
    }
    headTree_.reset();
    headBandHeight_ = 0;
    if (useMultiTitle_) {
      headTree_ = THeadTreeNode::Build(visibleColumns_);
      int depth = std::max(headTree_->Depth(), 1);
      headBandHeight_ = titleHeight;
      titleHeight =
          titleHeight * depth - ((optionsEh_ & dghFixed3D) ? kSharedBandLines3D : kSharedBandLinesFlat);
    }
    SetFixedRows(0);
    if (RowCount() < 2) SetRowCount(2);
    SetRowHeights(0, std::max(titleHeight, 1));
    SetFixedRows(1);
  } else {
    SetFixedRows(0);
  }
}

void TCustomDBGridEh::ApplyColumnAttributes() {
  bool active = dataLink_.Active();
  for (int i = 0; i < columns_.Count(); ++i) {
    TColumnEh *c = columns_.Items(i);
    int col = i + indicatorOffset_;
    if (col >= ColCount()) break;
    tabStops_[col] = c->Visible() && !c->ReadOnly() && active && c->Field() && c->Field()->CanModify();
    SetColWidths(col, c->Visible() ? c->Width() : ((dbOptions_ & dgColLines) ? -1 : 0));
  }
  if (indicatorOffset_ > 0) SetColWidths(0, kIndicatorWidth);
}

void TCustomDBGridEh::FitColumnWidths() {
  int n = static_cast<int>(visibleColumns_.size());
  for (TColumnEh *c : visibleColumns_)
    c->SetFitClamped(false);
  auto isFree = [](const TColumnEh *c) { return c->AutoFitColWidth() && !c->FitClamped(); };
  int avail = 0, given = 0;
  for (int pass = 0; pass < std::max(n, 1); ++pass) {
    UpdateVertScrollBar();
    int fixed = 0, base = 0;
    for (TColumnEh *c : visibleColumns_) {
      if (isFree(c))
        base += c->AutoFitBaseWidth();
      else
        fixed += c->Width();
    }
    avail = std::max(std::max(ClientWidth(), minAutoFitWidth_) - fixed, 0);
    if (dbOptions_ & dgIndicator) avail -= kIndicatorWidth;
    if (dbOptions_ & dgColLines) avail -= n;
    if ((dbOptions_ & dgIndicator) && (dbOptions_ & dgColLines)) avail -= 1;
    // A client area narrower than the indicator and the lines leaves nothing, not less.
    avail = std::max(avail, 0);
    given = 0;
    bool newlyClamped = false;
    for (TColumnEh *c : visibleColumns_) {
      if (!isFree(c)) continue;
      // MulDiv rounds to the nearest integer and yields -1 for a zero divisor.
      int asked = MulDiv(c->AutoFitBaseWidth(), avail, base);
      int got = c->FitWidth(asked);
      if (got != asked) {
        c->SetFitClamped(true);
        newlyClamped = true;
      }
      given += got;
    }
    if (!newlyClamped) break;
  }
  if (given != avail) {
    for (auto it = visibleColumns_.rbegin(); it != visibleColumns_.rend(); ++it) {
      if (!isFree(*it)) continue;
      int w = (*it)->Width() + avail - given;
      (*it)->FitWidth(std::max(w, 0));
      if (w < 0) (*it)->FitWidth(0);
      break;
    }
  }
}

// Column notifications -------------------------------------------------------------------------

void TCustomDBGridEh::ColumnChangedNotify(TColumnEh *column) {
  if (inLayout_ || flushingColumns_ || Loading()) return;
  int col = GridColOfColumn(column);
  if (col < 0 || col >= ColCount()) return;
  if (autoFitColWidths_) {
    int gridWidth = ColWidths(col);
    if (gridWidth != -1 && gridWidth > 0 && column->Width() != gridWidth) {
      int oldBase = column->AutoFitBaseWidth();
      int newBase = MulDiv(oldBase, column->Width(), gridWidth);
      column->SetAutoFitBaseWidth(newBase);
      int index = column->Index();
      if (col < ColCount() - 1 && index + 1 < columns_.Count()) {
        TColumnEh *next = columns_.Items(index + 1);
        next->SetAutoFitBaseWidth(std::max(next->AutoFitBaseWidth() + oldBase - newBase, 0));
      }
    }
    RequestLayout();
  } else {
    int width = column->Visible() ? column->Width() : ((dbOptions_ & dgColLines) ? -1 : 0);
    bool same = ColWidths(col) == width;
    SetColWidths(col, width);
    if (same && useMultiTitle_) RequestLayout();
    InvalidateCol(col);
  }
  TColumnEh *current = ColumnOfGridCol(Col());
  if (current && !current->Visible() && !visibleColumns_.empty())
    FocusCell(GridColOfColumn(visibleColumns_.front()), Row());
}

void TCustomDBGridEh::ColumnsChangedNotify() {
  if (inLayout_ || flushingColumns_ || Loading()) return;
  RequestLayout();
  TColumnEh *current = ColumnOfGridCol(Col());
  if (current && !current->Visible() && !visibleColumns_.empty())
    FocusCell(GridColOfColumn(visibleColumns_.front()), Row());
}

void TCustomDBGridEh::ColWidthsChanged() {
  {
    BeginLayout();
    const TScopeExit end([this] { EndLayout(); });
    for (int i = 0; i < columns_.Count(); ++i) {
      TColumnEh *c = columns_.Items(i);
      int col = i + indicatorOffset_;
      if (!c->Visible() || col >= ColCount()) continue;
      int gw = ColWidths(col);
      if (c->MaxWidth() > 0) gw = std::min(gw, c->MaxWidth());
      if (c->MinWidth() > 0) gw = std::max(gw, c->MinWidth());
      if (!autoFitColWidths_) {
        c->SetWidth(gw);
        continue;
      }
      if (c->Width() == gw) continue;
      if (!c->AutoFitColWidth()) {
        c->SetWidth(gw);
        continue;
      }
      int oldBase = c->AutoFitBaseWidth();
      int newBase = MulDiv(oldBase, gw, std::max(c->Width(), 1));
      c->SetAutoFitBaseWidth(newBase);
      if (optionsEh_ & dghResizeWholeRightPart) {
        // The columns to the right share what this one gained or gave up, in proportion.
        int total = 0;
        for (int j = i + 1; j < columns_.Count(); ++j)
          if (columns_.Items(j)->Visible() && columns_.Items(j)->AutoFitColWidth())
            total += columns_.Items(j)->Width();
        if (total > 0)
          for (int j = i + 1; j < columns_.Count(); ++j) {
            TColumnEh *r = columns_.Items(j);
            if (!r->Visible() || !r->AutoFitColWidth()) continue;
            r->SetAutoFitBaseWidth(
                std::max(MulDiv(r->AutoFitBaseWidth(), total + c->Width() - gw, total), 1));
          }
      } else {
        for (int j = i + 1; j < columns_.Count(); ++j) {
          TColumnEh *r = columns_.Items(j);
          if (!r->Visible()) continue;
          r->SetAutoFitBaseWidth(std::max(r->AutoFitBaseWidth() + oldBase - newBase, 0));
          break;
        }
      }
      c->FitWidth(gw);
    }
  }
  OnColWidthsChanged(this);
}

void TCustomDBGridEh::ColumnMoved(int from, int to) {
  TColumnEh *moved = ColumnOfGridCol(from);
  int target = to - indicatorOffset_;
  if (!moved || target < 0 || target >= columns_.Count()) return;
  moved->SetIndex(target);
}

// Window life ----------------------------------------------------------------------------------

void TCustomDBGridEh::CreateParams(TCreateParams &p) {
  TCustomGrid::CreateParams(p);
  p.Style |= WS_VSCROLL;
}

void TCustomDBGridEh::CreateWnd() {
  {
    const TLayoutHold hold(*this);
    TCustomGrid::CreateWnd();
  }
  scrollBarWidth_ = GetSystemMetrics(SM_CXVSCROLL);
  if (autoFitColWidths_)
    RequestLayout();
  else {
    RecountRows();
    SyncCurrentRow();
  }
  UpdateVertScrollBar();
}

void TCustomDBGridEh::Resized() {
  TCustomGrid::Resized();
  if (inLayout_) return;
  if (autoFitColWidths_)
    RequestLayout();
  else {
    RecountRows();
    UpdateVertScrollBar();
  }
}

void TCustomDBGridEh::Loaded() {
  TCustomGrid::Loaded();
  sumList_->SetDataSet(DataSet());
  if (autoFitColWidths_) {
    columns_.BeginUpdate();
    for (int i = 0; i < columns_.Count(); ++i)
      columns_.Items(i)->SetAutoFitBaseWidth(columns_.Items(i)->Width());
    flushingColumns_ = true;
    columns_.EndUpdate();
    flushingColumns_ = false;
    RequestLayout();
    PostDeferredLayout();
  } else {
    RequestLayout();
  }
}

// Header tree -----------------------------------------------------------------------------------

std::unique_ptr<THeadTreeNode> THeadTreeNode::Build(const std::vector<TColumnEh *> &columns) {
  auto root = std::make_unique<THeadTreeNode>();
  root->Text = "Root";
  root->Level = -1;
  for (TColumnEh *column : columns) {
    std::vector<std::string> parts;
    std::string caption = column->Title()->Caption();
    size_t start = 0;
    for (size_t bar; (bar = caption.find('|', start)) != std::string::npos; start = bar + 1)
      parts.push_back(caption.substr(start, bar - start));
    parts.push_back(caption.substr(start));
    THeadTreeNode *node = root.get();
    for (size_t k = 0; k < parts.size(); ++k) {
      bool leaf = k + 1 == parts.size();
      THeadTreeNode *last = node->Children.empty() ? nullptr : node->Children.back().get();
      if (!leaf && last && !last->Column && last->Text == parts[k]) {
        node = last;
        continue;
      }
      auto child = std::make_unique<THeadTreeNode>();
      child->Text = parts[k];
      child->Parent = node;
      child->Level = node->Level + 1;
      if (leaf) child->Column = column;
      node->Children.push_back(std::move(child));
      node = node->Children.back().get();
    }
  }
  return root;
}

int THeadTreeNode::Depth() const {
  int deepest = 0;
  for (const auto &c : Children)
    deepest = std::max(deepest, c->Depth());
  return Level < 0 ? deepest : deepest + 1;
}

void THeadTreeNode::Leaves(std::vector<const THeadTreeNode *> &out) const {
  if (Column) out.push_back(this);
  for (const auto &c : Children)
    c->Leaves(out);
}

const THeadTreeNode *TCustomDBGridEh::HeaderLeaf(const TColumnEh *column) const {
  if (!headTree_) return nullptr;
  std::vector<const THeadTreeNode *> leaves;
  headTree_->Leaves(leaves);
  for (const THeadTreeNode *leaf : leaves)
    if (leaf->Column == column) return leaf;
  return nullptr;
}

// Column look-ups ------------------------------------------------------------------------------

TColumnEh *TCustomDBGridEh::ColumnOfGridCol(int gridCol) const {
  int i = gridCol - indicatorOffset_;
  return i >= 0 && i < columns_.Count() ? columns_.Items(i) : nullptr;
}

int TCustomDBGridEh::GridColOfColumn(const TColumnEh *c) const {
  int i = c ? columns_.IndexOf(c) : -1;
  return i < 0 ? -1 : i + indicatorOffset_;
}

int TCustomDBGridEh::SelectedIndex() const {
  TColumnEh *c = ColumnOfGridCol(Col());
  return c ? c->Index() : -1;
}

void TCustomDBGridEh::SetSelectedIndex(int index) { SelectColumn(index + indicatorOffset_, 0); }

TField *TCustomDBGridEh::SelectedField() const {
  TColumnEh *c = ColumnOfGridCol(Col());
  return c ? c->Field() : nullptr;
}

} // namespace qv
