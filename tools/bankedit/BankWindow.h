#pragma once
// The editor's window: the bank's grid over the whole client area.
#include "platform/forms/Forms.h"
#include "tools/bankedit/BankView.h"

#include <memory>
#include <string>

namespace qv::bankedit {

class TBankForm : public TForm {
public:
  // Opens the database of the connection string; throws when it cannot.
  TBankForm(TComponent *owner, const std::string &connectionString);
  ~TBankForm() override;
  TBankView &View() { return *view_; }

private:
  TConnection connection_;
  std::unique_ptr<TBankView> view_;
};

// Runs the window until it is closed; a database that cannot be opened is shown in a box.
int RunBankWindow(const std::string &connectionString);

} // namespace qv::bankedit
