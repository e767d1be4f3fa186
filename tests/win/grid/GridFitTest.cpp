// Column model and fitting: the exam grid's proportions over many widths, clamping, the minimum
// fitting width, zero bases, turning fitting off, user resizing, deferred layout passes.
#include "GridFixture.h"

namespace qv {

using namespace qv::test;

namespace {

int VisibleWidth(TDBGridEh *g, int i) { return g->ColWidths(i + g->IndicatorOffset()); }

bool HasHorzBar(TDBGridEh *g) { return (GetWindowLongPtrW(g->Handle(), GWL_STYLE) & WS_HSCROLL) != 0; }

} // namespace

TEST_F(GridTest, ExamGridSplitsTheClientWidthThirtySixtyFiveEightyOverManyWidths) {
  Build(40);
  for (int width = 120; width <= 520; width += 23) {
    grid->SetWidth(width);
    Pump(5);
    int avail = grid->ClientWidth() - 11 - 3 - 1;
    int w0 = MulDiv(30, avail, 175), w1 = MulDiv(65, avail, 175);
    SCOPED_TRACE("grid width " + std::to_string(width) + ", client " + std::to_string(grid->ClientWidth()));
    EXPECT_EQ(grid->ColWidths(0), 11);
    EXPECT_EQ(VisibleWidth(grid, 0), w0);
    EXPECT_EQ(VisibleWidth(grid, 1), w1);
    EXPECT_EQ(VisibleWidth(grid, 2), avail - w0 - w1);
    // The invisible columns occupy grid columns of width -1 (column lines are on).
    for (int i = 3; i < 6; ++i)
      EXPECT_EQ(VisibleWidth(grid, i), -1);
    // Every pixel of the client width is used: indicator, lines and the three columns.
    TRect last = grid->CellRect(3, 1);
    EXPECT_EQ(last.Right + 1, grid->ClientWidth());
    EXPECT_FALSE(HasHorzBar(grid));
  }
}

TEST_F(GridTest, AGridNarrowerThanItsLinesFitsColumnsOfNoWidth) {
  Build(40, 22);
  int sum = 0;
  for (int i = 0; i < 3; ++i) {
    EXPECT_GE(VisibleWidth(grid, i), 0);
    sum += VisibleWidth(grid, i);
  }
  EXPECT_EQ(sum, std::max(grid->ClientWidth() - 15, 0));
  // Widened again, the proportions come back from the unchanged bases.
  grid->SetWidth(300);
  Pump(5);
  EXPECT_EQ(VisibleWidth(grid, 0), MulDiv(30, grid->ClientWidth() - 15, 175));
}

TEST_F(GridTest, AClampedColumnGivesItsShareToTheOthers) {
  Build(40, 400);
  // Inside one update the limit is only a new setting, not a resize by the user.
  grid->Columns()->BeginUpdate();
  grid->Columns()->Items(1)->SetMaxWidth(50);
  grid->Columns()->EndUpdate();
  Pump(5);
  int avail = grid->ClientWidth() - 15;
  EXPECT_EQ(VisibleWidth(grid, 1), 50);
  EXPECT_TRUE(grid->Columns()->Items(1)->FitClamped());
  // The other two share what is left in the ratio of their bases (30 : 80).
  int rest = avail - 50;
  EXPECT_EQ(VisibleWidth(grid, 0), MulDiv(30, rest, 110));
  EXPECT_EQ(VisibleWidth(grid, 0) + VisibleWidth(grid, 2), rest);
}

TEST_F(GridTest, MinAutoFitWidthWiderThanTheClientIsWhatTheColumnsFit) {
  Build(40);
  grid->SetMinAutoFitWidth(600);
  Pump(5);
  int sum = VisibleWidth(grid, 0) + VisibleWidth(grid, 1) + VisibleWidth(grid, 2);
  EXPECT_EQ(sum, 600 - 15);
  EXPECT_EQ(VisibleWidth(grid, 0), MulDiv(30, 585, 175));
  // A narrower minimum changes nothing: the client width wins.
  grid->SetMinAutoFitWidth(50);
  Pump(5);
  EXPECT_EQ(VisibleWidth(grid, 0) + VisibleWidth(grid, 1) + VisibleWidth(grid, 2), grid->ClientWidth() - 15);
}

TEST_F(GridTest, ZeroBasesLeaveTheWidthsAsTheyAreAndCountAsClamped) {
  Build(40);
  int before[3] = {VisibleWidth(grid, 0), VisibleWidth(grid, 1), VisibleWidth(grid, 2)};
  for (int i = 0; i < 3; ++i)
    grid->Columns()->Items(i)->SetAutoFitBaseWidth(0);
  grid->RequestLayout();
  for (int i = 0; i < 3; ++i) {
    EXPECT_EQ(VisibleWidth(grid, i), before[i]);
    EXPECT_TRUE(grid->Columns()->Items(i)->FitClamped());
  }
}

TEST_F(GridTest, TurningFittingOffRestoresTheWidthsReadFromTheForm) {
  Build(40, 300);
  ASSERT_NE(VisibleWidth(grid, 0), 30);
  grid->SetAutoFitColWidths(false);
  Pump(5);
  EXPECT_EQ(grid->Columns()->Items(0)->Width(), 30);
  EXPECT_EQ(grid->Columns()->Items(1)->Width(), 65);
  EXPECT_EQ(grid->Columns()->Items(2)->Width(), 80);
  EXPECT_EQ(VisibleWidth(grid, 0), 30);
  EXPECT_EQ(VisibleWidth(grid, 2), 80);
  EXPECT_TRUE(HasHorzBar(grid));
  // And on again: the widths are fitted from those bases.
  grid->SetAutoFitColWidths(true);
  Pump(5);
  int avail = grid->ClientWidth() - 15;
  EXPECT_EQ(VisibleWidth(grid, 0), MulDiv(30, avail, 175));
  EXPECT_FALSE(HasHorzBar(grid));
}

TEST_F(GridTest, DraggingATitleBorderWidensTheColumnAndTheRestStillFits) {
  Build(40, 300);
  int avail = grid->ClientWidth() - 15;
  int w0 = VisibleWidth(grid, 0);
  TRect title = grid->CellRect(1, 0);
  HWND h = grid->Handle();
  int y = title.Height() / 2, x = title.Right;
  SendMessageW(h, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(x, y));
  SendMessageW(h, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(x + 20, y));
  SendMessageW(h, WM_LBUTTONUP, 0, MAKELPARAM(x + 20, y));
  Pump(5);
  EXPECT_GT(VisibleWidth(grid, 0), w0 + 10);
  EXPECT_EQ(VisibleWidth(grid, 0) + VisibleWidth(grid, 1) + VisibleWidth(grid, 2), avail);
  // The dataset did not move and no sizing click went to a cell.
  EXPECT_EQ(db->Query().RecNo(), 1);
}

TEST_F(GridTest, ManyColumnChangesInOneUpdateCauseOneLayoutPass) {
  Build(40);
  int passes = grid->LayoutPassCount();
  grid->Columns()->BeginUpdate();
  for (int i = 0; i < 6; ++i)
    grid->Columns()->Items(i)->Title()->SetCaption("T" + std::to_string(i));
  grid->Columns()->Items(3)->SetVisible(true);
  grid->Columns()->EndUpdate();
  EXPECT_EQ(grid->LayoutPassCount(), passes + 1);
  EXPECT_EQ(grid->VisibleColumns().size(), 4u);
  // A deferred pass posts one message however often it is asked for, and runs once.
  passes = grid->LayoutPassCount();
  grid->PostDeferredLayout();
  grid->PostDeferredLayout();
  Pump(20);
  EXPECT_EQ(grid->LayoutPassCount(), passes + 1);
}

TEST_F(GridTest, GeneratedColumnsFollowTheFieldsAndPersistentOnesKeepMissingFields) {
  Build(10, 500, 300, false);
  // No persistent columns: one generated column per field, in field order.
  ASSERT_EQ(grid->Columns()->Count(), db->Query().FieldCount());
  EXPECT_FALSE(grid->Columns()->Items(0)->IsPersistent());
  EXPECT_EQ(grid->Columns()->Items(1)->FieldName(), "sNo");
  EXPECT_EQ(grid->Columns()->Items(1)->Title()->Caption(), "sNo");
  // A persistent column for a field that does not exist stays and shows nothing.
  grid->Columns()->Clear();
  TColumnEh *c = grid->Columns()->Add();
  c->SetFieldName("nosuchfield");
  TColumnEh *d = grid->Columns()->Add();
  d->SetFieldName("SNO");
  Pump(5);
  EXPECT_EQ(grid->Columns()->Count(), 2);
  EXPECT_EQ(c->Field(), nullptr);
  EXPECT_EQ(c->DisplayText(), "");
  // The field's own letter case is taken once bound.
  EXPECT_EQ(d->FieldName(), "sNo");
  EXPECT_EQ(grid->DataLink().Fields(0), nullptr);
  EXPECT_NE(grid->DataLink().Fields(1), nullptr);
}

TEST_F(GridTest, NegativeFooterRowCountIsRefusedAndNegativeRowHeightStoredAsZero) {
  Build(10);
  grid->SetFooterRowCount(2);
  grid->SetFooterRowCount(-1);
  EXPECT_EQ(grid->FooterRowCount(), 2);
  grid->SetRowHeight(-5);
  EXPECT_EQ(grid->RowHeight(), 0);
}

} // namespace qv

