// Opening the database from server.udl, and every way that can fail, each with a message that
// names the file and what is wrong.
#include "TestDb.h"

#include "platform/base/FileIO.h"
#include "platform/base/Text.h"
#include "platform/data/DataError.h"
#include "platform/data/DataLinkFile.h"

#include <gtest/gtest.h>

#include <chrono>
#include <thread>

using namespace qv;
using namespace qv::test;

namespace {

// Runs the test inside the scratch folder, as the exam runs inside its own folder.
class Connection : public ::testing::Test {
protected:
  void SetUp() override {
    saved = std::filesystem::current_path();
    std::filesystem::current_path(dir.Path());
  }
  void TearDown() override { std::filesystem::current_path(saved); }

  // The message of the failure of opening through ".\server.udl", or "" when it opened.
  std::string OpenError() {
    TConnection connection;
    try {
      connection.Open(); // checks the exam tables too
      EXPECT_TRUE(connection.Connected());
    } catch (const EDatabaseError &e) {
      return e.what();
    }
    return "";
  }
  void WriteUdl(const std::string &bytes) { ASSERT_TRUE(WriteFileContents("server.udl", bytes)); }
  static void ExpectMentions(const std::string &message, std::initializer_list<const char *> parts) {
    EXPECT_FALSE(message.empty());
    for (const char *part : parts)
      EXPECT_NE(message.find(part), std::string::npos) << message << " / " << part;
  }

  TTempDir dir;
  std::filesystem::path saved;
};

std::string Utf16(const std::string &text, bool bom) {
  return (bom ? std::string("\xFF\xFE") : std::string()) + Utf8ToUtf16LeBytes(text);
}

void MakeExamDb(const std::string &path) {
  TConnection c;
  c.OpenDatabase(path, true);
  CreateExamSchema(c);
}

} // namespace

TEST_F(Connection, OpensTheDatabaseTheUdlNames) {
  MakeExamDb("exam.db");
  WriteDataLinkFile("server.udl", "exam.db");
  std::string bytes = *ReadFileContents("server.udl");
  EXPECT_EQ(bytes.substr(0, 4), std::string("\xFF\xFE[\0", 4)); // UTF-16LE with byte-order mark
  EXPECT_EQ(OpenError(), "");

  // Also: UTF-16 without the mark, UTF-8, other keys, quoted values, any letter case.
  WriteUdl(Utf16("[oledb]\r\n; comment\r\nProvider=SQLite;Data Source=exam.db\r\n", false));
  EXPECT_EQ(OpenError(), "");
  WriteUdl("[OLEDB]\n; comment\nPersist Security Info=False; provider = sqlite ; DATA SOURCE=\"exam.db\"\n");
  EXPECT_EQ(OpenError(), "");
  std::filesystem::create_directory(std::filesystem::path(u8"数据"));
  MakeExamDb("数据/a;b.db");
  WriteDataLinkFile("server.udl", "数据/a;b.db");
  EXPECT_EQ(OpenError(), "");
  EXPECT_EQ(ReadDataLinkFile("server.udl").DataSource, "数据/a;b.db");
}

TEST_F(Connection, MissingOrMalformedUdl) {
  ExpectMentions(OpenError(), {"server.udl", "找不到", "工作目录"});
  std::filesystem::create_directory("server.udl");
  ExpectMentions(OpenError(), {"server.udl", "文件夹"});
  std::filesystem::remove("server.udl");

  const std::pair<std::string, const char *> cases[] = {
      {"", "空"},
      {Utf16("Provider=SQLite;Data Source=exam.db", true), "[oledb]"},
      {Utf16("[oledb]\r\n; c\r\nProvider=SQLite;exam.db", true), "exam.db"},
      {Utf16("[oledb]\r\n; c\r\nProvider=SQLite;Data Source=\"exam.db", true), "引号"},
      {Utf16("[oledb]\r\n; c\r\nData Source=exam.db", true), "Provider"},
      {Utf16("[oledb]\r\n; c\r\nProvider=SQLite", true), "Data Source"},
      {Utf16("[oledb]", true) + "x", "UTF-16"},
      {std::string("\x01\x02\0\x04", 4), "二进制"},
  };
  for (const auto &[bytes, what] : cases) {
    WriteUdl(bytes);
    ExpectMentions(OpenError(), {"server.udl", "格式不正确", what});
  }
}

