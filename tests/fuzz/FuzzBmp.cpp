// The bitmap reader on arbitrary entries, then the drawing primitives on what it decoded.
#include "platform/graphics/Bmp.h"
#include "skin/SkinDraw.h"

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, std::size_t size) {
  qv::PixelMap image;
  if (!qv::DecodeBmp(data, size, image) || image.Width() > 512 || image.Height() > 512) return 0;
  const int frames = 1 + data[size - 1] % 6, index = 1 + data[size / 2] % 7;
  const qv::TRect margins{data[6] % 20, data[7] % 20, data[8] % 20, data[9] % 20};
  qv::PixelMap target(64, 48);
  qv::DrawSkinPart(target, {-5, 3, 70, 40}, image, data[0] & 1, data[0] & 2, data[0] & 4, frames, index,
                   margins);
  qv::DrawSkinBar(target, {2, 2, 60, 20}, image, false, true, frames, index, margins);
  qv::DrawSkinGlyph(target, {0, 0, 64, 48}, image, true, frames, index);
  qv::RegionRects(image, 0, 0, 1, 1, 1);
  qv::RotateLeft(image);
  qv::Mirror(image);
  return 0;
}
