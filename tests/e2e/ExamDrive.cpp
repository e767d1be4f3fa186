// exam-drive WORKDIR PLANFILE [--exe PATH] [--shots DIR] [--kill SEED]
//
// Starts the exam program in WORKDIR (which holds server.udl and the database) and goes through
// one exam by the program's windows, as a candidate would: login, start, the plan's answers (by
// the answer buttons and option boxes) and moves (by the navigation bar and the question list's
// mouse, wheel, keys and scroll bar), the refused close, hand-in declined then accepted, the score
// window, review and the end of the program. It checks after every step that the screen shows the
// question the list has made current, what the test paper holds, prints the score as answered=,
// total=, single_right= ... lines and exits 0 only when everything held.
//
// With --kill SEED it ends the program by its process id at a moment drawn from SEED while it goes
// through the plan, and then checks that every answer the screen showed as stored (the program
// moved on from the question) is in the test paper and that the database passes its integrity
// check.
//
// The plan file's syntax is in Plan.h and the README.
#include "Plan.h"
#include "Win.h"

#include "platform/base/CommandLine.h"
#include "platform/base/Text.h"
#include "platform/data/Connection.h"
#include "platform/data/Field.h"
#include "platform/data/Query.h"
#include "skin/SkinMessages.h"

#include <algorithm>
#include <atomic>
#include <condition_variable>
#include <cstdio>
#include <cstdlib>
#include <map>
#include <mutex>
#include <random>
#include <set>
#include <thread>

namespace qv::e2e {
namespace {

const std::string kSingle = "单项选择", kMultiple = "多项选择", kTrueFalse = "判断题";
const char *const kOptionalSubjects[] = {"电焊", "气焊", "气割", "二氧化碳焊", "氩弧焊", "钎焊"};
// The kill moment lies this long after the start of the exam at most.
const int kKillWindowMs = 15000;

struct TQuestion {
  int SNo = 0;
  std::string Type, Key, Stem;
  double Points = 0;
};

// The answer as the program stores it: multiple-choice letters in the order A to F.
std::string Stored(const TQuestion &q, const std::string &answer) {
  if (q.Type != kMultiple) return answer;
  std::string letters = answer;
  std::sort(letters.begin(), letters.end());
  letters.erase(std::unique(letters.begin(), letters.end()), letters.end());
  return letters;
}

// Thrown out of every wait once the program has been killed on purpose.
struct TKilled {};

class TDriver {
public:
  TDriver(std::string workDir, std::string planPath, std::string exe, std::string shots, int killSeed)
      : workDir_(std::move(workDir)), planPath_(std::move(planPath)), exe_(std::move(exe)),
        shots_(std::move(shots)), killSeed_(killSeed) {}

  int Run() {
    plan_ = ReadPlan(planPath_);
    if (!SetCurrentDirectoryW(Widen(workDir_).c_str()))
      throw std::runtime_error("no working directory " + workDir_);
    db_.Open(); // server.udl of the working directory, as the program reads it
    for (const std::string &sql : plan_.Sql)
      db_.Execute(sql);
    Start();
    try {
      Drive();
    } catch (const TKilled &) {
    } catch (const std::exception &e) {
      if (!killed_) Report(e);
    }
    if (killer_.joinable()) {
      {
        std::lock_guard lock(mutex_);
        finished_ = true;
      }
      wake_.notify_all();
      killer_.join();
      CheckAfterKill();
    } else if (!killed_) {
      TerminateProcess(process_.hProcess, 3); // nothing when it has ended
    }
    WaitForSingleObject(process_.hProcess, 5000);
    CloseHandle(process_.hThread);
    CloseHandle(process_.hProcess);
    std::printf("e2e: %s, %d check(s) failed\n", failures_ ? "FAILED" : "OK", failures_);
    return failures_ ? 1 : 0;
  }

private:
  std::string workDir_, planPath_, exe_, shots_;
  int killSeed_;
  TPlan plan_;
  TConnection db_;
  PROCESS_INFORMATION process_{};
  std::vector<TQuestion> paper_;
  int failures_ = 0, shotNo_ = 0;
  HWND exam_ = nullptr, panel3_ = nullptr, memo1_ = nullptr, grid_ = nullptr, dbEdit_ = nullptr;
  std::map<char, HWND> boxes_, areas_;
  std::set<std::string> shotTypes_;
  bool lockChecked_ = false;

  // What the plan implies: the list's current row, each question's stored answer (empty: none)
  // and the option boxes ticked on screen that no move has collected yet.
  size_t current_ = 0;
  std::vector<std::string> expected_;
  std::string pending_;

  // The kill: answers the screen showed as stored (question index to answer), the answer being
  // given at the moment, and what of both the killer saw when it struck.
  std::mutex mutex_;
  std::condition_variable wake_;
  bool finished_ = false;
  std::atomic<bool> killed_{false};
  std::thread killer_;
  std::map<size_t, std::string> shownStored_, shownAtKill_;
  std::pair<size_t, std::string> inFlight_{SIZE_MAX, {}}, inFlightAtKill_{SIZE_MAX, {}};
  int killAfterMs_ = 0;

  void Report(const std::exception &e) {
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
  }

