// Bitmap files (.bmp): decoding every uncompressed depth, encoding 24 bits.
#include "platform/graphics/Bmp.h"

#include <array>
#include <utility>

namespace qv {

namespace {

constexpr uint32_t kRgb = 0, kBitFields = 3;

// The width of a channel mask and its shift, for scaling a bit-field value to 8 bits.
struct Channel {
  uint32_t mask = 0;
  int shift = 0, bits = 0;
  explicit Channel(uint32_t m = 0) : mask(m) {
    if (!m) return;
    while (!((m >> shift) & 1))
      ++shift;
    while (shift + bits < 32 && ((m >> (shift + bits)) & 1))
      ++bits;
  }
  uint32_t Take(uint32_t v) const {
    if (!bits) return 0;
    const uint32_t raw = (v & mask) >> shift;
    if (bits >= 8) return raw >> (bits - 8);
    // Spread a narrow channel over 0..255 so that full intensity stays 255.
    return (raw * 255 + ((1u << bits) - 1) / 2) / ((1u << bits) - 1);
  }
};

bool Fail(PixelMap &out, std::string *error, std::string why) {
  out.Resize(0, 0);
  if (error) *error = std::move(why);
  return false;
}

} // namespace

bool DecodeBmp(const uint8_t *data, std::size_t size, PixelMap &out, std::string *error) {
  if (!data || size < 14 + 12 || data[0] != 'B' || data[1] != 'M') return Fail(out, error, "not a BMP file");
  const uint32_t offBits = ReadLE32(data + 10);
  const uint32_t infoSize = ReadLE32(data + 14);
  if (infoSize < 12 || 14 + static_cast<uint64_t>(infoSize) > size)
    return Fail(out, error, "BMP header is truncated");
  const uint8_t *info = data + 14;

  int64_t width, height;
  int bitCount;
  uint32_t compression = kRgb, colorsUsed = 0;
  int paletteEntrySize = 4;
  if (infoSize == 12) {
    width = ReadLE16(info + 4);
    height = ReadLE16(info + 6);
    bitCount = ReadLE16(info + 10);
    paletteEntrySize = 3;
  } else if (infoSize >= 40) {
    width = static_cast<int32_t>(ReadLE32(info + 4));
    height = static_cast<int32_t>(ReadLE32(info + 8));
    bitCount = ReadLE16(info + 14);
    compression = ReadLE32(info + 16);
    colorsUsed = ReadLE32(info + 32);
  } else {
    return Fail(out, error, "BMP header of " + std::to_string(infoSize) + " bytes is not supported");
  }
  const bool topDown = height < 0;
  if (topDown) height = -height;
  if (width <= 0 || height <= 0 || width > kMaxBitmapSide || height > kMaxBitmapSide ||
      width * height > kMaxBitmapPixels)
    return Fail(out, error, "BMP size is not allowed");

  // Bit-field masks follow a 40-byte header; larger headers carry them inside.
  uint32_t masks[3] = {0x7C00, 0x03E0, 0x001F};
  if (bitCount == 32) masks[0] = 0xFF0000, masks[1] = 0x00FF00, masks[2] = 0x0000FF;
  if (compression == kBitFields) {
    if (bitCount != 16 && bitCount != 32)
      return Fail(out, error, "BMP bit fields need 16 or 32 bits per pixel");
    const uint64_t at = infoSize >= 52 ? 14 + 40 : 14 + static_cast<uint64_t>(infoSize);
    if (at + 12 > size) return Fail(out, error, "BMP colour masks are truncated");
    for (int i = 0; i < 3; ++i)
      masks[i] = ReadLE32(data + at + 4 * i);
  } else if (compression != kRgb) {
    return Fail(out, error, "compressed BMP files are not supported");
  }

  std::array<Pixel, 256> palette{};
  if (bitCount == 1 || bitCount == 4 || bitCount == 8) {
    const uint32_t maxColors = 1u << bitCount;
    uint32_t count = colorsUsed == 0 || colorsUsed > maxColors ? maxColors : colorsUsed;
    const uint64_t at = 14 + static_cast<uint64_t>(infoSize);
    // Writers that store a short palette say so by where the pixels start; missing entries are black.
    if (offBits > at && at + static_cast<uint64_t>(count) * paletteEntrySize > offBits)
      count = static_cast<uint32_t>((offBits - at) / paletteEntrySize);
    if (at + static_cast<uint64_t>(count) * paletteEntrySize > size)
      return Fail(out, error, "BMP palette is truncated");
    for (uint32_t i = 0; i < count; ++i) {
      const uint8_t *e = data + at + i * paletteEntrySize;
      palette[i] = (static_cast<Pixel>(e[2]) << 16) | (e[1] << 8) | e[0];
    }
  } else if (bitCount != 16 && bitCount != 24 && bitCount != 32) {
    return Fail(out, error, "BMP with " + std::to_string(bitCount) + " bits per pixel is not supported");
  }

  const uint64_t stride = ((static_cast<uint64_t>(width) * bitCount + 31) / 32) * 4;
  if (offBits > size || stride * static_cast<uint64_t>(height) > size - offBits)
    return Fail(out, error, "BMP pixel data is truncated");

  const Channel red(masks[0]), green(masks[1]), blue(masks[2]);
  out.Resize(static_cast<int>(width), static_cast<int>(height));
  for (int y = 0; y < height; ++y) {
    const uint8_t *row = data + offBits + stride * static_cast<uint64_t>(topDown ? y : height - 1 - y);
    Pixel *dst = out.Row(y);
    for (int x = 0; x < width; ++x) {
      switch (bitCount) {
      case 1:
        dst[x] = palette[(row[x >> 3] >> (7 - (x & 7))) & 1];
        break;
      case 4:
        dst[x] = palette[(row[x >> 1] >> ((x & 1) ? 0 : 4)) & 0xF];
        break;
      case 8:
        dst[x] = palette[row[x]];
        break;
      case 16: {
        const uint32_t v = ReadLE16(row + 2 * x);
        dst[x] = (red.Take(v) << 16) | (green.Take(v) << 8) | blue.Take(v);
        break;
      }
      case 24: {
        const uint8_t *p = row + 3 * x;
        dst[x] = (static_cast<Pixel>(p[2]) << 16) | (p[1] << 8) | p[0];
        break;
      }
      default: {
        const uint32_t v = ReadLE32(row + 4 * x);
        dst[x] = (red.Take(v) << 16) | (green.Take(v) << 8) | blue.Take(v);
        break;
      }
      }
    }
  }
  return true;
}

TBytes EncodeBmp24(const PixelMap &image) {
  const uint32_t stride = ((static_cast<uint32_t>(image.Width()) * 24 + 31) / 32) * 4;
  const uint32_t imageSize = stride * static_cast<uint32_t>(image.Height());
  TBytes out;
  out.reserve(54 + imageSize);
  out.push_back('B');
  out.push_back('M');
  AppendLE32(out, 54 + imageSize);
  AppendLE32(out, 0);
  AppendLE32(out, 54);
  AppendLE32(out, 40);
  AppendLE32(out, static_cast<uint32_t>(image.Width()));
  AppendLE32(out, static_cast<uint32_t>(image.Height()));
  AppendLE16(out, 1);
  AppendLE16(out, 24);
  AppendLE32(out, kRgb);
  AppendLE32(out, imageSize);
  AppendLE32(out, 2835); // 72 dpi
  AppendLE32(out, 2835);
  AppendLE32(out, 0);
  AppendLE32(out, 0);
  for (int y = image.Height() - 1; y >= 0; --y) {
    const Pixel *row = image.Row(y);
    for (int x = 0; x < image.Width(); ++x) {
      out.push_back(static_cast<uint8_t>(row[x]));
      out.push_back(static_cast<uint8_t>(row[x] >> 8));
      out.push_back(static_cast<uint8_t>(row[x] >> 16));
    }
    for (uint32_t pad = static_cast<uint32_t>(image.Width()) * 3; pad < stride; ++pad)
      out.push_back(0);
  }
  return out;
}

} // namespace qv
