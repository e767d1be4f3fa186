#include "app/uDM.h"

#include "app/Uexam.h"
#include "app/uLogin.h"
#include "platform/classes/ClassBuilder.h"
#include "platform/data/Connection.h"
#include "platform/data/Query.h"
#include "platform/data/Schema.h"
#include "platform/data/SqlText.h"
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

namespace {

// The captions of the login window's ticked subject boxes, in child order.
std::vector<std::string> TickedSubjects() {
  std::vector<std::string> subjects;
  TGroupBox *group = fmlogin->GroupBox1;
  for (int i = 0; i < group->ControlCount(); ++i) {
    auto *box = dynamic_cast<TCheckBox *>(group->Controls(i));
    if (box && box->Checked()) subjects.push_back(box->Caption());
  }
  return subjects;
}

} // namespace

void TfmDM::BuildPaper() {
  // One transaction: a failure anywhere leaves the previous paper as it was, never half a paper,
  // and the numbering posts reach the disk in one commit instead of one per row.
  TTransaction transaction(*ADOConnection1);
  localDS->Close();
  localDS->ClearSQL();
  localDS->SetSQL("delete from testpaper");
  localDS->ExecSQL();
  localDS->Close();

  for (const std::string &subject : TickedSubjects()) {
    localDS->Close();
    localDS->SetSQL("insert into testpaper select * from examQuestion where eQZY=" + QuotedStr(subject) +
                    " order by eQZY,eQtype");
    localDS->ExecSQL();
  }

  localDS->Close();
  localDS->SetSQL("select * from testpaper order by eQZY,eQtype,eQno");
  localDS->Open();
  int counter = 1;
  while (!localDS->Eof()) {
    if (localDS->State() == TDataSetState::dsBrowse) localDS->Edit();
    localDS->FieldByName("sNo")->SetAsInteger(counter++);
    localDS->Post();
    localDS->Next();
  }
  transaction.Commit();
}

namespace {

// The first column of the first row of a select over the paper, as text ("" for none or null).
std::string ScalarText(TfmDM &dm, const std::string &sql) {
  TQuery query(dm.ADOConnection1);
  query.SetSQL(sql);
  query.Open();
  return query.IsEmpty() ? std::string() : query.Fields(0)->AsString();
}

} // namespace

bool TfmDM::PaperInterrupted() {
  return ScalarText(*this, "select count(*) from testpaper where sno>0 and result1 is not null") != "0" &&
         ScalarText(*this, "select count(*) from testpaper where result1 like '% √' or result1 like '% ×'") ==
             "0";
}

std::string TfmDM::FirstUnansweredQuestion() {
  return ScalarText(*this, "select min(sNo) from testpaper where sno>0 and result1 is null");
}

void TfmDM::localDSBeforeScroll(TDataSet *) {
  if (!fmexam) return;
  if (localDS->FieldByName("eQtype")->AsString() != kMultipleChoice) return;
  std::string ticked;
  fmexam->CollectTickedOptions(ticked);
  if (localDS->State() == TDataSetState::dsInsert || ticked.empty()) return;
  fmexam->StoreAnswer(ticked);
  fmexam->Label9->SetCaption(ticked);
  fmexam->ShowCurrentQuestion();
}

void TfmDM::localDSAfterScroll(TDataSet *) {
  if (!fmexam) return;
  Tfmexam &exam = *fmexam;
  std::string type = localDS->FieldByName("eQtype")->AsString();
  bool single = type == kSingleChoice, trueFalse = type == kTrueFalse, multiple = type == kMultipleChoice;
  if (!single && !trueFalse && !multiple) return;

  for (TCheckBox *box : exam.OptionBoxes())
    box->SetVisible(multiple);
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
  for (int i = 0; i < 6; ++i)
    areas[i]->SetVisible(i < 4 ? !trueFalse : multiple);

  if (multiple) exam.CollectTickedOptions(ChoiceBuffer);
  // Whatever moved the paper (navigation bar, answer buttons, the question list's mouse, wheel,
  // keys or scroll bar), the question area shows the new current row before the next answer.
  if (exam.ShowsQuestions()) exam.ShowCurrentQuestion();
}

} // namespace qv
