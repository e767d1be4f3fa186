#include "skin/ScrollGeometry.h"

#include <algorithm>
#include <cstdint>

namespace qv {

namespace {

// a * b / c rounded to the nearest (the platform's MulDiv for the non-negative values used here).
int MulDivRound(int a, int b, int c) {
  if (c == 0) return 0;
  return static_cast<int>((static_cast<int64_t>(a) * b + c / 2) / c);
}

} // namespace

TScrollLayout LayoutScrollBar(int length, int thickness, const TScrollRange &range, int minThumb,
                              bool enabled) {
  TScrollLayout l;
  l.Length = std::max(length, 0);
  l.Arrow = std::max(thickness, 0);
  if (l.Length < 2 * l.Arrow) {
    l.Arrow = l.Length / 2;
    return l;
  }
  const int track = l.Length - 2 * l.Arrow;
  const int span = range.Max - range.Min + 1;
  if (!enabled || span <= 0) return l;
  int thumb = range.Page ? MulDivRound(track, static_cast<int>(range.Page), span) : thickness;
  thumb = std::max(thumb, minThumb);
  const int room = track - thumb;
  if (room < 0) return l;
  // The last position a thumb can take shows the page's end at the range's end.
  const int last = range.Max - std::max(static_cast<int>(range.Page) - 1, 0);
  const int pos = std::clamp(range.Pos, range.Min, std::max(last, range.Min));
  l.ThumbLength = thumb;
  l.ThumbStart = l.Arrow + (range.Min >= last ? 0 : MulDivRound(room, pos - range.Min, last - range.Min));
  return l;
}

TScrollPart ScrollPartAt(const TScrollLayout &layout, int along) {
  if (along < 0 || along >= layout.Length) return spNone;
  if (along < layout.Arrow) return spLineUp;
  if (along >= layout.TrackEnd()) return spLineDown;
  if (!layout.HasThumb()) return spPageDown;
  if (along < layout.ThumbStart) return spPageUp;
  if (along < layout.ThumbStart + layout.ThumbLength) return spThumb;
  return spPageDown;
}

TRect AlongRect(bool vertical, int thickness, int from, int to) {
  return vertical ? TRect{0, from, thickness, to} : TRect{from, 0, to, thickness};
}

} // namespace qv
