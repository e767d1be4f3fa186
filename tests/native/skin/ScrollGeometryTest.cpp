#include "skin/ScrollGeometry.h"

#include <gtest/gtest.h>

namespace qv {
namespace {

// A 200-pixel bar 17 thick: arrows of 17, a track of 166.
TScrollLayout Bar(int min, int max, unsigned page, int pos, int minThumb = 8) {
  return LayoutScrollBar(200, 17, {min, max, page, pos}, minThumb);
}

TEST(ScrollGeometry, ThumbTakesThePageShareAndRunsFromTrackStartToTrackEnd) {
  const TScrollLayout first = Bar(0, 99, 10, 0);
  EXPECT_EQ(first.Arrow, 17);
  EXPECT_EQ(first.ThumbLength, 17); // 166 * 10 / 100 = 16.6, rounded
  EXPECT_EQ(first.ThumbStart, 17);
  // The last position is Max - (Page - 1): the thumb then ends where the second arrow begins.
  const TScrollLayout last = Bar(0, 99, 10, 90);
  EXPECT_EQ(last.ThumbStart + last.ThumbLength, last.TrackEnd());
  // Positions beyond the last one stay there.
  EXPECT_EQ(Bar(0, 99, 10, 99).ThumbStart, last.ThumbStart);
  EXPECT_EQ(Bar(0, 99, 10, -5).ThumbStart, first.ThumbStart);
  // Half way: 17 + 149 * 45 / 90, rounded half up.
  EXPECT_EQ(Bar(0, 99, 10, 45).ThumbStart, 17 + 75);
  // A range that does not start at 0 (the question list numbers its records from 1).
  EXPECT_EQ(Bar(1, 100, 10, 1).ThumbStart, first.ThumbStart);
  EXPECT_EQ(Bar(1, 100, 10, 91).ThumbStart, last.ThumbStart);
}

TEST(ScrollGeometry, ThumbSizeLimits) {
  // A tiny page still gets the smallest thumb.
  EXPECT_EQ(Bar(0, 9999, 1, 0).ThumbLength, 8);
  // Without a page the thumb is as long as the bar is thick.
  EXPECT_EQ(Bar(0, 100, 0, 0).ThumbLength, 17);
  // A page covering the range fills the track; nothing to move, the thumb stays at the start.
  const TScrollLayout all = Bar(0, 9, 10, 0);
  EXPECT_EQ(all.ThumbLength, 166);
  EXPECT_EQ(all.ThumbStart, 17);
  // Disabled, or an empty range: no thumb.
  EXPECT_FALSE(LayoutScrollBar(200, 17, {0, 99, 10, 0}, 8, false).HasThumb());
  EXPECT_FALSE(Bar(5, 4, 0, 0).HasThumb());
  // A track shorter than the smallest thumb has none.
  EXPECT_FALSE(LayoutScrollBar(40, 17, {0, 99, 10, 0}, 8).HasThumb());
}

TEST(ScrollGeometry, ShortBarsHalveTheArrowsAndHaveNoThumb) {
  const TScrollLayout l = LayoutScrollBar(25, 17, {0, 99, 10, 0}, 8);
  EXPECT_EQ(l.Arrow, 12);
  EXPECT_FALSE(l.HasThumb());
  EXPECT_EQ(ScrollPartAt(l, 11), spLineUp);
  EXPECT_EQ(ScrollPartAt(l, 12), spPageDown); // the one pixel between the halves
  EXPECT_EQ(ScrollPartAt(l, 13), spLineDown);
  // Exactly two arrows long: arrows only.
  const TScrollLayout two = LayoutScrollBar(34, 17, {0, 99, 10, 0}, 8);
  EXPECT_EQ(two.Arrow, 17);
  EXPECT_EQ(ScrollPartAt(two, 16), spLineUp);
  EXPECT_EQ(ScrollPartAt(two, 17), spLineDown);
}

TEST(ScrollGeometry, PartsAlongTheBarUseTheScrollCodes) {
  const TScrollLayout l = Bar(0, 99, 10, 45); // thumb 92 .. 109
  EXPECT_EQ(ScrollPartAt(l, -1), spNone);
  EXPECT_EQ(ScrollPartAt(l, 0), spLineUp);
  EXPECT_EQ(ScrollPartAt(l, 16), spLineUp);
  EXPECT_EQ(ScrollPartAt(l, 17), spPageUp);
  EXPECT_EQ(ScrollPartAt(l, 91), spPageUp);
  EXPECT_EQ(ScrollPartAt(l, 92), spThumb);
  EXPECT_EQ(ScrollPartAt(l, 108), spThumb);
  EXPECT_EQ(ScrollPartAt(l, 109), spPageDown);
  EXPECT_EQ(ScrollPartAt(l, 182), spPageDown);
  EXPECT_EQ(ScrollPartAt(l, 183), spLineDown);
  EXPECT_EQ(ScrollPartAt(l, 199), spLineDown);
  EXPECT_EQ(ScrollPartAt(l, 200), spNone);
  EXPECT_EQ(static_cast<int>(spLineDown), 1);
  EXPECT_EQ(static_cast<int>(spThumb), 5);
  EXPECT_EQ(AlongRect(true, 17, 92, 109), (TRect{0, 92, 17, 109}));
  EXPECT_EQ(AlongRect(false, 17, 92, 109), (TRect{92, 0, 109, 17}));
}

} // namespace
} // namespace qv
