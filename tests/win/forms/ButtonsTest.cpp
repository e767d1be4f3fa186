// The glyph placement that bit buttons and the skin engine share.
#include "platform/forms/Buttons.h"

#include <gtest/gtest.h>

namespace qv {

TEST(GlyphPlacement, MarginAndSpacingRulesOfBitButtons) {
  TRect client{0, 0, 100, 30};
  // Margin -1: the glyph-and-caption block is centred.
  TGlyphPlacement p = PlaceGlyphAndText(client, {16, 16}, {40, 12}, TButtonLayout::blGlyphLeft, -1, 4);
  EXPECT_EQ(p.Glyph.Left, (100 - (16 + 4 + 40)) / 2);
  EXPECT_EQ(p.Text.Left, p.Glyph.Right + 4);
  EXPECT_EQ(p.Glyph.Top, 7);
  // Margin and spacing -1: a third of the free space each.
  p = PlaceGlyphAndText(client, {16, 16}, {40, 12}, TButtonLayout::blGlyphLeft, -1, -1);
  EXPECT_EQ(p.Glyph.Left, (100 - 56) / 3);
  EXPECT_EQ(p.Text.Left - p.Glyph.Right, (100 - 56) / 3);
  // Spacing -1 alone: half of what is left after margin, glyph and caption.
  p = PlaceGlyphAndText(client, {16, 16}, {40, 12}, TButtonLayout::blGlyphLeft, 4, -1);
  EXPECT_EQ(p.Glyph.Left, 4);
  EXPECT_EQ(p.Text.Left - p.Glyph.Right, (100 - (4 + 16 + 40)) / 2);
  // Glyph on the right and on top.
  p = PlaceGlyphAndText(client, {16, 16}, {40, 12}, TButtonLayout::blGlyphRight, 2, 3);
  EXPECT_EQ(p.Glyph.Right, 98);
  EXPECT_EQ(p.Text.Right, p.Glyph.Left - 3);
  p = PlaceGlyphAndText({0, 0, 60, 60}, {16, 16}, {40, 12}, TButtonLayout::blGlyphTop, 5, 2);
  EXPECT_EQ(p.Glyph.Top, 5);
  EXPECT_EQ(p.Text.Top, 23);
  EXPECT_EQ(p.Glyph.Left, 22);
  // Without a glyph the caption alone is centred.
  p = PlaceGlyphAndText(client, {0, 0}, {40, 12}, TButtonLayout::blGlyphLeft, -1, 4);
  EXPECT_EQ(p.Text.Left, 30);
}

} // namespace qv
