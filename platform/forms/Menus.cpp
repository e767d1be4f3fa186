// Menu items and menus over the platform's HMENU.
#include "platform/forms/Menus.h"
#include "platform/base/Text.h"
#include "platform/classes/ClassBuilder.h"
#include "platform/forms/Forms.h"

#include <algorithm>
#include <map>

namespace qv {

namespace {
std::map<UINT, TMenuItem *> &Commands() {
  static auto *commands = new std::map<UINT, TMenuItem *>; // outlives every menu item
  return *commands;
}
// The platform's menu font, made once (the program shows menus until it ends).
HFONT MenuFont() {
  static HFONT font = [] {
    NONCLIENTMETRICSW metrics{};
    metrics.cbSize = sizeof metrics;
    if (!SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0))
      return static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT));
    return CreateFontIndirectW(&metrics.lfMenuFont);
  }();
  return font;
}

SIZE TextExtent(HDC dc, const std::wstring &text) {
  RECT r{0, 0, 0, 0};
  DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &r, DT_CALCRECT | DT_SINGLELINE | DT_EXPANDTABS);
  return {r.right - r.left, r.bottom - r.top};
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

TMenuItem *TMenuItem::FromItemData(ULONG_PTR data) {
  for (const auto &[command, item] : Commands())
    if (reinterpret_cast<ULONG_PTR>(item) == data) return item;
  return nullptr;
}

HMENU TMenuItem::ParentHandle() const {
  if (!parent_) return nullptr;
  if (parent_->menu_) return parent_->menu_->Handle();
  return parent_->Handle();
}

void TMenuItem::DefaultMeasure(HDC dc, int &width, int &height) const {
  const int bar = GetSystemMetrics(SM_CYMENU);
  if (caption_ == "-") {
    width = 0;
    height = bar / 2;
    return;
  }
  const HGDIOBJ old = SelectObject(dc, MenuFont());
  const std::wstring text = Widen(caption_);
  const std::size_t tab = text.find(L'\t');
  const SIZE caption = TextExtent(dc, text.substr(0, tab));
  const SIZE shortcut = tab == std::wstring::npos ? SIZE{0, 0} : TextExtent(dc, text.substr(tab + 1));
  SelectObject(dc, old);
  const int check = GetSystemMetrics(SM_CXMENUCHECK);
  width = check + 4 + caption.cx + (shortcut.cx > 0 ? 16 + shortcut.cx : 0) + check;
  height = caption.cy + 4;
}

void TMenuItem::MeasureItem(HDC dc, int &width, int &height) {
  DefaultMeasure(dc, width, height);
  OnMeasureItem(this, dc, width, height);
}

void TMenuItem::DrawItem(HDC dc, const TRect &rect, UINT state) {
  if (OnAdvancedDrawItem) {
    OnAdvancedDrawItem(this, dc, rect, state);
    return;
  }
  RECT r{rect.Left, rect.Top, rect.Right, rect.Bottom};
  const bool selected = (state & ODS_SELECTED) != 0;
  FillRect(dc, &r, GetSysColorBrush(selected ? COLOR_HIGHLIGHT : COLOR_MENU));
  if (caption_ == "-") {
    RECT line{r.left, (r.top + r.bottom) / 2 - 1, r.right, (r.top + r.bottom) / 2 + 1};
    DrawEdge(dc, &line, EDGE_ETCHED, BF_TOP);
    return;
  }
  const int mode = SetBkMode(dc, TRANSPARENT);
  SetTextColor(dc, GetSysColor(!enabled_ ? COLOR_GRAYTEXT : selected ? COLOR_HIGHLIGHTTEXT : COLOR_MENUTEXT));
  const int check = GetSystemMetrics(SM_CXMENUCHECK);
  if (checked_) {
    // The check mark of the platform's symbol face, in the text colour.
    LOGFONTW lf{};
    lf.lfHeight = check;
    lf.lfCharSet = SYMBOL_CHARSET;
    lstrcpyW(lf.lfFaceName, L"Marlett");
    const HFONT marlett = CreateFontIndirectW(&lf);
    const HGDIOBJ old = SelectObject(dc, marlett);
    RECT box{r.left + 2, r.top, r.left + 2 + check, r.bottom};
    DrawTextW(dc, L"a", 1, &box, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
    SelectObject(dc, old);
    DeleteObject(marlett);
  }
  const HGDIOBJ old = SelectObject(dc, MenuFont());
  const std::wstring text = Widen(caption_);
  const std::size_t tab = text.find(L'\t');
  RECT textRect{r.left + check + 4, r.top, r.right - check, r.bottom};
  const std::wstring caption = text.substr(0, tab);
  DrawTextW(dc, caption.c_str(), static_cast<int>(caption.size()), &textRect, DT_SINGLELINE | DT_VCENTER);
  if (tab != std::wstring::npos) {
    const std::wstring shortcut = text.substr(tab + 1);
    DrawTextW(dc, shortcut.c_str(), static_cast<int>(shortcut.size()), &textRect,
              DT_SINGLELINE | DT_VCENTER | DT_RIGHT);
  }
  SelectObject(dc, old);
  SetBkMode(dc, mode);
}

bool TMenuItem::DispatchOwnerDraw(TMessage &m) {
  if (m.WParam != 0) return false; // a control's item, not a menu's
  if (m.Msg == WM_MEASUREITEM) {
    auto &mi = *reinterpret_cast<MEASUREITEMSTRUCT *>(m.LParam);
    TMenuItem *item = mi.CtlType == ODT_MENU ? FromItemData(mi.itemData) : nullptr;
    if (!item) return false;
    HDC dc = GetDC(nullptr);
    int width = 0, height = 0;
    item->MeasureItem(dc, width, height);
    ReleaseDC(nullptr, dc);
    mi.itemWidth = static_cast<UINT>(std::max(width, 0));
    mi.itemHeight = static_cast<UINT>(std::max(height, 0));
    m.Result = TRUE;
    return true;
  }
  if (m.Msg == WM_DRAWITEM) {
    const auto &di = *reinterpret_cast<const DRAWITEMSTRUCT *>(m.LParam);
    TMenuItem *item = di.CtlType == ODT_MENU ? FromItemData(di.itemData) : nullptr;
    if (!item) return false;
    item->DrawItem(di.hDC, {di.rcItem.left, di.rcItem.top, di.rcItem.right, di.rcItem.bottom}, di.itemState);
    m.Result = TRUE;
    return true;
  }
  return false;
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
