#include "TestDb.h"

#include "platform/data/SqlText.h"

#include <atomic>
#include <chrono>

namespace qv::test {

TTempDir::TTempDir() {
  static std::atomic<int> counter{0};
  auto stamp = std::chrono::steady_clock::now().time_since_epoch().count();
  path_ = std::filesystem::temp_directory_path() /
          ("qv-data-" + std::to_string(stamp) + "-" + std::to_string(counter++));
  std::filesystem::create_directories(path_);
}

TTempDir::~TTempDir() {
  std::error_code ec;
  std::filesystem::remove_all(path_, ec);
}

std::string TTempDir::File(const std::string &name) const {
  std::u8string p = (path_ / name).u8string();
  return std::string(p.begin(), p.end());
}

const std::vector<TQuestion> &FixtureBank() {
  static const std::vector<TQuestion> bank = {
      {"电焊", "判断题", 1, "电焊T1", "对", 1},
      {"1基础  ", "判断题", 1, "基础T1", "错", 1},
      {"1基础  ", "多项选择", 2, "基础M2", "BCD", 2},
      {"1基础  ", "单项选择", 3, "基础S3", "C", 1},
      {"电焊", "单项选择", 1, "电焊S1", "A", 1},
      {"1基础  ", "单项选择", 1, "基础S1", "A", 1},
      {"1基础", "单项选择", 9, "无尾空格", "A", 1},
      {"1基础  ", "多项选择", 1, "基础M1", "AC", 2},
      {"气割", "单项选择", 1, "气割S1", "B", 1},
      {"1基础  ", "单项选择", 2, "基础S2", "B", 1},
      {"电焊", "多项选择", 1, "电焊M1", "ABD", 2},
      {"氩弧焊", "判断题", 1, "氩弧T1", "对", 1},
      {"二氧化碳焊", "单项选择", 1, "二氧化碳S1", "D", 1},
  };
  return bank;
}

void InsertQuestion(TConnection &connection, const TQuestion &q) {
  TStatement insert =
      connection.Prepare("INSERT INTO examQuestion (eQZY, eQtype, eQno, eQName, QA, QB, QC, QD, "
                         "eQright, eQfen) VALUES (?, ?, ?, ?, '甲', '乙', '丙', '丁', ?, ?)");
  insert.Bind(1, q.Subject);
  insert.Bind(2, q.Type);
  insert.Bind(3, static_cast<int64_t>(q.No));
  insert.Bind(4, q.Stem);
  insert.Bind(5, q.Right);
  insert.Bind(6, static_cast<int64_t>(q.Points));
  insert.Step();
}

void CreateFixtureDatabase(TConnection &connection, const TTempDir &dir) {
  connection.OpenDatabase(dir.File("exam.db"), true);
  CreateExamSchema(connection);
  for (const TQuestion &q : FixtureBank())
    InsertQuestion(connection, q);
}

void BuildPaper(TQuery &query, const std::vector<std::string> &subjects) {
  query.Close();
  query.ClearSQL();
  query.SetSQL("delete from testpaper");
  query.ExecSQL();
  query.Close();
  for (const std::string &subject : subjects) {
    query.Close();
    query.SetSQL("insert into testpaper select * from examQuestion where eQZY='" + subject +
                 "' order by eQZY,eQtype");
    query.ExecSQL();
  }
  query.Close();
  query.SetSQL("select * from testpaper order by eQZY,eQtype,eQno");
  query.Open();
  int counter = 1;
  while (!query.Eof()) {
    if (query.State() == TDataSetState::dsBrowse) query.Edit();
    query.FieldByName("sNo")->SetAsInteger(counter++);
    query.Post();
    query.Next();
  }
}

std::string Scalar(TConnection &connection, const std::string &sql) {
  TStatement s = connection.Prepare(sql);
  if (!s.Step()) return "<no row>";
  return IsNullValue(s.Column(0)) ? "<null>" : ValueToText(s.Column(0));
}

} // namespace qv::test
