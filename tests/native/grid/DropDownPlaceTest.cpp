// Placing a drop-down list near each edge of the work area.
#include "grid/DropDownPlace.h"

#include <gtest/gtest.h>

namespace qv {
namespace {

const TRect kWork{0, 0, 800, 570}; // a task bar takes the bottom 30 pixels of 800 x 600

TEST(DropDownPlace, BelowWhenItFits) {
  TDropDownPlacement p = PlaceDropDown({100, 100, 180, 118}, 150, 200, kWork);
  EXPECT_EQ(p.Bounds, (TRect{100, 118, 250, 318}));
  EXPECT_FALSE(p.Above);
  // Exactly to the bottom of the work area still fits.
  EXPECT_FALSE(PlaceDropDown({100, 352, 180, 370}, 150, 200, kWork).Above);
}

TEST(DropDownPlace, AboveWhenOnlyThereIsRoomOrMoreRoom) {
  TDropDownPlacement p = PlaceDropDown({100, 500, 180, 518}, 150, 200, kWork);
  EXPECT_TRUE(p.Above);
  EXPECT_EQ(p.Bounds, (TRect{100, 300, 250, 500}));
  // Too tall for either side: the larger side, shortened.
  p = PlaceDropDown({100, 400, 180, 418}, 150, 1000, kWork);
  EXPECT_TRUE(p.Above);
  EXPECT_EQ(p.Bounds, (TRect{100, 0, 250, 400}));
  p = PlaceDropDown({100, 100, 180, 118}, 150, 1000, kWork);
  EXPECT_FALSE(p.Above);
  EXPECT_EQ(p.Bounds, (TRect{100, 118, 250, 570}));
}

TEST(DropDownPlace, MovedLeftAndNeverWiderThanTheWorkArea) {
  TDropDownPlacement p = PlaceDropDown({700, 100, 790, 118}, 200, 100, kWork);
  EXPECT_EQ(p.Bounds, (TRect{600, 118, 800, 218}));
  p = PlaceDropDown({10, 100, 90, 118}, 1200, 100, kWork);
  EXPECT_EQ(p.Bounds, (TRect{0, 118, 800, 218}));
  // A work area that does not start at 0 (a task bar on the left, a second monitor).
  p = PlaceDropDown({-40, 100, 40, 118}, 150, 100, {-1024, 0, 0, 768});
  EXPECT_EQ(p.Bounds, (TRect{-150, 118, 0, 218}));
  p = PlaceDropDown({20, 100, 100, 118}, 150, 100, {60, 0, 800, 570});
  EXPECT_EQ(p.Bounds.Left, 60);
}

} // namespace
} // namespace qv
