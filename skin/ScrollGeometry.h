#pragma once
// Geometry of a scroll bar along its length: the two arrows, the track between them and the
// thumb, from the bar's size and its range, page and position; and which part a point along the
// bar falls on. The skinned scroll bars draw with it over the platform's own bars, so it follows
// the platform's rules: presses are handed to the platform's bar at the same spot.
#include "platform/base/Geometry.h"

namespace qv {

// The parts along a bar, numbered with the platform's scroll codes (SB_LINEUP ... SB_THUMBTRACK).
enum TScrollPart {
  spNone = -1,
  spLineUp = 0,   // first arrow (line up or left)
  spLineDown = 1, // second arrow (line down or right)
  spPageUp = 2,   // track before the thumb
  spPageDown = 3, // track after the thumb
  spThumb = 5     // the thumb (thumb track)
};

// Range, page and position as the platform's scroll information holds them.
struct TScrollRange {
  int Min = 0, Max = 0;
  unsigned Page = 0;
  int Pos = 0;
};

// Positions along the bar, in pixels from its start.
struct TScrollLayout {
  int Length = 0;      // the bar's length
  int Arrow = 0;       // length of each arrow (both ends)
  int ThumbStart = 0;  // start of the thumb along the bar
  int ThumbLength = 0; // 0: no thumb (disabled, nothing to scroll over, or no room)

  bool HasThumb() const { return ThumbLength > 0; }
  int TrackStart() const { return Arrow; }
  int TrackEnd() const { return Length - Arrow; }
};

// Lays a bar out. length and thickness are the bar's size along and across; each arrow is as
// long as the bar is thick, halved when the bar is shorter than two of them. The thumb takes
// the page's share of the track (at least minThumb, the thickness when the page is 0) at the
// position's share of the rest; there is none when the bar is disabled or the track too short.
TScrollLayout LayoutScrollBar(int length, int thickness, const TScrollRange &range, int minThumb,
                              bool enabled = true);

// The part under a point `along` pixels from the bar's start: before the first arrow's end the
// first arrow, before the thumb page up, on the thumb the thumb, before the second arrow page
// down, else the second arrow. Without a thumb the whole track pages down. Outside: spNone.
TScrollPart ScrollPartAt(const TScrollLayout &layout, int along);

// The extent [from, to) along a bar of the given thickness as a rectangle: rows for a vertical
// bar, columns for a horizontal one.
TRect AlongRect(bool vertical, int thickness, int from, int to);

} // namespace qv
