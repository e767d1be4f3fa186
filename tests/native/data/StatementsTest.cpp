// The exam's statements as it issues them, against the fixture bank: paper generation, answers,
// marking and the score report's counts.
#include "TestDb.h"

#include "platform/base/Text.h"
#include "platform/data/DataError.h"
#include "platform/data/SqlText.h"

#include <gtest/gtest.h>

#include <optional>

using namespace qv;
using namespace qv::test;

namespace {

const std::vector<std::string> kAllSubjects = {"1基础  ",    "电焊",   "气焊", "气割",
                                               "二氧化碳焊", "氩弧焊", "钎焊"};

const char *kStatement4 = "select * from testpaper where sno>0 order by sNo";
const char *kStatement5 = " select * from testpaper where sno>0 order by sNo";
const char *kStatement6 = "select * from testpaper where result1<>NUll order by sno";
const char *kStatement7 = "select count(sNo) as countsNo from testpaper where result1<>NUll";
const char *kStatement8 =
    "select sum(eQfen) as sumeQfen from testpaper where right([result1],1)='√' and result1<>NUll";
const char *kStatements9To14[] = {
    "select count(sNo) as ss from testpaper where  right([result1],1)='√' and eQtype='单项选择'  and "
    "result1<>NUll",
    "select count(sNo) as ss from testpaper where right([result1],1)='×' and eQtype='单项选择'  and "
    "result1<>NUll",
    "select count(sNo) as ss from testpaper where  right([result1],1)='√' and eQtype='多项选择'  and "
    "result1<>NUll",
    "select count(sNo) as ss from testpaper where right([result1],1)='×' and eQtype='多项选择'  and "
    "result1<>NUll",
    "select count(sNo) as ss from testpaper where  right([result1],1)='√' and eQtype='判断题'  and "
    "result1<>NUll",
    "select count(sNo) as ss from testpaper where  right([result1],1)='×' and eQtype='判断题'  and "
    "result1<>NUll",
};

std::string ReadOne(TQuery &query, const std::string &sql, const std::string &field) {
  query.Close();
  query.ClearSQL();
  query.SetSQL(sql);
  query.Open();
  return query.FieldByName(field)->AsString();
}

std::vector<std::string> Stems(TQuery &query) {
  std::vector<std::string> stems;
  for (query.First(); !query.Eof(); query.Next())
    stems.push_back(query.FieldByName("eQName")->AsString());
  return stems;
}

class Statements : public ::testing::Test {
protected:
  void SetUp() override { CreateFixtureDatabase(connection, dir); }
  TTempDir dir;
  TConnection connection;
  TQuery localDS{&connection};
};

} // namespace

TEST_F(Statements, PaperHoldsTicketSubjectsByTypeThenNumberInSubjectOrder) {
  BuildPaper(localDS, kAllSubjects);
  // Left on statement 3 with the end flag set.
  EXPECT_TRUE(localDS.Eof());
  localDS.Close();
  localDS.SetSQL(kStatement4);
  localDS.Open();
  ASSERT_EQ(localDS.RecordCount(), 12);
  EXPECT_EQ(Stems(localDS),
            (std::vector<std::string>{"基础S1", "基础S2", "基础S3", "基础M1", "基础M2", "基础T1", "电焊S1",
                                      "电焊M1", "电焊T1", "二氧化碳S1", "气割S1", "氩弧T1"}));
  localDS.First();
  for (int n = 1; !localDS.Eof(); ++n, localDS.Next())
    EXPECT_EQ(localDS.FieldByName("sno")->AsString(), std::to_string(n));
}

TEST_F(Statements, BasicSubjectKeepsItsTrailingBlanksAndRebuildDiscardsAnswers) {
  BuildPaper(localDS, {"1基础  "});
  EXPECT_EQ(Scalar(connection, "select count(*) from testpaper"), "6"); // not the row "1基础"
  // 3 single, 2 multiple, 1 true/false: sNo 1-3, 4-5, 6.
  EXPECT_EQ(Scalar(connection,
                   "select group_concat(sNo) from (select sNo from testpaper where eQtype='多项选择' "
                   "order by sNo)"),
            "4,5");
  EXPECT_EQ(Scalar(connection, "select sNo from testpaper where eQtype='判断题'"), "6");

  connection.Execute("update testpaper set result1='A √'");
  BuildPaper(localDS, {"1基础  ", "气焊"}); // 气焊 has no questions
  EXPECT_EQ(Scalar(connection, "select count(*) from testpaper where result1 is not null"), "0");
  EXPECT_EQ(Scalar(connection, "select max(sNo) from testpaper"), "6");
}

TEST_F(Statements, PaperOfEmptySubjectsOpensWithoutRowsOrHooks) {
  BuildPaper(localDS, {"气焊", "钎焊"});
  EXPECT_TRUE(localDS.Active());
  EXPECT_TRUE(localDS.IsEmpty());
  int hooks = 0;
  localDS.BeforeScroll = [&](TDataSet &) { ++hooks; };
  localDS.AfterScroll = [&](TDataSet &) { ++hooks; };
  for (const char *sql : {kStatement4, kStatement5}) {
    localDS.Close();
    localDS.SetSQL(sql);
    localDS.Open();
    EXPECT_TRUE(localDS.Bof() && localDS.Eof());
    EXPECT_EQ(localDS.FieldByName("eQName")->AsString(), "");
    localDS.Next();
    localDS.Last();
  }
  EXPECT_EQ(hooks, 0);
}

