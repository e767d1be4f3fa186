#pragma once
// LZHUF packing: the inverse of TLZH with the same parameters (ring 4096, look-ahead 60,
// threshold 2, adaptive Huffman literals and lengths, static prefix code for positions).
#include "skin/SkinBytes.h"

#include <cstddef>
#include <cstdint>

namespace qv {

// The packed form of [data, data + size): 4-byte little-endian size, then the code stream.
// Throws Exception when the input is larger than the decoder accepts.
TBytes PackLzh(const uint8_t *data, std::size_t size);
inline TBytes PackLzh(const TBytes &data) { return PackLzh(data.data(), data.size()); }

} // namespace qv
