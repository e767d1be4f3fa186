// Skin loading figures: decoding the default package and building all its objects, and the
// decoder's throughput on a larger input next to a plain memcpy of the same output size.
#include "platform/base/CommandLine.h"
#include "platform/base/FileIO.h"
#include "skin/Lzh.h"
#include "skin/SkinReader.h"
#include "skin/WinSkinObjects.h"
#include "tools/skinpack/LzhEncoder.h"

#include <chrono>
#include <cstdio>
#include <cstring>
#include <random>

namespace {

using Clock = std::chrono::steady_clock;

template <class F> double BestMs(int runs, F &&f) {
  double best = 1e300;
  for (int i = 0; i < runs; ++i) {
    const auto t0 = Clock::now();
    f();
    best = std::min(best, std::chrono::duration<double, std::milli>(Clock::now() - t0).count());
  }
  return best;
}

const char kUsage[] = "用法：skin_bench DEFAULT_PACKAGE\n"
                      "  打印皮肤包（构建目录里的 skin/default.skn）的加载时间和 LZHUF 编解码速度\n"
                      "选项：-h, --help 显示本说明；--version 显示版本\n";

int Measure(qv::TArguments &args) {
  using namespace qv;
  const std::string path = args.Take("DEFAULT_PACKAGE");
  args.Finish();
  const TBytes package = ReadFileBytes(path);
  TBytes archive;
  const double unpackMs = BestMs(20, [&] { archive = UnpackLzh(package); });
  TSkinReader reader;
  const double readMs = BestMs(20, [&] { reader.LoadFromStream(package); });
  std::size_t objects = 0;
  const double loadMs = BestMs(20, [&] {
    TSkinDataCore skin;
    skin.LoadPackage(package);
    objects = skin.Objects().size();
  });
  std::printf("default package: %zu bytes packed, %zu unpacked, %d files\n", package.size(), archive.size(),
              reader.EntryCount());
  std::printf("  decode only            %8.3f ms\n", unpackMs);
  std::printf("  decode + archive       %8.3f ms\n", readMs);
  std::printf("  whole load (%zu objects) %8.3f ms\n", objects, loadMs);

  // A larger input: the unpacked skin repeated with small changes, plus noise, about 16 MB.
  TBytes big;
  std::mt19937 rng(1);
  while (big.size() < 16u * 1024 * 1024) {
    big.insert(big.end(), archive.begin(), archive.end());
    for (int i = 0; i < 4096; ++i)
      big.push_back(static_cast<uint8_t>(rng()));
  }
  const auto e0 = Clock::now();
  const TBytes packed = PackLzh(big);
  const double encodeMs = std::chrono::duration<double, std::milli>(Clock::now() - e0).count();
  TBytes out;
  const double decodeMs = BestMs(3, [&] { out = UnpackLzh(packed); });
  if (out != big) {
    std::fputs("skin_bench: the large input did not round-trip\n", stderr);
    return 1;
  }
  TBytes copy(big.size());
  const double copyMs = BestMs(10, [&] {
    std::memcpy(copy.data(), big.data(), big.size());
    asm volatile("" : : "r"(copy.data()) : "memory");
  });
  const double mb = static_cast<double>(big.size()) / (1024.0 * 1024.0);
  std::printf("large input: %.1f MiB, packed to %.1f MiB (%.1f%%)\n", mb,
              static_cast<double>(packed.size()) / (1024.0 * 1024.0), 100.0 * packed.size() / big.size());
  std::printf("  encode                 %8.1f ms  %8.1f MiB/s\n", encodeMs, mb / encodeMs * 1000.0);
  std::printf("  decode                 %8.1f ms  %8.1f MiB/s\n", decodeMs, mb / decodeMs * 1000.0);
  std::printf("  memcpy (the limit)     %8.1f ms  %8.1f MiB/s\n", copyMs, mb / copyMs * 1000.0);
  return 0;
}

} // namespace

int main(int argc, char **argv) {
  return qv::TCommandLine("skin_bench", kUsage).Run(qv::ProgramArguments(argc, argv), Measure);
}
