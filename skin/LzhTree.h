#pragma once
// The adaptive Huffman tree of LZHUF, shared by the decoder (TLZH) and the package tool's encoder.
// Leaves are the 314 symbols: bytes 0-255 and match lengths 3-60 (symbols 256-313).
#include <array>
#include <cstdint>

namespace qv {

namespace lzh {
constexpr int N = 4096;                     // ring buffer size
constexpr int F = 60;                       // look-ahead, the longest match
constexpr int THRESHOLD = 2;                // matches longer than this are coded as matches
constexpr int N_CHAR = 256 - THRESHOLD + F; // 314 leaf symbols
constexpr int T = N_CHAR * 2 - 1;           // 627 tree nodes
constexpr int R = T - 1;                    // root
constexpr unsigned MAX_FREQ = 0x8000;       // rebuild the tree when the root reaches this

// Static prefix code of the upper six bits of a match position: code length per value and,
// for the decoder, the value and length indexed by the first eight bits read.
struct PositionTables {
  std::array<uint8_t, 64> pLen{}, pCode{};
  std::array<uint8_t, 256> dCode{}, dLen{};
};
const PositionTables &Positions();
} // namespace lzh

class TLzhTree {
public:
  TLzhTree() { Start(); }
  // Every leaf at frequency 1, internal nodes paired in order.
  void Start();
  // Counts one more occurrence of symbol c and restores the sibling order.
  void Update(int c);

  uint16_t Son(int node) const { return son_[node]; }
  uint16_t Parent(int node) const { return prnt_[node]; }

private:
  void Rebuild();

  std::array<uint16_t, lzh::T + 1> freq_{};           // 628 counts; freq_[T] is a sentinel
  std::array<uint16_t, lzh::T + lzh::N_CHAR> prnt_{}; // 941 parent links (leaves at T + symbol)
  std::array<uint16_t, lzh::T> son_{};                // 627 child links (leaf: T + symbol)
};

} // namespace qv
