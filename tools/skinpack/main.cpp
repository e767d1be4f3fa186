// skinpack: builds, lists and takes apart skin packages; packs and unpacks bare LZHUF streams.
#include "platform/base/CommandLine.h"
#include "platform/base/FileIO.h"
#include "skin/SkinReader.h"
#include "tools/skinpack/LzhEncoder.h"
#include "tools/skinpack/SkinPackage.h"

#include <cstdio>
#include <string>

namespace {

using namespace qv;

const char kUsage[] = "用法：skinpack pack FOLDER PACKAGE      把皮肤文件夹（描述文件和位图）打包\n"
                      "      skinpack unpack PACKAGE FOLDER    把包里的每个文件写进 FOLDER（先检查整个包，\n"
                      "                                        包有损坏或不完整时什么也不写）\n"
                      "      skinpack list PACKAGE             列出包里的文件\n"
                      "      skinpack lzh-encode IN OUT        把文件压缩成单独的 LZHUF 流\n"
                      "      skinpack lzh-decode IN OUT        解开单独的 LZHUF 流\n"
                      "  以 - 开头的文件名写在 -- 之后：skinpack list -- -a.skn\n"
                      "选项：-h, --help 显示本说明；--version 显示版本\n"
                      "退出码：0 成功，1 输入有误（已说明原因），2 用法不对\n";

int List(TArguments &args) {
  const std::string package = args.Take("PACKAGE");
  args.Finish();
  const TBytes packed = ReadFileBytes(package);
  const std::vector<TSkinEntry> entries = ReadSkinArchive(UnpackWholeLzh(packed));
  std::size_t total = 0;
  for (const TSkinEntry &e : entries) {
    std::printf("%10zu  %s\n", e.Data.size(), e.Name.c_str());
    total += e.Data.size();
  }
  std::printf("%10zu  %zu files; package %zu bytes packed\n", total, entries.size(), packed.size());
  return 0;
}

int Pack(TArguments &args) {
  const std::string folder = args.Take("FOLDER"), package = args.Take("PACKAGE");
  args.Finish();
  const TBytes packed = PackSkinFolder(folder);
  WriteFileBytes(package, packed);
  std::printf("%s: %zu bytes\n", package.c_str(), packed.size());
  return 0;
}

int Unpack(TArguments &args) {
  const std::string package = args.Take("PACKAGE"), folder = args.Take("FOLDER");
  args.Finish();
  const std::vector<TSkinEntry> entries = UnpackSkinPackage(ReadFileBytes(package), folder);
  std::printf("%zu files written to %s\n", entries.size(), folder.c_str());
  return 0;
}

template <TBytes (*Convert)(const TBytes &)> int Transform(TArguments &args) {
  const std::string in = args.Take("IN"), out = args.Take("OUT");
  args.Finish();
  WriteFileBytes(out, Convert(ReadFileBytes(in)));
  return 0;
}

int Run(TArguments &args) {
  const std::string command = args.Take("COMMAND");
  if (command == "pack") return Pack(args);
  if (command == "unpack") return Unpack(args);
  if (command == "list") return List(args);
  if (command == "lzh-encode") return Transform<PackLzh>(args);
  if (command == "lzh-decode") return Transform<UnpackWholeLzh>(args);
  throw EUsageError("未知的命令“" + command + "”");
}

} // namespace

int main(int argc, char **argv) {
  // Package problems are reported here, not in a message box.
  SetSkinMessageHandler([](const std::string &text) {
    std::string line = text;
    for (char &c : line)
      if (c == '\r') c = ' ';
    std::fprintf(stderr, "skinpack: %s\n", line.c_str());
  });
  return TCommandLine("skinpack", kUsage).Run(ProgramArguments(argc, argv), Run);
}
