// Lookup columns with real windows over a real SQLite file: the test paper gets a subject id
// looked up in a subject table. The lookup data list opens by mouse and by Alt+Down on the
// cell's key, stays inside the work area, takes a row chosen by keys, by mouse or by typing and
// posts its key (read back through a connection of its own), gives the text back when cancelled,
// offers a special row, and keeps the size the user gave it. Typed texts are looked up, with
// OnNotInList adding the ones the subject table lacks.
#include "GridEditFixture.h"

namespace qv {

using namespace qv::test;

namespace {

// Eight subjects by code; more than the list's seven rows.
const char *const kSubjects[] = {"1基础", "电焊", "二氧化碳焊", "气割", "气焊", "钎焊", "氩弧焊", "Tig焊"};

struct LookupTest : GridEditTest {
  void SetUp() override {
    GridEditTest::SetUp();
    TQuery &paper = db->Query();
    paper.Close();
    TConnection &c = db->Connection();
    c.ExecuteScript("alter table testpaper add column subj INTEGER;"
                    "create table subject (ID INTEGER PRIMARY KEY, code INTEGER, name VARCHAR(20));"
                    "update testpaper set subj = 2 where sNo = 1;"
                    "update testpaper set subj = 99 where sNo = 3;"
                    "update testpaper set subj = 5 where sNo >= 4");
    for (int i = 0; i < 8; ++i) {
      TStatement insert = c.Prepare("insert into subject (code, name) values (?, ?)");
      insert.Bind(1, TDbValue(int64_t{i + 1}));
      insert.Bind(2, TDbValue(std::string(kSubjects[i])));
      insert.Step();
    }
    subjects = std::make_unique<TQuery>(&c);
    subjects->SetSQL("select * from subject order by code");
    subjects->Open();
    paper.AddLookupField({"subjName", "subj", subjects.get(), "code", "name"});
    paper.Open();
    column = grid->Columns()->Add();
    column->SetFieldName("subjName");
    column->Title()->SetCaption("科目");
    column->SetWidth(100);
    column->SetAutoFitBaseWidth(100);
    Pump(10);
    grid->SetSelectedIndex(6);
  }
  void TearDown() override {
    delete form;
    form = nullptr;
    subjects.reset();
    GridEditTest::TearDown();
  }
  TPopupDataGridEh *List() { return Editor()->DataList(); }
  // A click on data row r (0-based) of the open list.
  void ClickListRow(int r) {
    TRect cell = List()->CellRect(0, List()->TitleRowCount() + r);
    LPARAM at = MAKELPARAM((cell.Left + cell.Right) / 2, (cell.Top + cell.Bottom) / 2);
    SendMessageW(List()->Handle(), WM_LBUTTONDOWN, MK_LBUTTON, at);
    SendMessageW(List()->Handle(), WM_LBUTTONUP, 0, at);
    Pump(5);
  }
  void ShowSpecRow(const char *text) {
    TSpecRowEh *row = column->DropDownSpecRow();
    row->SetVisible(true);
    row->SetCellsText(text);
  }
  std::unique_ptr<TQuery> subjects;
  TColumnEh *column = nullptr;
};

TEST_F(LookupTest, OpensByMouseAndAltDownOnTheCellsKey) {
  EXPECT_EQ(column->DisplayText(), "电焊");
  Press(VK_F2);
  ASSERT_EQ(Editor()->EditStyle(), TEditStyleEh::esDataList);
  EXPECT_EQ(Editor()->Text(), "电焊");
  EXPECT_EQ(ValueToText(grid->EditedValue()), "2");
  ClickEditButton();
  ASSERT_TRUE(Editor()->ListVisible());
  EXPECT_TRUE(Editor()->Focused()) << "the editor keeps the focus";
  EXPECT_EQ(List()->Choice(), TDBLookupGridEh::TChoice::Record);
  EXPECT_EQ(subjects->FieldByName("code")->AsInteger(), 2) << "positioned on the key";
  RECT cell{}, popup{}, client{};
  GetWindowRect(Editor()->Handle(), &cell);
  GetWindowRect(List()->Handle(), &popup);
  GetClientRect(List()->Handle(), &client);
  EXPECT_EQ(popup.top, cell.bottom);
  EXPECT_EQ(popup.left, cell.left);
  EXPECT_EQ(popup.right - popup.left, cell.right - cell.left) << "DropDownWidth 0: the editor's width";
  EXPECT_EQ(client.bottom, List()->ClientHeightFor(7)) << "eight subjects: DropDownRows rows";
  EXPECT_EQ(List()->TitleRowCount(), 0) << "no titles unless DropDownShowTitles";
  SaveWindowBmp(GetDesktopWindow(), "lookup-dropdown.bmp");
  ClickEditButton();
  EXPECT_FALSE(Editor()->ListVisible()) << "the button closes it again";
  // Alt+Down opens it, Escape closes it; nothing changed.
  Press(VK_DOWN, ssAlt);
  ASSERT_TRUE(Editor()->ListVisible());
  Press(VK_ESCAPE);
  EXPECT_FALSE(Editor()->ListVisible());
  EXPECT_EQ(Editor()->Text(), "电焊");
  EXPECT_EQ(db->Query().State(), TDataSetState::dsBrowse);
  EXPECT_FALSE(List()->DataLink().Active()) << "unbound while closed";
  EXPECT_TRUE(errors.empty()) << errors.front();
}

TEST_F(LookupTest, RowChosenByKeysIsPostedAsTheKey) {
  Press(VK_F2);
  Press(VK_DOWN, ssAlt);
  Press(VK_DOWN);
  Press(VK_DOWN);
  EXPECT_EQ(subjects->FieldByName("name")->AsString(), "气割");
  Press(VK_RETURN);
  EXPECT_FALSE(Editor()->ListVisible());
  EXPECT_EQ(Editor()->Text(), "气割");
  EXPECT_EQ(ValueToText(grid->EditedValue()), "4");
  EXPECT_TRUE(grid->DataLink().Modified());
  EXPECT_EQ(Stored("subj", 1), "2") << "not before the post";
  Press(VK_RETURN);
  EXPECT_EQ(db->Query().State(), TDataSetState::dsBrowse);
  EXPECT_EQ(Stored("subj", 1), "4");
  EXPECT_EQ(db->Query().FieldByName("subjName")->AsString(), "气割");
  // Page Down and Alt+Up: the last subject, taken.
  Press(VK_F2);
  Press(VK_DOWN, ssAlt);
  Press(VK_NEXT);
  Press(VK_NEXT);
  Press(VK_UP, ssAlt);
  EXPECT_EQ(Editor()->Text(), "Tig焊");
  Press(VK_RETURN);
  EXPECT_EQ(Stored("subj", 1), "8");
  EXPECT_TRUE(errors.empty()) << errors.front();
}

TEST_F(LookupTest, RowChosenByMouseIsPostedAsTheKey) {
  Key(VK_DOWN); // the second record: no subject yet
  Press(VK_F2);
  EXPECT_EQ(Editor()->Text(), "");
  ClickEditButton();
  ASSERT_TRUE(Editor()->ListVisible());
  EXPECT_EQ(List()->Choice(), TDBLookupGridEh::TChoice::None) << "a null key chooses no row";
  ClickListRow(5);
  EXPECT_FALSE(Editor()->ListVisible());
  EXPECT_EQ(Editor()->Text(), "钎焊");
  Press(VK_RETURN);
  EXPECT_EQ(Stored("subj", 2), "6");
  EXPECT_EQ(Stored("subj", 1), "2") << "only the edited record changed";
  EXPECT_TRUE(errors.empty()) << errors.front();
}

TEST_F(LookupTest, CancelledListChangesNothing) {
  Press(VK_F2);
  Press(VK_DOWN, ssAlt);
  Press(VK_DOWN);
  Press(VK_ESCAPE);
  EXPECT_EQ(Editor()->Text(), "电焊");
  EXPECT_EQ(ValueToText(grid->EditedValue()), "2");
  // Typed text, then the list opened and cancelled: the cell's text and key come back.
  Type("气");
  Press(VK_DOWN, ssAlt);
  Press(VK_ESCAPE);
  EXPECT_EQ(Editor()->Text(), "电焊");
  EXPECT_EQ(ValueToText(grid->EditedValue()), "2");
  Press(VK_RETURN);
  EXPECT_EQ(Stored("subj", 1), "2");
  EXPECT_TRUE(errors.empty()) << errors.front();
}

TEST_F(LookupTest, SpecialRowStandsForItsValue) {
  ShowSpecRow("（不考）");
  // It shows in cells whose key is null or is no subject's.
  Key(VK_DOWN);
  EXPECT_EQ(column->DisplayText(), "（不考）");
  Key(VK_DOWN);
  EXPECT_EQ(column->DisplayText(), "（不考）");
  column->DropDownSpecRow()->SetShowIfNotInKeyList(false);
  EXPECT_EQ(column->DisplayText(), "") << "key 99 with ShowIfNotInKeyList off";
  column->DropDownSpecRow()->SetShowIfNotInKeyList(true);
  Key(VK_UP);
  Key(VK_UP);
  // Up from the first record reaches it; taking it stores its value (null).
  Press(VK_F2);
  Press(VK_DOWN, ssAlt);
  ASSERT_TRUE(List()->SpecRowShown());
  Press(VK_UP);
  Press(VK_UP);
  EXPECT_EQ(List()->Choice(), TDBLookupGridEh::TChoice::SpecRow);
  Press(VK_RETURN);
  EXPECT_EQ(Editor()->Text(), "（不考）");
  Press(VK_RETURN);
  EXPECT_EQ(Stored("subj", 1), "<null>");
  // Alt+Delete, its shortcut, on a record with a subject; then a value other than null.
  Key(VK_DOWN);
  Key(VK_DOWN);
  Key(VK_DOWN); // sNo 4: 气焊
  column->DropDownSpecRow()->SetValue(TDbValue(int64_t{0}));
  Press(VK_F2);
  EXPECT_EQ(Editor()->Text(), "气焊");
  Press(VK_DELETE, ssAlt);
  EXPECT_EQ(Editor()->Text(), "（不考）");
  Press(VK_RETURN);
  EXPECT_EQ(Stored("subj", 4), "0");
  // A click on the row in the list takes it too.
  Key(VK_DOWN); // sNo 5
  Press(VK_F2);
  Press(VK_DOWN, ssAlt);
  HWND h = List()->Handle();
  RECT wr{};
  GetWindowRect(h, &wr);
  POINT origin{0, 0};
  ClientToScreen(h, &origin);
  SendMessageW(h, WM_NCLBUTTONDOWN, HTBORDER,
               MAKELPARAM(origin.x + 10, origin.y - List()->SpecRowHeight() / 2));
  Pump(5);
  EXPECT_FALSE(Editor()->ListVisible());
  EXPECT_EQ(Editor()->Text(), "（不考）");
  Press(VK_RETURN);
  EXPECT_EQ(Stored("subj", 5), "0");
  EXPECT_TRUE(errors.empty()) << errors.front();
}

TEST_F(LookupTest, TypingSearchesTheOpenList) {
  column->SetAutoDropDown(true);
  Type("气");
  ASSERT_TRUE(Editor()->ListVisible()) << "AutoDropDown opens it on the first key";
  EXPECT_EQ(subjects->FieldByName("name")->AsString(), "气割");
  Type("焊");
  EXPECT_EQ(subjects->FieldByName("name")->AsString(), "气焊");
  Press(VK_BACK);
  Press(VK_BACK);
  Type("tig");
  EXPECT_EQ(subjects->FieldByName("name")->AsString(), "Tig焊") << "letter case ignored";
  Type("x");
  EXPECT_EQ(subjects->FieldByName("name")->AsString(), "Tig焊") << "no match keeps the choice";
  Press(VK_RETURN);
  EXPECT_EQ(Editor()->Text(), "Tig焊");
  Press(VK_RETURN);
  EXPECT_EQ(Stored("subj", 1), "8");
  EXPECT_TRUE(errors.empty()) << errors.front();
}

TEST_F(LookupTest, TypedTextIsLookedUpAndOnNotInListMayAddIt) {
  Type("钎焊");
  Press(VK_RETURN);
  EXPECT_TRUE(errors.empty()) << errors.front();
  EXPECT_EQ(Stored("subj", 1), "6");
  // Unknown text without a handler that adds it: refused, the text and the stored key kept.
  int asked = 0;
  column->OnNotInList = [&](TObject *sender, const std::string &text, bool &recheck) {
    ++asked;
    EXPECT_EQ(sender, column);
    EXPECT_EQ(text, "堆焊");
    recheck = false;
  };
  Type("堆焊");
  Press(VK_RETURN);
  EXPECT_EQ(asked, 1);
  ASSERT_EQ(errors.size(), 1u);
  EXPECT_NE(errors[0].find("堆焊"), std::string::npos) << errors[0];
  EXPECT_EQ(Editor()->Text(), "堆焊");
  EXPECT_EQ(Stored("subj", 1), "6");
  // A handler that adds the subject: looked up again and stored.
  column->OnNotInList = [&](TObject *, const std::string &text, bool &recheck) {
    ++asked;
    subjects->Append();
    subjects->FieldByName("code")->SetAsInteger(9);
    subjects->FieldByName("name")->SetAsString(text);
    subjects->Post();
    recheck = true;
  };
  Press(VK_RETURN);
  EXPECT_EQ(asked, 2);
  EXPECT_EQ(errors.size(), 1u);
  EXPECT_EQ(Stored("subj", 1), "9");
  EXPECT_EQ(column->DisplayText(), "堆焊");
  // Clearing the text clears the key.
  Press(VK_F2);
  SendMessageW(Editor()->Handle(), EM_SETSEL, 0, -1);
  Press(VK_DELETE);
  Press(VK_RETURN);
  EXPECT_EQ(Stored("subj", 1), "<null>");
}

TEST_F(LookupTest, ResizedListStoresItsRowsAndWidth) {
  column->SetDropDownSizing(true);
  column->SetDropDownRows(3);
  Press(VK_F2);
  Press(VK_DOWN, ssAlt);
  ASSERT_TRUE(Editor()->ListVisible());
  HWND h = List()->Handle();
  RECT client{}, wr{};
  GetClientRect(h, &client);
  EXPECT_EQ(client.bottom, List()->ClientHeightFor(3));
  GetWindowRect(h, &wr);
  SendMessageW(h, WM_ENTERSIZEMOVE, 0, 0);
  SetWindowPos(h, nullptr, 0, 0, wr.right - wr.left + 40, wr.bottom - wr.top + 2 * List()->DataLineHeight(),
               SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
  SendMessageW(h, WM_EXITSIZEMOVE, 0, 0);
  Press(VK_ESCAPE);
  EXPECT_EQ(column->DropDownRows(), 5);
  EXPECT_EQ(column->DropDownWidth(), wr.right - wr.left + 40);
  Press(VK_DOWN, ssAlt);
  GetWindowRect(h, &wr);
  GetClientRect(h, &client);
  EXPECT_EQ(wr.right - wr.left, column->DropDownWidth());
  EXPECT_EQ(client.bottom, List()->ClientHeightFor(5));
  Press(VK_ESCAPE);
}

TEST_F(LookupTest, WidthFitsTheColumnsWithTitlesAndFewRecords) {
  // Two shown fields under titles; -1 fits the list to them, never narrower than the cell.
  column->SetLookupDisplayFields("name;code");
  column->SetDropDownShowTitles(true);
  column->SetDropDownWidth(-1);
  subjects->Close();
  subjects->SetSQL("select * from subject where code <= 3 order by code");
  subjects->Open();
  Press(VK_F2);
  Press(VK_DOWN, ssAlt);
  ASSERT_TRUE(Editor()->ListVisible());
  EXPECT_EQ(List()->TitleRowCount(), 1);
  EXPECT_EQ(List()->Columns()->Count(), 2);
  RECT cell{}, popup{}, client{};
  GetWindowRect(Editor()->Handle(), &cell);
  GetWindowRect(List()->Handle(), &popup);
  GetClientRect(List()->Handle(), &client);
  EXPECT_EQ(client.bottom, List()->ClientHeightFor(3)) << "three subjects: three rows";
  EXPECT_GE(popup.right - popup.left, cell.right - cell.left);
  EXPECT_FALSE(GetWindowLongPtrW(List()->Handle(), GWL_STYLE) & WS_VSCROLL) << "every record shows";
  EXPECT_EQ(client.right, List()->ColumnsWidth()) << "the columns fill it";
  EXPECT_EQ(popup.right - popup.left, std::max(List()->ColumnsWidth() + List()->FrameSize().cx,
                                               static_cast<int>(cell.right - cell.left)));
  SaveWindowBmp(GetDesktopWindow(), "lookup-titles.bmp");
  Press(VK_ESCAPE);
}

TEST_F(LookupTest, StaysInsideTheWorkAreaNearItsEdges) {
  CheckPlacementAtTheCorners(*this, 6, "lookup-corner.bmp");
}

} // namespace
} // namespace qv
