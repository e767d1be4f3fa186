#pragma once
// The skinned menu bar on our own bitmaps: its background, where its items go, which item an
// accelerator letter names and which item the arrow keys move to.
#include "skin/WinSkinNc.h"

#include <vector>

namespace qv {

// The bar's background: the menu bar object's frame 1 (active) or 2, nine-part when its tile
// field is 1, else a bar with a repeated middle; without the object a fill with `menubarColour`.
PixelMap MenuBarBackground(const TDataSkinObject *menuBar, TSize size, bool active, TColor menubarColour);

// Where the first item starts (right to left: where the last one ends), in bar coordinates.
int MenuBarItemsStart(const TDataSkinObject *menuBar, int barWidth, bool rightToLeft);

// Places the items from the start: each visible item is its text width + 10 wide (0 without
// text), (x, 0, x + width, bar height - 1) in the bar, its BoundsRect that moved to the bar's place.
// An invisible item gets an empty rectangle. Returns the places in bar coordinates.
std::vector<TRect> LayoutMenuBar(const std::vector<std::unique_ptr<TMenuBtn>> &items,
                                 const std::vector<int> &textWidths, const TRect &bar, int start,
                                 bool rightToLeft);

// The first visible, enabled item whose caption marks `key` as its accelerator ("&" before it,
// letters in either case), or -1.
int AcceleratorItem(const std::vector<std::unique_ptr<TMenuBtn>> &items, wchar_t key);

// The bar item `step` (1 or -1) away from `index`, wrapping around.
int NeighbourItem(int count, int index, int step);

// One entry of the skinned system menu: its glyph in the menu glyph strip (0 restore,
// 1 maximise, 2 minimise, 3 close; -1 none) and whether the window's state allows it.
struct TSystemMenuEntry {
  int Glyph = -1;
  bool Enabled = true;
};
// By the entry's command identifier; `platformEnabled` is what the platform's menu says.
TSystemMenuEntry SystemMenuEntry(unsigned command, bool platformEnabled, const TNcWindowFacts &facts);

} // namespace qv
