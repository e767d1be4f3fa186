// bankedit_drive WORKDIR PLANFILE --bankedit EXE --exam EXE --exam-drive EXE [--shots DIR]
//
// The question-bank editor end to end. In WORKDIR (a copy of the demo database and its
// server.udl) it starts the real bankedit and works its window as a centre's clerk would, with
// real keys and mouse clicks (the menus from the menu bar): a new question of each type typed into the grid's
// in-place editor, the subject and type chosen from the pick lists with the mouse and the points of one
// question from the calculator; a question with a key that does not fit its type refused (nothing written)
// and dropped with Escape; a question deleted after the grid's question, declined once; a text file imported
// through the 文件 menu. It closes the editor, checks the bank in the file, then runs the exam's driver
// (exam_drive) on PLANFILE, whose paper is the new questions of one subject, and checks that the marked test
// paper holds them in order with the answers the plan gives. Exits 0 only when everything held; with --shots
// it saves pictures of the editor.
#include "Win.h"

#include "platform/base/CommandLine.h"
#include "platform/base/Text.h"
#include "platform/data/Connection.h"
#include "platform/data/Field.h"
#include "platform/data/Query.h"

#include <cstdio>
#include <fstream>
#include <stdexcept>

namespace qv::e2e {
namespace {

struct TNewQuestion {
  std::string Subject, Type, Stem;
  std::vector<std::string> Options; // A to F; fewer leave the rest empty
  std::string Key;
  int Points = 1;
};

// Typed into the grid. The multiple-choice question takes its points from the calculator (2+1).
const TNewQuestion kTyped[] = {
    {"钎焊",
     "单项选择",
     "新题一：软钎焊所用钎料的熔点低于多少摄氏度？",
     {"250", "450", "650", "850"},
     "B",
     1},
    {"钎焊",
     "多项选择",
     "新题二：下列哪些属于钎焊方法？",
     {"火焰钎焊", "焊条电弧焊", "感应钎焊", "埋弧焊", "炉中钎焊"},
     "ACE",
     3},
    {"钎焊", "判断题", "新题三：钎焊时母材不熔化。", {}, "对", 1},
};
// In the imported file: one for the subject of the paper, one for a subject the exam leaves out.
const TNewQuestion kImported[] = {
    {"钎焊",
     "单项选择",
     "新题四：钎剂的主要作用是什么？",
     {"提高钎料强度", "降低母材熔点", "清除氧化膜并保护焊件", "加快焊接速度"},
     "C",
     1},
    {"电焊", "判断题", "新题五：电焊机外壳必须可靠接地。", {}, "对", 1},
};
const char kRefusedStem[] = "新题（答案不合格）：单项选择题写了答案 E";
const char kImportFile[] = "新题导入.txt";

// The paper the plan answers (subject 钎焊: single choice by number, then multiple choice, then
// true/false) and what the marking makes of the plan's answers.
struct TPaperRow {
  const char *Stem, *Result;
};
const TPaperRow kPaper[] = {
    {kTyped[0].Stem.c_str(), "B √"},
    {kImported[0].Stem.c_str(), "A ×"},
    {kTyped[1].Stem.c_str(), "ACE √"},
    {kTyped[2].Stem.c_str(), "对 √"},
};

// The grid's columns, in order (see tools/bankedit/BankView.cpp).
enum TColumn { cSubject, cType, cNo, cStem, cA, cKey = cA + 6, cPoints };

class TBankDriver {
public:
  TBankDriver(std::string work, std::string plan, std::string bankedit, std::string exam,
              std::string examDrive, std::string shots)
      : work_(std::move(work)), plan_(std::move(plan)), bankedit_(std::move(bankedit)),
        exam_(std::move(exam)), examDrive_(std::move(examDrive)), shots_(std::move(shots)) {}

