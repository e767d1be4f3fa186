#pragma once
// Statement text helpers: what the connection changes before SQLite reads a statement, and
// quoting of text spliced into statements.
#include <string>
#include <string_view>

namespace qv {

// Rewrites every "<> NULL" comparison (any letter case, any blanks around) outside quoted text,
// quoted names and comments as "IS NOT NULL", so that "result1<>NUll" selects the rows whose
// result1 is not null. Everything else is returned unchanged.
std::string AdaptStatement(std::string_view sql);

// The text as an SQL string literal: enclosed in single quotes, embedded quotes doubled.
std::string QuotedStr(std::string_view text);

} // namespace qv
