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

#include <gtest/gtest.h>

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

  static BOOL CALLBACK FindProc(HWND w, LPARAM lp) {
    auto *state = reinterpret_cast<std::pair<std::wstring, HWND> *>(lp);
    DWORD pid = 0;
    GetWindowThreadProcessId(w, &pid);
    wchar_t cls[64] = {};
    GetClassNameW(w, cls, 64);
    if (pid == GetCurrentProcessId() && IsWindowVisible(w) && state->first == cls) {
      state->second = w;
      return FALSE;
    }
    return TRUE;
  }
  static void CALLBACK Tick(HWND, UINT, UINT_PTR, DWORD) {
    TResponder &r = Instance();
    if (r.expected_.empty()) return;
    std::pair<std::wstring, HWND> state(Widen(r.expected_.front().Class), nullptr);
    EnumWindows(FindProc, reinterpret_cast<LPARAM>(&state));
    if (!state.second) return;
    TExpectation e = std::move(r.expected_.front());
    r.expected_.pop_front();
    e.Act(state.second);
  }
};

BOOL CALLBACK CollectChild(HWND w, LPARAM lp) {
  reinterpret_cast<std::vector<HWND> *>(lp)->push_back(w);
  return TRUE;
}

std::vector<HWND> Children(HWND parent) {
  std::vector<HWND> all;
  EnumChildWindows(parent, CollectChild, reinterpret_cast<LPARAM>(&all));
  return all;
}

std::string TextOf(HWND w) {
  wchar_t text[256] = {};
  GetWindowTextW(w, text, 256);
  return Narrow(text);
}

std::string ClassOf(HWND w) {
  wchar_t cls[64] = {};
  GetClassNameW(w, cls, 64);
  return Narrow(cls);
}

void ClickButton(const std::string &cls, const std::string &caption) {
  TResponder::Instance().Expect(cls, [caption](HWND dialog) {
    for (HWND child : Children(dialog))
      if (TextOf(child) == caption) SendMessageW(child, BM_CLICK, 0, 0);
  });
}

void DismissMessageBox() {
  TResponder::Instance().Expect("#32770", [](HWND box) {
    std::string text;
    for (HWND child : Children(box))
      if (ClassOf(child) == "Static" && !TextOf(child).empty()) text = TextOf(child);
    TResponder::Instance().Seen.push_back(text);
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
      {kBasic, kTrueFalse, 1, "对", 1},       {kBasic, kMultipleChoice, 2, "BD", 3}, {kBasic, kSingleChoice, 3, "C", 2},
      {kBasic, kSingleChoice, 1, "A", 2},     {kBasic, kSingleChoice, 2, " B ", 2}, {kBasic, kMultipleChoice, 1, "AC", 3},
      {kArc, kSingleChoice, 1, "D", 2},       {kArc, kTrueFalse, 1, "错", 1},
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
    for (TCheckBox *b : boxes) b->SetChecked(false);
  }
  void UntickOptional() {
    Untick({fmlogin->CheckBox2, fmlogin->CheckBox3, fmlogin->CheckBox4, fmlogin->CheckBox5, fmlogin->CheckBox6,
            fmlogin->CheckBox7});
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
      for (int i = 1; i < n; ++i) fmexam->BitBtn3Click(nullptr);
    } else {
      fmexam->BitBtn5Click(nullptr);
      for (int i = 8; i > n; --i) fmexam->BitBtn2Click(nullptr);
    }
    ASSERT_EQ(Shown(), std::to_string(n));
  }
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
  const char *types[] = {kSingleChoice, kSingleChoice, kSingleChoice, kMultipleChoice, kMultipleChoice, kTrueFalse};
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

TEST_F(ExamTest, AFreshExamWindowRegeneratesAndDiscardsAnswers) {
  OpenExam();
  StartExam();
  Click(fmexam->SpeedButton1);
  ASSERT_EQ(Result(1), "A");
  delete fmexam;
  OpenExam();
  for (auto &row : test::ReadPaper()) EXPECT_FALSE(row.Result) << "row " << row.SNo;
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

TEST_F(ExamTest, TheLastQuestionAnsweredTwiceKeepsTheFirstAnswer) {
  OpenExam();
  StartExam();
  fmexam->BitBtn5Click(nullptr);
  fmexam->BitBtn2Click(nullptr); // back to row 7, then answer it to arrive at row 8
  ASSERT_EQ(Shown(), "7");
  Click(fmexam->SpeedButton4);
  ASSERT_EQ(Shown(), "8");
  Click(fmexam->SpeedButton1);
  EXPECT_EQ(Result(8), "对");
  EXPECT_EQ(Shown(), "8");
  EXPECT_EQ(fmexam->Label9->Caption(), "对");
  Click(fmexam->SpeedButton2);
  EXPECT_EQ(Result(8), "对");
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
  EXPECT_EQ(fmDM->localDS->State(), TDataState::Inactive);
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
  Click(fmexam->SpeedButton1);              // row 1: A, key A
  Click(fmexam->SpeedButton2);              // row 2: B, key " B "
  Click(fmexam->SpeedButton1);              // row 3: A, key C
  fmexam->CheckBox1->SetChecked(true);      // row 4: A only, key AC
  fmexam->BitBtn3Click(nullptr);
  fmexam->CheckBox2->SetChecked(true);      // row 5: BD, key "bd"
  fmexam->CheckBox4->SetChecked(true);
  fmexam->BitBtn3Click(nullptr);
  Click(fmexam->SpeedButton1);              // row 6: 对, key 对
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
  fmexam->ShowCurrentQuestion();
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
  TConnectionHandle connection;
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
