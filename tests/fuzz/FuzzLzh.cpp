// The LZHUF decoder on arbitrary packed streams: the declared size is capped so that each run
// stays short; sizes beyond the engine's bound must be refused with ElzhException.
#include "skin/Lzh.h"

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, std::size_t size) {
  if (size < 4) return 0;
  const uint32_t declared = qv::ReadLE32(data);
  qv::TBytes out;
  try {
    qv::TLZH().Decode(data + 4, size - 4, out, declared & 0x3FFF);
  } catch (const qv::ElzhException &) {
    __builtin_trap(); // sizes below the bound are never refused
  }
  if (out.size() < (declared & 0x3FFF) || out.size() > (declared & 0x3FFF) + 60) __builtin_trap();
  if (declared > qv::kMaxUnpackedSize) {
    bool refused = false;
    try {
      qv::TLZH().Decode(data + 4, size - 4, out, declared);
    } catch (const qv::ElzhException &) {
      refused = true;
    }
    if (!refused) __builtin_trap();
  }
  return 0;
}
