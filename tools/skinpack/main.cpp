// skinpack: builds, lists and takes apart skin packages; packs and unpacks bare LZHUF streams.
#include "platform/base/Exception.h"
#include "skin/Lzh.h"
#include "skin/SkinReader.h"
#include "tools/skinpack/LzhEncoder.h"
#include "tools/skinpack/SkinPackage.h"

#include <cstdio>
#include <cstring>
#include <string>

namespace {

const char kUsage[] = "usage: skinpack pack FOLDER PACKAGE      pack a description and its bitmaps\n"
                      "       skinpack unpack PACKAGE FOLDER    write every file of a package\n"
                      "       skinpack list PACKAGE             list the files of a package\n"
                      "       skinpack lzh-encode IN OUT        pack a file as a bare LZHUF stream\n"
                      "       skinpack lzh-decode IN OUT        unpack a bare LZHUF stream\n";

int Run(int argc, char **argv) {
  using namespace qv;
  const std::string command = argc > 1 ? argv[1] : "";
  if (command == "list" && argc == 3) {
    const TBytes packed = ReadFileBytes(argv[2]);
    const std::vector<TSkinEntry> entries = ReadSkinArchive(UnpackLzh(packed));
    std::size_t total = 0;
    for (const TSkinEntry &e : entries) {
      std::printf("%10zu  %s\n", e.Data.size(), e.Name.c_str());
      total += e.Data.size();
    }
    std::printf("%10zu  %zu files; package %zu bytes packed\n", total, entries.size(), packed.size());
    return 0;
  }
  if (argc != 4) {
    std::fputs(kUsage, stderr);
    return 2;
  }
  if (command == "pack") {
    const TBytes packed = PackSkinFolder(argv[2]);
    WriteFileBytes(argv[3], packed);
    std::printf("%s: %zu bytes\n", argv[3], packed.size());
  } else if (command == "unpack") {
    const std::vector<TSkinEntry> entries = UnpackSkinPackage(ReadFileBytes(argv[2]), argv[3]);
    std::printf("%zu files written to %s\n", entries.size(), argv[3]);
  } else if (command == "lzh-encode") {
    WriteFileBytes(argv[3], PackLzh(ReadFileBytes(argv[2])));
  } else if (command == "lzh-decode") {
    WriteFileBytes(argv[3], UnpackLzh(ReadFileBytes(argv[2])));
  } else {
    std::fputs(kUsage, stderr);
    return 2;
  }
  return 0;
}

} // namespace

int main(int argc, char **argv) {
  // Package problems are reported here, not in a message box.
  qv::SetSkinMessageHandler([](const std::string &text) {
    std::string line = text;
    for (char &c : line)
      if (c == '\r') c = ' ';
    std::fprintf(stderr, "skinpack: %s\n", line.c_str());
  });
  try {
    return Run(argc, argv);
  } catch (const std::exception &e) {
    std::fprintf(stderr, "skinpack: %s\n", e.what());
    return 1;
  }
}
