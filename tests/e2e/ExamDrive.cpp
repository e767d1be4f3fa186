// exam-drive WORKDIR PLANFILE [--exe PATH] [--shots DIR]
//
// Starts the exam program in WORKDIR (which holds server.udl and the database) and goes through
// one exam by the program's windows, as a candidate would: login, start, one answer per plan
// line by the answer buttons and option boxes, navigation by the bar and the question list, the
// refused close, hand-in declined then accepted, the score window, review and the end of the
// program. It checks what the windows show and what the test paper holds at each step, prints
// the score as answered=, total=, single_right= ... lines and exits 0 only when everything held.
//
// Plan file: UTF-8, one line per question in paper order: a letter (single choice), letters
// (multiple choice, any order), 对 or 错 (true/false), or an empty line to leave the question
// unanswered. Lines starting with '#' are remarks; "# subjects: 电焊,气焊" leaves only the basic
// subject and the named ones ticked on the login window (default: all ticked).
#include "Win.h"

#include "platform/base/Text.h"
#include "platform/data/Connection.h"
#include "platform/data/Field.h"
#include "platform/data/Query.h"

#include <algorithm>
#include <cstdlib>
#include <cstdio>
#include <fstream>
#include <map>
#include <set>
#include <sstream>

namespace qv::e2e {
namespace {

const std::string kSingle = "单项选择", kMultiple = "多项选择", kTrueFalse = "判断题";
const char *const kOptionalSubjects[] = {"电焊", "气焊", "气割", "二氧化碳焊", "氩弧焊", "钎焊"};

struct TQuestion {
  int SNo = 0;
  std::string Type, Key, Stem;
  double Points = 0;
};

struct TPlan {
  std::vector<std::string> Answers;
  bool SubjectsGiven = false;
  std::set<std::string> Subjects;
};

TPlan ReadPlan(const std::string &path) {
  std::ifstream in(Widen(path).c_str(), std::ios::binary);
  if (!in) throw std::runtime_error("cannot read the plan " + path);
  TPlan plan;
  std::string line;
  while (std::getline(in, line)) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    if (line.rfind("\xEF\xBB\xBF", 0) == 0) line.erase(0, 3);
    if (line.rfind("#", 0) == 0) {
      const std::string directive = "# subjects:";
      if (line.rfind(directive, 0) == 0) {
        plan.SubjectsGiven = true;
        std::stringstream list(line.substr(directive.size()));
        std::string subject;
        while (std::getline(list, subject, ',')) plan.Subjects.insert(Trim(subject));
      }
      continue;
    }
    plan.Answers.push_back(Trim(line));
  }
  return plan;
}

// The answer as the program stores it: multiple-choice letters in the order A to F.
std::string Stored(const TQuestion &q, const std::string &answer) {
  if (q.Type != kMultiple) return answer;
  std::string letters = answer;
  std::sort(letters.begin(), letters.end());
  letters.erase(std::unique(letters.begin(), letters.end()), letters.end());
  return letters;
}

class TDriver {
public:
  TDriver(std::string workDir, std::string planPath, std::string exe, std::string shots)
      : workDir_(std::move(workDir)), planPath_(std::move(planPath)), exe_(std::move(exe)), shots_(std::move(shots)) {}

