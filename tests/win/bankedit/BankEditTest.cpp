// The editor's window on a copy of the demo database, driven by its menus and the grid's keys:
// a new question of each type (one with the points from the calculator), a wrong key refused with
// nothing written, numbers kept unique, Escape undoing, deletion after the grid's question (in
// Chinese), and the exam's own database check reading what was written.
#include "grid/DBGridEhInplace.h"
#include "tests/win/forms/TestUtil.h"
#include "tools/bankedit/BankWindow.h"
#include "tools/bankedit/GridTextsZh.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <filesystem>

namespace qv {

using namespace qv::test;
using namespace qv::bankedit;

namespace {

namespace fs = std::filesystem;

struct BankEditTest : ::testing::Test {
  void SetUp() override {
    Application->Initialize();
    RegisterGridClasses();
    UseChineseGridTexts(); // as the program does at start
    dir = fs::temp_directory_path() /
          ("qv-bankedit-" + std::to_string(std::chrono::steady_clock::now().time_since_epoch().count()));
    fs::create_directories(dir);
    fs::copy_file(DEMO_DB, dir / "exam.db");
    dbPath = (dir / "exam.db").string();
    Application->OnException = [this](TObject *, const std::exception &e) { errors.push_back(e.what()); };
    form = new TBankForm(nullptr, "Provider=SQLite;Data Source=" + dbPath);
    grid = &form->View().Grid();
    form->Show();
    // The keys below go where the focus is: the window must be the active one, also when the
    // window of an earlier test or another program held the foreground.
    SetForegroundWindow(form->Handle());
    grid->SetFocus();
    PumpUntil([this] { return grid->Focused(); }, 3000);
    ASSERT_TRUE(grid->Focused()) << "the bank window did not get the focus";
  }
  void TearDown() override {
    CancelPending();
    delete form;
    Application->OnException = nullptr;
    std::error_code ec;
    fs::remove_all(dir, ec);
  }
  TDBGridInplaceEdit *Editor() const { return dynamic_cast<TDBGridInplaceEdit *>(grid->InplaceEditor()); }
  void Type(const std::string &utf8) { TypeAtFocus(utf8); }
  void Press(WORD vk, uint32_t shift = 0) { PressAtFocus(vk, shift); }
  void Click(const std::string &menuCaption) {
    TMenuItem *item = form->MenuItem(menuCaption);
    ASSERT_NE(item, nullptr) << menuCaption;
    // As the menu bar sends it when the item is chosen.
    SendMessageW(form->Handle(), WM_COMMAND, MAKEWPARAM(item->Command(), 0), 0);
    Pump(5);
  }
  // Starts a question with Ctrl+N and types the stem, the options A to F and the key, with Tab
  // between the cells, ending in the key's cell.
  void TypeNewQuestion(const std::string &stem, const std::vector<std::string> &options,
                       const std::string &key) {
    Press('N', ssCtrl);
    ASSERT_EQ(form->View().Query().State(), TDataSetState::dsInsert);
    grid->SetSelectedIndex(3);
    Type(stem);
    Press(VK_TAB);
    for (size_t i = 0; i < 6; ++i) {
      if (i < options.size()) Type(options[i]);
      Press(VK_TAB);
    }
    Type(key);
  }
  // Count of questions in the file, and one column of the question with this stem.
  int64_t StoredCount(const std::string &where = "1") {
    TConnection fresh;
    fresh.OpenDatabase(dbPath, false);
    TStatement s = fresh.Prepare("select count(*) from examQuestion where " + where);
    s.Step();
    return std::get<int64_t>(s.Column(0));
  }
  std::string Stored(const std::string &column, const std::string &stem) {
    TConnection fresh;
    fresh.OpenDatabase(dbPath, false);
    TStatement s = fresh.Prepare("select " + column + " from examQuestion where eQName = ?");
    s.Bind(1, stem);
    if (!s.Step()) return "<none>";
    return IsNullValue(s.Column(0)) ? "<null>" : ValueToText(s.Column(0));
  }
  std::string Footer(int column) { return grid->FooterText(grid->Columns()->Items(column), 0); }

