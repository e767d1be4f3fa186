#pragma once
// The archive inside a skin package: a 16-byte header (mark 20000, name-list length, two further
// values), the name list (CR LF separated), one 32-bit size per name, then the entries' bytes.
#include "platform/base/Exception.h"
#include "skin/SkinBytes.h"

#include <array>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace qv {

// A package that is not a well-formed archive (bad lengths or sizes, too many names).
class ESkinPackage : public Exception {
public:
  using Exception::Exception;
};

constexpr int32_t kSkinArchiveMark = 20000;
constexpr int kMaxSkinEntries = 1001;
extern const char *const kOlderSkinMessage; // shown once when the mark is not 20000

// Where the skin engine shows a message to the user (a message box on Windows). Without a handler
// messages go to standard error. Returns the previous handler.
using TSkinMessageHandler = std::function<void(const std::string &)>;
TSkinMessageHandler SetSkinMessageHandler(TSkinMessageHandler handler);
void ShowSkinMessage(const std::string &text);

class TSkinReader {
public:
  // Unpacks a packed package and reads its archive. Returns false, after showing
  // kOlderSkinMessage, when the mark is not 20000. Throws ElzhException (unreadable packing) or
  // ESkinPackage (malformed archive); on any failure the reader is left empty.
  bool LoadFromStream(const TBytes &packed);
  // Same for an archive that is already unpacked.
  bool LoadArchive(const TBytes &archive);

  // Copies the entry named `name` (any letter case) into `out`; `out` is left empty when absent.
  void ExtractFile(const std::string &name, TBytes &out) const;
  // Copies the first entry whose lower-cased name contains `fragment` (taken as given) and returns
  // its name; returns an empty name and leaves `out` empty when none does.
  std::string ExtractFirstContaining(const std::string &fragment, TBytes &out) const;

  const std::vector<std::string> &Names() const { return names_; }             // lower-cased
  const std::vector<std::string> &ListedNames() const { return listedNames_; } // as written
  // Copies entry `index` (0 <= index < EntryCount()) into `out`.
  void ExtractEntry(int index, TBytes &out) const { CopyEntry(static_cast<std::size_t>(index), out); }
  int EntryCount() const { return static_cast<int>(names_.size()); }
  int32_t EntrySize(int index) const { return sizes_.at(static_cast<std::size_t>(index)); }
  const std::array<int32_t, 4> &Header() const { return header_; }
  std::size_t DataSize() const { return data_.size(); }

private:
  void Clear();
  void CopyEntry(std::size_t index, TBytes &out) const;

  std::vector<std::string> names_, listedNames_;
  std::vector<int32_t> sizes_;
  std::vector<std::size_t> offsets_;
  std::array<int32_t, 4> header_{};
  TBytes data_;
};

} // namespace qv
