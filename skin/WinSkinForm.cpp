// TWinSkinForm: takes one top-level window over, gives its children their skinners once the set-up
// message arrives, owns those skinners and gives everything back on Detach.
#include "skin/WinSkinForm.h"

#include "platform/classes/ClassBuilder.h"
#include "platform/forms/Forms.h"
#include "skin/SkinMessages.h"
#include "skin/WinSkinData.h"
#include "skin/WinSkinFrame.h"
#include "skin/WinSkinManage.h"
#include "skin/WinSkinMenuItems.h"
#include "skin/WinSubClass.h"

#include <algorithm>

namespace qv {

const TClassInfo &TWinSkinForm::StaticClassInfo() {
  static const TClassInfo &info = DefineClass<TWinSkinForm, TComponent>("TWinSkinForm", [](auto &) {});
  return info;
}

TWinSkinForm::TWinSkinForm(TComponent *owner) : TComponent(owner) {}

TWinSkinForm::~TWinSkinForm() {
  Detach();
  if (TSkinManage *m = SkinManager()) m->ForgetFormSkinner(this);
}

void TWinSkinForm::AttachForm(TCustomForm *form, TSkinData *data) {
  if (hook_.Installed() || subclass_.Installed() || !form) return;
  form_ = form;
  data_ = data;
  handle_ = form->Handle();
  if (!module_) module_ = GetModuleHandleW(nullptr);
  hook_.Install(form, [this](TMessage &m) { FormMessage(m); });
  formColour_ = form->Color();
  formParentColour_ = form->ParentColor();
  form->SetColor(data->Skin().Palette.ButtonFace);
  AttachFrame();
  state_ = skAttached;
}

void TWinSkinForm::AttachWindow(HWND wnd, TSkinData *data) {
  if (hook_.Installed() || subclass_.Installed() || !IsWindow(wnd)) return;
  data_ = data;
  handle_ = wnd;
  if (!module_) module_ = GetModuleHandleW(nullptr);
  subclass_.Install(wnd, [this](TMessage &m) { ForeignMessage(m); });
  AttachFrame();
  frame_->SetForeign(true);
  state_ = skAttached;
}

void TWinSkinForm::AttachFrame() {
  frame_ = std::make_unique<TSkinFrame>(handle_, data_);
  frame_->Attach();
}

void TWinSkinForm::Detach() {
  if (frame_) frame_->BeginDetach();
  // Skinners unregister themselves as they go.
  while (!skinners_.empty()) {
    TSkinControl *s = skinners_.back();
    s->RestoreColour();
    delete s;
    if (!skinners_.empty() && skinners_.back() == s) skinners_.pop_back();
  }
  if (hook_.Installed() && form_) {
    UnskinPopupMenus(form_);
    form_->SetColor(formColour_);
    if (formParentColour_) form_->SetParentColor(true);
  }
  hook_.Restore();
  subclass_.Restore();
  // With the window procedure given back, the platform's frame returns at the client size.
  if (frame_) frame_->EndDetach();
  frame_.reset();
}

void TWinSkinForm::SkinControl(TControl *control) {
  if (control) TSkinManage::SkinChildControl(this, control, control->Parent());
}

void TWinSkinForm::SkinChildren(TWinControl *parent) {
  if (!parent) return;
  std::vector<TControl *> children;
  for (int i = 0; i < parent->ControlCount(); ++i)
    children.push_back(parent->Controls(i));
  for (TControl *c : children)
    SkinControl(c);
}

void TWinSkinForm::SkinOwnedControls(TComponent *component) {
  if (!component) return;
  std::vector<TControl *> owned;
  for (int i = 0; i < component->ComponentCount(); ++i)
    if (auto *c = dynamic_cast<TControl *>(component->Components(i))) owned.push_back(c);
  auto *parent = dynamic_cast<TWinControl *>(component);
  for (TControl *c : owned)
    TSkinManage::SkinChildControl(this, c, parent);
  SkinPopupMenus(component, data_);
}

void TWinSkinForm::SkinChildWindow(HWND wnd) { TSkinManage::SkinChildWindow(this, wnd); }

void TWinSkinForm::AddSkinner(TSkinControl *skinner) {
  if (std::find(skinners_.begin(), skinners_.end(), skinner) == skinners_.end()) skinners_.push_back(skinner);
}

void TWinSkinForm::RemoveSkinner(TSkinControl *skinner) {
  skinners_.erase(std::remove(skinners_.begin(), skinners_.end(), skinner), skinners_.end());
}

bool TWinSkinForm::HasSkinner(const TControl *control) const {
  if (!control) return false;
  for (TSkinControl *s : skinners_)
    if (s->SkinnedControl() == control) return true;
  auto *win = dynamic_cast<const TWinControl *>(control);
  return win && IsSkinnedWindow(win->HandleIfAllocated());
}

bool TWinSkinForm::HasSkinnerForWindow(HWND wnd) const {
  for (TSkinControl *s : skinners_)
    if (s->Handle() == wnd) return true;
  return false;
}

void TWinSkinForm::RefreshControls() {
  std::vector<TSkinControl *> list = skinners_;
  for (TSkinControl *s : list)
    s->UpdateColours();
}

namespace {

struct TChildWalk {
  HWND Parent;
  std::vector<HWND> Children;
};

BOOL CALLBACK CollectDirectChild(HWND wnd, LPARAM p) {
  auto *walk = reinterpret_cast<TChildWalk *>(p);
  if (GetParent(wnd) == walk->Parent && (GetWindowLongW(wnd, GWL_STYLE) & WS_CHILD))
    walk->Children.push_back(wnd);
  return TRUE;
}

} // namespace

void TWinSkinForm::HandleMessage(TMessage &m, const TWndMethod &next) {
  switch (m.Msg) {
  case WM_SKINQUERY:
    m.Result = 1;
    return;
  case WM_SKINSETUP:
    if (form_) {
      // Skinners of controls whose windows went are dropped before the walk.
      std::vector<TSkinControl *> finished;
      for (TSkinControl *s : skinners_)
        if (s->State() == skFinished) finished.push_back(s);
      for (TSkinControl *s : finished)
        delete s;
      SkinOwnedControls(form_);
      for (TWinControl *c : std::vector<TWinControl *>(form_->TabList()))
        if (c->HandleAllocated() && c->Tag() != data_->DisableTag() &&
            !IsSkinnedWindow(c->HandleIfAllocated()))
          SkinControl(c);
    } else {
      TChildWalk walk{handle_, {}};
      EnumChildWindows(handle_, CollectDirectChild, reinterpret_cast<LPARAM>(&walk));
      for (HWND child : walk.Children)
        SkinChildWindow(child);
    }
    if (frame_) frame_->Start();
    return;
  case WM_SKINCHANGED:
    RefreshControls();
    if (form_) SkinPopupMenus(form_, data_);
    if (frame_) {
      frame_->ComputeFrameMetrics();
      frame_->ApplySkinChange();
    }
    return;
  case WM_NCDESTROY:
    if (frame_) frame_->Destroying();
    next(m);
    state_ = skFinished;
    return;
  }
  // The frame may change a message (a maximised caption press becomes a menu hit) and pass it on.
  if (frame_ && frame_->Message(m, next)) return;
  next(m);
}

void TWinSkinForm::FormMessage(TMessage &m) {
  HandleMessage(m, [this](TMessage &msg) { hook_.CallPrevious(msg); });
}

void TWinSkinForm::ForeignMessage(TMessage &m) {
  HWND wnd = handle_;
  HandleMessage(m, [this, wnd](TMessage &msg) { subclass_.CallPrevious(wnd, msg); });
}

} // namespace qv
