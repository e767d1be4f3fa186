#pragma once
// The exam window: the candidate's data, the paper generated on the first activation, the start
// button, the question area with its answer controls, navigation by the bar and the question
// list, the close guard, the hand-in with marking and the score report, and review mode.
// Question display and answer capture: UexamAnswers.cpp; hand-in, review and the exam clock:
// UexamHandIn.cpp.
#include "grid/DBGridEh.h"
#include "platform/forms/Buttons.h"
#include "platform/forms/DBCtrls.h"
#include "platform/forms/ExtCtrls.h"
#include "platform/forms/Forms.h"
#include "platform/forms/Menus.h"
#include "platform/forms/StdCtrls.h"

#include <array>
#include <chrono>
#include <cstdint>
#include <optional>
#include <string>

namespace qv {

class TfmWaiting;

class Tfmexam : public TForm {
  QV_DECLARE_CLASS(Tfmexam)
public:
  explicit Tfmexam(TComponent *owner);
  ~Tfmexam() override;

  // Welcome and candidate bands.
  TPanel *Panel1 = nullptr, *Panel2 = nullptr;
  TLabel *Label1 = nullptr, *Label10 = nullptr, *Label7 = nullptr, *Label11 = nullptr, *Label13 = nullptr;
  TLabel *Label22 = nullptr, *Label23 = nullptr, *Label12 = nullptr, *Label14 = nullptr, *Label4 = nullptr,
         *Label16 = nullptr;
  TBitBtn *BitBtn4 = nullptr;
  // The question list and the correct-answer field.
  TDBGridEh *DBGridEh1 = nullptr;
  TDBEdit *DBEdit1 = nullptr;
  // Question area.
  TPanel *Panel3 = nullptr, *Panel5 = nullptr;
  TLabel *Label18 = nullptr, *Label21 = nullptr;
  TMemo *Memo1 = nullptr, *Memo2 = nullptr, *Memo3 = nullptr, *Memo4 = nullptr, *Memo5 = nullptr,
        *Memo6 = nullptr, *Memo7 = nullptr;
  TSpeedButton *SpeedButton1 = nullptr, *SpeedButton2 = nullptr, *SpeedButton3 = nullptr,
               *SpeedButton4 = nullptr, *SpeedButton5 = nullptr, *SpeedButton6 = nullptr;
  TCheckBox *CheckBox1 = nullptr, *CheckBox2 = nullptr, *CheckBox3 = nullptr, *CheckBox4 = nullptr,
            *CheckBox5 = nullptr, *CheckBox6 = nullptr;
  TLabel *Label5 = nullptr, *Label17 = nullptr, *Label6 = nullptr, *Label20 = nullptr, *Label8 = nullptr,
         *Label9 = nullptr, *Label19 = nullptr;
  // Navigation bar.
  TPanel *Panel4 = nullptr;
  TBitBtn *BitBtn1 = nullptr, *BitBtn2 = nullptr, *BitBtn3 = nullptr, *BitBtn5 = nullptr, *BitBtn6 = nullptr;
  TTimer *Timer1 = nullptr, *Timer2 = nullptr, *Timer3 = nullptr;
  TMainMenu *MainMenu1 = nullptr;
  TDBDataSource *DS1 = nullptr;

  // False until a hand-in completes.
  bool HandedIn = false;
  // When the start button was pressed (the exam clock counts from here).
  std::chrono::steady_clock::time_point StartedAt{};

  // The option boxes A to F.
  std::array<TCheckBox *, 6> OptionBoxes() const {
    return {CheckBox1, CheckBox2, CheckBox3, CheckBox4, CheckBox5, CheckBox6};
  }