  int Run() {
    plan_ = ReadPlan(planPath_);
    if (!SetCurrentDirectoryW(Widen(workDir_).c_str())) throw std::runtime_error("no working directory " + workDir_);
    db_.Open(); // server.udl of the working directory, as the program reads it
    Start();
    try {
      Drive();
    } catch (const std::exception &e) {
      Fail(std::string("stopped: ") + e.what());
      Shot("failure");
      GUITHREADINFO gui{};
      gui.cbSize = sizeof gui;
      if (GetGUIThreadInfo(process_.dwThreadId, &gui))
        std::printf("focus %s \"%s\", capture %s, active %s\n", WindowClass(gui.hwndFocus).c_str(),
                    WindowText(gui.hwndFocus).c_str(), WindowClass(gui.hwndCapture).c_str(),
                    WindowClass(gui.hwndActive).c_str());
      if (HWND exam = Top("Tfmexam")) {
        std::printf("exam window:\n");
        DumpWindow(exam);
      }
      for (HWND box : FindTopWindows(Pid(), "#32770"))
        for (HWND text : FindChildren(box, "Static"))
          if (!WindowText(text).empty()) std::printf("message box: %s\n", WindowText(text).c_str());
      TerminateProcess(process_.hProcess, 3);
    }
    WaitForSingleObject(process_.hProcess, 5000);
    CloseHandle(process_.hThread);
    CloseHandle(process_.hProcess);
    std::printf("e2e: %s, %d check(s) failed\n", failures_ ? "FAILED" : "OK", failures_);
    return failures_ ? 1 : 0;
  }

private:
  std::string workDir_, planPath_, exe_, shots_;
  TPlan plan_;
  TConnection db_;
  PROCESS_INFORMATION process_{};
  std::vector<TQuestion> paper_;
  int failures_ = 0, shotNo_ = 0;
  HWND exam_ = nullptr, panel3_ = nullptr, memo1_ = nullptr, grid_ = nullptr, dbEdit_ = nullptr;
  std::map<char, HWND> boxes_, areas_;
  std::set<std::string> shotTypes_;
  bool lockChecked_ = false;

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
    std::printf("e2e: %s\n", what.c_str());
    std::fflush(stdout);
  }
  void Shot(const std::string &name) {
    if (shots_.empty()) return;
    Pause(400); // the screen catches up with what the program has just drawn
    char prefix[8];
    std::snprintf(prefix, sizeof prefix, "%02d-", ++shotNo_);
    SaveScreen(shots_ + "\\" + prefix + name + ".bmp");
  }
  DWORD Pid() const { return process_.dwProcessId; }
  HWND Top(const std::string &cls) const { return FindTopWindow(Pid(), cls); }
  HWND Button(HWND parent, const std::string &cls, const std::string &text) {
    HWND b = FindChild(parent, cls, text);
    Require(b != nullptr, "no " + cls + " \"" + text + "\"");
    return b;
  }
  void Press(HWND button, const std::string &what) {
    Require(WaitFor([&] { return Usable(button); }, 3000), what + " is not usable");
    ClickCenter(button);
  }
  std::string Memo1() const { return WindowText(memo1_); }
  // Ticks or unticks a check box with the mouse. Under Wine a click on a check box is now and
  // then lost; the box then gets the button's own click message, which toggles it the same way.
  void SetBox(HWND box, bool ticked, const std::string &what) {
    auto done = [&] { return (SendMessageW(box, BM_GETCHECK, 0, 0) == BST_CHECKED) == ticked; };
    for (int attempt = 0; attempt < 3 && !done(); ++attempt) {
      if (attempt == 0) Press(box, what);
      else SendMessageTimeoutW(box, BM_CLICK, 0, 0, SMTO_ABORTIFHUNG, 2000, nullptr);
      WaitFor(done, 1000);
    }
    Check(done(), what + " did not " + (ticked ? "tick" : "untick"));
  }
  // Clicks the button until done() holds (at most three times): a click that changed nothing is
  // made again, as a person would. Only for buttons whose handler either runs whole or not at all.
  void PressUntil(HWND button, const std::string &what, const std::function<bool()> &done) {
    for (int attempt = 0; attempt < 3; ++attempt) {
      Press(button, what);
      if (WaitFor(done, 2000)) return;
    }
  }

  void Start() {
    std::wstring cmd = L"\"" + Widen(exe_) + L"\"";
    STARTUPINFOW si{};
    si.cb = sizeof si;
    if (!CreateProcessW(Widen(exe_).c_str(), cmd.data(), nullptr, nullptr, FALSE, 0, nullptr,
                        Widen(workDir_).c_str(), &si, &process_))
      throw std::runtime_error("cannot start " + exe_);
  }

  void Drive() {
    Login();
    Ready();
    StartExam();
    for (size_t i = 0; i < paper_.size(); ++i) Answer(i);
    Navigate();
    RefusedClose();
    HandIn();
    Review();
    CheckPaper();
    End();
  }

