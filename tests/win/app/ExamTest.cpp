// The exam windows with real windows, timers and dialogs over a small fixture bank: paper
// generation, answer capture, navigation, the close guard, hand-in, marking, the score window,
// review and the exam clock.
#include "PaperFixture.h"

#include "app/Uexam.h"
#include "app/Uscore.h"
#include "app/uDM.h"
#include "app/uLogin.h"
#include "app/waiting.h"
#include "platform/base/Text.h"
#include "platform/data/Connection.h"
#include "platform/data/Schema.h"
#include "tests/common/WindowSearch.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <deque>
#include <filesystem>
#include <functional>

namespace qv {
namespace {

using test::TFixtureQuestion;

// Answers the dialogs that handlers open, from inside their modal loops: each expectation
// waits for a visible window of its class, then acts on it.
class TResponder {
public:
  static TResponder &Instance() {
    static TResponder r;
    return r;
  }
  void Expect(const std::string &cls, std::function<void(HWND)> act) {
    expected_.push_back({cls, std::move(act)});
    if (!timer_) timer_ = SetTimer(nullptr, 0, 30, Tick);
  }
  size_t Pending() const { return expected_.size(); }
  void Reset() {
    expected_.clear();
    Seen.clear();
    if (timer_) KillTimer(nullptr, timer_);
    timer_ = 0;
  }
  std::vector<std::string> Seen; // the texts of the message boxes answered

private:
  struct TExpectation {
    std::string Class;
    std::function<void(HWND)> Act;
  };
  std::deque<TExpectation> expected_;
  UINT_PTR timer_ = 0;

  static void CALLBACK Tick(HWND, UINT, UINT_PTR, DWORD) {
    TResponder &r = Instance();
    if (r.expected_.empty()) return;
    HWND found = test::FindTopWindow(GetCurrentProcessId(), r.expected_.front().Class);
    if (!found) return;
    TExpectation e = std::move(r.expected_.front());
    r.expected_.pop_front();
    e.Act(found);
  }
};

void ClickButton(const std::string &cls, const std::string &caption) {
  TResponder::Instance().Expect(cls, [caption](HWND dialog) {
    for (HWND child : test::Descendants(dialog))
      if (test::WindowText(child) == caption) SendMessageW(child, BM_CLICK, 0, 0);
  });
}

void DismissMessageBox() {
  TResponder::Instance().Expect("#32770", [](HWND box) {
    TResponder::Instance().Seen.push_back(test::MessageBoxText(box));
    PostMessageW(box, WM_COMMAND, IDOK, 0);
  });
}

void CloseScoreWindow() {
  TResponder::Instance().Expect("TfmScore", [](HWND) { fmScore->Button1Click(nullptr); });
}

const char *kBasic = "1基础  ";
const char *kArc = "电焊";

// Paper order: 1-3 basic single choice, 4-5 basic multiple choice, 6 basic true/false,
// 7 arc single choice, 8 arc true/false. Row 2's key has blanks around it.
std::vector<TFixtureQuestion> DefaultBank() {
  return {
      {kBasic, kTrueFalse, 1, "对", 1},     {kBasic, kMultipleChoice, 2, "BD", 3},
      {kBasic, kSingleChoice, 3, "C", 2},   {kBasic, kSingleChoice, 1, "A", 2},
      {kBasic, kSingleChoice, 2, " B ", 2}, {kBasic, kMultipleChoice, 1, "AC", 3},
      {kArc, kSingleChoice, 1, "D", 2},     {kArc, kTrueFalse, 1, "错", 1},
  };
}

class ExamTest : public ::testing::Test {
protected:
  std::filesystem::path dir_, home_;

  void SetUp() override { Prepare(DefaultBank(), 60); }

  void Prepare(const std::vector<TFixtureQuestion> &bank, int minutes) {
    Application->Initialize();
    home_ = std::filesystem::current_path();
    dir_ = std::filesystem::temp_directory_path() /
           ("exam-test-" + std::to_string(GetCurrentProcessId()) + "-" +
            ::testing::UnitTest::GetInstance()->current_test_info()->name());
    std::filesystem::remove_all(dir_);
    test::BuildFixtureBank(Narrow(dir_.wstring()), bank, minutes);
    std::filesystem::current_path(dir_);
    Application->CreateForm(fmDM);
    Application->CreateForm(fmlogin);
    fmlogin->Show();
  }

