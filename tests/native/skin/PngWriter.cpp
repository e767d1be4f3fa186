#include "tests/native/skin/PngWriter.h"

#include <array>
#include <string>

namespace qv::test {

namespace {

uint32_t Crc32(const uint8_t *data, std::size_t size, uint32_t crc = 0) {
  static const std::array<uint32_t, 256> table = [] {
    std::array<uint32_t, 256> t{};
    for (uint32_t n = 0; n < 256; ++n) {
      uint32_t c = n;
      for (int k = 0; k < 8; ++k)
        c = (c & 1) ? 0xEDB88320u ^ (c >> 1) : c >> 1;
      t[n] = c;
    }
    return t;
  }();
  crc = ~crc;
  for (std::size_t i = 0; i < size; ++i)
    crc = table[(crc ^ data[i]) & 0xFF] ^ (crc >> 8);
  return ~crc;
}

void AppendBE32(TBytes &out, uint32_t v) {
  for (int i = 3; i >= 0; --i)
    out.push_back(static_cast<uint8_t>(v >> (8 * i)));
}

void Chunk(TBytes &png, const char *type, const TBytes &data) {
  AppendBE32(png, static_cast<uint32_t>(data.size()));
  TBytes body(type, type + 4);
  body.insert(body.end(), data.begin(), data.end());
  png.insert(png.end(), body.begin(), body.end());
  AppendBE32(png, Crc32(body.data(), body.size()));
}

} // namespace

TBytes EncodePng(const PixelMap &image) {
  TBytes raw;
  for (int y = 0; y < image.Height(); ++y) {
    raw.push_back(0); // no filter
    for (int x = 0; x < image.Width(); ++x) {
      const Pixel p = image.At(x, y);
      raw.push_back(static_cast<uint8_t>(p >> 16));
      raw.push_back(static_cast<uint8_t>(p >> 8));
      raw.push_back(static_cast<uint8_t>(p));
    }
  }
  TBytes z = {0x78, 0x01};
  for (std::size_t at = 0; at < raw.size() || at == 0; at += 65535) {
    const std::size_t n = std::min<std::size_t>(65535, raw.size() - at);
    z.push_back(at + n >= raw.size() ? 1 : 0);
    z.push_back(static_cast<uint8_t>(n));
    z.push_back(static_cast<uint8_t>(n >> 8));
    z.push_back(static_cast<uint8_t>(~n));
    z.push_back(static_cast<uint8_t>(~n >> 8));
    z.insert(z.end(), raw.begin() + static_cast<std::ptrdiff_t>(at),
             raw.begin() + static_cast<std::ptrdiff_t>(at + n));
    if (raw.empty()) break;
  }
  uint32_t a = 1, b = 0;
  for (uint8_t byte : raw) {
    a = (a + byte) % 65521;
    b = (b + a) % 65521;
  }
  AppendBE32(z, (b << 16) | a);

  TBytes png = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
  TBytes header;
  AppendBE32(header, static_cast<uint32_t>(image.Width()));
  AppendBE32(header, static_cast<uint32_t>(image.Height()));
  header.insert(header.end(), {8, 2, 0, 0, 0}); // 8-bit RGB
  Chunk(png, "IHDR", header);
  Chunk(png, "IDAT", z);
  Chunk(png, "IEND", {});
  return png;
}

} // namespace qv::test
