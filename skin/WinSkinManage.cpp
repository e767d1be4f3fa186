// TSkinManage: the window hook, which windows get a form skinner and with which skin data, the
// menu windows, the delayed commands, and the link through which skin data components report.
#include "skin/WinSkinManage.h"

#include "platform/base/Text.h"
#include "platform/forms/Forms.h"
#include "skin/SkinMessages.h"
#include "skin/WinSkinData.h"
#include "skin/WinSkinForm.h"
#include "skin/WinSubClass.h"

#include <algorithm>
#include <memory>

namespace qv {

namespace {

std::unique_ptr<TSkinManage> &Holder() {
  static std::unique_ptr<TSkinManage> manager;
  return manager;
}

std::string ClassNameOf(HWND wnd) {
  wchar_t cls[128] = {};
  GetClassNameW(wnd, cls, 128);
  return Narrow(cls);
}

bool HasControl(const TSkinData *data, int member) { return (data->SkinControls() & SkinBit(member)) != 0; }

TCustomForm *OwnerForm(const TSkinData *data) { return dynamic_cast<TCustomForm *>(data->Owner()); }

// Skin data components reach the manager through this link; the manager is made by the first
// component that registers.
class TManagerLink : public TSkinManagerLink {
public:
  void RegisterSkinData(TSkinData *data) override {
    if (!Holder()) Holder() = std::make_unique<TSkinManage>();
    Holder()->RegisterSkinData(data);
  }
  void UnregisterSkinData(TSkinData *data) override {
    if (TSkinManage *m = SkinManager()) m->UnregisterSkinData(data);
  }
  void InstallHook() override {
    if (TSkinManage *m = SkinManager()) m->InstallHook();
  }
  void StartAtOnce(TSkinData *data) override {
    TSkinManage *m = SkinManager();
    if (!m) return;
    m->SetActive(true);
    m->SetState(m->State() + 1);
    if (TCustomForm *form = OwnerForm(data); form && form->HandleAllocated())
      m->SkinWindow(form->HandleIfAllocated());
  }
  void PostCommand(TSkinData *target, TSkinCommand command, int interval) override {
    if (TSkinManage *m = SkinManager()) {
      m->SetCommandTarget(target);
      m->PostCommand(command, interval);
    }
  }
  void SetStarted() override {
    if (TSkinManage *m = SkinManager()) m->SetState(1);
  }
  bool Started() const override { return SkinManager() && SkinManager()->State() == 1; }
  void ReloadSkinners(TSkinData *data) override {
    if (TSkinManage *m = SkinManager()) m->ReloadSkinners(data);
  }
};

} // namespace

TSkinManage *SkinManager() { return Holder().get(); }

void UseSkinManager() {
  static TManagerLink link;
  SetSkinManagerLink(&link);
}

void FreeSkinManager() { Holder().reset(); }

TSkinManage::TSkinManage() : module_(GetModuleHandleW(nullptr)) { SetPopMenuList(&popMenus_); }

TSkinManage::~TSkinManage() {
  state_ = 4;
  if (timer_) KillTimer(nullptr, timer_);
  if (hook_) UnhookWindowsHookEx(hook_);
  popMenus_.Clear();
  if (PopMenuList() == &popMenus_) SetPopMenuList(nullptr);
  // Form skinners of windows without a form object belong to nobody else: they go here.
  std::vector<TWinSkinForm *> list = forms_;
  forms_.clear();
  for (TWinSkinForm *f : list)
    if (!f->Owner()) delete f;
}

void TSkinManage::InstallHook() {
  if (!hook_) hook_ = SetWindowsHookExW(WH_CBT, HookProc, nullptr, GetCurrentThreadId());
}

LRESULT CALLBACK TSkinManage::HookProc(int code, WPARAM wParam, LPARAM lParam) {
  TSkinManage *m = SkinManager();
  if (m && code >= 0) {
    HWND wnd = reinterpret_cast<HWND>(wParam);
    switch (code) {
    case HCBT_CREATEWND: {
      const CREATESTRUCTW *cs = reinterpret_cast<CBT_CREATEWNDW *>(lParam)->lpcs;
      std::string cls = ClassNameOf(wnd);
      if (LowerCase(cls) == "scrollbar" && (cs->style & 0x10))
        if (TWinSkinForm *f = m->FindFormSkinner(cs->hwndParent)) f->SkinChildWindow(wnd);
      if (!(cs->style & WS_CHILD) && cls == "#32768") m->SkinMenuWindow(wnd);
      if (cs->dwExStyle & WS_EX_MDICHILD) m->SkinWindow(wnd);
      break;
    }
    case HCBT_DESTROYWND:
      m->ReleaseMenuWindow(wnd);
      break;
    case HCBT_ACTIVATE:
      m->SkinWindow(wnd);
      break;
    }
  }
  return CallNextHookEx(nullptr, code, wParam, lParam);
}

void TSkinManage::RegisterSkinData(TSkinData *data) {
  if (data && std::find(skinData_.begin(), skinData_.end(), data) == skinData_.end())
    skinData_.push_back(data);
}

void TSkinManage::UnregisterSkinData(TSkinData *data) {
  skinData_.erase(std::remove(skinData_.begin(), skinData_.end(), data), skinData_.end());
  if (target_ == data) target_ = nullptr;
  // Form skinners drawing with it would outlive their skin: they give their windows back first.
  std::vector<TWinSkinForm *> users;
  for (TWinSkinForm *f : forms_)
    if (f->SkinData() == data) users.push_back(f);
  for (TWinSkinForm *f : users)
    RemoveForm(f, true);
}

TSkinData *TSkinManage::DefaultSkinData() const {
  for (TSkinData *d : skinData_)
    if (d->SkinFormtype() == TSkinFormType::sfMainform) return d;
  return nullptr;
}

TWinSkinForm *TSkinManage::FindFormSkinner(HWND wnd) const {
  if (!wnd) return nullptr;
  for (TWinSkinForm *f : forms_)
    if (f->Handle() == wnd) return f;
  return nullptr;
}

bool TSkinManage::SkinWindow(HWND wnd) {
  if (!active_ || !IsWindow(wnd) || IsSkinnedWindow(wnd)) return false;
  Purge();
  if (FindFormSkinner(wnd)) return false;
  TWinControl *object = nullptr;
  for (int i = 0; i < Screen->FormCount() && !object; ++i)
    if (Screen->Forms(i)->HandleIfAllocated() == wnd) object = Screen->Forms(i);
  if (!object) object = FindControl(wnd);

  const std::string cls = ClassNameOf(wnd);
  const auto style = static_cast<DWORD>(GetWindowLongW(wnd, GWL_STYLE));
  const auto exStyle = static_cast<DWORD>(GetWindowLongW(wnd, GWL_EXSTYLE));
  const bool mdiChild = (exStyle & WS_EX_MDICHILD) != 0;
  if (!sweep_ && (style & WS_CHILD) && !mdiChild && LowerCase(ClassNameOf(GetParent(wnd))) != "mdiclient")
    return false;
  const auto instance = reinterpret_cast<HINSTANCE>(GetWindowLongPtrW(wnd, GWLP_HINSTANCE));
  if (!object && instance != module_ && cls != "#32770") return false;
  RECT rc{};
  GetWindowRect(wnd, &rc);
  if ((rc.right <= rc.left || rc.bottom <= rc.top) && !mdiChild) return false;
  if (object && object->Tag() == 99) return false;
  if (cls == "TApplication" || !AcceptClassName(cls)) return false;
  TSkinData *data = ChooseSkinData(wnd);
  if (!data || data->NoSkinLoaded()) return false;

  auto *form = dynamic_cast<TCustomForm *>(object);
  auto *skinner = new TWinSkinForm(object);
  skinner->SetModule(module_);
  if (form)
    skinner->AttachForm(form, data);
  else
    skinner->AttachWindow(wnd, data);
  forms_.push_back(skinner);
  PostMessageW(wnd, WM_SKINSETUP, 0, 1000);
  return true;
}

bool TSkinManage::SkinForm(TCustomForm *form) {
  if (!form || !form->HandleAllocated() || !form->Visible()) return false;
  HWND wnd = form->HandleIfAllocated();
  const auto style = static_cast<DWORD>(GetWindowLongW(wnd, GWL_STYLE));
  const auto exStyle = static_cast<DWORD>(GetWindowLongW(wnd, GWL_EXSTYLE));
  if ((style & WS_CHILD) && !(exStyle & WS_EX_MDICHILD)) return false;
  return SkinWindow(wnd);
}

TSkinData *TSkinManage::ChooseSkinData(HWND wnd) const {
  for (TSkinData *d : skinData_)
    if (d->SkinFormtype() == TSkinFormType::sfOnlyThisForm)
      if (TCustomForm *f = OwnerForm(d); f && f->HandleIfAllocated() == wnd) return d;
  auto last = [&](TSkinFormType type) -> TSkinData * {
    for (auto it = skinData_.rbegin(); it != skinData_.rend(); ++it)
      if ((*it)->SkinFormtype() == type) return *it;
    return nullptr;
  };
  const std::string cls = LowerCase(ClassNameOf(wnd));
  if (cls == "tmessageform" || cls == "#32770")
    if (TSkinData *d = last(TSkinFormType::sfDialog)) return d;
  if (TSkinData *d = last(TSkinFormType::sfMainform)) return d;
  return skinData_.empty() ? nullptr : skinData_.front();
}

bool TSkinManage::AcceptClassName(const std::string &className) const {
  TSkinData *data = DefaultSkinData();
  bool accept = true;
  if (data && !(data->Options() & SkinBit(xoPreview)) &&
      LowerCase(className).find("preview") != std::string::npos)
    accept = false;
  if (data && data->OnFormSkin) {
    data->DoFormSkin(className, accept);
    return accept;
  }
  if (className == "SysMonthCal32") return false;
  if (data && HasControl(data, xcFastReport) && className.compare(0, 3, "Tfr") == 0) return false;
  return accept;
}

bool TSkinManage::SkinMenuWindow(HWND wnd) {
  if (!active_ || IsSkinnedWindow(wnd) || popMenus_.Find(wnd)) return false;
  TSkinData *data = ChooseSkinData(wnd);
  if (!data || data->NoSkinLoaded()) return false;
  const int kind = popMenus_.Kind();
  bool wanted = kind == smPopup      ? HasControl(data, xcPopupMenu)
                : kind == smMainMenu ? HasControl(data, xcMainMenu) || HasControl(data, xcMenuItem)
                                     : HasControl(data, xcSystemMenu);
  if (!wanted) return false;
  popMenus_.Add(wnd, data);
  return true;
}

bool TSkinManage::ReleaseMenuWindow(HWND wnd) { return popMenus_.Release(wnd); }

std::vector<HWND> TSkinManage::MenuWindows() const {
  std::vector<HWND> windows;
  for (const auto &p : popMenus_.Items())
    windows.push_back(p->Handle());
  return windows;
}

void TSkinManage::PostCommand(int command, int interval) {
  command_ = command;
  interval_ = interval;
  if (state_ != 0) {
    timer_ = SetTimer(nullptr, timer_, static_cast<UINT>(interval_), TimerProc);
    return;
  }
  // Before the first activation windows are skinned as they activate.
  if (command == scSkin) SetActive(true);
  if (command == scUnskin) SetActive(false);
}

void CALLBACK TSkinManage::TimerProc(HWND, UINT, UINT_PTR id, DWORD) {
  KillTimer(nullptr, id);
  TSkinManage *m = SkinManager();
  if (!m || m->timer_ != id) return;
  m->timer_ = 0;
  m->RunCommand();
}

void TSkinManage::ReloadSkinners(TSkinData *data) {
  std::vector<TWinSkinForm *> users;
  for (TWinSkinForm *f : forms_)
    if (f->SkinData() == data) users.push_back(f);
  for (TWinSkinForm *f : users)
    SendMessageW(f->Handle(), WM_SKINCHANGED, 0, 0);
}

void TSkinManage::RunCommand() {
  int command = command_;
  command_ = scNone;
  TSkinData *data = target_;
  if (!data) return;
  if (data->SkinFormtype() == TSkinFormType::sfOnlyThisForm)
    CommandForOneForm(command, data);
  else
    CommandForAllForms(command, data);
  data->DoSkinChanged();
  target_ = nullptr;
}

void TSkinManage::CommandForOneForm(int command, TSkinData *data) {
  auto first = [&]() -> TWinSkinForm * {
    for (TWinSkinForm *f : forms_)
      if (f->SkinData() == data) return f;
    return nullptr;
  };
  switch (command) {
  case scSkin:
    SetActive(true);
    sweep_ = true;
    SkinForm(OwnerForm(data));
    sweep_ = false;
    break;
  case scUnskin:
    SetActive(false);
    Purge();
    if (TWinSkinForm *f = first()) RemoveForm(f, true);
    break;
  case scRefresh:
    Purge();
    if (TWinSkinForm *f = first()) {
      RedrawWindow(f->Handle(), nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN);
      f->RefreshControls();
    }
    break;
  case scPurge:
    Purge();
    break;
  }
}

void TSkinManage::CommandForAllForms(int command, TSkinData *data) {
  switch (command) {
  case scSkin:
    SetActive(true);
    sweep_ = true;
    Purge();
    for (int i = Screen->FormCount() - 1; i >= 0; --i)
      SkinForm(Screen->Forms(i));
    sweep_ = false;
    break;
  case scUnskin: {
    SetActive(false);
    Purge();
    std::vector<TWinSkinForm *> list = forms_;
    for (TWinSkinForm *f : list)
      RemoveForm(f, true);
    break;
  }
  case scRefresh: {
    Purge();
    std::vector<TWinSkinForm *> users;
    for (TWinSkinForm *f : forms_)
      if (f->SkinData() == data) users.push_back(f);
    for (TWinSkinForm *f : users)
      RedrawWindow(f->Handle(), nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN);
    for (TWinSkinForm *f : users)
      f->RefreshControls();
    break;
  }
  case scPurge:
    Purge();
    break;
  }
}

void TSkinManage::RemoveForm(TWinSkinForm *form, bool restore) {
  HWND wnd = form->Handle();
  forms_.erase(std::remove(forms_.begin(), forms_.end(), form), forms_.end());
  form->Detach();
  delete form;
  if (restore && IsWindow(wnd))
    RedrawWindow(wnd, nullptr, nullptr,
                 RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN | RDW_UPDATENOW);
}

void TSkinManage::Purge() {
  std::vector<TWinSkinForm *> finished;
  for (TWinSkinForm *f : forms_)
    if (f->State() == skFinished && f->Module() == module_) finished.push_back(f);
  for (TWinSkinForm *f : finished)
    RemoveForm(f, false);
}

void TSkinManage::ForgetFormSkinner(TWinSkinForm *form) {
  forms_.erase(std::remove(forms_.begin(), forms_.end(), form), forms_.end());
}

} // namespace qv
