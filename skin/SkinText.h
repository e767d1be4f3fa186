#pragma once
// ASCII-only case mapping and line splitting for skin descriptions and package name lists, which
// are byte text: bytes above 0x7F (GBK) are never changed, whatever the C locale says.
#include <string>
#include <string_view>
#include <vector>

namespace qv {

inline char AsciiLowerChar(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c + 32) : c; }
inline char AsciiUpperChar(char c) { return c >= 'a' && c <= 'z' ? static_cast<char>(c - 32) : c; }

inline std::string AsciiLower(std::string_view s) {
  std::string r(s);
  for (char &c : r)
    c = AsciiLowerChar(c);
  return r;
}
inline std::string AsciiUpper(std::string_view s) {
  std::string r(s);
  for (char &c : r)
    c = AsciiUpperChar(c);
  return r;
}
inline bool AsciiSameText(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i)
    if (AsciiLowerChar(a[i]) != AsciiLowerChar(b[i])) return false;
  return true;
}

// Lines split at CR LF, CR or LF; a break at the very end does not start another (empty) line.
inline std::vector<std::string> SplitLines(std::string_view text) {
  std::vector<std::string> lines;
  std::size_t i = 0;
  while (i < text.size()) {
    std::size_t j = i;
    while (j < text.size() && text[j] != '\r' && text[j] != '\n')
      ++j;
    lines.emplace_back(text.substr(i, j - i));
    if (j < text.size() && text[j] == '\r' && j + 1 < text.size() && text[j + 1] == '\n') ++j;
    i = j + 1;
  }
  return lines;
}

} // namespace qv
