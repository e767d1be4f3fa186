// The dataset operations as the exam and the grid use them: flags, hooks and their order, states,
// posting, deleting, inserting, fields, bookmarks.
#include "TestDb.h"

#include "platform/data/DataError.h"

#include <gtest/gtest.h>

using namespace qv;
using namespace qv::test;

namespace {

class DataSet : public ::testing::Test {
protected:
  void SetUp() override {
    CreateFixtureDatabase(connection, dir);
    BuildPaper(paper, {"1基础  ", "电焊", "二氧化碳焊", "气割", "氩弧焊"});
    paper.Close();
    paper.SetSQL("select * from testpaper where sno>0 order by sNo");
    paper.BeforeScroll = [this](TDataSet &d) { Log("B", d); };
    paper.AfterScroll = [this](TDataSet &d) { Log("A", d); };
  }
  void Log(const char *what, TDataSet &d) {
    std::string entry = what + d.FieldByName("sNo")->AsString();
    if (d.State() != TDataSetState::dsBrowse) entry += "!"; // a hook saw an unposted edit
    log += (log.empty() ? "" : " ") + entry;
  }
  std::string TakeLog() { return std::exchange(log, std::string()); }

  TTempDir dir;
  TConnection connection;
  TQuery paper{&connection};
  std::string log;
};

} // namespace

TEST_F(DataSet, OpenSetsStartFlagAndRunsAfterScrollOnce) {
  EXPECT_EQ(paper.State(), TDataSetState::dsInactive);
  paper.Open();
  EXPECT_EQ(TakeLog(), "A1");
  EXPECT_EQ(paper.State(), TDataSetState::dsBrowse);
  EXPECT_TRUE(paper.Bof());
  EXPECT_FALSE(paper.Eof());
  EXPECT_EQ(paper.RecordCount(), 12);
  EXPECT_EQ(paper.RecNo(), 1);
  paper.Open(); // already open: nothing happens
  EXPECT_EQ(TakeLog(), "");
  paper.Close();
  EXPECT_EQ(paper.State(), TDataSetState::dsInactive);
  EXPECT_EQ(paper.RecordCount(), 0);
  EXPECT_THROW(paper.FieldByName("sNo"), EDatabaseError);
}

TEST_F(DataSet, NextAndPriorAtTheEnds) {
  paper.Open();
  TakeLog();
  paper.Last();
  EXPECT_TRUE(paper.Eof());
  EXPECT_EQ(TakeLog(), "B1 A12");
  paper.Next(); // the end flag is set: no move, before-scroll only
  EXPECT_EQ(TakeLog(), "B12");
  paper.Prior(); // lands on another row: both flags clear
  EXPECT_FALSE(paper.Eof() || paper.Bof());
  EXPECT_EQ(TakeLog(), "B12 A11");
  paper.Next(); // onto the last row: moved, so no end flag yet
  EXPECT_FALSE(paper.Eof());
  paper.Next(); // on the last row: stays, sets the end flag
  EXPECT_TRUE(paper.Eof());
  EXPECT_EQ(paper.RecNo(), 12);
  EXPECT_EQ(TakeLog(), "B11 A12 B12 A12");

  paper.First();
  EXPECT_TRUE(paper.Bof());
  EXPECT_FALSE(paper.Eof());
  TakeLog();
  paper.Prior();
  EXPECT_EQ(TakeLog(), "B1");
  EXPECT_EQ(paper.RecNo(), 1);
  paper.Next();
  paper.Prior();
  paper.Prior(); // on the first row without the start flag: stays and sets it
  EXPECT_TRUE(paper.Bof());
  EXPECT_EQ(TakeLog(), "B1 A2 B2 A1 B1 A1");

  EXPECT_EQ(paper.MoveBy(3), 3);
  EXPECT_EQ(paper.MoveBy(100), 8);
  EXPECT_TRUE(paper.Eof());
  EXPECT_EQ(paper.MoveBy(-100), -11);
  EXPECT_TRUE(paper.Bof());
}

TEST_F(DataSet, MovingPostsThePendingEditBeforeTheHooks) {
  paper.Open();
  paper.Edit();
  paper.FieldByName("result1")->SetAsString("B");
  TakeLog();
  std::string storedAtBeforeScroll;
  paper.BeforeScroll = [&](TDataSet &d) {
    Log("B", d);
    storedAtBeforeScroll = Scalar(connection, "select result1 from testpaper where sNo=1");
  };
  paper.Next();
  EXPECT_EQ(TakeLog(), "B1 A2"); // no "!": the hooks saw browse state
  EXPECT_EQ(storedAtBeforeScroll, "B");
  // A move that cannot happen still posts.
  paper.Last();
  paper.Next();
  paper.Edit();
  paper.FieldByName("result1")->SetAsString("对");
  paper.Next();
  EXPECT_EQ(paper.State(), TDataSetState::dsBrowse);
  EXPECT_EQ(Scalar(connection, "select result1 from testpaper where sNo=12"), "对");
}

