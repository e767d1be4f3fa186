#pragma once
// Our default skin, "Steel Blue": calm steel-blue frames and captions over white controls. Every
// picture is drawn here; nothing is copied from elsewhere.
#include "platform/graphics/Pixels.h"

#include <string>
#include <utility>
#include <vector>

namespace qv::skingen {

struct TSkinFile {
  std::string Name;
  PixelMap Bitmap;  // for .bmp files
  std::string Text; // for the description
};

// The description "skin.ini" first, then every bitmap it names.
std::vector<TSkinFile> GenerateDefaultSkin();

} // namespace qv::skingen
