// Painting read back from the window: indicator, lines, highlight colours with and without the
// focus, the empty area, cut and shortened text.
#include "GridFixture.h"

namespace qv {

using namespace qv::test;

namespace {

// True when some pixel inside r (client coordinates) satisfies pred.
template <class P> bool AnyPixelWhere(HWND wnd, const TRect &r, P pred) {
  UpdateWindow(wnd);
  TWindowDC dc(wnd);
  for (int y = r.Top; y < r.Bottom; ++y)
    for (int x = r.Left; x < r.Right; ++x)
      if (pred(GetPixel(dc.Get(), x, y))) return true;
  return false;
}

bool AnyPixel(HWND wnd, const TRect &r, COLORREF c) {
  return AnyPixelWhere(wnd, r, [c](COLORREF p) { return p == c; });
}

// Text pixels, anti-aliased or not: darker than mid-grey.
bool AnyDarkPixel(HWND wnd, const TRect &r) {
  return AnyPixelWhere(wnd, r,
                       [](COLORREF p) { return GetRValue(p) + GetGValue(p) + GetBValue(p) < 3 * 128; });
}

constexpr COLORREF kBlack = RGB(0, 0, 0);

} // namespace

TEST_F(GridTest, IndicatorArrowStandsBesideTheCurrentRecordOnly) {
  Build(40);
  SaveWindowBmp(grid->Handle(), "grid-exam.bmp");
  HWND h = grid->Handle();
  // Inside the 3D frame of the indicator cells: the arrow is the only black there is.
  auto indicator = [&](int dataRow) { return grid->CellRect(0, dataRow + 1).Inflate(-2, -2); };
  EXPECT_TRUE(AnyPixel(h, indicator(0), kBlack));
  EXPECT_FALSE(AnyPixel(h, indicator(1), kBlack));
  Click(ColX(0), RowY(5));
  EXPECT_FALSE(AnyPixel(h, indicator(0), kBlack));
  EXPECT_TRUE(AnyPixel(h, indicator(5), kBlack));
  // While the record is edited the indicator shows another picture (no black arrow tip at the
  // arrow's place but a mark all the same).
  db->Query().Edit();
  Pump(5);
  EXPECT_TRUE(AnyPixel(h, indicator(5), kBlack));
  db->Query().Cancel();
}

TEST_F(GridTest, DataLinesAreSilverAndFixedLinesBlack) {
  Build(40);
  HWND h = grid->Handle();
  TRect cell = grid->CellRect(3, 3);
  // Below a data cell and right of it: the data line colour.
  EXPECT_EQ(PixelAt(h, cell.Left + 5, cell.Bottom), RGB(192, 192, 192));
  EXPECT_EQ(PixelAt(h, cell.Right, cell.Top + 5), RGB(192, 192, 192));
  // Right of the indicator: the fixed-area colour.
  TRect ind = grid->CellRect(0, 3);
  EXPECT_EQ(PixelAt(h, ind.Right, ind.Top + 5), kBlack);
  // A silver grid draws its data lines grey so that they still show.
  grid->SetColor(clSilver);
  grid->Repaint();
  EXPECT_EQ(PixelAt(h, cell.Left + 5, cell.Bottom), RGB(128, 128, 128));
}

TEST_F(GridTest, CurrentCellIsHighlightedOnlyWithTheFocusUnlessAlwaysShown) {
  Build(40);
  HWND h = grid->Handle();
  grid->SetFocus();
  Pump(5);
  TRect current = grid->CellRect(2, 1);
  Click(ColX(1), RowY(0));
  EXPECT_EQ(PixelAt(h, current.Right - 2, current.Top + 2), GetSysColor(COLOR_HIGHLIGHT));
  other->SetFocus();
  Pump(5);
  EXPECT_EQ(PixelAt(h, current.Right - 2, current.Top + 2), GetSysColor(COLOR_WINDOW));
  grid->SetOptions(grid->Options() | dgAlwaysShowSelection);
  grid->Repaint();
  EXPECT_EQ(PixelAt(h, current.Right - 2, current.Top + 2), GetSysColor(COLOR_BTNSHADOW));
  // Other highlighted cells of the current row (row highlighting) are blended, not plain.
  grid->SetOptionsEh(grid->OptionsEh() | dghRowHighlight);
  grid->Repaint();
  TRect neighbour = grid->CellRect(3, 1);
  COLORREF blended = PixelAt(h, neighbour.Right - 2, neighbour.Top + 2);
  EXPECT_EQ(blended, ColorToRGB(TDBGridEhStyle::LuminateColor(clWindow, clBtnShadow, false)));
  EXPECT_NE(blended, GetSysColor(COLOR_WINDOW));
}

TEST_F(GridTest, CellParameterEventsChangeWhatACellShows) {
  Build(10);
  other->SetFocus();
  Pump(5);
  // The column's event colours the answers of multiple-choice questions.
  grid->Columns()->Items(2)->OnGetCellParams = [](TObject *, TColCellParamsEh &p) {
    if (p.Row % 3 == 2) p.Background = clRed;
  };
  grid->Repaint();
  HWND h = grid->Handle();
  TRect multi = grid->CellRect(3, 2), single = grid->CellRect(3, 1);
  EXPECT_EQ(PixelAt(h, multi.Right - 2, multi.Top + 2), RGB(255, 0, 0));
  EXPECT_EQ(PixelAt(h, single.Right - 2, single.Top + 2), GetSysColor(COLOR_WINDOW));
  // The grid's event sees every data cell first and may change the background as well.
  grid->OnGetCellParams = [](TObject *, TColumnEh *, TFont *, TColor &background, uint32_t) {
    background = clLime;
  };
  grid->Repaint();
  EXPECT_EQ(PixelAt(h, single.Right - 2, single.Top + 2), RGB(0, 255, 0));
  EXPECT_EQ(PixelAt(h, multi.Right - 2, multi.Top + 2), RGB(255, 0, 0));
}

TEST_F(GridTest, LuminatedColoursFollowTheBlendingSteps) {
  // White toward black: 255 -> 127.5 -> 186; focused then 186 - (122 - 186) * 0.25 = 202.
  EXPECT_EQ(TDBGridEhStyle::LuminateColor(RGBColor(255, 255, 255), RGBColor(0, 0, 0), false),
            RGBColor(186, 186, 186));
  EXPECT_EQ(TDBGridEhStyle::LuminateColor(RGBColor(255, 255, 255), RGBColor(0, 0, 0), true),
            RGBColor(202, 202, 202));
  // Each channel on its own: green 0 toward 0 -> 0 -> 135 -> 138.25.
  EXPECT_EQ(TDBGridEhStyle::LuminateColor(RGBColor(255, 0, 0), RGBColor(0, 0, 255), true),
            RGBColor(202, 138, 202));
}

TEST_F(GridTest, WindowColourFillsTheAreaBelowTheLastRecord) {
  Build(3, 190, 300);
  HWND h = grid->Handle();
  TRect last = grid->CellRect(2, 3);
  ASSERT_FALSE(last.IsEmpty());
  EXPECT_EQ(PixelAt(h, last.Left + 5, last.Bottom + 20), GetSysColor(COLOR_WINDOW));
  EXPECT_EQ(PixelAt(h, 3, grid->ClientHeight() - 3), GetSysColor(COLOR_WINDOW));
}

TEST_F(GridTest, LongTextIsCutAtTheCellEdgeOrEndsInDotsWithEndEllipsis) {
  Build(5, 400, 200, false);
  grid->Columns()->Clear();
  TColumnEh *c = grid->Columns()->Add();
  c->SetFieldName("eQType");
  c->SetWidth(45);
  TColumnEh *filler = grid->Columns()->Add();
  filler->SetFieldName("sNo");
  Pump(5);
  other->SetFocus();
  Pump(5);
  HWND h = grid->Handle();
  TRect cell = grid->CellRect(1, 2);
  // The upper half of the last characters' place: glyph strokes when cut, nothing with dots.
  TRect upperRight{cell.Right - 8, cell.Top + 3, cell.Right - 1, cell.Top + cell.Height() / 2};
  SaveWindowBmp(h, "grid-cut.bmp");
  bool strokesWhenCut = AnyDarkPixel(h, upperRight);
  c->SetEndEllipsis(true);
  grid->Repaint();
  SaveWindowBmp(h, "grid-ellipsis.bmp");
  EXPECT_TRUE(strokesWhenCut);
  EXPECT_FALSE(AnyDarkPixel(h, upperRight));
  // The dots sit low in the cell, after what is left of the text.
  COLORREF window = GetSysColor(COLOR_WINDOW);
  TRect lowerHalf{cell.Left + cell.Width() / 2, cell.Top + cell.Height() / 2, cell.Right - 1,
                  cell.Bottom - 1};
  EXPECT_TRUE(AnyPixelWhere(h, lowerHalf, [window](COLORREF p) { return p != window; }));
}

} // namespace qv

