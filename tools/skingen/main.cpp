// skingen FOLDER: draws our default skin into FOLDER (the description and its bitmaps), ready for
// "skinpack pack FOLDER PACKAGE".
#include "platform/base/CommandLine.h"
#include "platform/base/FileIO.h"
#include "platform/graphics/Bmp.h"
#include "tools/skingen/DefaultSkin.h"

#include <cstdio>
#include <filesystem>

namespace {

const char kUsage[] = "用法：skingen FOLDER\n"
                      "  把默认皮肤（描述文件 skin.ini 和它用到的位图）画到 FOLDER 里（没有就新建），\n"
                      "  之后可以用 skinpack pack FOLDER PACKAGE 打包。\n"
                      "  以 - 开头的文件夹名写在 -- 之后：skingen -- -folder\n"
                      "选项：-h, --help 显示本说明；--version 显示版本\n";

int Generate(qv::TArguments &args) {
  const std::string folder = args.Take("FOLDER");
  args.Finish();
  const std::filesystem::path root = qv::PathFromUtf8(folder);
  std::filesystem::create_directories(root);
  int count = 0;
  for (const qv::skingen::TSkinFile &file : qv::skingen::GenerateDefaultSkin()) {
    const std::string path = qv::Utf8FromPath(root / qv::PathFromUtf8(file.Name));
    if (file.Bitmap.Empty())
      qv::WriteFileBytes(path, qv::TBytes(file.Text.begin(), file.Text.end()));
    else
      qv::WriteFileBytes(path, qv::EncodeBmp24(file.Bitmap));
    ++count;
  }
  std::printf("%d files written to %s\n", count, folder.c_str());
  return 0;
}

} // namespace

int main(int argc, char **argv) {
  return qv::TCommandLine("skingen", kUsage).Run(qv::ProgramArguments(argc, argv), Generate);
}
