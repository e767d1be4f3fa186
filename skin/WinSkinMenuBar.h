#pragma once
// The skinned menu bar of one window: its items read from the window's menu (which the window
// then loses, and gets back on GiveBack), painted in the band under the caption, and their
// drop-downs, between which the mouse and the arrow keys move while one is open.
#include "skin/WinSkinNc.h"
#include "skin/WinSkinSysMenu.h"

#include <vector>

#include <windows.h>

namespace qv {

class TSkinData;

class TWinSkinMenu {
public:
  TWinSkinMenu(HWND wnd, TSkinData *data, TNcObjects &objects);
  ~TWinSkinMenu();
  TWinSkinMenu(const TWinSkinMenu &) = delete;
  TWinSkinMenu &operator=(const TWinSkinMenu &) = delete;

  // Builds the items from the window's menu (or, once it is off the window, the menu taken) and
  // takes the menu off the window; false (nothing changed) when there is no menu or an empty one.
  bool ReadItems();
  // Puts the menu back on the window and forgets the items.
  void GiveBack();
  // The bar over `bar` (window coordinates) onto dc.
  void PaintBar(HDC dc, const TRect &bar, bool active, bool rightToLeft);
  // One item in its state, straight onto the window.
  void PaintItem(TMenuBtn &item);
  // Runs the item: its command is posted; a drop-down opens under it and is tracked until it
  // closes, moving to the neighbouring items on Left and Right or under the mouse.
  void Open(TMenuBtn &item);
  // The item that the accelerator letter names (0: the first item), or none.
  TMenuBtn *FindAccelItem(wchar_t key) const;
  // WM_MENUSELECT of the open drop-down.
  void MenuSelect(WPARAM wParam, LPARAM lParam);
  bool Tracking() const { return tracking_; }
  // The owner window's WM_MEASUREITEM, WM_DRAWITEM and WM_MENUCHAR for the open drop-down's
  // items, which are owner-drawn from the skin while it is open; false: not one of ours.
  bool Measure(MEASUREITEMSTRUCT &item) const;
  bool Draw(const DRAWITEMSTRUCT &item) const;
  bool MenuChar(wchar_t key, HMENU menu, LRESULT &result) const;
  HMENU Menu() const { return menu_; }

private:
  static LRESULT CALLBACK FilterHook(int code, WPARAM wParam, LPARAM lParam);
  void Filter(MSG &msg);
  void TrackOne(TMenuBtn &item);
  COLORREF TextColour(const TMenuBtn &item) const;
  // The drop-down's items (sub-menus included) become owner-drawn for the time it is open.
  void MakeOwnerDrawn(HMENU menu);
  void RestoreItems();
  const TMenuItemLook *LookOf(UINT type, ULONG_PTR data) const;
  struct TOwnedItem {
    HMENU Menu;
    int Position;
    UINT Type;
    ULONG_PTR Data;
    TMenuItemLook Look;
  };
  std::vector<TOwnedItem> owned_;

  HWND wnd_;
  TSkinData *data_;
  TNcObjects &objects_;
  HMENU menu_ = nullptr;
  HFONT font_ = nullptr;
  TRect bar_;
  bool rightToLeft_ = false;
  PixelMap barBack_; // the bar as painted without items
  // Tracking of one drop-down.
  bool tracking_ = false, firstMessage_ = false;
  int openIndex_ = -1;
  HMENU openMenu_ = nullptr, selectedParent_ = nullptr;
  bool selected_ = false, selectedIsPopup_ = false;
  TMenuBtn *switchTo_ = nullptr;
};

} // namespace qv
