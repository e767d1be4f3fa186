#include "skin/SkinDraw.h"

#include <gtest/gtest.h>

namespace qv {
namespace {

Pixel P(TColor c) { return PixelFromColor(c); }

// A frame whose nine parts each have their own colour: margins 2 on every side of a 6x6 frame.
//   TL T TR      red    green  blue
//   L  C R   =   yellow white  aqua
//   BL B BR      olive  navy   maroon
PixelMap NinePartFrame() {
  const TColor colours[3][3] = {
      {clRed, clLime, clBlue}, {clYellow, clWhite, clAqua}, {clOlive, clNavy, clMaroon}};
  PixelMap m(6, 6);
  for (int y = 0; y < 6; ++y)
    for (int x = 0; x < 6; ++x)
      m.At(x, y) = P(colours[y < 2 ? 0 : y < 4 ? 1 : 2][x < 2 ? 0 : x < 4 ? 1 : 2]);
  return m;
}

TEST(Draw, NinePartScalingKeepsCornersAndStretchesEdges) {
  const PixelMap frame = NinePartFrame();
  const PixelMap out = MakeSkinPart({20, 12}, frame, {2, 2, 2, 2}, false, false, 1, 1);
  EXPECT_EQ(out.At(0, 0), P(clRed));
  EXPECT_EQ(out.At(1, 1), P(clRed));
  EXPECT_EQ(out.At(2, 0), P(clLime));
  EXPECT_EQ(out.At(17, 1), P(clLime));
  EXPECT_EQ(out.At(18, 0), P(clBlue));
  EXPECT_EQ(out.At(0, 9), P(clYellow));
  EXPECT_EQ(out.At(10, 6), P(clWhite));
  EXPECT_EQ(out.At(19, 11), P(clMaroon));
  EXPECT_EQ(out.At(10, 11), P(clNavy));
}

TEST(Draw, MarginsThatDoNotFitAreDroppedInPairs) {
  // A 10-pixel-wide destination with left and right margins of 7: no side columns at all.
  PixelMap frame(20, 4, P(clWhite));
  for (int y = 0; y < 4; ++y) {
    for (int x = 0; x < 7; ++x)
      frame.At(x, y) = P(clRed);
    for (int x = 13; x < 20; ++x)
      frame.At(x, y) = P(clBlue);
  }
  const PixelMap out = MakeSkinPart({10, 4}, frame, {7, 0, 7, 0}, false, false, 1, 1);
  // The whole frame (red, white, blue) is stretched over the ten columns.
  EXPECT_EQ(out.At(0, 0), P(clRed));
  EXPECT_EQ(out.At(5, 0), P(clWhite));
  EXPECT_EQ(out.At(9, 0), P(clBlue));
  EXPECT_EQ(out.At(3, 0), P(clRed)); // 3*20/10 = 6: still the old left part, as stretched
  EXPECT_EQ(out.At(4, 0), P(clWhite));
}

TEST(Draw, TiledCentreIsCoveredByTheRightAndBottomParts) {
  // Centre 2x2 of two colours tiled into an odd-sized area: the last tile runs under the right edge.
  PixelMap frame = NinePartFrame();
  frame.At(3, 2) = P(clGray);
  const PixelMap out = MakeSkinPart({11, 9}, frame, {2, 2, 2, 2}, false, true, 1, 1);
  EXPECT_EQ(out.At(2, 2), P(clWhite));
  EXPECT_EQ(out.At(3, 2), P(clGray));
  EXPECT_EQ(out.At(5, 2), P(clGray)); // repeated at its own size
  EXPECT_EQ(out.At(9, 2), P(clAqua)); // right edge drawn after the tiles
  EXPECT_EQ(out.At(4, 7), P(clNavy));
}

TEST(Draw, SelectsFramesOfAStripAndIgnoresEmptyInput) {
  PixelMap strip(9, 2, P(clRed));
  for (int y = 0; y < 2; ++y)
    for (int x = 3; x < 6; ++x)
      strip.At(x, y) = P(clBlue);
  PixelMap target(4, 4, P(clBlack));
  DrawSkinFrame(target, {0, 0, 4, 4}, strip, false, 3, 2);
  EXPECT_EQ(target.At(3, 3), P(clBlue));
  EXPECT_TRUE(SkinFrameRect(strip, false, 3, 4).IsEmpty());
  EXPECT_EQ(SkinFrameRect(strip, true, 2, 2), (TRect{0, 1, 9, 2}));

  // A coloured target, so that a black box drawn for missing input would show.
  PixelMap untouched(4, 4, P(clTeal));
  DrawSkinPart(untouched, {0, 0, 4, 4}, PixelMap(), false, false, false, 5, 1, {1, 1, 1, 1});
  DrawSkinPart(untouched, {0, 0, 4, 4}, strip, false, false, false, 3, 4, {}); // past the last frame
  DrawSkinPart(untouched, {0, 0, 4, 4}, strip, true, false, false, 3, 0, {});  // frames count from 1
  DrawSkinPart(untouched, {0, 0, 4, 4}, strip, false, false, false, 0, 1, {}); // no frames
  DrawSkinPart(untouched, {4, 4, 0, 0}, strip, false, false, false, 3, 1, {});
  DrawSkinFrame(untouched, {0, 0, 4, 4}, strip, false, 0, 1);
  DrawSkinGlyph(untouched, {0, 0, 4, 4}, PixelMap(), true, 1, 1);
  DrawSkinBar(untouched, {0, 0, 4, 4}, strip, false, false, 3, 9, {1, 0, 1, 0});
  for (int y = 0; y < 4; ++y)
    for (int x = 0; x < 4; ++x)
      EXPECT_EQ(untouched.At(x, y), P(clTeal)) << x << "," << y;
  // The nine-part result of nothing is no bitmap at all: a caller that blits it draws nothing.
  EXPECT_TRUE(MakeSkinPart({4, 4}, PixelMap(), {}, false, false, 1, 1).Empty());
  EXPECT_TRUE(MakeSkinPart({4, 4}, strip, {}, false, false, 3, 7).Empty());
}

TEST(Draw, GlyphIsCentredAndMagentaIsTransparent) {
  PixelMap glyph(3, 3, P(clRed));
  glyph.At(1, 1) = P(kSkinTransparent);
  PixelMap target(8, 7, P(clWhite));
  DrawSkinGlyph(target, {0, 0, 8, 7}, glyph, true, 1, 1);
  // x = (8 - 3) / 2 = 2, y = (7 - 3) / 2 = 2
  EXPECT_EQ(target.At(1, 2), P(clWhite));
  EXPECT_EQ(target.At(2, 2), P(clRed));
  EXPECT_EQ(target.At(3, 3), P(clWhite)); // the magenta hole
  EXPECT_EQ(target.At(4, 4), P(clRed));
  EXPECT_EQ(target.At(5, 4), P(clWhite));
}

TEST(Draw, BarRepeatsTheMiddleBetweenTheCaps) {
  PixelMap frame(5, 1, P(clWhite));
  frame.At(0, 0) = P(clRed);
  frame.At(2, 0) = P(clGray);
  frame.At(4, 0) = P(clBlue);
  PixelMap target(12, 3, P(clBlack));
  DrawSkinBar(target, {0, 0, 12, 3}, frame, false, false, 1, 1, {1, 0, 1, 0});
  EXPECT_EQ(target.At(0, 2), P(clRed));
  EXPECT_EQ(target.At(2, 1), P(clGray));
  EXPECT_EQ(target.At(5, 1), P(clGray)); // middle (3 wide) repeated from x = 1
  EXPECT_EQ(target.At(11, 0), P(clBlue));
}

TEST(Draw, TileBitmapIsNotCutAtTheRectangle) {
  PixelMap tile(3, 3, P(clRed));
  PixelMap target(10, 10, P(clTeal));
  TileBitmap(target, {0, 0, 4, 4}, tile, {0, 0, 3, 3});
  EXPECT_EQ(target.At(5, 5), P(clRed)); // the second tile runs to 6
  EXPECT_EQ(target.At(6, 6), P(clTeal));
}

TEST(Draw, BlendWeightsArePercentOrPerMille) {
  EXPECT_EQ(Blend(RGBColor(200, 0, 100), RGBColor(0, 200, 100), 99), RGBColor(198, 2, 100));
  EXPECT_EQ(Blend(RGBColor(200, 0, 100), RGBColor(0, 200, 100), 150), RGBColor(30, 170, 100));
  EXPECT_EQ(Blend(clWhite, clBlack, 50), RGBColor(128, 128, 128));
  EXPECT_EQ(Blend(clBtnFace, clBtnFace, 30), ResolveColor(clBtnFace)); // system colours resolved first
}

TEST(Draw, GradientRampFollowsTheFormulaAndIsCached) {
  const std::vector<TColor> ramp = GradientRamp(5, RGBColor(0, 100, 10), RGBColor(100, 0, 10));
  ASSERT_EQ(ramp.size(), 5u);
  // d = 4: entry i = c1 + (2 + i * (c2 - c1)) / 4, truncating toward zero.
  EXPECT_EQ(RedOf(ramp[1]), 25);
  EXPECT_EQ(GreenOf(ramp[1]), 100 + (2 - 100) / 4);
  EXPECT_EQ(RedOf(ramp[4]), 100);
  EXPECT_EQ(GradientRamp(1, RGBColor(0, 0, 0), RGBColor(101, 0, 0))[0], RGBColor(50, 0, 0));

  const int before = GradientCacheBuilds();
  PixelMap target(4, 30);
  GradientFill(target, {0, 0, 4, 30}, clWhite, true, clNavy);
  GradientFill(target, {0, 0, 4, 30}, clWhite, true, clNavy);
  EXPECT_EQ(GradientCacheBuilds(), before + 1);
  EXPECT_EQ(target.At(0, 0), P(clWhite));
  // Falling channels end one short of c2: (d/2 + d*(c2 - c1)) / d truncates toward zero.
  EXPECT_EQ(ColorFromPixel(target.At(3, 29)), RGBColor(1, 1, 129));
  // Sixteen other ramps push the first one out.
  for (int n = 2; n < 18; ++n)
    GradientRamp(n, clBlack, clRed);
  GradientFill(target, {0, 0, 4, 30}, clWhite, true, clNavy);
  EXPECT_EQ(GradientCacheBuilds(), before + 18);
  // Only the clip is painted.
  PixelMap clipped(4, 4, P(clTeal));
  GradientFill(clipped, {0, 0, 4, 4}, clWhite, false, clWhite, {1, 1, 2, 2});
  EXPECT_EQ(clipped.At(0, 0), P(clTeal));
  EXPECT_EQ(clipped.At(1, 1), P(clWhite));
}

TEST(Draw, TransformsMoveEveryPixelWhereTheySay) {
  PixelMap m(3, 2);
  for (int y = 0; y < 2; ++y)
    for (int x = 0; x < 3; ++x)
      m.At(x, y) = static_cast<Pixel>(10 * y + x);
  PixelMap left = m, right = m, mirrored = m, flipped = m;
  RotateLeft(left);
  ASSERT_EQ(left.Width(), 2);
  ASSERT_EQ(left.Height(), 3);
  EXPECT_EQ(left.At(1, 3 - 1 - 2), 12u); // (x, y) -> (y, w - 1 - x)
  EXPECT_EQ(left.At(0, 2), 0u);
  RotateRight(right);
  EXPECT_EQ(right.At(2 - 1 - 1, 2), 12u); // (x, y) -> (h - 1 - y, x)
  EXPECT_EQ(right.At(1, 0), 0u);
  Mirror(mirrored);
  EXPECT_EQ(mirrored.At(0, 1), 12u);
  Flip(flipped);
  EXPECT_EQ(flipped.At(2, 0), 12u);
  PixelMap grey(1, 1, P(RGBColor(10, 20, 31)));
  Grayscale(grey);
  EXPECT_EQ(grey.At(0, 0), P(RGBColor(20, 20, 20)));
}

TEST(Draw, RegionCoversTheRunsOfNonKeyPixels) {
  PixelMap m(6, 2, P(kSkinTransparent));
  m.At(1, 0) = m.At(2, 0) = P(clRed);
  m.At(4, 0) = P(clBlue);
  m.At(5, 1) = P(RGBColor(255, 1, 255)); // within tolerance 1 above magenta: key
  m.At(0, 1) = P(RGBColor(253, 0, 255)); // red 2 below: not key
  const std::vector<TRect> rects = RegionRects(m, 10, 20, 1, 1, 1);
  ASSERT_EQ(rects.size(), 3u);
  EXPECT_EQ(rects[0], (TRect{11, 20, 13, 21}));
  EXPECT_EQ(rects[1], (TRect{14, 20, 15, 21}));
  EXPECT_EQ(rects[2], (TRect{10, 21, 11, 22}));
}

} // namespace
} // namespace qv
