#include "tools/bankedit/BankWindow.h"

#include "platform/base/Text.h"

namespace qv::bankedit {

namespace {
const char kTitle[] = "题库编辑";
}

TBankForm::TBankForm(TComponent *owner, const std::string &connectionString) : TForm(owner) {
  SetCaption(kTitle);
  SetClientWidth(960);
  SetClientHeight(560);
  OpenBankDatabase(connection_, connectionString);
  view_ = std::make_unique<TBankView>(this, this, connection_);
  view_->Grid().SetAlign(TAlign::alClient);
}

TBankForm::~TBankForm() {
  // A pending edit is posted (or refused) while everything it needs is still there.
  view_.reset();
}

int RunBankWindow(const std::string &connectionString) {
  Application->Initialize();
  RegisterGridClasses();
  Application->SetTitle(kTitle);
  try {
    new TBankForm(Application, connectionString); // the application owns its main form
    Application->Run();
    Application->DestroyComponents();
  } catch (const std::exception &e) {
    MessageBoxW(nullptr, Widen(e.what()).c_str(), Widen(kTitle).c_str(), MB_OK | MB_ICONSTOP);
    return 1;
  }
  return 0;
}

} // namespace qv::bankedit
