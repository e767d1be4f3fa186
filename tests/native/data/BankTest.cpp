// The question-bank tool: reading and validating the source, building the database, exporting it
// back to the same bank.
#include "TestDb.h"

#include "platform/base/Exception.h"
#include "platform/base/FileIO.h"
#include "platform/base/Text.h"
#include "tools/qbank/Bank.h"
#include "tools/qbank/BankDatabase.h"

#include <gtest/gtest.h>

using namespace qv;
using namespace qv::bank;
using namespace qv::test;

namespace {

std::vector<std::string> Errors(const std::string &text) {
  std::vector<TBankQuestion> questions;
  std::vector<std::string> errors;
  ParseBank(text, "t.txt", questions, errors);
  return errors;
}

const char *kGood =
    "subject: 电焊\ntype: 单项选择\nno: 1\nstem: 题\nA: a\nB: b\nC: c\nD: d\nkey: B\npoints: 1\n";

} // namespace

TEST(Bank, ReadsRecordsWithQuotedBlanksAndComments) {
  std::vector<TBankQuestion> questions;
  std::vector<std::string> errors;
  ParseBank("# heading\n\n\n" + std::string(kGood) +
                "\n \n# between\nsubject: \"1基础  \"\ntype: 判断题\nno: 2\nstem:   \"  两端空格 \" \nkey: "
                "错\r\npoints: 1",
            "t.txt", questions, errors);
  ASSERT_EQ(errors.size(), 1u); // the second subject in the same file is refused
  EXPECT_EQ(errors[0].rfind("t.txt:17: 一个文件只放一个科目", 0), 0u) << errors[0];
  ASSERT_EQ(questions.size(), 1u);
  errors.clear();
  ParseBank("subject: \"1基础  \"\ntype: 判断题\nno: 2\nstem:   \"  两端空格 \" \nkey: 错\r\npoints: 1",
            "u.txt", questions, errors);
  ASSERT_EQ(questions.size(), 2u);
  EXPECT_EQ(questions[0].Options[1], "b");
  EXPECT_EQ(questions[1].Subject, "1基础  ");
  EXPECT_EQ(questions[1].Stem, "  两端空格 ");
  EXPECT_EQ(questions[1].Key, "错");
  EXPECT_EQ(questions[1].Line, 1);
}

