// The login window.
#include "app/uLogin.h"

#include "app/Uexam.h"

#include "platform/classes/ClassBuilder.h"
#include "skin/WinSkinData.h"
#include "skin/WinSkinManage.h"

namespace qv {

Tfmlogin *fmlogin = nullptr;

const TClassInfo &Tfmlogin::StaticClassInfo() {
  static const TClassInfo &info = DefineClass<Tfmlogin, TForm>("Tfmlogin", [](auto &) {});
  return info;
}

Tfmlogin::Tfmlogin(TComponent *owner) : TForm(owner) {
  RegisterHandler("FormShow", this, &Tfmlogin::FormShow);
  RegisterHandler("Edit1KeyPress", this, &Tfmlogin::Edit1KeyPress);
  RegisterHandler("Edit2KeyPress", this, &Tfmlogin::Edit2KeyPress);
  RegisterHandler("BitBtn1Click", this, &Tfmlogin::BitBtn1Click);
  RegisterHandler("BitBtn2Click", this, &Tfmlogin::BitBtn2Click);
  BindField("Image1", Image1);
  BindField("Label1", Label1);
  BindField("Label2", Label2);
  BindField("Label3", Label3);
  BindField("Label4", Label4);
  BindField("Label5", Label5);
  BindField("Label6", Label6);
  BindField("Label7", Label7);
  BindField("Label8", Label8);
  BindField("Edit1", Edit1);
  BindField("Edit2", Edit2);
  BindField("GroupBox1", GroupBox1);
  BindField("CheckBox1", CheckBox1);
  BindField("CheckBox2", CheckBox2);
  BindField("CheckBox3", CheckBox3);
  BindField("CheckBox4", CheckBox4);
  BindField("CheckBox5", CheckBox5);
  BindField("CheckBox6", CheckBox6);
  BindField("CheckBox7", CheckBox7);
  BindField("BitBtn1", BitBtn1);
  BindField("BitBtn2", BitBtn2);
  RegisterSkinClasses();
  // SkinData1 creates the skin manager when its layout is loaded: every window is skinned from then.
  UseSkinManager();
  CreateFromLayout();
}

void Tfmlogin::FormShow(TObject *) {
  Edit1->SetText("001");
  Label4->SetCaption("张三");
  Edit2->SetText("001");
}

void Tfmlogin::Edit1KeyPress(TObject *, wchar_t &Key) {
  if (Key == VK_RETURN) Edit2->SetFocus();
}

void Tfmlogin::Edit2KeyPress(TObject *, wchar_t &Key) {
  if (Key == VK_RETURN) BitBtn1->SetFocus();
}

void Tfmlogin::BitBtn1Click(TObject *) {
  if (fmexam) return;
  Application->CreateForm(fmexam);
  fmexam->ShowModal();
  Close();
}

void Tfmlogin::BitBtn2Click(TObject *) {
  Edit1->SetText("");
  Close();
}

} // namespace qv