  int Run() {
    if (!SetCurrentDirectoryW(Widen(work_).c_str()))
      throw std::runtime_error("no working directory " + work_);
    db_.Open();
    const int before = Count("1");
    WriteImportFile();
    process_ = Start(bankedit_, {});
    try {
      Edit();
    } catch (const std::exception &e) {
      Fail(std::string("stopped: ") + e.what());
      Shot("failure");
      TerminateProcess(process_.hProcess, 3);
    }
    WaitForSingleObject(process_.hProcess, 10000);
    CloseHandle(process_.hThread);
    CloseHandle(process_.hProcess);
    if (failures_ == 0) {
      CheckBank(before);
      Exam();
    }
    std::printf("bankedit e2e: %s, %d check(s) failed\n", failures_ ? "FAILED" : "OK", failures_);
    return failures_ ? 1 : 0;
  }

private:
  std::string work_, plan_, bankedit_, exam_, examDrive_, shots_;
  TConnection db_;
  PROCESS_INFORMATION process_{};
  HWND form_ = nullptr, grid_ = nullptr;
  int failures_ = 0, shotNo_ = 0;
  std::string deletedStem_;

  void Fail(const std::string &what) {
    ++failures_;
    std::printf("FAIL: %s\n", what.c_str());
    std::fflush(stdout);
  }
  void Check(bool ok, const std::string &what) {
    if (!ok) Fail(what);
  }
  void Require(bool ok, const std::string &what) {
    if (!ok) throw std::runtime_error(what);
  }
  void Step(const std::string &what) {
    std::printf("bankedit e2e: %s\n", what.c_str());
    std::fflush(stdout);
  }
  void Shot(const std::string &name) {
    if (shots_.empty()) return;
    WaitForInputIdle(process_.hProcess, 2000);
    Pause(300); // the screen catches up with what the program has just drawn
    char prefix[8];
    std::snprintf(prefix, sizeof prefix, "%02d-", ++shotNo_);
    SaveScreen(shots_ + "\\" + prefix + name + ".bmp");
  }

  // Starts a program in the working folder; with shareOutput it writes into this one's output.
  static PROCESS_INFORMATION Start(const std::string &exe, const std::vector<std::string> &args,
                                   bool shareOutput = false) {
    std::wstring cmd = L"\"" + Widen(exe) + L"\"";
    for (const std::string &a : args)
      cmd += L" \"" + Widen(a) + L"\"";
    STARTUPINFOW si{};
    si.cb = sizeof si;
    if (shareOutput) {
      std::fflush(stdout);
      si.dwFlags = STARTF_USESTDHANDLES;
      si.hStdInput = GetStdHandle(STD_INPUT_HANDLE);
      si.hStdOutput = GetStdHandle(STD_OUTPUT_HANDLE);
      si.hStdError = GetStdHandle(STD_ERROR_HANDLE);
    }
    PROCESS_INFORMATION pi{};
    if (!CreateProcessW(Widen(exe).c_str(), cmd.data(), nullptr, nullptr, shareOutput, 0, nullptr, nullptr,
                        &si, &pi))
      throw std::runtime_error("cannot start " + exe);
    return pi;
  }
  DWORD Pid() const { return process_.dwProcessId; }

  // The database, as a fresh reader sees it ------------------------------------------------------

  int Count(const std::string &where) {
    TQuery q(&db_);
    q.SetSQL("select count(*) as n from examQuestion where " + where);
    q.Open();
    return static_cast<int>(q.FieldByName("n")->AsInteger());
  }
  static std::string Quoted(const std::string &text) { return "'" + text + "'"; }

  // The file the import reads: the grid's text format (GBK, TAB between cells, CR LF between
  // records), in the order of the grid's columns.
  void WriteImportFile() {
    std::string text;
    for (const TNewQuestion &q : kImported) {
      std::vector<std::string> cells = {q.Subject, q.Type, "900", q.Stem};
      for (size_t i = 0; i < 6; ++i)
        cells.push_back(i < q.Options.size() ? q.Options[i] : "");
      cells.push_back(q.Key);
      cells.push_back(std::to_string(q.Points));
      if (!text.empty()) text += "\r\n";
      for (size_t i = 0; i < cells.size(); ++i)
        text += (i ? "\t" : "") + cells[i];
    }
    std::ofstream(Widen(kImportFile).c_str(), std::ios::binary) << Utf8ToGbk(text);
  }

  // The editor's window --------------------------------------------------------------------------