namespace qv {

TEST_F(GridTest, MultiLevelTitlesShareGroupCellsAndDoubleTheTitleHeight) {
  Build(20, 300);
  int single = grid->RowHeights(0);
  grid->Columns()->Items(0)->Title()->SetCaption("题目|编号");
  grid->Columns()->Items(1)->Title()->SetCaption("题目|题型");
  grid->SetUseMultiTitle(true);
  Pump(5);
  const THeadTreeNode *root = grid->HeadTree();
  ASSERT_NE(root, nullptr);
  EXPECT_EQ(root->Text, "Root");
  EXPECT_EQ(root->Depth(), 2);
  ASSERT_EQ(root->Children.size(), 2u);
  EXPECT_EQ(root->Children[0]->Text, "题目");
  EXPECT_EQ(root->Children[0]->Children.size(), 2u);
  EXPECT_EQ(root->Children[1]->Column, grid->Columns()->Items(2));
  // Two bands of the single title height, less one pixel for the 3D frame.
  EXPECT_EQ(grid->RowHeights(0), 2 * single - 1);
  // Titles are centred by default once they are split.
  EXPECT_EQ(grid->Columns()->Items(2)->Title()->Alignment(), TAlignment::taCenter);
  SaveWindowBmp(grid->Handle(), "grid-multititle.bmp");
}

} // namespace qv

