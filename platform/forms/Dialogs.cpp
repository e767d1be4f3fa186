// Message dialogs.
#include "platform/forms/Dialogs.h"

#include "platform/classes/ClassBuilder.h"

#include <memory>

namespace qv {

namespace {

// The dialog's icon: a system icon drawn by its parent.
class TDialogIcon : public TGraphicControl {
public:
  TDialogIcon(TComponent *owner, LPCWSTR id) : TGraphicControl(owner), icon_(LoadIconW(nullptr, id)) {
    SetBounds(0, 0, 32, 32);
  }

protected:
  void Paint() override {
    if (icon_) DrawIconEx(Canvas().Handle(), 0, 0, icon_, 32, 32, 0, nullptr, DI_NORMAL);
  }

private:
  HICON icon_;
};

struct TButtonSpec {
  uint32_t Flag;
  const char *Caption;
  int Result;
};
const TButtonSpec kButtons[] = {
    {mbYes, "&Yes", mrYes},          {mbNo, "&No", mrNo},          {mbOK, "OK", mrOk},
    {mbCancel, "Cancel", mrCancel},  {mbAbort, "&Abort", mrAbort}, {mbRetry, "&Retry", mrRetry},
    {mbIgnore, "&Ignore", mrIgnore}, {mbAll, "&All", mrAll}};

} // namespace

const TClassInfo &TMessageForm::StaticClassInfo() {
  static const TClassInfo &info = DefineClass<TMessageForm, TForm>("TMessageForm", [](auto &) {});
  return info;
}

TMessageForm::TMessageForm(TComponent *owner) : TForm(owner) {
  SetBorderStyle(TFormBorderStyle::bsDialog);
  SetPosition(TPosition::poScreenCenter);
  Font().SetName("宋体");
  Font().SetHeight(-12);
}

TMessageForm *CreateMessageDialog(const std::string &text, TMsgDlgType type, uint32_t buttons) {
  if (buttons == 0) buttons = mbOK;
  auto form = std::make_unique<TMessageForm>(nullptr);
  static const char *titles[] = {"Warning", "Error", "Information", "Confirm", ""};
  static const LPCWSTR icons[] = {IDI_WARNING, IDI_ERROR, IDI_INFORMATION, IDI_QUESTION, nullptr};
  int t = static_cast<int>(type);
  form->SetCaption(type == TMsgDlgType::mtCustom ? Application->Title() : titles[t]);

  const int margin = 8, gap = 10, buttonW = 75, buttonH = 25, buttonGap = 6;
  int x = margin + 4;
  if (icons[t]) {
    auto *icon = new TDialogIcon(form.get(), icons[t]);
    icon->SetParent(form.get());
    icon->SetBounds(x, margin + 4, 32, 32);
    x += 32 + gap + 4;
  }
  auto *label = new TLabel(form.get());
  label->SetName("Message");
  label->SetParent(form.get());
  label->SetShowAccelChar(false);
  label->SetCaption(text);
  label->SetLeft(x);
  label->SetTop(margin + 4);
  form->Message = label;

  int count = 0;
  for (const TButtonSpec &b : kButtons)
    if (buttons & b.Flag) ++count;
  int buttonsW = count * buttonW + (count - 1) * buttonGap;
  int clientW = std::max(label->Left() + label->Width() + margin + 4, buttonsW + 2 * margin + 8);
  int top = std::max(label->Top() + label->Height(), margin + 36) + gap + 4;
  int bx = (clientW - buttonsW) / 2;
  uint32_t defaultFlag = (buttons & mbOK) ? mbOK : (buttons & mbYes) ? mbYes : 0;
  uint32_t cancelFlag = (buttons & mbCancel) ? mbCancel
                        : (buttons & mbNo)   ? mbNo
                        : (buttons & mbOK)   ? mbOK
                                             : 0;
  TButton *first = nullptr;
  for (const TButtonSpec &b : kButtons) {
    if (!(buttons & b.Flag)) continue;
    auto *btn = new TButton(form.get());
    btn->SetParent(form.get());
    btn->SetCaption(b.Caption);
    btn->SetModalResult(b.Result);
    btn->SetBounds(bx, top, buttonW, buttonH);
    btn->SetDefault(b.Flag == defaultFlag);
    btn->SetCancel(b.Flag == cancelFlag);
    if (b.Flag == defaultFlag || !first) first = (b.Flag == defaultFlag || !first) ? btn : first;
    bx += buttonW + buttonGap;
  }
  form->SetClientWidth(clientW);
  form->SetClientHeight(top + buttonH + margin + 4);
  if (first) form->SetActiveControl(first);
  return form.release();
}

int MessageDlg(const std::string &text, TMsgDlgType type, uint32_t buttons) {
  std::unique_ptr<TMessageForm> form(CreateMessageDialog(text, type, buttons));
  return form->ShowModal();
}

void ShowMessage(const std::string &text) { Application->MessageBox(text, {}, MB_OK); }

} // namespace qv
