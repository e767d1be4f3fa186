// Paper generation through the dataset (delete, insert per subject, then numbering row by row
// with a post per row, scroll hooks and a data link attached, as the exam does it) against the
// same result produced by plain SQL in one transaction, for banks of 1,000 to 100,000 questions.
#include "platform/base/CommandLine.h"
#include "platform/data/Connection.h"
#include "platform/data/DataSource.h"
#include "platform/data/Query.h"
#include "platform/data/Schema.h"

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

using namespace qv;

namespace {

const std::vector<std::string> kSubjects = {"1基础  ",    "电焊",   "气焊", "气割",
                                            "二氧化碳焊", "氩弧焊", "钎焊"};
const char *kTypes[] = {"单项选择", "多项选择", "判断题"};

double Seconds(std::chrono::steady_clock::time_point since) {
  return std::chrono::duration<double>(std::chrono::steady_clock::now() - since).count();
}

void FillBank(TConnection &db, int questions) {
  db.BeginTrans();
  TStatement insert =
      db.Prepare("INSERT INTO examQuestion (eQZY, eQtype, eQno, eQName, QA, QB, QC, QD, eQright, "
                 "eQfen) VALUES (?, ?, ?, ?, '选项甲', '选项乙', '选项丙', '选项丁', 'A', 1)");
  for (int i = 0; i < questions; ++i) {
    // Spread over the subjects and types, numbers descending so that storage order is not paper order.
    insert.Bind(1, kSubjects[static_cast<size_t>(i % 7)]);
    insert.Bind(2, std::string(kTypes[(i / 7) % 3]));
    insert.Bind(3, static_cast<int64_t>(questions - i));
    insert.Bind(4, "焊接安全练习题第" + std::to_string(i) + "题：焊接作业前应当检查哪些事项？");
    insert.Step();
    insert.Reset();
  }
  db.CommitTrans();
}

class TIdleLink : public TDataLink {}; // a grid's link that draws nothing

struct TPhases {
  double copy = 0, open = 0, number = 0, commit = 0;
};

void DatasetPaper(TConnection &db, TQuery &localDS, TPhases &phases) {
  auto start = std::chrono::steady_clock::now();
  db.BeginTrans();
  localDS.Close();
  localDS.ClearSQL();
  localDS.SetSQL("delete from testpaper");
  localDS.ExecSQL();
  for (const std::string &subject : kSubjects) {
    localDS.Close();
    localDS.SetSQL("insert into testpaper select * from examQuestion where eQZY='" + subject +
                   "' order by eQZY,eQtype");
    localDS.ExecSQL();
  }
  localDS.Close();
  phases.copy = Seconds(start);
  start = std::chrono::steady_clock::now();
  localDS.SetSQL("select * from testpaper order by eQZY,eQtype,eQno");
  localDS.Open();
  phases.open = Seconds(start);
  start = std::chrono::steady_clock::now();
  int counter = 1;
  while (!localDS.Eof()) {
    if (localDS.State() == TDataSetState::dsBrowse) localDS.Edit();
    localDS.FieldByName("sNo")->SetAsInteger(counter++);
    localDS.Post();
    localDS.Next();
  }
  phases.number = Seconds(start);
  start = std::chrono::steady_clock::now();
  db.CommitTrans();
  phases.commit = Seconds(start);
}

void SqlPaper(TConnection &db) {
  db.BeginTrans();
  db.Execute("delete from testpaper");
  for (const std::string &subject : kSubjects)
    db.Execute("insert into testpaper select * from examQuestion where eQZY='" + subject +
               "' order by eQZY,eQtype");
  db.Execute(
      "UPDATE testpaper SET sNo = r.n FROM (SELECT ID, row_number() OVER (ORDER BY eQZY, eQtype, eQno) AS n "
      "FROM testpaper) AS r WHERE testpaper.ID = r.ID");
  db.CommitTrans();
}

std::string PaperOrder(TConnection &db) {
  TStatement s = db.Prepare("SELECT group_concat(ID) FROM (SELECT ID FROM testpaper ORDER BY sNo)");
  s.Step();
  return ValueToText(s.Column(0));
}

} // namespace

int Measure() {
  std::filesystem::path dir = std::filesystem::temp_directory_path() / "qv-paper-bench";
  std::filesystem::remove_all(dir);
  std::filesystem::create_directories(dir);
  std::printf("%10s %14s %14s %8s   dataset phases (s): copy, open, number, commit\n", "questions",
              "dataset (s)", "plain SQL (s)", "ratio");
  bool same = true;
  for (int questions : {1000, 10000, 100000}) {
    std::u8string file = (dir / ("bench-" + std::to_string(questions) + ".db")).u8string();
    TConnection db;
    db.OpenDatabase(std::string(file.begin(), file.end()), true);
    CreateExamSchema(db);
    FillBank(db, questions);

    TQuery localDS(&db);
    TDataSource source(&localDS);
    TIdleLink link;
    link.SetBufferCount(20);
    link.SetDataSource(&source);
    std::string seen;
    localDS.BeforeScroll = [&](TDataSet &d) { seen = d.FieldByName("eQtype")->AsString(); };
    localDS.AfterScroll = [&](TDataSet &d) { seen = d.FieldByName("eQtype")->AsString(); };

    auto start = std::chrono::steady_clock::now();
    TPhases phases;
    DatasetPaper(db, localDS, phases);
    double dataset = Seconds(start);
    std::string datasetOrder = PaperOrder(db);
    localDS.Close();

    start = std::chrono::steady_clock::now();
    SqlPaper(db);
    double sql = Seconds(start);
    same = same && datasetOrder == PaperOrder(db);
    std::printf("%10d %14.3f %14.3f %8.2f   %.3f %.3f %.3f %.3f\n", questions, dataset, sql, dataset / sql,
                phases.copy, phases.open, phases.number, phases.commit);
    std::fflush(stdout);
  }
  std::filesystem::remove_all(dir);
  std::printf("same numbering from both: %s\n", same ? "yes" : "NO");
  return same ? 0 : 1;
}

int main(int argc, char **argv) {
  const char *usage = "用法：paper_bench\n"
                      "  在临时文件夹里按不同题量生成试卷，打印数据集方式与纯 SQL 的耗时和它们的比值\n"
                      "选项：-h, --help 显示本说明；--version 显示版本\n";
  return qv::TCommandLine("paper_bench", usage)
      .Run(qv::ProgramArguments(argc, argv), [](qv::TArguments &args) {
        args.Finish();
        return Measure();
      });
}