  void Fail(const std::string &what) {
    ++failures_;
    std::printf("FAIL: %s\n", what.c_str());
    std::fflush(stdout);
  }
  void Check(bool ok, const std::string &what) {
    if (!ok) Fail(what);
  }
  void Require(bool ok, const std::string &what) {
    if (killed_) throw TKilled{};
    if (!ok) throw std::runtime_error(what);
  }
  // Waits for pred as WaitFor does; once the program has been killed on purpose, stops the drive.
  bool Await(const std::function<bool()> &pred, int timeoutMs) {
    bool held = WaitFor([&] { return killed_ || pred(); }, timeoutMs);
    if (killed_) throw TKilled{};
    return held;
  }
  // For an input that should change nothing visible: lets the program take it and go idle.
  void Settle() {
    Pause(150);
    WaitForInputIdle(process_.hProcess, 2000);
  }
  void Step(const std::string &what) {
    std::printf("e2e: %s\n", what.c_str());
    std::fflush(stdout);
  }
  void Shot(const std::string &name) {
    WaitForInputIdle(process_.hProcess, 2000);
    ReportSkinned(name);
    if (shots_.empty()) return;
    Pause(400); // the screen catches up with what the program has just drawn
    char prefix[8];
    std::snprintf(prefix, sizeof prefix, "%02d-", ++shotNo_);
    SaveScreen(shots_ + "\\" + prefix + name + ".bmp");
  }
  // How many controls of each window of the program are drawn by the skin, and how many of the
  // windows wear the skin's frame.
  void ReportSkinned(const std::string &moment) {
    int framed = 0, windows = 0;
    for (HWND top : ProcessTopWindows(Pid())) {
      TSkinCount n = CountSkinnedChildren(top);
      DWORD_PTR self = 0;
      SendMessageTimeoutW(top, WM_SKINQUERY, 0, 0, SMTO_ABORTIFHUNG, 2000, &self);
      std::printf("e2e: %s: %s \"%s\" window_skinned=%d skinned_controls=%d/%d%s%s\n", moment.c_str(),
                  WindowClass(top).c_str(), WindowText(top).c_str(), self == 1 ? 1 : 0, n.Skinned, n.All,
                  n.Unskinned.empty() ? "" : " unskinned=", n.Unskinned.c_str());
      ++windows;
      framed += self == 1 ? 1 : 0;
    }
    std::printf("e2e: %s: skinned_frames=%d/%d\n", moment.c_str(), framed, windows);
    std::fflush(stdout);
  }
  DWORD Pid() const { return process_.dwProcessId; }
  HWND Top(const std::string &cls) const { return FindTopWindow(Pid(), cls); }
  HWND Button(HWND parent, const std::string &cls, const std::string &text) {
    HWND b = FindChild(parent, cls, text);
    Require(b != nullptr, "no " + cls + " \"" + text + "\"");
    return b;
  }
  void Press(HWND button, const std::string &what) {
    Require(Await([&] { return Usable(button); }, 3000), what + " is not usable");
    ClickCenter(button);
  }
  std::string Memo1() const { return WindowText(memo1_); }
  bool Ticked(char letter) { return SendMessageW(boxes_[letter], BM_GETCHECK, 0, 0) == BST_CHECKED; }
  // Ticks or unticks a check box with the mouse. Under Wine a click on a check box is now and
  // then lost; the box then gets the button's own click message, which toggles it the same way.
  void SetBox(HWND box, bool ticked, const std::string &what) {
    auto done = [&] { return (SendMessageW(box, BM_GETCHECK, 0, 0) == BST_CHECKED) == ticked; };
    for (int attempt = 0; attempt < 3 && !done(); ++attempt) {
      if (attempt == 0)
        Press(box, what);
      else
        SendMessageTimeoutW(box, BM_CLICK, 0, 0, SMTO_ABORTIFHUNG, 2000, nullptr);
      Await(done, 1000);
    }
    Check(done(), what + " did not " + (ticked ? "tick" : "untick"));
  }
  // Clicks the button until done() holds (at most three times): a click that changed nothing is
  // made again, as a person would. Only for buttons whose handler either runs whole or not at all.
  void PressUntil(HWND button, const std::string &what, const std::function<bool()> &done) {
    for (int attempt = 0; attempt < 3; ++attempt) {
      Press(button, what);
      if (Await(done, 2000)) return;
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
    if (killSeed_ >= 0) ArmKiller();
    for (const TStep &step : plan_.Steps)
      Take(step);
    if (killSeed_ >= 0) return; // the killer strikes now at the latest; nothing is handed in
    if (plan_.AnswersOnly() && !paper_.empty()) {
      // A plan of answers alone also goes once through the navigation bar and the list.
      TStep move;
      move.Kind = TStep::TKind::Button;
      for (const char *button : {"first", "last"})
        move.Text = button, move.Source = std::string("> ") + button, Take(move);
      if (grid_ && paper_.size() >= 2) {
        move.Kind = TStep::TKind::Row, move.Count = static_cast<int>(paper_.size()) - 1;
        move.Source = "> row " + std::to_string(move.Count);
        Take(move);
      }
      Step("navigation by the bar and the question list");
    }
    RefusedClose();
    HandIn();
    Review();
    CheckPaper();
    End();
  }
  void Login() {
    HWND login = nullptr;
    Require(Await([&] { return (login = Top("Tfmlogin")) != nullptr; }, 20000),
            "the login window did not appear");
    Pause(500);
    Step("login window");
    Shot("login");
    Check(FindChild(login, "TEdit", "001") != nullptr, "the ID card field does not read 001");
    for (const char *subject : kOptionalSubjects) {
      HWND box = Button(login, "TCheckBox", subject);
      SetBox(box, !plan_.SubjectsGiven || plan_.Subjects.count(subject),
             std::string("subject box ") + subject);
    }
    PressUntil(Button(login, "TBitBtn", "确定"), "OK",
               [&] { return Top("TfmWaiting") != nullptr || Top("Tfmexam") != nullptr; });
  }

  // Questions the bank holds for the subjects the plan ticks.
  int BankSize() {
    std::string subjects = "'1基础  '";
    for (const char *subject : kOptionalSubjects)
      if (!plan_.SubjectsGiven || plan_.Subjects.count(subject))
        subjects += std::string(",'") + subject + "'";
    return static_cast<int>(
        std::stoll(Figure("select count(*) as n from examQuestion where eQZY in (" + subjects + ")", "n")));
  }

  void Ready() {
    int expected = BankSize();
    auto generated = [&] {
      HWND exam = Top("Tfmexam");
      return exam && !Top("TfmWaiting") && FindChild(exam, "TBitBtn", "开始考试") &&
             std::stoll(Figure("select count(*) as n from testpaper where sno>0", "n")) == expected;
    };
    Require(Await([&] { return Top("TfmWaiting") != nullptr || generated(); }, 20000),
            "neither the waiting window nor the exam window appeared");
    if (Top("TfmWaiting")) {
      Step("waiting window");
      Shot("waiting");
    }
    Require(Await(generated, 60000), "the paper was not generated");
    exam_ = Top("Tfmexam");
    HWND start = Button(exam_, "TBitBtn", "开始考试");
    Require(Await([&] { return Usable(start); }, 10000), "the start button is not usable");
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
    if (plan_.AnswersOnly())
      Require(plan_.Steps.size() <= paper_.size(), "the plan has " + std::to_string(plan_.Steps.size()) +
                                                       " lines but the paper " +
                                                       std::to_string(paper_.size()) + " questions");
    expected_.assign(paper_.size(), {});
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
    PressUntil(Button(exam_, "TBitBtn", "开始考试"), "the start button", [&] {
      return paper_.empty() ? !Usable(Button(exam_, "TBitBtn", "开始考试")) : Memo1() == paper_[0].Stem;
    });
    if (paper_.empty()) return;
    Require(Await([&] { return Memo1() == paper_[0].Stem; }, 5000), "the first question did not appear");
    Require(Await([&] { return IsWindowEnabled(panel3_); }, 3000), "the question area stayed disabled");
    current_ = 0;
    Step("exam started");
  }

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

  bool Shows(size_t i) { return i < paper_.size() && Memo1() == paper_[i].Stem; }
  size_t Last() const { return paper_.empty() ? 0 : paper_.size() - 1; }
  static std::string Number(size_t i) { return std::to_string(i + 1); }

  // The question whose stem the screen shows, for messages.
  std::string ShownQuestion() {
    std::string stem = Memo1();
    for (size_t i = 0; i < paper_.size(); ++i)
      if (paper_[i].Stem == stem) return "question " + Number(i);
    return "no question";
  }

  // After a step that moves the list: the screen must show the row the list has made current.
  void ExpectShown(const TStep &step) {
    if (Await([&] { return Shows(current_); }, 3000)) return;
    Fail("plan line " + std::to_string(step.Line) + " (" + step.Source + "): the screen shows " +
         ShownQuestion() + ", the question list's current row is question " + Number(current_));
  }

  // The list moves from the current row to target: the before-scroll hook stores the ticks on
  // screen on the question being left.
  void MoveTo(size_t target) {
    if (target != current_ && !pending_.empty()) {
      expected_[current_] = pending_;
      pending_.clear();
    }
    current_ = target;
  }

  void Take(const TStep &step) {
    Require(!paper_.empty(), "the paper is empty");
    switch (step.Kind) {
    case TStep::TKind::Answer:
      Answer(step);
      break;
    case TStep::TKind::Button:
      NavigationButton(step);
      break;
    case TStep::TKind::Row:
      Row(step);
      break;
    case TStep::TKind::Wheel:
      Wheel(step);
      break;
    case TStep::TKind::Key:
      Key(step);
      break;
    case TStep::TKind::Scroll:
      Scroll(step);
      break;
    case TStep::TKind::Tick:
      Tick(step);
      break;
    case TStep::TKind::Picture:
      Shot(step.Text);
      break;
    }
  }

  // Moves on from the current question without answering it: the next button, or for a
  // multiple-choice question (which the next button keeps) the question list.
  void Skip(const TStep &step) {
    size_t i = current_;
    if (i >= Last()) return;
    if (paper_[i].Type == kMultiple) {
      Require(grid_ != nullptr,
              "an unanswered multiple-choice question can only be left by the question list");
      ClickRowUntilShown(i + 1);
    } else {
      PressUntil(Button(exam_, "TBitBtn", "下一道题"), "next", [&] { return Shows(i + 1); });
      MoveTo(i + 1);
    }
    ExpectShown(step);
  }

  // The answer line: answers the question of the list's current row (which the screen shows)
  // and moves on as the program does.
  void Answer(const TStep &step) {
    size_t i = current_;
    const TQuestion &q = paper_[i];
    const std::string &answer = step.Text;
    if (plan_.AnswersOnly()) Require(Shows(i), "question " + Number(i) + " is not on screen");
    CheckControls(q, i);
    if (!shotTypes_.count(q.Type) && q.Type != kMultiple) {
      shotTypes_.insert(q.Type);
      Shot(q.Type == kSingle ? "single-choice" : "true-false");
    }
    if (answer.empty()) {
      Skip(step);
      return;
    }
    std::string expected = Stored(q, answer);
    std::string where = "plan line " + std::to_string(step.Line) + ": ";
    if (q.Type == kMultiple) {
      for (char l : expected)
        Require(l >= 'A' && l <= 'F', where + "not option letters: " + answer);
      for (char l = 'A'; l <= 'F'; ++l)
        if (Ticked(l) != (expected.find(l) != std::string::npos))
          SetBox(boxes_[l], !Ticked(l), std::string("option box ") + l);
      if (!shotTypes_.count(q.Type)) {
        shotTypes_.insert(q.Type);
        Shot("multiple-choice");
      }
      Given(i, expected);
      // The next button collects the ticks (the boxes come back unticked) and stores them.
      PressUntil(Button(exam_, "TBitBtn", "下一道题"), "next", [&] { return !Ticked(expected[0]); });
    } else {
      char slot = 0;
      if (q.Type == kTrueFalse)
        slot = answer == "对" ? 'A' : answer == "错" ? 'B' : 0;
      else if (answer.size() == 1 && answer[0] >= 'A' && answer[0] <= 'D')
        slot = answer[0];
      Require(slot != 0, where + "no such answer for " + q.Type + ": " + answer);
      Require(Await([&] { return IsWindowEnabled(panel3_); }, 3000), "the question area stayed locked");
      RECT r = ScreenRect(boxes_[slot]);
      Given(i, expected);
      // The question area is locked for 500 ms after every answer click; the next click waits for
      // the lock to begin and end. A click that did not lock it did not take and is made again.
      bool locked = false;
      for (int attempt = 0; attempt < 3 && !locked; ++attempt) {
        ClickAt({(r.left + r.right) / 2, (r.top + r.bottom) / 2});
        locked = Await([&] { return !IsWindowEnabled(panel3_) || StoredAnswer(q.SNo) == expected; }, 1000);
      }
      if (!lockChecked_) {
        lockChecked_ = true;
        Check(locked, "the question area was not locked after the answer click");
      }
      Require(Await([&] { return IsWindowEnabled(panel3_); }, 3000), "the question area stayed locked");
    }
    pending_.clear();
    expected_[i] = expected;
    if (i < Last()) {
      Require(Await([&] { return Shows(i + 1); }, 5000), "question " + Number(i + 1) + " did not follow");
      ShownStored(i, expected);
      current_ = i + 1;
    }
    Check(Await([&] { return StoredAnswer(q.SNo) == expected; }, 5000),
          where + "question " + Number(i) + ": stored " + StoredAnswer(q.SNo) + ", expected " + expected);
  }

  // The answer about to be given, and the one the screen then showed as stored (it moved on).
  void Given(size_t i, const std::string &answer) {
    std::lock_guard lock(mutex_);
    inFlight_ = {i, answer};
  }
  void ShownStored(size_t i, const std::string &answer) {
    std::lock_guard lock(mutex_);
    shownStored_[i] = answer;
    inFlight_ = {SIZE_MAX, {}};
  }

  void NavigationButton(const TStep &step) {
    static const std::map<std::string, std::string> captions = {
        {"first", "第一道题"}, {"prior", "上一道题"}, {"next", "下一道题"}, {"last", "最后一道题"}};
    size_t target = step.Text == "first"  ? 0
                    : step.Text == "last" ? Last()
                    : step.Text == "next" ? std::min(current_ + 1, Last())
                                          : (current_ == 0 ? 0 : current_ - 1);
    bool collects = step.Text == "next" || step.Text == "prior";
    bool ticks = collects && !pending_.empty();
    if (collects && paper_[current_].Type == kMultiple) {
      // Next and prior store the ticks on screen; with none and no stored answer they keep the question.
      if (ticks)
        expected_[current_] = pending_, pending_.clear();
      else if (expected_[current_].empty())
        target = current_;
    }
    HWND button = Button(exam_, "TBitBtn", captions.at(step.Text));
    if (target == current_ && !ticks) {
      Press(button, step.Text);
      Settle();
    } else {
      size_t left = current_;
      char first = ticks ? expected_[left][0] : 0;
      PressUntil(button, step.Text, [&] { return Shows(target) && (!first || !Ticked(first)); });
      MoveTo(target);
      if (ticks)
        Check(Await([&] { return StoredAnswer(paper_[left].SNo) == expected_[left]; }, 3000),
              "plan line " + std::to_string(step.Line) + " (" + step.Source + "): question " + Number(left) +
                  " stored " + StoredAnswer(paper_[left].SNo) + ", the ticks were " + expected_[left]);
    }
    ExpectShown(step);
  }

  struct TGridGeometry {
    int ArrowY = -1;   // middle of the current row (the indicator arrow)
    int FirstRow = -1; // top of the first visible data row (below the title)
    int RowHeight = 0;
    int Rows = 0; // data rows the list shows whole
    RECT Client{};
    int ArrowRow() const { return (ArrowY - FirstRow) / RowHeight; }
    int RowMiddle(int row) const { return FirstRow + row * RowHeight + RowHeight / 2; }
  };

  // The question list as drawn: the current row has the indicator arrow; the row height is the
  // spacing of the grid lines; the first line is the bottom of the title row.
  TGridGeometry GridGeometry() {
    Require(grid_ != nullptr, "the exam window has no question list");
    TGridGeometry g;
    GetClientRect(grid_, &g.Client);
    TPixels pixels(grid_);
    auto dark = [&](int x, int y) {
      COLORREF c = pixels.At(x, y);
      return GetRValue(c) + GetGValue(c) + GetBValue(c) < 200;
    };
    for (int y = 0, runTop = -1; y < g.Client.bottom && g.ArrowY < 0; ++y) {
      // The arrow is centred in the indicator column; the face left of it stays light (a column
      // further right holds the question numbers, which are as dark as the arrow).
      bool inArrow = (dark(4, y) || dark(5, y) || dark(6, y)) && !dark(1, y);
      if (inArrow && runTop < 0) runTop = y;
      if (!inArrow && runTop >= 0) {
        if (y - runTop >= 4) g.ArrowY = (runTop + y - 1) / 2; // a line is one pixel high
        runTop = -1;
      }
    }
    std::vector<int> lines;
    int x0 = 16, x1 = 26;
    for (int y = 0; y < g.Client.bottom; ++y) {
      COLORREF c = pixels.At(x0, y);
      if (c == RGB(255, 255, 255)) continue;
      bool line = true;
      for (int x = x0 + 1; x <= x1 && line; ++x)
        line = pixels.At(x, y) == c;
      if (line && (lines.empty() || y > lines.back() + 2)) lines.push_back(y);
    }
    std::map<int, int> spacing;
    for (size_t k = 1; k < lines.size(); ++k)
      ++spacing[lines[k] - lines[k - 1]];
    Require(!spacing.empty(), "the question list shows no grid lines");
    g.RowHeight = std::max_element(spacing.begin(), spacing.end(), [](auto &a, auto &b) {
                    return a.second < b.second;
                  })->first;
    g.FirstRow = lines.front() + 1;
    g.Rows = std::max(1, static_cast<int>((g.Client.bottom - g.FirstRow) / g.RowHeight));
    Require(g.ArrowY >= 0, "the question list shows no current row");
    return g;
  }
  // The question in the list's top row, from where the current row is drawn.
  size_t TopRow(const TGridGeometry &g) {
    return current_ >= static_cast<size_t>(g.ArrowRow()) ? current_ - g.ArrowRow() : 0;
  }

  POINT InGrid(int x, int y) {
    POINT p{x, y};
    ClientToScreen(grid_, &p);
    return p;
  }

  void ClickGridAt(const TGridGeometry &g, int y, size_t i) {
    Require(y > g.FirstRow && y < g.Client.bottom,
            "row " + Number(i) + " is not in view in the question list");
    ClickAt(InGrid(g.Client.right / 2, y));
  }

  // The scroll bar's arrow at the top or the bottom.
  POINT ScrollArrow(const TGridGeometry &g, bool down) {
    int x = g.Client.right + GetSystemMetrics(SM_CXVSCROLL) / 2, h = GetSystemMetrics(SM_CYVSCROLL);
    return InGrid(x, down ? g.Client.bottom - h / 2 : h / 2);
  }

  // Clicks the question list on the row of paper index i, counted from the current row; returns
  // the point clicked.
  POINT ClickGridRow(size_t i) {
    TGridGeometry g = GridGeometry();
    int y = g.ArrowY + (static_cast<int>(i) - static_cast<int>(current_)) * g.RowHeight;
    if (i == current_ + 1 && y + g.RowHeight / 2 >= g.Client.bottom) {
      // The next row is below the list: the scroll bar's down arrow brings it in (and makes it
      // current); a click on it then shows it.
      ClickAt(ScrollArrow(g, true));
      MoveTo(i);
      Await([&] { return GridGeometry().ArrowY > g.ArrowY - g.RowHeight / 2; }, 2000);
      g = GridGeometry();
      y = g.ArrowY;
    }
    ClickGridAt(g, y, i);
    MoveTo(i);
    return InGrid(g.Client.right / 2, y);
  }

  // A row click that did not take is made again at the same place (the row stays there when the
  // list did not move; a click on the current row does not move it).
  void ClickRowUntilShown(size_t i) {
    POINT at = ClickGridRow(i);
    for (int attempt = 1; attempt < 3 && !Await([&] { return Shows(i); }, 2000); ++attempt)
      ClickAt(at);
  }

  void Row(const TStep &step) {
    size_t target = static_cast<size_t>(step.Count - 1);
    Require(target < paper_.size(), "plan line " + std::to_string(step.Line) +
                                        ": the paper has no question " + std::to_string(step.Count));
    if (target == current_) {
      // A click on the current row moves nothing; the mouse-down collects the ticks on screen.
      TGridGeometry g = GridGeometry();
      ClickGridAt(g, g.ArrowY, target);
      if (!pending_.empty()) expected_[current_] = pending_, pending_.clear();
      Settle();
    } else {
      ClickRowUntilShown(target);
    }
    ExpectShown(step);
  }

  // Keys and the wheel go to the list when it has the focus; a click on its current row gives it
  // the focus without moving it (and collects ticks on screen, as every click on the list does).
  void FocusList() {
    GUITHREADINFO gui{};
    gui.cbSize = sizeof gui;
    if (GetGUIThreadInfo(process_.dwThreadId, &gui) && gui.hwndFocus == grid_) return;
    TGridGeometry g = GridGeometry();
    ClickGridAt(g, g.ArrowY, current_);
    if (!pending_.empty()) expected_[current_] = pending_, pending_.clear();
    Await(
        [&] {
          GUITHREADINFO now{};
          now.cbSize = sizeof now;
          return GetGUIThreadInfo(process_.dwThreadId, &now) && now.hwndFocus == grid_;
        },
        2000);
  }

  // After input that moves the list to target from a view whose top row was top: waits until
  // the list draws its current row where it then has to be (it scrolls just enough to show it).
  void AwaitListAt(size_t target, size_t top, int rows) {
    size_t newTop = target < top ? target : target >= top + rows ? target - rows + 1 : top;
    int row = static_cast<int>(target - newTop);
    Await([&] { return GridGeometry().ArrowRow() == row; }, 2000);
  }

  size_t Clamp(long long i) const { return static_cast<size_t>(std::clamp<long long>(i, 0, Last())); }

  void Wheel(const TStep &step) {
    FocusList();
    TGridGeometry g = GridGeometry();
    size_t top = TopRow(g), target = Clamp(static_cast<long long>(current_) + step.Count);
    // A wheel turned towards the user (negative delta) moves down the list.
    WheelAt(InGrid(g.Client.right / 2, g.ArrowY), -step.Count);
    AwaitListAt(target, top, g.Rows);
    MoveTo(target);
    ExpectShown(step);
  }

  void Key(const TStep &step) {
    static const std::map<std::string, WORD> codes = {{"Down", VK_DOWN},     {"Up", VK_UP},
                                                      {"PageDown", VK_NEXT}, {"PageUp", VK_PRIOR},
                                                      {"Home", VK_HOME},     {"End", VK_END}};
    bool ctrl = step.Text.rfind("Ctrl+", 0) == 0;
    std::string name = ctrl ? step.Text.substr(5) : step.Text;
    FocusList();
    TGridGeometry g = GridGeometry();
    long long cur = static_cast<long long>(current_), top = static_cast<long long>(TopRow(g)), rows = g.Rows;
    long long target = cur;
    // The list's keys: the arrows move one row, the page keys a page; with Ctrl the first or last
    // row in view. Home and End move between the columns (the list has three), with Ctrl to the
    // first or last row.
    if (name == "Down")
      target = ctrl ? top + rows - 1 : cur + 1;
    else if (name == "Up")
      target = ctrl ? top : cur - 1;
    else if (name == "PageDown")
      target = ctrl ? top + rows - 1 : cur + rows;
    else if (name == "PageUp")
      target = ctrl ? top : cur - rows;
    else if (name == "Home")
      target = ctrl ? 0 : cur;
    else if (name == "End")
      target = ctrl ? static_cast<long long>(Last()) : cur;
    PressKey(codes.at(name), ctrl);
    size_t to = Clamp(target);
    if (to == current_)
      Settle();
    else
      AwaitListAt(to, static_cast<size_t>(top), g.Rows);
    MoveTo(to);
    ExpectShown(step);
  }

  void Scroll(const TStep &step) {
    FocusList();
    if (step.Text == "arrow") {
      // Line down makes current the question just below the rows in view, line up the one just above.
      for (int n = 0; n < std::abs(step.Count); ++n) {
        TGridGeometry g = GridGeometry();
        size_t top = TopRow(g);
        size_t target = step.Count > 0 ? Clamp(static_cast<long long>(top) + g.Rows)
                                       : Clamp(static_cast<long long>(top) - 1);
        ClickAt(ScrollArrow(g, step.Count > 0));
        AwaitListAt(target, top, g.Rows);
        MoveTo(target);
      }
    } else {
      // The thumb dragged to the end of the bar and released makes the first or last question current.
      TGridGeometry g = GridGeometry();
      size_t top = TopRow(g), target = step.Text == "top" ? 0 : Last();
      int arrow = GetSystemMetrics(SM_CYVSCROLL), track = g.Client.bottom - 2 * arrow;
      long long range = static_cast<long long>(paper_.size()) + g.Rows - 1; // positions 1 .. count + page - 1
      int thumb =
          std::max(GetSystemMetrics(SM_CYVTHUMB), static_cast<int>(track * g.Rows / std::max(1LL, range)));
      long long span = std::max(1LL, range - g.Rows);
      int thumbTop = arrow + static_cast<int>((track - thumb) * static_cast<long long>(current_) / span);
      int x = g.Client.right + GetSystemMetrics(SM_CXVSCROLL) / 2;
      int toY = step.Text == "top" ? -arrow : g.Client.bottom + arrow;
      DragFromTo(InGrid(x, thumbTop + thumb / 2), InGrid(x, toY));
      AwaitListAt(target, top, g.Rows);
      MoveTo(target);
    }
    ExpectShown(step);
  }

  // Ticks option boxes on screen and leaves them for a later step to collect.
  void Tick(const TStep &step) {
    Require(paper_[current_].Type == kMultiple, "plan line " + std::to_string(step.Line) + ": question " +
                                                    Number(current_) + " is not multiple choice");
    for (char l : step.Text)
      SetBox(boxes_[l], true, std::string("option box ") + l);
    pending_ = Stored(paper_[current_], pending_ + step.Text);
  }
  void RefusedClose() {
    PostMessageW(exam_, WM_CLOSE, 0, 0);
    HWND box = nullptr;
    Require(Await([&] { return (box = Top("#32770")) != nullptr; }, 5000),
            "closing before hand-in showed no message");
    bool said = false;
    for (HWND s : FindChildren(box, "Static"))
      if (WindowText(s) == "请点击右下角 [交卷] 按钮再关闭系统!!") said = true;
    Check(said, "the close message is not the expected text");
    HWND ok = nullptr;
    for (HWND b : FindChildren(box, "Button"))
      ok = ok ? ok : b;
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
    Require(Await([&] { return (dialog = Top("TMessageForm")) != nullptr; }, 5000),
            "no confirmation appeared");
    Check(WindowText(dialog) == "Confirm", "the confirmation's title is not Confirm");
    Pause(300);
    return dialog;
  }

  void HandIn() {
    // The hand-in stores the ticks on screen, and drops an unanswered last question.
    if (!pending_.empty()) expected_[current_] = pending_, pending_.clear();
    int rows = PaperRows() - (expected_[Last()].empty() ? 1 : 0);
    HWND dialog = Confirmation();
    Shot("confirmation");
    PressUntil(Button(dialog, "TButton", "&No"), "No", [&] { return Top("TMessageForm") == nullptr; });
    Require(Await([&] { return Top("TMessageForm") == nullptr; }, 3000), "the confirmation stayed after No");
    Pause(300);
    Check(PaperRows() == rows, "declining the hand-in changed the paper");
    Check(Top("TfmScore") == nullptr, "declining the hand-in showed the score");
    Step("hand-in declined");

    dialog = Confirmation();
    PressUntil(Button(dialog, "TButton", "&Yes"), "Yes", [&] { return Top("TMessageForm") == nullptr; });
    HWND score = nullptr;
    Require(Await([&] { return (score = Top("TfmScore")) != nullptr; }, 10000),
            "the score window did not appear");
    Pause(500);
    Step("score window");
    Shot("score");
    ReportScore();
    PressUntil(Button(score, "TButton", "关闭"), "close", [&] { return Top("TfmScore") == nullptr; });
    Require(Await([&] { return Top("TfmScore") == nullptr; }, 3000), "the score window did not close");
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
        {"total",
         "select sum(eQfen) as sumeQfen from testpaper where right([result1],1)='√' and result1<>NUll",
         "sumeQfen"},
        {"single_right",
         "select count(sNo) as ss from testpaper where  right([result1],1)='√' and eQtype='单项选择'  and "
         "result1<>NUll",
         "ss"},
        {"single_wrong",
         "select count(sNo) as ss from testpaper where right([result1],1)='×' and eQtype='单项选择'  and "
         "result1<>NUll",
         "ss"},
        {"multi_right",
         "select count(sNo) as ss from testpaper where  right([result1],1)='√' and eQtype='多项选择'  and "
         "result1<>NUll",
         "ss"},
        {"multi_wrong",
         "select count(sNo) as ss from testpaper where right([result1],1)='×' and eQtype='多项选择'  and "
         "result1<>NUll",
         "ss"},
        {"tf_right",
         "select count(sNo) as ss from testpaper where  right([result1],1)='√' and eQtype='判断题'  and "
         "result1<>NUll",
         "ss"},
        {"tf_wrong",
         "select count(sNo) as ss from testpaper where  right([result1],1)='×' and eQtype='判断题'  and "
         "result1<>NUll",
         "ss"},
    };
    std::map<std::string, double> expected;
    for (size_t i = 0; i < paper_.size(); ++i) {
      const std::string &answer = expected_[i];
      if (answer.empty()) continue;
      const TQuestion &q = paper_[i];
      bool right = answer == q.Key;
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

  // Clicks the row of paper index i when the list shows the paper from its first row.
  void ClickGridRowFromTop(size_t i) {
    TGridGeometry g = GridGeometry();
    ClickGridAt(g, g.RowMiddle(static_cast<int>(i)), i);
  }

  void Review() {
    Pause(800); // the paper reopens 500 ms after the hand-in
    Check(!Usable(Button(exam_, "TBitBtn", "下一道题")), "the navigation bar is usable in review mode");
    if (grid_ && dbEdit_ && !paper_.empty()) {
      auto answered = std::find_if(expected_.begin(), expected_.end(), [](auto &a) { return !a.empty(); });
      if (answered != expected_.end()) {
        size_t i = static_cast<size_t>(answered - expected_.begin());
        // Review keeps the question that was on screen at the hand-in: back to the top first.
        TStep top;
        top.Kind = TStep::TKind::Key;
        top.Text = "Ctrl+Home";
        Key(top);
        for (int attempt = 0; attempt < 3 && !(Shows(i) && IsWindowVisible(dbEdit_)); ++attempt) {
          ClickGridRowFromTop(i);
          Await([&] { return Shows(i) && IsWindowVisible(dbEdit_); }, 2000);
        }
        Check(Shows(i) && IsWindowVisible(dbEdit_), "review: an answered question shows no correct answer");
        Check(Trim(WindowText(dbEdit_)) == paper_[i].Key, "review: the correct answer shown is not the key");
      }
    }
    Step("review mode");
    Shot("review");
  }

  void CheckPaper() {
    for (size_t i = 0; i < paper_.size(); ++i) {
      const std::string &a = expected_[i];
      std::string stored = StoredAnswer(paper_[i].SNo);
      // The hand-in deletes an unanswered last question.
      std::string expected = !a.empty()    ? a + (a == paper_[i].Key ? " √" : " ×")
                             : i == Last() ? "(no row)"
                                           : "(null)";
      Check(stored == expected,
            "testpaper row " + std::to_string(i + 1) + " holds " + stored + ", expected " + expected);
    }
    Step("test paper marked as planned");
  }

  void End() {
    const std::optional<DWORD> code = CloseAndWaitForExit(exam_, process_.hProcess, 15000);
    Require(code.has_value(), "the program did not end after closing");
    Check(*code == 0, "the program ended with code " + std::to_string(*code));
    Step("program ended");
  }

  // Starts the killer: at a moment drawn from the seed (or when the plan is done, if earlier) it
  // notes what the screen has shown as stored and ends the program by its process id.
  void ArmKiller() {
    std::mt19937 random(static_cast<unsigned>(killSeed_));
    killAfterMs_ = std::uniform_int_distribution<int>(0, kKillWindowMs)(random);
    DWORD pid = Pid();
    killer_ = std::thread([this, pid] {
      std::unique_lock lock(mutex_);
      wake_.wait_for(lock, std::chrono::milliseconds(killAfterMs_), [&] { return finished_; });
      shownAtKill_ = shownStored_;
      inFlightAtKill_ = inFlight_;
      if (HANDLE process = OpenProcess(PROCESS_TERMINATE | SYNCHRONIZE, FALSE, pid)) {
        TerminateProcess(process, 9);
        WaitForSingleObject(process, 10000);
        CloseHandle(process);
      }
      killed_ = true;
    });
  }

  // After the kill: each answer the screen showed as stored is in the paper (or the one being
  // given then, which may have been stored too), and the file is sound.
  void CheckAfterKill() {
    Check(WaitForSingleObject(process_.hProcess, 10000) == WAIT_OBJECT_0,
          "the program did not end when killed");
    int found = 0;
    for (const auto &[i, answer] : shownAtKill_) {
      std::string stored = StoredAnswer(paper_[i].SNo);
      bool later = inFlightAtKill_.first == i && stored == inFlightAtKill_.second;
      if (stored == answer || later)
        ++found;
      else
        Fail("after the kill question " + Number(i) + " holds " + stored + ", the screen showed " + answer +
             " stored");
    }
    std::string integrity = Figure("pragma integrity_check", "integrity_check");
    Check(integrity == "ok", "after the kill the database fails its integrity check: " + integrity);
    std::printf(
        "kill: after %d ms, %d of %zu answer(s) the screen showed as stored are in testpaper, integrity %s\n",
        killAfterMs_, found, shownAtKill_.size(), integrity.c_str());
    std::fflush(stdout);
  }
};

} // namespace
} // namespace qv::e2e

int wmain(int, wchar_t **) {
  using namespace qv;
  const char *usage = "用法：exam_drive WORKDIR PLANFILE [--exe PATH] [--shots DIR] [--kill SEED]\n"
                      "  启动考试程序（默认 WORKDIR\\exam.exe），按 PLANFILE 走完一场考试并检查试卷表；\n"
                      "  --shots 把每一步的画面存进 DIR，--kill 在随机时刻结束考试程序并检查已保存的答案\n"
                      "选项：-h, --help 显示本说明；--version 显示版本\n"
                      "退出码：0 一切如计划，1 有检查未通过，2 用法不对\n";
  TCommandLine line("exam_drive", usage, {{"--exe", "PATH"}, {"--shots", "DIR"}, {"--kill", "SEED"}});
  return line.Run(ProgramArguments(0, nullptr), [](TArguments &args) {
    std::string work = args.Take("WORKDIR"), plan = args.Take("PLANFILE");
    args.Finish();
    int killSeed = args.IntValue("--kill", 0, 1 << 30).value_or(-1);
    auto full = [](const std::string &path) {
      wchar_t buffer[MAX_PATH * 4];
      DWORD n = GetFullPathNameW(Widen(path).c_str(), MAX_PATH * 4, buffer, nullptr);
      return n ? Narrow(std::wstring_view(buffer, n)) : path;
    };
    std::string exe = full(args.Value("--exe").value_or(work + "\\exam.exe"));
    std::string shots = args.Value("--shots") ? full(*args.Value("--shots")) : std::string();
    try {
      return e2e::TDriver(full(work), plan, exe, shots, killSeed).Run();
    } catch (const std::exception &e) {
      std::printf("e2e: FAILED: %s\n", e.what());
      return 1;
    }
  });
}
