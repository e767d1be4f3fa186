#pragma once
// LZHUF decompression of skin packages (LZSS over a 4096-byte ring, adaptive Huffman literals and
// lengths, static prefix code for positions). A packed package is a 4-byte little-endian unpacked
// size followed by the code stream.
#include "platform/base/Exception.h"
#include "skin/SkinBytes.h"

#include <cstddef>
#include <cstdint>

namespace qv {

class ElzhException : public Exception {
public:
  using Exception::Exception;
};

// Declared unpacked sizes above this are refused before anything is allocated: no skin package
// comes near it, and a corrupt header must not make the decoder write gigabytes.
constexpr uint32_t kMaxUnpackedSize = 64u * 1024 * 1024;

class TLZH {
public:
  // Decodes the code stream in [input, input + inputSize) and appends to output until at least
  // textSize bytes were written (a match is always copied whole, so a corrupt stream may end a
  // little past it). Input past the end reads as zero bits. Throws ElzhException when textSize is
  // above kMaxUnpackedSize.
  void Decode(const uint8_t *input, std::size_t inputSize, TBytes &output, uint32_t textSize);
};

// Reads the 4-byte size of a packed package and decodes the rest. A package shorter than its
// size field is refused with ElzhException.
TBytes UnpackLzh(const TBytes &packed);

} // namespace qv
