#include "tools/skinpack/SkinPackage.h"

#include "platform/base/Exception.h"
#include "platform/base/FileIO.h"
#include "skin/Lzh.h"
#include "skin/SkinReader.h"
#include "skin/SkinText.h"
#include "tools/skinpack/LzhEncoder.h"

#include <algorithm>
#include <filesystem>
#include <set>

namespace qv {

namespace fs = std::filesystem;

bool IsBareFileName(const std::string &name) {
  if (name.empty() || name == "." || name == "..") return false;
  return name.find_first_of("/\\:\r\n") == std::string::npos && name.find('\0') == std::string::npos;
}

TBytes BuildSkinArchive(const std::vector<TSkinEntry> &entries) {
  if (entries.size() > static_cast<std::size_t>(kMaxSkinEntries))
    throw Exception("a skin package holds at most " + std::to_string(kMaxSkinEntries) + " files, not " +
                    std::to_string(entries.size()));
  std::string list;
  for (const TSkinEntry &e : entries) {
    if (e.Name.empty() || e.Name.find_first_of("\r\n") != std::string::npos)
      throw Exception("file name \"" + e.Name + "\" cannot go into a skin package");
    list += e.Name + "\r\n";
  }
  TBytes out;
  AppendLE32(out, static_cast<uint32_t>(kSkinArchiveMark));
  AppendLE32(out, static_cast<uint32_t>(list.size()));
  AppendLE32(out, 0);
  AppendLE32(out, 0);
  out.insert(out.end(), list.begin(), list.end());
  for (const TSkinEntry &e : entries) {
    if (e.Data.size() > 0x7FFFFFFF) throw Exception("file " + e.Name + " is too large for a skin package");
    AppendLE32(out, static_cast<uint32_t>(e.Data.size()));
  }
  for (const TSkinEntry &e : entries)
    out.insert(out.end(), e.Data.begin(), e.Data.end());
  return out;
}

std::vector<TSkinEntry> ReadSkinArchive(const TBytes &archive) {
  TSkinReader reader;
  if (!reader.LoadArchive(archive))
    throw ESkinPackage("not a skin package of this format (mark " + std::to_string(reader.Header()[0]) + ")");
  std::vector<TSkinEntry> entries;
  for (int i = 0; i < reader.EntryCount(); ++i) {
    TSkinEntry e;
    e.Name = reader.ListedNames()[static_cast<std::size_t>(i)];
    reader.ExtractEntry(i, e.Data);
    entries.push_back(std::move(e));
  }
  return entries;
}

TBytes PackSkinFolder(const std::string &folder) {
  std::vector<TSkinEntry> entries;
  std::error_code ec;
  fs::directory_iterator it(PathFromUtf8(folder), ec);
  if (ec) throw Exception("cannot read folder " + folder + ": " + ec.message());
  for (const fs::directory_entry &file : it) {
    if (!file.is_regular_file()) continue;
    TSkinEntry e;
    e.Name = Utf8FromPath(file.path().filename());
    e.Data = ReadFileBytes(Utf8FromPath(file.path()));
    entries.push_back(std::move(e));
  }
  auto isDescription = [](const TSkinEntry &e) {
    return AsciiLower(e.Name).find(".ini") != std::string::npos;
  };
  std::sort(entries.begin(), entries.end(), [&](const TSkinEntry &a, const TSkinEntry &b) {
    if (isDescription(a) != isDescription(b)) return isDescription(a);
    return AsciiLower(a.Name) < AsciiLower(b.Name);
  });
  if (entries.empty() || !isDescription(entries.front()))
    throw Exception("folder " + folder + " has no skin description (.ini)");
  return PackLzh(BuildSkinArchive(entries));
}

TBytes UnpackWholeLzh(const TBytes &packed) {
  TBytes text = UnpackLzh(packed);
  const std::string declared = std::to_string(ReadLE32(packed.data()));
  // The decoder reads bits past the end of its input as zeros, so a truncated package still
  // decodes to its declared size, with garbage at the end. Decoded again with ones past the end,
  // a stream that needed bits it does not hold gives another result.
  TBytes padded = packed;
  padded.insert(padded.end(), 16, 0xFF);
  if (UnpackLzh(padded) != text)
    throw ESkinPackage("the package is truncated: its code stream ends before its " + declared +
                       " bytes are decoded");
  if (text.size() != ReadLE32(packed.data()))
    throw ESkinPackage("the package is damaged: its code stream does not end at its declared size of " +
                       declared + " bytes");
  return text;
}

std::vector<TSkinEntry> UnpackSkinPackage(const TBytes &packed, const std::string &folder) {
  // Everything is checked before the first file is written.
  std::vector<TSkinEntry> entries = ReadSkinArchive(UnpackWholeLzh(packed));
  std::set<std::string> names;
  for (const TSkinEntry &e : entries) {
    if (!IsBareFileName(e.Name))
      throw Exception("the package names a file \"" + e.Name + "\" outside its folder; nothing was written");
    if (!names.insert(AsciiLower(e.Name)).second)
      throw Exception("the package holds the file \"" + e.Name + "\" twice; nothing was written");
  }
  const fs::path root = PathFromUtf8(folder);
  std::error_code ec;
  fs::create_directories(root, ec);
  if (ec) throw Exception("cannot create folder " + folder + ": " + ec.message());
  for (const TSkinEntry &e : entries)
    WriteFileBytes(Utf8FromPath(root / PathFromUtf8(e.Name)), e.Data);
  return entries;
}

} // namespace qv
