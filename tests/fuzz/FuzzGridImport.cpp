// The grid's two import formats on arbitrary bytes: the interchange reader either refuses the
// input with its error or returns records of at most the column count; the text reader the same
// with its own error, and what it reads writes back to the same records.
#include "grid/DBGridEhFormats.h"

#include <cstddef>
#include <cstdint>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, std::size_t size) {
  std::string_view bytes(reinterpret_cast<const char *>(data), size);
  try {
    qv::TQvtdbifData d = qv::ReadQvtdbif(bytes);
    for (const auto &record : d.Records)
      if (record.empty() || record.size() > d.Visible.size()) __builtin_trap();
  } catch (const qv::EGridTransferError &) {
  }
  try {
    auto records = qv::ReadTextTable(bytes);
    for (const auto &record : records)
      if (record.empty()) __builtin_trap(); // every record has one cell at least
  } catch (const qv::EGridTransferError &) {
  }
  return 0;
}
