#pragma once
// Device-independent bitmap files (.bmp) to and from our 32-bit pixel store.
#include "platform/base/Bytes.h"
#include "platform/graphics/Pixels.h"

#include <cstddef>
#include <cstdint>
#include <string>

namespace qv {

// Largest bitmap side and area accepted from a file: far above any skin picture.
constexpr int kMaxBitmapSide = 16384;
constexpr int64_t kMaxBitmapPixels = 16 * 1024 * 1024;

// Decodes a bitmap file: 1, 4 and 8 bits with a palette, 16 bits (5-5-5 or bit fields), 24 bits,
// 32 bits (plain or bit fields); bottom-up or top-down. Anything malformed, compressed with RLE,
// larger than the limits above or not contained in [data, data + size) gives false and an
// empty `out`; `error`, when given, then says why.
bool DecodeBmp(const uint8_t *data, std::size_t size, PixelMap &out, std::string *error = nullptr);
inline bool DecodeBmp(const TBytes &bytes, PixelMap &out, std::string *error = nullptr) {
  return DecodeBmp(bytes.data(), bytes.size(), out, error);
}

// A 24-bit bottom-up bitmap file of the image (alpha dropped).
TBytes EncodeBmp24(const PixelMap &image);

} // namespace qv
