// The archive reader and the whole skin load on arbitrary unpacked archives: malformed ones are
// refused, well-formed ones load every object without reading out of bounds.
#include "skin/SkinReader.h"
#include "skin/WinSkinObjects.h"

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, std::size_t size) {
  static const bool quiet = (qv::SetSkinMessageHandler([](const std::string &) {}), true);
  (void)quiet;
  const qv::TBytes archive(data, data + size);
  qv::TSkinReader reader;
  try {
    if (reader.LoadArchive(archive)) {
      qv::TBytes entry;
      for (const std::string &name : reader.Names())
        reader.ExtractFile(name, entry);
      reader.ExtractFirstContaining(".ini", entry);
    }
  } catch (const qv::Exception &) {
  }
  qv::TSkinDataCore skin;
  skin.LoadArchive(archive);
  for (const qv::TDataSkinObject *obj : skin.Objects())
    if (obj->FrameCount > 0 && obj->Image.Width() < 0) __builtin_trap();
  return 0;
}
