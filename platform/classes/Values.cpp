// Value tokens and conversions: the lexical side of layout text.
#include "platform/classes/Values.h"

#include "platform/base/Text.h"
#include "platform/classes/ClassInfo.h"
#include "platform/classes/LayoutLexer.h"

#include <cctype>
#include <cstdlib>
#include <limits>

namespace qv {

namespace layout {

namespace {
bool IdentStart(char c) { return std::isalpha(static_cast<unsigned char>(c)) || c == '_'; }
bool IdentPart(char c) { return IdentStart(c) || std::isdigit(static_cast<unsigned char>(c)) || c == '.'; }
int HexDigit(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}
} // namespace

void TLexer::SkipBlanks() {
  while (pos_ < text_.size()) {
    char c = text_[pos_];
    if (c == '\n') {
      ++line_;
      ++pos_;
    } else if (c == ' ' || c == '\t' || c == '\r') {
      ++pos_;
    } else if (c == '/' && pos_ + 1 < text_.size() && text_[pos_ + 1] == '/') {
      while (pos_ < text_.size() && text_[pos_] != '\n')
        ++pos_;
    } else if (pos_ == 0 && text_.substr(0, 3) == "\xEF\xBB\xBF") {
      pos_ = 3; // UTF-8 byte-order mark
    } else {
      break;
    }
  }
}

// One 'quoted' or #code part of a string; false when none starts here.
bool TLexer::ScanStringPart(std::string &out) {
  if (pos_ >= text_.size()) return false;
  if (text_[pos_] == '\'') {
    ++pos_;
    for (;;) {
      if (pos_ >= text_.size() || text_[pos_] == '\n') throw EPropertyError("unterminated string");
      char c = text_[pos_++];
      if (c == '\'') {
        if (pos_ < text_.size() && text_[pos_] == '\'') {
          out += '\'';
          ++pos_;
          continue;
        }
        return true;
      }
      out += c;
    }
  }
  if (text_[pos_] == '#') {
    ++pos_;
    uint32_t cp = 0;
    size_t start = pos_;
    while (pos_ < text_.size() && std::isdigit(static_cast<unsigned char>(text_[pos_])) && cp <= 0x10FFFF)
      cp = cp * 10 + (text_[pos_++] - '0');
    if (pos_ == start || cp > 0x10FFFF) throw EPropertyError("bad character code after '#'");
    AppendUtf8(out, cp);
    return true;
  }
  return false;
}

TToken TLexer::Scan() {
  SkipBlanks();
  TToken t;
  t.Line = line_;
  if (pos_ >= text_.size()) return t;
  char c = text_[pos_];
  if (c == '\'' || c == '#') {
    t.Kind = TToken::String;
    // Parts follow each other directly ('a'#13'b') or joined with '+' across lines.
    for (;;) {
      while (ScanStringPart(t.Text)) {
      }
      size_t save = pos_;
      int saveLine = line_;
      SkipBlanks();
      if (pos_ < text_.size() && text_[pos_] == '+') {
        ++pos_;
        SkipBlanks();
        if (pos_ < text_.size() && (text_[pos_] == '\'' || text_[pos_] == '#')) continue;
        throw EPropertyError("string expected after '+'");
      }
      pos_ = save;
      line_ = saveLine;
      return t;
    }
  }
  if (IdentStart(c)) {
    size_t start = pos_;
    while (pos_ < text_.size() && IdentPart(text_[pos_]))
      ++pos_;
    t.Kind = TToken::Ident;
    t.Text = std::string(text_.substr(start, pos_ - start));
    return t;
  }
  bool negative = false;
  if ((c == '-' || c == '+') && pos_ + 1 < text_.size() &&
      (std::isdigit(static_cast<unsigned char>(text_[pos_ + 1])) || text_[pos_ + 1] == '$')) {
    negative = c == '-';
    c = text_[++pos_];
  }
  if (c == '$') {
    ++pos_;
    uint64_t v = 0;
    size_t start = pos_;
    while (pos_ < text_.size() && HexDigit(text_[pos_]) >= 0) {
      if (v > (std::numeric_limits<uint64_t>::max() >> 4)) throw EPropertyError("number too large");
      v = v * 16 + HexDigit(text_[pos_++]);
    }
    if (pos_ == start) throw EPropertyError("hexadecimal digits expected after '$'");
    t.Kind = TToken::Integer;
    t.Int = negative ? -static_cast<int64_t>(v) : static_cast<int64_t>(v);
    return t;
  }
  if (std::isdigit(static_cast<unsigned char>(c))) {
    size_t start = pos_;
    while (pos_ < text_.size() && std::isdigit(static_cast<unsigned char>(text_[pos_])))
      ++pos_;
    bool real = false;
    if (pos_ + 1 < text_.size() && text_[pos_] == '.' &&
        std::isdigit(static_cast<unsigned char>(text_[pos_ + 1]))) {
      real = true;
      ++pos_;
      while (pos_ < text_.size() && std::isdigit(static_cast<unsigned char>(text_[pos_])))
        ++pos_;
    }
    std::string digits(text_.substr(start, pos_ - start));
    if (real) {
      t.Kind = TToken::Float;
      t.Real = std::strtod(digits.c_str(), nullptr) * (negative ? -1 : 1);
    } else {
      if (digits.size() > 18) throw EPropertyError("number too large: " + digits);
      t.Kind = TToken::Integer;
      t.Int = std::strtoll(digits.c_str(), nullptr, 10) * (negative ? -1 : 1);
    }
    return t;
  }
  ++pos_;
  t.Kind = TToken::Symbol;
  t.Text = std::string(1, c);
  return t;
}

TToken TLexer::Next() {
  if (peeked_) {
    peeked_ = false;
    return peek_;
  }
  return Scan();
}

const TToken &TLexer::Peek() {
  if (!peeked_) {
    peek_ = Scan();
    peeked_ = true;
  }
  return peek_;
}

std::vector<uint8_t> TLexer::ReadBinary() {
  std::vector<uint8_t> bytes;
  int high = -1;
  for (;;) {
    if (pos_ >= text_.size()) throw EPropertyError("unterminated binary block");
    char c = text_[pos_++];
    if (c == '}') break;
    if (c == '\n') ++line_;
    if (c == ' ' || c == '\t' || c == '\r' || c == '\n') continue;
    int d = HexDigit(c);
    if (d < 0) throw EPropertyError(std::string("bad character '") + c + "' in binary block");
    if (high < 0) {
      high = d;
    } else {
      bytes.push_back(static_cast<uint8_t>(high * 16 + d));
      high = -1;
    }
  }
  if (high >= 0) throw EPropertyError("odd number of digits in binary block");
  return bytes;
}

TLayoutProp ParseAssignment(TLexer &lex) {
  TToken name = lex.Next();
  if (name.Kind != TToken::Ident) throw EPropertyError("property name expected");
  TToken eq = lex.Next();
  if (eq.Kind != TToken::Symbol || eq.Text != "=") throw EPropertyError("'=' expected after " + name.Text);
  TLayoutProp p;
  p.Path = name.Text;
  p.Line = name.Line;
  p.Value = ParseValue(lex);
  return p;
}

TValue ParseValue(TLexer &lex) {
  TToken t = lex.Next();
  TValue v;
  v.Line = t.Line;
  switch (t.Kind) {
  case TToken::End:
    throw EPropertyError("value expected");
  case TToken::Ident:
    v.Kind = TValue::Identifier;
    v.Text = t.Text;
    return v;
  case TToken::Integer:
    v.Kind = TValue::Integer;
    v.Int = t.Int;
    return v;
  case TToken::Float:
    v.Kind = TValue::Float;
    v.Real = t.Real;
    return v;
  case TToken::String:
    v.Kind = TValue::String;
    v.Text = t.Text;
    return v;
  case TToken::Symbol:
    break;
  }
  if (t.Text == "[") {
    v.Kind = TValue::Set;
    for (;;) {
      TToken m = lex.Next();
      if (m.Kind == TToken::Symbol && m.Text == "]") return v;
      if (m.Kind != TToken::Ident) throw EPropertyError("set member expected");
      v.Items.push_back(m.Text);
      TToken sep = lex.Next();
      if (sep.Kind == TToken::Symbol && sep.Text == "]") return v;
      if (sep.Kind != TToken::Symbol || sep.Text != ",") throw EPropertyError("',' or ']' expected in set");
    }
  }
  if (t.Text == "(") {
    v.Kind = TValue::List;
    for (;;) {
      TToken s = lex.Next();
      if (s.Kind == TToken::Symbol && s.Text == ")") return v;
      if (s.Kind == TToken::String || s.Kind == TToken::Ident)
        v.Items.push_back(s.Text);
      else if (s.Kind == TToken::Integer)
        v.Items.push_back(std::to_string(s.Int));
      else
        throw EPropertyError("string or ')' expected in list");
    }
  }
  if (t.Text == "{") {
    v.Kind = TValue::Binary;
    v.Bytes = lex.ReadBinary();
    return v;
  }
  if (t.Text == "<") {
    v.Kind = TValue::Collection;
    for (;;) {
      TToken s = lex.Next();
      if (s.Kind == TToken::Symbol && s.Text == ">") return v;
      if (s.Kind != TToken::Ident || !SameText(s.Text, "item"))
        throw EPropertyError("'item' or '>' expected in collection");
      std::vector<TLayoutProp> item;
      for (;;) {
        const TToken &p = lex.Peek();
        if (p.Kind == TToken::Ident && SameText(p.Text, "end")) {
          lex.Next();
          break;
        }
        if (p.Kind == TToken::End) throw EPropertyError("'end' expected to close an item");
        item.push_back(ParseAssignment(lex));
      }
      v.CollectionItems.push_back(std::move(item));
    }
  }
  throw EPropertyError("unexpected '" + t.Text + "'");
}

} // namespace layout

std::string TValue::Describe() const {
  switch (Kind) {
  case Identifier:
    return "identifier '" + Text + "'";
  case Integer:
    return "number " + std::to_string(Int);
  case Float:
    return "number " + std::to_string(Real);
  case String:
    return "string " + QuoteString(Text);
  case Set:
    return "set";
  case List:
    return "string list";
  case Binary:
    return "binary block";
  case Collection:
    return "collection";
  }
  return "value";
}

int64_t ValueToInteger(const TValue &v) {
  if (v.Kind == TValue::Integer) return v.Int;
  throw EPropertyError("expected a whole number, found " + v.Describe());
}

bool ValueToBoolean(const TValue &v) {
  if (v.Kind == TValue::Identifier) {
    if (SameText(v.Text, "True")) return true;
    if (SameText(v.Text, "False")) return false;
  }
  throw EPropertyError("expected True or False, found " + v.Describe());
}

std::string ValueToString(const TValue &v) {
  switch (v.Kind) {
  case TValue::String:
  case TValue::Identifier:
    return v.Text;
  case TValue::Integer:
    return std::to_string(v.Int);
  default:
    throw EPropertyError("expected a string, found " + v.Describe());
  }
}

TValue ParseValueText(std::string_view text) {
  layout::TLexer lex(text);
  TValue v = layout::ParseValue(lex);
  if (lex.Next().Kind != layout::TToken::End) throw EPropertyError("unexpected text after the value");
  v.Line = 0;
  return v;
}

std::string QuoteString(std::string_view s) {
  // Control characters go outside the quotes as #codes: 'a'#13#10'b'.
  std::string out;
  bool open = false;
  for (char c : s) {
    if (c == '\r' || c == '\n' || c == '\t') {
      if (open) out += '\'';
      open = false;
      out += "#" + std::to_string(static_cast<int>(c));
      continue;
    }
    if (!open) out += '\'';
    open = true;
    out += c == '\'' ? std::string("''") : std::string(1, c);
  }
  if (open) out += '\'';
  return out.empty() ? "''" : out;
}

} // namespace qv
