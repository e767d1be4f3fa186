// Texts that are not in a column's lists, and the list of recently used texts, with real
// windows: OnNotInList for pick-list and key-list columns, and a column's MRUList recording what
// was posted, offering it while typing and posting the text chosen from it, all read back from
// the database file.
#include "GridEditFixture.h"

namespace qv {

using namespace qv::test;

namespace {

struct NotInListTest : GridEditTest {
  void SetUp() override {
    GridEditTest::SetUp();
    types = grid->Columns()->Items(1);
    types->PickList()->SetText("单项选择\n多项选择\n判断题\nEssay");
    answers = grid->Columns()->Items(2);
    answers->PickList()->SetText("甲\n乙\n丙");
    answers->KeyList()->SetText("A\nB\nC");
  }
  // Types text over the cell of column i of the first record and posts it with Enter.
  void Post(int column, const std::string &text) {
    grid->SetSelectedIndex(column);
    Type(text);
    Press(VK_RETURN);
  }
  TColumnEh *types = nullptr, *answers = nullptr;
  std::vector<std::string> asked;
};

TEST_F(NotInListTest, PickListColumnAsksForTextsNotInItsListAndKeepsThem) {
  types->OnNotInList = [this](TObject *sender, const std::string &text, bool &accept) {
    EXPECT_EQ(sender, types);
    asked.push_back(text);
    accept = true;
  };
  Post(1, "多项选择");
  Post(1, "essay");
  EXPECT_TRUE(asked.empty()) << "letter case is ignored";
  EXPECT_EQ(Stored("eQType", 1), "essay");
  Post(1, "填空题");
  EXPECT_EQ(asked, std::vector<std::string>{"填空题"});
  EXPECT_EQ(Stored("eQType", 1), "填空题") << "a pick list only suggests texts";
  // Refused makes no difference to what is written.
  types->OnNotInList = [this](TObject *, const std::string &text, bool &accept) {
    asked.push_back(text);
    accept = false;
  };
  Post(1, "简答题");
  EXPECT_EQ(asked.size(), 2u);
  EXPECT_EQ(Stored("eQType", 1), "简答题");
  EXPECT_TRUE(errors.empty()) << errors.front();
}

TEST_F(NotInListTest, KeyListColumnLooksAgainWhenAcceptedElseStoresNull) {
  answers->OnNotInList = [this](TObject *, const std::string &text, bool &accept) {
    asked.push_back(text);
    if (text != "丁") return;
    answers->PickList()->Add("丁");
    answers->KeyList()->Add("D");
    accept = true;
  };
  Post(2, "乙");
  EXPECT_TRUE(asked.empty());
  EXPECT_EQ(Stored("result1", 1), "B");
  Post(2, "丁");
  EXPECT_EQ(asked, std::vector<std::string>{"丁"});
  EXPECT_EQ(Stored("result1", 1), "D") << "the key the handler added";
  Press(VK_F2);
  EXPECT_EQ(Editor()->Text(), "丁");
  Press(VK_ESCAPE);
  Post(2, "戊");
  EXPECT_EQ(asked.size(), 2u);
  EXPECT_EQ(Stored("result1", 1), "<null>") << "refused";
  // An emptied cell is null without asking.
  Post(2, "乙");
  Press(VK_F2);
  Press(VK_DELETE);
  EXPECT_EQ(Editor()->Text(), "");
  Press(VK_RETURN);
  EXPECT_EQ(asked.size(), 2u);
  EXPECT_EQ(Stored("result1", 1), "<null>");
  EXPECT_TRUE(errors.empty()) << errors.front();
}

struct MRUListTest : GridEditTest {
  void SetUp() override {
    GridEditTest::SetUp();
    types = grid->Columns()->Items(1);
    types->MRUList()->SetActive(true);
    types->MRUList()->SetLimit(3);
    grid->SetSelectedIndex(1);
  }
  // Types text into the cell of record `record` (1-based) and posts it with Enter.
  void PostAt(int record, const std::string &text) {
    db->Query().First();
    db->Query().MoveBy(record - 1);
    Pump(5);
    Type(text);
    Press(VK_RETURN);
  }
  TPopupListboxEh *List() { return Editor()->MRUListBox(); }
  bool ListShown() { return List() && List()->ListVisible(); }
  std::vector<std::string> Recorded() { return types->MRUList()->Items()->Items(); }
  TColumnEh *types = nullptr;
};

TEST_F(MRUListTest, PostedTextsAreRecordedNewestFirstUpToTheLimit) {
  PostAt(1, "焊接工艺");
  PostAt(2, "焊条");
  EXPECT_EQ(Recorded(), (std::vector<std::string>{"焊条", "焊接工艺"}));
  PostAt(3, "焊接工艺");
  EXPECT_EQ(Recorded(), (std::vector<std::string>{"焊接工艺", "焊条"})) << "moved up, not twice";
  PostAt(4, "气割");
  PostAt(5, "钎焊");
  EXPECT_EQ(Recorded(), (std::vector<std::string>{"钎焊", "气割", "焊接工艺"}));
  // A value the field refuses is not recorded.
  TColumnEh *number = grid->Columns()->Items(0);
  number->MRUList()->SetActive(true);
  grid->SetSelectedIndex(0);
  Type("abc");
  Press(VK_RETURN);
  EXPECT_EQ(errors.size(), 1u);
  EXPECT_EQ(number->MRUList()->Items()->Count(), 0);
  Press(VK_ESCAPE);
  Press(VK_ESCAPE);
  // Inactive lists record nothing.
  grid->SetSelectedIndex(2);
  Type("Z");
  Press(VK_RETURN);
  EXPECT_EQ(grid->Columns()->Items(2)->MRUList()->Items()->Count(), 0);
}

TEST_F(MRUListTest, TypingOffersMatchingTextsAndTheChoiceIsPosted) {
  PostAt(1, "焊接工艺");
  PostAt(2, "Welding");
  PostAt(3, "焊条");
  db->Query().First();
  db->Query().MoveBy(3);
  Pump(5);
  Type("焊");
  ASSERT_TRUE(ListShown());
  EXPECT_TRUE(Editor()->Focused()) << "the editor keeps the focus";
  ASSERT_EQ(List()->Count(), 2);
  EXPECT_EQ(List()->Item(0), "焊条");
  EXPECT_EQ(List()->Item(1), "焊接工艺");
  EXPECT_EQ(List()->ItemIndex(), -1);
  RECT cell{}, popup{};
  GetWindowRect(Editor()->Handle(), &cell);
  GetWindowRect(List()->Handle(), &popup);
  EXPECT_EQ(popup.top, cell.bottom);
  EXPECT_EQ(popup.left, cell.left);
  SaveWindowBmp(GetDesktopWindow(), "mrulist-dropdown.bmp");
  Type("接");
  ASSERT_EQ(List()->Count(), 1);
  Press(VK_DOWN);
  EXPECT_EQ(List()->ItemIndex(), 0);
  Press(VK_RETURN);
  EXPECT_FALSE(ListShown());
  EXPECT_EQ(Editor()->Text(), "焊接工艺");
  EXPECT_TRUE(grid->EditorMode()) << "the first Enter takes the text";
  Press(VK_RETURN);
  EXPECT_EQ(Stored("eQType", 4), "焊接工艺");

  // Letter case is ignored; a click takes the text; no match, or nothing typed, shows nothing.
  Type("w");
  ASSERT_TRUE(ListShown());
  EXPECT_EQ(List()->Item(0), "Welding");
  HWND h = List()->Handle();
  RECT r{};
  SendMessageW(h, LB_GETITEMRECT, 0, reinterpret_cast<LPARAM>(&r));
  SendMessageW(h, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(r.left + 3, r.top + 2));
  SendMessageW(h, WM_LBUTTONUP, 0, MAKELPARAM(r.left + 3, r.top + 2));
  Pump(5);
  EXPECT_FALSE(ListShown());
  EXPECT_EQ(Editor()->Text(), "Welding");
  Type("x");
  EXPECT_FALSE(ListShown());
  Press(VK_BACK);
  EXPECT_TRUE(ListShown()) << "\"Welding\" again";
  Press(VK_ESCAPE);
  EXPECT_FALSE(ListShown());
  EXPECT_EQ(Editor()->Text(), "Welding") << "Escape closes the list and keeps the text";
  EXPECT_TRUE(grid->EditorMode());
  Press(VK_RETURN);
  EXPECT_EQ(Stored("eQType", 4), "Welding");
  EXPECT_TRUE(errors.empty()) << errors.front();
}

} // namespace
} // namespace qv
