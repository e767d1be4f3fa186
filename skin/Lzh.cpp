#include "skin/Lzh.h"

#include "skin/LzhTree.h"

#include <algorithm>
#include <array>
#include <memory>
#include <new>
#include <string>

namespace qv {

using namespace lzh;

namespace {

// Most significant bit first; bytes past the end of the input read as 0.
class BitInput {
public:
  BitInput(const uint8_t *data, std::size_t size) : data_(data), size_(size) {}

  int Bit() {
    Fill();
    const int bit = (buf_ & 0x8000) >> 15;
    buf_ = static_cast<uint16_t>(buf_ << 1);
    --count_;
    return bit;
  }
  int Byte() {
    Fill();
    const int byte = (buf_ & 0xFF00) >> 8;
    buf_ = static_cast<uint16_t>(buf_ << 8);
    count_ -= 8;
    return byte;
  }

private:
  void Fill() {
    while (count_ <= 8) {
      const unsigned next = pos_ < size_ ? data_[pos_] : 0;
      ++pos_;
      buf_ = static_cast<uint16_t>(buf_ | (next << (8 - count_)));
      count_ += 8;
    }
  }

  const uint8_t *data_;
  std::size_t size_, pos_ = 0;
  uint16_t buf_ = 0;
  int count_ = 0;
};

struct DecoderState {
  TLzhTree tree;
  std::array<uint8_t, N + F - 1> ring{};
};

int DecodeChar(TLzhTree &tree, BitInput &in) {
  unsigned node = tree.Son(R);
  while (node < static_cast<unsigned>(T))
    node = tree.Son(static_cast<int>(node + in.Bit()));
  const int c = static_cast<int>(node) - T;
  tree.Update(c);
  return c;
}

int DecodePosition(BitInput &in) {
  const PositionTables &tables = Positions();
  unsigned i = static_cast<unsigned>(in.Byte());
  const unsigned upper = static_cast<unsigned>(tables.dCode[i]) << 6;
  for (int j = tables.dLen[i] - 2; j > 0; --j)
    i = (i << 1) + static_cast<unsigned>(in.Bit());
  return static_cast<int>(upper | (i & 0x3F));
}

} // namespace

void TLZH::Decode(const uint8_t *input, std::size_t inputSize, TBytes &output, uint32_t textSize) {
  if (textSize > kMaxUnpackedSize)
    throw ElzhException("LZH : declared size " + std::to_string(textSize) + " is beyond the limit of " +
                        std::to_string(kMaxUnpackedSize) + " bytes");
  std::unique_ptr<DecoderState> state(new (std::nothrow) DecoderState);
  if (!state) throw ElzhException("LZH : Cannot get memory for dictionary tables");

  BitInput in(input, inputSize);
  uint8_t *ring = state->ring.data();
  for (int i = 0; i < N - F; ++i)
    ring[i] = ' ';
  int r = N - F;
  const std::size_t start = output.size();
  // A stream can at most expand a few hundred times; do not trust textSize for the reservation.
  output.reserve(start + std::min<std::size_t>(textSize, inputSize * 512 + 4096));

  while (output.size() - start < textSize) {
    const int c = DecodeChar(state->tree, in);
    if (c < 256) {
      output.push_back(static_cast<uint8_t>(c));
      ring[r] = static_cast<uint8_t>(c);
      r = (r + 1) & (N - 1);
      continue;
    }
    const int from = (r - DecodePosition(in) - 1) & (N - 1);
    const int length = c - 255 + THRESHOLD;
    for (int k = 0; k < length; ++k) {
      const uint8_t b = ring[(from + k) & (N - 1)];
      output.push_back(b);
      ring[r] = b;
      r = (r + 1) & (N - 1);
    }
  }
}

TBytes UnpackLzh(const TBytes &packed) {
  if (packed.size() < 4) throw ElzhException("LZH : packed stream is shorter than its 4-byte size field");
  TBytes out;
  TLZH().Decode(packed.data() + 4, packed.size() - 4, out, ReadLE32(packed.data()));
  return out;
}

} // namespace qv
