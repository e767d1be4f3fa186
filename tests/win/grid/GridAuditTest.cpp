// Faults found in the grid by probing it: switching data sources, cell-event parameters and the
// record they see, row heights with footers, scroll bars, external scroll bars, the search timer,
// the deferred layout message, Escape on a form and the published properties.
#include "GridFixture.h"

#include "platform/classes/ClassInfo.h"
#include "platform/forms/StdCtrls.h"

#include <algorithm>
#include <map>
#include <set>

namespace qv {

using namespace qv::test;

namespace {

bool VertBarShown(HWND h) { return (GetWindowLongPtrW(h, GWL_STYLE) & WS_VSCROLL) != 0; }

// Leftmost and rightmost x of pixels in r that differ from the background colour (-1 when none).
std::pair<int, int> InkSpan(HWND h, const TRect &r, COLORREF background) {
  UpdateWindow(h);
  TWindowDC dc(h);
  int left = -1, right = -1;
  for (int x = r.Left; x < r.Right; ++x)
    for (int y = r.Top; y < r.Bottom; ++y)
      if (GetPixel(dc.Get(), x, y) != background) {
        if (left < 0) left = x;
        right = x;
        break;
      }
  return {left, right};
}

} // namespace

TEST_F(GridTest, SwitchingBetweenOpenSourcesBindsTheColumnsToTheNewDataset) {
  Build(40);
  TField *first = grid->Columns()->Items(0)->Field();
  ASSERT_NE(first, nullptr);
  ASSERT_EQ(first->DataSet(), &db->Query());
  auto second = std::make_unique<TPaperDb>(7);
  second->Query().Open();
  TDBDataSource *source2 = new TDBDataSource(form);
  source2->SetDataSet(&second->Query());
  int passes = grid->LayoutPassCount();
  grid->SetDataSource(source2);
  EXPECT_GT(grid->LayoutPassCount(), passes);
  for (int i = 0; i < grid->Columns()->Count(); ++i) {
    TField *f = grid->Columns()->Items(i)->Field();
    ASSERT_NE(f, nullptr) << i;
    EXPECT_EQ(f->DataSet(), &second->Query()) << i;
  }
  // The old dataset goes; painting and reading the columns must not touch its fields.
  db.reset();
  grid->Invalidate();
  Pump(10);
  EXPECT_EQ(grid->DataLink().RecordCount(), 7);
  grid->SetDataSource(nullptr);
}

TEST_F(GridTest, CellParameterHandlersGetACopyWhoseChangesReachTheCell) {
  Build(20, 400, 300, false);
  TColumnEh *column = grid->Columns()->Items(3); // result1
  ASSERT_EQ(column->FieldName(), "result1");
  int calls = 0;
  grid->OnGetCellParams = [&](TObject *, TColumnEh *c, TFont *font, TColor &background, uint32_t) {
    ++calls;
    if (c == column) {
      font->SetStyle(font->Style() | fsBold);
      font->SetColor(clRed);
      background = clYellow;
    }
  };
  column->OnGetCellParams = [](TObject *, TColCellParamsEh &p) { p.Alignment = TAlignment::taRightJustify; };
  grid->Invalidate();
  Pump(50);
  EXPECT_EQ(column->ExplicitValues() & cvFont, 0u);
  EXPECT_FALSE(column->Font()->Style() & fsBold);
  // Nothing keeps the grid repainting.
  calls = 0;
  Pump(300);
  EXPECT_EQ(calls, 0);
  // Row 1 of the paper has result1 "B": yellow cell, red text at the right edge.
  TRect cell = grid->CellRect(grid->GridColOfColumn(column), grid->TitleRowCount() + 1);
  EXPECT_EQ(PixelAt(grid->Handle(), cell.Left + 1, cell.Bottom - 2), RGB(255, 255, 0));
  auto [left, right] = InkSpan(grid->Handle(), cell, RGB(255, 255, 0));
  ASSERT_GE(left, 0);
  EXPECT_GT(left, cell.Left + cell.Width() / 2);
  bool red = false;
  {
    TWindowDC dc(grid->Handle());
    for (int x = left; x <= right && !red; ++x)
      for (int y = cell.Top; y < cell.Bottom && !red; ++y)
        red = GetPixel(dc.Get(), x, y) == RGB(255, 0, 0);
  }
  EXPECT_TRUE(red);
}

TEST_F(GridTest, DrawEventsSeeTheRecordOfTheRowBeingDrawn) {
  Build(30);
  std::map<int, std::string> seen; // grid row -> sNo text while drawing it
  auto record = [&](TObject *, const TRect &rect, int dataCol, TColumnEh *c, uint32_t) {
    if (dataCol == 0)
      seen[grid->MouseCoord(rect.Left + 1, rect.Top + 1).Y] =
          c->Field() ? c->Field()->DisplayText() : std::string();
  };
  grid->OnDrawColumnCell = record;
  Key(VK_DOWN); // the current record is the second one
  grid->Invalidate();
  Pump(20);
  ASSERT_GE(seen.size(), 5u);
  // The first data row shows record 1, the next record 2, and so on.
  for (auto &[row, text] : seen)
    EXPECT_EQ(text, std::to_string(row)) << row;
}

TEST_F(GridTest, DataRowsThatReplaceTheFillerRowTakeTheDefaultHeight) {
  Build(3);
  grid->SetFooterRowCount(1);
  Pump(5);
  int filler = grid->TitleRowCount() + 3;
  ASSERT_GT(grid->RowHeights(filler), grid->DefaultRowHeight());
  TQuery &q = db->Query();
  q.Append();
  q.FieldByName("sNo")->SetAsInteger(4);
  q.Post();
  Pump(5);
  ASSERT_EQ(grid->DataLink().RecordCount(), 4);
  for (int r = grid->TitleRowCount(); r < grid->TitleRowCount() + 4; ++r)
    EXPECT_EQ(grid->RowHeights(r), grid->DefaultRowHeight()) << r;
  EXPECT_EQ(grid->RowHeights(grid->RowCount() - 1), grid->DefaultRowHeight());
}

TEST_F(GridTest, TurningFittingOffKeepsTheVerticalScrollBar) {
  Build(100);
  ASSERT_TRUE(VertBarShown(grid->Handle()));
  grid->SetAutoFitColWidths(false);
  Pump(10);
  EXPECT_TRUE(VertBarShown(grid->Handle()));
  grid->SetAutoFitColWidths(true);
  Pump(10);
  EXPECT_TRUE(VertBarShown(grid->Handle()));
}

TEST_F(GridTest, DeletedExternalScrollBarIsForgotten) {
  Build(50);
  auto *bar = new TEdit(form);
  bar->SetParent(form);
  grid->VertScrollBar()->SetExtScrollBar(bar);
  EXPECT_EQ(grid->VertScrollBar()->ExtScrollBar(), bar);
  delete bar;
  EXPECT_EQ(grid->VertScrollBar()->ExtScrollBar(), nullptr);
  Key(VK_DOWN); // updates the scroll bar, which must not reach the deleted control
  EXPECT_EQ(db->Query().RecNo(), 2);
}

TEST_F(GridTest, BackspaceKeepsASearchStartedWithCtrlFUntimed) {
  Build(30);
  grid->SetOptionsEh(grid->OptionsEh() | dghIncSearch);
  Key(VK_RIGHT);
  Key('F', ssCtrl);
  ASSERT_TRUE(grid->InSearch());
  SendMessageW(grid->Handle(), WM_CHAR, L'多', 1);
  SendMessageW(grid->Handle(), WM_CHAR, L'项', 1);
  SendMessageW(grid->Handle(), WM_CHAR, L'\b', 1);
  EXPECT_EQ(grid->SearchText(), "多");
  Pump(1900);
  EXPECT_TRUE(grid->InSearch());
  Key(VK_ESCAPE);
  EXPECT_FALSE(grid->InSearch());
}

TEST_F(GridTest, DeferredLayoutMessageInsideASectionKeepsTheCounterBalanced) {
  Build(30);
  grid->PostDeferredLayout();
  grid->BeginLayout();
  Pump(30); // the message arrives while the section is open
  EXPECT_EQ(grid->LayoutDepth(), 1);
  int passes = grid->LayoutPassCount();
  grid->EndLayout();
  EXPECT_EQ(grid->LayoutDepth(), 0);
  EXPECT_EQ(grid->LayoutPassCount(), passes + 1);
  grid->SetRowHeight(30);
  EXPECT_EQ(grid->LayoutPassCount(), passes + 2);
}

TEST_F(GridTest, DeferredLayoutWaitsQuietlyForAClickThatRunsAModalLoop) {
  Build(30);
  int deliveries = 0;
  bool ran = false;
  db->Query().AfterScroll = [&](TDataSet &) {
    if (ran) return;
    ran = true;
    grid->PostDeferredLayout();
    // A modal loop inside the click: messages are handled while the grid holds its layout.
    auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(200);
    MSG msg;
    while (std::chrono::steady_clock::now() < end)
      while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
        if (msg.message == WM_DEFERREDLAYOUTEH && msg.hwnd == grid->Handle()) ++deliveries;
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
      }
  };
  int passes = grid->LayoutPassCount();
  Click(ColX(0), RowY(4));
  EXPECT_TRUE(ran);
  EXPECT_LE(deliveries, 2);
  Pump(30);
  EXPECT_GT(grid->LayoutPassCount(), passes); // the deferred pass ran once the click was over
  EXPECT_EQ(grid->HoldDepth(), 0);
}

