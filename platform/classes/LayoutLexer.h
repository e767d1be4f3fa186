#pragma once
// Internal: the tokenizer shared by the layout parser and the parsing of single property values.
#include "platform/classes/Values.h"

#include <string>
#include <string_view>

namespace qv::layout {

struct TToken {
  enum TKind { End, Ident, Integer, Float, String, Symbol } Kind = End;
  std::string Text; // identifier, string contents (UTF-8), symbol character
  int64_t Int = 0;
  double Real = 0;
  int Line = 1;
};

class TLexer {
public:
  explicit TLexer(std::string_view text) : text_(text) {}

  // The next token; throws EPropertyError("...") with no line prefix on malformed input (the
  // caller adds "layout X, line N").
  TToken Next();
  const TToken &Peek();
  int Line() const { return line_; }
  // Reads a hexadecimal block after '{' up to and including '}'.
  std::vector<uint8_t> ReadBinary();

private:
  std::string_view text_;
  size_t pos_ = 0;
  int line_ = 1;
  bool peeked_ = false;
  TToken peek_;
  TToken Scan();
  void SkipBlanks();
  bool ScanStringPart(std::string &out);
};

// Parses one value starting at the lexer's position (used for `Prop = value` and by
// ParseValueText). Collections read their items through the same routine.
TValue ParseValue(TLexer &lex);
// Reads `Path = value` assignments until a token that is not an identifier followed by '=':
// used for collection items (until "end").
TLayoutProp ParseAssignment(TLexer &lex);

} // namespace qv::layout