namespace qv {

TEST_F(GridTest, RowHeightsFollowRowHeightRowLinesAndTheTextHeight) {
  Build(40, 300);
  int base = grid->DefaultRowHeight();
  grid->SetRowLines(2);
  EXPECT_GE(grid->DefaultRowHeight(), 2 * (base - 4)); // two lines of text, no padding asked
  EXPECT_TRUE(grid->TallRows());
  grid->SetRowLines(0);
  grid->SetRowHeight(40);
  EXPECT_EQ(grid->DefaultRowHeight(), 40);
  // Fitted to the text: whole lines of text plus the padding; RowLines and RowHeight are rewritten.
  grid->SetOptionsEh(grid->OptionsEh() | dghFitRowHeightToText);
  grid->RequestLayout();
  int lines = grid->RowLines();
  EXPECT_GE(lines, 1);
  int padding = grid->RowHeight();
  EXPECT_EQ(padding, 3 + 1); // raised look plus the row line
  EXPECT_EQ((grid->DefaultRowHeight() - padding) % lines, 0);
  // The number of buffered records follows the row height.
  EXPECT_LE(grid->DataLink().BufferCount() * (grid->DefaultRowHeight() + 1), grid->ClientHeight());
}

TEST_F(GridTest, FrozenColumnsAreFixedAndHiddenOnesNextToThemCount) {
  Build(40, 400);
  grid->SetFrozenCols(1);
  EXPECT_EQ(grid->FixedCols(), 2);
  // An invisible column right after the frozen ones joins them.
  grid->SetAutoFitColWidths(false);
  grid->Columns()->Items(1)->SetVisible(false);
  Pump(5);
  EXPECT_EQ(grid->FixedCols(), 3);
  EXPECT_EQ(grid->ColWidths(2), -1);
}

TEST_F(GridTest, VerticalScrollBarModes) {
  Build(5, 190, 400);
  HWND h = grid->Handle();
  auto shown = [&] { return (GetWindowLongPtrW(h, GWL_STYLE) & WS_VSCROLL) != 0; };
  EXPECT_TRUE(shown()); // auto: more range than page (record count + page - 1)
  grid->VertScrollBar()->SetVisible(false);
  EXPECT_FALSE(shown());
  EXPECT_EQ(grid->VertScrollBar()->VisibleMode(), TScrollBarVisibleModeEh::sbNeverShowEh);
  grid->VertScrollBar()->SetVisibleMode(TScrollBarVisibleModeEh::sbAlwaysShowEh);
  EXPECT_TRUE(shown());
  // Without a bar the columns fit the wider client area.
  grid->VertScrollBar()->SetVisible(false);
  Pump(10);
  EXPECT_EQ(grid->ColWidths(1) + grid->ColWidths(2) + grid->ColWidths(3), grid->ClientWidth() - 15);
}

TEST_F(GridTest, ReopeningWithOtherFieldsRegeneratesTheColumns) {
  Build(10, 400, 200, false);
  ASSERT_EQ(grid->Columns()->Items(2)->FieldName(), "eQType");
  db->Query().Close();
  db->Query().SetSQL("select eQType, ID from testpaper order by ID desc");
  db->Query().Open();
  Pump(5);
  ASSERT_EQ(grid->Columns()->Count(), 2);
  EXPECT_EQ(grid->Columns()->Items(0)->FieldName(), "eQType");
  EXPECT_EQ(grid->Columns()->Items(1)->DisplayText(), "10");
  grid->Repaint();
}

} // namespace qv