  void Login() {
    HWND login = nullptr;
    Require(WaitFor([&] { return (login = Top("Tfmlogin")) != nullptr; }, 20000), "the login window did not appear");
    Pause(500);
    Step("login window");
    Shot("login");
    Check(FindChild(login, "TEdit", "001") != nullptr, "the ID card field does not read 001");
    for (const char *subject : kOptionalSubjects) {
      HWND box = Button(login, "TCheckBox", subject);
      SetBox(box, !plan_.SubjectsGiven || plan_.Subjects.count(subject), std::string("subject box ") + subject);
    }
    PressUntil(Button(login, "TBitBtn", "确定"), "OK",
               [&] { return Top("TfmWaiting") != nullptr || Top("Tfmexam") != nullptr; });
  }

  // Questions the bank holds for the subjects the plan ticks.
  int BankSize() {
    std::string subjects = "'1基础  '";
    for (const char *subject : kOptionalSubjects)
      if (!plan_.SubjectsGiven || plan_.Subjects.count(subject)) subjects += std::string(",'") + subject + "'";
    return static_cast<int>(std::stoll(Figure("select count(*) as n from examQuestion where eQZY in (" + subjects + ")", "n")));
  }

  void Ready() {
    int expected = BankSize();
    auto generated = [&] {
      HWND exam = Top("Tfmexam");
      return exam && !Top("TfmWaiting") && FindChild(exam, "TBitBtn", "开始考试") &&
             std::stoll(Figure("select count(*) as n from testpaper where sno>0", "n")) == expected;
    };
    Require(WaitFor([&] { return Top("TfmWaiting") != nullptr || generated(); }, 20000),
            "neither the waiting window nor the exam window appeared");
    if (Top("TfmWaiting")) {
      Step("waiting window");
      Shot("waiting");
    }
    Require(WaitFor(generated, 60000), "the paper was not generated");
    exam_ = Top("Tfmexam");
    HWND start = Button(exam_, "TBitBtn", "开始考试");
    Require(WaitFor([&] { return Usable(start); }, 10000), "the start button is not usable");
    for (HWND memo : FindChildren(exam_, "TMemo"))
      if (WindowText(memo).find("考生注意事项") != std::string::npos) memo1_ = memo;
    Require(memo1_ != nullptr, "no instructions in the question stem area");
    for (char letter = 'A'; letter <= 'F'; ++letter) {
      boxes_[letter] = Button(exam_, "TCheckBox", std::string(1, letter));
      Check(!IsWindowVisible(boxes_[letter]), "option boxes are shown before the start");
    }
    panel3_ = GetParent(boxes_['A']);
    FindOptionAreas();
    auto grids = FindChildren(exam_, "TDBGridEh");
    grid_ = grids.empty() ? nullptr : grids.front();
    auto edits = FindChildren(exam_, "TDBEdit");
    dbEdit_ = edits.empty() ? nullptr : edits.front();
    Check(!Usable(boxes_['A']) && !IsWindowEnabled(panel3_), "the question area is usable before the start");
    ReadPaper();
    Pause(300);
    Step("exam window ready, " + std::to_string(paper_.size()) + " questions");
    Shot("ready");
  }

  // Each option area is the memo just right of its option box.
  void FindOptionAreas() {
    for (auto &[letter, box] : boxes_) {
      RECT b = ScreenRect(box);
      HWND best = nullptr;
      long bestGap = 1 << 30;
      for (HWND memo : FindChildren(panel3_, "TMemo")) {
        RECT m = ScreenRect(memo);
        long gap = m.left - b.right;
        if (gap >= 0 && gap < bestGap && m.top <= b.bottom && m.bottom >= b.top) best = memo, bestGap = gap;
      }
      Require(best != nullptr, std::string("no option area beside box ") + letter);
      areas_[letter] = best;
    }
  }

