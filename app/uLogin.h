#pragma once
// The login window: the candidate's fixed identity, the subject boxes, OK and Cancel. It is the
// application's main window.
#include "platform/forms/Buttons.h"
#include "platform/forms/ExtCtrls.h"
#include "platform/forms/Forms.h"
#include "platform/forms/StdCtrls.h"

namespace qv {

class Tfmlogin : public TForm {
  QV_DECLARE_CLASS(Tfmlogin)
public:
  explicit Tfmlogin(TComponent *owner);

  TImage *Image1 = nullptr;
  TLabel *Label1 = nullptr, *Label2 = nullptr, *Label3 = nullptr, *Label4 = nullptr, *Label5 = nullptr,
         *Label6 = nullptr, *Label7 = nullptr, *Label8 = nullptr;
  TEdit *Edit1 = nullptr, *Edit2 = nullptr;
  TGroupBox *GroupBox1 = nullptr;
  TCheckBox *CheckBox1 = nullptr, *CheckBox2 = nullptr, *CheckBox3 = nullptr, *CheckBox4 = nullptr,
            *CheckBox5 = nullptr, *CheckBox6 = nullptr, *CheckBox7 = nullptr;
  TBitBtn *BitBtn1 = nullptr, *BitBtn2 = nullptr;

  // Fills the demo candidate's identity.
  void FormShow(TObject *Sender);
  // Enter in the ID card field moves to the admission number; the character passes on.
  void Edit1KeyPress(TObject *Sender, wchar_t &Key);
  // Enter in the admission number moves to OK.
  void Edit2KeyPress(TObject *Sender, wchar_t &Key);
  // OK: opens the exam window modally, then closes this window.
  void BitBtn1Click(TObject *Sender);
  // Cancel: clears the ID card field and closes the window, which ends the application.
  void BitBtn2Click(TObject *Sender);
};

extern Tfmlogin *fmlogin;

} // namespace qv
