// The BMP codec: every depth it reads, what it writes, and the files it refuses.
#include "platform/graphics/Bmp.h"

#include <gtest/gtest.h>

namespace qv {
namespace {

// A bitmap file with a 40-byte header, the given palette or masks and rows already padded.
TBytes BmpFile(int width, int height, int bits, uint32_t compression, const TBytes &extra,
               const TBytes &pixels) {
  TBytes f = {'B', 'M'};
  AppendLE32(f, static_cast<uint32_t>(54 + extra.size() + pixels.size()));
  AppendLE32(f, 0);
  AppendLE32(f, static_cast<uint32_t>(54 + extra.size()));
  AppendLE32(f, 40);
  AppendLE32(f, static_cast<uint32_t>(width));
  AppendLE32(f, static_cast<uint32_t>(height));
  AppendLE16(f, 1);
  AppendLE16(f, static_cast<uint16_t>(bits));
  AppendLE32(f, compression);
  for (int i = 0; i < 5; ++i)
    AppendLE32(f, 0);
  f.insert(f.end(), extra.begin(), extra.end());
  f.insert(f.end(), pixels.begin(), pixels.end());
  return f;
}

TEST(Bitmap, Decodes24BitsBottomUpAndTopDown) {
  // Two rows of two pixels; the first stored row is the bottom one.
  const TBytes rows = {0, 0, 255, 0, 255, 0, 0, 0, /*bottom: red, green*/ 255, 0, 0, 255, 255, 255, 0, 0};
  PixelMap m;
  ASSERT_TRUE(DecodeBmp(BmpFile(2, 2, 24, 0, {}, rows), m));
  ASSERT_EQ(m.Width(), 2);
  EXPECT_EQ(ColorFromPixel(m.At(0, 1)), clRed);
  EXPECT_EQ(ColorFromPixel(m.At(1, 1)), clLime);
  EXPECT_EQ(ColorFromPixel(m.At(0, 0)), clBlue);
  EXPECT_EQ(ColorFromPixel(m.At(1, 0)), clWhite);
  ASSERT_TRUE(DecodeBmp(BmpFile(2, -2, 24, 0, {}, rows), m));
  EXPECT_EQ(ColorFromPixel(m.At(0, 0)), clRed);
}

TEST(Bitmap, DecodesPaletteAndMaskedDepths) {
  const TBytes palette = {0, 0, 0, 0, 255, 0, 255, 0, 255, 255, 255, 0}; // black, magenta, white
  PixelMap m;
  ASSERT_TRUE(DecodeBmp(BmpFile(3, 1, 8, 0, palette, {1, 2, 0, 0}), m));
  EXPECT_EQ(ColorFromPixel(m.At(0, 0)), clFuchsia);
  EXPECT_EQ(ColorFromPixel(m.At(1, 0)), clWhite);
  ASSERT_TRUE(DecodeBmp(BmpFile(3, 1, 4, 0, palette, {0x12, 0x00, 0, 0}), m));
  EXPECT_EQ(ColorFromPixel(m.At(0, 0)), clFuchsia);
  EXPECT_EQ(ColorFromPixel(m.At(1, 0)), clWhite);
  ASSERT_TRUE(DecodeBmp(BmpFile(9, 1, 1, 0, palette, {0x80, 0x80, 0, 0}), m));
  EXPECT_EQ(ColorFromPixel(m.At(0, 0)), clFuchsia);
  EXPECT_EQ(ColorFromPixel(m.At(1, 0)), clBlack);
  EXPECT_EQ(ColorFromPixel(m.At(8, 0)), clFuchsia);
  // 16 bits 5-5-5: full red and full blue stay full intensity.
  ASSERT_TRUE(DecodeBmp(BmpFile(2, 1, 16, 0, {}, {0x00, 0x7C, 0x1F, 0x00}), m));
  EXPECT_EQ(ColorFromPixel(m.At(0, 0)), clRed);
  EXPECT_EQ(ColorFromPixel(m.At(1, 0)), clBlue);
  // 32 bits with bit fields (red in the low byte).
  TBytes masks;
  AppendLE32(masks, 0x000000FF);
  AppendLE32(masks, 0x0000FF00);
  AppendLE32(masks, 0x00FF0000);
  ASSERT_TRUE(DecodeBmp(BmpFile(1, 1, 32, 3, masks, {10, 20, 30, 0}), m));
  EXPECT_EQ(ColorFromPixel(m.At(0, 0)), RGBColor(10, 20, 30));
}

TEST(Bitmap, EncodesWhatItDecodes) {
  PixelMap image(5, 3);
  for (int y = 0; y < 3; ++y)
    for (int x = 0; x < 5; ++x)
      image.At(x, y) = PixelFromColor(RGBColor(x * 40, y * 90, 7));
  PixelMap back;
  ASSERT_TRUE(DecodeBmp(EncodeBmp24(image), back));
  ASSERT_EQ(back.Width(), 5);
  ASSERT_EQ(back.Height(), 3);
  for (int y = 0; y < 3; ++y)
    for (int x = 0; x < 5; ++x)
      EXPECT_EQ(back.At(x, y), image.At(x, y));
}

// A header that promises more than the entry holds loads as an empty bitmap, never reading past it.
TEST(Bitmap, ABitmapWhoseHeaderLiesLoadsEmpty) {
  PixelMap m(4, 4);
  TBytes file = BmpFile(4, 4, 24, 0, {}, TBytes(48, 0x80));
  ASSERT_TRUE(DecodeBmp(file, m));
  file.resize(file.size() - 1); // one byte of pixels missing
  std::string why;
  EXPECT_FALSE(DecodeBmp(file, m, &why));
  EXPECT_TRUE(m.Empty());
  EXPECT_EQ(why, "BMP pixel data is truncated");

  TBytes wide = BmpFile(100000, 1, 24, 0, {}, TBytes(48, 0)); // claims 100000 pixels per row
  EXPECT_FALSE(DecodeBmp(wide, m));
  TBytes offset = BmpFile(4, 4, 24, 0, {}, TBytes(48, 0));
  offset[10] = 0xFF, offset[11] = 0xFF, offset[12] = 0xFF, offset[13] = 0x7F;
  EXPECT_FALSE(DecodeBmp(offset, m));
  TBytes header = BmpFile(4, 4, 24, 0, {}, TBytes(48, 0));
  header[14] = 0xFF, header[15] = 0xFF; // a header size past the end
  EXPECT_FALSE(DecodeBmp(header, m));
  // A short palette (the pixels start after two entries): indexes past it read as black.
  ASSERT_TRUE(DecodeBmp(BmpFile(2, 2, 8, 0, {0, 0, 255, 0, 0, 255, 0, 0}, {1, 5, 0, 0, 0, 0, 0, 0}), m));
  EXPECT_EQ(ColorFromPixel(m.At(0, 1)), clLime);
  EXPECT_EQ(ColorFromPixel(m.At(1, 1)), clBlack);
  EXPECT_FALSE(DecodeBmp(BmpFile(2, 2, 8, 1, TBytes(1024, 0), TBytes(8, 0)), m, &why)); // RLE
  EXPECT_EQ(why, "compressed BMP files are not supported");
  EXPECT_FALSE(DecodeBmp(TBytes{'B', 'M'}, m, &why));
  EXPECT_EQ(why, "not a BMP file");
  EXPECT_FALSE(DecodeBmp(BmpFile(1, 1, 7, 0, {}, TBytes(4, 0)), m, &why));
  EXPECT_EQ(why, "BMP with 7 bits per pixel is not supported");
  EXPECT_FALSE(DecodeBmp(BmpFile(0, 1, 24, 0, {}, TBytes(4, 0)), m, &why));
  EXPECT_EQ(why, "BMP size is not allowed");
}

} // namespace
} // namespace qv