  void ReadPaper() {
    TQuery q(&db_);
    q.SetSQL("select sNo, eQtype, eQright, eQName, eQfen from testpaper where sno>0 order by sNo");
    q.Open();
    for (; !q.Eof(); q.Next()) {
      TQuestion t;
      t.SNo = static_cast<int>(q.FieldByName("sNo")->AsInteger());
      t.Type = q.FieldByName("eQtype")->AsString();
      t.Key = Trim(q.FieldByName("eQright")->AsString());
      t.Stem = q.FieldByName("eQName")->AsString();
      t.Points = q.FieldByName("eQfen")->AsFloat();
      Check(t.SNo == static_cast<int>(paper_.size()) + 1, "the paper is not numbered 1 to N");
      paper_.push_back(t);
    }
    Require(plan_.Answers.size() <= paper_.size(), "the plan has " + std::to_string(plan_.Answers.size()) +
                                                       " lines but the paper " + std::to_string(paper_.size()) +
                                                       " questions");
    plan_.Answers.resize(paper_.size());
  }

  // result1 of a paper row; null reads as "(null)".
  std::string StoredAnswer(int sNo) {
    TQuery q(&db_);
    q.SetSQL("select result1 from testpaper where sNo=" + std::to_string(sNo));
    q.Open();
    if (q.IsEmpty()) return "(no row)";
    TField *f = q.FieldByName("result1");
    return f->IsNull() ? "(null)" : f->AsString();
  }

  void StartExam() {
    PressUntil(Button(exam_, "TBitBtn", "开始考试"), "the start button",
               [&] { return paper_.empty() ? !Usable(Button(exam_, "TBitBtn", "开始考试")) : Memo1() == paper_[0].Stem; });
    if (paper_.empty()) return;
    Require(WaitFor([&] { return Memo1() == paper_[0].Stem; }, 5000), "the first question did not appear");
    Require(WaitFor([&] { return IsWindowEnabled(panel3_); }, 3000), "the question area stayed disabled");
    Step("exam started");
  }

  bool Shows(size_t i) { return i < paper_.size() && Memo1() == paper_[i].Stem; }

  void CheckControls(const TQuestion &q, size_t i) {
    bool single = q.Type == kSingle, multiple = q.Type == kMultiple, trueFalse = q.Type == kTrueFalse;
    std::string where = "question " + std::to_string(i + 1) + " (" + q.Type + "): ";
    for (char l = 'A'; l <= 'F'; ++l) {
      Check(IsWindowVisible(boxes_[l]) == multiple, where + "option box " + l + " shown wrongly");
      bool areaShown = (l <= 'D') ? (single || multiple) : multiple;
      Check(IsWindowVisible(areas_[l]) == areaShown, where + "option area " + l + " shown wrongly");
    }
    (void)trueFalse;
  }

  // Moves on from question i without answering it: the next button, or for a multiple-choice
  // question (which the next button keeps) the question list.
  void Skip(size_t i) {
    if (i + 1 >= paper_.size()) return;
    if (paper_[i].Type == kMultiple) {
      Require(grid_ != nullptr, "an unanswered multiple-choice question can only be left by the question list");
      // A row click that did not take is made again (a click on the current row does not move).
      for (int attempt = 0; attempt < 3 && !Shows(i + 1); ++attempt) {
        ClickGridRow(i + 1);
        WaitFor([&] { return Shows(i + 1); }, 2000);
      }
    } else {
      PressUntil(Button(exam_, "TBitBtn", "下一道题"), "next", [&] { return Shows(i + 1); });
    }
    Require(WaitFor([&] { return Shows(i + 1); }, 5000), "question " + std::to_string(i + 2) + " did not appear");
  }

