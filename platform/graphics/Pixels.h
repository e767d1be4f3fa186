#pragma once
// A 32-bit top-down image in memory: the portable pixel store under our bitmaps. Pixels are
// 0xAARRGGBB words (bytes B, G, R, A), the layout of a 32-bit DIB section, so a Win32 bitmap can
// wrap the same memory. Alpha is unused except where a caller says otherwise.
#include "platform/base/Colors.h"

#include <cstddef>
#include <cstdint>
#include <utility>
#include <vector>

namespace qv {

using Pixel = uint32_t;

constexpr Pixel PixelFromColor(TColor c) { return (RedOf(c) << 16) | (GreenOf(c) << 8) | BlueOf(c); }
constexpr TColor ColorFromPixel(Pixel p) { return RGBColor((p >> 16) & 0xFF, (p >> 8) & 0xFF, p & 0xFF); }

class PixelMap {
public:
  PixelMap() = default;
  PixelMap(int width, int height, Pixel fill = 0) { Resize(width, height, fill); }
  // Copies always own their pixels (a copy of a view too); moves keep the storage.
  PixelMap(const PixelMap &other) { *this = other; }
  PixelMap &operator=(const PixelMap &other);
  PixelMap(PixelMap &&other) noexcept { *this = std::move(other); }
  PixelMap &operator=(PixelMap &&other) noexcept;

  // Own storage. Negative sizes are treated as 0.
  void Resize(int width, int height, Pixel fill = 0);
  // Views memory owned elsewhere (a DIB section); the caller keeps it alive and unchanged in size.
  void Attach(Pixel *bits, int width, int height);

  int Width() const { return width_; }
  int Height() const { return height_; }
  bool Empty() const { return width_ == 0 || height_ == 0; }
  Pixel *Row(int y) { return bits_ + static_cast<std::size_t>(y) * width_; }
  const Pixel *Row(int y) const { return bits_ + static_cast<std::size_t>(y) * width_; }
  Pixel &At(int x, int y) { return Row(y)[x]; }
  Pixel At(int x, int y) const { return Row(y)[x]; }
  bool Inside(int x, int y) const { return x >= 0 && y >= 0 && x < width_ && y < height_; }

private:
  std::vector<Pixel> own_;
  Pixel *bits_ = nullptr;
  int width_ = 0, height_ = 0;
};

} // namespace qv
