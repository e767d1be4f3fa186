#pragma once
// The data module: the database connection and the test paper dataset `localDS` that every
// window reads and moves, the paper's generation, and the scroll hooks that switch the exam
// window's answer controls and save the ticks of a multiple-choice question on leaving it.
#include "app/DataComponents.h"
#include "platform/forms/Forms.h"

#include <string>

namespace qv {

// The three question types as stored in eQtype.
inline constexpr const char *kSingleChoice = "单项选择";
inline constexpr const char *kMultipleChoice = "多项选择";
inline constexpr const char *kTrueFalse = "判断题";

class TfmDM : public TDataModule {
  QV_DECLARE_CLASS(TfmDM)
public:
  // Loads the layout, which opens the connection from server.udl (a failure throws), then reads
  // the exam duration into ExamMinutes.
  explicit TfmDM(TComponent *owner);
  ~TfmDM() override;

  TDBConnection *ADOConnection1 = nullptr;
  TDBQuery *localDS = nullptr;

  // Rebuilds the test paper from the subject boxes ticked on the login window: deletes the old
  // paper, copies every bank question of each ticked subject, numbers the rows 1..N by subject,
  // type and number. Leaves localDS open on the numbering statement with the end flag set.
  void BuildPaper();

  // Whether the test paper holds answers of an exam that was never handed in (no row marked).
  bool PaperInterrupted();
  // The sNo of the first unanswered question of the paper ("" when every question is answered).
  std::string FirstUnansweredQuestion();

  // Saves the ticks of a multiple-choice question that is being left.
  void localDSBeforeScroll(TDataSet *DataSet);
  // Switches the exam window's answer controls to the type of the new current question.
  void localDSAfterScroll(TDataSet *DataSet);
};

extern TfmDM *fmDM;
// Ticks collected by the after-scroll hook; appended to, never cleared.
extern std::string ChoiceBuffer;
// The exam duration in minutes (0: untimed).
extern int ExamMinutes;

} // namespace qv