TEST_F(DataSet, EditPostAndCancelStates) {
  paper.Open();
  EXPECT_FALSE(paper.Modified());
  paper.Edit();
  EXPECT_EQ(paper.State(), TDataSetState::dsEdit);
  paper.FieldByName("result1")->SetAsString("AC");
  paper.Edit(); // no effect while editing: the written value stays
  EXPECT_TRUE(paper.Modified());
  EXPECT_EQ(paper.FieldByName("result1")->AsString(), "AC");
  // Not visible in the database until posted.
  EXPECT_EQ(Scalar(connection, "select result1 from testpaper where sNo=1"), "<null>");
  paper.Post();
  EXPECT_EQ(paper.State(), TDataSetState::dsBrowse);
  EXPECT_FALSE(paper.Modified());
  paper.Post(); // browse: nothing to do

  // Committed at once: a second connection sees it.
  TConnection other;
  other.OpenDatabase(dir.File("exam.db"));
  EXPECT_EQ(Scalar(other, "select result1 from testpaper where sNo=1"), "AC");
  EXPECT_EQ(Scalar(other, "pragma journal_mode"), "wal");
  EXPECT_EQ(Scalar(connection, "pragma synchronous"), "2"); // FULL

  paper.Edit();
  paper.FieldByName("result1")->Clear();
  paper.Cancel();
  EXPECT_EQ(paper.State(), TDataSetState::dsBrowse);
  EXPECT_EQ(paper.FieldByName("result1")->AsString(), "AC");
  // Writing outside edit state is refused.
  EXPECT_THROW(paper.FieldByName("result1")->SetAsString("B"), EDatabaseError);
}

TEST_F(DataSet, FailedPostKeepsTheEditAndSaysSo) {
  paper.Open();
  paper.Edit();
  paper.FieldByName("result1")->SetAsString("A");
  connection.Execute("delete from testpaper where sNo=1"); // another program removed the row
  EXPECT_THROW(paper.Post(), EDatabaseError);
  EXPECT_EQ(paper.State(), TDataSetState::dsEdit);
  EXPECT_EQ(paper.FieldByName("result1")->AsString(), "A");
  paper.Cancel();
}

TEST_F(DataSet, DeleteMovesToTheNextOrAtTheEndThePreviousRow) {
  paper.Open();
  paper.MoveBy(4);
  TakeLog();
  paper.Delete(); // row 5
  EXPECT_EQ(paper.FieldByName("sNo")->AsInteger(), 6);
  EXPECT_EQ(TakeLog(), "B5 A6");
  paper.Last();
  TakeLog();
  paper.Delete();
  EXPECT_EQ(paper.FieldByName("sNo")->AsInteger(), 11);
  EXPECT_EQ(TakeLog(), "B12 A11");
  EXPECT_EQ(paper.RecordCount(), 10);
  EXPECT_EQ(Scalar(connection, "select count(*) from testpaper where sNo in (5, 12)"), "0");
  while (!paper.IsEmpty())
    paper.Delete();
  EXPECT_TRUE(paper.Bof() && paper.Eof());
  EXPECT_THROW(paper.Delete(), EDatabaseError);
  EXPECT_THROW(paper.Edit(), EDatabaseError);
  EXPECT_EQ(Scalar(connection, "select count(*) from testpaper"), "0");
}

TEST_F(DataSet, FieldsByNameInAnyCaseAndTheirTexts) {
  paper.Open();
  EXPECT_EQ(paper.FieldByName("SNO"), paper.FieldByName("sNo"));
  EXPECT_EQ(paper.FieldByName("eqname")->FieldName(), "eQName");
  try {
    paper.FieldByName("result9");
    FAIL();
  } catch (const EDatabaseError &e) {
    EXPECT_NE(std::string(e.what()).find("result9"), std::string::npos);
  }
  TField *result1 = paper.FieldByName("result1");
  EXPECT_TRUE(result1->IsNull());
  EXPECT_EQ(result1->AsString(), "");
  EXPECT_EQ(paper.FieldByName("eQfen")->AsString(), "1");
  EXPECT_EQ(paper.FieldByName("eQfen")->DataType(), TFieldType::ftInteger);
  EXPECT_EQ(paper.FieldByName("eQfen")->Alignment(), TAlignment::taRightJustify);
  EXPECT_EQ(result1->Alignment(), TAlignment::taLeftJustify);
  EXPECT_EQ(paper.FieldByName("eQName")->DisplayWidth(), 10); // "二氧化碳S1": 4 wide characters + 2

  paper.Edit();
  paper.FieldByName("sNo")->SetAsString(" 40 ");
  EXPECT_EQ(paper.FieldByName("sNo")->AsInteger(), 40);
  EXPECT_THROW(paper.FieldByName("sNo")->SetAsString("四十"), EDatabaseError);
  paper.FieldByName("eQName")->SetAsInteger(7); // a number written to text is its decimal text
  EXPECT_EQ(paper.FieldByName("eQName")->AsString(), "7");
  paper.FieldByName("sNo")->SetEditText("");
  EXPECT_TRUE(paper.FieldByName("sNo")->IsNull());
  paper.Cancel();

  // Results of expressions are read-only, and so is a result without the key.
  TQuery count(&connection);
  count.SetSQL("select count(sNo) as ss, max(eQfen) as top from testpaper");
  count.Open();
  EXPECT_EQ(count.FieldByName("ss")->AsInteger(), 12);
  EXPECT_EQ(count.FieldByName("ss")->DataType(), TFieldType::ftInteger);
  EXPECT_FALSE(count.CanModify());
  EXPECT_TRUE(count.FieldByName("ss")->ReadOnly());
  EXPECT_THROW(count.Edit(), EDatabaseError);
}

