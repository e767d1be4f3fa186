// TBitmap: a 32-bit DIB section over a PixelMap, BMP decoding and encoding.
#include "platform/base/Bytes.h"
#include "platform/classes/ClassBuilder.h"
#include "platform/graphics/Graphics.h"

#include <cstring>

namespace qv {

namespace {

class EBitmapError : public Exception {
public:
  using Exception::Exception;
};

// Scales a masked channel value to 8 bits.
uint32_t Channel(uint32_t value, uint32_t mask) {
  if (!mask) return 0;
  int shift = 0;
  while (!((mask >> shift) & 1)) ++shift;
  uint32_t max = mask >> shift;
  return ((value & mask) >> shift) * 255 / max;
}

constexpr int kMaxSide = 16384;

} // namespace

const TClassInfo &TBitmap::StaticClassInfo() {
  static const TClassInfo &info = DefineClass<TBitmap, TPersistent>("TBitmap", [](auto &c) {
    c.Binary("Data", &TBitmap::SaveToBmp, &TBitmap::LoadFromBmp);
    c.Boolean("Transparent", &TBitmap::Transparent, &TBitmap::SetTransparent, false);
  });
  return info;
}

TBitmap::TBitmap() = default;

TBitmap::~TBitmap() { ReleaseDC(); }

void TBitmap::ReleaseDC() const {
  if (dc_ && oldBitmap_) SelectObject(dc_->Get(), oldBitmap_);
  oldBitmap_ = nullptr;
  dc_.reset();
}

void TBitmap::SetSize(int width, int height) {
  if (width < 0 || height < 0 || width > kMaxSide || height > kMaxSide)
    throw EBitmapError("bitmap size " + std::to_string(width) + " x " + std::to_string(height) + " is not allowed");
  if (canvas_) canvas_->SetHandle(nullptr);
  ReleaseDC();
  bitmap_.Reset();
  pixels_ = PixelMap();
  if (width > 0 && height > 0) {
    BITMAPINFO bi{};
    bi.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    bi.bmiHeader.biWidth = width;
    bi.bmiHeader.biHeight = -height; // top-down, the PixelMap layout
    bi.bmiHeader.biPlanes = 1;
    bi.bmiHeader.biBitCount = 32;
    bi.bmiHeader.biCompression = BI_RGB;
    void *bits = nullptr;
    HBITMAP h = CreateDIBSection(nullptr, &bi, DIB_RGB_COLORS, &bits, nullptr, 0);
    if (!h || !bits) throw EBitmapError("cannot create a bitmap of " + std::to_string(width) + " x " + std::to_string(height));
    bitmap_.Reset(h);
    pixels_.Attach(static_cast<Pixel *>(bits), width, height);
    std::memset(bits, 0, static_cast<size_t>(width) * height * 4);
  }
  if (canvas_) canvas_->SetHandle(DC());
  Changed();
}

HDC TBitmap::DC() const {
  if (!dc_) {
    dc_ = std::make_unique<TMemoryDC>();
    oldBitmap_ = bitmap_ ? SelectObject(dc_->Get(), bitmap_.Get()) : nullptr;
  }
  return dc_->Get();
}

TCanvas &TBitmap::Canvas() {
  if (!canvas_) canvas_ = std::make_unique<TCanvas>(DC());
  return *canvas_;
}

void TBitmap::SetTransparent(bool on) {
  if (on == transparent_) return;
  transparent_ = on;
  Changed();
}

TColor TBitmap::TransparentColor() const {
  if (transparentColor_ != clDefaultTransparent) return transparentColor_;
  if (Empty()) return clNone;
  GdiFlush();
  return ColorFromPixel(pixels_.At(0, Height() - 1));
}

void TBitmap::Assign(const TBitmap &other) {
  SetSize(other.Width(), other.Height());
  GdiFlush();
  for (int y = 0; y < Height(); ++y) std::memcpy(pixels_.Row(y), other.pixels_.Row(y), Width() * sizeof(Pixel));
  transparent_ = other.transparent_;
  transparentColor_ = other.transparentColor_;
  Changed();
}

void TBitmap::LoadFromBmp(const std::vector<uint8_t> &b) {
  if (b.empty()) {
    SetSize(0, 0);
    return;
  }
  if (b.size() < 14 + 40 || b[0] != 'B' || b[1] != 'M') throw EBitmapError("not a BMP file");
  uint32_t offBits = ReadLE32(b.data() + 10);
  uint32_t hdrSize = ReadLE32(b.data() + 14);
  if (hdrSize < 40 || 14 + static_cast<uint64_t>(hdrSize) > b.size()) throw EBitmapError("BMP header is truncated");
  int32_t w = static_cast<int32_t>(ReadLE32(b.data() + 18));
  int32_t hRaw = static_cast<int32_t>(ReadLE32(b.data() + 22));
  uint16_t bpp = ReadLE16(b.data() + 28);
  uint32_t compression = ReadLE32(b.data() + 30);
  uint32_t clrUsed = ReadLE32(b.data() + 46);
  bool topDown = hRaw < 0;
  int64_t h = topDown ? -static_cast<int64_t>(hRaw) : hRaw;
  if (w <= 0 || h <= 0 || w > kMaxSide || h > kMaxSide) throw EBitmapError("BMP size is not allowed");
  if (bpp != 1 && bpp != 4 && bpp != 8 && bpp != 16 && bpp != 24 && bpp != 32)
    throw EBitmapError("BMP with " + std::to_string(bpp) + " bits per pixel is not supported");
  uint32_t masks[3] = {0x00FF0000, 0x0000FF00, 0x000000FF};
  if (bpp == 16) masks[0] = 0x7C00, masks[1] = 0x03E0, masks[2] = 0x001F;
  if (compression == 3 /* BI_BITFIELDS */) {
    if (bpp != 16 && bpp != 32) throw EBitmapError("BMP bit fields need 16 or 32 bits per pixel");
    size_t at = hdrSize >= 52 ? 14 + 40 : 14 + hdrSize;
    if (at + 12 > b.size()) throw EBitmapError("BMP colour masks are truncated");
    for (int i = 0; i < 3; ++i) masks[i] = ReadLE32(b.data() + at + 4 * i);
  } else if (compression != 0) {
    throw EBitmapError("compressed BMP files are not supported");
  }
  std::vector<Pixel> palette;
  if (bpp <= 8) {
    uint32_t count = clrUsed ? clrUsed : (1u << bpp);
    if (count > 256) throw EBitmapError("BMP palette is too large");
    size_t at = 14 + hdrSize;
    if (at + static_cast<size_t>(count) * 4 > b.size()) throw EBitmapError("BMP palette is truncated");
    for (uint32_t i = 0; i < count; ++i)
      palette.push_back((b[at + 4 * i + 2] << 16) | (b[at + 4 * i + 1] << 8) | b[at + 4 * i]);
  }
  size_t stride = ((static_cast<size_t>(w) * bpp + 31) / 32) * 4;
  if (offBits > b.size() || stride * h > b.size() - offBits) throw EBitmapError("BMP pixel data is truncated");

  SetSize(w, static_cast<int>(h));
  GdiFlush();
  for (int y = 0; y < h; ++y) {
    const uint8_t *row = b.data() + offBits + stride * (topDown ? y : h - 1 - y);
    Pixel *out = pixels_.Row(y);
    for (int x = 0; x < w; ++x) {
      Pixel p = 0;
      switch (bpp) {
      case 1:
      case 4:
      case 8: {
        size_t bit = static_cast<size_t>(x) * bpp;
        unsigned idx = (row[bit / 8] >> (8 - bpp - bit % 8)) & ((1u << bpp) - 1);
        p = idx < palette.size() ? palette[idx] : 0;
        break;
      }
      case 16:
      case 32: {
        uint32_t v = bpp == 16 ? ReadLE16(row + x * 2) : ReadLE32(row + x * 4);
        p = (Channel(v, masks[0]) << 16) | (Channel(v, masks[1]) << 8) | Channel(v, masks[2]);
        break;
      }
      case 24: p = (row[x * 3 + 2] << 16) | (row[x * 3 + 1] << 8) | row[x * 3]; break;
      }
      out[x] = p;
    }
  }
  Changed();
}

std::vector<uint8_t> TBitmap::SaveToBmp() const {
  std::vector<uint8_t> b;
  if (Empty()) return b;
  GdiFlush();
  size_t stride = ((static_cast<size_t>(Width()) * 24 + 31) / 32) * 4;
  uint32_t dataSize = static_cast<uint32_t>(stride * Height());
  b.push_back('B');
  b.push_back('M');
  AppendLE32(b, 14 + 40 + dataSize);
  AppendLE32(b, 0);
  AppendLE32(b, 14 + 40);
  AppendLE32(b, 40);
  AppendLE32(b, static_cast<uint32_t>(Width()));
  AppendLE32(b, static_cast<uint32_t>(Height()));
  AppendLE16(b, 1);
  AppendLE16(b, 24);
  for (int i = 0; i < 6; ++i) AppendLE32(b, 0);
  for (int y = Height() - 1; y >= 0; --y) {
    const Pixel *row = pixels_.Row(y);
    size_t start = b.size();
    for (int x = 0; x < Width(); ++x) {
      b.push_back(static_cast<uint8_t>(row[x]));
      b.push_back(static_cast<uint8_t>(row[x] >> 8));
      b.push_back(static_cast<uint8_t>(row[x] >> 16));
    }
    b.resize(start + stride, 0);
  }
  return b;
}

} // namespace qv
