#include "app/uDM.h"

#include "app/Uexam.h"
#include "app/uLogin.h"
#include "platform/classes/ClassBuilder.h"
#include "platform/forms/ExtCtrls.h"
#include "platform/forms/StdCtrls.h"


namespace qv {

TfmDM *fmDM = nullptr;
std::string ChoiceBuffer;
int ExamMinutes = 0;

const TClassInfo &TfmDM::StaticClassInfo() {
  static const TClassInfo &info = DefineClass<TfmDM, TDataModule>("TfmDM", [](auto &) {});
  return info;
}

TfmDM::TfmDM(TComponent *owner) : TDataModule(owner) {
  RegisterClasses<TDBConnection, TDBQuery>();
  RegisterHandler("localDSBeforeScroll", this, &TfmDM::localDSBeforeScroll);
  RegisterHandler("localDSAfterScroll", this, &TfmDM::localDSAfterScroll);
  BindField("ADOConnection1", ADOConnection1);
  BindField("localDS", localDS);
  CreateFromLayout();
  ExamMinutes = ReadExamMinutes(*ADOConnection1);
}

TfmDM::~TfmDM() {
  DestroyComponents();
  if (fmDM == this) fmDM = nullptr;
}

void TfmDM::BuildPaper() {
  localDS->Close();
  localDS->ClearSQL();
  localDS->SetSQL("delete from testpaper");
  localDS->ExecSQL();
  localDS->Close();

  TGroupBox *subjects = fmlogin->GroupBox1;
  for (int i = 0; i < subjects->ControlCount(); ++i) {
    auto *box = dynamic_cast<TCheckBox *>(subjects->Controls(i));
    if (!box || !box->Checked()) continue;
    localDS->Close();
    localDS->SetSQL("insert into testpaper select * from examQuestion where eQZY='" + box->Caption() +
                    "' order by eQZY,eQtype");
    localDS->ExecSQL();
  }

  localDS->Close();
  localDS->SetSQL("select * from testpaper order by eQZY,eQtype,eQno");
  localDS->Open();
  int counter = 1;
  while (!localDS->Eof()) {
    if (localDS->State() == TDataState::Browse) localDS->Edit();
    localDS->FieldByName("sNo")->SetAsInteger(counter++);
    localDS->Post();
    localDS->Next();
  }
}

void TfmDM::localDSBeforeScroll(TDataSet *) {
  if (!fmexam) return;
  if (localDS->FieldByName("eQtype")->AsString() != kMultipleChoice) return;
  std::string ticked;
  fmexam->CollectTickedOptions(ticked);
  if (localDS->State() == TDataState::Insert || ticked.empty()) return;
  localDS->Edit();
  localDS->FieldByName("result1")->SetAsString(ticked);
  localDS->Post();
  fmexam->Label9->SetCaption(ticked);
  fmexam->ShowCurrentQuestion();
}

void TfmDM::localDSAfterScroll(TDataSet *) {
  if (!fmexam) return;
  Tfmexam &exam = *fmexam;
  std::string type = localDS->FieldByName("eQtype")->AsString();
  bool single = type == kSingleChoice, trueFalse = type == kTrueFalse, multiple = type == kMultipleChoice;
  if (!single && !trueFalse && !multiple) return;

  for (TCheckBox *box : exam.OptionBoxes()) box->SetVisible(multiple);
  exam.SpeedButton1->SetVisible(!multiple);
  exam.SpeedButton2->SetVisible(!multiple);
  if (!multiple) {
    exam.SpeedButton1->SetCaption(trueFalse ? "对" : "A");
    exam.SpeedButton2->SetCaption(trueFalse ? "错" : "B");
  }
  exam.SpeedButton3->SetVisible(single);
  exam.SpeedButton4->SetVisible(single);
  exam.SpeedButton5->SetVisible(false);
  exam.SpeedButton6->SetVisible(false);
  TMemo *areas[] = {exam.Memo2, exam.Memo3, exam.Memo4, exam.Memo5, exam.Memo6, exam.Memo7};
  for (int i = 0; i < 6; ++i) areas[i]->SetVisible(i < 4 ? !trueFalse : multiple);

  if (multiple) exam.CollectTickedOptions(ChoiceBuffer);
}

} // namespace qv