  HWND Focus() {
    GUITHREADINFO gui{};
    gui.cbSize = sizeof gui;
    return GetGUIThreadInfo(process_.dwThreadId, &gui) ? gui.hwndFocus : nullptr;
  }
  // The in-place editor when it is shown.
  HWND Editor() {
    for (HWND e : FindChildren(grid_, "TDBGridInplaceEdit"))
      if (IsWindowVisible(e)) return e;
    return nullptr;
  }
  HWND Popup(const std::string &cls) {
    HWND w = FindTopWindow(Pid(), cls);
    return w && IsWindowVisible(w) ? w : nullptr;
  }
  std::string Status() {
    for (HWND p : FindChildren(form_, "TPanel"))
      if (WindowText(p).find("题") != std::string::npos) return WindowText(p);
    return {};
  }

  void Key(WORD vk, UINT modifiers = 0) {
    PressKeyWith(vk, modifiers);
    WaitForInputIdle(process_.hProcess, 2000);
  }
  // Types into the current cell (the first character opens the editor) and waits until the
  // editor shows the text.
  void TypeIntoCell(const std::string &text) {
    TypeText(text);
    Require(WaitFor([&] { return Editor() && WindowText(Editor()) == text; }, 5000),
            "the cell's editor does not show \"" + text + "\" but \"" +
                (Editor() ? WindowText(Editor()) : "") + "\"");
  }
  // F2 shows the editor on the current cell.
  HWND OpenEditor() {
    if (!Editor()) Key(VK_F2);
    HWND e = nullptr;
    Require(WaitFor([&] { return (e = Editor()) != nullptr; }, 3000), "F2 shows no editor");
    return e;
  }
  // A click on the editor's drop-down button (at its right edge) opens the popup of class cls.
  HWND DropDown(const std::string &cls) {
    HWND e = OpenEditor();
    RECT r = ScreenRect(e);
    ClickAt({r.right - 6, (r.top + r.bottom) / 2});
    HWND popup = nullptr;
    Require(WaitFor([&] { return (popup = Popup(cls)) != nullptr; }, 3000),
            "the drop-down button opened no " + cls);
    return popup;
  }
  // Opens the cell's pick list and clicks its item text.
  void Pick(const std::string &text, const std::string &shot = {}) {
    HWND list = DropDown("TPopupListboxEh");
    int count = static_cast<int>(SendMessageW(list, LB_GETCOUNT, 0, 0));
    int index = -1;
    for (int i = 0; i < count && index < 0; ++i) {
      wchar_t item[128] = L"";
      if (SendMessageW(list, LB_GETTEXTLEN, i, 0) < 127)
        SendMessageW(list, LB_GETTEXT, i, reinterpret_cast<LPARAM>(item));
      if (Narrow(item) == text) index = i;
    }
    Require(index >= 0, "the pick list offers no \"" + text + "\"");
    if (!shot.empty()) Shot(shot);
    int height = static_cast<int>(SendMessageW(list, LB_GETITEMHEIGHT, 0, 0));
    int top = static_cast<int>(SendMessageW(list, LB_GETTOPINDEX, 0, 0));
    POINT at{20, (index - top) * height + height / 2};
    ClientToScreen(list, &at);
    ClickAt(at);
    Require(
        WaitFor([&] { return !Popup("TPopupListboxEh") && Editor() && WindowText(Editor()) == text; }, 3000),
        "choosing \"" + text + "\" in the pick list did not put it into the cell");
  }
  // Clicks the calculator's buttons by their captions, at their places in its layout.
  void Calculate(const std::vector<std::string> &captions) {
    struct TButtonPlace {
      const char *Caption;
      int Left, Top, Width;
    };
    static const TButtonPlace places[] = {
        {"1", 6, 77, 27}, {"2", 35, 77, 27}, {"+", 93, 101, 27}, {"=", 122, 101, 56}, {"Ok", 122, 101, 56}};
    HWND calc = DropDown("TPopupCalculatorEh");
    Shot("calculator");
    for (const std::string &caption : captions)
      for (const TButtonPlace &b : places)
        if (caption == b.Caption) {
          POINT at{b.Left + b.Width / 2, b.Top + 11};
          ClientToScreen(calc, &at);
          ClickAt(at);
          WaitForInputIdle(process_.hProcess, 2000);
        }
    Require(WaitFor([&] { return !Popup("TPopupCalculatorEh"); }, 3000),
            "the calculator's Ok did not close it");
  }
  // The program's message box now shown, its text and the button with this id pressed.
  std::string AnswerBox(int button, const std::string &shot = {}) {
    HWND box = nullptr;
    Require(WaitFor([&] { return (box = Popup("#32770")) != nullptr; }, 5000), "no message box appeared");
    std::string text;
    for (HWND s : FindChildren(box, "Static"))
      text += WindowText(s);
    if (!shot.empty()) Shot(shot);
    HWND b = GetDlgItem(box, button);
    Require(b != nullptr, "the message box has no button " + std::to_string(button));
    ClickCenter(b);
    Require(WaitFor([&] { return !IsWindow(box) || !IsWindowVisible(box); }, 3000), "the message box stayed");
    return text;
  }
  // The centre of the menu bar's item index (文件 0, 编辑 1, ...): the bar lies just above the
  // client area; its captions are the dark runs of pixels there, 10 pixels or more apart.
  POINT BarItem(int index) {
    RECT area{};
    GetClientRect(form_, &area);
    POINT client{0, 0};
    ClientToScreen(form_, &client);
    TPixels band(RECT{client.x, client.y - 16, client.x + area.right, client.y - 3});
    std::vector<std::pair<int, int>> runs; // first and last column of each caption
    for (int x = 0; x < band.Width(); ++x) {
      bool dark = false;
      for (int y = 0; y < band.Height() && !dark; ++y) {
        COLORREF c = band.At(x, y);
        dark = GetRValue(c) + GetGValue(c) + GetBValue(c) < 250;
      }
      if (!dark) continue;
      if (runs.empty() || x - runs.back().second > 6)
        runs.emplace_back(x, x);
      else
        runs.back().second = x;
    }
    Require(static_cast<int>(runs.size()) > index,
            "the menu bar shows " + std::to_string(runs.size()) + " items");
    return {client.x + (runs[index].first + runs[index].second) / 2, client.y - 9};
  }
  // Clicks the menu bar's item index; its drop-down opens with the first item selected, and the
  // keys given then queue up behind (arrows, Enter).
  void Menu(int index, const std::vector<WORD> &keys, const std::string &shot = {}) {
    ClickAt(BarItem(index));
    Require(WaitFor([&] { return Popup("#32768") != nullptr; }, 3000),
            "a click on the menu bar's item " + std::to_string(index) + " opened no menu");
    for (size_t i = 0; i < keys.size(); ++i) {
      if (!shot.empty() && keys[i] == VK_RETURN) Shot(shot);
      Key(keys[i]);
    }
    WaitFor([&] { return Popup("#32768") == nullptr; }, 3000);
  }