TEST_F(GridTest, EscapeWithNothingToCancelReachesTheFormsCancelButton) {
  Build(30);
  auto *cancel = new TButton(form);
  cancel->SetParent(form);
  cancel->SetBounds(220, 60, 80, 26);
  cancel->SetCancel(true);
  int clicks = 0;
  cancel->OnClick = [&](TObject *) { ++clicks; };
  ASSERT_TRUE(grid->Focused());
  Key(VK_ESCAPE);
  EXPECT_EQ(clicks, 1);
  // While a search runs, Escape ends it and stays in the grid.
  grid->SetOptionsEh(grid->OptionsEh() | dghIncSearch);
  Key('F', ssCtrl);
  Key(VK_ESCAPE);
  EXPECT_FALSE(grid->InSearch());
  EXPECT_EQ(clicks, 1);
}

TEST_F(GridTest, GridPublishesOneOptionsProperty) {
  Build(5);
  std::vector<std::string> names;
  for (const TPropInfo *p : grid->ClassInfo().AllProperties())
    names.push_back(p->Name);
  EXPECT_EQ(std::count(names.begin(), names.end(), "Options"), 1);
  // The base grid's counts and sizes are the layout's business, not the form's.
  for (const char *hidden : {"ColCount", "RowCount", "FixedCols", "FixedRows", "DefaultRowHeight"})
    EXPECT_EQ(std::count(names.begin(), names.end(), hidden), 0) << hidden;
  // The plain drawing grid still publishes its own.
  EXPECT_NE(TDrawGrid::StaticClassInfo().FindProperty("ColCount"), nullptr);
}

} // namespace qv

namespace qv {

using namespace qv::test;

// A column's DisplayFormat is a float format; one that looks like a printf format is text.
TEST_F(GridTest, ColumnDisplayFormatIsAFloatFormatAndNoPrintfFormat) {
  Build(300, 300, 400, false);
  TColumnEh *no = nullptr;
  for (int i = 0; i < grid->Columns()->Count(); ++i)
    if (grid->Columns()->Items(i)->FieldName() == "sNo") no = grid->Columns()->Items(i);
  ASSERT_NE(no, nullptr);
  db->Query().SetRecNo(123);
  no->SetDisplayFormat("0.00");
  EXPECT_EQ(no->DisplayText(), "123.00");
  no->SetDisplayFormat("#,##0 题");
  db->Query().SetRecNo(1);
  EXPECT_EQ(no->DisplayText(), "1 题");
  // Read as a printf format this would read strings that were never passed.
  no->SetDisplayFormat("%s%s%s%s%n");
  EXPECT_EQ(no->DisplayText(), "%s%s%s%s%n");
  grid->Invalidate();
  Pump(10);
}

} // namespace qv
