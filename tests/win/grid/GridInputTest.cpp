// Input: the order of events on clicks, keys of a read-only grid and of an editable one, the
// wheel and the scroll bar, incremental search, an inactive dataset.
#include "GridFixture.h"

#include "platform/forms/StdCtrls.h"

namespace qv {

using namespace qv::test;

namespace {

struct TEventLog {
  std::vector<std::string> Seen;
  int RecNoAtMouseDown = -1;
  void Attach(GridTest &t) {
    TDBGridEh *g = t.grid;
    TQuery *q = &t.db->Query();
    g->OnEnter = [this](TObject *) { Seen.push_back("enter"); };
    q->AfterScroll = [this](TDataSet &) { Seen.push_back("scroll"); };
    g->OnColEnter = [this](TObject *) { Seen.push_back("colenter"); };
    g->OnMouseDown = [this, q](TObject *, TMouseButton, uint32_t, int, int) {
      Seen.push_back("down");
      RecNoAtMouseDown = q->RecNo();
    };
    g->OnMouseUp = [this](TObject *, TMouseButton, uint32_t, int, int) { Seen.push_back("up"); };
    g->OnCellClick = [this](TObject *, TColumnEh *) { Seen.push_back("cellclick"); };
  }
};

} // namespace

TEST_F(GridTest, ClickOnAnotherRowMovesTheDatasetBeforeMouseDownFires) {
  Build(40);
  other->SetFocus();
  Pump(5);
  ASSERT_FALSE(grid->Focused());
  TEventLog log;
  log.Attach(*this);
  Click(ColX(1), RowY(3));
  EXPECT_EQ(log.Seen, (std::vector<std::string>{"enter", "scroll", "colenter", "down", "up", "cellclick"}));
  EXPECT_EQ(log.RecNoAtMouseDown, 4);
  EXPECT_EQ(grid->Row(), 4);
  EXPECT_EQ(grid->SelectedIndex(), 1);
  EXPECT_TRUE(grid->Focused());
}

TEST_F(GridTest, ClickOnTheCurrentRowDoesNotMoveTheDataset) {
  Build(40);
  TEventLog log;
  log.Attach(*this);
  Click(ColX(0), RowY(0));
  EXPECT_EQ(log.Seen, (std::vector<std::string>{"down", "up", "cellclick"}));
  EXPECT_EQ(db->Query().RecNo(), 1);
  // The right button moves the dataset as well.
  Click(ColX(0), RowY(2), TMouseButton::mbRight);
  EXPECT_EQ(db->Query().RecNo(), 3);
}

TEST_F(GridTest, ClicksInFooterRowsAndTitlesDoNotMoveTheDataset) {
  Build(40);
  grid->SetFooterRowCount(1);
  Pump(5);
  TEventLog log;
  log.Attach(*this);
  int footerRow = grid->RowCount() - 1;
  TRect footer = grid->CellRect(1, footerRow);
  ASSERT_FALSE(footer.IsEmpty());
  Click(ColX(0), (footer.Top + footer.Bottom) / 2);
  EXPECT_EQ(log.Seen, (std::vector<std::string>{"down", "up"}));
  EXPECT_EQ(db->Query().RecNo(), 1);
  log.Seen.clear();
  std::string clickedTitle;
  grid->OnTitleClick = [&](TObject *, TColumnEh *c) { clickedTitle = c->FieldName(); };
  Click(ColX(1), grid->CellRect(2, 0).Top + 5);
  EXPECT_EQ(clickedTitle, "eQType");
  EXPECT_EQ(db->Query().RecNo(), 1);
}

TEST_F(GridTest, ReadOnlyGridNavigatesButNeverAppends) {
  Build(30);
  Key(VK_DOWN);
  EXPECT_EQ(db->Query().RecNo(), 2);
  Key(VK_UP);
  EXPECT_EQ(db->Query().RecNo(), 1);
  Key(VK_NEXT);
  EXPECT_EQ(db->Query().RecNo(), 1 + grid->VisibleDataRowCount());
  Key(VK_END, ssCtrl);
  EXPECT_EQ(db->Query().RecNo(), 30);
  EXPECT_EQ(grid->Row(), grid->DataLink().ActiveRecord() + grid->TitleRowCount());
  Key(VK_DOWN);
  EXPECT_EQ(db->Query().State(), TDataSetState::dsBrowse);
  EXPECT_EQ(db->Query().RecordCount(), 30);
  Key(VK_INSERT);
  Key(VK_DELETE, ssCtrl);
  EXPECT_EQ(db->Query().State(), TDataSetState::dsBrowse);
  EXPECT_EQ(db->Query().RecordCount(), 30);
  Key(VK_HOME, ssCtrl);
  EXPECT_EQ(db->Query().RecNo(), 1);
  EXPECT_EQ(grid->Row(), 1);
  // F2 cannot open an editor on a read-only grid.
  Key(VK_F2);
  EXPECT_FALSE(grid->EditorMode());
}

TEST_F(GridTest, EditableGridAppendsAtTheEndAndUpCancelsTheUntouchedRecord) {
  Build(5);
  ASSERT_TRUE(db->Query().CanModify()) << db->Query().UpdateTable();
  grid->SetReadOnly(false);
  Key(VK_END, ssCtrl);
  Key(VK_DOWN);
  EXPECT_EQ(db->Query().State(), TDataSetState::dsInsert);
  // A second Down on the untouched new record at the end does nothing.
  Key(VK_DOWN);
  EXPECT_EQ(db->Query().State(), TDataSetState::dsInsert);
  Key(VK_UP);
  EXPECT_EQ(db->Query().State(), TDataSetState::dsBrowse);
  EXPECT_EQ(db->Query().RecordCount(), 5);
  EXPECT_EQ(db->Query().RecNo(), 5);
  // Escape cancels an edit in progress; the stored value stays.
  db->Query().Edit();
  db->Query().FieldByName("result1")->SetAsString("Z");
  Key(VK_ESCAPE);
  EXPECT_EQ(db->Query().State(), TDataSetState::dsBrowse);
  EXPECT_NE(db->Query().FieldByName("result1")->AsString(), "Z");
}

TEST_F(GridTest, TabAndShiftTabWrapToTheNeighbouringRecords) {
  Build(10);
  Key(VK_TAB);
  EXPECT_EQ(grid->SelectedIndex(), 1);
  Key(VK_TAB);
  EXPECT_EQ(grid->SelectedIndex(), 2);
  // Past the last visible column: the next record's first column.
  Key(VK_TAB);
  EXPECT_EQ(grid->SelectedIndex(), 0);
  EXPECT_EQ(db->Query().RecNo(), 2);
  // And back: the previous record's last visible column.
  Key(VK_TAB, ssShift);
  EXPECT_EQ(grid->SelectedIndex(), 2);
  EXPECT_EQ(db->Query().RecNo(), 1);
  Key(VK_RIGHT);
  EXPECT_EQ(grid->SelectedIndex(), 2);
  Key(VK_HOME);
  EXPECT_EQ(grid->SelectedIndex(), 0);
  Key(VK_END);
  EXPECT_EQ(grid->SelectedIndex(), 2);
}

TEST_F(GridTest, WheelAndScrollBarMoveTheDataset) {
  Build(100);
  HWND h = grid->Handle();
  SendMessageW(h, WM_MOUSEWHEEL, MAKEWPARAM(0, static_cast<WORD>(-WHEEL_DELTA)), 0);
  EXPECT_EQ(db->Query().RecNo(), 2);
  SendMessageW(h, WM_MOUSEWHEEL, MAKEWPARAM(0, WHEEL_DELTA), 0);
  EXPECT_EQ(db->Query().RecNo(), 1);
  // Line down goes to the record just below the buffered ones.
  int buffered = grid->DataLink().RecordCount();
  SendMessageW(h, WM_VSCROLL, SB_LINEDOWN, 0);
  EXPECT_EQ(db->Query().RecNo(), buffered + 1);
  SendMessageW(h, WM_VSCROLL, SB_BOTTOM, 0);
  EXPECT_EQ(db->Query().RecNo(), 100);
  SCROLLINFO si{sizeof si, SIF_ALL, 0, 0, 0, 0, 0};
  GetScrollInfo(h, SB_VERT, &si);
  EXPECT_EQ(si.nPos, 100);
  EXPECT_EQ(si.nMax, 100 + static_cast<int>(si.nPage) - 1);
  SendMessageW(h, WM_VSCROLL, SB_TOP, 0);
  EXPECT_EQ(db->Query().RecNo(), 1);
  // The window of buffered records follows: the current row is the first data row again.
  EXPECT_EQ(grid->Row(), 1);
}

TEST_F(GridTest, IncrementalSearchFindsTheFirstMatchingRecordAndKeepsTheTextOnAMiss) {
  Build(30);
  grid->SetOptionsEh(grid->OptionsEh() | dghIncSearch);
  Key(VK_RIGHT); // the type column
  wchar_t ch = L'判';
  SendMessageW(grid->Handle(), WM_CHAR, ch, 1);
  EXPECT_TRUE(grid->InSearch());
  EXPECT_EQ(db->Query().RecNo(), 3);
  EXPECT_EQ(grid->SearchText(), "判");
  ch = L'x';
  SendMessageW(grid->Handle(), WM_CHAR, ch, 1);
  EXPECT_EQ(grid->SearchText(), "判");
  EXPECT_EQ(db->Query().RecNo(), 3);
  Key(VK_RETURN, ssCtrl);
  EXPECT_EQ(db->Query().RecNo(), 6);
  Key(VK_ESCAPE);
  EXPECT_FALSE(grid->InSearch());
}

TEST_F(GridTest, InactiveDatasetShowsOneEmptyRowAndKeysDoNothing) {
  Build(20);
  db->Query().Close();
  Pump(5);
  EXPECT_EQ(grid->RowCount(), 2);
  Key(VK_DOWN);
  Key(VK_END, ssCtrl);
  Key(VK_TAB);
  EXPECT_FALSE(db->Query().Active());
  // The cells are painted empty, in the window colour.
  COLORREF window = GetSysColor(COLOR_WINDOW);
  grid->Repaint();
  TRect r = grid->CellRect(3, 1);
  EXPECT_EQ(PixelAt(grid->Handle(), r.Left + 3, r.Top + 3), window);
  // Opening again brings the rows back.
  db->Query().Open();
  Pump(5);
  EXPECT_GT(grid->RowCount(), 10);
  EXPECT_EQ(grid->Row(), 1);
}

} // namespace qv

