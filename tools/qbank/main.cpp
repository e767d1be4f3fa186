// qbank: builds the exam database from the question-bank source, and exports a database's bank
// back to source files.
//
//   qbank build BANK_DIR OUT_DIR [--minutes N]   writes OUT_DIR/exam.db and OUT_DIR/server.udl
//   qbank export DB OUT_DIR                      writes one source file per subject
#include "platform/base/CommandLine.h"
#include "tools/qbank/Bank.h"
#include "tools/qbank/BankDatabase.h"

#include <cstdio>
#include <string>
#include <vector>

namespace {

using qv::EUsageError;
using qv::TArguments;

const char kUsage[] =
    "用法：\n"
    "  qbank build BANK_DIR OUT_DIR [--minutes N]   由题库源文件（UTF-8 文本）生成 OUT_DIR/exam.db 和 "
    "server.udl\n"
    "  qbank export DB OUT_DIR                      把数据库中的题库导出为源文件（每科一个）\n"
    "  --minutes N   考试时长（分钟，0 至 1440）；不给出时考试不限时（会在标准错误上提示）\n"
    "  以 - 开头的文件夹名写在 -- 之后：qbank build -- -bank out\n"
    "选项：-h, --help 显示本说明；--version 显示版本\n"
    "退出码：0 成功，1 题库或数据库有误（已说明原因），2 用法不对\n";

int Build(TArguments &args) {
  const std::string bankDir = args.Take("BANK_DIR"), outDir = args.Take("OUT_DIR");
  args.Finish();
  const std::optional<int> minutes = args.IntValue("--minutes", 0, 1440);
  std::vector<std::string> errors;
  std::vector<qv::bank::TBankQuestion> questions = qv::bank::ReadBankDirectory(bankDir, errors);
  if (!errors.empty()) {
    for (const std::string &e : errors)
      std::fprintf(stderr, "%s\n", e.c_str());
    std::fprintf(stderr, "qbank: 题库有 %zu 处错误，没有生成数据库\n", errors.size());
    return 1;
  }
  qv::bank::BuildDatabase(questions, outDir, minutes.value_or(0));
  std::printf("qbank: %zu 道题写入 %s/exam.db（考试时长 %d 分钟）\n", questions.size(), outDir.c_str(),
              minutes.value_or(0));
  if (!minutes)
    std::fputs("qbank: 注意：没有给出 --minutes，考试不限时、不会到时自动交卷；"
               "需要限时请用 --minutes N 重新生成\n",
               stderr);
  return 0;
}

int Export(TArguments &args) {
  const std::string db = args.Take("DB"), outDir = args.Take("OUT_DIR");
  args.Finish();
  if (args.Has("--minutes")) throw EUsageError("--minutes 只用于 build");
  for (const std::string &file : qv::bank::ExportDatabase(db, outDir))
    std::printf("%s\n", file.c_str());
  return 0;
}

int Run(TArguments &args) {
  const std::string command = args.Take("COMMAND");
  if (command == "build") return Build(args);
  if (command == "export") return Export(args);
  throw EUsageError("未知的命令“" + command + "”");
}

} // namespace

int main(int argc, char **argv) {
  return qv::TCommandLine("qbank", kUsage, {{"--minutes", "N"}}).Run(qv::ProgramArguments(argc, argv), Run);
}
