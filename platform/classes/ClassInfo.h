#pragma once
// Run-time class information: every persistent class reports its class name, answers
// "inherits from" by name, and publishes properties that can be read and written by name as
// text. The layout loader, the skin engine and the grid reach components only through this.
//
// A class declares itself with QV_DECLARE_CLASS in its body and defines its information in its
// .cpp with DefineClass<T, Base>("TName", builder). Classes that layouts create by name must be
// registered before loading (RegisterClasses<...>(), done for the standard classes by
// RegisterStandardClasses()).
#include "platform/base/Exception.h"

#include <any>
#include <cstdint>
#include <functional>
#include <initializer_list>
#include <string>
#include <string_view>
#include <vector>

namespace qv {

class TPersistent;
class TComponent;
struct TValue;

// A reading or writing of a property by name failed (unknown property, bad value).
class EPropertyError : public Exception {
public:
  using Exception::Exception;
};
// A class name is not registered.
class EClassNotFound : public Exception {
public:
  using Exception::Exception;
};

enum class TPropKind {
  Integer,
  Boolean,
  String,
  Enumeration,
  Set,
  Color,
  Object,
  StringList,
  Binary,
  Event,
  Component,
  Collection
};

// One published property. Accessors are filled in by TClassBuilder; unused ones stay empty.
struct TPropInfo {
  std::string Name;
  TPropKind Kind = TPropKind::Integer;
  bool HasDefault = false;
  std::string DefaultText;              // text form of the default (when HasDefault)
  std::vector<std::string> Identifiers; // enumeration members or set members, by ordinal
  std::function<std::string(const TPersistent &)> GetText;
  std::function<void(TPersistent &, const TValue &)> SetValue;
  std::function<TPersistent *(const TPersistent &)> ObjectOf;                            // Object, Collection
  std::function<TComponent *(const TPersistent &)> GetComponent;                         // Component
  std::function<void(TPersistent &, TComponent *)> SetComponent;                         // Component
  std::function<bool(TPersistent &, const std::any &, const std::string &)> BindHandler; // Event
  std::function<std::string(const TPersistent &)> GetHandlerName;                        // Event
  std::function<void(TPersistent &)> ClearHandler;                                       // Event
};

struct TClassInfo {
  std::string Name;
  const TClassInfo *Parent = nullptr;
  std::function<TComponent *(TComponent *owner)> Create; // empty for abstract or non-component classes
  std::vector<TPropInfo> Properties;                     // own properties (parents' not repeated)

  // Case-insensitive look-up through the class and its ancestors; nullptr when absent.
  const TPropInfo *FindProperty(std::string_view name) const;
  // True when this class or an ancestor has the given name (case-insensitive).
  bool InheritsFrom(std::string_view className) const;
  // Every published property, ancestors' first.
  std::vector<const TPropInfo *> AllProperties() const;
};

// Class registry by name (case-insensitive). Registering a name twice keeps the first entry.
void RegisterClassInfo(const TClassInfo &info);
const TClassInfo *FindClassInfo(std::string_view name);
// As FindClassInfo, but throws EClassNotFound naming the class.
const TClassInfo &ClassInfoByName(std::string_view name);

template <class... T> void RegisterClasses() { (RegisterClassInfo(T::StaticClassInfo()), ...); }

#define QV_DECLARE_CLASS(Cls)                                                                                \
public:                                                                                                      \
  static const ::qv::TClassInfo &StaticClassInfo();                                                          \
  const ::qv::TClassInfo &ClassInfo() const override { return Cls::StaticClassInfo(); }                      \
                                                                                                             \
private:

} // namespace qv