TEST(Bank, EveryProblemIsReportedWithFileAndLine) {
  const std::pair<std::string, std::string> cases[] = {
      {"subject: 1基础\ntype: 判断题\nno: 1\nstem: s\nkey: 对\npoints: 1", "t.txt:1: 科目“1基础”"},
      {"subject: 电焊\ntype: 填空题\nno: 1\nstem: s\nkey: 对\npoints: 1", "t.txt:2: 题型“填空题”"},
      {"subject: 电焊\ntype: 判断题\nno: x\nstem: s\nkey: 对\npoints: 1", "t.txt:3: 题号"},
      {"subject: 电焊\ntype: 判断题\nno: 1\nstem: s\nkey: 是\npoints: 1", "t.txt:5: 判断题的答案"},
      {"subject: 电焊\ntype: 判断题\nno: 1\nstem: s\nA: x\nkey: 对\npoints: 1", "t.txt:1: 判断题不应有选项"},
      {"subject: 电焊\ntype: 判断题\nno: 1\nkey: 对\npoints: 1", "t.txt:1: 题目缺少“stem”"},
      {"subject: 电焊\ntype: 判断题\nstem: s\nno: 1\nkey: 对\npoints: 1", "t.txt:4: 键“no”的位置不对"},
      {"subject: 电焊\ntype: 判断题\nno: 1\nstem: s\nkey: 对\nkey: 错\npoints: 1", "t.txt:6: 键“key”重复"},
      {"subject: 电焊\ntype: 判断题\nno: 1\nstem: s\nanswer: 对\npoints: 1", "t.txt:5: 未知的键“answer”"},
      {"subject: 电焊\ntype: 判断题\nno: 1\nstem: s\nkey: 对\npoints: 0", "t.txt:6: 分值"},
      {"subject: 电焊\ntype: 判断题\nno: 1\n题干 s\nkey: 对\npoints: 1", "t.txt:4: 应为“键: 值”"},
      {"subject: 电焊\ntype: 判断题\nno: 1\nstem: \"a\"b\"\nkey: 对\npoints: 1", "t.txt:4: 引号"},
      {"subject: 电焊\ntype: 判断题\nno: 1\nstem: \xB5\xE7\nkey: 对\npoints: 1",
       "t.txt: 文件不是 UTF-8 文本（第 4 行起"},
      {"subject: 电焊\ntype: 单项选择\nno: 1\nstem: s\nA: a\nB: b\nC: c\nkey: A\npoints: 1",
       "t.txt:1: 单项选择题应有"},
      {"subject: 电焊\ntype: 单项选择\nno: 1\nstem: s\nA: a\nB: b\nC: c\nD: d\nkey: E\npoints: 1",
       "t.txt:9: 单项选择题的答案"},
      {"subject: 电焊\ntype: 多项选择\nno: 1\nstem: s\nA: a\nB: b\nC: c\nD: d\nF: f\nkey: AB\npoints: 2",
       "t.txt:1: 多项选择题应有"},
      {"subject: 电焊\ntype: 多项选择\nno: 1\nstem: s\nA: a\nB: b\nC: c\nD: d\nkey: CA\npoints: 2",
       "t.txt:9: 多项选择题的答案"},
      {"subject: 电焊\ntype: 多项选择\nno: 1\nstem: s\nA: a\nB: b\nC: c\nD: d\nkey: AE\npoints: 2",
       "t.txt:9: 多项选择题的答案"},
      {"subject: 电焊\ntype: 多项选择\nno: 1\nstem: s\nA: a\nB: b\nC: c\nD: d\nkey: B\npoints: 2",
       "t.txt:9: 多项选择题的答案"},
  };
  for (const auto &[text, expected] : cases) {
    std::vector<std::string> errors = Errors(text);
    ASSERT_FALSE(errors.empty()) << text;
    EXPECT_EQ(errors[0].rfind(expected, 0), 0u) << errors[0] << "\nexpected: " << expected;
  }
  // Several bad records: each is reported, the good one between them is not.
  EXPECT_EQ(Errors("no: 1\n\n" + std::string(kGood) + "\nno: 1\n").size(), 2u * 5);
}

TEST(Bank, TextThatIsNotUtf8IsReportedOncePerFile) {
  // A bank saved as GBK or UTF-16: one message naming the file, not one per line.
  std::string gbk;
  for (int i = 0; i < 20; ++i)
    gbk += Utf8ToGbk(kGood) + "\n";
  std::string utf16le = "\xFF\xFE", utf16be = "\xFE\xFF", bare;
  for (char16_t c : Utf8ToUtf16(kGood)) {
    utf16le += {static_cast<char>(c & 0xFF), static_cast<char>(c >> 8)};
    utf16be += {static_cast<char>(c >> 8), static_cast<char>(c & 0xFF)};
    bare += {static_cast<char>(c & 0xFF), static_cast<char>(c >> 8)};
  }
  const std::pair<std::string, std::string> cases[] = {
      {gbk, "t.txt: 文件不是 UTF-8 文本（第 1 行起，可能是 GBK 编码）"},
      {utf16le, "t.txt: 文件是 UTF-16 LE 编码"},
      {utf16be, "t.txt: 文件是 UTF-16 BE 编码"},
      {bare, "t.txt: 文件含有 NUL 字节"},
  };
  for (const auto &[text, expected] : cases) {
    std::vector<std::string> errors = Errors(text);
    ASSERT_EQ(errors.size(), 1u) << expected;
    EXPECT_EQ(errors[0].rfind(expected, 0), 0u) << errors[0];
    EXPECT_NE(errors[0].find("UTF-8 另存"), std::string::npos) << errors[0];
  }
  // A UTF-8 byte-order mark is fine.
  EXPECT_EQ(Errors("\xEF\xBB\xBF" + std::string(kGood)), std::vector<std::string>{});
}