TEST_F(Connection, ProviderWeDoNotHave) {
  MakeExamDb("exam.db");
  WriteUdl(Utf16("[oledb]\r\n; c\r\nProvider=Microsoft.Jet.OLEDB.4.0;Data Source=exam.mdb;Persist Security "
                 "Info=False\r\n",
                 true));
  ExpectMentions(OpenError(), {"server.udl", "Microsoft.Jet.OLEDB.4.0", "SQLite"});
}

TEST_F(Connection, MissingCorruptOrIncompleteDatabase) {
  WriteDataLinkFile("server.udl", "exam.db");
  ExpectMentions(OpenError(), {"exam.db", "不存在", "server.udl"});
  EXPECT_FALSE(FileExists("exam.db")); // not created by the attempt

  std::string garbage(4096, 'x');
  ASSERT_TRUE(WriteFileContents("exam.db", garbage));
  ExpectMentions(OpenError(), {"exam.db", "损坏"});

  std::filesystem::remove("exam.db");
  {
    TConnection c;
    c.OpenDatabase("exam.db", true);
    c.ExecuteScript("create table examQuestion (ID INTEGER PRIMARY KEY, eQZY TEXT)");
  }
  ExpectMentions(OpenError(), {"exam.db", "examQuestion", "缺少列", "eQtype", "result4"});
  {
    TConnection c;
    c.OpenDatabase("exam.db");
    c.ExecuteScript("drop table examQuestion");
  }
  ExpectMentions(OpenError(), {"exam.db", "没有表", "examQuestion"});
}

TEST_F(Connection, ConnectionStringAndSettings) {
  MakeExamDb("exam.db");
  TConnection c;
  c.ConnectionString = "Provider=SQLite;Data Source=exam.db";
  c.Open();
  EXPECT_TRUE(c.Connected());
  EXPECT_EQ(ReadSetting(c, "ExamMinutes", "0"), "0");
  WriteSetting(c, "ExamMinutes", "60");
  WriteSetting(c, "ExamMinutes", "45");
  EXPECT_EQ(ReadSetting(c, "ExamMinutes", "0"), "45");
  c.ExecuteScript("drop table examSettings");
  EXPECT_EQ(ReadSetting(c, "ExamMinutes", "0"), "0");

  // Closing the connection closes its queries.
  TQuery q(&c);
  q.SetSQL("select * from testpaper");
  q.Open();
  c.Close();
  EXPECT_FALSE(q.Active());
  TConnection none;
  none.ConnectionString = "Persist Security Info=False";
  EXPECT_THROW(none.Open(), EDatabaseError);
}

TEST_F(Connection, ExamMinutesAndStartTimeAreWholeNumbersOrNothing) {
  MakeExamDb("exam.db");
  TConnection c;
  c.OpenDatabase("exam.db");
  EXPECT_EQ(ReadExamMinutes(c), 0);
  for (const char *text : {"abc", "-5", "45 ", "4294967296", ""}) {
    WriteSetting(c, "ExamMinutes", text);
    EXPECT_EQ(ReadExamMinutes(c), 0) << text;
  }
  WriteSetting(c, "ExamMinutes", "45");
  EXPECT_EQ(ReadExamMinutes(c), 45);

  // The start time's table is made by its first write; a value that is not a number is none.
  EXPECT_FALSE(ReadExamStartTime(c));
  WriteExamStartTime(c, 1796000000);
  WriteExamStartTime(c, 1796000600);
  EXPECT_EQ(ReadExamStartTime(c), 1796000600);
  c.Execute("update examState set Value='12:00' where Name='StartedAt'");
  EXPECT_FALSE(ReadExamStartTime(c));
  c.Execute("update examState set Value=NULL where Name='StartedAt'");
  EXPECT_FALSE(ReadExamStartTime(c));
  // Both survive closing and opening the database again.
  WriteExamStartTime(c, 1796000000);
  c.Close();
  c.OpenDatabase("exam.db");
  EXPECT_EQ(ReadExamStartTime(c), 1796000000);
  EXPECT_EQ(ReadExamMinutes(c), 45);
}

