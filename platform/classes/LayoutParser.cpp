// Layout text to a tree of nodes.
#include "platform/base/Text.h"
#include "platform/classes/Layout.h"
#include "platform/classes/LayoutLexer.h"

namespace qv {

namespace {

using layout::TLexer;
using layout::TToken;

class TParser {
public:
  TParser(std::string_view text, std::string_view name) : lex_(text), name_(name) {}

  TLayoutNode ParseRoot() {
    TLayoutNode root = Guard([&] { return ParseNode(); });
    TToken t = Guard([&] { return lex_.Next(); });
    if (t.Kind != TToken::End) Fail(t.Line, "text after the final 'end'");
    return root;
  }

private:
  TLexer lex_;
  std::string name_;

  [[noreturn]] void Fail(int line, const std::string &what) {
    throw ELayoutError("layout " + name_ + ", line " + std::to_string(line) + ": " + what);
  }
  // Lexical errors carry no line; add the lexer's.
  template <class F> auto Guard(F f) -> decltype(f()) {
    try {
      return f();
    } catch (const ELayoutError &) {
      throw;
    } catch (const EPropertyError &e) {
      Fail(lex_.Line(), e.what());
    }
  }

  TLayoutNode ParseNode() {
    TToken kw = lex_.Next();
    if (kw.Kind != TToken::Ident || !(SameText(kw.Text, "object") || SameText(kw.Text, "inherited")))
      Fail(kw.Line, "'object' expected");
    TLayoutNode node;
    node.Line = kw.Line;
    TToken name = lex_.Next();
    if (name.Kind != TToken::Ident) Fail(name.Line, "component name expected after 'object'");
    TToken colon = lex_.Next();
    if (colon.Kind != TToken::Symbol || colon.Text != ":")
      Fail(colon.Line, "':' expected after " + name.Text);
    TToken cls = lex_.Next();
    if (cls.Kind != TToken::Ident) Fail(cls.Line, "class name expected after " + name.Text + ":");
    node.Name = name.Text;
    node.ClassName = cls.Text;
    for (;;) {
      const TToken &next = Guard([&]() -> const TToken & { return lex_.Peek(); });
      if (next.Kind == TToken::End) Fail(next.Line, "'end' expected for " + node.Name);
      if (next.Kind == TToken::Ident && SameText(next.Text, "end")) {
        lex_.Next();
        return node;
      }
      if (next.Kind == TToken::Ident && (SameText(next.Text, "object") || SameText(next.Text, "inherited"))) {
        node.Children.push_back(ParseNode());
        continue;
      }
      int line = next.Line;
      node.Props.push_back(Guard([&] {
        TLayoutProp p = layout::ParseAssignment(lex_);
        p.Line = line;
        return p;
      }));
    }
  }
};

} // namespace

TLayoutNode ParseLayout(std::string_view text, std::string_view layoutName) {
  return TParser(text, layoutName).ParseRoot();
}

} // namespace qv