TEST(Bank, DuplicateNumbersAcrossFilesAndEmptyFolders) {
  TTempDir dir;
  ASSERT_TRUE(WriteFileContents(dir.File("a.txt"), kGood));
  ASSERT_TRUE(WriteFileContents(dir.File("b.txt"), std::string("# 同题号\n") + kGood));
  ASSERT_TRUE(WriteFileContents(dir.File("notes.md"), "not a bank file"));
  std::vector<std::string> errors;
  EXPECT_EQ(ReadBankDirectory(dir.File(""), errors).size(), 2u);
  ASSERT_EQ(errors.size(), 1u);
  EXPECT_NE(errors[0].find("b.txt:2: "), std::string::npos);
  EXPECT_NE(errors[0].find("重复"), std::string::npos);
  EXPECT_NE(errors[0].find("a.txt:1"), std::string::npos);
  errors.clear();
  ReadBankDirectory(dir.File("nothing"), errors);
  EXPECT_EQ(errors.size(), 1u);
}

TEST(Bank, BuildsTheDatabaseAndExportsTheSameBank) {
  TTempDir dir;
  std::vector<std::string> errors;
  auto questions = ReadBankDirectory(BANK_FIXTURE_DIR, errors);
  ASSERT_EQ(errors, std::vector<std::string>{});
  ASSERT_EQ(questions.size(), 5u);
  // An older database with a journal beside it is replaced as a whole.
  std::filesystem::create_directory(dir.File("out"));
  ASSERT_TRUE(WriteFileContents(dir.File("out/exam.db-wal"), "stale"));
  BuildDatabase(questions, dir.File("out"), 60);
  EXPECT_FALSE(FileExists(dir.File("out/exam.db-wal")));
  {
    // The exam opens it as it will beside the program: through .\server.udl in its folder.
    std::filesystem::path saved = std::filesystem::current_path();
    std::filesystem::current_path(dir.Path() / "out");
    TConnection exam;
    EXPECT_NO_THROW(exam.Open());
    EXPECT_TRUE(exam.Connected());
    exam.Close();
    std::filesystem::current_path(saved);
  }

  TConnection db;
  db.OpenDatabase(dir.File("out/exam.db"));
  VerifyExamSchema(db);
  EXPECT_EQ(ReadSetting(db, "ExamMinutes", ""), "60");
  EXPECT_EQ(Scalar(db, "select count(*) from examQuestion where eQZY='1基础  '"), "3");
  EXPECT_EQ(Scalar(db, "select QE || '|' || coalesce(QF, 'null') from examQuestion where eQtype='多项选择'"),
            " 阻燃工作服 |null");
  EXPECT_EQ(Scalar(db, "select count(*) from testpaper"), "0");
  db.Close();

  auto files = ExportDatabase(dir.File("out/exam.db"), dir.File("export"));
  ASSERT_EQ(files.size(), 2u);
  EXPECT_EQ(std::filesystem::path(std::u8string(files[0].begin(), files[0].end())),
            dir.Path() / "export" / "1-basic.txt");
  BuildDatabase(ReadBankDirectory(dir.File("export"), errors), dir.File("again"), 0);
  ASSERT_EQ(errors, std::vector<std::string>{});
  auto first = ReadDatabaseBank(dir.File("out/exam.db")),
       second = ReadDatabaseBank(dir.File("again/exam.db"));
  ASSERT_EQ(first.size(), second.size());
  for (size_t s = 0; s < first.size(); ++s) {
    ASSERT_EQ(first[s].size(), second[s].size());
    for (size_t i = 0; i < first[s].size(); ++i) {
      const TBankQuestion &a = first[s][i], &b = second[s][i];
      EXPECT_EQ(std::tie(a.Subject, a.Type, a.No, a.Stem, a.Options, a.Key, a.Points),
                std::tie(b.Subject, b.Type, b.No, b.Stem, b.Options, b.Key, b.Points));
    }
  }
  // A value the source cannot hold is refused by export rather than written wrong.
  TBankQuestion odd = first[0][0];
  odd.Stem = " \"引号\" ";
  EXPECT_THROW(FormatBank({odd}), qv::Exception);
  odd.Stem = "两行\n文字";
  EXPECT_THROW(FormatBank({odd}), qv::Exception);
}
