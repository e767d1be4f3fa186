#pragma once
// Paths of test data: absolute Unix paths, reached through drive Z: when running under Wine.
#include "platform/base/FileIO.h"
#include "skin/SkinBytes.h"

#include <string>

namespace qv::test {

inline std::string HostPath(const std::string &path) {
#ifdef _WIN32
  return "Z:" + path;
#else
  return path;
#endif
}
inline TBytes VectorFile(const std::string &name) {
  return ReadFileBytes(HostPath(std::string(SKIN_TEST_DATA) + "/" + name));
}
inline TBytes DefaultSkinPackage() { return ReadFileBytes(HostPath(DEFAULT_SKIN_PACKAGE)); }

} // namespace qv::test