  // Shows the current row of localDS: stem, options, number, heading, answer indicator, and in
  // review mode the correct answer of an answered question.
  void ShowCurrentQuestion();
  // Whether the question area shows the current row (from the start until the window closes,
  // except while the paper is marked); the dataset's after-scroll hook refreshes it then.
  bool ShowsQuestions() const { return started_ && !marking_; }
  // Stores text as the current row's answer (edit, write, post). When another program holds the
  // database longer than the busy timeout, the edit is undone, ticks taken off the option boxes
  // are put back, and an error says that the answer was not stored and can be given again.
  void StoreAnswer(const std::string &text);
  // Stores an answer of a single-choice or true/false question, moves on and locks the question
  // area for 500 ms.
  void ChooseAnswer(const std::string &answer);
  // Appends the captions of the ticked option boxes (A to F) to target, unticks them and shows
  // target in the answer indicator.
  void CollectTickedOptions(std::string &target);

  void FormCreate(TObject *Sender);
  void FormShow(TObject *Sender);
  void FormActivate(TObject *Sender);
  void FormClose(TObject *Sender, TCloseAction &Action);
  void BitBtn4Click(TObject *Sender);
  void BitBtn1Click(TObject *Sender);
  void BitBtn2Click(TObject *Sender);
  void BitBtn3Click(TObject *Sender);
  void BitBtn5Click(TObject *Sender);
  void BitBtn6Click(TObject *Sender);
  void SpeedButton1Click(TObject *Sender);
  void SpeedButton2Click(TObject *Sender);
  void SpeedButton3Click(TObject *Sender);
  void SpeedButton4Click(TObject *Sender);
  void DBGridEh1MouseDown(TObject *Sender, TMouseButton Button, uint32_t Shift, int X, int Y);
  void DBGridEh1MouseUp(TObject *Sender, TMouseButton Button, uint32_t Shift, int X, int Y);
  void Timer1Timer(TObject *Sender);
  void Timer2Timer(TObject *Sender);
  // Counts the remaining time down and hands the paper in when it runs out.
  void Timer3Timer(TObject *Sender);

  // Minutes left of a timed exam, at least 0.
  int RemainingMinutes() const;

private:
  bool generating_ = false;       // the paper is being generated (the waiting window is up)
  bool paperReady_ = false;       // the paper was generated (or kept to resume) for this window
  bool generationFailed_ = false; // the last generation failed; the start button tries again
  bool started_ = false;          // the start button was pressed (or an interrupted exam resumed)
  bool marking_ = false;          // the hand-in is marking the paper row by row
  bool resumeWanted_ = false;     // the candidate chose to go on with an interrupted exam
  bool handingIn_ = false;        // a hand-in is running (its confirmation or score window may be up)
  // The steps of the hand-in; without confirmation when the exam time ran out.
  void HandIn(bool confirm);
  // Marks every answered row not yet marked, in one transaction.
  void MarkPaper();
  // Generates the paper behind the waiting window; false (after saying why) when it failed, in
  // which case the previous paper is untouched and a later activation or the start button tries
  // again.
  bool GeneratePaper();
  // Generates the paper, or keeps an interrupted one when the candidate chooses to go on with it.
  bool PreparePaper();
  // Reopens the paper view (every question by number), keeping the question on screen current.
  void ReopenPaper();
  // Makes the question with this sNo current in the paper view.
  void GoToQuestion(const std::string &number);
  // Starts the exam: enables the list and the question area, shows the start and remaining time,
  // the count and the first question (resuming: the first unanswered one).
  void StartExam(bool resumed);
  // Next (+1) or previous (-1) button: stores the indicated answer and moves.
  void StepQuestion(int direction);
  // Stores the ticks of a multiple-choice question on screen on its own row.
  void SaveTickedOptions();
};

// The start time as shown: short date, a blank and the long time (no time at midnight).
std::string FormatStartTime(const SYSTEMTIME &time);
// Seconds since 1970-01-01 UTC now, and such a moment as local time.
int64_t WallClockSeconds();
SYSTEMTIME LocalTimeOf(int64_t seconds);

extern Tfmexam *fmexam;

} // namespace qv