  void Edit() {
    Require(WaitFor(
                [&] {
                  for (HWND w : ProcessTopWindows(Pid()))
                    if (WindowText(w) == "题库编辑") form_ = w;
                  return form_ != nullptr;
                },
                20000),
            "the editor's window did not appear");
    auto grids = FindChildren(form_, "TDBGridEh");
    Require(!grids.empty(), "the editor's window has no grid");
    grid_ = grids.front();
    Require(WaitFor([&] { return Status().find("共") != std::string::npos; }, 5000), "no status line");
    Step("editor open: " + Status());
    Shot("grid-footers");
    // A click on the number of the first question makes the grid the focus (the first column,
    // current until then, would open its editor).
    RECT g = ScreenRect(grid_);
    ClickAt({g.left + 200, g.top + 30});
    Require(WaitFor([&] { return Focus() == grid_; }, 3000),
            "a click into the grid does not give it the focus");
    DeleteOne();
    for (const TNewQuestion &q : kTyped)
      NewQuestion(q);
    RefusedQuestion();
    Import();
    const std::optional<DWORD> code = CloseAndWaitForExit(form_, process_.hProcess, 10000);
    Require(code.has_value(), "bankedit did not end when closed");
    Check(*code == 0, "bankedit ended with code " + std::to_string(*code));
    Step("bankedit closed");
  }

