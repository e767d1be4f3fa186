// skingen FOLDER: draws our default skin into FOLDER (the description and its bitmaps), ready for
// "skinpack pack FOLDER PACKAGE".
#include "platform/graphics/Bmp.h"
#include "skin/SkinBytes.h"
#include "tools/skingen/DefaultSkin.h"

#include <cstdio>
#include <exception>
#include <filesystem>

int main(int argc, char **argv) {
  if (argc != 2) {
    std::fputs("usage: skingen FOLDER\n", stderr);
    return 2;
  }
  try {
    namespace fs = std::filesystem;
    const fs::path folder = fs::u8path(argv[1]);
    fs::create_directories(folder);
    int count = 0;
    for (const qv::skingen::TSkinFile &file : qv::skingen::GenerateDefaultSkin()) {
      const std::string path = (folder / file.Name).string();
      if (file.Bitmap.Empty())
        qv::WriteFileBytes(path, qv::TBytes(file.Text.begin(), file.Text.end()));
      else
        qv::WriteFileBytes(path, qv::EncodeBmp24(file.Bitmap));
      ++count;
    }
    std::printf("%d files written to %s\n", count, argv[1]);
    return 0;
  } catch (const std::exception &e) {
    std::fprintf(stderr, "skingen: %s\n", e.what());
    return 1;
  }
}
