#include "skin/WinSkinMenuBar.h"

#include "platform/graphics/Graphics.h"
#include "skin/SkinGdi.h"
#include "skin/SkinMenuBar.h"
#include "skin/WinSkinData.h"
#include "skin/WinSkinPopMenu.h"

#include <cwctype>

namespace qv {

namespace {

// The one drop-down tracked at a time, and the filter hook that watches its messages.
TWinSkinMenu *g_tracked = nullptr;
HHOOK g_filterHook = nullptr;

// Marks the item data of the drop-down items we draw (the low 24 bits are the index).
constexpr ULONG_PTR kDropTag = 0x5Du << 24, kDropIndexMask = 0xFFFFFF;

void DrawCaption(HDC dc, const std::wstring &caption, RECT r, HFONT font, COLORREF colour) {
  const TSelectGuard select(dc, font);
  const int mode = SetBkMode(dc, TRANSPARENT);
  SetTextColor(dc, colour);
  DrawTextW(dc, caption.c_str(), static_cast<int>(caption.size()), &r,
            DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_EXPANDTABS);
  SetBkMode(dc, mode);
}

} // namespace

TWinSkinMenu::TWinSkinMenu(HWND wnd, TSkinData *data, TNcObjects &objects)
    : wnd_(wnd), data_(data), objects_(objects), font_(SkinMenuFont()) {
  objects_.DrawMenuItem = [this](TMenuBtn &item) { PaintItem(item); };
}

TWinSkinMenu::~TWinSkinMenu() {
  objects_.DrawMenuItem = nullptr;
  objects_.ClearMenuItems();
}

bool TWinSkinMenu::ReadItems() {
  HMENU menu = GetMenu(wnd_);
  if (!menu) menu = menu_; // refilled in place while off the window
  if (!menu || GetMenuItemCount(menu) <= 0) return false;
  menu_ = menu;
  objects_.ClearMenuItems();
  const int count = GetMenuItemCount(menu);
  for (int i = 0; i < count; ++i) {
    wchar_t text[80] = {};
    MENUITEMINFOW info{};
    info.cbSize = sizeof info;
    info.fMask = MIIM_STATE | MIIM_ID | MIIM_SUBMENU | MIIM_FTYPE | MIIM_STRING;
    info.dwTypeData = text;
    info.cch = 79;
    if (!GetMenuItemInfoW(menu, static_cast<UINT>(i), TRUE, &info)) continue;
    TMenuBtn &item = objects_.AddMenuItem();
    item.Index = i;
    item.Caption = text;
    item.Enabled = !(info.fState & (MFS_GRAYED | MFS_DISABLED));
    item.Visible = true;
    item.State = 1;
    item.Command = info.wID;
    item.SubMenu = reinterpret_cast<uintptr_t>(info.hSubMenu);
  }
  if (GetMenu(wnd_)) SetMenu(wnd_, nullptr);
  return true;
}

void TWinSkinMenu::GiveBack() {
  objects_.ClearMenuItems();
  if (menu_ && IsWindow(wnd_)) SetMenu(wnd_, menu_);
  menu_ = nullptr;
}

COLORREF TWinSkinMenu::TextColour(const TMenuBtn &item) const {
  return item.Enabled ? ResolveColor(data_->Skin().Palette.MenuBarText) : GetSysColor(COLOR_BTNSHADOW);
}

void TWinSkinMenu::PaintBar(HDC dc, const TRect &bar, bool active, bool rightToLeft) {
  if (bar.IsEmpty()) return;
  bar_ = bar;
  rightToLeft_ = rightToLeft;
  const TSkinDataCore &skin = data_->Skin();
  barBack_ = MenuBarBackground(skin.MenuBar.get(), {bar.Width(), bar.Height()}, active, skin.Palette.Menubar);
  TBitmap work;
  work.SetSize(bar.Width(), bar.Height());
  GdiFlush();
  CopyPixels(work.Pixels(), 0, 0, barBack_);
  const auto &items = objects_.MenuItems();
  std::vector<int> widths;
  {
    const TSelectGuard select(work.DC(), font_);
    for (const auto &item : items) {
      RECT r{0, 0, 0, 0};
      DrawTextW(work.DC(), item->Caption.c_str(), static_cast<int>(item->Caption.size()), &r,
                DT_CALCRECT | DT_SINGLELINE | DT_EXPANDTABS);
      widths.push_back(r.right - r.left);
    }
  }
  const int start = MenuBarItemsStart(skin.MenuBar.get(), bar.Width(), rightToLeft);
  const std::vector<TRect> places = LayoutMenuBar(items, widths, bar, start, rightToLeft);
  for (std::size_t i = 0; i < items.size(); ++i)
    if (!places[i].IsEmpty())
      DrawCaption(work.DC(), items[i]->Caption,
                  {places[i].Left, places[i].Top, places[i].Right, places[i].Bottom}, font_,
                  TextColour(*items[i]));
  GdiFlush();
  BitBlt(dc, bar.Left, bar.Top, bar.Width(), bar.Height(), work.DC(), 0, 0, SRCCOPY);
}

void TWinSkinMenu::PaintItem(TMenuBtn &item) {
  const TRect r = item.BoundsRect;
  if (r.IsEmpty() || barBack_.Empty()) return;
  TBitmap picture;
  picture.SetSize(r.Width(), r.Height());
  GdiFlush();
  StretchPixels(picture.Pixels(), {0, 0, r.Width(), r.Height()}, barBack_, r.Offset(-bar_.Left, -bar_.Top));
  if (item.State == 2 || item.State == 3) {
    const TBrushHandle edge(CreateSolidBrush(ResolveColor(data_->Skin().Palette.ButtonHilight)));
    const RECT frame{0, 0, r.Width(), r.Height()};
    FrameRect(picture.DC(), &frame, edge.Get());
  }
  DrawCaption(picture.DC(), item.Caption, {0, 0, r.Width(), r.Height()}, font_, TextColour(item));
  GdiFlush();
  const TWindowDC dc(wnd_, true);
  BitBlt(dc.Get(), r.Left, r.Top, r.Width(), r.Height(), picture.DC(), 0, 0, SRCCOPY);
}

TMenuBtn *TWinSkinMenu::FindAccelItem(wchar_t key) const {
  const auto &items = objects_.MenuItems();
  if (items.empty()) return nullptr;
  if (key == 0) return items.front().get();
  const int index = AcceleratorItem(items, key);
  return index >= 0 ? items[static_cast<std::size_t>(index)].get() : nullptr;
}

void TWinSkinMenu::Open(TMenuBtn &first) {
  TMenuBtn *item = &first;
  while (item) {
    switchTo_ = nullptr;
    TrackOne(*item);
    item = switchTo_;
  }
}

void TWinSkinMenu::TrackOne(TMenuBtn &item) {
  if (item.Command != 0 && !item.SubMenu) PostMessageW(wnd_, WM_COMMAND, item.Command, 0);
  if (!item.SubMenu || !item.Enabled) return;
  if (objects_.HotObject != &item) item.MouseDown();
  RECT w;
  GetWindowRect(wnd_, &w);
  const int x = (rightToLeft_ ? item.BoundsRect.Right : item.BoundsRect.Left) + w.left;
  const int y = item.BoundsRect.Bottom + w.top;
  openIndex_ = item.Index;
  openMenu_ = reinterpret_cast<HMENU>(item.SubMenu);
  selected_ = selectedIsPopup_ = false;
  selectedParent_ = nullptr;
  tracking_ = firstMessage_ = true;
  MakeOwnerDrawn(openMenu_);
  TellMenuKind(smMainMenu, true);
  g_tracked = this;
  g_filterHook = SetWindowsHookExW(WH_MSGFILTER, &TWinSkinMenu::FilterHook, nullptr, GetCurrentThreadId());
  // The command comes back here rather than as a notification, so that it is posted once the
  // drop-down has closed, as a click on the platform's own menu bar does.
  const UINT flags = TPM_RETURNCMD | TPM_RIGHTBUTTON | (rightToLeft_ ? TPM_RIGHTALIGN : 0);
  const int command = TrackPopupMenu(openMenu_, flags, x, y, 0, wnd_, nullptr);
  if (g_filterHook) UnhookWindowsHookEx(g_filterHook);
  g_filterHook = nullptr;
  g_tracked = nullptr;
  RestoreItems();
  tracking_ = false;
  openIndex_ = -1;
  openMenu_ = nullptr;
  if (objects_.HotObject == &item) item.MouseLeave();
  if (command) PostMessageW(wnd_, WM_COMMAND, static_cast<WPARAM>(command), 0);
}

void TWinSkinMenu::MakeOwnerDrawn(HMENU menu) {
  const int count = GetMenuItemCount(menu);
  for (int i = 0; i < count; ++i) {
    MENUITEMINFOW info{};
    info.cbSize = sizeof info;
    info.fMask = MIIM_FTYPE | MIIM_DATA | MIIM_SUBMENU;
    if (!GetMenuItemInfoW(menu, static_cast<UINT>(i), TRUE, &info) || (info.fType & MFT_OWNERDRAW)) continue;
    owned_.push_back({menu, i, info.fType, info.dwItemData, MenuItemLookOf(menu, i)});
    MENUITEMINFOW drawn{};
    drawn.cbSize = sizeof drawn;
    drawn.fMask = MIIM_FTYPE | MIIM_DATA;
    drawn.fType = (info.fType & ~static_cast<UINT>(MFT_SEPARATOR)) | MFT_OWNERDRAW;
    drawn.dwItemData = kDropTag | (owned_.size() - 1);
    SetMenuItemInfoW(menu, static_cast<UINT>(i), TRUE, &drawn);
    if (info.hSubMenu) MakeOwnerDrawn(info.hSubMenu);
  }
}

void TWinSkinMenu::RestoreItems() {
  for (const TOwnedItem &item : owned_) {
    MENUITEMINFOW info{};
    info.cbSize = sizeof info;
    info.fMask = MIIM_FTYPE | MIIM_DATA;
    info.fType = item.Type;
    info.dwItemData = item.Data;
    SetMenuItemInfoW(item.Menu, static_cast<UINT>(item.Position), TRUE, &info);
  }
  owned_.clear();
}

const TMenuItemLook *TWinSkinMenu::LookOf(UINT type, ULONG_PTR data) const {
  if (type != ODT_MENU || (data & ~kDropIndexMask) != kDropTag) return nullptr;
  const std::size_t index = data & kDropIndexMask;
  return index < owned_.size() ? &owned_[index].Look : nullptr;
}

bool TWinSkinMenu::Measure(MEASUREITEMSTRUCT &item) const {
  const TMenuItemLook *look = LookOf(item.CtlType, item.itemData);
  if (!look) return false;
  const SIZE size = MeasureSkinMenuItem(data_->Skin(), font_, *look);
  item.itemWidth = static_cast<UINT>(size.cx);
  item.itemHeight = static_cast<UINT>(size.cy);
  return true;
}

bool TWinSkinMenu::Draw(const DRAWITEMSTRUCT &item) const {
  const TMenuItemLook *look = LookOf(item.CtlType, item.itemData);
  if (!look) return false;
  TMenuItemLook state = *look;
  state.Selected = (item.itemState & ODS_SELECTED) != 0;
  state.Disabled = (item.itemState & ODS_GRAYED) != 0 || look->Separator;
  DrawSkinMenuItem(data_->Skin(), font_, item.hDC, item.rcItem, state,
                   PopupBackgroundFor(reinterpret_cast<HMENU>(item.hwndItem), item.rcItem));
  return true;
}

bool TWinSkinMenu::MenuChar(wchar_t key, HMENU menu, LRESULT &result) const {
  if (!tracking_) return false;
  // Owner-drawn items have no text for the platform to find mnemonics in.
  const auto wanted = std::towupper(static_cast<wint_t>(key));
  for (const TOwnedItem &item : owned_) {
    if (item.Menu != menu || item.Look.Separator || item.Look.Disabled) continue;
    const std::wstring &c = item.Look.Caption;
    const std::size_t amp = c.find(L'&');
    if (amp != std::wstring::npos && amp + 1 < c.size() &&
        std::towupper(static_cast<wint_t>(c[amp + 1])) == wanted) {
      result = MAKELRESULT(item.Position, MNC_EXECUTE);
      return true;
    }
  }
  return false;
}

void TWinSkinMenu::MenuSelect(WPARAM wParam, LPARAM lParam) {
  if (!tracking_) return;
  const UINT flags = HIWORD(wParam);
  if (flags == 0xFFFF && lParam == 0) return; // closing
  selected_ = true;
  selectedParent_ = reinterpret_cast<HMENU>(lParam);
  selectedIsPopup_ = (flags & MF_POPUP) != 0;
}

LRESULT CALLBACK TWinSkinMenu::FilterHook(int code, WPARAM wParam, LPARAM lParam) {
  auto *msg = reinterpret_cast<MSG *>(lParam);
  TWinSkinMenu *self = g_tracked;
  // In a right-to-left menu Left goes on to the next item and Right back to the previous one.
  if (self && code == MSGF_MENU && self->rightToLeft_ && msg->message == WM_KEYDOWN &&
      (msg->wParam == VK_LEFT || msg->wParam == VK_RIGHT))
    msg->wParam = msg->wParam == VK_LEFT ? VK_RIGHT : VK_LEFT;
  const LRESULT result = CallNextHookEx(g_filterHook, code, wParam, lParam);
  if (result == 0 && code == MSGF_MENU && self) self->Filter(*msg);
  return result;
}

void TWinSkinMenu::Filter(MSG &msg) {
  // The first item is selected as the drop-down opens: a Down key posted to the first message's
  // window (a thread message, such as a timer's, has none and is passed over).
  if (firstMessage_ && msg.hwnd) {
    firstMessage_ = false;
    PostMessageW(msg.hwnd, WM_KEYDOWN, VK_DOWN, 0);
  }
  const auto &items = objects_.MenuItems();
  const int count = static_cast<int>(items.size());
  TMenuBtn *target = nullptr;
  if (msg.message == WM_KEYDOWN && msg.wParam == VK_LEFT && (!selected_ || selectedParent_ == openMenu_))
    target = items[static_cast<std::size_t>(NeighbourItem(count, openIndex_, -1))].get();
  if (msg.message == WM_KEYDOWN && msg.wParam == VK_RIGHT && !selectedIsPopup_)
    target = items[static_cast<std::size_t>(NeighbourItem(count, openIndex_, 1))].get();
  if (msg.message == WM_MOUSEMOVE) {
    RECT w;
    GetWindowRect(wnd_, &w);
    target = dynamic_cast<TMenuBtn *>(objects_.FindNCObject({msg.pt.x - w.left, msg.pt.y - w.top}));
  }
  if (target && target->Index != openIndex_ && !switchTo_) {
    switchTo_ = target;
    EndMenu();
  }
}

} // namespace qv