namespace qv {

TEST_F(GridTest, ScrollingOneRecordAtATimeLeavesOneArrowAndTheRightTexts) {
  Build(60, 190, 200);
  HWND h = grid->Handle();
  int rows = grid->DataLink().RecordCount();
  for (int i = 0; i < rows + 5; ++i)
    Key(VK_DOWN);
  ASSERT_EQ(db->Query().RecNo(), rows + 6);
  // The arrow is beside the last row only: nothing stale was scrolled along.
  for (int r = 0; r < rows; ++r) {
    TRect ind = grid->CellRect(0, r + 1).Inflate(-2, -2);
    SCOPED_TRACE("data row " + std::to_string(r));
    EXPECT_EQ(AnyPixel(h, ind, kBlack), r == rows - 1);
  }
  // The top row now shows record 7: compare its number cell with a fresh paint of the window.
  TRect first = grid->CellRect(1, 1);
  std::vector<COLORREF> scrolled, fresh;
  auto grab = [&](std::vector<COLORREF> &out) {
    UpdateWindow(h);
    TWindowDC dc(h);
    for (int y = first.Top; y < first.Bottom; ++y)
      for (int x = first.Left; x < first.Right; ++x)
        out.push_back(GetPixel(dc.Get(), x, y));
  };
  grab(scrolled);
  grid->Repaint();
  grab(fresh);
  EXPECT_EQ(scrolled, fresh);
}

} // namespace qv
