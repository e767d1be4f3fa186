#pragma once
// The editor's window: a menu bar (文件, 编辑, 视图, 帮助), the bank's grid with a popup menu,
// and a status line with the current question and the count. The filter is chosen in 视图.
#include "platform/forms/ExtCtrls.h"
#include "platform/forms/Forms.h"
#include "platform/forms/Menus.h"
#include "tools/bankedit/BankView.h"

#include <memory>
#include <string>
#include <vector>

namespace qv::bankedit {

class TBankForm : public TForm {
public:
  // Opens the database of the connection string; throws when it cannot.
  TBankForm(TComponent *owner, const std::string &connectionString);
  ~TBankForm() override;
  TBankView &View() { return *view_; }
  TPanel &Status() { return *status_; }
  // The menu item with this caption (the text before any tab), searched through the menu bar.
  TMenuItem *MenuItem(const std::string &caption) const;
  TPopupMenu &GridMenu() { return *popup_; }

  // What the menu items do.
  void NewQuestion();
  void DeleteQuestion();
  void ExportTo(const std::string &format, const std::string &path);
  void ImportFrom(const std::string &format, const std::string &path);
  void Filter(const std::string &subject, const std::string &type);

private:
  TMenuItem *AddItem(TMenuItem *parent, const std::string &caption, std::function<void()> click = {});
  void BuildMenus();
  void ChooseExport(const std::string &format);
  void ChooseImport(const std::string &format);
  void ShowStatus();
  void CheckFilterItems();

  TConnection connection_;
  std::unique_ptr<TBankView> view_;
  TMainMenu *menu_ = nullptr;
  TPopupMenu *popup_ = nullptr;
  TPanel *status_ = nullptr;
  std::string subject_, type_;
  std::vector<std::pair<TMenuItem *, std::string>> subjectItems_, typeItems_;
};

// Runs the window until it is closed; a database that cannot be opened is shown in a box.
int RunBankWindow(const std::string &connectionString);

} // namespace qv::bankedit
