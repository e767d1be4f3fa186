#include "platform/data/DateTime.h"

#include <cctype>
#include <cstdio>

namespace qv {

namespace {

// Reads 1 to maxDigits decimal digits at text[pos]; false when there is none.
bool ReadNumber(const std::string &text, size_t &pos, int maxDigits, int &out) {
  size_t start = pos;
  out = 0;
  while (pos < text.size() && pos - start < static_cast<size_t>(maxDigits) &&
         std::isdigit(static_cast<unsigned char>(text[pos])))
    out = out * 10 + (text[pos++] - '0');
  return pos > start && (pos >= text.size() || !std::isdigit(static_cast<unsigned char>(text[pos])));
}

} // namespace

bool IsLeapYear(int year) { return (year % 4 == 0 && year % 100 != 0) || year % 400 == 0; }

int DaysInMonth(int year, int month) {
  static const int days[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  if (month < 1 || month > 12) return 0;
  return month == 2 && IsLeapYear(year) ? 29 : days[month - 1];
}

bool IsValidDateTime(const TDateTimeParts &p) {
  return p.Year >= 1 && p.Year <= 9999 && p.Month >= 1 && p.Month <= 12 && p.Day >= 1 &&
         p.Day <= DaysInMonth(p.Year, p.Month) && p.Hour >= 0 && p.Hour <= 23 && p.Minute >= 0 &&
         p.Minute <= 59 && p.Second >= 0 && p.Second <= 59;
}

bool ParseDateTime(const std::string &text, TDateTimeParts &out) {
  size_t first = text.find_first_not_of(" \t");
  if (first == std::string::npos) return false;
  std::string t = text.substr(first, text.find_last_not_of(" \t") - first + 1);
  TDateTimeParts p;
  size_t pos = 0;
  if (!ReadNumber(t, pos, 4, p.Year) || pos < 4) return false;
  if (pos >= t.size() || (t[pos] != '-' && t[pos] != '/' && t[pos] != '.')) return false;
  char separator = t[pos++];
  if (!ReadNumber(t, pos, 2, p.Month) || pos >= t.size() || t[pos] != separator) return false;
  ++pos;
  if (!ReadNumber(t, pos, 2, p.Day)) return false;
  if (pos < t.size()) {
    if (t[pos] != ' ' && t[pos] != 'T') return false;
    while (pos < t.size() && (t[pos] == ' ' || t[pos] == 'T'))
      ++pos;
    if (!ReadNumber(t, pos, 2, p.Hour) || pos >= t.size() || t[pos] != ':') return false;
    ++pos;
    if (!ReadNumber(t, pos, 2, p.Minute)) return false;
    if (pos < t.size()) {
      if (t[pos] != ':') return false;
      ++pos;
      if (!ReadNumber(t, pos, 2, p.Second) || pos != t.size()) return false;
    }
  }
  if (!IsValidDateTime(p)) return false;
  out = p;
  return true;
}

std::string FormatDateTime(const TDateTimeParts &p, bool withTime) {
  char buffer[32];
  if (withTime)
    std::snprintf(buffer, sizeof buffer, "%04d-%02d-%02d %02d:%02d:%02d", p.Year, p.Month, p.Day, p.Hour,
                  p.Minute, p.Second);
  else
    std::snprintf(buffer, sizeof buffer, "%04d-%02d-%02d", p.Year, p.Month, p.Day);
  return buffer;
}

} // namespace qv