namespace qv {

TEST_F(GridTest, TitleButtonsPressReleaseAndToggleSortMarkers) {
  Build(10, 300);
  grid->SetOptionsEh(grid->OptionsEh() | dghAutoSortMarking);
  grid->Columns()->Items(1)->Title()->SetTitleButton(true);
  Pump(5);
  std::vector<std::string> seen;
  grid->OnMouseDown = [&](TObject *, TMouseButton, uint32_t, int, int) { seen.push_back("down"); };
  grid->OnTitleBtnClick = [&](TObject *, TColumnEh *c) { seen.push_back("button " + c->FieldName()); };
  TRect title = grid->CellRect(2, 0);
  int x = (title.Left + title.Right) / 2, y = (title.Top + title.Bottom) / 2;
  HWND h = grid->Handle();
  SendMessageW(h, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(x, y));
  // Held down: the title is drawn sunken (its top-left edge dark), and OnMouseDown does not fire.
  COLORREF edge = PixelAt(h, title.Left, title.Top);
  EXPECT_EQ(edge, GetSysColor(COLOR_3DDKSHADOW));
  SendMessageW(h, WM_LBUTTONUP, 0, MAKELPARAM(x, y));
  Pump(5);
  EXPECT_EQ(seen, (std::vector<std::string>{"button eQType"}));
  EXPECT_EQ(grid->Columns()->Items(1)->Title()->SortMarker(), TSortMarkerEh::smDownEh);
  EXPECT_NE(PixelAt(h, title.Left, title.Top), GetSysColor(COLOR_3DDKSHADOW));
  // A second click turns the marker round; released elsewhere, nothing happens.
  Click(x, y);
  EXPECT_EQ(grid->Columns()->Items(1)->Title()->SortMarker(), TSortMarkerEh::smUpEh);
  SendMessageW(h, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(x, y));
  SendMessageW(h, WM_LBUTTONUP, 0, MAKELPARAM(x, RowY(4)));
  EXPECT_EQ(grid->Columns()->Items(1)->Title()->SortMarker(), TSortMarkerEh::smUpEh);
  EXPECT_EQ(db->Query().RecNo(), 1);
}

TEST_F(GridTest, DraggingATitleMovesTheColumn) {
  Build(10, 300);
  TRect from = grid->CellRect(1, 0), to = grid->CellRect(3, 0);
  HWND h = grid->Handle();
  int y = (from.Top + from.Bottom) / 2;
  SendMessageW(h, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM((from.Left + from.Right) / 2, y));
  SendMessageW(h, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM((to.Left + to.Right) / 2, y));
  SendMessageW(h, WM_LBUTTONUP, 0, MAKELPARAM((to.Left + to.Right) / 2, y));
  Pump(5);
  EXPECT_EQ(grid->Columns()->Items(2)->FieldName(), "sNo");
  EXPECT_EQ(grid->Columns()->Items(0)->FieldName(), "eQType");
  EXPECT_EQ(grid->VisibleColumns().front()->FieldName(), "eQType");
}

} // namespace qv
