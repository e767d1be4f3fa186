#include "skin/SkinGdi.h"
#include "skin/WinSkinObjects.h"

#include <gtest/gtest.h>

namespace qv {
namespace {

// Reads back what was drawn into a DIB section selected into a memory DC.
struct Surface {
  PixelMap pixels;
  TBitmapHandle bitmap;
  TMemoryDC dc;
  HGDIOBJ old;
  Surface(int w, int h, TColor fill)
      : pixels(w, h, PixelFromColor(fill)), bitmap(CreateBitmapHandle(pixels)) {
    old = SelectObject(dc.Get(), bitmap.Get());
  }
  ~Surface() { SelectObject(dc.Get(), old); }
  TColor At(int x, int y) const { return static_cast<TColor>(GetPixel(dc.Get(), x, y)); }
};

TEST(SkinGdi, MaskedDrawingKeepsTheTargetUnderMagenta) {
  Surface target(8, 8, clWhite);
  PixelMap picture(4, 4, PixelFromColor(clNavy));
  picture.At(1, 1) = PixelFromColor(kSkinTransparent);
  picture.At(3, 0) = PixelFromColor(kSkinTransparent);
  DrawPixels(target.dc.Get(), 2, 2, picture, true);
  EXPECT_EQ(target.At(2, 2), clNavy);
  EXPECT_EQ(target.At(3, 3), clWhite); // the magenta pixel
  EXPECT_EQ(target.At(5, 2), clWhite);
  EXPECT_EQ(target.At(5, 5), clNavy);
  EXPECT_EQ(target.At(1, 1), clWhite);
  DrawPixels(target.dc.Get(), 2, 2, picture, false);
  EXPECT_EQ(target.At(3, 3), clFuchsia);
}

TEST(SkinGdi, RegionOfNonKeyPixelsSpansSeveralBatches) {
  // A checkerboard row pattern gives 3000 one-pixel runs: two batches of rectangles.
  PixelMap picture(200, 30, PixelFromColor(kSkinTransparent));
  for (int y = 0; y < 30; ++y)
    for (int x = y % 2; x < 200; x += 2)
      picture.At(x, y) = PixelFromColor(clGray);
  const TGdiHandle<HRGN> region = RegionFromBitmap(picture, 10, 5, 1, 1, 1);
  ASSERT_TRUE(region);
  EXPECT_TRUE(PtInRegion(region.Get(), 10, 5));
  EXPECT_FALSE(PtInRegion(region.Get(), 11, 5));
  EXPECT_TRUE(PtInRegion(region.Get(), 11, 6));
  EXPECT_TRUE(PtInRegion(region.Get(), 10 + 199, 5 + 29)); // in the second batch
  EXPECT_FALSE(PtInRegion(region.Get(), 10 + 198, 5 + 29));
  RECT box;
  GetRgnBox(region.Get(), &box);
  EXPECT_EQ(box.left, 10);
  EXPECT_EQ(box.bottom, 35);

  const TGdiHandle<HRGN> empty = RegionFromRects({});
  EXPECT_EQ(GetRgnBox(empty.Get(), &box), NULLREGION);
}

TEST(SkinGdi, SystemColoursResolveThroughTheSystem) {
  EXPECT_EQ(ResolveColor(clBtnFace), static_cast<TColor>(GetSysColor(COLOR_BTNFACE)));
  EXPECT_EQ(Blend(clWindow, clWindow, 40), static_cast<TColor>(GetSysColor(COLOR_WINDOW)));
}

TEST(SkinGdi, MenuGlyphListHoldsFourTransparentGlyphs) {
  const PixelMap glyphs = BuiltinSkinBitmap("TRELLISMENU");
  const std::unique_ptr<TImageList> list = CreateMenuGlyphList(glyphs);
  ASSERT_EQ(list->Count(), 4);
  // Glyph 3 (close) drawn on grey: its white background is transparent, its ink is not.
  Surface target(16, 16, clGray);
  ImageList_Draw(list->Handle(), 3, target.dc.Get(), 0, 0, ILD_TRANSPARENT);
  EXPECT_EQ(target.At(0, 0), clGray);
  EXPECT_EQ(target.At(5, 4), clBlack);
}

} // namespace
} // namespace qv
