#pragma once
// Building and taking apart skin packages: an archive of named files (mark 20000, CR LF name
// list, size table, data), packed with LZHUF.
#include "skin/SkinBytes.h"

#include <string>
#include <vector>

namespace qv {

struct TSkinEntry {
  std::string Name; // bare file name, as it goes into the name list
  TBytes Data;
};

// The unpacked archive of the entries. Throws Exception for more than 1001 entries, an empty
// name or one with a line break.
TBytes BuildSkinArchive(const std::vector<TSkinEntry> &entries);
// The entries of an unpacked archive, names as listed (letter case kept). Throws Exception
// (ESkinPackage) for a malformed archive or an old mark.
std::vector<TSkinEntry> ReadSkinArchive(const TBytes &archive);

// Reads every regular file of a folder (the description first, then the rest by name) and packs
// them. Throws Exception naming the problem (no description, a name that is not a bare file name).
TBytes PackSkinFolder(const std::string &folder);
// Decodes a packed package or bare LZHUF stream, refusing one that is truncated or does not end at
// its declared size (ESkinPackage); the decoder alone would fill a truncated end with garbage.
TBytes UnpackWholeLzh(const TBytes &packed);

// Writes every entry of a packed package into the folder (created if needed). The whole package
// is checked first: a damaged or truncated one, names that are not bare file names (separators,
// "..", drive colons) and a name given twice are refused before anything is written.
std::vector<TSkinEntry> UnpackSkinPackage(const TBytes &packed, const std::string &folder);

// True when the name can be written as a file inside a folder without leaving it.
bool IsBareFileName(const std::string &name);

} // namespace qv
