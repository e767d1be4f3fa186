#pragma once
// Text conversions. Our code keeps UTF-8 in std::string; UTF-16 only at Win32 calls;
// GBK (code page 936) where the bytes matter (collation, exports, ANSI clipboard, skin files).
#include <string>
#include <string_view>

namespace qv {

// UTF-8 <-> UTF-16. Invalid input sequences become U+FFFD; never throws.
std::u16string Utf8ToUtf16(std::string_view utf8);
std::string Utf16ToUtf8(std::u16string_view utf16);
// UTF-8 <-> the bytes of UTF-16LE text (no byte-order mark); an odd last byte becomes U+FFFD.
std::string Utf16LeBytesToUtf8(std::string_view bytes);
std::string Utf8ToUtf16LeBytes(std::string_view utf8);

// UTF-8 <-> GBK. Characters GBK lacks become '?'; invalid GBK bytes become U+FFFD.
std::string Utf8ToGbk(std::string_view utf8);
std::string GbkToUtf8(std::string_view gbk);

// Appends one code point as UTF-8 (surrogates and values past U+10FFFF are the caller's concern).
void AppendUtf8(std::string &out, char32_t codePoint);

// At most `maxChars` characters of UTF-8 text for quoting in a message, cut at a character
// boundary and ending in "…" when something was left out.
std::string Excerpt(std::string_view utf8, size_t maxChars = 40);

// Trims ASCII blanks (space, tab, CR, LF) at both ends.
std::string Trim(std::string_view s);

// ASCII case-insensitive comparison, as used for names of columns, properties and files.
bool SameText(std::string_view a, std::string_view b);
std::string UpperCase(std::string_view s);
std::string LowerCase(std::string_view s);

} // namespace qv

#ifdef _WIN32
#include <cwchar>
namespace qv {
// Win32 W functions take wchar_t: the same UTF-16 code units.
std::wstring Widen(std::string_view utf8);
std::string Narrow(std::wstring_view utf16);
} // namespace qv
#endif
