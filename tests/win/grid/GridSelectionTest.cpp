// The selection model over a paper of a few hundred rows: records by bookmark made with the
// indicator, rectangles by click and Shift+keys, columns by title clicks, select-all by Ctrl+A
// and the top-left cell; what AllowedSelections forbids; highlighting; scrolls and deletes, and
// the questions asked before deleting, from the grid's table of texts.
#include "GridFixture.h"

#include "grid/DBGridEhTexts.h"

#include "platform/data/Field.h"

namespace qv {

using namespace qv::test;

namespace {

constexpr int kRows = 300;

struct GridSelectionTest : GridTest {
  void SetUp() override {
    Build(kRows, 300, 400, false);
    grid->SetOptions(grid->Options() | dgMultiSelect);
    grid->SetEditActions(geaSelectAllEh);
    Pump(10);
  }
  TDBGridEhSelection &Sel() { return grid->Selection(); }
  TDBGridEhSelectionType Type() { return Sel().SelectionType(); }
  uint64_t Bookmark() { return db->Query().GetBookmark(); }
  int SNo() { return static_cast<int>(db->Query().FieldByName("sNo")->AsInteger()); }
  void ClickKeys(int x, int y, WPARAM keys) {
    SendMessageW(grid->Handle(), WM_LBUTTONDOWN, MK_LBUTTON | keys, MAKELPARAM(x, y));
    SendMessageW(grid->Handle(), WM_LBUTTONUP, keys, MAKELPARAM(x, y));
    Pump(10);
  }
  int IndicatorX() { return grid->CellRect(0, 1).Left + 3; }
  int TitleTopY() { return grid->CellRect(1, 0).Top + 1; }
};

} // namespace

TEST_F(GridSelectionTest, IndicatorClicksSelectRecordsInOrderAndTheLastUnselectEndsTheSelection) {
  ClickKeys(IndicatorX(), RowY(4), 0);
  EXPECT_EQ(Type(), TDBGridEhSelectionType::gstRecordBookmarks);
  ClickKeys(IndicatorX(), RowY(1), MK_CONTROL);
  ClickKeys(IndicatorX(), RowY(7), MK_CONTROL);
  ASSERT_EQ(Sel().Rows().Count(), 3);
  // Sorted by the dataset's order, whatever the order of the clicks.
  TDataSet &q = db->Query();
  EXPECT_LT(q.CompareBookmarks(Sel().Rows().Items(0), Sel().Rows().Items(1)), 0);
  EXPECT_LT(q.CompareBookmarks(Sel().Rows().Items(1), Sel().Rows().Items(2)), 0);

  // Selecting the current record again keeps one entry; unselecting all ends the kind.
  Sel().SetCurrentRowSelected(true);
  EXPECT_EQ(Sel().Rows().Count(), 3);
  ClickKeys(IndicatorX(), RowY(4), MK_CONTROL);
  ClickKeys(IndicatorX(), RowY(1), MK_CONTROL);
  EXPECT_EQ(Sel().Rows().Count(), 1);
  ClickKeys(IndicatorX(), RowY(7), MK_CONTROL);
  EXPECT_EQ(Sel().Rows().Count(), 0);
  EXPECT_EQ(Type(), TDBGridEhSelectionType::gstNon);

  // Shift extends from the anchor record; a plain click starts again.
  ClickKeys(IndicatorX(), RowY(2), 0);
  ClickKeys(IndicatorX(), RowY(6), MK_SHIFT);
  EXPECT_EQ(Sel().Rows().Count(), 5);
  EXPECT_EQ(SNo(), 3); // the current record stays where the anchor is
  ClickKeys(IndicatorX(), RowY(3), 0);
  EXPECT_EQ(Sel().Rows().Count(), 1);
}

TEST_F(GridSelectionTest, ShiftArrowsExtendRecordsWithRowSelect) {
  grid->SetOptions(grid->Options() | dgRowSelect);
  db->Query().SetRecNo(3);
  Pump(10);
  Key(VK_DOWN, ssShift);
  Key(VK_DOWN, ssShift);
  EXPECT_EQ(Type(), TDBGridEhSelectionType::gstRecordBookmarks);
  EXPECT_EQ(Sel().Rows().Count(), 3);
  EXPECT_EQ(SNo(), 5);
  Key(VK_DOWN);
  EXPECT_EQ(Type(), TDBGridEhSelectionType::gstNon);
}

TEST_F(GridSelectionTest, BookmarkListFindsWithItsCacheAndRefusesAClosedDataset) {
  TDataSet &q = db->Query();
  std::vector<uint64_t> marks;
  for (int i = 0; i < 50; ++i) {
    q.SetRecNo(1 + i * 6);
    marks.push_back(q.GetBookmark());
    Sel().SetCurrentRowSelected(true);
  }
  int index = -1;
  for (size_t i = 0; i < marks.size(); ++i) {
    ASSERT_TRUE(Sel().Rows().Find(marks[i], index));
    EXPECT_EQ(index, static_cast<int>(i));
    // Asked again: the same answer (from the cache).
    ASSERT_TRUE(Sel().Rows().Find(marks[i], index));
    EXPECT_EQ(index, static_cast<int>(i));
  }
  q.SetRecNo(2);
  EXPECT_FALSE(Sel().Rows().Find(q.GetBookmark(), index));
  EXPECT_EQ(index, 1); // where it would go
  q.Close();
  EXPECT_THROW(Sel().Rows().CurrentRowSelected(), Exception);
  EXPECT_EQ(Type(), TDBGridEhSelectionType::gstNon);
}

TEST_F(GridSelectionTest, RectangleByClickAndShiftKeysStaysOnItsRecordsWhenTheGridScrolls) {
  Click(ColX(0), RowY(2));
  // One cell is no selection.
  EXPECT_EQ(Type(), TDBGridEhSelectionType::gstNon);
  ClickKeys(ColX(2), RowY(5), MK_SHIFT);
  ASSERT_EQ(Type(), TDBGridEhSelectionType::gstRectangle);
  EXPECT_EQ(Sel().Rect().LeftCol(), 0);
  EXPECT_EQ(Sel().Rect().RightCol(), 2);
  uint64_t top = Sel().Rect().TopRow(), bottom = Sel().Rect().BottomRow();
  Key(VK_DOWN, ssShift);
  Key(VK_LEFT, ssShift);
  EXPECT_EQ(Sel().Rect().RightCol(), 1);
  EXPECT_EQ(Sel().Rect().TopRow(), top);
  EXPECT_NE(Sel().Rect().BottomRow(), bottom);
  bottom = Sel().Rect().BottomRow();

  // Far down and back: the rectangle is on the same records, not on screen rows.
  grid->SetFocus();
  Key(VK_NEXT, ssShift);
  Key(VK_NEXT, ssShift);
  EXPECT_EQ(Type(), TDBGridEhSelectionType::gstRectangle);
  EXPECT_EQ(Sel().Rect().TopRow(), top);
  EXPECT_EQ(Sel().Rect().BottomRow(), bottom);
  TDataSet &q = db->Query();
  q.GotoBookmark(top);
  Pump(10);
  EXPECT_TRUE(Sel().DataCellSelected(0, top));
  EXPECT_FALSE(Sel().DataCellSelected(2, top));
  // A plain arrow clears it (dghClearSelection).
  Key(VK_DOWN);
  EXPECT_EQ(Type(), TDBGridEhSelectionType::gstNon);

  // Shift+arrow from a fresh cell starts at that cell.
  Key(VK_RIGHT, ssShift);
  EXPECT_EQ(Type(), TDBGridEhSelectionType::gstRectangle);
  EXPECT_EQ(Sel().Rect().RightCol() - Sel().Rect().LeftCol(), 1);
}

TEST_F(GridSelectionTest, TitleClicksSelectColumnsShiftExtendsAndShrinksCtrlToggles) {
  ClickKeys(ColX(0), TitleTopY(), 0);
  ASSERT_EQ(Type(), TDBGridEhSelectionType::gstColumns);
  ClickKeys(ColX(3), TitleTopY(), MK_SHIFT);
  EXPECT_EQ(Sel().Columns().List().size(), 4u);
  ClickKeys(ColX(1), TitleTopY(), MK_SHIFT);
  EXPECT_EQ(Sel().Columns().List().size(), 2u);
  ClickKeys(ColX(1), TitleTopY(), MK_CONTROL);
  ASSERT_EQ(Sel().Columns().List().size(), 1u);
  EXPECT_EQ(Sel().Columns().List()[0], grid->Columns()->Items(0));
  // Columns are cells of every record.
  TDataSet &q = db->Query();
  q.Last();
  EXPECT_TRUE(Sel().DataCellSelected(0, q.GetBookmark()));
  ClickKeys(ColX(0), TitleTopY(), MK_CONTROL);
  EXPECT_EQ(Type(), TDBGridEhSelectionType::gstNon);

  // A title click lower down is no column selection.
  ClickKeys(ColX(0), grid->CellRect(1, 0).Bottom - 2, 0);
  EXPECT_EQ(Type(), TDBGridEhSelectionType::gstNon);
}

TEST_F(GridSelectionTest, SelectAllByCtrlAAndTheCornerAndWhatAllowedSelectionsForbids) {
  Key('A', ssCtrl);
  EXPECT_EQ(Type(), TDBGridEhSelectionType::gstAll);
  // The corner toggles.
  ClickKeys(2, 2, 0);
  EXPECT_EQ(Type(), TDBGridEhSelectionType::gstNon);
  ClickKeys(2, 2, 0);
  EXPECT_EQ(Type(), TDBGridEhSelectionType::gstAll);
  // Another kind replaces it.
  ClickKeys(IndicatorX(), RowY(3), 0);
  EXPECT_EQ(Type(), TDBGridEhSelectionType::gstRecordBookmarks);

  grid->SetAllowedSelections(gstRecordBookmarks);
  Sel().Clear();
  Key('A', ssCtrl);
  ClickKeys(ColX(0), TitleTopY(), 0);
  Click(ColX(0), RowY(1));
  ClickKeys(ColX(2), RowY(4), MK_SHIFT);
  EXPECT_EQ(Type(), TDBGridEhSelectionType::gstNon);
  grid->SetEditActions(0);
  grid->SetAllowedSelections(gstAll);
  Key('A', ssCtrl);
  EXPECT_EQ(Type(), TDBGridEhSelectionType::gstNon);
}

TEST_F(GridSelectionTest, SelectedRecordsAreHighlightedAndDeletingOthersKeepsThem) {
  ClickKeys(IndicatorX(), RowY(2), 0);
  ClickKeys(IndicatorX(), RowY(5), MK_CONTROL);
  ClickKeys(IndicatorX(), RowY(8), MK_CONTROL);
  ClickKeys(IndicatorX(), RowY(8), MK_CONTROL);
  ASSERT_EQ(Sel().Rows().Count(), 2);
  COLORREF window = ColorToRGB(clWindow);
  int x = grid->CellRect(2, 0).Right - 3;
  SaveWindowBmp(grid->Handle(), "grid-selection.bmp");
  EXPECT_NE(PixelAt(grid->Handle(), x, RowY(2)), window);
  EXPECT_NE(PixelAt(grid->Handle(), x, RowY(5)), window);
  EXPECT_EQ(PixelAt(grid->Handle(), x, RowY(3)), window);

  // Deleting a record that is not selected keeps both; deleting a selected one drops it.
  TDataSet &q = db->Query();
  q.SetRecNo(4);
  q.Delete();
  Pump(10);
  EXPECT_EQ(Sel().Rows().Count(), 2);
  q.SetRecNo(3); // sNo 3, selected
  q.Delete();
  Pump(10);
  ASSERT_EQ(Sel().Rows().Count(), 1);
  EXPECT_TRUE(q.BookmarkValid(Sel().Rows().Items(0)));

  // Deleting the selection removes exactly the selected records.
  int before = q.RecordCount();
  Sel().Rows().DeleteSelected();
  EXPECT_EQ(q.RecordCount(), before - 1);

  // A plain click on a data cell clears a record selection (dghClearSelection).
  ClickKeys(IndicatorX(), RowY(2), 0);
  Click(ColX(0), RowY(8));
  EXPECT_EQ(Type(), TDBGridEhSelectionType::gstNon);
}

TEST_F(GridSelectionTest, TheQuestionsBeforeDeletingAndClearingAreThoseOfTheTextsTable) {
  TDataSet &q = db->Query();
  const int before = q.RecordCount();
  // Answers every question box with Cancel and returns what it asked.
  auto asked = [&](const std::function<void()> &action) {
    std::string text;
    WhenWindow("#32770", [&](HWND box) {
      text = MessageBoxText(box);
      PostMessageW(box, WM_COMMAND, IDCANCEL, 0);
    });
    action();
    CancelPending();
    return text;
  };
  EXPECT_EQ(asked([&] { Key(VK_DELETE, ssCtrl); }), "Delete record?") << "the grid's own default";

  const TDBGridEhTexts saved = GridTexts();
  GridTexts().DeleteRecord = "删掉一条？";
  GridTexts().DeleteSelectedRecords = "删掉几条？";
  GridTexts().ClearSelectedCells = "清掉格子？";
  EXPECT_EQ(asked([&] { grid->DeleteRecords(); }), "删掉一条？");
  ClickKeys(IndicatorX(), RowY(1), 0);
  EXPECT_EQ(asked([&] { Key(VK_DELETE, ssCtrl); }), "删掉一条？") << "one selected record";
  ClickKeys(IndicatorX(), RowY(3), MK_CONTROL);
  EXPECT_EQ(asked([&] { Key(VK_DELETE, ssCtrl); }), "删掉几条？");
  EXPECT_EQ(Sel().Rows().Count(), 2) << "Cancel keeps the selection";
  // A rectangle is cleared through the edit actions.
  grid->SetEditActions(geaSelectAllEh | geaDeleteEh);
  Click(ColX(0), RowY(2));
  Key(VK_DOWN, ssShift);
  ASSERT_EQ(Type(), TDBGridEhSelectionType::gstRectangle);
  EXPECT_EQ(asked([&] { Key(VK_DELETE, ssCtrl); }), "清掉格子？");
  GridTexts() = saved;
  EXPECT_EQ(q.RecordCount(), before) << "nothing was deleted after Cancel";
}

} // namespace qv