  void Answer(size_t i) {
    const TQuestion &q = paper_[i];
    const std::string &answer = plan_.Answers[i];
    Require(Shows(i), "question " + std::to_string(i + 1) + " is not on screen");
    CheckControls(q, i);
    if (!shotTypes_.count(q.Type) && q.Type != kMultiple) {
      shotTypes_.insert(q.Type);
      Shot(q.Type == kSingle ? "single-choice" : "true-false");
    }
    if (answer.empty()) {
      Skip(i);
      return;
    }
    std::string expected = Stored(q, answer);
    if (q.Type == kMultiple) {
      for (char l : expected) {
        Require(l >= 'A' && l <= 'F', "plan line " + std::to_string(i + 1) + ": not option letters: " + answer);
        SetBox(boxes_[l], true, std::string("option box ") + l);
      }
      Check(WaitFor([&] {
              for (char l : expected)
                if (SendMessageW(boxes_[l], BM_GETCHECK, 0, 0) != BST_CHECKED) return false;
              return true;
            }, 2000),
            "option boxes did not tick");
      if (!shotTypes_.count(q.Type)) {
        shotTypes_.insert(q.Type);
        Shot("multiple-choice");
      }
      // The next button collects the ticks (the boxes come back unticked) and stores them.
      PressUntil(Button(exam_, "TBitBtn", "下一道题"), "next",
                 [&] { return SendMessageW(boxes_[expected[0]], BM_GETCHECK, 0, 0) != BST_CHECKED; });
    } else {
      char slot = 0;
      if (q.Type == kTrueFalse) slot = answer == "对" ? 'A' : answer == "错" ? 'B' : 0;
      else if (answer.size() == 1 && answer[0] >= 'A' && answer[0] <= 'D') slot = answer[0];
      Require(slot != 0, "plan line " + std::to_string(i + 1) + ": no such answer: " + answer);
      Require(WaitFor([&] { return IsWindowEnabled(panel3_); }, 3000), "the question area stayed locked");
      RECT r = ScreenRect(boxes_[slot]);
      // The question area is locked for 500 ms after every answer click; the next click waits for
      // the lock to begin and end. A click that did not lock it did not take and is made again.
      bool locked = false;
      for (int attempt = 0; attempt < 3 && !locked; ++attempt) {
        ClickAt({(r.left + r.right) / 2, (r.top + r.bottom) / 2});
        locked = WaitFor([&] { return !IsWindowEnabled(panel3_) || StoredAnswer(q.SNo) == expected; }, 1000);
      }
      if (!lockChecked_) {
        lockChecked_ = true;
        Check(locked, "the question area was not locked after the answer click");
      }
      Require(WaitFor([&] { return IsWindowEnabled(panel3_); }, 3000), "the question area stayed locked");
    }
    Check(WaitFor([&] { return StoredAnswer(q.SNo) == expected; }, 5000),
          "question " + std::to_string(i + 1) + ": stored " + StoredAnswer(q.SNo) + ", expected " + expected);
    if (i + 1 < paper_.size())
      Require(WaitFor([&] { return Shows(i + 1); }, 5000), "question " + std::to_string(i + 2) + " did not follow");
  }

  struct TGridGeometry {
    int ArrowY = -1;   // middle of the current row (the indicator arrow)
    int FirstRow = -1; // top of the first visible data row (below the title)
    int RowHeight = 0;
    RECT Client{};
  };

  // The question list as drawn: the current row has the indicator arrow; the row height is the
  // spacing of the grid lines; the first line is the bottom of the title row.
  TGridGeometry GridGeometry() {
    TGridGeometry g;
    GetClientRect(grid_, &g.Client);
    auto dark = [&](int x, int y) {
      COLORREF c = ScreenPixel(grid_, {x, y});
      return GetRValue(c) + GetGValue(c) + GetBValue(c) < 200;
    };
    for (int y = 0, runTop = -1; y < g.Client.bottom && g.ArrowY < 0; ++y) {
      bool inArrow = (dark(4, y) || dark(5, y) || dark(6, y)) && !dark(20, y);
      if (inArrow && runTop < 0) runTop = y;
      if (!inArrow && runTop >= 0) {
        if (y - runTop >= 4) g.ArrowY = (runTop + y - 1) / 2; // a line is one pixel high
        runTop = -1;
      }
    }
    std::vector<int> lines;
    int x0 = 16, x1 = 26;
    for (int y = 0; y < g.Client.bottom; ++y) {
      COLORREF c = ScreenPixel(grid_, {x0, y});
      if (c == RGB(255, 255, 255)) continue;
      bool line = true;
      for (int x = x0 + 1; x <= x1 && line; ++x) line = ScreenPixel(grid_, {x, y}) == c;
      if (line && (lines.empty() || y > lines.back() + 2)) lines.push_back(y);
    }
    std::map<int, int> spacing;
    for (size_t k = 1; k < lines.size(); ++k) ++spacing[lines[k] - lines[k - 1]];
    Require(!spacing.empty(), "the question list shows no grid lines");
    g.RowHeight = std::max_element(spacing.begin(), spacing.end(),
                                   [](auto &a, auto &b) { return a.second < b.second; })->first;
    g.FirstRow = lines.front() + 1;
    return g;
  }

