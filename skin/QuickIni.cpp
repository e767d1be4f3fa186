#include "skin/QuickIni.h"

#include "skin/SkinText.h"

#include <cstring>

namespace qv {

namespace {

// Blanks and control characters, as the ini format trims them.
bool IsTrimmed(char c) { return static_cast<unsigned char>(c) <= ' '; }

std::string TrimLine(std::string_view s) {
  std::size_t b = 0, e = s.size();
  while (b < e && IsTrimmed(s[b]))
    ++b;
  while (e > b && IsTrimmed(s[e - 1]))
    --e;
  return std::string(s.substr(b, e - b));
}

bool IsHeader(const std::string &trimmed) {
  return trimmed.size() >= 2 && trimmed.front() == '[' && trimmed.back() == ']';
}

} // namespace

void TQuickIni::LoadFromStream(const TBytes *stream, std::size_t from) {
  if (!stream) return;
  if (from > stream->size()) from = stream->size();
  LoadFromText(std::string(stream->begin() + static_cast<std::ptrdiff_t>(from), stream->end()));
}

void TQuickIni::LoadFromText(const std::string &text) {
  lines_.clear();
  sections_.clear();
  const std::size_t nul = text.find('\0');
  const std::string_view body(text.data(), nul == std::string::npos ? text.size() : nul);
  for (const std::string &raw : SplitLines(body)) {
    std::string line = TrimLine(raw);
    if (line.empty() || line.front() == ';') continue;
    if (IsHeader(line)) sections_.push_back({line, lines_.size()});
    lines_.push_back(std::move(line));
  }
}

std::string TQuickIni::ReadString(const std::string &section, const std::string &key,
                                  const std::string &def) const {
  const std::string header = "[" + section + "]";
  const Section *found = nullptr;
  for (const Section &s : sections_)
    if (AsciiSameText(s.header, header)) {
      found = &s;
      break;
    }
  if (!found) return def;
  const std::string wanted = AsciiLower(key);
  for (std::size_t i = found->line + 1; i < lines_.size(); ++i) {
    const std::string &line = lines_[i];
    if (IsHeader(line)) break;
    const std::size_t eq = line.find('=');
    const std::string lineKey =
        eq == std::string::npos ? std::string() : AsciiLower(TrimLine(line.substr(0, eq)));
    if (lineKey != wanted) continue;
    std::string value = TrimLine(line.substr(eq + 1));
    return value.empty() ? def : value;
  }
  return def;
}

bool ParseSkinInteger(const std::string &text, int32_t &value) {
  std::size_t i = 0;
  bool negative = false;
  if (i < text.size() && (text[i] == '-' || text[i] == '+')) negative = text[i++] == '-';
  bool hex = false;
  if (i < text.size() && text[i] == '$') {
    hex = true;
    ++i;
  }
  if (i >= text.size()) return false;
  int64_t v = 0;
  for (; i < text.size(); ++i) {
    const char c = text[i];
    int digit;
    if (c >= '0' && c <= '9')
      digit = c - '0';
    else if (hex && c >= 'a' && c <= 'f')
      digit = c - 'a' + 10;
    else if (hex && c >= 'A' && c <= 'F')
      digit = c - 'A' + 10;
    else
      return false;
    v = v * (hex ? 16 : 10) + digit;
    // Hexadecimal may fill all 32 bits (colours such as $FF00000F); decimal must fit a signed value.
    if (v > (hex ? int64_t{0xFFFFFFFF} : int64_t{0x80000000})) return false;
  }
  if (negative) v = -v;
  if (!hex && v > INT32_MAX) return false;
  value = static_cast<int32_t>(static_cast<uint32_t>(v));
  return true;
}

int32_t TQuickIni::ReadInteger(const std::string &section, const std::string &key, int32_t def) const {
  std::string text = ReadString(section, key, "");
  if (text.size() > 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X')) text = "$" + text.substr(2);
  int32_t value;
  return ParseSkinInteger(text, value) ? value : def;
}

TColor ParseSkinColor(const std::string &text, TColor def) {
  const std::string s = TrimLine(text);
  if (s.empty()) return def;
  uint32_t parts[3] = {0, 0, 0};
  int count = 0;
  uint32_t number = 0;
  bool inNumber = false;
  for (std::size_t i = 0; i < s.size() && count < 3; ++i) {
    const char c = s[i];
    if (c >= '0' && c <= '9') {
      number = (number * 10 + static_cast<uint32_t>(c - '0')) % 256;
      inNumber = true;
      continue;
    }
    if (inNumber) parts[count++] = number;
    number = 0;
    inNumber = false;
  }
  // A number still open at the end of the text is only taken as the third one.
  if (inNumber && count == 2) parts[count++] = number;
  return RGBColor(static_cast<int>(parts[0]), static_cast<int>(parts[1]), static_cast<int>(parts[2]));
}

TColor TQuickIni::ReadColor(const std::string &section, const std::string &key, TColor def) const {
  return ParseSkinColor(ReadString(section, key, ""), def);
}

std::vector<std::string> TQuickIni::ReadSections() const {
  std::vector<std::string> names;
  for (const Section &s : sections_)
    names.push_back(s.header.substr(1, s.header.size() - 2));
  return names;
}

} // namespace qv
