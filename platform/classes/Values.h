#pragma once
// Property values as the layout text writes them: numbers, quoted strings, identifiers, sets,
// string lists, binary blocks and collections. Setting a property by name parses its text into a
// TValue and hands it to the property's setter, which converts or rejects it.
#include "platform/base/Exception.h"

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace qv {

struct TLayoutProp;

struct TValue {
  enum TKind { Identifier, Integer, Float, String, Set, List, Binary, Collection };
  TKind Kind = Identifier;
  std::string Text;                                      // Identifier (as written), String (UTF-8)
  int64_t Int = 0;                                       // Integer
  double Real = 0;                                       // Float
  std::vector<std::string> Items;                        // Set members, List strings
  std::vector<uint8_t> Bytes;                            // Binary
  std::vector<std::vector<TLayoutProp>> CollectionItems; // Collection: one assignment list per item
  int Line = 0;                                          // line in the layout text (0 when set from code)

  // Short description for error messages ("identifier 'x'", "number 5", ...).
  std::string Describe() const;
};

// One `Path = value` assignment; Path may be dotted ("Font.Name").
struct TLayoutProp {
  std::string Path;
  TValue Value;
  int Line = 0;
};

// Conversions used by property setters. Each throws EPropertyError naming the value when it does
// not fit (the caller adds the property name and the layout line).
int64_t ValueToInteger(const TValue &v);
bool ValueToBoolean(const TValue &v);
std::string ValueToString(const TValue &v);

// Parses the text of one value ("12", "'abc'", "[a, b]", "True", "( 'a' 'b' )", "{ 0A0B }").
// Throws EPropertyError on malformed text.
TValue ParseValueText(std::string_view text);

// Text form of a string as the layout writes it: quoted, quotes doubled.
std::string QuoteString(std::string_view s);

} // namespace qv
