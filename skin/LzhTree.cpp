#include "skin/LzhTree.h"

#include <cassert>
#include <cstring>

namespace qv {

namespace lzh {

const PositionTables &Positions() {
  static const PositionTables tables = [] {
    PositionTables t;
    // Code lengths 3..8 for 1, 3, 8, 12, 24 and 16 position values; the codes are assigned in
    // order, so a code of length L covers 2^(8-L) consecutive first-byte values.
    const int counts[] = {1, 3, 8, 12, 24, 16};
    int value = 0, firstByte = 0;
    for (int k = 0; k < 6; ++k) {
      const int len = k + 3;
      for (int n = 0; n < counts[k]; ++n, ++value) {
        t.pLen[value] = static_cast<uint8_t>(len);
        t.pCode[value] = static_cast<uint8_t>(firstByte);
        for (int b = 0; b < (1 << (8 - len)); ++b, ++firstByte) {
          t.dCode[firstByte] = static_cast<uint8_t>(value);
          t.dLen[firstByte] = static_cast<uint8_t>(len);
        }
      }
    }
    assert(value == 64 && firstByte == 256);
    return t;
  }();
  return tables;
}

} // namespace lzh

using namespace lzh;

void TLzhTree::Start() {
  for (int i = 0; i < N_CHAR; ++i) {
    freq_[i] = 1;
    son_[i] = static_cast<uint16_t>(i + T);
    prnt_[i + T] = static_cast<uint16_t>(i);
  }
  for (int i = 0, j = N_CHAR; j <= R; i += 2, ++j) {
    freq_[j] = static_cast<uint16_t>(freq_[i] + freq_[i + 1]);
    son_[j] = static_cast<uint16_t>(i);
    prnt_[i] = prnt_[i + 1] = static_cast<uint16_t>(j);
  }
  freq_[T] = 0xFFFF;
  prnt_[R] = 0;
}

void TLzhTree::Rebuild() {
  // Collect the leaves at the front, halving their counts (rounding up).
  int j = 0;
  for (int i = 0; i < T; ++i) {
    if (son_[i] >= T) {
      freq_[j] = static_cast<uint16_t>((freq_[i] + 1) / 2);
      son_[j] = son_[i];
      ++j;
    }
  }
  assert(j == N_CHAR);
  // Pair nodes in order; each sum goes to its sorted place, after equal counts.
  for (int i = 0, n = N_CHAR; n < T; i += 2, ++n) {
    const unsigned f = static_cast<unsigned>(freq_[i]) + freq_[i + 1];
    int k = n - 1;
    while (f < freq_[k])
      --k;
    ++k;
    const std::size_t moved = static_cast<std::size_t>(n - k) * sizeof(uint16_t);
    std::memmove(&freq_[k + 1], &freq_[k], moved);
    freq_[k] = static_cast<uint16_t>(f);
    std::memmove(&son_[k + 1], &son_[k], moved);
    son_[k] = static_cast<uint16_t>(i);
  }
  for (int i = 0; i < T; ++i) {
    const int k = son_[i];
    prnt_[k] = static_cast<uint16_t>(i);
    if (k < T) prnt_[k + 1] = static_cast<uint16_t>(i);
  }
}

void TLzhTree::Update(int c) {
  assert(c >= 0 && c < N_CHAR);
  if (freq_[R] == MAX_FREQ) Rebuild();
  int node = prnt_[c + T];
  do {
    const unsigned k = ++freq_[node];
    // Out of order: swap with the last node whose count is still below k.
    int l = node + 1;
    if (k > freq_[l]) {
      while (k > freq_[++l]) {
      }
      --l;
      freq_[node] = freq_[l];
      freq_[l] = static_cast<uint16_t>(k);

      const int i = son_[node];
      prnt_[i] = static_cast<uint16_t>(l);
      if (i < T) prnt_[i + 1] = static_cast<uint16_t>(l);

      const int j = son_[l];
      son_[l] = static_cast<uint16_t>(i);
      prnt_[j] = static_cast<uint16_t>(node);
      if (j < T) prnt_[j + 1] = static_cast<uint16_t>(node);
      son_[node] = static_cast<uint16_t>(j);
      node = l;
    }
    node = prnt_[node];
  } while (node != 0);
}

} // namespace qv