  fs::path dir;
  std::string dbPath;
  TBankForm *form = nullptr;
  TDBGridEh *grid = nullptr;
  std::vector<std::string> errors;
};

TEST_F(BankEditTest, ANewQuestionOfEachTypeIsWrittenAtOnceAndTheExamReadsTheBank) {
  const int64_t before = StoredCount();
  Click("单项选择"); // 视图 > 题型: new questions take the filter's type
  const int singles = form->View().Query().RecordCount();
  EXPECT_EQ(Footer(3), "共 " + std::to_string(singles) + " 题");
  TypeNewQuestion("新单选题", {"甲", "乙", "丙", "丁"}, "B");
  EXPECT_NE(form->Status().Caption().find("新题（未保存）  共 " + std::to_string(singles) + " 题"),
            std::string::npos)
      << "not counted before it is written: " << form->Status().Caption();
  Press(VK_RETURN);
  ASSERT_TRUE(errors.empty()) << errors.front();
  EXPECT_EQ(Stored("eQright", "新单选题"), "B");
  EXPECT_EQ(Stored("eQtype", "新单选题"), "单项选择");
  EXPECT_EQ(Stored("QD", "新单选题"), "丁");
  EXPECT_EQ(Footer(3), "共 " + std::to_string(singles + 1) + " 题");
  EXPECT_NE(form->Status().Caption().find("共 " + std::to_string(singles + 1) + " 题"), std::string::npos)
      << form->Status().Caption();

  // Multiple choice, the points from the calculator: 2+3.
  Click("多项选择");
  TypeNewQuestion("新多选题", {"甲", "乙", "丙", "丁", "戊"}, "ACE");
  Press(VK_TAB);
  Press(VK_F2);
  Press(VK_DOWN, ssAlt);
  ASSERT_NE(Editor(), nullptr);
  ASSERT_TRUE(Editor()->ListVisible()) << "the calculator drops down under the points";
  Type("2+3");
  Press(VK_RETURN);
  Press(VK_RETURN);
  EXPECT_EQ(Editor()->Text(), "5");
  Press(VK_RETURN);
  ASSERT_TRUE(errors.empty()) << errors.front();
  EXPECT_EQ(Stored("eQright", "新多选题"), "ACE");
  EXPECT_EQ(Stored("eQfen", "新多选题"), "5");
  EXPECT_EQ(Stored("QF", "新多选题"), "<null>");

  Click("判断题");
  const std::string sumBefore = Footer(11);
  TypeNewQuestion("新判断题", {}, "错");
  Press(VK_RETURN);
  ASSERT_TRUE(errors.empty()) << errors.front();
  EXPECT_EQ(Stored("eQright", "新判断题"), "错");
  EXPECT_NE(Footer(11), sumBefore) << "the points' sum follows the post";
  EXPECT_EQ(StoredCount(), before + 3);

  // The numbers follow the last of their subject and type.
  const std::string subject = Stored("eQZY", "新判断题");
  EXPECT_EQ(
      StoredCount("eQZY = '" + subject + "' and eQtype = '判断题' and eQno >= " + Stored("eQno", "新判断题")),
      1);

  // The exam's own check of the database accepts what the editor wrote.
  TConnection exam;
  exam.ConnectionString = "Provider=SQLite;Data Source=" + dbPath;
  EXPECT_NO_THROW(exam.Open());
}

TEST_F(BankEditTest, AWrongKeyIsRefusedWithAMessageAndEscapeUndoesTheQuestion) {
  const int64_t before = StoredCount();
  const int shown = form->View().Query().RecordCount();
  Click("单项选择");
  TypeNewQuestion("坏答案的题", {"甲", "乙", "丙", "丁"}, "E");
  Press(VK_RETURN);
  ASSERT_EQ(errors.size(), 1u);
  EXPECT_NE(errors[0].find("单项选择题的答案应为 A、B、C、D 之一"), std::string::npos) << errors[0];
  EXPECT_EQ(form->View().Query().State(), TDataSetState::dsInsert) << "the edit stays to be mended";
  EXPECT_EQ(StoredCount(), before);

  // Another filter tries the post again: refused again, nothing lost, the filter stays.
  Click("多项选择");
  ASSERT_EQ(errors.size(), 2u);
  EXPECT_EQ(form->View().Query().State(), TDataSetState::dsInsert);
  EXPECT_EQ(form->View().Query().FieldByName("eQName")->AsString(), "坏答案的题");
  // Escape resets the key's cell, a second one drops the new question.
  Press(VK_ESCAPE);
  Press(VK_ESCAPE);
  EXPECT_EQ(form->View().Query().State(), TDataSetState::dsBrowse);
  EXPECT_EQ(StoredCount(), before);

  // A multiple-choice key out of order is refused the same way.
  errors.clear();
  Click("多项选择");
  TypeNewQuestion("乱序答案的题", {"甲", "乙", "丙", "丁"}, "CA");
  Press(VK_RETURN);
  ASSERT_EQ(errors.size(), 1u);
  EXPECT_NE(errors[0].find("按字母顺序"), std::string::npos) << errors[0];
  Press(VK_ESCAPE);
  Press(VK_ESCAPE);
  EXPECT_EQ(form->View().Query().State(), TDataSetState::dsBrowse);
  EXPECT_EQ(StoredCount(), before);
  Click("显示全部");
  EXPECT_EQ(form->View().Query().RecordCount(), shown);
}

TEST_F(BankEditTest, ClosingWithARefusedQuestionKeepsTheWindowOpenAndTheTyping) {
  Click("判断题");
  TypeNewQuestion("未保存的判断题", {}, "是");
  std::string told;
  WhenWindow("#32770", [&](HWND box) {
    told = MessageBoxText(box);
    PostMessageW(box, WM_COMMAND, IDOK, 0);
  });
  form->Close();
  EXPECT_NE(told.find("判断题的答案应为"), std::string::npos) << told;
  EXPECT_TRUE(form->Visible());
  EXPECT_EQ(form->View().Query().State(), TDataSetState::dsInsert);
  ASSERT_NE(Editor(), nullptr);
  EXPECT_EQ(Editor()->Text(), "是");
  // Mended, it is posted on closing.
  Press(VK_BACK);
  Type("对");
  form->Close();
  EXPECT_FALSE(form->Visible());
  EXPECT_EQ(Stored("eQright", "未保存的判断题"), "对");
}

TEST_F(BankEditTest, NumbersStayUniqueWithinASubjectAndType) {
  auto nextFree = [&](const std::string &subject, const std::string &type) {
    TConnection fresh;
    fresh.OpenDatabase(dbPath, false);
    TStatement s = fresh.Prepare("select max(eQno) + 1 from examQuestion where eQZY = ? and eQtype = ?");
    s.Bind(1, subject);
    s.Bind(2, type);
    s.Step();
    return ValueToText(s.Column(0));
  };
  // A new question proposed as true/false, then made single choice (as its type's pick list
  // does): it takes the next free number of the single-choice questions.
  Click("判断题");
  Press('N', ssCtrl);
  TQuery &q = form->View().Query();
  const std::string subject = q.FieldByName("eQZY")->AsString();
  const std::string expected = nextFree(subject, "单项选择");
  q.FieldByName("eQtype")->SetAsString("单项选择");
  grid->SetSelectedIndex(3);
  for (const char *cell : {"改成单选的题", "甲", "乙", "丙", "丁", "", "", "A"}) {
    Type(cell);
    if (std::string(cell) != "A") Press(VK_TAB);
  }
  Press(VK_RETURN);
  ASSERT_TRUE(errors.empty()) << errors.front();
  EXPECT_EQ(Stored("eQno", "改成单选的题"), expected);
  EXPECT_EQ(Stored("eQtype", "改成单选的题"), "单项选择");

  // A number typed over another question's of the same subject and type is refused.
  Click("单项选择");
  q.First();
  const std::string stem = q.FieldByName("eQName")->AsString(), number = q.FieldByName("eQno")->AsString();
  q.Next();
  const std::string other = q.FieldByName("eQName")->AsString();
  grid->SetSelectedIndex(2);
  Type(number);
  Press(VK_RETURN);
  ASSERT_EQ(errors.size(), 1u);
  EXPECT_NE(errors[0].find("题号 " + number), std::string::npos) << errors[0];
  EXPECT_NE(Stored("eQno", other), number) << "nothing written";
  Press(VK_ESCAPE);
  Press(VK_ESCAPE);
  EXPECT_EQ(Stored("eQno", stem), number);
}

TEST_F(BankEditTest, DeleteAsksFirstAndRemovesTheQuestionFromTheFile) {
  const int64_t before = StoredCount();
  const std::string first = form->View().Query().FieldByName("eQName")->AsString();
  // Cancel keeps it, OK deletes it.
  std::string asked;
  WhenWindow("#32770", [&](HWND box) {
    asked = MessageBoxText(box);
    PostMessageW(box, WM_COMMAND, IDCANCEL, 0);
  });
  Press(VK_DELETE, ssCtrl);
  EXPECT_EQ(asked, "删除这道题？");
  EXPECT_EQ(StoredCount(), before);
  WhenWindow("#32770", [](HWND box) { PostMessageW(box, WM_COMMAND, IDOK, 0); });
  Press(VK_DELETE, ssCtrl);
  EXPECT_EQ(StoredCount(), before - 1);
  EXPECT_EQ(Stored("ID", first), "<none>");
  EXPECT_NE(form->Status().Caption().find("共 " + std::to_string(before - 1) + " 题"), std::string::npos);

  // The menu's item deletes the selected questions, after the grid's question for several.
  TQuery &q = form->View().Query();
  std::vector<std::string> stems;
  for (int n : {2, 4}) {
    q.SetRecNo(n);
    stems.push_back(q.FieldByName("eQName")->AsString());
    grid->Selection().SetCurrentRowSelected(true);
  }
  WhenWindow("#32770", [&](HWND box) {
    asked = MessageBoxText(box);
    PostMessageW(box, WM_COMMAND, IDOK, 0);
  });
  Click("删除题目");
  EXPECT_TRUE(errors.empty()) << errors.front();
  EXPECT_EQ(asked, "删除选中的所有题目？");
  EXPECT_EQ(StoredCount(), before - 3);
  for (const std::string &stem : stems)
    EXPECT_EQ(Stored("ID", stem), "<none>") << stem;
}

TEST_F(BankEditTest, AnImportAppendsItsQuestionsOrNoneWhenOneIsWrong) {
  const int64_t before = StoredCount();
  auto write = [&](const std::string &name, const std::string &utf8) {
    std::string path = (dir / name).string();
    std::string gbk = Utf8ToGbk(utf8);
    FILE *f = std::fopen(path.c_str(), "wb");
    std::fwrite(gbk.data(), 1, gbk.size(), f);
    std::fclose(f);
    return path;
  };
  const std::string good =
      write("good.txt", "1基础  \t判断题\t950\t导入的判断题\t\t\t\t\t\t\t对\t2\r\n"
                        "1基础  \t单项选择\t951\t导入的单选题\t甲\t乙\t丙\t丁\t\t\tA\t1");
  form->ImportFrom("txt", good);
  EXPECT_EQ(StoredCount(), before + 2);
  EXPECT_EQ(Stored("eQright", "导入的判断题"), "对");
  EXPECT_EQ(Stored("eQno", "导入的单选题"), "951");
  EXPECT_NE(form->Status().Caption().find("导入 2 道题"), std::string::npos) << form->Status().Caption();

  const std::string bad = write("bad.txt", "1基础  \t判断题\t952\t又一道判断题\t\t\t\t\t\t\t对\t2\r\n"
                                           "1基础  \t判断题\t953\t答案错的判断题\t\t\t\t\t\t\t是\t2");
  EXPECT_THROW(form->ImportFrom("txt", bad), Exception);
  EXPECT_EQ(StoredCount(), before + 2) << "nothing of the refused file is written";
  EXPECT_EQ(form->View().Query().RecordCount(), before + 2) << "the grid shows what the file holds";
  EXPECT_EQ(form->View().Query().State(), TDataSetState::dsBrowse);
}

TEST_F(BankEditTest, ClickingATitleSortsByItsColumnAndAgainTheOtherWay) {
  TColumnEh *points = grid->Columns()->Items(11);
  TRect title = grid->CellRect(11 + grid->IndicatorOffset(), 0);
  auto clickTitle = [&] {
    // Scrolled into view first: the points are the last column.
    grid->SetSelectedIndex(11);
    title = grid->CellRect(11 + grid->IndicatorOffset(), 0);
    LPARAM at = MAKELPARAM((title.Left + title.Right) / 2, (title.Top + title.Bottom) / 2);
    SendMessageW(grid->Handle(), WM_LBUTTONDOWN, MK_LBUTTON, at);
    SendMessageW(grid->Handle(), WM_LBUTTONUP, 0, at);
    Pump(5);
  };
  auto pointsInOrder = [&] {
    std::vector<int64_t> values;
    TQuery &q = form->View().Query();
    for (q.First(); !q.Eof(); q.Next())
      values.push_back(q.FieldByName("eQfen")->AsInteger());
    return values;
  };
  clickTitle();
  ASSERT_NE(points->Title()->SortMarker(), TSortMarkerEh::smNoneEh);
  std::vector<int64_t> up = pointsInOrder();
  EXPECT_TRUE(std::is_sorted(up.begin(), up.end()));
  EXPECT_NE(up.front(), up.back()) << "the demo bank has points of more than one value";
  clickTitle();
  std::vector<int64_t> down = pointsInOrder();
  EXPECT_TRUE(std::is_sorted(down.rbegin(), down.rend()));
  EXPECT_EQ(down.size(), up.size());
}

TEST_F(BankEditTest, AltFOpensTheFileMenuOfTheMenuBar) {
  bool shown = false;
  // The menu runs its own loop until closed; the check runs inside it.
  After(300, [&] {
    HWND menu = FindWindowW(L"#32768", nullptr);
    shown = menu && IsWindowVisible(menu);
    if (menu) {
      // The drop-down is a window of its own: its picture goes over the form's.
      RedrawWindow(menu, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
      RECT fr{}, mr{};
      GetWindowRect(form->Handle(), &fr);
      GetWindowRect(menu, &mr);
      TBitmap shot;
      shot.SetSize(fr.right - fr.left, fr.bottom - fr.top);
      HDC formDc = GetWindowDC(form->Handle()), menuDc = GetWindowDC(menu);
      BitBlt(shot.DC(), 0, 0, shot.Width(), shot.Height(), formDc, 0, 0, SRCCOPY);
      BitBlt(shot.DC(), mr.left - fr.left, mr.top - fr.top, mr.right - mr.left, mr.bottom - mr.top, menuDc, 0,
             0, SRCCOPY);
      ReleaseDC(menu, menuDc);
      ReleaseDC(form->Handle(), formDc);
      std::vector<uint8_t> bytes = shot.SaveToBmp();
      if (FILE *f = std::fopen("bankedit-menu.bmp", "wb")) {
        std::fwrite(bytes.data(), 1, bytes.size(), f);
        std::fclose(f);
      }
    }
    EndMenu();
  });
  SendMessageW(form->Handle(), WM_SYSCOMMAND, SC_KEYMENU, 'f');
  PumpUntil([&] { return shown; }, 3000);
  EXPECT_TRUE(shown) << "Alt+F drops the 文件 menu down";
}

TEST_F(BankEditTest, SelectAllAndCopyFromTheEditMenuPutTheBankOnTheClipboard) {
  Click("全选");
  Click("复制");
  ASSERT_TRUE(OpenClipboard(nullptr));
  std::string text;
  if (HANDLE h = GetClipboardData(CF_UNICODETEXT)) {
    text = Narrow(static_cast<const wchar_t *>(GlobalLock(h)));
    GlobalUnlock(h);
  }
  CloseClipboard();
  const std::string last = [&] {
    TQuery &q = form->View().Query();
    q.Last();
    return q.FieldByName("eQName")->AsString();
  }();
  EXPECT_NE(text.find("按照我国安全电压的额定值等级"), std::string::npos) << text.substr(0, 200);
  EXPECT_NE(text.find(last), std::string::npos) << "every question, to the last";
}

TEST_F(BankEditTest, TheTypePickListOffersTheThreeTypes) {
  grid->SetSelectedIndex(1);
  Press(VK_F2);
  Press(VK_DOWN, ssAlt);
  ASSERT_NE(Editor(), nullptr);
  ASSERT_TRUE(Editor()->ListVisible());
  SaveWindowShot(form->Handle(), "bankedit-picklist.bmp");
  Press(VK_ESCAPE);
  Press(VK_ESCAPE);
  EXPECT_EQ(form->View().Query().State(), TDataSetState::dsBrowse);
}

} // namespace

} // namespace qv
