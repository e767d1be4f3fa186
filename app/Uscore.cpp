#include "app/Uscore.h"

#include "app/uDM.h"
#include "platform/classes/ClassBuilder.h"

namespace qv {

TfmScore *fmScore = nullptr;

const TClassInfo &TfmScore::StaticClassInfo() {
  static const TClassInfo &info = DefineClass<TfmScore, TForm>("TfmScore", [](auto &) {});
  return info;
}

TfmScore::TfmScore(TComponent *owner) : TForm(owner) {
  RegisterHandler("FormShow", this, &TfmScore::FormShow);
  RegisterHandler("Button1Click", this, &TfmScore::Button1Click);
  TLabel **labels[] = {&Label1, &Label2,  &Label3,  &Label4,  &Label5,  &Label6,  &Label7, &Label8,
                       &Label9, &Label10, &Label11, &Label12, &Label13, &Label14, &Label15};
  for (int i = 0; i < 15; ++i)
    BindField("Label" + std::to_string(i + 1), *labels[i]);
  BindField("Button1", Button1);
  BindField("ADO1", ADO1);
  CreateFromLayout();
}

TfmScore::~TfmScore() {
  DestroyComponents();
  if (fmScore == this) fmScore = nullptr;
}

void TfmScore::FormShow(TObject *) {
  struct Figure {
    TLabel *Label;
    const char *Statement;
    const char *Column;
  };
  const Figure figures[] = {
      {Label14, "select count(sNo) as countsNo from testpaper where result1<>NUll", "countsNo"},
      {Label15, "select sum(eQfen) as sumeQfen from testpaper where right([result1],1)='√' and result1<>NUll",
       "sumeQfen"},
      {Label6,
       "select count(sNo) as ss from testpaper where  right([result1],1)='√' and eQtype='单项选择'  and "
       "result1<>NUll",
       "ss"},
      {Label7,
       "select count(sNo) as ss from testpaper where right([result1],1)='×' and eQtype='单项选择'  and "
       "result1<>NUll",
       "ss"},
      {Label8,
       "select count(sNo) as ss from testpaper where  right([result1],1)='√' and eQtype='多项选择'  and "
       "result1<>NUll",
       "ss"},
      {Label9,
       "select count(sNo) as ss from testpaper where right([result1],1)='×' and eQtype='多项选择'  and "
       "result1<>NUll",
       "ss"},
      {Label10,
       "select count(sNo) as ss from testpaper where  right([result1],1)='√' and eQtype='判断题'  and "
       "result1<>NUll",
       "ss"},
      {Label11,
       "select count(sNo) as ss from testpaper where  right([result1],1)='×' and eQtype='判断题'  and "
       "result1<>NUll",
       "ss"},
  };
  for (const Figure &figure : figures) {
    ADO1->Close();
    ADO1->ClearSQL();
    ADO1->SetSQL(figure.Statement);
    ADO1->Open();
    figure.Label->SetCaption(ADO1->FieldByName(figure.Column)->AsString());
  }
  // The sum over no right answer is null: the total reads 0 rather than nothing.
  if (Label15->Caption().empty()) Label15->SetCaption("0");
}

void TfmScore::Button1Click(TObject *) { Close(); }

} // namespace qv