  void TearDown() override {
    TResponder::Instance().Reset();
    delete fmScore;
    delete fmexam;
    delete fmlogin;
    delete fmDM;
    ChoiceBuffer.clear();
    ExamMinutes = 0;
    std::filesystem::current_path(home_);
    std::error_code ec;
    std::filesystem::remove_all(dir_, ec);
  }

  void Untick(std::initializer_list<TCheckBox *> boxes) {
    for (TCheckBox *b : boxes)
      b->SetChecked(false);
  }
  void UntickOptional() {
    Untick({fmlogin->CheckBox2, fmlogin->CheckBox3, fmlogin->CheckBox4, fmlogin->CheckBox5,
            fmlogin->CheckBox6, fmlogin->CheckBox7});
  }

  // Creates and activates the exam window (which generates the paper).
  void OpenExam() {
    Application->CreateForm(fmexam);
    fmexam->Show();
    Application->ProcessMessages();
  }
  void StartExam() {
    fmexam->BitBtn4Click(nullptr);
    fmexam->Timer1Timer(nullptr);
  }
  std::string Shown() const { return fmexam->Label20->Caption(); }
  std::optional<std::string> Result(int sNo) {
    for (auto &row : test::ReadPaper())
      if (row.SNo == sNo) return row.Result;
    return "(no row)";
  }
  void Click(TSpeedButton *button) {
    button->OnClick(button);
    fmexam->Timer1Timer(nullptr);
  }
  // Moves to paper row n with the navigation bar over unanswered rows: forwards from the first
  // row up to row 4, backwards from the last row beyond (an unanswered multiple-choice row 4 or 5
  // cannot be left by next or previous).
  void GoTo(int n) {
    if (n <= 4) {
      fmexam->BitBtn1Click(nullptr);
      for (int i = 1; i < n; ++i)
        fmexam->BitBtn3Click(nullptr);
    } else {
      fmexam->BitBtn5Click(nullptr);
      for (int i = 8; i > n; --i)
        fmexam->BitBtn2Click(nullptr);
    }
    ASSERT_EQ(Shown(), std::to_string(n));
  }
  // Real input through the message loop, as the candidate gives it.
  static void Deliver(HWND target, UINT message, WPARAM wParam, LPARAM lParam) {
    PostMessageW(target, message, wParam, lParam);
    Application->ProcessMessages();
  }
  // A mouse click on an answer button (drawn by the question area), then the 500 ms lock ends.
  void Press(TSpeedButton *button) {
    HWND area = fmexam->Panel3->Handle();
    LPARAM at = MAKELPARAM(button->Left() + button->Width() / 2, button->Top() + button->Height() / 2);
    Deliver(area, WM_LBUTTONDOWN, MK_LBUTTON, at);
    Deliver(area, WM_LBUTTONUP, 0, at);
    fmexam->Timer1Timer(nullptr);
  }
  // The question list turned by the mouse wheel (positive: down), one notch at a time.
  void Wheel(int notches) {
    HWND list = fmexam->DBGridEh1->Handle();
    RECT r;
    GetWindowRect(list, &r);
    for (int i = 0; i < std::abs(notches); ++i)
      Deliver(list, WM_MOUSEWHEEL, MAKEWPARAM(0, notches > 0 ? -WHEEL_DELTA : WHEEL_DELTA),
              MAKELPARAM((r.left + r.right) / 2, (r.top + r.bottom) / 2));
  }
  // A key pressed in the question list, with Ctrl held down when asked.
  void ListKey(WPARAM key, bool ctrl = false) {
    HWND list = fmexam->DBGridEh1->Handle();
    BYTE keys[256];
    GetKeyboardState(keys);
    keys[VK_CONTROL] = ctrl ? 0x80 : 0;
    SetKeyboardState(keys);
    Deliver(list, WM_KEYDOWN, key, 1);
    Deliver(list, WM_KEYUP, key, 0xC0000001);
    keys[VK_CONTROL] = 0;
    SetKeyboardState(keys);
  }
  void ListScroll(WPARAM code) { Deliver(fmexam->DBGridEh1->Handle(), WM_VSCROLL, code, 0); }
  // The question area shows the current row of the paper: number, stem and stored answer.
  void ExpectScreenShowsCurrentRow(const std::string &where) {
    TDBQuery *ds = fmDM->localDS;
    EXPECT_EQ(Shown(), ds->FieldByName("sNo")->AsString()) << where;
    EXPECT_EQ(fmexam->Memo1->Text(), ds->FieldByName("eQName")->AsString()) << where;
    EXPECT_EQ(fmexam->Label9->Caption(), ds->FieldByName("result1")->AsString()) << where;
  }
  // Clicks a button of the exam window as the mouse would (its own click message).
  static void ClickOn(TBitBtn *button) { Deliver(button->Handle(), BM_CLICK, 0, 0); }

