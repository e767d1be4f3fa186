// TBitmap: a 32-bit DIB section over a PixelMap, read from and written as BMP files.
#include "platform/classes/ClassBuilder.h"
#include "platform/graphics/Bmp.h"
#include "platform/graphics/Graphics.h"

#include <cstring>

namespace qv {

namespace {

class EBitmapError : public Exception {
public:
  using Exception::Exception;
};

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
  if (width < 0 || height < 0 || width > kMaxBitmapSide || height > kMaxBitmapSide)
    throw EBitmapError("bitmap size " + std::to_string(width) + " x " + std::to_string(height) +
                       " is not allowed");
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
    if (!h || !bits)
      throw EBitmapError("cannot create a bitmap of " + std::to_string(width) + " x " +
                         std::to_string(height));
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
  for (int y = 0; y < Height(); ++y)
    std::memcpy(pixels_.Row(y), other.pixels_.Row(y), Width() * sizeof(Pixel));
  transparent_ = other.transparent_;
  transparentColor_ = other.transparentColor_;
  Changed();
}

void TBitmap::LoadFromBmp(const std::vector<uint8_t> &b) {
  if (b.empty()) {
    SetSize(0, 0);
    return;
  }
  PixelMap decoded;
  std::string why;
  if (!DecodeBmp(b, decoded, &why)) throw EBitmapError(why);
  SetSize(decoded.Width(), decoded.Height());
  GdiFlush();
  for (int y = 0; y < Height(); ++y)
    std::memcpy(pixels_.Row(y), decoded.Row(y), Width() * sizeof(Pixel));
  Changed();
}

std::vector<uint8_t> TBitmap::SaveToBmp() const {
  if (Empty()) return {};
  GdiFlush();
  return EncodeBmp24(pixels_);
}

} // namespace qv
