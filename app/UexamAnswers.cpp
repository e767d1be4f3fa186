// Question display and answer capture of the exam window.
#include "app/Uexam.h"
#include "app/uDM.h"

namespace qv {

void Tfmexam::ShowCurrentQuestion() {
  TDBQuery *ds = fmDM->localDS;
  auto text = [ds](const char *field) { return ds->FieldByName(field)->AsString(); };
  Memo1->SetText(text("eQName"));
  TMemo *areas[] = {Memo2, Memo3, Memo4, Memo5, Memo6, Memo7};
  const char *options[] = {"QA", "QB", "QC", "QD", "QE", "QF"};
  for (int i = 0; i < 6; ++i) areas[i]->SetText(text(options[i]));
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
  ds->Edit();
  ds->FieldByName("result1")->SetAsString(text);
  ds->Post();
}

void Tfmexam::ChooseAnswer(const std::string &answer) {
  TDBQuery *ds = fmDM->localDS;
  if (!ds->Eof() && ds->State() == TDataState::Browse) {
    StoreAnswer(answer);
    Label9->SetCaption(answer);
    ds->Next();
    ShowCurrentQuestion();
  } else if (!ds->Eof() && ds->State() == TDataState::Edit) {
    ds->Post();
    ds->Edit();
    ds->FieldByName("result1")->SetAsString(answer);
    Label9->SetCaption(answer);
    ds->Next();
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
