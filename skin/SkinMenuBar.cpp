#include "skin/SkinMenuBar.h"

#include "skin/SkinDraw.h"

#include <cwctype>

namespace qv {

PixelMap MenuBarBackground(const TDataSkinObject *menuBar, TSize size, bool active, TColor menubarColour) {
  PixelMap bar(size.cx, size.cy, PixelFromColor(ResolveColor(menubarColour)));
  if (!menuBar || menuBar->Image.Empty()) return bar;
  const int frame = active ? 1 : 2;
  if (menuBar->Tile == 1) return MakeSkinPart(size, menuBar->Image, menuBar->Margins, true, false, 2, frame);
  DrawSkinBar(bar, {0, 0, size.cx, size.cy}, menuBar->Image, true, false, 2, frame, menuBar->Margins);
  return bar;
}

int MenuBarItemsStart(const TDataSkinObject *menuBar, int barWidth, bool rightToLeft) {
  if (!menuBar || menuBar->Image.Empty()) return rightToLeft ? barWidth - 6 : 6;
  const int start = rightToLeft ? barWidth - (menuBar->Margins.Right + 8) : menuBar->Margins.Left + 4;
  return barWidth < start ? 12 : start;
}

std::vector<TRect> LayoutMenuBar(const std::vector<std::unique_ptr<TMenuBtn>> &items,
                                 const std::vector<int> &textWidths, const TRect &bar, int start,
                                 bool rightToLeft) {
  std::vector<TRect> places(items.size());
  int x = start;
  for (std::size_t i = 0; i < items.size(); ++i) {
    TMenuBtn &item = *items[i];
    if (!item.Visible) {
      item.BoundsRect = {};
      continue;
    }
    const int text = i < textWidths.size() ? textWidths[i] : 0;
    const int width = text > 0 ? text + 10 : 0;
    const TRect place =
        rightToLeft ? TRect{x - width, 0, x, bar.Height() - 1} : TRect{x, 0, x + width, bar.Height() - 1};
    x = rightToLeft ? x - width : x + width;
    places[i] = place;
    item.BoundsRect = place.Offset(bar.Left, bar.Top);
  }
  return places;
}

int AcceleratorItem(const std::vector<std::unique_ptr<TMenuBtn>> &items, wchar_t key) {
  const auto wanted = std::towupper(static_cast<wint_t>(key));
  for (const auto &item : items) {
    if (!item->Visible || !item->Enabled) continue;
    const std::wstring &c = item->Caption;
    for (std::size_t i = 0; i + 1 < c.size(); ++i) {
      if (c[i] != L'&') continue;
      if (c[i + 1] == L'&') {
        ++i; // "&&" is a plain ampersand
        continue;
      }
      if (std::towupper(static_cast<wint_t>(c[i + 1])) == wanted) return item->Index;
      break;
    }
  }
  return -1;
}

TSystemMenuEntry SystemMenuEntry(unsigned command, bool platformEnabled, const TNcWindowFacts &facts) {
  const bool maximised = facts.WindowStateKind == wkMaximised,
             minimised = facts.WindowStateKind == wkMinimised;
  switch (command) {
  case 0xF000: // size
  case 0xF010: // move
    return {-1, !maximised};
  case 0xF020:
    return {2, !minimised && (facts.TitleIcons & tiMinimiseBox) != 0};
  case 0xF030:
    return {1, !maximised && (facts.TitleIcons & tiMaximiseBox) != 0};
  case 0xF060:
    return {3, platformEnabled};
  case 0xF120:
    return {0, facts.WindowStateKind != wkNormal};
  default:
    return {-1, platformEnabled};
  }
}

int NeighbourItem(int count, int index, int step) {
  if (count <= 0) return -1;
  return ((index + step) % count + count) % count;
}

} // namespace qv
