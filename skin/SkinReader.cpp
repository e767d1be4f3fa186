#include "skin/SkinReader.h"

#include "skin/Lzh.h"
#include "skin/SkinText.h"

#include <cstdio>
#include <string_view>
#include <utility>

namespace qv {

const char *const kOlderSkinMessage = "This is Older Skin File\rPlease update to new version !";

namespace {
TSkinMessageHandler &MessageHandler() {
  static TSkinMessageHandler handler;
  return handler;
}
} // namespace

TSkinMessageHandler SetSkinMessageHandler(TSkinMessageHandler handler) {
  return std::exchange(MessageHandler(), std::move(handler));
}

void ShowSkinMessage(const std::string &text) {
  if (MessageHandler())
    MessageHandler()(text);
  else
    std::fprintf(stderr, "%s\n", text.c_str());
}

void TSkinReader::Clear() {
  names_.clear();
  listedNames_.clear();
  sizes_.clear();
  offsets_.clear();
  header_ = {};
  data_.clear();
}

bool TSkinReader::LoadFromStream(const TBytes &packed) {
  Clear();
  return LoadArchive(UnpackLzh(packed));
}

bool TSkinReader::LoadArchive(const TBytes &archive) {
  Clear();
  if (archive.size() < 16) throw ESkinPackage("skin package: the archive is shorter than its 16-byte header");
  std::array<int32_t, 4> header;
  for (int i = 0; i < 4; ++i)
    header[i] = static_cast<int32_t>(ReadLE32(archive.data() + 4 * i));
  if (header[0] != kSkinArchiveMark) {
    ShowSkinMessage(kOlderSkinMessage);
    return false;
  }

  const int64_t listLength = header[1];
  if (listLength < 0 || 16 + listLength > static_cast<int64_t>(archive.size()))
    throw ESkinPackage("skin package: the name list length " + std::to_string(listLength) +
                       " does not fit in the archive");
  const std::string_view list(reinterpret_cast<const char *>(archive.data()) + 16,
                              static_cast<std::size_t>(listLength));
  std::vector<std::string> listed = SplitLines(list);
  std::vector<std::string> names;
  for (const std::string &name : listed)
    names.push_back(AsciiLower(name));
  if (names.size() > static_cast<std::size_t>(kMaxSkinEntries))
    throw ESkinPackage("skin package: " + std::to_string(names.size()) + " names; at most " +
                       std::to_string(kMaxSkinEntries) + " are allowed");

  const std::size_t tableAt = 16 + static_cast<std::size_t>(listLength);
  const std::size_t dataAt = tableAt + 4 * names.size();
  if (dataAt > archive.size())
    throw ESkinPackage("skin package: the size table runs past the end of the archive");
  const std::size_t dataSize = archive.size() - dataAt;

  std::vector<int32_t> sizes(names.size());
  std::vector<std::size_t> offsets(names.size());
  uint64_t sum = 0;
  for (std::size_t i = 0; i < names.size(); ++i) {
    sizes[i] = static_cast<int32_t>(ReadLE32(archive.data() + tableAt + 4 * i));
    offsets[i] = static_cast<std::size_t>(sum);
    if (sizes[i] < 0 || sum + static_cast<uint64_t>(sizes[i]) > dataSize)
      throw ESkinPackage("skin package: entry \"" + names[i] + "\" has size " + std::to_string(sizes[i]) +
                         ", which does not fit in the " + std::to_string(dataSize) + "-byte data area");
    sum += static_cast<uint64_t>(sizes[i]);
  }

  header_ = header;
  names_ = std::move(names);
  listedNames_ = std::move(listed);
  sizes_ = std::move(sizes);
  offsets_ = std::move(offsets);
  data_.assign(archive.begin() + static_cast<std::ptrdiff_t>(dataAt), archive.end());
  return true;
}

void TSkinReader::CopyEntry(std::size_t index, TBytes &out) const {
  const auto first = data_.begin() + static_cast<std::ptrdiff_t>(offsets_[index]);
  out.assign(first, first + sizes_[index]);
}

void TSkinReader::ExtractFile(const std::string &name, TBytes &out) const {
  out.clear();
  const std::string wanted = AsciiLower(name);
  for (std::size_t i = 0; i < names_.size(); ++i)
    if (names_[i] == wanted) {
      CopyEntry(i, out);
      return;
    }
}

std::string TSkinReader::ExtractFirstContaining(const std::string &fragment, TBytes &out) const {
  out.clear();
  for (std::size_t i = 0; i < names_.size(); ++i)
    if (names_[i].find(fragment) != std::string::npos) {
      CopyEntry(i, out);
      return names_[i];
    }
  return {};
}

} // namespace qv