TEST_F(Statements, MarkingAndScoreCountsFollowTheAnswers) {
  BuildPaper(localDS, kAllSubjects);
  localDS.Close();
  localDS.SetSQL(kStatement5);
  localDS.Open();
  // Answers by paper position; null = unanswered, "" = answered with nothing ticked.
  const std::vector<std::optional<std::string>> answers = {
      "A", "C", std::nullopt, "AC", "BC", "错", "", "ABD", "错", "D", std::nullopt, "对"};
  for (size_t i = 0; !localDS.Eof(); ++i, localDS.Next()) {
    if (!answers[i]) continue;
    localDS.Edit();
    localDS.FieldByName("result1")->SetAsString(*answers[i]);
    localDS.Post();
  }
  EXPECT_EQ(ReadOne(localDS, kStatement7, "countsNo"), "10"); // empty text counts, null does not
  EXPECT_EQ(ReadOne(localDS, kStatement8, "sumeQfen"), "");   // nothing marked right yet: null sum

  // Marking: statement 6, all-or-nothing against the stripped key.
  localDS.Close();
  localDS.SetSQL(kStatement6);
  localDS.Open();
  EXPECT_EQ(localDS.RecordCount(), 10);
  while (!localDS.Eof()) {
    std::string answer = Trim(localDS.FieldByName("result1")->AsString());
    bool right = answer == Trim(localDS.FieldByName("eQright")->AsString());
    localDS.Edit();
    localDS.FieldByName("RESULT1")->SetAsString(answer + (right ? " √" : " ×"));
    localDS.Post();
    localDS.Next();
  }

  EXPECT_EQ(ReadOne(localDS, kStatement7, "countsNo"), "10");
  EXPECT_EQ(ReadOne(localDS, kStatement8, "sumeQfen"), "8");
  std::vector<std::string> counts;
  for (const char *sql : kStatements9To14)
    counts.push_back(ReadOne(localDS, sql, "ss"));
  EXPECT_EQ(counts, (std::vector<std::string>{"2", "2", "2", "1", "2", "1"}));
  EXPECT_EQ(Scalar(connection, "select result1 from testpaper where eQName='电焊S1'"), " ×");
}

TEST_F(Statements, NotNullAdaptationAndRightFunction) {
  EXPECT_EQ(AdaptStatement("x where result1<>NUll order by sno"), "x where result1 IS NOT NULL order by sno");
  EXPECT_EQ(AdaptStatement("a <>  null and b<>nULL)"), "a IS NOT NULL and b IS NOT NULL)");
  // Quoted text, quoted names, longer words and comparisons with other values stay as written.
  EXPECT_EQ(AdaptStatement("x='<>NULL' and [<>null]=1 and y<>NULLIF(a,b) and z<>'NULL'"),
            "x='<>NULL' and [<>null]=1 and y<>NULLIF(a,b) and z<>'NULL'");
  EXPECT_EQ(AdaptStatement("where  right([result1],1)='√' and x.right=1 and upright(a)"),
            "where  \"right\"([result1],1)='√' and x.right=1 and upright(a)");
  EXPECT_EQ(Scalar(connection, "select right('对 √',1)"), "√");
  EXPECT_EQ(Scalar(connection, "select right('AC ×',1) || right('abc',2) || '|' || right('ab',9) || '|' || "
                               "right('ab',0) || '|'"),
            "×bc|ab||");
  EXPECT_EQ(Scalar(connection, "select right(null,1)"), "<null>");
}

TEST_F(Statements, QuotedCaptionCannotBreakOrExtendTheInsert) {
  InsertQuestion(connection, {"O'Brien焊", "判断题", 1, "引号科目", "对", 1});
  for (const std::string &caption : {std::string("O'Brien焊"), std::string("x' or '1'='1")}) {
    connection.Execute("delete from testpaper");
    localDS.Close();
    localDS.SetSQL("insert into testpaper select * from examQuestion where eQZY=" + QuotedStr(caption) +
                   " order by eQZY,eQtype");
    localDS.ExecSQL();
  }
  EXPECT_EQ(Scalar(connection, "select count(*) from testpaper"), "0"); // the injection matched nothing
  EXPECT_EQ(Scalar(connection, "select count(*) from examQuestion where eQZY=" + QuotedStr("O'Brien焊")),
            "1");
  // A second statement smuggled into the text is refused, not run.
  localDS.SetSQL("delete from testpaper where eQZY='x'; drop table examQuestion");
  EXPECT_THROW(localDS.ExecSQL(), EDatabaseError);
  EXPECT_TRUE(connection.TableExists("examQuestion"));
}

TEST_F(Statements, GbkCollationOrdersTypesAndSubjects) {
  EXPECT_EQ(Scalar(connection,
                   "select group_concat(eQtype, ',') from (select distinct eQtype from examQuestion "
                   "order by eQtype)"),
            "单项选择,多项选择,判断题");
  connection.Execute("insert into examQuestion (eQZY) values ('钎焊'), ('气焊')");
  EXPECT_EQ(Scalar(connection, "select group_concat(eQZY, ',') from (select distinct eQZY from examQuestion "
                               "order by eQZY)"),
            "1基础,1基础  ,电焊,二氧化碳焊,气割,气焊,钎焊,氩弧焊");
  // Texts GBK cannot hold still compare equal only to themselves.
  connection.Execute("insert into examQuestion (eQZY) values ('\u0E01'), ('\u0E02')");
  EXPECT_EQ(Scalar(connection, "select count(*) from examQuestion where eQZY='\u0E01'"), "1");
}