  void ClickGridAt(const TGridGeometry &g, int y, size_t i) {
    Require(y > g.FirstRow && y < g.Client.bottom, "row " + std::to_string(i + 1) + " is not on screen in the question list");
    POINT p{g.Client.right / 2, y};
    ClientToScreen(grid_, &p);
    ClickAt(p);
  }

  // Clicks the question list on the row of paper index i, counted from the current row.
  void ClickGridRow(size_t i) {
    size_t current = 0;
    while (current < paper_.size() && !Shows(current)) ++current;
    Require(current < paper_.size(), "cannot tell which question is current");
    TGridGeometry g = GridGeometry();
    Require(g.ArrowY >= 0, "the question list shows no current row");
    int y = g.ArrowY + (static_cast<int>(i) - static_cast<int>(current)) * g.RowHeight;
    if (i == current + 1 && y + g.RowHeight / 2 >= g.Client.bottom) {
      // The next row is below the list: the scroll bar's down arrow brings it in (and makes it
      // current); a click on it then shows it.
      POINT arrow{g.Client.right + GetSystemMetrics(SM_CXVSCROLL) / 2,
                  g.Client.bottom - GetSystemMetrics(SM_CYVSCROLL) / 2};
      ClientToScreen(grid_, &arrow);
      ClickAt(arrow);
      Pause(300);
      g = GridGeometry();
      Require(g.ArrowY >= 0, "the question list shows no current row");
      y = g.ArrowY;
    }
    ClickGridAt(g, y, i);
  }

  // Clicks the row of paper index i when the list shows the paper from its first row.
  void ClickGridRowFromTop(size_t i) {
    TGridGeometry g = GridGeometry();
    ClickGridAt(g, g.FirstRow + static_cast<int>(i) * g.RowHeight + g.RowHeight / 2, i);
  }

  void Navigate() {
    if (paper_.empty()) return;
    PressUntil(Button(exam_, "TBitBtn", "第一道题"), "first", [&] { return Shows(0); });
    Check(WaitFor([&] { return Shows(0); }, 3000), "the first button did not show question 1");
    PressUntil(Button(exam_, "TBitBtn", "最后一道题"), "last", [&] { return Shows(paper_.size() - 1); });
    Check(WaitFor([&] { return Shows(paper_.size() - 1); }, 3000), "the last button did not show the last question");
    if (grid_ && paper_.size() >= 2) {
      ClickGridRow(paper_.size() - 2);
      Check(WaitFor([&] { return Shows(paper_.size() - 2); }, 3000), "the question list did not show the row clicked");
    }
    Step("navigation by the bar and the question list");
  }

  void RefusedClose() {
    PostMessageW(exam_, WM_CLOSE, 0, 0);
    HWND box = nullptr;
    Require(WaitFor([&] { return (box = Top("#32770")) != nullptr; }, 5000), "closing before hand-in showed no message");
    bool said = false;
    for (HWND s : FindChildren(box, "Static"))
      if (WindowText(s) == "请点击右下角 [交卷] 按钮再关闭系统!!") said = true;
    Check(said, "the close message is not the expected text");
    HWND ok = nullptr;
    for (HWND b : FindChildren(box, "Button")) ok = ok ? ok : b;
    Require(ok != nullptr, "the message box has no button");
    PressUntil(ok, "OK", [&] { return Top("#32770") == nullptr; });
    Require(Top("#32770") == nullptr, "the message box stayed");
    Pause(300);
    Check(IsWindowVisible(exam_) && Top("Tfmexam") == exam_, "the exam window closed before hand-in");
    Step("close refused before hand-in");
  }

