// The framework's side: the application object, a form loaded from its layout resource with the
// controls of a login window, shown by the message loop; its first paint is reported.
#include "platform/classes/ClassBuilder.h"
#include "platform/forms/Buttons.h"
#include "platform/forms/ExtCtrls.h"
#include "platform/forms/Forms.h"
#include "platform/forms/StdCtrls.h"

#include <windows.h>

namespace qv {

class TBenchForm : public TForm {
  QV_DECLARE_CLASS(TBenchForm)
public:
  explicit TBenchForm(TComponent *owner) : TForm(owner) {
    RegisterHandler("FormShow", this, &TBenchForm::FormShow);
    CreateFromLayout();
    TWndMethod previous = WindowProc;
    WindowProc = [this, previous](TMessage &m) {
      previous(m);
      if (m.Msg == WM_PAINT && !done_) {
        done_ = true;
        if (Painted) SetEvent(Painted);
        Close();
      }
    };
  }
  void FormShow(TObject *) { static_cast<TEdit *>(FindComponent("Edit1"))->SetText("001"); }
  HANDLE Painted = nullptr;

private:
  bool done_ = false;
};

const TClassInfo &TBenchForm::StaticClassInfo() {
  static const TClassInfo &info = DefineClass<TBenchForm, TForm>("TBenchForm", [](auto &) {});
  return info;
}

} // namespace qv

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR cmd, int) {
  using namespace qv;
  Application->Initialize();
  TBenchForm *form = nullptr;
  Application->CreateForm(form);
  form->Painted = OpenEventA(EVENT_MODIFY_STATE, FALSE, cmd);
  Application->Run();
  return 0;
}
