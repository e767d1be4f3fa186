#include "platform/graphics/Pixels.h"

namespace qv {

void PixelMap::Resize(int width, int height, Pixel fill) {
  width_ = width > 0 && height > 0 ? width : 0;
  height_ = width > 0 && height > 0 ? height : 0;
  own_.assign(static_cast<std::size_t>(width_) * height_, fill);
  bits_ = own_.data();
}

PixelMap &PixelMap::operator=(const PixelMap &other) {
  if (this == &other) return *this;
  own_.assign(other.bits_, other.bits_ + static_cast<std::size_t>(other.width_) * other.height_);
  bits_ = own_.data();
  width_ = other.width_;
  height_ = other.height_;
  return *this;
}

PixelMap &PixelMap::operator=(PixelMap &&other) noexcept {
  if (this == &other) return *this;
  const bool owned = other.bits_ == other.own_.data();
  own_ = std::move(other.own_);
  bits_ = owned ? own_.data() : other.bits_;
  width_ = other.width_;
  height_ = other.height_;
  other.own_.clear();
  other.bits_ = nullptr;
  other.width_ = other.height_ = 0;
  return *this;
}

void PixelMap::Attach(Pixel *bits, int width, int height) {
  own_.clear();
  own_.shrink_to_fit();
  bits_ = bits;
  width_ = width;
  height_ = height;
}

} // namespace qv