  // The current (first) question, deleted by 编辑 > 删除题目 after the grid's question; Cancel
  // keeps it, OK deletes it.
  void DeleteOne() {
    {
      TQuery q(&db_);
      q.SetSQL("select eQName from examQuestion order by ID");
      q.Open();
      deletedStem_ = q.FieldByName("eQName")->AsString();
    }
    const int before = Count("1");
    Menu(1, {VK_DOWN, VK_RETURN}); // 编辑 > 删除题目
    std::string asked = AnswerBox(IDCANCEL, "delete-confirmation");
    Check(asked == "删除这道题？", "the delete confirmation asks \"" + asked + "\"");
    Check(Count("1") == before, "Cancel on the delete confirmation deleted the question");
    Key(VK_DELETE, MOD_CONTROL);
    asked = AnswerBox(IDOK);
    Check(asked == "删除这道题？", "Ctrl+Delete asks \"" + asked + "\"");
    Check(WaitFor([&] { return Count("1") == before - 1; }, 3000),
          "OK on the delete confirmation deleted nothing");
    Step("deleted after the confirmation: " + deletedStem_);
  }

  // Ctrl+N, then the cells from the subject to the points with Tab between them, and Enter.
  void StartQuestion(const TNewQuestion &q, bool pictures) {
    const int before = Count("1");
    if (pictures)
      Menu(1, {VK_RETURN}, "edit-menu"); // 编辑 > 新增题目
    else
      Key('N', MOD_CONTROL);
    Require(WaitFor([&] { return Status().find("新题") != std::string::npos; }, 3000),
            "Ctrl+N started no question");
    Key(VK_HOME);
    Pick(q.Subject, pictures ? "picklist-subject" : "");
    Key(VK_TAB);
    Pick(q.Type, pictures ? "picklist-type" : "");
    Key(VK_TAB); // the number is the next free one
    Key(VK_TAB);
    TypeIntoCell(q.Stem);
    for (size_t i = 0; i < 6; ++i) {
      Key(VK_TAB);
      if (i < q.Options.size()) TypeIntoCell(q.Options[i]);
    }
    Key(VK_TAB);
    TypeIntoCell(q.Key);
    Check(Count("1") == before, "the question was written before it was complete");
  }

  void NewQuestion(const TNewQuestion &q) {
    StartQuestion(q, &q == &kTyped[0]);
    if (q.Points != 1) {
      Key(VK_TAB);
      Calculate({"2", "+", "1", "=", "Ok"});
      Require(WaitFor([&] { return Editor() && WindowText(Editor()) == std::to_string(q.Points); }, 3000),
              "the calculator put no " + std::to_string(q.Points) + " into the points");
    }
    Key(VK_RETURN);
    Check(WaitFor([&] { return Count("eQName = " + Quoted(q.Stem)) == 1; }, 3000),
          "Enter did not write the question " + q.Stem);
    Step("new " + q.Type + " question written");
  }

  // A single-choice question with the key E: Enter is refused with the rule's message and writes
  // nothing; Escape resets the cell, a second one drops the question.
  void RefusedQuestion() {
    const int before = Count("1");
    TNewQuestion bad{"钎焊", "单项选择", kRefusedStem, {"甲", "乙", "丙", "丁"}, "E", 1};
    StartQuestion(bad, false);
    Key(VK_RETURN);
    std::string told = AnswerBox(IDOK);
    Check(told.find("单项选择题的答案应为 A、B、C、D 之一") != std::string::npos,
          "the wrong key was refused with \"" + told + "\"");
    Check(Count("1") == before, "the refused question was written");
    Key(VK_ESCAPE);
    Key(VK_ESCAPE);
    Check(WaitFor([&] { return Status().find("新题") == std::string::npos; }, 3000),
          "Escape did not drop the question");
    Check(Count("1") == before, "the dropped question was written");
    Step("a wrong key refused, nothing written");
  }

  // 文件 > 导入 > 文本文件: the system's open dialog takes the file's name.
  void Import() {
    Menu(0, {VK_DOWN, VK_RIGHT, VK_RETURN}); // 文件 > 导入 > 文本文件
    HWND dialog = nullptr;
    Require(WaitFor([&] { return (dialog = Popup("#32770")) != nullptr; }, 5000),
            "the import opened no file dialog");
    Require(WaitFor([&] { return Focus() && WindowClass(Focus()) == "Edit"; }, 3000),
            "the file name has no focus");
    TypeText(work_ + "\\" + kImportFile);
    Key(VK_RETURN);
    Require(WaitFor([&] { return Status().find("导入 2 道题") != std::string::npos; }, 5000),
            "the import did not say it added 2 questions: " + Status());
    Step("imported: " + Status());
  }

