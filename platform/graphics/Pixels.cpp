#include "platform/graphics/Pixels.h"

namespace qv {

void PixelMap::Resize(int width, int height, Pixel fill) {
  width_ = width > 0 && height > 0 ? width : 0;
  height_ = width > 0 && height > 0 ? height : 0;
  own_.assign(static_cast<std::size_t>(width_) * height_, fill);
  bits_ = own_.data();
}

void PixelMap::Attach(Pixel *bits, int width, int height) {
  own_.clear();
  own_.shrink_to_fit();
  bits_ = bits;
  width_ = width;
  height_ = height;
}

} // namespace qv
