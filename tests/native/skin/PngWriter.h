#pragma once
// A minimal PNG writer (stored deflate blocks, no compression) for pictures people look at.
#include "platform/graphics/Pixels.h"
#include "skin/SkinBytes.h"

namespace qv::test {

TBytes EncodePng(const PixelMap &image);

} // namespace qv::test
