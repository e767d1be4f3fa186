#pragma once
// The process's skin manager: a computer-based-training hook on the GUI thread sees every window
// the program creates, activates and destroys; qualifying top-level windows get a form skinner
// (TWinSkinForm), menu windows are registered for the menu skinner, and skinning is switched on,
// off or refreshed by commands carried out a short while after they are posted. The choice rules
// that give each child control its skinner live here too.
#include "platform/forms/Controls.h"

#include "skin/SkinManagerLink.h"
#include "skin/WinSkinPopMenu.h"

#include <windows.h>

#include <string>
#include <vector>

namespace qv {

class TSkinData;
class TWinSkinForm;
class TCustomForm;

class TSkinManage {
public:
  TSkinManage();
  ~TSkinManage();
  TSkinManage(const TSkinManage &) = delete;
  TSkinManage &operator=(const TSkinManage &) = delete;

  // Installs the window hook on the calling thread (once).
  void InstallHook();
  bool HookInstalled() const { return hook_ != nullptr; }

  void RegisterSkinData(TSkinData *data);
  void UnregisterSkinData(TSkinData *data);
  // Every form skinner that uses data re-reads its skin objects (a new skin was loaded).
  void ReloadSkinners(TSkinData *data);
  const std::vector<TSkinData *> &SkinDataList() const { return skinData_; }
  // The first registered skin data that skins the main form and the rest of the program.
  TSkinData *DefaultSkinData() const;

  // Attaches a form skinner when the window qualifies; true when one was attached.
  bool SkinWindow(HWND wnd);
  // SkinWindow for a form that shows and is not a child window (or is an MDI child).
  bool SkinForm(TCustomForm *form);
  TSkinData *ChooseSkinData(HWND wnd) const;
  bool AcceptClassName(const std::string &className) const;
  TWinSkinForm *FindFormSkinner(HWND wnd) const;
  const std::vector<TWinSkinForm *> &FormSkinners() const { return forms_; }

  // Menu windows ("#32768") of the program: each one the menu kind allows gets a popup-menu
  // skinner; it is freed when the window goes.
  bool SkinMenuWindow(HWND wnd);
  bool ReleaseMenuWindow(HWND wnd);
  std::vector<HWND> MenuWindows() const;
  TPopMenuList &PopMenus() { return popMenus_; }
  // The kind of menu about to open (TSkinMenuKind), set by the form skinner.
  int MenuKind() const { return popMenus_.Kind(); }
  void SetMenuKind(int kind) { popMenus_.SetKind(kind); }
  bool MenuLoop() const { return popMenus_.MenuLoop(); }

  // Schedules command (TSkinCommand) for the command target after interval milliseconds. Before
  // the first activation (state 0) skin and unskin only switch the active flag.
  void PostCommand(int command, int interval);
  int PendingCommand() const { return command_; }
  TSkinData *CommandTarget() const { return target_; }
  void SetCommandTarget(TSkinData *data) { target_ = data; }
  // Carries out the pending command now (the timer's work).
  void RunCommand();

  // Drops form skinners that are gone and frees the finished ones of this module.
  void Purge();
  // Called by a form skinner that is being freed.
  void ForgetFormSkinner(TWinSkinForm *form);

  bool Active() const { return active_; }
  void SetActive(bool on) {
    active_ = on;
    popMenus_.SetActive(on);
  }
  bool Sweeping() const { return sweep_; }
  // 0 before the first activation, 1 after it, 4 while being destroyed.
  int State() const { return state_; }
  void SetState(int state) { state_ = state; }
  HINSTANCE Module() const { return module_; }

  // Chooses and attaches the skinner of one child control of a skinned form (parent: the control
  // whose children are being walked). True when a skinner was attached.
  static bool SkinChildControl(TWinSkinForm *form, TControl *control, TWinControl *parent);
  // The same for a child window without a control object, by its window class.
  static bool SkinChildWindow(TWinSkinForm *form, HWND wnd);

private:
  static LRESULT CALLBACK HookProc(int code, WPARAM wParam, LPARAM lParam);
  static void CALLBACK TimerProc(HWND, UINT, UINT_PTR, DWORD);
  void RemoveForm(TWinSkinForm *form, bool restore);
  void CommandForOneForm(int command, TSkinData *data);
  void CommandForAllForms(int command, TSkinData *data);

  HHOOK hook_ = nullptr;
  bool active_ = false, sweep_ = false;
  int state_ = 0;
  std::vector<TSkinData *> skinData_;
  std::vector<TWinSkinForm *> forms_;
  TPopMenuList popMenus_;
  UINT_PTR timer_ = 0;
  int interval_ = 250;
  int command_ = scNone;
  TSkinData *target_ = nullptr;
  HINSTANCE module_ = nullptr;
};

// The process's skin manager, or nullptr before the first skin data finished loading.
TSkinManage *SkinManager();
// Makes the skin data components of this program report to the skin manager (the manager is
// created by the first one that finishes loading). Call once at start-up.
void UseSkinManager();
// Frees the manager (at the end of the program, and between tests).
void FreeSkinManager();

} // namespace qv
