#include "tools/skinpack/LzhEncoder.h"

#include "platform/base/Exception.h"
#include "skin/Lzh.h"
#include "skin/LzhTree.h"

#include <algorithm>
#include <vector>

namespace qv {

using namespace lzh;

namespace {

// Most significant bit first, padded with zero bits at the end.
class BitOutput {
public:
  explicit BitOutput(TBytes &out) : out_(out) {}
  void Put(int count, unsigned value) {
    for (int i = count - 1; i >= 0; --i) {
      acc_ = static_cast<uint8_t>((acc_ << 1) | ((value >> i) & 1));
      if (++bits_ == 8) {
        out_.push_back(acc_);
        acc_ = 0;
        bits_ = 0;
      }
    }
  }
  void Flush() {
    if (bits_) out_.push_back(static_cast<uint8_t>(acc_ << (8 - bits_)));
    acc_ = 0;
    bits_ = 0;
  }

private:
  TBytes &out_;
  uint8_t acc_ = 0;
  int bits_ = 0;
};

class Encoder {
public:
  explicit Encoder(TBytes &out) : bits_(out) {}

  void Symbol(int c) {
    // The path from the leaf up to the root, written root first: an odd node is the second child.
    path_.clear();
    for (int node = tree_.Parent(c + T); node != R; node = tree_.Parent(node))
      path_.push_back(static_cast<uint8_t>(node & 1));
    for (auto it = path_.rbegin(); it != path_.rend(); ++it)
      bits_.Put(1, *it);
    tree_.Update(c);
  }
  void Position(unsigned p) {
    const PositionTables &t = Positions();
    const unsigned upper = p >> 6;
    bits_.Put(t.pLen[upper], static_cast<unsigned>(t.pCode[upper]) >> (8 - t.pLen[upper]));
    bits_.Put(6, p & 0x3F);
  }
  void Finish() { bits_.Flush(); }

private:
  BitOutput bits_;
  TLzhTree tree_;
  std::vector<uint8_t> path_;
};

// Hash chains over three-byte prefixes inside the 4096-byte window.
class MatchFinder {
public:
  MatchFinder(const uint8_t *data, std::size_t size)
      : data_(data), size_(size), head_(kHashSize, -1), prev_(N, -1) {}

  void Insert(std::size_t pos) {
    if (pos + 3 > size_) return;
    const std::size_t h = Hash(pos);
    prev_[pos & (N - 1)] = head_[h];
    head_[h] = static_cast<int64_t>(pos);
  }

  // Longest earlier match (at most F bytes, distance 1..N) of the text at pos; length 0 if none.
  int Find(std::size_t pos, std::size_t &distance) const {
    const std::size_t limit = std::min<std::size_t>(F, size_ - pos);
    if (limit < 3) return 0;
    int best = 0;
    int64_t candidate = head_[Hash(pos)];
    for (int chain = 0; candidate >= 0 && chain < kMaxChain; ++chain) {
      const std::size_t c = static_cast<std::size_t>(candidate);
      if (pos - c > static_cast<std::size_t>(N)) break;
      std::size_t len = 0;
      while (len < limit && data_[c + len] == data_[pos + len])
        ++len;
      if (static_cast<int>(len) > best) {
        best = static_cast<int>(len);
        distance = pos - c;
        if (len == limit) break;
      }
      const int64_t next = prev_[c & (N - 1)];
      if (next >= candidate) break; // the slot was reused by a newer position
      candidate = next;
    }
    return best;
  }

private:
  static constexpr std::size_t kHashSize = 1 << 14;
  static constexpr int kMaxChain = 512;
  std::size_t Hash(std::size_t pos) const {
    return ((data_[pos] << 6) ^ (data_[pos + 1] << 3) ^ data_[pos + 2] ^ (data_[pos] >> 2) * 977u) &
           (kHashSize - 1);
  }

  const uint8_t *data_;
  std::size_t size_;
  std::vector<int64_t> head_, prev_;
};

} // namespace

TBytes PackLzh(const uint8_t *data, std::size_t size) {
  if (size > kMaxUnpackedSize)
    throw Exception("input of " + std::to_string(size) + " bytes is larger than a package may unpack to (" +
                    std::to_string(kMaxUnpackedSize) + " bytes)");
  TBytes out;
  AppendLE32(out, static_cast<uint32_t>(size));
  Encoder encoder(out);
  MatchFinder finder(data, size);
  std::size_t pos = 0;
  while (pos < size) {
    std::size_t distance = 0;
    const int length = finder.Find(pos, distance);
    if (length > THRESHOLD) {
      encoder.Symbol(255 - THRESHOLD + length);
      encoder.Position(static_cast<unsigned>(distance - 1));
      for (int k = 0; k < length; ++k)
        finder.Insert(pos + static_cast<std::size_t>(k));
      pos += static_cast<std::size_t>(length);
    } else {
      encoder.Symbol(data[pos]);
      finder.Insert(pos);
      ++pos;
    }
  }
  encoder.Finish();
  return out;
}

} // namespace qv
