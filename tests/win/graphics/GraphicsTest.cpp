// GDI drawing objects: BMP decoding (and its refusals), DIB-section pixels, canvas drawing,
// transparency, regions, image lists and fonts.
#include "platform/base/Bytes.h"
#include "platform/graphics/Graphics.h"

#include <gtest/gtest.h>

#include <cstring>

namespace qv {

namespace {

// A BMP file: headers, palette, then rows as given (already padded).
std::vector<uint8_t> Bmp(int w, int h, int bpp, const std::vector<uint32_t> &palette, const std::vector<uint8_t> &rows,
                         uint32_t compression = 0) {
  std::vector<uint8_t> b = {'B', 'M'};
  uint32_t off = 14 + 40 + static_cast<uint32_t>(palette.size()) * 4;
  AppendLE32(b, off + static_cast<uint32_t>(rows.size()));
  AppendLE32(b, 0);
  AppendLE32(b, off);
  AppendLE32(b, 40);
  AppendLE32(b, static_cast<uint32_t>(w));
  AppendLE32(b, static_cast<uint32_t>(h));
  AppendLE16(b, 1);
  AppendLE16(b, static_cast<uint16_t>(bpp));
  AppendLE32(b, compression);
  AppendLE32(b, static_cast<uint32_t>(rows.size()));
  AppendLE32(b, 0);
  AppendLE32(b, 0);
  AppendLE32(b, static_cast<uint32_t>(palette.size()));
  AppendLE32(b, 0);
  for (uint32_t c : palette) AppendLE32(b, c);
  b.insert(b.end(), rows.begin(), rows.end());
  return b;
}

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

TEST(Bitmap, DecodesPalettedAndTrueColourRowsInEitherDirection) {
  // 8 bits, bottom-up, 3 pixels wide: each row padded to 4 bytes.
  TBitmap bmp;
  bmp.LoadFromBmp(Bmp(3, 2, 8, {0x000000, 0xFF0000, 0x00FF00}, {1, 2, 0, 0, /* bottom */ 2, 2, 1, 0 /* top */}));
  ASSERT_EQ(bmp.Width(), 3);
  ASSERT_EQ(bmp.Height(), 2);
  EXPECT_EQ(Rgb(bmp, 0, 0), 0x00FF00u);
  EXPECT_EQ(Rgb(bmp, 2, 0), 0xFF0000u);
  EXPECT_EQ(Rgb(bmp, 0, 1), 0xFF0000u);
  EXPECT_EQ(Rgb(bmp, 2, 1), 0x000000u);

  // 24 bits, top-down (negative height): bytes are blue, green, red.
  std::vector<uint8_t> rows = {0, 0, 255, 255, 0, 0, 0, 0, /* row 0, padded */ 0, 255, 0, 10, 20, 30, 0, 0};
  std::vector<uint8_t> file = Bmp(2, 2, 24, {}, rows);
  int32_t negative = -2;
  std::memcpy(&file[22], &negative, 4);
  bmp.LoadFromBmp(file);
  EXPECT_EQ(Rgb(bmp, 0, 0), 0xFF0000u);
  EXPECT_EQ(Rgb(bmp, 1, 0), 0x0000FFu);
  EXPECT_EQ(Rgb(bmp, 0, 1), 0x00FF00u);
  EXPECT_EQ(Rgb(bmp, 1, 1), 0x1E140Au);

  // 1 bit: the high bit is the leftmost pixel.
  bmp.LoadFromBmp(Bmp(9, 1, 1, {0x000000, 0xFFFFFF}, {0x80, 0x80, 0, 0}));
  EXPECT_EQ(Rgb(bmp, 0, 0), 0xFFFFFFu);
  EXPECT_EQ(Rgb(bmp, 1, 0), 0u);
  EXPECT_EQ(Rgb(bmp, 8, 0), 0xFFFFFFu);

  // Saved and read again, the pixels stay.
  TBitmap copy;
  copy.LoadFromBmp(bmp.SaveToBmp());
  EXPECT_EQ(copy.Width(), 9);
  EXPECT_EQ(Rgb(copy, 8, 0), 0xFFFFFFu);
}

TEST(Bitmap, RefusesDataThatWouldReadOutOfBoundsOrIsUnsupported) {
  std::vector<uint8_t> good = Bmp(2, 2, 24, {}, std::vector<uint8_t>(16, 7));
  EXPECT_EQ(LoadError(good), "no error");
  std::vector<uint8_t> truncated(good.begin(), good.end() - 1);
  EXPECT_NE(LoadError(truncated).find("truncated"), std::string::npos);
  EXPECT_NE(LoadError(Bmp(2, 2, 8, {0, 0}, std::vector<uint8_t>(8, 5))).find("no error"), std::string::npos);
  // A palette index beyond the palette reads as black instead of beyond the table.
  TBitmap bmp;
  bmp.LoadFromBmp(Bmp(1, 1, 8, {0xFFFFFF}, {9, 0, 0, 0}));
  EXPECT_EQ(Rgb(bmp, 0, 0), 0u);
  EXPECT_NE(LoadError(Bmp(2, 2, 8, {0}, std::vector<uint8_t>(8, 0), 1 /* RLE8 */)).find("compressed"), std::string::npos);
  EXPECT_NE(LoadError(Bmp(100000, 1, 24, {}, {})).find("size"), std::string::npos);
  EXPECT_NE(LoadError(Bmp(0, 1, 24, {}, {})).find("size"), std::string::npos);
  EXPECT_NE(LoadError(Bmp(1, 1, 7, {}, {0, 0, 0, 0})).find("7 bits"), std::string::npos);
  std::vector<uint8_t> offset = good;
  offset[10] = 0xFF; // pixel data said to start past the end
  offset[11] = 0xFF;
  EXPECT_NE(LoadError(offset).find("truncated"), std::string::npos);
  EXPECT_NE(LoadError({'B', 'M', 0}).find("BMP"), std::string::npos);
  // A refused file leaves an empty bitmap or the previous one, never a half-read one.
  TBitmap keep;
  keep.SetSize(2, 2);
  EXPECT_THROW(keep.LoadFromBmp(truncated), Exception);
  EXPECT_EQ(keep.Width(), 2);
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
