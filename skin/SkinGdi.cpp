#include "skin/SkinGdi.h"

#include <algorithm>
#include <cstring>

namespace qv {

namespace {

constexpr std::size_t kRegionBatch = 2000;

TGdiHandle<HRGN> RegionFromBatch(const TRect *rects, std::size_t count) {
  std::vector<uint8_t> data(sizeof(RGNDATAHEADER) + count * sizeof(RECT));
  auto *header = reinterpret_cast<RGNDATAHEADER *>(data.data());
  header->dwSize = sizeof(RGNDATAHEADER);
  header->iType = RDH_RECTANGLES;
  header->nCount = static_cast<DWORD>(count);
  header->nRgnSize = static_cast<DWORD>(count * sizeof(RECT));
  RECT bounds{INT_MAX, INT_MAX, INT_MIN, INT_MIN};
  auto *out = reinterpret_cast<RECT *>(data.data() + sizeof(RGNDATAHEADER));
  for (std::size_t i = 0; i < count; ++i) {
    out[i] = {rects[i].Left, rects[i].Top, rects[i].Right, rects[i].Bottom};
    bounds.left = std::min<LONG>(bounds.left, rects[i].Left);
    bounds.top = std::min<LONG>(bounds.top, rects[i].Top);
    bounds.right = std::max<LONG>(bounds.right, rects[i].Right);
    bounds.bottom = std::max<LONG>(bounds.bottom, rects[i].Bottom);
  }
  header->rcBound = bounds;
  return TGdiHandle<HRGN>(ExtCreateRegion(nullptr, static_cast<DWORD>(data.size()),
                                          reinterpret_cast<const RGNDATA *>(data.data())));
}

} // namespace

TGdiHandle<HRGN> RegionFromRects(const std::vector<TRect> &rects) {
  TGdiHandle<HRGN> result(CreateRectRgn(0, 0, 0, 0));
  for (std::size_t at = 0; at < rects.size(); at += kRegionBatch) {
    const TGdiHandle<HRGN> batch =
        RegionFromBatch(rects.data() + at, std::min(kRegionBatch, rects.size() - at));
    if (batch) CombineRgn(result.Get(), result.Get(), batch.Get(), RGN_OR);
  }
  return result;
}

TGdiHandle<HRGN> RegionFromBitmap(const PixelMap &picture, int xOffset, int yOffset, int blueTolerance,
                                  int greenTolerance, int redTolerance, TColor low) {
  return RegionFromRects(
      RegionRects(picture, xOffset, yOffset, blueTolerance, greenTolerance, redTolerance, low));
}

TBitmapHandle CreateBitmapHandle(const PixelMap &picture) {
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
  info.bmiHeader.biWidth = std::max(picture.Width(), 1);
  info.bmiHeader.biHeight = -std::max(picture.Height(), 1);
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  info.bmiHeader.biCompression = BI_RGB;
  void *bits = nullptr;
  TBitmapHandle bitmap(CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0));
  if (bitmap && bits && !picture.Empty()) {
    for (int y = 0; y < picture.Height(); ++y)
      std::memcpy(static_cast<Pixel *>(bits) + static_cast<std::size_t>(y) * picture.Width(), picture.Row(y),
                  sizeof(Pixel) * picture.Width());
    GdiFlush();
  }
  return bitmap;
}

void DrawPixels(HDC dc, int x, int y, const PixelMap &picture, bool transparent, TColor key) {
  if (picture.Empty()) return;
  const TBitmapHandle bitmap = CreateBitmapHandle(picture);
  TMemoryDC source(dc);
  TSelectGuard selected(source.Get(), bitmap.Get());
  const int w = picture.Width(), h = picture.Height();
  if (!transparent) {
    BitBlt(dc, x, y, w, h, source.Get(), 0, 0, SRCCOPY);
    return;
  }
  // Monochrome mask, rows padded to 16 bits: a set bit marks a key pixel (the target stays).
  const int stride = ((w + 15) / 16) * 2;
  std::vector<uint8_t> maskBits(static_cast<std::size_t>(stride) * h, 0);
  const Pixel keyPixel = PixelFromColor(key);
  for (int row = 0; row < h; ++row)
    for (int col = 0; col < w; ++col)
      if ((picture.At(col, row) & 0xFFFFFF) == keyPixel)
        maskBits[static_cast<std::size_t>(row) * stride + col / 8] |= static_cast<uint8_t>(0x80 >> (col % 8));
  const TBitmapHandle mask(CreateBitmap(w, h, 1, 1, maskBits.data()));
  // Mask bit 1: keep the destination; 0: copy the source.
  MaskBlt(dc, x, y, w, h, source.Get(), 0, 0, mask.Get(), 0, 0, MAKEROP4(0x00AA0029, SRCCOPY));
}

std::unique_ptr<TImageList> CreateMenuGlyphList(const PixelMap &glyphs) {
  auto list = std::make_unique<TImageList>(16, 16);
  TBitmap bitmap;
  bitmap.SetSize(glyphs.Width(), glyphs.Height());
  CopyPixels(bitmap.Pixels(), 0, 0, glyphs);
  list->Add(bitmap, clWhite);
  return list;
}

} // namespace qv