TEST_F(Connection, SecondProgramWaitsForAWriterInsteadOfFailing) {
  MakeExamDb("exam.db");
  TConnection writer, other;
  writer.OpenDatabase("exam.db");
  other.OpenDatabase("exam.db");
  writer.BeginTrans();
  writer.Execute("insert into testpaper (sNo) values (1)");
  // A reader sees the last committed state while the writer works.
  EXPECT_EQ(Scalar(other, "select count(*) from testpaper"), "0");
  // A second writer waits for the first to commit instead of failing at once.
  std::thread finish([&] {
    std::this_thread::sleep_for(std::chrono::milliseconds(300));
    writer.CommitTrans();
  });
  EXPECT_NO_THROW(other.Execute("insert into testpaper (sNo) values (2)"));
  finish.join();
  EXPECT_EQ(Scalar(other, "select group_concat(sNo) from testpaper"), "1,2");
  writer.BeginTrans();
  writer.RollbackTrans();
  EXPECT_FALSE(writer.InTransaction());
}

TEST_F(Connection, DamagedFilesAreReportedByCauseAndLeftAsTheyWere) {
  // An empty database file is refused before SQLite could write a new database over it.
  WriteDataLinkFile("server.udl", "exam.db");
  ASSERT_TRUE(WriteFileContents("exam.db", ""));
  ExpectMentions(OpenError(), {"exam.db", "空的", "0 字节"});
  EXPECT_EQ(ReadFileContents("exam.db")->size(), 0u);
  EXPECT_FALSE(FileExists("exam.db-wal"));

  // A data-link file far too large to be one is refused unparsed; a long bad line is quoted in part.
  MakeExamDb("exam.db");
  WriteUdl("[oledb]\n" + std::string(100 * 1024, 'x'));
  std::string message = OpenError();
  ExpectMentions(message, {"server.udl", "64 KB"});
  EXPECT_LT(message.size(), 400u);
  WriteUdl("[oledb]\n; c\nProvider=SQLite;Data Source=exam.db;" + std::string(30 * 1024, 'y'));
  message = OpenError();
  ExpectMentions(message, {"server.udl", "…"});
  EXPECT_LT(message.size(), 400u);
  WriteUdl("[oledb]\n; c\nProvider=" + std::string(30 * 1024, 'p') + ";Data Source=exam.db");
  message = OpenError();
  ExpectMentions(message, {"server.udl", "SQLite", "…"});
  EXPECT_LT(message.size(), 400u);
}

TEST_F(Connection, BankAndPaperMustHaveTheSameColumnsInTheSameOrder) {
  WriteDataLinkFile("server.udl", "exam.db");
  // The right names, eQright and QA swapped in the bank: a positional copy would put keys into options.
  {
    TConnection c;
    c.OpenDatabase("exam.db", true);
    CreateExamSchema(c);
    std::string columns;
    for (const std::string &name : ExamColumns()) {
      std::string n = name == "QA" ? "eQright" : name == "eQright" ? "QA" : name;
      columns += (columns.empty() ? "" : ", ") + n + (n == "ID" ? " INTEGER PRIMARY KEY" : "");
    }
    c.ExecuteScript("drop table examQuestion; create table examQuestion (" + columns + ")");
  }
  ExpectMentions(OpenError(), {"exam.db", "examQuestion", "testpaper", "第 6 列", "“eQright”", "“QA”"});
  // An extra column at the end of the bank.
  {
    TConnection c;
    c.OpenDatabase("exam.db");
    c.ExecuteScript("drop table examQuestion");
    CreateExamSchema(c);
    c.ExecuteScript("alter table examQuestion add column remark TEXT");
  }
  ExpectMentions(OpenError(), {"第 19 列", "“remark”", "（没有）"});
}

TEST_F(Connection, ALockHeldTooLongFailsAsLockedAndATransactionUndoesItself) {
  MakeExamDb("exam.db");
  TConnection holder, exam;
  exam.BusyTimeoutMs = 200;
  holder.OpenDatabase("exam.db");
  exam.OpenDatabase("exam.db");
  holder.BeginTrans();
  holder.Execute("insert into testpaper (sNo) values (1)");
  EXPECT_THROW(exam.Execute("insert into testpaper (sNo) values (2)"), EDatabaseLocked);
  holder.RollbackTrans();

  {
    TTransaction transaction(exam);
    exam.Execute("insert into testpaper (sNo) values (3)");
  } // not committed: rolled back
  EXPECT_FALSE(exam.InTransaction());
  EXPECT_EQ(Scalar(exam, "select count(*) from testpaper"), "0");
  {
    TTransaction transaction(exam);
    exam.Execute("insert into testpaper (sNo) values (4)");
    transaction.Commit();
  }
  EXPECT_EQ(Scalar(holder, "select group_concat(sNo) from testpaper"), "4");
}
