#include "skin/Lzh.h"
#include "tests/native/skin/TestFiles.h"
#include "tools/skinpack/LzhEncoder.h"

#include <gtest/gtest.h>

#include <random>

namespace qv {
namespace {

struct Vector {
  const char *packed, *expected;
};

class LzhVectors : public ::testing::TestWithParam<Vector> {};

// Packed by an independent implementation: every byte must come out as it went in.
TEST_P(LzhVectors, DecodesByteForByte) {
  const TBytes packed = test::VectorFile(GetParam().packed);
  const TBytes expected = test::VectorFile(GetParam().expected);
  EXPECT_EQ(ReadLE32(packed.data()), expected.size());
  const TBytes out = UnpackLzh(packed);
  ASSERT_EQ(out.size(), expected.size());
  EXPECT_TRUE(out == expected);
}

// Our encoder's output of the same data decodes back to it.
TEST_P(LzhVectors, EncoderRoundTrips) {
  const TBytes original = test::VectorFile(GetParam().expected);
  const TBytes packed = PackLzh(original);
  EXPECT_TRUE(UnpackLzh(packed) == original);
}

INSTANTIATE_TEST_SUITE_P(Vectors, LzhVectors,
                         ::testing::Values(Vector{"skin-archive.lzh", "skin-archive.bin"},
                                           Vector{"random-40000.lzh", "random-40000.bin"},
                                           Vector{"zeros-70000.lzh", "zeros-70000.bin"},
                                           Vector{"truncated.lzh", "truncated.expected"}));

TEST(Lzh, EncoderRoundTripsEdgeInputs) {
  std::mt19937 rng(7);
  std::vector<TBytes> inputs = {{}, {'a'}, {'a', 'b'}, TBytes(5000, ' '), TBytes(100000, 0x55)};
  // Text with repeats at every distance up to the ring size, and matches that overlap themselves.
  TBytes text;
  for (int i = 0; i < 30000; ++i)
    text.push_back(static_cast<uint8_t>("abcabcabd"[i % 9] + (i / 4100) % 3));
  inputs.push_back(text);
  TBytes noisy(200000);
  for (auto &b : noisy)
    b = static_cast<uint8_t>(rng() % 4 == 0 ? rng() : 'x');
  inputs.push_back(noisy);
  for (const TBytes &in : inputs) {
    const TBytes packed = PackLzh(in);
    EXPECT_TRUE(UnpackLzh(packed) == in) << "input of " << in.size() << " bytes";
  }
  // Runs really are coded as matches.
  EXPECT_LT(PackLzh(TBytes(100000, 0x55)).size(), 3000u);
}

TEST(Lzh, RefusesADeclaredSizeBeyondTheBoundWithoutDecoding) {
  TBytes packed = {0x00, 0x00, 0x00, 0x80, 0x12, 0x34}; // claims 2 GiB
  EXPECT_THROW(UnpackLzh(packed), ElzhException);
  const uint32_t justAbove = kMaxUnpackedSize + 1;
  packed = {static_cast<uint8_t>(justAbove), static_cast<uint8_t>(justAbove >> 8),
            static_cast<uint8_t>(justAbove >> 16), static_cast<uint8_t>(justAbove >> 24)};
  EXPECT_THROW(UnpackLzh(packed), ElzhException);
  EXPECT_THROW(UnpackLzh(TBytes{1, 0}), ElzhException); // no room for the size
}

TEST(Lzh, EmptyCodeStreamDecodesZeroBitsToTheDeclaredSize) {
  // Missing input reads as zero bits: the result is deterministic and exactly the declared size
  // or a match beyond it, never a failure.
  const TBytes out = UnpackLzh(TBytes{0x10, 0x00, 0x00, 0x00});
  EXPECT_GE(out.size(), 16u);
  EXPECT_LE(out.size(), 16u + 59u);
}

} // namespace
} // namespace qv