  int PaperRows() {
    TQuery q(&db_);
    q.SetSQL("select count(*) as n from testpaper");
    q.Open();
    return static_cast<int>(q.FieldByName("n")->AsInteger());
  }

  HWND Confirmation() {
    PressUntil(Button(exam_, "TBitBtn", "交卷"), "hand-in", [&] { return Top("TMessageForm") != nullptr; });
    HWND dialog = nullptr;
    Require(WaitFor([&] { return (dialog = Top("TMessageForm")) != nullptr; }, 5000), "no confirmation appeared");
    Check(WindowText(dialog) == "Confirm", "the confirmation's title is not Confirm");
    Pause(300);
    return dialog;
  }

  void HandIn() {
    int rows = PaperRows();
    HWND dialog = Confirmation();
    Shot("confirmation");
    PressUntil(Button(dialog, "TButton", "&No"), "No", [&] { return Top("TMessageForm") == nullptr; });
    Require(WaitFor([&] { return Top("TMessageForm") == nullptr; }, 3000), "the confirmation stayed after No");
    Pause(300);
    Check(PaperRows() == rows, "declining the hand-in changed the paper");
    Check(Top("TfmScore") == nullptr, "declining the hand-in showed the score");
    Step("hand-in declined");

    dialog = Confirmation();
    PressUntil(Button(dialog, "TButton", "&Yes"), "Yes", [&] { return Top("TMessageForm") == nullptr; });
    HWND score = nullptr;
    Require(WaitFor([&] { return (score = Top("TfmScore")) != nullptr; }, 10000), "the score window did not appear");
    Pause(500);
    Step("score window");
    Shot("score");
    ReportScore();
    PressUntil(Button(score, "TButton", "关闭"), "close", [&] { return Top("TfmScore") == nullptr; });
    Require(WaitFor([&] { return Top("TfmScore") == nullptr; }, 3000), "the score window did not close");
  }

  std::string Figure(const std::string &sql, const std::string &column) {
    TQuery q(&db_);
    q.SetSQL(sql);
    q.Open();
    return q.FieldByName(column)->AsString();
  }

  // The score as the score window computes it (its statements), against the plan's expectation.
  void ReportScore() {
    struct Line {
      const char *Name;
      std::string Sql, Column;
    };
    const Line lines[] = {
        {"answered", "select count(sNo) as countsNo from testpaper where result1<>NUll", "countsNo"},
        {"total", "select sum(eQfen) as sumeQfen from testpaper where right([result1],1)='√' and result1<>NUll",
         "sumeQfen"},
        {"single_right", "select count(sNo) as ss from testpaper where  right([result1],1)='√' and eQtype='单项选择'  and result1<>NUll", "ss"},
        {"single_wrong", "select count(sNo) as ss from testpaper where right([result1],1)='×' and eQtype='单项选择'  and result1<>NUll", "ss"},
        {"multi_right", "select count(sNo) as ss from testpaper where  right([result1],1)='√' and eQtype='多项选择'  and result1<>NUll", "ss"},
        {"multi_wrong", "select count(sNo) as ss from testpaper where right([result1],1)='×' and eQtype='多项选择'  and result1<>NUll", "ss"},
        {"tf_right", "select count(sNo) as ss from testpaper where  right([result1],1)='√' and eQtype='判断题'  and result1<>NUll", "ss"},
        {"tf_wrong", "select count(sNo) as ss from testpaper where  right([result1],1)='×' and eQtype='判断题'  and result1<>NUll", "ss"},
    };
    std::map<std::string, double> expected;
    for (size_t i = 0; i < paper_.size(); ++i) {
      const std::string &answer = plan_.Answers[i];
      if (answer.empty()) continue;
      const TQuestion &q = paper_[i];
      bool right = Stored(q, answer) == q.Key;
      std::string kind = q.Type == kSingle ? "single" : q.Type == kMultiple ? "multi" : "tf";
      expected["answered"] += 1;
      expected[kind + (right ? "_right" : "_wrong")] += 1;
      if (right) expected["total"] += q.Points;
    }
    for (const Line &l : lines) {
      std::string value = Figure(l.Sql, l.Column);
      if (value.empty()) value = "0";
      std::printf("%s=%s\n", l.Name, value.c_str());
      char want[32];
      std::snprintf(want, sizeof want, "%g", expected[l.Name]);
      Check(value == want, std::string(l.Name) + " is " + value + ", expected " + want);
    }
    std::fflush(stdout);
  }

