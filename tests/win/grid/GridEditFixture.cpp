#include "GridEditFixture.h"

namespace qv::test {

void CheckPlacementAtTheCorners(GridEditTest &t, int column, const char *shot) {
  RECT work{};
  SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
  t.grid->SetSelectedIndex(column);
  struct TCorner {
    bool Right, Bottom;
  };
  for (TCorner corner :
       {TCorner{false, false}, TCorner{true, false}, TCorner{false, true}, TCorner{true, true}}) {
    HWND form = t.form->Handle();
    RECT fr{};
    GetWindowRect(form, &fr);
    TRect cellInGrid = t.grid->CellRect(t.grid->Col(), t.grid->TitleRowCount());
    POINT cellScreen{cellInGrid.Left, cellInGrid.Top};
    ClientToScreen(t.grid->Handle(), &cellScreen);
    int dx = cellScreen.x - fr.left, dy = cellScreen.y - fr.top;
    // The cell's right (bottom) part beyond the work area's edge.
    int left = corner.Right ? work.right - dx - 40 : work.left;
    int top = corner.Bottom ? work.bottom - dy - cellInGrid.Height() - 2 : work.top;
    SetWindowPos(form, nullptr, left, top, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    Pump(10);
    t.Press(VK_F2);
    t.Press(VK_DOWN, ssAlt);
    TDBGridInplaceEdit *editor = t.Editor();
    ASSERT_TRUE(editor->ListVisible());
    HWND list = nullptr;
    if (editor->Calculator() && editor->Calculator()->ListVisible()) list = editor->Calculator()->Handle();
    if (editor->PickList() && editor->PickList()->ListVisible()) list = editor->PickList()->Handle();
    if (editor->MonthCalendar() && editor->MonthCalendar()->ListVisible())
      list = editor->MonthCalendar()->Handle();
    if (editor->DataList() && editor->DataList()->ListVisible()) list = editor->DataList()->Handle();
    ASSERT_NE(list, nullptr);
    RECT cell{}, popup{};
    GetWindowRect(editor->Handle(), &cell);
    GetWindowRect(list, &popup);
    EXPECT_GE(popup.left, work.left);
    EXPECT_LE(popup.right, work.right);
    EXPECT_GE(popup.top, work.top);
    EXPECT_LE(popup.bottom, work.bottom);
    if (corner.Bottom)
      EXPECT_EQ(popup.bottom, cell.top) << "opened above";
    else
      EXPECT_EQ(popup.top, cell.bottom) << "opened below";
    if (corner.Right)
      EXPECT_EQ(popup.right, work.right) << "moved left";
    else
      EXPECT_EQ(popup.left, cell.left);
    if (corner.Right && corner.Bottom) SaveWindowBmp(GetDesktopWindow(), shot);
    t.Press(VK_ESCAPE);
    EXPECT_FALSE(editor->ListVisible());
    t.Press(VK_ESCAPE);
    t.Press(VK_ESCAPE);
  }
}

} // namespace qv::test
