#pragma once
// A read-only ini reader over the skin description: sections in square brackets, "key=value"
// lines, ";" comments. Byte text; lookups ignore ASCII letter case.
#include "platform/base/Colors.h"
#include "skin/SkinBytes.h"

#include <cstdint>
#include <string>
#include <vector>

namespace qv {

class TQuickIni {
public:
  // Parses bytes [from, end) of the stream, replacing what was read before. Text ends at the first
  // NUL byte. A null stream is ignored.
  void LoadFromStream(const TBytes *stream, std::size_t from = 0);
  void LoadFromText(const std::string &text);

  // The first value of `key` in `section`, trimmed; `def` when the section, the key or the value
  // is missing (a later duplicate of the key is never seen).
  std::string ReadString(const std::string &section, const std::string &key, const std::string &def) const;
  // Decimal, or hexadecimal written "0x1F" or "$1F"; `def` for anything else.
  int32_t ReadInteger(const std::string &section, const std::string &key, int32_t def) const;
  // A colour written as three numbers red, green, blue (see ParseSkinColor); `def` when absent.
  TColor ReadColor(const std::string &section, const std::string &key, TColor def) const;
  // Section names without brackets, in text order.
  std::vector<std::string> ReadSections() const;

private:
  struct Section {
    std::string header; // with brackets, as written
    std::size_t line;
  };
  std::vector<std::string> lines_;
  std::vector<Section> sections_;
};

// Runs of ASCII digits are numbers, taken as red, green and blue (each modulo 256); anything else
// separates them; missing numbers are 0; a number that runs to the end of the text only counts
// when it is the third. Empty or blank text gives `def`.
TColor ParseSkinColor(const std::string &text, TColor def);

// Decimal or "$"-hexadecimal 32-bit integer with optional sign; false when not a number.
bool ParseSkinInteger(const std::string &text, int32_t &value);

} // namespace qv
