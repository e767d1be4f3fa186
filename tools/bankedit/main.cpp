// bankedit: the question-bank editor of an exam centre. Without arguments it opens the window on
// the database server.udl names; with --export or --import it runs the same grid in a hidden
// window, for scripts:
//
//   bankedit --export csv|txt|rtf|qvtdbif FILE
//   bankedit --import txt|qvtdbif FILE
#include "platform/base/CommandLine.h"
#include "platform/base/Text.h"
#include "platform/forms/Forms.h"
#include "tools/bankedit/BankTransfer.h"
#include "tools/bankedit/BankWindow.h"
#include "tools/bankedit/GridTextsZh.h"

#include <windows.h>

#include <cstdio>

namespace {

using namespace qv;
using namespace qv::bankedit;

const char kUsage[] = "用法：\n"
                      "  bankedit                                      "
                      "打开题库编辑窗口（数据库由当前文件夹的 server.udl 指定）\n"
                      "  bankedit --export csv|txt|rtf|qvtdbif FILE    把题库全部题目导出到 FILE\n"
                      "  bankedit --import txt|qvtdbif FILE            把 FILE "
                      "中的题目追加到题库（有一题不合格则一题也不写入）\n"
                      "  以 - 开头的文件名写在 -- 之后：bankedit --export csv -- -bank.csv\n"
                      "选项：-h, --help 显示本说明；--version 显示版本\n"
                      "退出码：0 成功，1 失败（已说明原因），2 用法不对\n";

const char kConnection[] = "FILE NAME=.\\server.udl";

// A GUI program has standard handles only when its starter gave it some; from a console window
// it writes to that console.
void ConnectStandardStreams() {
  if (GetStdHandle(STD_ERROR_HANDLE) && GetStdHandle(STD_OUTPUT_HANDLE)) return;
  if (!AttachConsole(ATTACH_PARENT_PROCESS)) return;
  if (!GetStdHandle(STD_OUTPUT_HANDLE)) std::freopen("CONOUT$", "w", stdout);
  if (!GetStdHandle(STD_ERROR_HANDLE)) std::freopen("CONOUT$", "w", stderr);
}

int Transfer(TArguments &args) {
  const std::optional<std::string> exportAs = args.Value("--export"), importAs = args.Value("--import");
  if (exportAs && importAs) throw EUsageError("--export 和 --import 不能同时给出");
  const std::string file = args.Take("FILE");
  args.Finish();
  const TTransferFormat format = exportAs ? ExportFormat(*exportAs) : ImportFormat(*importAs);

  Application->Initialize();
  RegisterGridClasses();
  TConnection connection;
  OpenBankDatabase(connection, kConnection);
  TForm form(nullptr);
  TBankView view(&form, &form, connection);
  if (exportAs) {
    ExportBank(view, format, file);
    std::printf("bankedit: %d 道题导出到 %s\n", view.Query().RecordCount(), file.c_str());
  } else {
    int added = ImportBank(view, format, file);
    std::printf("bankedit: 从 %s 导入 %d 道题\n", file.c_str(), added);
  }
  return 0;
}

int Run(TArguments &args) {
  UseChineseGridTexts();
  if (args.Has("--export") || args.Has("--import")) return Transfer(args);
  args.Finish();
  return RunBankWindow(kConnection);
}

} // namespace

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
  ConnectStandardStreams();
  return TCommandLine("bankedit", kUsage, {{"--export", "FORMAT"}, {"--import", "FORMAT"}})
      .Run(ProgramArguments(0, nullptr), Run);
}
