// Question display and answer capture of the exam window.
#include "app/Uexam.h"
#include "app/uDM.h"
#include "platform/data/DataError.h"

namespace qv {

void Tfmexam::ShowCurrentQuestion() {
  TDBQuery *ds = fmDM->localDS;
  auto text = [ds](const char *field) { return ds->FieldByName(field)->AsString(); };
  Memo1->SetText(text("eQName"));
  TMemo *areas[] = {Memo2, Memo3, Memo4, Memo5, Memo6, Memo7};
  const char *options[] = {"QA", "QB", "QC", "QD", "QE", "QF"};
  for (int i = 0; i < 6; ++i)
    areas[i]->SetText(text(options[i]));
  Label20->SetCaption(text("sno"));
  Label21->SetCaption(text("eQZY") + " " + text("eQtype"));
  std::string answer = text("result1");
  Label9->SetCaption(answer);
  bool showKey = HandedIn && !answer.empty();
  Label19->SetVisible(showKey);
  DBEdit1->SetVisible(showKey);
}

void Tfmexam::StoreAnswer(const std::string &text) {
  TDBQuery *ds = fmDM->localDS;
  try {
    ds->Edit();
    ds->FieldByName("result1")->SetAsString(text);
    ds->Post();
  } catch (const EDatabaseLocked &e) {
    // Nothing was stored: the row and the screen go back to the stored answer (ticks the
    // candidate gave stay ticked) and the candidate is told to answer again.
    ds->Cancel();
    if (ds->FieldByName("eQtype")->AsString() == kMultipleChoice)
      for (TCheckBox *box : OptionBoxes())
        if (text.find(box->Caption()) != std::string::npos) box->SetChecked(true);
    Label9->SetCaption(ds->FieldByName("result1")->AsString());
    std::string statement = e.Message().substr(e.Message().find('\n') + 1);
    throw EDatabaseError("答案没有保存：数据库正被其他程序占用。请稍候再作答一次。\n" + statement);
  }
}

void Tfmexam::ChooseAnswer(const std::string &answer) {
  TDBQuery *ds = fmDM->localDS;
  // The answer is stored on the question on screen, also on the last one (end flag set), where
  // the candidate may change it again; then the next question is shown.
  if (!ds->IsEmpty()) {
    if (ds->State() != TDataSetState::dsBrowse) ds->Post();
    StoreAnswer(answer);
    Label9->SetCaption(answer);
    if (!ds->Eof()) ds->Next();
    ShowCurrentQuestion();
  }
  // Clicks in the question area are ignored for 500 ms, so that a double click cannot answer the
  // next question as well.
  Panel3->SetEnabled(false);
  Timer1->SetEnabled(true);
}

void Tfmexam::SpeedButton1Click(TObject *Sender) {
  if (auto *button = dynamic_cast<TSpeedButton *>(Sender)) ChooseAnswer(button->Caption());
}
void Tfmexam::SpeedButton2Click(TObject *Sender) {
  if (auto *button = dynamic_cast<TSpeedButton *>(Sender)) ChooseAnswer(button->Caption());
}
void Tfmexam::SpeedButton3Click(TObject *Sender) {
  if (auto *button = dynamic_cast<TSpeedButton *>(Sender)) ChooseAnswer(button->Caption());
}
void Tfmexam::SpeedButton4Click(TObject *Sender) {
  if (auto *button = dynamic_cast<TSpeedButton *>(Sender)) ChooseAnswer(button->Caption());
}

void Tfmexam::Timer1Timer(TObject *) {
  Panel3->SetEnabled(true);
  Timer1->SetEnabled(false);
}

void Tfmexam::CollectTickedOptions(std::string &target) {
  for (int i = 0; i < Panel3->ControlCount(); ++i) {
    auto *box = dynamic_cast<TCheckBox *>(Panel3->Controls(i));
    if (!box || !box->Checked()) continue;
    target += box->Caption();
    box->SetChecked(false);
    Label9->SetCaption(target);
  }
}

} // namespace qv