TEST_F(DataSet, InsertAppendAndCancel) {
  paper.Open();
  paper.Next();
  TakeLog();
  paper.Insert(); // before row 2
  EXPECT_EQ(paper.State(), TDataSetState::dsInsert);
  EXPECT_EQ(paper.RecordCount(), 13);
  EXPECT_EQ(paper.RecNo(), 2);
  paper.Cancel();
  EXPECT_EQ(paper.RecordCount(), 12);
  EXPECT_EQ(paper.FieldByName("sNo")->AsInteger(), 2);

  paper.Append();
  paper.FieldByName("eQName")->SetAsString("新题");
  paper.FieldByName("sNo")->SetAsInteger(99);
  paper.Post();
  EXPECT_EQ(paper.RecNo(), 13);
  EXPECT_GT(paper.FieldByName("ID")->AsInteger(), 0); // the key the database assigned
  EXPECT_EQ(Scalar(connection, "select eQName from testpaper where sNo=99"), "新题");

  // An insertion nobody wrote to is dropped by the next move, not stored as an empty row.
  paper.Append();
  paper.First();
  EXPECT_EQ(paper.RecordCount(), 13);
  EXPECT_EQ(Scalar(connection, "select count(*) from testpaper"), "13");
  paper.Insert();
  paper.Delete(); // deleting an insertion cancels it
  EXPECT_EQ(paper.RecordCount(), 13);
}

TEST_F(DataSet, BookmarksAndRecordNumbers) {
  paper.Open();
  paper.SetRecNo(7);
  TBookmark seventh = paper.GetBookmark();
  paper.SetRecNo(3);
  TBookmark third = paper.GetBookmark();
  EXPECT_EQ(paper.CompareBookmarks(third, seventh), -1);
  EXPECT_EQ(paper.CompareBookmarks(seventh, seventh), 0);
  paper.Delete(); // row 3 goes; the seventh row is now the sixth
  EXPECT_FALSE(paper.BookmarkValid(third));
  EXPECT_EQ(paper.CompareBookmarks(third, seventh), -1);
  TakeLog();
  paper.GotoBookmark(seventh);
  EXPECT_EQ(TakeLog(), "B4 A7");
  EXPECT_EQ(paper.RecNo(), 6);
  EXPECT_THROW(paper.GotoBookmark(third), EDatabaseError);
  paper.SetRecNo(1000);
  EXPECT_EQ(paper.RecNo(), 11);
}

TEST_F(DataSet, ClosingPostsAPendingEdit) {
  paper.Open();
  paper.Edit();
  paper.FieldByName("result1")->SetAsString("D");
  paper.Close();
  EXPECT_EQ(Scalar(connection, "select result1 from testpaper where sNo=1"), "D");
  // SetSQL on an open query closes it first.
  paper.Open();
  paper.SetSQL("select * from examQuestion");
  EXPECT_FALSE(paper.Active());
}

TEST_F(DataSet, StatementsThatFailSayWhy) {
  paper.SetSQL("select * from nosuchtable");
  try {
    paper.Open();
    FAIL();
  } catch (const EDatabaseError &e) {
    EXPECT_NE(std::string(e.what()).find("nosuchtable"), std::string::npos);
  }
  EXPECT_FALSE(paper.Active());
  paper.SetSQL("delete from testpaper");
  EXPECT_THROW(paper.Open(), EDatabaseError); // returns no rows: it is executed, not opened
  paper.ClearSQL();
  EXPECT_THROW(paper.ExecSQL(), EDatabaseError);
  TQuery unconnected;
  unconnected.SetSQL("select 1");
  EXPECT_THROW(unconnected.Open(), EDatabaseError);
}