  // The bank in the file after the editor ended -------------------------------------------------

  void CheckBank(int before) {
    Check(Count("1") == before - 1 + 3 + 2, "the bank holds " + std::to_string(Count("1")) +
                                                " questions, expected " + std::to_string(before + 4));
    Check(Count("eQName = " + Quoted(deletedStem_)) == 0, "the deleted question is still in the bank");
    Check(Count("eQName = " + Quoted(kRefusedStem)) == 0, "the refused question is in the bank");
    auto all = std::vector<TNewQuestion>(std::begin(kTyped), std::end(kTyped));
    all.insert(all.end(), std::begin(kImported), std::end(kImported));
    for (const TNewQuestion &q : all) {
      std::string where = "eQName = " + Quoted(q.Stem) + " and eQZY = " + Quoted(q.Subject) +
                          " and eQtype = " + Quoted(q.Type) + " and eQright = " + Quoted(q.Key) +
                          " and eQfen = " + std::to_string(q.Points);
      for (size_t i = 0; i < q.Options.size(); ++i)
        where += std::string(" and Q") + "ABCDEF"[i] + " = " + Quoted(q.Options[i]);
      Check(Count(where) == 1, "the bank does not hold " + q.Stem + " as written");
    }
    Step("the bank holds what was written");
  }

  // The exam on that bank --------------------------------------------------------------------------

  void Exam() {
    PROCESS_INFORMATION drive = Start(examDrive_, {work_, plan_, "--exe", exam_}, true);
    WaitForSingleObject(drive.hProcess, INFINITE);
    DWORD code = 1;
    GetExitCodeProcess(drive.hProcess, &code);
    CloseHandle(drive.hThread);
    CloseHandle(drive.hProcess);
    Check(code == 0, "the exam's driver failed (" + std::to_string(code) + ")");
    TQuery q(&db_);
    q.SetSQL("select sNo, eQName, result1 from testpaper where sno>0 order by sNo");
    q.Open();
    size_t n = 0;
    for (; !q.Eof(); q.Next(), ++n) {
      if (n >= std::size(kPaper)) break;
      Check(q.FieldByName("eQName")->AsString() == kPaper[n].Stem,
            "testpaper row " + std::to_string(n + 1) + " is " + q.FieldByName("eQName")->AsString());
      Check(q.FieldByName("result1")->AsString() == kPaper[n].Result,
            "testpaper row " + std::to_string(n + 1) + " holds " + q.FieldByName("result1")->AsString() +
                ", expected " + kPaper[n].Result);
    }
    Check(n == std::size(kPaper) && q.Eof(), "the paper does not hold exactly the new questions of 钎焊");
    Step("the exam's paper holds the new questions, answered and marked");
  }
};

} // namespace
} // namespace qv::e2e

int wmain(int, wchar_t **) {
  using namespace qv;
  const char *usage =
      "用法：bankedit_drive WORKDIR PLANFILE --bankedit EXE --exam EXE --exam-drive EXE [--shots DIR]\n"
      "  在 WORKDIR 启动题库编辑器，新增、删除、导入题目后关闭，再按 PLANFILE 考一场并检查试卷表\n"
      "选项：-h, --help 显示本说明；--version 显示版本\n"
      "退出码：0 一切如计划，1 有检查未通过，2 用法不对\n";
  TCommandLine line("bankedit_drive", usage,
                    {{"--bankedit", "EXE"}, {"--exam", "EXE"}, {"--exam-drive", "EXE"}, {"--shots", "DIR"}});
  return line.Run(ProgramArguments(0, nullptr), [](TArguments &args) {
    std::string work = args.Take("WORKDIR"), plan = args.Take("PLANFILE");
    args.Finish();
    auto need = [&](const char *option) {
      std::optional<std::string> v = args.Value(option);
      if (!v) throw EUsageError(std::string(option) + " 必须给出");
      return *v;
    };
    const std::string bankedit = need("--bankedit"), exam = need("--exam"), examDrive = need("--exam-drive");
    try {
      return e2e::TBankDriver(work, plan, bankedit, exam, examDrive, args.Value("--shots").value_or(""))
          .Run();
    } catch (const std::exception &e) {
      std::printf("bankedit e2e: FAILED: %s\n", e.what());
      return 1;
    }
  });
}
