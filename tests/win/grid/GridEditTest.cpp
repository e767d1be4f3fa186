// In-place editing with real windows: typing into cells and posting to the database file (read
// back through a connection of its own), refused values, Escape, Enter and Tab, read-only
// columns and grids, key lists, and each edit style's button including the calculator.
#include "GridEditFixture.h"

#include <commctrl.h>

namespace qv {

using namespace qv::test;

namespace {

TEST_F(GridEditTest, TypingIntoACellPostsItToTheDatabaseFile) {
  grid->SetSelectedIndex(2); // result1
  ASSERT_EQ(Stored("result1", 1), "B");
  Type("对");
  ASSERT_NE(Editor(), nullptr);
  EXPECT_TRUE(grid->EditorMode());
  EXPECT_TRUE(Editor()->Focused());
  EXPECT_EQ(db->Query().State(), TDataSetState::dsEdit);
  Type("错x");
  Press(VK_BACK);
  Type("了");
  EXPECT_EQ(Editor()->Text(), "对错了");
  Press(VK_RETURN);
  EXPECT_TRUE(errors.empty()) << errors.front();
  EXPECT_EQ(db->Query().State(), TDataSetState::dsBrowse);
  EXPECT_FALSE(grid->EditorMode());
  EXPECT_TRUE(grid->Focused());
  EXPECT_EQ(Stored("result1", 1), "对错了");
  EXPECT_EQ(Stored("result1", 2), "C") << "only the edited record changed";
}

TEST_F(GridEditTest, RefusedValueGivesTheFieldsErrorAndKeepsTheText) {
  grid->SetSelectedIndex(0); // sNo, an integer
  Press(VK_F2);
  ASSERT_TRUE(grid->EditorMode());
  EXPECT_EQ(Editor()->Text(), "1");
  Type("abc");
  Press(VK_RETURN);
  ASSERT_EQ(errors.size(), 1u);
  EXPECT_NE(errors[0].find("不是有效的整数"), std::string::npos) << errors[0];
  EXPECT_NE(errors[0].find("sNo"), std::string::npos) << errors[0];
  EXPECT_TRUE(grid->EditorMode());
  EXPECT_EQ(Editor()->Text(), "abc");
  EXPECT_TRUE(grid->DataLink().Modified());
  // Escape gives the stored value back; a second Escape ends the edit.
  Press(VK_ESCAPE);
  EXPECT_FALSE(grid->EditorMode());
  Press(VK_ESCAPE);
  EXPECT_EQ(db->Query().State(), TDataSetState::dsBrowse);
  EXPECT_EQ(Field("sNo")->AsString(), "1");
  EXPECT_EQ(Stored("sNo", 1), "1");
}

TEST_F(GridEditTest, EscapeCancelsTheTypedText) {
  grid->SetSelectedIndex(2);
  Type("Q");
  EXPECT_EQ(Editor()->Text(), "Q");
  Press(VK_ESCAPE);
  EXPECT_FALSE(grid->EditorMode());
  Press(VK_F2);
  EXPECT_EQ(Editor()->Text(), "B");
  Press(VK_ESCAPE);
  Press(VK_ESCAPE);
  EXPECT_EQ(db->Query().State(), TDataSetState::dsBrowse);
  Key(VK_DOWN);
  EXPECT_EQ(Stored("result1", 1), "B");
}

TEST_F(GridEditTest, TabWritesAndMovesOnDownPostsAndEnterAsTabMoves) {
  grid->SetSelectedIndex(0);
  Type("42");
  Press(VK_TAB);
  EXPECT_EQ(grid->SelectedIndex(), 1);
  EXPECT_EQ(Field("sNo")->AsInteger(), 42);
  EXPECT_EQ(db->Query().State(), TDataSetState::dsEdit) << "the record is posted when it is left";
  EXPECT_EQ(Stored("sNo", 1), "1");
  Key(VK_DOWN);
  EXPECT_EQ(db->Query().State(), TDataSetState::dsBrowse);
  EXPECT_EQ(Stored("eQType", 42), "单项选择");

  grid->SetOptionsEh(grid->OptionsEh() | dghEnterAsTab);
  grid->SetSelectedIndex(1);
  Type("判断题");
  Press(VK_RETURN);
  EXPECT_EQ(grid->SelectedIndex(), 2);
  EXPECT_EQ(Field("eQType")->AsString(), "判断题");
}

TEST_F(GridEditTest, ReadOnlyColumnShowsItsTextButRefusesChanges) {
  grid->Columns()->Items(2)->SetReadOnly(true);
  grid->SetSelectedIndex(2);
  Press(VK_F2);
  ASSERT_TRUE(grid->EditorMode());
  EXPECT_TRUE(Editor()->ReadOnly());
  EXPECT_EQ(Editor()->Text(), "B");
  Type("xyz");
  Press(VK_DELETE);
  SendMessageW(Editor()->Handle(), WM_CLEAR, 0, 0);
  SendMessageW(Editor()->Handle(), WM_PASTE, 0, 0);
  EXPECT_EQ(Editor()->Text(), "B");
  EXPECT_EQ(db->Query().State(), TDataSetState::dsBrowse);
  EXPECT_FALSE(grid->ColumnCanModify(grid->Columns()->Items(2), true));
  EXPECT_TRUE(grid->ColumnCanModify(grid->Columns()->Items(1), false));
  // Updates not allowed: no column can be modified, though the dataset could.
  grid->SetAllowedOperations(alopInsertEh | alopAppendEh);
  EXPECT_FALSE(grid->ColumnCanModify(grid->Columns()->Items(1), false));
}

TEST_F(GridEditTest, ReadOnlyGridKeepsEveryClickOnItsCurrentCell) {
  // The exam's question list: a second click on the current question must reach OnMouseDown
  // and OnMouseUp again, so no editor may cover the cell.
  grid->SetReadOnly(true);
  int downs = 0, ups = 0;
  grid->OnMouseDown = [&](TObject *, TMouseButton, uint32_t, int, int) { ++downs; };
  grid->OnMouseUp = [&](TObject *, TMouseButton, uint32_t, int, int) { ++ups; };
  for (int i = 0; i < 3; ++i)
    Click(ColX(1), RowY(0));
  EXPECT_EQ(downs, 3);
  EXPECT_EQ(ups, 3);
  EXPECT_FALSE(grid->EditorMode());
  Type("x");
  EXPECT_FALSE(grid->EditorMode());
}

TEST_F(GridEditTest, KeyListColumnShowsThePickTextAndWritesTheKey) {
  TColumnEh *c = grid->Columns()->Items(2);
  c->KeyList()->SetText("A\nB\nC");
  c->PickList()->SetText("甲\n乙\n丙");
  grid->SetSelectedIndex(2);
  Press(VK_F2);
  EXPECT_EQ(Editor()->Text(), "乙");
  Type("丙");
  Press(VK_RETURN);
  EXPECT_EQ(Stored("result1", 1), "C");
  // A text that is no PickList item stores null.
  Type("丁");
  Press(VK_RETURN);
  EXPECT_EQ(Stored("result1", 1), "<null>");
}

TEST_F(GridEditTest, EachEditStyleHasItsButton) {
  TColumnEh *number = grid->Columns()->Items(0), *text = grid->Columns()->Items(1);
  struct TCase {
    TColumnButtonStyleEh Style;
    TEditStyleEh Expected;
  };
  for (TCase k : {TCase{TColumnButtonStyleEh::cbsEllipsis, TEditStyleEh::esEllipsis},
                  TCase{TColumnButtonStyleEh::cbsUpDown, TEditStyleEh::esUpDown},
                  TCase{TColumnButtonStyleEh::cbsDropDown, TEditStyleEh::esDropDown},
                  TCase{TColumnButtonStyleEh::cbsNone, TEditStyleEh::esSimple},
                  TCase{TColumnButtonStyleEh::cbsAuto, TEditStyleEh::esSimple}}) {
    text->SetButtonStyle(k.Style);
    grid->SetSelectedIndex(1);
    Press(VK_F2);
    ASSERT_TRUE(grid->EditorMode());
    EXPECT_EQ(Editor()->EditStyle(), k.Expected);
    RECT client{}, window{};
    GetClientRect(Editor()->Handle(), &client);
    GetWindowRect(Editor()->Handle(), &window);
    int buttons = k.Expected == TEditStyleEh::esSimple ? 0 : grid->EditButtonWidth();
    EXPECT_EQ(Editor()->ButtonsWidth(), buttons);
    EXPECT_EQ(client.right, window.right - window.left - buttons) << "the text stops at the button";
    Press(VK_ESCAPE);
  }
  // Ellipsis: the click, and Ctrl+Enter, run OnEditButtonClick.
  int clicks = 0;
  text->SetButtonStyle(TColumnButtonStyleEh::cbsEllipsis);
  text->OnEditButtonClick = [&](TObject *, TColumnEh *c) { clicks += c == text; };
  Press(VK_F2);
  ClickEditButton();
  Press(VK_RETURN, ssCtrl);
  EXPECT_EQ(clicks, 2);
  EXPECT_EQ(db->Query().State(), TDataSetState::dsBrowse) << "the button alone changes nothing";
  Press(VK_ESCAPE);
  // Up-down: the upper half counts up, the lower half down; a pick list is stepped through.
  number->SetButtonStyle(TColumnButtonStyleEh::cbsUpDown);
  grid->SetSelectedIndex(0);
  Press(VK_F2);
  ClickEditButton();
  ClickEditButton();
  ClickEditButton(true);
  EXPECT_EQ(Editor()->Text(), "2");
  Press(VK_RETURN);
  EXPECT_EQ(Stored("sNo", 2), "2");
  EXPECT_EQ(Field("sNo")->AsInteger(), 2);
  text->SetButtonStyle(TColumnButtonStyleEh::cbsUpDown);
  text->PickList()->SetText("单项选择\n多项选择\n判断题");
  grid->SetSelectedIndex(1);
  Press(VK_F2);
  ClickEditButton(); // from the first item to the second
  EXPECT_EQ(Editor()->Text(), "多项选择");
  ClickEditButton(true);
  ClickEditButton(true); // back past the first wraps to the last
  EXPECT_EQ(Editor()->Text(), "判断题");
  Press(VK_ESCAPE);
  Press(VK_ESCAPE);
}

TEST_F(GridEditTest, CalculatorDropsDownUnderNumericCellsAndWritesItsValue) {
  TColumnEh *number = grid->Columns()->Items(0);
  number->SetButtonStyle(TColumnButtonStyleEh::cbsDropDown);
  grid->SetSelectedIndex(0);
  Press(VK_F2);
  ASSERT_EQ(Editor()->EditStyle(), TEditStyleEh::esDropDown);
  // Alt+Down opens it under the cell; the editor keeps the focus and passes keys on.
  Press(VK_DOWN, ssAlt);
  ASSERT_TRUE(Editor()->ListVisible());
  TPopupCalculatorEh *calc = Editor()->Calculator();
  RECT cell{}, popup{};
  GetWindowRect(Editor()->Handle(), &cell);
  GetWindowRect(calc->Handle(), &popup);
  EXPECT_EQ(popup.top, cell.bottom);
  EXPECT_EQ(popup.left, cell.left);
  EXPECT_TRUE(Editor()->Focused());
  EXPECT_EQ(calc->DisplayText(), "1");
  SaveWindowBmp(GetDesktopWindow(), "calculator-dropdown.bmp");
  Type("+4");
  EXPECT_EQ(calc->DisplayText(), "4");
  Press(VK_RETURN); // "=" first
  EXPECT_EQ(calc->DisplayText(), "5");
  EXPECT_TRUE(Editor()->ListVisible());
  Press(VK_RETURN); // then "Ok"
  EXPECT_FALSE(Editor()->ListVisible());
  EXPECT_EQ(Editor()->Text(), "5");
  EXPECT_EQ(Field("sNo")->AsInteger(), 5);
  Press(VK_RETURN);
  EXPECT_EQ(Stored("eQType", 5), "单项选择") << "the first record now has sNo 5";

  // By mouse, and Escape discards.
  Press(VK_F2);
  ClickEditButton();
  ASSERT_TRUE(Editor()->ListVisible());
  Type("9");
  Press(VK_ESCAPE);
  EXPECT_FALSE(Editor()->ListVisible());
  EXPECT_EQ(Editor()->Text(), "5");
  EXPECT_EQ(db->Query().State(), TDataSetState::dsBrowse);
  // The button opens and closes it; the Cancel button discards.
  ClickEditButton();
  ASSERT_TRUE(Editor()->ListVisible());
  ClickEditButton();
  EXPECT_FALSE(Editor()->ListVisible());
  EXPECT_TRUE(errors.empty()) << errors.front();
}

TEST_F(GridEditTest, CalculatorStaysInsideTheWorkAreaNearItsEdges) {
  grid->Columns()->Items(0)->SetButtonStyle(TColumnButtonStyleEh::cbsDropDown);
  CheckPlacementAtTheCorners(*this, 0, "calculator-corner.bmp");
}

TEST_F(GridEditTest, PickListStaysInsideTheWorkAreaNearItsEdges) {
  grid->Columns()->Items(1)->PickList()->SetText("单项选择\n多项选择\n判断题");
  CheckPlacementAtTheCorners(*this, 1, "picklist-corner.bmp");
}

struct PickListTest : GridEditTest {
  void SetUp() override {
    GridEditTest::SetUp();
    types = grid->Columns()->Items(1);
    types->PickList()->SetText("单项选择\n多项选择\n判断题");
    grid->SetSelectedIndex(1);
  }
  TPopupListboxEh *List() { return Editor()->PickList(); }
  // A click on item i of the open list.
  void ClickItem(int i) {
    HWND h = List()->Handle();
    RECT r{};
    SendMessageW(h, LB_GETITEMRECT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&r));
    LPARAM at = MAKELPARAM((r.left + r.right) / 2, (r.top + r.bottom) / 2);
    SendMessageW(h, WM_LBUTTONDOWN, MK_LBUTTON, at);
    SendMessageW(h, WM_LBUTTONUP, 0, at);
    Pump(5);
  }
  TColumnEh *types = nullptr;
};

TEST_F(PickListTest, OpensByMouseAndAltDownAcceptsAndCancels) {
  Press(VK_F2);
  ASSERT_EQ(Editor()->EditStyle(), TEditStyleEh::esPickList);
  ClickEditButton();
  ASSERT_TRUE(Editor()->ListVisible());
  EXPECT_TRUE(Editor()->Focused());
  EXPECT_EQ(List()->Count(), 3);
  EXPECT_EQ(List()->ItemIndex(), 0) << "the item of the cell's text";
  RECT cell{}, popup{}, client{};
  GetWindowRect(Editor()->Handle(), &cell);
  GetWindowRect(List()->Handle(), &popup);
  GetClientRect(List()->Handle(), &client);
  EXPECT_EQ(popup.top, cell.bottom);
  EXPECT_GE(popup.right - popup.left, cell.right - cell.left);
  EXPECT_EQ(client.bottom, 3 * List()->ItemHeight()) << "fewer items than DropDownRows: all of them";
  SaveWindowBmp(GetDesktopWindow(), "picklist-dropdown.bmp");
  // Keys move the selection; Enter takes it.
  Press(VK_DOWN);
  EXPECT_EQ(List()->ItemIndex(), 1);
  Press(VK_RETURN);
  EXPECT_FALSE(Editor()->ListVisible());
  EXPECT_EQ(Editor()->Text(), "多项选择");
  Press(VK_RETURN);
  EXPECT_EQ(Stored("eQType", 1), "多项选择");
  // Escape gives the cell's text back.
  Press(VK_F2);
  Press(VK_DOWN, ssAlt);
  ASSERT_TRUE(Editor()->ListVisible());
  Press(VK_DOWN);
  Press(VK_ESCAPE);
  EXPECT_FALSE(Editor()->ListVisible());
  EXPECT_EQ(Editor()->Text(), "多项选择");
  EXPECT_EQ(db->Query().State(), TDataSetState::dsBrowse);
  // A click on an item takes it.
  ClickEditButton();
  ClickItem(2);
  EXPECT_FALSE(Editor()->ListVisible());
  EXPECT_EQ(Editor()->Text(), "判断题");
  Press(VK_RETURN);
  EXPECT_EQ(Stored("eQType", 1), "判断题");
  EXPECT_TRUE(errors.empty()) << errors.front();
}

TEST_F(PickListTest, TypingSearchesTheOpenList) {
  types->SetAutoDropDown(true);
  Type("判");
  ASSERT_TRUE(Editor()->ListVisible()) << "AutoDropDown opens it on the first key";
  EXPECT_EQ(List()->ItemIndex(), 2);
  Press(VK_BACK);
  Type("多");
  EXPECT_EQ(List()->ItemIndex(), 1);
  Type("x");
  EXPECT_EQ(List()->ItemIndex(), 1) << "no match keeps the selection";
  Press(VK_RETURN);
  EXPECT_EQ(Editor()->Text(), "多项选择");
}

TEST_F(PickListTest, KeyListOffersOnlyItemsWithKeysAndStoresTheKey) {
  TColumnEh *answers = grid->Columns()->Items(2);
  answers->PickList()->SetText("甲\n乙\n丙");
  answers->KeyList()->SetText("A\nB");
  grid->SetSelectedIndex(2);
  Press(VK_F2);
  EXPECT_EQ(Editor()->Text(), "乙");
  Press(VK_DOWN, ssAlt);
  ASSERT_TRUE(Editor()->ListVisible());
  EXPECT_EQ(List()->Count(), 2);
  EXPECT_EQ(List()->ItemIndex(), 1);
  Press(VK_UP);
  Press(VK_RETURN);
  Press(VK_RETURN);
  EXPECT_EQ(Stored("result1", 1), "A");
}

TEST_F(PickListTest, ResizedListStoresItsRowsAndWidthInTheColumn) {
  types->SetDropDownSizing(true);
  types->SetDropDownRows(2);
  Press(VK_F2);
  Press(VK_DOWN, ssAlt);
  ASSERT_TRUE(Editor()->ListVisible());
  HWND h = List()->Handle();
  RECT client{};
  GetClientRect(h, &client);
  EXPECT_EQ(client.bottom, 2 * List()->ItemHeight()) << "more items than DropDownRows";
  // The user drags the frame: taller by two rows, 50 pixels wider.
  RECT wr{};
  GetWindowRect(h, &wr);
  SendMessageW(h, WM_ENTERSIZEMOVE, 0, 0);
  SetWindowPos(h, nullptr, 0, 0, wr.right - wr.left + 50, wr.bottom - wr.top + 2 * List()->ItemHeight(),
               SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
  SendMessageW(h, WM_EXITSIZEMOVE, 0, 0);
  Press(VK_ESCAPE);
  EXPECT_EQ(types->DropDownRows(), 4);
  EXPECT_EQ(types->DropDownWidth(), wr.right - wr.left + 50);
  // Next time it opens at that size.
  Press(VK_F2);
  Press(VK_DOWN, ssAlt);
  GetWindowRect(h, &wr);
  EXPECT_EQ(wr.right - wr.left, types->DropDownWidth());
  Press(VK_ESCAPE);
  // Without the frame nothing is stored.
  types->SetDropDownSizing(false);
  Press(VK_DOWN, ssAlt);
  Press(VK_ESCAPE);
  EXPECT_EQ(types->DropDownRows(), 4);
}

struct CalendarTest : GridEditTest {
  void SetUp() override {
    GridEditTest::SetUp();
    db->Query().Close();
    db->Connection().ExecuteScript("alter table testpaper add column handed DATE");
    db->Connection().ExecuteScript("update testpaper set handed = '2026-12-09' where sNo = 1");
    db->Query().Open();
    TColumnEh *c = grid->Columns()->Add();
    c->SetFieldName("handed");
    c->Title()->SetCaption("交卷日");
    c->SetWidth(80);
    c->SetAutoFitBaseWidth(80);
    Pump(10);
    grid->SetSelectedIndex(6);
  }
  TPopupMonthCalendarEh *Calendar() { return Editor()->MonthCalendar(); }
  std::string Shown() { return FormatDateTime(Calendar()->Date(), false); }
  // A click on a day of the month shown, found by asking the calendar what lies where.
  bool ClickDay(int day) {
    HWND h = Calendar()->Handle();
    RECT rc{};
    GetClientRect(h, &rc);
    for (int y = 0; y < rc.bottom; y += 2)
      for (int x = 0; x < rc.right; x += 2) {
        MCHITTESTINFO hit{};
        hit.cbSize = MCHITTESTINFO_V1_SIZE;
        hit.pt = {x, y};
        SendMessageW(h, MCM_HITTEST, 0, reinterpret_cast<LPARAM>(&hit));
        if (hit.uHit == MCHT_CALENDARDATE && hit.st.wDay == day) {
          SendMessageW(h, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(x, y));
          SendMessageW(h, WM_LBUTTONUP, 0, MAKELPARAM(x, y));
          Pump(5);
          return true;
        }
      }
    return false;
  }
};

TEST_F(CalendarTest, OpensOnTheCellsDateAcceptsByKeysAndByClickAndCancels) {
  Press(VK_F2);
  ASSERT_EQ(Editor()->EditStyle(), TEditStyleEh::esDateCalendar);
  EXPECT_EQ(Editor()->Text(), "2026-12-09");
  Press(VK_DOWN, ssAlt);
  ASSERT_TRUE(Editor()->ListVisible());
  EXPECT_TRUE(Editor()->Focused());
  EXPECT_EQ(Shown(), "2026-12-09");
  RECT cell{}, popup{};
  GetWindowRect(Editor()->Handle(), &cell);
  GetWindowRect(Calendar()->Handle(), &popup);
  EXPECT_EQ(popup.top, cell.bottom);
  TSize min = Calendar()->MinimumSize();
  EXPECT_EQ(popup.right - popup.left, min.cx);
  EXPECT_EQ(popup.bottom - popup.top, min.cy);
  SaveWindowBmp(GetDesktopWindow(), "calendar-dropdown.bmp");
  // A day on, a month on (the 31st of a month stays inside the next).
  Press(VK_RIGHT);
  Press(VK_NEXT);
  EXPECT_EQ(Shown(), "2027-01-10");
  Press(VK_RETURN);
  EXPECT_FALSE(Editor()->ListVisible());
  EXPECT_EQ(Editor()->Text(), "2027-01-10");
  Press(VK_RETURN);
  EXPECT_EQ(Stored("handed", 1), "2027-01-10");
  // Escape leaves the date as it was.
  Press(VK_F2);
  ClickEditButton();
  ASSERT_TRUE(Editor()->ListVisible());
  Press(VK_LEFT);
  Press(VK_ESCAPE);
  EXPECT_FALSE(Editor()->ListVisible());
  EXPECT_EQ(Editor()->Text(), "2027-01-10");
  EXPECT_EQ(db->Query().State(), TDataSetState::dsBrowse);
  // A click on a day takes it.
  ClickEditButton();
  ASSERT_TRUE(ClickDay(15));
  EXPECT_FALSE(Editor()->ListVisible());
  EXPECT_EQ(Editor()->Text(), "2027-01-15");
  Press(VK_RETURN);
  EXPECT_EQ(Stored("handed", 1), "2027-01-15");
  EXPECT_TRUE(errors.empty()) << errors.front();
}

TEST_F(CalendarTest, EmptyOrUnreadableTextStartsFromTheFieldOrToday) {
  Key(VK_DOWN); // record 2 has no date
  Press(VK_F2);
  Press(VK_DOWN, ssAlt);
  ASSERT_TRUE(Editor()->ListVisible());
  EXPECT_EQ(Calendar()->Date(), Today());
  Press(VK_ESCAPE);
  Press(VK_ESCAPE);
  Key(VK_UP);
  Type("不是日期");
  Press(VK_DOWN, ssAlt);
  EXPECT_EQ(Shown(), "2026-12-09") << "the field's date";
  // Not accepted: the text goes back to what the cell held.
  Press(VK_ESCAPE);
  EXPECT_EQ(Editor()->Text(), "2026-12-09");
  EXPECT_TRUE(errors.empty()) << errors.front();
}

TEST_F(CalendarTest, StaysInsideTheWorkAreaNearItsEdges) {
  CheckPlacementAtTheCorners(*this, 6, "calendar-corner.bmp");
}

} // namespace
} // namespace qv
