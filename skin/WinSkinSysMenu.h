#pragma once
// The skinned system menu: a copy of the window's system menu whose items are drawn from the skin
// (the menu item picture, the menu glyphs for restore, maximise, minimise and close) and enabled
// by the window's state. Rebuilt on every opening.
#include "platform/graphics/GdiObjects.h"
#include "skin/WinSkinNc.h"

#include <windows.h>

#include <string>
#include <vector>

namespace qv {

class TSkinData;

class TSkinSystemMenu {
public:
  explicit TSkinSystemMenu(TSkinData *data);
  ~TSkinSystemMenu();
  TSkinSystemMenu(const TSkinSystemMenu &) = delete;
  TSkinSystemMenu &operator=(const TSkinSystemMenu &) = delete;

  // Copies the entries of the platform's system menu, owner-drawn.
  void Build(HMENU platform, const TNcWindowFacts &facts);
  HMENU Handle() const { return menu_; }
  // The owner window's WM_MEASUREITEM and WM_DRAWITEM; false when the item is not one of ours.
  bool Measure(MEASUREITEMSTRUCT &item) const;
  bool Draw(const DRAWITEMSTRUCT &item) const;

private:
  struct TEntry {
    std::wstring Caption, Shortcut;
    int Glyph = -1;
    bool Separator = false;
  };
  const TEntry *EntryOf(UINT type, ULONG_PTR data) const;
  void DrawSeparator(PixelMap &picture) const;

  TSkinData *data_;
  HMENU menu_ = nullptr;
  TFontHandle font_;
  std::vector<TEntry> entries_;
};

} // namespace qv
