#include "platform/data/SqlText.h"

#include <cctype>

namespace qv {

namespace {

bool IsBlank(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; }

bool IsNameChar(char c) {
  return std::isalnum(static_cast<unsigned char>(c)) || c == '_' || c == '$' ||
         static_cast<unsigned char>(c) >= 0x80;
}

// Length of the quoted part, comment or bracketed name starting at sql[i], or 0 if none starts there.
size_t SkipQuoted(std::string_view sql, size_t i) {
  char c = sql[i];
  if (c == '\'' || c == '"' || c == '`' || c == '[') {
    char close = c == '[' ? ']' : c;
    size_t j = i + 1;
    while (j < sql.size()) {
      if (sql[j] == close) {
        if (close != ']' && j + 1 < sql.size() && sql[j + 1] == close) {
          j += 2;
          continue;
        }
        return j + 1 - i;
      }
      ++j;
    }
    return sql.size() - i;
  }
  if (c == '-' && i + 1 < sql.size() && sql[i + 1] == '-') {
    size_t end = sql.find('\n', i);
    return (end == std::string_view::npos ? sql.size() : end) - i;
  }
  if (c == '/' && i + 1 < sql.size() && sql[i + 1] == '*') {
    size_t end = sql.find("*/", i + 2);
    return (end == std::string_view::npos ? sql.size() : end + 2) - i;
  }
  return 0;
}

// When "<>" at sql[i] is followed by blanks and the word NULL, returns the index just after NULL.
size_t NotNullEnd(std::string_view sql, size_t i) {
  size_t j = i + 2;
  while (j < sql.size() && IsBlank(sql[j]))
    ++j;
  if (j + 4 > sql.size()) return 0;
  for (size_t k = 0; k < 4; ++k)
    if (std::toupper(static_cast<unsigned char>(sql[j + k])) != "NULL"[k]) return 0;
  if (j + 4 < sql.size() && IsNameChar(sql[j + 4])) return 0;
  return j + 4;
}

} // namespace

std::string AdaptStatement(std::string_view sql) {
  std::string out;
  out.reserve(sql.size() + 16);
  size_t i = 0;
  while (i < sql.size()) {
    if (size_t n = SkipQuoted(sql, i)) {
      out.append(sql.substr(i, n));
      i += n;
      continue;
    }
    if (sql[i] == '<' && i + 1 < sql.size() && sql[i + 1] == '>') {
      if (size_t end = NotNullEnd(sql, i)) {
        while (!out.empty() && IsBlank(out.back()))
          out.pop_back();
        out += " IS NOT NULL";
        i = end;
        continue;
      }
    }
    if (IsNameChar(sql[i])) {
      size_t end = i;
      while (end < sql.size() && IsNameChar(sql[end]))
        ++end;
      std::string_view word = sql.substr(i, end - i);
      size_t next = end;
      while (next < sql.size() && IsBlank(sql[next]))
        ++next;
      // RIGHT is a keyword (RIGHT JOIN): the function is called through its quoted name.
      bool call = next < sql.size() && sql[next] == '(';
      if (call && word.size() == 5 && (word[0] | 0x20) == 'r' && (word[1] | 0x20) == 'i' &&
          (word[2] | 0x20) == 'g' && (word[3] | 0x20) == 'h' && (word[4] | 0x20) == 't')
        out += "\"right\"";
      else
        out.append(word);
      i = end;
      continue;
    }
    out += sql[i++];
  }
  return out;
}

std::string QuotedStr(std::string_view text) {
  std::string out = "'";
  for (char c : text) {
    if (c == '\'') out += '\'';
    out += c;
  }
  return out + "'";
}

} // namespace qv
