// Painting a window like the exam window (question list over a test paper, question and remark
// memos, answer boxes in a group, buttons, an edit, a panel) as the platform draws it, then with
// every control skinned from the default skin through the form skinner and its choice rules, in
// one run; prints both and their ratio.
#include "grid/DBGridEh.h"
#include "platform/base/CommandLine.h"
#include "platform/base/FileIO.h"
#include "platform/base/Text.h"
#include "platform/data/Connection.h"
#include "platform/data/Query.h"
#include "platform/forms/Buttons.h"
#include "platform/forms/ExtCtrls.h"
#include "platform/forms/Forms.h"
#include "platform/forms/StdCtrls.h"
#include "skin/SkinGdi.h"
#include "skin/WinSkinData.h"
#include "skin/WinSkinForm.h"
#include "skin/WinSubClass.h"

#include <windows.h>

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <string>

using namespace qv;

namespace {

using Clock = std::chrono::steady_clock;

const char kUsage[] = "用法：skin_paint_bench DEFAULT_PACKAGE\n"
                      "  打印一个像考试窗口的窗口不换肤和全部控件换肤后的重绘时间及其比值\n"
                      "选项：-h, --help 显示本说明；--version 显示版本\n";

void Drain() {
  MSG msg;
  while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE))
    Application->ProcessMessage(msg);
}

void MakePaper(TConnection &c, const std::string &path, int rows) {
  std::error_code ec;
  std::filesystem::remove(std::filesystem::path(Widen(path)), ec);
  c.OpenDatabase(path, true);
  c.ExecuteScript("create table testpaper (ID INTEGER PRIMARY KEY, sNo INTEGER, eQType VARCHAR(10), "
                  "result1 VARCHAR(10))");
  static const char *types[] = {"单项选择", "多项选择", "判断题"};
  c.BeginTrans();
  TStatement s = c.Prepare("insert into testpaper (sNo, eQType, result1) values (?, ?, ?)");
  for (int i = 1; i <= rows; ++i) {
    s.Reset();
    s.Bind(1, TDbValue(int64_t{i}));
    s.Bind(2, TDbValue(std::string(types[i % 3])));
    s.Bind(3, TDbValue(std::string(1, static_cast<char>('A' + i % 4))));
    s.Step();
  }
  c.CommitTrans();
}

template <class T> T *Place(TForm *form, int x, int y, int w, int h, const std::string &caption = "") {
  auto *c = new T(form);
  c->SetParent(form);
  c->SetBounds(x, y, w, h);
  if (!caption.empty()) c->SetCaption(caption);
  return c;
}

// Mean time of a whole repaint of the window, frames and children included, drawn to the end.
double RepaintMs(TForm *form, int passes) {
  Drain();
  const auto t0 = Clock::now();
  for (int i = 0; i < passes; ++i) {
    RedrawWindow(form->Handle(), nullptr, nullptr,
                 RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN | RDW_UPDATENOW);
    GdiFlush();
  }
  return std::chrono::duration<double, std::milli>(Clock::now() - t0).count() / passes;
}

int Measure(TArguments &args) {
  const std::string package = args.Take("DEFAULT_PACKAGE");
  args.Finish();
  Application->Initialize();
  RegisterGridClasses();
  const std::string path = (std::filesystem::temp_directory_path() / "qv-skin-paint-bench.db").string();
  TConnection connection;
  MakePaper(connection, path, 200);

  auto *form = new TForm(nullptr);
  form->SetClientWidth(800);
  form->SetClientHeight(560);
  auto *data = new TSkinData(form);
  if (!data->LoadPackage(ReadFileBytes(package))) {
    std::fputs("skin_paint_bench: the skin package was refused\n", stderr);
    return 1;
  }
  auto *source = new TDBDataSource(form);
  auto *grid = Place<TDBGridEh>(form, 8, 8, 190, 540);
  grid->SetReadOnly(true);
  auto *stem = Place<TMemo>(form, 210, 8, 580, 120);
  stem->SetScrollBars(TScrollStyle::ssVertical);
  std::string text;
  for (int i = 0; i < 30; ++i)
    text += "焊接电弧的温度分布与电流、电压和保护气体有关，下列说法正确的是哪一项？\r\n";
  stem->SetText(text);
  auto *options = Place<TGroupBox>(form, 210, 140, 580, 200, "选项");
  for (int i = 0; i < 4; ++i) {
    auto *box = new TCheckBox(form);
    box->SetParent(options);
    box->SetBounds(16, 24 + 40 * i, 400, 24);
    box->SetCaption(std::string(1, static_cast<char>('A' + i)) + ". 选项文字");
  }
  auto *remark = Place<TMemo>(form, 210, 350, 580, 80);
  remark->SetScrollBars(TScrollStyle::ssVertical);
  remark->SetText(text);
  Place<TEdit>(form, 210, 440, 200, 24, "开始时间");
  const char *buttons[] = {"第一题", "上一题", "下一题", "最后一题", "交卷"};
  for (int i = 0; i < 5; ++i)
    Place<TBitBtn>(form, 210 + 100 * i, 480, 90, 32, buttons[i]);
  auto *panel = Place<TPanel>(form, 210, 520, 580, 32);
  panel->SetCaption("考试时长：90 分钟");
  TQuery query(&connection);
  query.SetSQL("select * from testpaper order by sNo");
  query.Open();
  source->SetDataSet(&query);
  grid->SetDataSource(source);
  form->Show();
  Drain();

  const int passes = 100;
  RepaintMs(form, 5); // warm caches
  const double plainMs = RepaintMs(form, passes);
  auto *skinner = new TWinSkinForm(form);
  skinner->AttachForm(form, data);
  skinner->SkinChildren(form);
  Drain();
  const int skinned = static_cast<int>(skinner->Skinners().size());
  RepaintMs(form, 5);
  const double skinnedMs = RepaintMs(form, passes);

  std::printf("repainting a window like the exam window, %d controls skinned (%d-bit)\n", skinned,
              static_cast<int>(sizeof(void *) * 8));
  std::printf("  platform's own look          %8.3f ms\n", plainMs);
  std::printf("  every control skinned        %8.3f ms\n", skinnedMs);
  std::printf("  ratio skinned / own look     %8.2f\n", skinnedMs / plainMs);
  delete form;
  connection.Close();
  std::error_code ec;
  std::filesystem::remove(std::filesystem::path(Widen(path)), ec);
  return 0;
}

} // namespace

int main(int argc, char **argv) {
  return TCommandLine("skin_paint_bench", kUsage).Run(ProgramArguments(argc, argv), Measure);
}
