#pragma once
// The score window: answered questions, total points of the right answers, and the right and
// wrong counts per question type, read from the marked test paper when the window is shown.
#include "app/DataComponents.h"
#include "platform/forms/Forms.h"
#include "platform/forms/StdCtrls.h"

namespace qv {

class TfmScore : public TForm {
  QV_DECLARE_CLASS(TfmScore)
public:
  explicit TfmScore(TComponent *owner);
  ~TfmScore() override;

  TLabel *Label1 = nullptr, *Label2 = nullptr, *Label3 = nullptr, *Label4 = nullptr, *Label5 = nullptr;
  TLabel *Label6 = nullptr, *Label7 = nullptr, *Label8 = nullptr, *Label9 = nullptr, *Label10 = nullptr,
         *Label11 = nullptr;
  TLabel *Label12 = nullptr, *Label13 = nullptr, *Label14 = nullptr, *Label15 = nullptr;
  TButton *Button1 = nullptr;
  TDBQuery *ADO1 = nullptr;

  // Runs the eight counting statements and fills the value labels.
  void FormShow(TObject *Sender);
  void Button1Click(TObject *Sender);
};

extern TfmScore *fmScore;

} // namespace qv
