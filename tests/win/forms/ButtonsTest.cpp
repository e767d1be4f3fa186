// The glyph placement that bit buttons and the skin engine share, and the glyph properties that
// bit buttons and speed buttons publish alike.
#include "platform/forms/Buttons.h"
#include "platform/classes/Properties.h"

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

template <class T> void ExpectGlyphProperties() {
  TComponent owner(nullptr);
  T b(&owner);
  SetPropText(b, "Layout", "blGlyphTop");
  SetPropText(b, "Margin", "3");
  SetPropText(b, "Spacing", "-1");
  SetPropText(b, "NumGlyphs", "9");
  EXPECT_EQ(b.ButtonGlyph().Layout(), TButtonLayout::blGlyphTop);
  EXPECT_EQ(b.ButtonGlyph().Margin(), 3);
  EXPECT_EQ(b.ButtonGlyph().Spacing(), -1);
  EXPECT_EQ(GetPropText(b, "NumGlyphs"), "4"); // a strip has four parts at most
  EXPECT_EQ(dynamic_cast<TBitmap *>(GetObjectProp(b, "Glyph")), b.ButtonGlyph().Glyph());
}

TEST(ButtonGlyph, BitAndSpeedButtonsPublishTheSameGlyphProperties) {
  ExpectGlyphProperties<TBitBtn>();
  ExpectGlyphProperties<TSpeedButton>();
}

} // namespace qv
