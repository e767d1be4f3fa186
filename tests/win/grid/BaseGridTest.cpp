// The base grid of cells: geometry with hidden and zero-width columns, hit testing, the current
// cell by keys and clicks, scrolling columns, the cell-drawing hook.
#include "GridFixture.h"

#include "platform/forms/Grids.h"

namespace qv {

using namespace qv::test;

namespace {

struct BaseGridTest : ::testing::Test {
  void SetUp() override {
    Application->Initialize();
    RegisterGridClasses();
    form = new TForm(nullptr);
    form->SetClientWidth(400);
    form->SetClientHeight(300);
    grid = new TDrawGrid(form);
    grid->SetParent(form);
    grid->SetBounds(0, 0, 300, 200);
    grid->SetColCount(6);
    grid->SetRowCount(20);
    grid->SetDefaultColWidth(40);
    grid->SetDefaultRowHeight(20);
    form->Show();
    Pump(20);
  }
  void TearDown() override { delete form; }
  TForm *form = nullptr;
  TDrawGrid *grid = nullptr;
};

} // namespace

TEST_F(BaseGridTest, HiddenColumnsTakeNoSpaceAndZeroWidthColumnsOnlyTheirLine) {
  EXPECT_EQ(grid->CellRect(2, 1).Left, 82); // 40 + line, 40 + line
  grid->SetColWidths(1, -1);
  EXPECT_TRUE(grid->CellRect(1, 1).IsEmpty());
  EXPECT_EQ(grid->CellRect(2, 1).Left, 41);
  grid->SetColWidths(1, 0);
  EXPECT_EQ(grid->CellRect(2, 1).Left, 42);
  // Hit testing agrees: the pixel after the first line belongs to column 2 when column 1 is hidden.
  grid->SetColWidths(1, -1);
  EXPECT_EQ(grid->MouseCoord(41, 25), (TGridCoord{2, 1}));
  EXPECT_EQ(grid->MouseCoord(5, 5), (TGridCoord{0, 0}));
  EXPECT_EQ(grid->MouseCoord(299, 199).X, -1);
}

TEST_F(BaseGridTest, KeysAndClicksMoveTheCurrentCellAndScrollToKeepItShown) {
  EXPECT_EQ(grid->Col(), 1);
  EXPECT_EQ(grid->Row(), 1);
  std::vector<std::pair<int, int>> asked;
  grid->OnSelectCell = [&](TObject *, int c, int r, bool &can) {
    asked.push_back({c, r});
    can = r != 3; // row 3 refuses the current cell
  };
  grid->SetFocus();
  WORD key = VK_DOWN;
  grid->Perform(CN_KEYDOWN, key, 0);
  EXPECT_EQ(grid->Row(), 2);
  grid->Perform(CN_KEYDOWN, VK_DOWN, 0);
  EXPECT_EQ(grid->Row(), 2);
  EXPECT_EQ(asked.back(), (std::pair<int, int>{1, 3}));
  TRect cell = grid->CellRect(4, 5);
  SendMessageW(grid->Handle(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(cell.Left + 2, cell.Top + 2));
  SendMessageW(grid->Handle(), WM_LBUTTONUP, 0, MAKELPARAM(cell.Left + 2, cell.Top + 2));
  EXPECT_EQ(grid->Col(), 4);
  EXPECT_EQ(grid->Row(), 5);
  // Far below and far right: the top row and left column follow so that the current cell shows.
  grid->OnSelectCell.Clear();
  grid->SetDefaultColWidth(80);
  grid->SetRow(19);
  EXPECT_GE(grid->TopRow() + grid->VisibleRowCount(), 20);
  EXPECT_FALSE(grid->CellRect(4, 19).IsEmpty());
  grid->Perform(CN_KEYDOWN, VK_END, 0);
  EXPECT_EQ(grid->Col(), 5);
  EXPECT_GT(grid->LeftCol(), 1);
  EXPECT_TRUE(grid->CellRect(1, 19).IsEmpty());  // scrolled off to the left
  EXPECT_FALSE(grid->CellRect(0, 19).IsEmpty()); // the fixed column stays
}

TEST_F(BaseGridTest, CellsAreDrawnThroughTheHookWithTheirState) {
  std::vector<uint32_t> states(6 * 20, 0xFFFF);
  grid->OnDrawCell = [&](TObject *, int c, int r, const TRect &, uint32_t state) {
    states[r * 6 + c] = state;
  };
  grid->SetFocus();
  grid->Repaint();
  EXPECT_EQ(states[0], gdFixed);
  EXPECT_EQ(states[1 * 6 + 1], gdSelected | gdFocused);
  EXPECT_EQ(states[2 * 6 + 2], 0u);
  // Rows below the client area are not drawn.
  EXPECT_EQ(states[19 * 6 + 1], 0xFFFFu);
}

} // namespace qv
