#pragma once
// Published properties by name, as text. Names may be dotted to reach nested objects
// ("Font.Name", "Title.Caption"). Reading an unset property yields its current value, which for
// a property with a default is that default. Setting marks the property explicitly set.
#include "platform/classes/Component.h"
#include "platform/classes/Values.h"

#include <string>
#include <string_view>

namespace qv {

// True when obj publishes the (possibly dotted) property.
bool HasProperty(const TPersistent &obj, std::string_view path);
// The property's text: numbers in decimal, booleans "True"/"False", enumerations and sets by
// member names, colours by name or number, component references by name, events by handler name,
// string lists as CR LF joined text. Throws EPropertyError for an unknown property.
std::string GetPropText(const TPersistent &obj, std::string_view path);
// Parses text as a layout value and sets the property (see Values.h for the forms). Throws
// EPropertyError for an unknown or read-only property or a value that does not fit.
void SetPropText(TPersistent &obj, std::string_view path, std::string_view text);
// Sets from an already parsed value (the layout loader's path). Component references and events
// are not handled here.
void SetPropValue(TPersistent &obj, std::string_view path, const TValue &value);
// The nested object behind an Object, StringList or Collection property, or nullptr.
TPersistent *GetObjectProp(const TPersistent &obj, std::string_view path);
// The component a reference property points to, or nullptr.
TComponent *GetComponentProp(const TPersistent &obj, std::string_view path);
void SetComponentProp(TPersistent &obj, std::string_view path, TComponent *c);

// Resolves a dotted path to the object holding the last part and that part's property; throws
// EPropertyError naming the missing part.
struct TPropTarget {
  TPersistent *Object;
  const TPropInfo *Prop;
};
TPropTarget ResolveProperty(const TPersistent &obj, std::string_view path);

} // namespace qv
