#pragma once
// The Win32 edge of the skin engine: skin pictures onto device contexts, bitmaps and window
// regions made from the portable pixel work.
#include "platform/graphics/GdiObjects.h"
#include "platform/graphics/Graphics.h"
#include "platform/graphics/Pixels.h"
#include "skin/SkinDraw.h"

#include <memory>
#include <vector>

namespace qv {

// The union of the rectangles as a region, built in batches of at most 2000 rectangles, each
// batch OR-combined with the ones before. An empty list gives an empty region.
TGdiHandle<HRGN> RegionFromRects(const std::vector<TRect> &rects);
// The region of a picture's non-key pixels (see RegionRects), shifted by the offsets.
TGdiHandle<HRGN> RegionFromBitmap(const PixelMap &picture, int xOffset, int yOffset, int blueTolerance,
                                  int greenTolerance, int redTolerance, TColor low = kSkinTransparent);

// A 32-bit top-down DIB section holding a copy of the picture.
TBitmapHandle CreateBitmapHandle(const PixelMap &picture);
// Copies the picture onto the DC at (x, y). With `transparent`, one masked blit keeps the DC
// where the picture has the key colour.
void DrawPixels(HDC dc, int x, int y, const PixelMap &picture, bool transparent,
                TColor key = kSkinTransparent);

// The 16x16 menu glyphs (restore, maximise, minimise, close) as an image list, white transparent.
std::unique_ptr<TImageList> CreateMenuGlyphList(const PixelMap &glyphs);

} // namespace qv
