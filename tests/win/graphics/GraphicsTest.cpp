// GDI drawing objects: BMP data in and out of DIB sections, canvas drawing,
// transparency, regions, image lists and fonts.
#include "platform/graphics/Graphics.h"
#include "platform/graphics/Bmp.h"

#include <gtest/gtest.h>

namespace qv {

namespace {

uint32_t Rgb(const TBitmap &bmp, int x, int y) { return bmp.Pixels().At(x, y) & 0xFFFFFF; }

std::string LoadError(const std::vector<uint8_t> &data) {
  TBitmap bmp;
  try {
    bmp.LoadFromBmp(data);
  } catch (const Exception &e) {
    return e.what();
  }
  return "no error";
}

} // namespace

// Decoding itself is the portable codec's (tests/native/graphics); here, the DIB section over it.
TEST(Bitmap, ReadsAndWritesBmpDataAndKeepsItsPixelsOnARefusal) {
  PixelMap image(9, 2, PixelFromColor(clRed));
  image.At(8, 1) = PixelFromColor(clWhite);
  TBitmap bmp;
  bmp.LoadFromBmp(EncodeBmp24(image));
  ASSERT_EQ(bmp.Width(), 9);
  ASSERT_EQ(bmp.Height(), 2);
  EXPECT_EQ(Rgb(bmp, 0, 0), 0xFF0000u);
  EXPECT_EQ(Rgb(bmp, 8, 1), 0xFFFFFFu);
  TBitmap copy;
  copy.LoadFromBmp(bmp.SaveToBmp());
  EXPECT_EQ(copy.Width(), 9);
  EXPECT_EQ(Rgb(copy, 8, 1), 0xFFFFFFu);
  // A refused file leaves the previous bitmap, never a half-read one, and says why.
  TBytes truncated = bmp.SaveToBmp();
  truncated.pop_back();
  EXPECT_NE(LoadError(truncated).find("truncated"), std::string::npos);
  EXPECT_THROW(copy.LoadFromBmp(truncated), Exception);
  EXPECT_EQ(copy.Width(), 9);
  EXPECT_EQ(Rgb(copy, 8, 1), 0xFFFFFFu);
  copy.LoadFromBmp({});
  EXPECT_TRUE(copy.Empty());
}

TEST(Canvas, DrawsIntoTheDibSectionThePixelMapViews) {
  TBitmap bmp;
  bmp.SetSize(40, 20);
  TCanvas &c = bmp.Canvas();
  c.Brush.SetColor(clRed);
  c.FillRect({0, 0, 40, 20});
  c.Brush.SetColor(clBlue);
  c.FillRect({10, 5, 20, 10});
  GdiFlush();
  EXPECT_EQ(Rgb(bmp, 0, 0), 0xFF0000u); // the pixel store keeps 0xRRGGBB
  EXPECT_EQ(Rgb(bmp, 15, 7), 0x0000FFu);
  EXPECT_EQ(c.Pixel(15, 7), clBlue);
  c.Pen.SetColor(clLime);
  c.MoveTo(0, 19);
  c.LineTo(40, 19);
  GdiFlush();
  EXPECT_EQ(Rgb(bmp, 30, 19), 0x00FF00u);
  c.Font.SetHeight(-12);
  TSize ext = c.TextExtent("考试");
  EXPECT_GT(ext.cx, 12);
  EXPECT_GE(ext.cy, 12);
}

TEST(Canvas, TransparentDrawingLeavesOutTheKeyColour) {
  TBitmap glyph;
  glyph.SetSize(4, 4);
  glyph.Canvas().Brush.SetColor(clFuchsia);
  glyph.Canvas().FillRect({0, 0, 4, 4});
  glyph.Canvas().Brush.SetColor(clBlack);
  glyph.Canvas().FillRect({1, 1, 3, 3});
  EXPECT_EQ(glyph.TransparentColor(), clFuchsia); // the bottom-left pixel by default
  TBitmap target;
  target.SetSize(8, 8);
  target.Canvas().Brush.SetColor(clWhite);
  target.Canvas().FillRect({0, 0, 8, 8});
  target.Canvas().DrawTransparent(2, 2, glyph);
  GdiFlush();
  EXPECT_EQ(Rgb(target, 2, 2), 0xFFFFFFu);
  EXPECT_EQ(Rgb(target, 3, 3), 0x000000u);
  target.Canvas().StretchDraw({0, 0, 8, 8}, glyph, false);
  GdiFlush();
  EXPECT_EQ(Rgb(target, 0, 0), 0xFF00FFu);
}

TEST(Graphics, RegionsImageListsAndFontHandles) {
  TRegion r = TRegion::FromRects({{0, 0, 10, 10}, {20, 0, 30, 5}});
  EXPECT_TRUE(r.Contains({5, 5}));
  EXPECT_FALSE(r.Contains({15, 2}));
  EXPECT_TRUE(r.Contains({25, 4}));
  EXPECT_EQ(r.Bounds(), (TRect{0, 0, 30, 10}));
  r.Combine(TRegion({0, 0, 5, 5}), RGN_DIFF);
  EXPECT_FALSE(r.Contains({2, 2}));
  EXPECT_FALSE(TRegion::FromRects({}).Contains({0, 0}));

  TImageList list(16, 16);
  TBitmap strip;
  strip.SetSize(32, 16);
  EXPECT_EQ(list.Add(strip, clFuchsia), 0);
  EXPECT_EQ(list.Count(), 2);

  TFont font;
  font.SetName("宋体");
  font.SetHeight(-21);
  font.SetStyle(fsBold);
  HFONT first = font.Handle();
  EXPECT_EQ(font.Handle(), first); // made once
  LOGFONTW lf{};
  GetObjectW(first, sizeof lf, &lf);
  EXPECT_EQ(lf.lfHeight, -21);
  EXPECT_EQ(lf.lfWeight, FW_BOLD);
  int changes = 0;
  font.OnChange = [&] { ++changes; };
  font.SetHeight(-16);
  EXPECT_EQ(changes, 1);
  GetObjectW(font.Handle(), sizeof lf, &lf);
  EXPECT_EQ(lf.lfHeight, -16);
  EXPECT_EQ(font.Size(), 12);
}

} // namespace qv