  void HandIn(bool confirm) {
    ClickButton("TMessageForm", confirm ? "&Yes" : "&No");
    if (confirm) CloseScoreWindow();
    fmexam->BitBtn6Click(nullptr);
    EXPECT_EQ(TResponder::Instance().Pending(), 0u);
  }
};

TEST_F(ExamTest, OnlyTheBasicSubjectGivesItsRowsNumberedByType) {
  UntickOptional();
  OpenExam();
  auto paper = test::ReadPaper();
  ASSERT_EQ(paper.size(), 6u);
  const char *types[] = {kSingleChoice,   kSingleChoice,   kSingleChoice,
                         kMultipleChoice, kMultipleChoice, kTrueFalse};
  for (int i = 0; i < 6; ++i) {
    EXPECT_EQ(paper[i].SNo, i + 1);
    EXPECT_EQ(paper[i].Type, types[i]);
  }
  EXPECT_EQ(fmWaiting, nullptr);
  EXPECT_TRUE(fmexam->Panel3->Visible());
  EXPECT_TRUE(fmexam->Panel4->Visible());
  EXPECT_EQ(fmexam->Label7->Caption(), "001");
  EXPECT_EQ(fmexam->Label13->Caption(), "张三");
}

TEST_F(ExamTest, AFreshExamWindowAsksBeforeDiscardingAnswersThatWereNotHandedIn) {
  OpenExam();
  StartExam();
  Click(fmexam->SpeedButton1);
  ASSERT_EQ(Result(1), "A");
  delete fmexam;
  ClickButton("TMessageForm", "&No");
  OpenExam();
  EXPECT_EQ(TResponder::Instance().Pending(), 0u) << "the question to resume was asked";
  for (auto &row : test::ReadPaper())
    EXPECT_FALSE(row.Result) << "row " << row.SNo;

  // A paper without answers, or one handed in, is regenerated without asking.
  delete fmexam;
  OpenExam();
  StartExam();
  Click(fmexam->SpeedButton1);
  HandIn(true);
  delete fmexam;
  OpenExam();
  for (auto &row : test::ReadPaper())
    EXPECT_FALSE(row.Result) << "row " << row.SNo;
  EXPECT_TRUE(fmexam->BitBtn4->Enabled()) << "the exam waits for its start";
}

TEST_F(ExamTest, AnInterruptedExamGoesOnWithItsAnswersOrderAndClock) {
  OpenExam();
  StartExam();
  Click(fmexam->SpeedButton1); // 1: A
  Click(fmexam->SpeedButton3); // 2: C
  std::string started = fmexam->Label14->Caption();
  delete fmexam; // as if the program had ended here
  // The exam began ten minutes before the crash.
  test::ExecSql("update examState set Value=Value-600 where Name='StartedAt'");
  ClickButton("TMessageForm", "&Yes");
  OpenExam();
  EXPECT_EQ(TResponder::Instance().Pending(), 0u);
  EXPECT_EQ(Result(1), "A");
  EXPECT_EQ(Result(2), "C");
  EXPECT_FALSE(fmexam->BitBtn4->Enabled());
  EXPECT_TRUE(fmexam->DBGridEh1->Enabled());
  EXPECT_EQ(Shown(), "3") << "the first unanswered question";
  ExpectScreenShowsCurrentRow("resumed");
  EXPECT_EQ(fmexam->Label16->Caption(), "50分钟");
  EXPECT_NE(fmexam->Label14->Caption(), started);
  fmexam->Timer1Timer(nullptr);
  Press(fmexam->SpeedButton2);
  EXPECT_EQ(Result(3), "B");
}

TEST_F(ExamTest, ALaterActivationKeepsThePaperAndTheCurrentQuestion) {
  OpenExam();
  StartExam();
  Click(fmexam->SpeedButton1);
  ASSERT_EQ(Shown(), "2");
  fmexam->FormActivate(nullptr);
  EXPECT_EQ(Result(1), "A");
  Click(fmexam->SpeedButton2);
  EXPECT_EQ(Result(2), "B") << "the answer went to the question on screen";
  EXPECT_EQ(Result(1), "A");
}

TEST_F(ExamTest, SingleChoiceAnswerIsStoredMovesOnAndLocksTheQuestionArea) {
  OpenExam();
  StartExam();
  fmexam->SpeedButton2->OnClick(fmexam->SpeedButton2);
  EXPECT_EQ(Result(1), "B");
  EXPECT_EQ(Shown(), "2");
  EXPECT_EQ(fmexam->Memo1->Text(), test::StemOf({kBasic, kSingleChoice, 2, "", 0}));
  EXPECT_FALSE(fmexam->Panel3->Enabled());
  EXPECT_TRUE(fmexam->Timer1->Enabled());
  fmexam->Timer1Timer(nullptr);
  EXPECT_TRUE(fmexam->Panel3->Enabled());
  EXPECT_FALSE(fmexam->Timer1->Enabled());
}

TEST_F(ExamTest, TheLastQuestionCanBeAnsweredAndChangedHoweverItWasReached) {
  OpenExam();
  StartExam();
  ClickOn(fmexam->BitBtn5); // 最后一道题
  ASSERT_EQ(Shown(), "8");
  Press(fmexam->SpeedButton1);
  EXPECT_EQ(Result(8), "对");
  EXPECT_EQ(Shown(), "8");
  EXPECT_EQ(fmexam->Label9->Caption(), "对");
  Press(fmexam->SpeedButton2);
  EXPECT_EQ(Result(8), "错") << "a changed answer on the last question is stored";
  EXPECT_EQ(fmexam->Label9->Caption(), "错");

  // The same after End in the question list, and after answering the row before.
  ListKey(VK_HOME, true);
  ListKey(VK_END, true);
  ASSERT_EQ(Shown(), "8");
  Press(fmexam->SpeedButton1);
  EXPECT_EQ(Result(8), "对");
  ListKey(VK_UP);
  Press(fmexam->SpeedButton4); // 7: D, on to 8
  ASSERT_EQ(Shown(), "8");
  Press(fmexam->SpeedButton2);
  EXPECT_EQ(Result(7), "D");
  EXPECT_EQ(Result(8), "错");
}

TEST_F(ExamTest, TicksOnALastMultipleChoiceQuestionAreStoredByNextPriorAndHandIn) {
  TearDown();
  Prepare({{kBasic, kSingleChoice, 1, "A", 1}, {kBasic, kMultipleChoice, 1, "BD", 2}}, 0);
  UntickOptional();
  OpenExam();
  StartExam();
  ClickOn(fmexam->BitBtn5);
  ASSERT_EQ(Shown(), "2");
  fmexam->CheckBox4->SetChecked(true);
  fmexam->CheckBox2->SetChecked(true);
  ClickOn(fmexam->BitBtn3); // next on the last row
  EXPECT_EQ(Result(2), "BD");
  EXPECT_EQ(Shown(), "2");
  EXPECT_EQ(fmexam->Label9->Caption(), "BD");
  fmexam->CheckBox1->SetChecked(true);
  ClickOn(fmexam->BitBtn2); // previous stores, then moves
  EXPECT_EQ(Result(2), "A");
  EXPECT_EQ(Shown(), "1");
  ClickOn(fmexam->BitBtn5);
  fmexam->CheckBox3->SetChecked(true);
  HandIn(true);
  EXPECT_EQ(Result(2), "C ×");
}

TEST_F(ExamTest, WhateverMovesTheQuestionListTheScreenFollowsAndTheAnswerLandsThere) {
  OpenExam();
  StartExam();
  fmexam->DBGridEh1->SetFocus();
  Wheel(1);
  ExpectScreenShowsCurrentRow("wheel down");
  ASSERT_NE(Shown(), "1") << "the wheel moved the paper";
  std::string wheeled = Shown();
  Press(fmexam->SpeedButton1);
  EXPECT_EQ(Result(std::stoi(wheeled)), wheeled == "6" ? "对" : "A") << "stored on the question shown";
  EXPECT_FALSE(Result(1));

  ListKey(VK_HOME, true);
  ExpectScreenShowsCurrentRow("Home");
  EXPECT_EQ(Shown(), "1");
  ListKey(VK_DOWN);
  ListKey(VK_DOWN);
  ExpectScreenShowsCurrentRow("Down");
  EXPECT_EQ(Shown(), "3");
  Press(fmexam->SpeedButton3);
  EXPECT_EQ(Result(3), "C");
  ListKey(VK_NEXT);
  ExpectScreenShowsCurrentRow("PageDown");
  ListKey(VK_END, true);
  ExpectScreenShowsCurrentRow("End");
  Wheel(-2);
  ExpectScreenShowsCurrentRow("wheel up");
  ListScroll(SB_LINEUP);
  ExpectScreenShowsCurrentRow("scroll bar up");
  ListScroll(SB_BOTTOM);
  ExpectScreenShowsCurrentRow("scroll bar bottom");

  // Next copies nothing from another question: on row 4 (multiple choice, unanswered) it stays.
  ListKey(VK_HOME, true);
  for (int i = 0; i < 3; ++i)
    ListKey(VK_DOWN);
  ASSERT_EQ(Shown(), "4");
  ClickOn(fmexam->BitBtn3);
  EXPECT_FALSE(Result(4));
  // Ticks on screen go to the question on screen when the list moves away with a key.
  fmexam->CheckBox2->SetChecked(true);
  ListKey(VK_DOWN);
  EXPECT_EQ(Result(4), "B");
  EXPECT_FALSE(Result(5));
  ExpectScreenShowsCurrentRow("after ticks");
}

TEST_F(ExamTest, ReviewShowsTheKeyOfTheQuestionOnScreenAfterEveryActivation) {
  OpenExam();
  StartExam();
  Press(fmexam->SpeedButton1); // 1: A (right)
  Press(fmexam->SpeedButton1); // 2: A (wrong)
  Press(fmexam->SpeedButton1); // 3: A (key C)
  HandIn(true);
  fmexam->Timer2Timer(nullptr);
  ExpectScreenShowsCurrentRow("review reopened");
  ListKey(VK_HOME, true);
  ListKey(VK_DOWN);
  ListKey(VK_DOWN);
  ASSERT_EQ(Shown(), "3");
  fmexam->FormActivate(nullptr);
  ExpectScreenShowsCurrentRow("activated again");
  EXPECT_EQ(Shown(), "3");
  EXPECT_EQ(fmexam->DBEdit1->Text(), "C");
  EXPECT_TRUE(fmexam->DBEdit1->Visible());
}

TEST_F(ExamTest, AFailedGenerationKeepsThePreviousPaperAndCanBeRetriedOrLeft) {
  OpenExam();
  StartExam();
  Press(fmexam->SpeedButton2); // 1: B
  HandIn(true);
  delete fmexam;
  test::ExecSql(
      "create trigger fail_copy before insert on testpaper begin select raise(abort, 'disk trouble'); end");
  ClickButton("TMessageForm", "OK");
  OpenExam();
  EXPECT_EQ(TResponder::Instance().Pending(), 0u) << "the failure was shown";
  EXPECT_EQ(fmWaiting, nullptr);
  EXPECT_TRUE(fmexam->Panel3->Visible());
  EXPECT_TRUE(fmexam->Panel4->Visible());
  auto paper = test::ReadPaper();
  ASSERT_EQ(paper.size(), 8u) << "the previous paper is untouched";
  EXPECT_EQ(paper[0].Result, "B ×");

  // The start button tries again.
  test::ExecSql("drop trigger fail_copy");
  ClickOn(fmexam->BitBtn4);
  EXPECT_FALSE(fmexam->BitBtn4->Enabled());
  EXPECT_FALSE(Result(1));
  EXPECT_EQ(fmexam->Label17->Caption(), "8");

  // Or the candidate leaves: without a paper there is nothing to hand in.
  delete fmexam;
  test::ExecSql(
      "create trigger fail_copy before insert on testpaper begin select raise(abort, 'disk trouble'); end");
  ClickButton("TMessageForm", "OK");
  OpenExam();
  fmexam->Close();
  EXPECT_FALSE(fmexam->Visible());
}

TEST_F(ExamTest, AHandInThatFailedMarksNothingAndARepeatMarksEachRowOnce) {
  OpenExam();
  StartExam();
  Press(fmexam->SpeedButton1); // 1: A (right)
  Press(fmexam->SpeedButton1); // 2: A (wrong)
  Press(fmexam->SpeedButton3); // 3: C (right)
  test::ExecSql(
      "create trigger fail_marking before update on testpaper when new.sNo=3 and new.result1 like '% √' "
      "begin select raise(abort, 'disk trouble'); end");
  ClickButton("TMessageForm", "&Yes");
  DismissMessageBox();
  ClickOn(fmexam->BitBtn6);
  ASSERT_EQ(TResponder::Instance().Seen.size(), 1u);
  EXPECT_NE(TResponder::Instance().Seen[0].find("disk trouble"), std::string::npos);
  EXPECT_FALSE(fmexam->HandedIn);
  EXPECT_EQ(Result(1), "A") << "marking runs in one transaction";
  EXPECT_EQ(fmDM->localDS->RecordCount(), 8) << "the list shows the whole paper again";
  ExpectScreenShowsCurrentRow("after the failure");

  // A row marked by an earlier hand-in whose score never came keeps its single mark.
  test::ExecSql("drop trigger fail_marking");
  test::ExecSql("update testpaper set result1='A ×' where sNo=2");
  HandIn(true);
  EXPECT_TRUE(fmexam->HandedIn);
  EXPECT_EQ(Result(1), "A √");
  EXPECT_EQ(Result(2), "A ×");
  EXPECT_EQ(Result(3), "C √");
  EXPECT_EQ(fmScore->Label6->Caption(), "2");
  EXPECT_EQ(fmScore->Label7->Caption(), "1");
}

TEST_F(ExamTest, AnAnswerBlockedByAnotherProgramIsNotStoredAndCanBeGivenAgain) {
  fmDM->ADOConnection1->Close();
  fmDM->ADOConnection1->BusyTimeoutMs = 300;
  fmDM->ADOConnection1->Open();
  OpenExam();
  StartExam();
  TConnection other;
  other.OpenDatabase("exam.db");
  other.BeginTrans();
  other.Execute("update examSettings set Value=Value");
  DismissMessageBox();
  Press(fmexam->SpeedButton2);
  ASSERT_EQ(TResponder::Instance().Seen.size(), 1u);
  const std::string &message = TResponder::Instance().Seen[0];
  EXPECT_EQ(message.rfind("答案没有保存", 0), 0u) << message;
  EXPECT_EQ(Shown(), "1");
  EXPECT_EQ(fmexam->Label9->Caption(), "");
  EXPECT_EQ(fmDM->localDS->State(), TDataSetState::dsBrowse);
  other.RollbackTrans();
  fmexam->Timer1Timer(nullptr);
  Press(fmexam->SpeedButton2);
  EXPECT_EQ(Result(1), "B");
  EXPECT_EQ(Shown(), "2");

  // Ticks that could not be stored stay on the boxes.
  GoTo(4);
  fmexam->CheckBox1->SetChecked(true);
  other.BeginTrans();
  other.Execute("update examSettings set Value=Value");
  DismissMessageBox();
  ClickOn(fmexam->BitBtn3);
  other.RollbackTrans();
  EXPECT_EQ(Shown(), "4");
  EXPECT_TRUE(fmexam->CheckBox1->Checked());
  ClickOn(fmexam->BitBtn3);
  EXPECT_EQ(Result(4), "A");
}

TEST_F(ExamTest, ASubjectCaptionWithAQuoteIsCopiedLikeAnyOther) {
  TearDown();
  Prepare({{kBasic, kSingleChoice, 1, "A", 1}, {"O'焊", kSingleChoice, 1, "B", 1}}, 0);
  UntickOptional();
  fmlogin->CheckBox2->SetCaption("O'焊");
  fmlogin->CheckBox2->SetChecked(true);
  OpenExam();
  auto paper = test::ReadPaper();
  ASSERT_EQ(paper.size(), 2u);
  EXPECT_EQ(fmWaiting, nullptr);
}

TEST_F(ExamTest, AnswerButtonsFollowTheQuestionType) {
  OpenExam();
  StartExam();
  GoTo(6);
  EXPECT_EQ(fmexam->SpeedButton1->Caption(), "对");
  EXPECT_EQ(fmexam->SpeedButton2->Caption(), "错");
  EXPECT_FALSE(fmexam->SpeedButton3->Visible());
  EXPECT_FALSE(fmexam->Memo2->Visible());
  Click(fmexam->SpeedButton2);
  EXPECT_EQ(Result(6), "错");
  ASSERT_EQ(Shown(), "7");
  EXPECT_EQ(fmexam->SpeedButton1->Caption(), "A");
  EXPECT_EQ(fmexam->SpeedButton2->Caption(), "B");
  EXPECT_TRUE(fmexam->Memo2->Visible());
  EXPECT_FALSE(fmexam->CheckBox1->Visible());
}

TEST_F(ExamTest, MultipleChoiceTicksAreStoredInLetterOrderAndKeptWhenLeftUntouched) {
  OpenExam();
  StartExam();
  GoTo(4);
  EXPECT_TRUE(fmexam->CheckBox6->Visible());
  EXPECT_FALSE(fmexam->SpeedButton1->Visible());
  fmexam->CheckBox3->SetChecked(true);
  fmexam->CheckBox1->SetChecked(true);
  fmexam->BitBtn3Click(nullptr);
  EXPECT_EQ(Result(4), "AC");
  EXPECT_FALSE(fmexam->CheckBox1->Checked());
  ASSERT_EQ(Shown(), "5");
  // Nothing ticked and nothing stored: next and previous keep the question.
  fmexam->BitBtn3Click(nullptr);
  EXPECT_EQ(Shown(), "5");
  fmexam->BitBtn2Click(nullptr);
  EXPECT_EQ(Shown(), "5");
  EXPECT_FALSE(Result(5));
  // Back on row 4 the stored answer shows and survives leaving without ticks.
  GoTo(4);
  EXPECT_EQ(fmexam->Label9->Caption(), "AC");
  fmexam->BitBtn5Click(nullptr);
  EXPECT_EQ(Result(4), "AC");
  // Ticks collected by a move of the dataset (the question list) are stored too.
  GoTo(5);
  fmexam->CheckBox4->SetChecked(true);
  fmexam->CheckBox2->SetChecked(true);
  fmexam->BitBtn1Click(nullptr);
  EXPECT_EQ(Result(5), "BD");
}

TEST_F(ExamTest, ClosingIsRefusedBeforeHandInAndAllowedAfter) {
  OpenExam();
  StartExam();
  DismissMessageBox();
  fmexam->Close();
  ASSERT_EQ(TResponder::Instance().Seen.size(), 1u);
  EXPECT_EQ(TResponder::Instance().Seen[0], "请点击右下角 [交卷] 按钮再关闭系统!!");
  EXPECT_TRUE(fmexam->Visible());
  HandIn(true);
  fmexam->Close();
  EXPECT_FALSE(fmexam->Visible());
  EXPECT_EQ(fmDM->localDS->State(), TDataSetState::dsInactive);
}

TEST_F(ExamTest, DecliningTheHandInKeepsAnUnansweredLastQuestion) {
  OpenExam();
  StartExam();
  HandIn(false);
  EXPECT_EQ(test::ReadPaper().size(), 8u);
  EXPECT_FALSE(fmexam->HandedIn);
  EXPECT_EQ(fmScore, nullptr);
}

TEST_F(ExamTest, MarkingIsAllOrNothingAgainstTheStrippedCaseSensitiveKey) {
  test::ExecSql("update examQuestion set eQright='bd' where eQtype='多项选择' and eQno=2");
  OpenExam();
  StartExam();
  Click(fmexam->SpeedButton1);         // row 1: A, key A
  Click(fmexam->SpeedButton2);         // row 2: B, key " B "
  Click(fmexam->SpeedButton1);         // row 3: A, key C
  fmexam->CheckBox1->SetChecked(true); // row 4: A only, key AC
  fmexam->BitBtn3Click(nullptr);
  fmexam->CheckBox2->SetChecked(true); // row 5: BD, key "bd"
  fmexam->CheckBox4->SetChecked(true);
  fmexam->BitBtn3Click(nullptr);
  Click(fmexam->SpeedButton1); // row 6: 对, key 对
  HandIn(true);
  EXPECT_EQ(Result(1), "A √");
  EXPECT_EQ(Result(2), "B √");
  EXPECT_EQ(Result(3), "A ×");
  EXPECT_EQ(Result(4), "A ×");
  EXPECT_EQ(Result(5), "BD ×");
  EXPECT_EQ(Result(6), "对 √");
  EXPECT_FALSE(Result(7));
  EXPECT_FALSE(Result(8));
  ASSERT_NE(fmScore, nullptr);
  EXPECT_EQ(fmScore->Label14->Caption(), "6");
  EXPECT_EQ(fmScore->Label15->Caption(), "5");
  EXPECT_EQ(fmScore->Label6->Caption(), "2");
  EXPECT_EQ(fmScore->Label7->Caption(), "1");
  EXPECT_EQ(fmScore->Label8->Caption(), "0");
  EXPECT_EQ(fmScore->Label9->Caption(), "2");
  EXPECT_EQ(fmScore->Label10->Caption(), "1");
  EXPECT_EQ(fmScore->Label11->Caption(), "0");

  // Review: the paper reopens, an answered question shows its key, an unanswered one none.
  EXPECT_TRUE(fmexam->HandedIn);
  EXPECT_FALSE(fmexam->Panel3->Enabled());
  fmexam->Timer2Timer(nullptr);
  EXPECT_FALSE(fmexam->Timer2->Enabled());
  ExpectScreenShowsCurrentRow("review");
  fmDM->localDS->First();
  EXPECT_EQ(fmexam->Label9->Caption(), "A √");
  EXPECT_TRUE(fmexam->Label19->Visible());
  EXPECT_TRUE(fmexam->DBEdit1->Visible());
  EXPECT_EQ(fmexam->DBEdit1->Text(), "A");
  fmDM->localDS->Last();
  fmexam->ShowCurrentQuestion();
  EXPECT_FALSE(fmexam->Label19->Visible());
  EXPECT_FALSE(fmexam->DBEdit1->Visible());
}

TEST_F(ExamTest, AnEmptyPaperCanBeHandedInWithZeroCounts) {
  TearDown();
  Prepare({{kArc, kSingleChoice, 1, "A", 2}}, 0);
  UntickOptional();
  OpenExam();
  EXPECT_TRUE(test::ReadPaper().empty());
  StartExam();
  EXPECT_EQ(fmexam->Label17->Caption(), "0");
  EXPECT_EQ(fmexam->Label16->Caption(), "0分钟");
  HandIn(true);
  EXPECT_TRUE(fmexam->HandedIn);
  EXPECT_EQ(fmScore->Label14->Caption(), "0");
  EXPECT_EQ(fmScore->Label15->Caption(), "0");
  EXPECT_EQ(fmScore->Label11->Caption(), "0");
  fmexam->Close();
  EXPECT_FALSE(fmexam->Visible());
}

TEST_F(ExamTest, ExamMinutesComeFromTheSettingsTable) {
  EXPECT_EQ(ExamMinutes, 60);
  TConnection connection;
  connection.Open();
  test::ExecSql("update examSettings set Value='45' where Name='ExamMinutes'");
  EXPECT_EQ(ReadExamMinutes(connection), 45);
  test::ExecSql("update examSettings set Value='abc' where Name='ExamMinutes'");
  EXPECT_EQ(ReadExamMinutes(connection), 0);
  test::ExecSql("update examSettings set Value='-5' where Name='ExamMinutes'");
  EXPECT_EQ(ReadExamMinutes(connection), 0);
  test::ExecSql("delete from examSettings");
  EXPECT_EQ(ReadExamMinutes(connection), 0);
  test::ExecSql("drop table examSettings");
  EXPECT_EQ(ReadExamMinutes(connection), 0);
}

TEST_F(ExamTest, TimeRunningOutHandsInWithoutConfirmationAfterSavingTicks) {
  ExamMinutes = 2;
  OpenExam();
  StartExam();
  EXPECT_EQ(fmexam->Label16->Caption(), "2分钟");
  EXPECT_TRUE(fmexam->Timer3->Enabled());
  fmexam->StartedAt -= std::chrono::minutes(1);
  fmexam->Timer3Timer(nullptr);
  EXPECT_EQ(fmexam->Label16->Caption(), "1分钟");
  EXPECT_FALSE(fmexam->HandedIn);

  GoTo(4);
  fmexam->CheckBox2->SetChecked(true);
  fmexam->StartedAt -= std::chrono::minutes(1);
  DismissMessageBox();
  CloseScoreWindow();
  fmexam->Timer3Timer(nullptr);
  EXPECT_EQ(TResponder::Instance().Pending(), 0u);
  ASSERT_EQ(TResponder::Instance().Seen.size(), 1u);
  EXPECT_NE(TResponder::Instance().Seen[0].find("考试时间到"), std::string::npos);
  EXPECT_EQ(fmexam->Label16->Caption(), "0分钟");
  EXPECT_TRUE(fmexam->HandedIn);
  EXPECT_FALSE(fmexam->Timer3->Enabled());
  EXPECT_EQ(Result(4), "B ×");
}

TEST(StartTime, MidnightShowsTheDateOnly) {
  SYSTEMTIME midnight{2026, 12, 2, 8, 0, 0, 0, 0};
  SYSTEMTIME later = midnight;
  later.wHour = 9;
  later.wMinute = 30;
  std::string date = FormatStartTime(midnight);
  EXPECT_FALSE(date.empty());
  EXPECT_EQ(date.find(' '), std::string::npos);
  std::string dateTime = FormatStartTime(later);
  EXPECT_EQ(dateTime.rfind(date + " ", 0), 0u);
  EXPECT_GT(dateTime.size(), date.size() + 1);
}

} // namespace
} // namespace qv
