#pragma once
// The skinned system menu: a copy of the window's system menu whose items are drawn from the skin
// (the menu item picture, the menu glyphs for restore, maximise, minimise and close) and enabled
// by the window's state. Rebuilt on every opening.
#include "platform/forms/Menus.h"
#include "platform/graphics/GdiObjects.h"
#include "skin/WinSkinNc.h"

#include <windows.h>

#include <string>
#include <vector>

namespace qv {

class TSkinData;
class TSkinDataCore;

// What one skinned menu item shows.
struct TMenuItemLook {
  std::wstring Caption, Shortcut;
  int Glyph = -1; // in the menu glyph strip
  bool Separator = false, Selected = false, Disabled = false, Checked = false;
};
// The font of the skinned menus: the platform's menu font (made once).
HFONT SkinMenuFont();
// The look of a platform menu item read by position: caption and shortcut split at the tab, "-"
// and a separator for an empty text.
TMenuItemLook MenuItemLookOf(HMENU menu, int position);
// Width and height of a skinned item in the menu font.
SIZE MeasureSkinMenuItem(const TSkinDataCore &skin, HFONT font, const TMenuItemLook &look);
// The item over r of dc: on `background` (the popup window's background behind the item; empty:
// the skin's "Menu" colour), the skin's menu item picture (frame 4 when selected), glyph or check
// mark, and texts.
void DrawSkinMenuItem(const TSkinDataCore &skin, HFONT font, HDC dc, const RECT &r, const TMenuItemLook &look,
                      const PixelMap &background = PixelMap());

class TSkinSystemMenu {
public:
  explicit TSkinSystemMenu(TSkinData *data);
  TSkinSystemMenu(const TSkinSystemMenu &) = delete;
  TSkinSystemMenu &operator=(const TSkinSystemMenu &) = delete;

  // Copies the entries of the platform's system menu, owner-drawn.
  void Build(HMENU platform, const TNcWindowFacts &facts);
  HMENU Handle() const { return menu_.get(); }
  // The owner window's WM_MEASUREITEM and WM_DRAWITEM; false when the item is not one of ours.
  bool Measure(MEASUREITEMSTRUCT &item) const;
  bool Draw(const DRAWITEMSTRUCT &item) const;

private:
  const TMenuItemLook *EntryOf(UINT type, ULONG_PTR data) const;

  TSkinData *data_;
  TMenuHandle menu_;
  std::vector<TMenuItemLook> entries_;
};

} // namespace qv
