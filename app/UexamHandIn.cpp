// Hand-in, marking, the score report, review mode and the exam clock of the exam window.
#include "app/Uexam.h"
#include "app/Uscore.h"
#include "app/uDM.h"
#include "platform/base/ScopeExit.h"
#include "platform/base/Text.h"
#include "platform/data/Connection.h"
#include "platform/forms/Dialogs.h"

#include <string_view>

namespace qv {

void Tfmexam::BitBtn6Click(TObject *) { HandIn(true); }

void Tfmexam::HandIn(bool confirm) {
  if (handingIn_) return;
  auto busy = ScopedFlag(handingIn_);

  TDBQuery *ds = fmDM->localDS;
  // The ticks of a multiple-choice question on screen are stored on it first, wherever it is in
  // the paper; moving to the last row then saves nothing more. An unanswered last question stays
  // in the paper: unanswered rows are never marked or counted.
  SaveTickedOptions();
  ds->Last();
  if (ds->State() == TDataSetState::dsEdit) ds->Post();

  if (confirm && MessageDlg("你确认要交卷吗？确认请点击Yes,否则请点No", TMsgDlgType::mtConfirmation,
                            mbYes | mbNo) != mrYes) {
    return;
  }
  Timer3->SetEnabled(false);
  MarkPaper();

  if (!confirm) ShowMessage("考试时间到，试卷已自动交卷。");

  if (!fmScore) Application->CreateForm(fmScore);
  fmScore->ShowModal();

  if (!ds->Eof() && ds->State() == TDataSetState::dsBrowse) {
    ds->Next();
  } else if (!ds->Eof() && ds->State() == TDataSetState::dsEdit) {
    ds->Post();
    ds->Prior();
  }

  DBGridEh1->SetReadOnly(true);
  Panel3->SetEnabled(false);
  Timer2->SetEnabled(true);
  HandedIn = true;
}

namespace {

// A marked answer ends in " √" or " ×"; the candidate's own answers never do.
bool IsMarked(const std::string &answer) {
  auto endsWith = [&](std::string_view mark) {
    return answer.size() >= mark.size() &&
           answer.compare(answer.size() - mark.size(), mark.size(), mark) == 0;
  };
  return endsWith(" √") || endsWith(" ×");
}

} // namespace

void Tfmexam::MarkPaper() {
  // One transaction: a failure marks nothing, the exam goes on over the whole paper, and the
  // hand-in can be repeated. A row already marked (by an earlier hand-in whose score window
  // never came) keeps its mark instead of being marked again.
  TDBQuery *ds = fmDM->localDS;
  {
    // On failure the marks are rolled back: the exam goes on over the whole paper as it was.
    TScopeExit reopen([this, ds] {
      if (ds->State() != TDataSetState::dsBrowse) ds->Cancel();
      ReopenPaper();
    });
    auto quiet = ScopedFlag(marking_);
    TTransaction transaction(*fmDM->ADOConnection1);
    ds->Close();
    ds->ClearSQL();
    ds->SetSQL("select * from testpaper where result1<>NUll order by sno");
    ds->Open();
    while (!ds->Eof()) {
      std::string answer = ds->FieldByName("result1")->AsString();
      if (!IsMarked(answer)) {
        if (ds->State() == TDataSetState::dsBrowse) ds->Edit();
        std::string key = Trim(ds->FieldByName("eQright")->AsString());
        ds->FieldByName("result1")->SetAsString(Trim(answer) + (answer == key ? " √" : " ×"));
        ds->Post();
      }
      ds->Next();
    }
    transaction.Commit();
    reopen.Dismiss();
  }
  ds->Close();
  ds->Open();
}

void Tfmexam::Timer2Timer(TObject *) {
  ReopenPaper();
  Timer2->SetEnabled(false);
}

int Tfmexam::RemainingMinutes() const {
  auto elapsed =
      std::chrono::duration_cast<std::chrono::minutes>(std::chrono::steady_clock::now() - StartedAt);
  long long left = ExamMinutes - elapsed.count();
  return left > 0 ? static_cast<int>(left) : 0;
}

void Tfmexam::Timer3Timer(TObject *) {
  if (HandedIn || ExamMinutes <= 0) {
    Timer3->SetEnabled(false);
    return;
  }
  int left = RemainingMinutes();
  Label16->SetCaption(std::to_string(left) + "分钟");
  // A hand-in already under way (its confirmation is up) is left to finish; the next tick
  // hands in if it was declined.
  if (left == 0 && !handingIn_) HandIn(false);
}

} // namespace qv
