#include "skin/SkinBytes.h"

#include "platform/base/Exception.h"

#include <cerrno>
#include <cstdio>
#include <cstring>

namespace qv {

TBytes ReadFileBytes(const std::string &path) {
  std::FILE *f = std::fopen(path.c_str(), "rb");
  if (!f) throw Exception("cannot open " + path + ": " + std::strerror(errno));
  TBytes bytes;
  uint8_t chunk[65536];
  std::size_t n;
  while ((n = std::fread(chunk, 1, sizeof chunk, f)) > 0)
    bytes.insert(bytes.end(), chunk, chunk + n);
  const bool failed = std::ferror(f) != 0;
  std::fclose(f);
  if (failed) throw Exception("cannot read " + path);
  return bytes;
}

void WriteFileBytes(const std::string &path, const TBytes &bytes) {
  std::FILE *f = std::fopen(path.c_str(), "wb");
  if (!f) throw Exception("cannot create " + path + ": " + std::strerror(errno));
  const bool ok = std::fwrite(bytes.data(), 1, bytes.size(), f) == bytes.size();
  if (std::fclose(f) != 0 || !ok) throw Exception("cannot write " + path);
}

} // namespace qv
