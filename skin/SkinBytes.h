#pragma once
// Byte buffers for the package code (little-endian access in platform/base/Bytes.h). A "stream" in
// the skin engine is a byte vector plus, where it matters, a read position.
#include "platform/base/Bytes.h"

#include <string>

namespace qv {

// Whole-file helpers for tools and tests; throw qv::Exception naming the file on failure.
TBytes ReadFileBytes(const std::string &path);
void WriteFileBytes(const std::string &path, const TBytes &bytes);

} // namespace qv
