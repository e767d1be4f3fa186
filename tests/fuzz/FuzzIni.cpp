// The ini reader on arbitrary descriptions: every section and the keys the load asks for.
#include "skin/QuickIni.h"

#include <cstddef>
#include <cstdint>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, std::size_t size) {
  qv::TQuickIni ini;
  const qv::TBytes bytes(data, data + size);
  ini.LoadFromStream(&bytes, size > 0 ? data[0] % 4 : 0);
  for (const std::string &section : ini.ReadSections()) {
    ini.ReadString(section, "Image", "");
    ini.ReadInteger(section, "Action", -1);
    ini.ReadColor(section, "color", 0xFF000008);
    ini.ReadString(section, "", "");
  }
  const std::string text(reinterpret_cast<const char *>(data), size);
  int32_t value;
  qv::ParseSkinInteger(text, value);
  if (qv::ParseSkinColor(text, 0) > 0xFFFFFF && !text.empty())
    __builtin_trap(); // a colour written in text is always explicit
  return 0;
}
