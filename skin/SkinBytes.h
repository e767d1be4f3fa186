#pragma once
// Byte buffers and little-endian access used by the package code. A "stream" in the skin engine is
// a byte vector plus, where it matters, a read position.
#include <cstddef>
#include <cstdint>
#include <vector>

namespace qv {

using TBytes = std::vector<uint8_t>;

inline uint32_t ReadLE32(const uint8_t *p) {
  return static_cast<uint32_t>(p[0]) | (static_cast<uint32_t>(p[1]) << 8) |
         (static_cast<uint32_t>(p[2]) << 16) | (static_cast<uint32_t>(p[3]) << 24);
}
inline uint16_t ReadLE16(const uint8_t *p) { return static_cast<uint16_t>(p[0] | (p[1] << 8)); }

inline void AppendLE32(TBytes &out, uint32_t v) {
  for (int i = 0; i < 4; ++i)
    out.push_back(static_cast<uint8_t>(v >> (8 * i)));
}
inline void AppendLE16(TBytes &out, uint16_t v) {
  out.push_back(static_cast<uint8_t>(v));
  out.push_back(static_cast<uint8_t>(v >> 8));
}

} // namespace qv
