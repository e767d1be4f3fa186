#pragma once
// Dates and times as fields hold them: text "YYYY-MM-DD" (dates) or "YYYY-MM-DD HH:MM:SS" (date
// and time), read from what people type: the year first, then month and day, separated by "-",
// "/" or ".", optionally followed by a time "H:MM" or "H:MM:SS". Portable: no <windows.h>.
#include <string>

namespace qv {

struct TDateTimeParts {
  int Year = 0, Month = 0, Day = 0;
  int Hour = 0, Minute = 0, Second = 0;
  friend bool operator==(const TDateTimeParts &, const TDateTimeParts &) = default;
};

bool IsLeapYear(int year);
int DaysInMonth(int year, int month);
// A real calendar day of the years 1 to 9999, and a time of 00:00:00 to 23:59:59.
bool IsValidDateTime(const TDateTimeParts &parts);

// Reads text (surrounding blanks ignored); false when it is no valid date (or date and time).
bool ParseDateTime(const std::string &text, TDateTimeParts &out);
// "YYYY-MM-DD", or with withTime "YYYY-MM-DD HH:MM:SS".
std::string FormatDateTime(const TDateTimeParts &parts, bool withTime);

} // namespace qv