  void Review() {
    Pause(800); // the paper reopens 500 ms after the hand-in
    Check(!Usable(Button(exam_, "TBitBtn", "下一道题")), "the navigation bar is usable in review mode");
    if (grid_ && dbEdit_ && !paper_.empty()) {
      auto answered = std::find_if(plan_.Answers.begin(), plan_.Answers.end(), [](auto &a) { return !a.empty(); });
      if (answered != plan_.Answers.end()) {
        size_t i = static_cast<size_t>(answered - plan_.Answers.begin());
        for (int attempt = 0; attempt < 3 && !(Shows(i) && IsWindowVisible(dbEdit_)); ++attempt) {
          ClickGridRowFromTop(i);
          WaitFor([&] { return Shows(i) && IsWindowVisible(dbEdit_); }, 2000);
        }
        Check(Shows(i) && IsWindowVisible(dbEdit_),
              "review: an answered question shows no correct answer");
        Check(Trim(WindowText(dbEdit_)) == paper_[i].Key, "review: the correct answer shown is not the key");
      }
    }
    Step("review mode");
    Shot("review");
  }

  void CheckPaper() {
    for (size_t i = 0; i < paper_.size(); ++i) {
      const std::string &answer = plan_.Answers[i];
      std::string stored = StoredAnswer(paper_[i].SNo);
      std::string expected = "(null)";
      if (!answer.empty()) {
        std::string a = Stored(paper_[i], answer);
        expected = a + (a == paper_[i].Key ? " √" : " ×");
      }
      Check(stored == expected, "testpaper row " + std::to_string(i + 1) + " holds " + stored + ", expected " + expected);
    }
    Step("test paper marked as planned");
  }

  void End() {
    PostMessageW(exam_, WM_CLOSE, 0, 0);
    Require(WaitForSingleObject(process_.hProcess, 15000) == WAIT_OBJECT_0, "the program did not end after closing");
    DWORD code = 1;
    GetExitCodeProcess(process_.hProcess, &code);
    Check(code == 0, "the program ended with code " + std::to_string(code));
    Step("program ended");
  }
};

} // namespace
} // namespace qv::e2e

int wmain(int argc, wchar_t **argv) {
  using namespace qv;
  std::vector<std::string> args;
  for (int i = 1; i < argc; ++i) args.push_back(Narrow(argv[i]));
  std::string exe, shots;
  std::vector<std::string> positional;
  for (size_t i = 0; i < args.size(); ++i) {
    if (args[i] == "--exe" && i + 1 < args.size()) exe = args[++i];
    else if (args[i] == "--shots" && i + 1 < args.size()) shots = args[++i];
    else positional.push_back(args[i]);
  }
  if (positional.size() != 2) {
    std::fprintf(stderr, "usage: exam-drive WORKDIR PLANFILE [--exe PATH] [--shots DIR]\n");
    return 2;
  }
  auto full = [](const std::string &path) {
    wchar_t buffer[MAX_PATH * 4];
    DWORD n = GetFullPathNameW(Widen(path).c_str(), MAX_PATH * 4, buffer, nullptr);
    return n ? Narrow(std::wstring_view(buffer, n)) : path;
  };
  if (exe.empty()) exe = positional[0] + "\\exam.exe";
  exe = full(exe);
  if (!shots.empty()) shots = full(shots);
  positional[0] = full(positional[0]);
  try {
    return e2e::TDriver(positional[0], positional[1], exe, shots).Run();
  } catch (const std::exception &e) {
    std::printf("e2e: FAILED: %s\n", e.what());
    return 1;
  }
}
