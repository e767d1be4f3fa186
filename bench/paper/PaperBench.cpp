// Paper generation as the exam program runs it: the data module's BuildPaper over the login
// window's subject boxes, with the exam window's scroll hooks attached (the window hidden, as it
// is behind the waiting window), for banks of 250, 3,000 and 100,000 questions, against the same
// paper made by plain SQL in one transaction.
#include "app/Uexam.h"
#include "app/uDM.h"
#include "app/uLogin.h"
#include "platform/base/CommandLine.h"
#include "platform/data/Connection.h"
#include "platform/data/DataLinkFile.h"
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
  TTransaction transaction(db);
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
  transaction.Commit();
}

void SqlPaper(TConnection &db) {
  TTransaction transaction(db);
  db.Execute("delete from testpaper");
  for (const std::string &subject : kSubjects)
    db.Execute("insert into testpaper select * from examQuestion where eQZY='" + subject +
               "' order by eQZY,eQtype");
  db.Execute(
      "UPDATE testpaper SET sNo = r.n FROM (SELECT ID, row_number() OVER (ORDER BY eQZY, eQtype, eQno) AS n "
      "FROM testpaper) AS r WHERE testpaper.ID = r.ID");
  transaction.Commit();
}

std::string PaperOrder(TConnection &db) {
  TStatement s = db.Prepare("SELECT group_concat(ID) FROM (SELECT ID FROM testpaper ORDER BY sNo)");
  s.Step();
  return ValueToText(s.Column(0));
}

// Times the program's own generation in a folder holding server.udl and a bank of `questions`.
double ProgramPaper(const std::filesystem::path &dir, std::string &order) {
  std::filesystem::path home = std::filesystem::current_path();
  std::filesystem::current_path(dir);
  Application->CreateForm(fmDM);
  Application->CreateForm(fmlogin);
  Application->CreateForm(fmexam);
  auto start = std::chrono::steady_clock::now();
  fmDM->BuildPaper();
  double seconds = Seconds(start);
  order = PaperOrder(*fmDM->ADOConnection1);
  delete fmexam;
  delete fmlogin;
  delete fmDM;
  std::filesystem::current_path(home);
  return seconds;
}

} // namespace

int Measure() {
  Application->Initialize();
  std::filesystem::path root = std::filesystem::temp_directory_path() / "qv-paper-bench";
  std::filesystem::remove_all(root);
  std::printf("%10s %14s %14s %8s\n", "questions", "program (s)", "plain SQL (s)", "ratio");
  bool same = true;
  for (int questions : {250, 3000, 100000}) {
    std::filesystem::path dir = root / std::to_string(questions);
    std::filesystem::create_directories(dir);
    std::u8string file = (dir / "exam.db").u8string();
    TConnection db;
    db.OpenDatabase(std::string(file.begin(), file.end()), true);
    CreateExamSchema(db);
    FillBank(db, questions);
    std::u8string udl = (dir / "server.udl").u8string();
    WriteDataLinkFile(std::string(udl.begin(), udl.end()), "exam.db");

    std::string programOrder;
    double program = ProgramPaper(dir, programOrder);
    auto start = std::chrono::steady_clock::now();
    SqlPaper(db);
    double sql = Seconds(start);
    same = same && programOrder == PaperOrder(db);
    std::printf("%10d %14.3f %14.3f %8.2f\n", questions, program, sql, program / sql);
    std::fflush(stdout);
  }
  std::filesystem::remove_all(root);
  std::printf("same numbering from both: %s\n", same ? "yes" : "NO");
  return same ? 0 : 1;
}

int main(int argc, char **argv) {
  const char *usage = "用法：paper_bench\n"
                      "  在临时文件夹里按 250、3000 和 100000 道题生成试卷（与考试程序同一路径），\n"
                      "  打印耗时、纯 SQL 的耗时和它们的比值\n"
                      "选项：-h, --help 显示本说明；--version 显示版本\n";
  return qv::TCommandLine("paper_bench", usage)
      .Run(qv::ProgramArguments(argc, argv), [](qv::TArguments &args) {
        args.Finish();
        return Measure();
      });
}
