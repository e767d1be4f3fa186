// Menu items and menus over the platform's HMENU.
#include "platform/forms/Menus.h"
#include "platform/base/Text.h"
#include "platform/classes/ClassBuilder.h"
#include "platform/forms/Forms.h"

#include <map>

namespace qv {

namespace {
std::map<UINT, TMenuItem *> &Commands() {
  static auto *commands = new std::map<UINT, TMenuItem *>; // outlives every menu item
  return *commands;
}
UINT NextCommand() {
  static UINT next = 0x100;
  while (Commands().count(next) || next == 0)
    next = next >= 0xEFFF ? 0x100 : next + 1;
  return next++;
}
} // namespace

const TClassInfo &TMenuItem::StaticClassInfo() {
  static const TClassInfo &info = DefineClass<TMenuItem, TComponent>("TMenuItem", [](auto &c) {
    c.String("Caption", &TMenuItem::Caption, &TMenuItem::SetCaption, std::string());
    c.Boolean("Checked", &TMenuItem::Checked, &TMenuItem::SetChecked, false);
    c.Boolean("Enabled", &TMenuItem::Enabled, &TMenuItem::SetEnabled, true);
    c.Boolean("Visible", &TMenuItem::Visible, &TMenuItem::SetVisible, true);
    c.Event("OnClick", &TMenuItem::OnClick);
  });
  return info;
}

TMenuItem::TMenuItem(TComponent *owner) : TComponent(owner), command_(NextCommand()) {
  Commands()[command_] = this;
}

TMenuItem::~TMenuItem() {
  Commands().erase(command_);
  while (!items_.empty()) {
    TMenuItem *child = items_.back();
    items_.pop_back();
    child->parent_ = nullptr;
    if (!child->Owner()) delete child;
  }
  if (parent_) parent_->Remove(this);
}

void TMenuItem::SetCaption(const std::string &c) {
  if (c == caption_) return;
  caption_ = c;
  Changed();
}
void TMenuItem::SetChecked(bool on) {
  if (on == checked_) return;
  checked_ = on;
  Changed();
}
void TMenuItem::SetEnabled(bool on) {
  if (on == enabled_) return;
  enabled_ = on;
  Changed();
}
void TMenuItem::SetVisible(bool on) {
  if (on == visible_) return;
  visible_ = on;
  Changed();
}

int TMenuItem::MenuIndex() const {
  if (!parent_) return -1;
  auto &l = parent_->items_;
  return static_cast<int>(std::find(l.begin(), l.end(), this) - l.begin());
}

void TMenuItem::Add(TMenuItem *item) { Insert(Count(), item); }

void TMenuItem::Insert(int index, TMenuItem *item) {
  if (!item || item == this) return;
  if (item->parent_) item->parent_->Remove(item);
  index = std::clamp(index, 0, Count());
  items_.insert(items_.begin() + index, item);
  item->parent_ = this;
  Changed();
}

void TMenuItem::Remove(TMenuItem *item) {
  auto it = std::find(items_.begin(), items_.end(), item);
  if (it == items_.end()) return;
  items_.erase(it);
  item->parent_ = nullptr;
  Changed();
}

TMenu *TMenuItem::GetParentMenu() const {
  const TMenuItem *i = this;
  while (i->parent_)
    i = i->parent_;
  return i->menu_;
}

void TMenuItem::Click() { OnClick(this); }

void TMenuItem::SetParentComponent(TComponent *parent) {
  if (auto *m = dynamic_cast<TMenu *>(parent))
    m->Items()->Add(this);
  else if (auto *i = dynamic_cast<TMenuItem *>(parent))
    i->Add(this);
  else
    TComponent::SetParentComponent(parent);
}

TComponent *TMenuItem::GetParentComponent() const {
  if (parent_ && parent_->menu_) return parent_->menu_;
  return parent_;
}

bool TMenuItem::DispatchCommand(UINT command) {
  auto it = Commands().find(command);
  if (it == Commands().end()) return false;
  it->second->Click();
  return true;
}

void TMenuItem::Changed() {
  if (TMenu *m = GetParentMenu(); m && !m->Loading() && !m->Destroying()) m->MenuChanged();
}

void TMenuItem::FillMenu(HMENU menu, bool ownerDraw) {
  while (GetMenuItemCount(menu) > 0)
    RemoveMenu(menu, 0, MF_BYPOSITION);
  for (TMenuItem *item : items_) {
    if (!item->visible_) continue;
    if (item->items_.empty()) {
      item->subMenu_.reset();
    } else {
      if (!item->subMenu_) item->subMenu_.reset(CreatePopupMenu());
      item->FillMenu(item->subMenu_.get(), ownerDraw);
    }
    std::wstring text = Widen(item->caption_);
    MENUITEMINFOW mi{};
    mi.cbSize = sizeof mi;
    mi.fMask = MIIM_FTYPE | MIIM_STATE | MIIM_ID | MIIM_STRING | MIIM_SUBMENU | MIIM_DATA;
    mi.fType = item->caption_ == "-" ? MFT_SEPARATOR : MFT_STRING;
    if (ownerDraw) mi.fType |= MFT_OWNERDRAW;
    mi.fState = (item->enabled_ ? MFS_ENABLED : MFS_GRAYED) | (item->checked_ ? MFS_CHECKED : 0);
    mi.wID = item->command_;
    mi.hSubMenu = item->subMenu_.get();
    mi.dwItemData = reinterpret_cast<ULONG_PTR>(item);
    mi.dwTypeData = text.data();
    InsertMenuItemW(menu, GetMenuItemCount(menu), TRUE, &mi);
  }
}

// TMenu -------------------------------------------------------------------------------------------

const TClassInfo &TMenu::StaticClassInfo() {
  static const TClassInfo &info = DefineClass<TMenu, TComponent>(
      "TMenu", [](auto &c) { c.Boolean("OwnerDraw", &TMenu::OwnerDraw, &TMenu::SetOwnerDraw, false); });
  return info;
}

TMenu::TMenu(TComponent *owner) : TComponent(owner), items_(new TMenuItem(nullptr)) { items_->menu_ = this; }

TMenu::~TMenu() {
  DestroyComponents();
  delete items_;
}

HMENU TMenu::Handle() {
  if (!handle_) {
    handle_.reset(CreateMenuHandle());
    items_->FillMenu(handle_.get(), ownerDraw_);
  }
  return handle_.get();
}

void TMenu::SetOwnerDraw(bool on) {
  if (on == ownerDraw_) return;
  ownerDraw_ = on;
  MenuChanged();
}

void TMenu::MenuChanged() {
  if (handle_) items_->FillMenu(handle_.get(), ownerDraw_);
}

const TClassInfo &TMainMenu::StaticClassInfo() {
  static const TClassInfo &info = DefineClass<TMainMenu, TMenu>("TMainMenu", [](auto &) {});
  return info;
}

void TMainMenu::MenuChanged() {
  TMenu::MenuChanged();
  for (int i = 0; Screen && i < Screen->FormCount(); ++i)
    if (Screen->Forms(i)->Menu() == this) Screen->Forms(i)->MenuChanged();
}

const TClassInfo &TPopupMenu::StaticClassInfo() {
  static const TClassInfo &info =
      DefineClass<TPopupMenu, TMenu>("TPopupMenu", [](auto &c) { c.Event("OnPopup", &TPopupMenu::OnPopup); });
  return info;
}

void TPopupMenu::Popup(int x, int y) {
  OnPopup(this);
  HWND owner = Screen && Screen->ActiveForm() && Screen->ActiveForm()->HandleAllocated()
                   ? Screen->ActiveForm()->HandleIfAllocated()
                   : Application->Handle();
  UINT cmd =
      TrackPopupMenuEx(Handle(), TPM_RETURNCMD | TPM_LEFTALIGN | TPM_RIGHTBUTTON, x, y, owner, nullptr);
  if (cmd) TMenuItem::DispatchCommand(cmd);
}

} // namespace qv
