#pragma once
// Menus: TMenuItem (caption, checked, enabled, visible, click, sub-items), TMainMenu (a form's
// menu bar) and TPopupMenu. Items nest in layouts inside their menu. Any change rebuilds the
// platform menu and tells the form with CM_MENUCHANGED.
#include "platform/base/Geometry.h"
#include "platform/classes/Component.h"
#include "platform/forms/Messages.h"

#include <windows.h>

#include <memory>
#include <string>
#include <type_traits>
#include <vector>

namespace qv {

// A menu handle destroyed with its holder (with the submenus still attached to it).
struct TDestroyMenu {
  void operator()(HMENU menu) const { DestroyMenu(menu); }
};
using TMenuHandle = std::unique_ptr<std::remove_pointer_t<HMENU>, TDestroyMenu>;

class TMenu;

// Owner drawing of an item whose menu is owner-drawn: the device context, the item's rectangle
// on it and its state (ODS_ flags).
using TMenuDrawItemEvent = TEvent<TObject *, HDC, const TRect &, UINT>;
// Its size (width, height), given the framework's own measure to change.
using TMenuMeasureItemEvent = TEvent<TObject *, HDC, int &, int &>;

class TMenuItem : public TComponent {
  QV_DECLARE_CLASS(TMenuItem)
public:
  explicit TMenuItem(TComponent *owner);
  ~TMenuItem() override;

  const std::string &Caption() const { return caption_; }
  void SetCaption(const std::string &c);
  bool Checked() const { return checked_; }
  void SetChecked(bool on);
  bool Enabled() const { return enabled_; }
  void SetEnabled(bool on);
  bool Visible() const { return visible_; }
  void SetVisible(bool on);
  // The platform command identifier (unique in the process).
  UINT Command() const { return command_; }
  // The drop-down of this item when it has sub-items, else nullptr.
  HMENU Handle() const { return subMenu_.get(); }

  int Count() const { return static_cast<int>(items_.size()); }
  TMenuItem *Items(int i) const { return items_.at(i); }
  TMenuItem *ParentItem() const { return parent_; }
  int MenuIndex() const;
  void Add(TMenuItem *item);
  void Insert(int index, TMenuItem *item);
  void Remove(TMenuItem *item);
  // The menu this item belongs to, or nullptr.
  TMenu *GetParentMenu() const;

  TNotifyEvent OnClick;
  virtual void Click();

  // Owner drawing; without handlers the framework measures and draws the item itself.
  TMenuDrawItemEvent OnAdvancedDrawItem;
  TMenuMeasureItemEvent OnMeasureItem;
  // The framework's own measure: the caption (and the shortcut after its tab) in the menu font
  // on dc, with room for a check mark; a separator is half a menu bar high.
  void DefaultMeasure(HDC dc, int &width, int &height) const;
  // The menu handle this item is shown in (its parent's drop-down, or the menu's own handle).
  HMENU ParentHandle() const;
  // WM_MEASUREITEM and WM_DRAWITEM of an owner-drawn menu item (sent to the window that tracks
  // the menu): handled when the item is one of ours; false otherwise.
  static bool DispatchOwnerDraw(TMessage &m);

  void SetParentComponent(TComponent *parent) override;
  TComponent *GetParentComponent() const override;

  // Runs the click of the item with this command; false when no item has it.
  static bool DispatchCommand(UINT command);
  // The live item whose address the platform menu carries as item data, or nullptr.
  static TMenuItem *FromItemData(ULONG_PTR data);

  // Framework use: fills menu with the visible sub-items (owner-drawn when asked).
  void FillMenu(HMENU menu, bool ownerDraw);

protected:
  // Something about the item changed: the menu is rebuilt.
  void Changed();
  void MeasureItem(HDC dc, int &width, int &height);
  void DrawItem(HDC dc, const TRect &rect, UINT state);

private:
  friend class TMenu;
  std::string caption_;
  bool checked_ = false, enabled_ = true, visible_ = true;
  UINT command_;
  TMenuHandle subMenu_;
  TMenuItem *parent_ = nullptr;
  TMenu *menu_ = nullptr; // set on the root item only
  std::vector<TMenuItem *> items_;
};

class TMenu : public TComponent {
  QV_DECLARE_CLASS(TMenu)
public:
  explicit TMenu(TComponent *owner);
  ~TMenu() override;
  // The root item whose sub-items are the menu's items.
  TMenuItem *Items() const { return items_; }
  HMENU Handle();
  // Items drawn by the owner window (WM_MEASUREITEM / WM_DRAWITEM), as a skin engine needs.
  bool OwnerDraw() const { return ownerDraw_; }
  void SetOwnerDraw(bool on);
  // Rebuilds the platform menu from the items and tells the form.
  virtual void MenuChanged();

protected:
  virtual HMENU CreateMenuHandle() = 0;

private:
  TMenuItem *items_;
  TMenuHandle handle_;
  bool ownerDraw_ = false;
};

class TMainMenu : public TMenu {
  QV_DECLARE_CLASS(TMainMenu)
public:
  explicit TMainMenu(TComponent *owner) : TMenu(owner) {}
  void MenuChanged() override;

protected:
  HMENU CreateMenuHandle() override { return CreateMenu(); }
};

class TPopupMenu : public TMenu {
  QV_DECLARE_CLASS(TPopupMenu)
public:
  explicit TPopupMenu(TComponent *owner) : TMenu(owner) {}
  // Shows the menu at a screen point and runs the chosen item's click.
  void Popup(int x, int y);
  TNotifyEvent OnPopup;

protected:
  HMENU CreateMenuHandle() override { return CreatePopupMenu(); }
};

} // namespace qv
