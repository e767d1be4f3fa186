// qbank: builds the exam database from the question-bank source, and exports a database's bank
// back to source files.
//
//   qbank build BANK_DIR OUT_DIR [--minutes N]   writes OUT_DIR/exam.db and OUT_DIR/server.udl
//   qbank export DB OUT_DIR                      writes one source file per subject
#include "platform/base/Exception.h"
#include "tools/qbank/Bank.h"
#include "tools/qbank/BankDatabase.h"

#include <cstdio>
#include <string>
#include <vector>

#ifdef _WIN32
#include "platform/base/Text.h"
#endif

namespace {

int Usage() {
  std::fputs("用法：\n"
             "  qbank build BANK_DIR OUT_DIR [--minutes N]   由题库源文件生成 OUT_DIR/exam.db 和 server.udl\n"
             "  qbank export DB OUT_DIR                      把数据库中的题库导出为源文件（每科一个）\n",
             stderr);
  return 2;
}

int Build(const std::vector<std::string> &args) {
  if (args.size() != 4 && args.size() != 6) return Usage();
  int minutes = 0;
  if (args.size() == 6) {
    if (args[4] != "--minutes") return Usage();
    try {
      size_t used = 0;
      minutes = std::stoi(args[5], &used);
      if (used != args[5].size() || minutes < 0) throw std::invalid_argument("minutes");
    } catch (const std::exception &) {
      std::fprintf(stderr, "qbank: --minutes 应为不小于 0 的整数（现为“%s”）\n", args[5].c_str());
      return 2;
    }
  }
  std::vector<std::string> errors;
  std::vector<qv::bank::TBankQuestion> questions = qv::bank::ReadBankDirectory(args[2], errors);
  if (!errors.empty()) {
    for (const std::string &e : errors)
      std::fprintf(stderr, "%s\n", e.c_str());
    std::fprintf(stderr, "qbank: 题库有 %zu 处错误，没有生成数据库\n", errors.size());
    return 1;
  }
  qv::bank::BuildDatabase(questions, args[3], minutes);
  std::printf("qbank: %zu 道题写入 %s/exam.db（考试时长 %d 分钟）\n", questions.size(), args[3].c_str(),
              minutes);
  return 0;
}

int Export(const std::vector<std::string> &args) {
  if (args.size() != 4) return Usage();
  for (const std::string &file : qv::bank::ExportDatabase(args[2], args[3]))
    std::printf("%s\n", file.c_str());
  return 0;
}

int Run(const std::vector<std::string> &args) {
  if (args.size() < 2) return Usage();
  try {
    if (args[1] == "build") return Build(args);
    if (args[1] == "export") return Export(args);
  } catch (const std::exception &e) {
    std::fprintf(stderr, "qbank: %s\n", e.what());
    return 1;
  }
  return Usage();
}

} // namespace

#ifdef _WIN32
// Wide arguments: folder names may be Chinese whatever the console's code page.
int wmain(int argc, wchar_t **argv) {
  std::vector<std::string> args;
  for (int i = 0; i < argc; ++i)
    args.push_back(qv::Narrow(argv[i]));
  return Run(args);
}
#else
int main(int argc, char **argv) { return Run(std::vector<std::string>(argv, argv + argc)); }
#endif
