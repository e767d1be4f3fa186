#pragma once
// Layout text: the components of a window or data module, their properties and event bindings.
//
//   object fmlogin: Tfmlogin
//     Caption = '登录'            strings in single quotes, '' for a quote, #13 for a code
//     ClientWidth = 567           numbers ($1F hexadecimal), identifiers (True, clWhite, alTop)
//     Font.Style = [fsBold]       dotted names reach nested objects; sets in brackets
//     Lines.Strings = ( 'a' 'b' ) string lists
//     Picture.Data = { 424D... }  hexadecimal binary blocks
//     Columns = < item FieldName = 'sNo' end >   collections
//     OnShow = FormShow           events name a handler the root registered
//     object Edit1: TEdit         nested components; a control's parent is the enclosing one
//       ...
//     end
//   end
//
// Lines starting with // are comments. Errors name the layout, the line and the offending name.
#include "platform/classes/Component.h"
#include "platform/classes/Values.h"

#include <string>
#include <string_view>
#include <vector>

namespace qv {

class ELayoutError : public Exception {
public:
  using Exception::Exception;
};

struct TLayoutNode {
  std::string Name;
  std::string ClassName;
  int Line = 0;
  std::vector<TLayoutProp> Props;
  std::vector<TLayoutNode> Children;
};

// Parses layout text; throws ELayoutError "layout NAME, line N: ..." on malformed text.
TLayoutNode ParseLayout(std::string_view text, std::string_view layoutName);

// Loads a parsed or textual layout into root: the root node's class must be root's class (or
// one it inherits from); children are created by class name, owned by root, given their
// enclosing component as parent; properties set; events bound to root's handlers; references
// resolved by name (in root, then "Other.Name" through FindGlobalComponent); root's bound fields
// filled; then Loaded() runs on every created component and on root. Throws ELayoutError naming
// the layout, the line and the unknown class, property, value, handler or component.
void LoadLayout(TComponent &root, const TLayoutNode &layout, std::string_view layoutName);
void LoadLayout(TComponent &root, std::string_view text, std::string_view layoutName);

// Writes root and its owned components as layout text: properties that were set explicitly or
// differ from their defaults, events by handler name, references by name.
std::string WriteLayout(const TComponent &root);

} // namespace qv
