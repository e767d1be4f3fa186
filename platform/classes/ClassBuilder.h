#pragma once
// Defining a class's run-time information in its .cpp:
//
//   const TClassInfo &TButton::StaticClassInfo() {
//     static const TClassInfo &info = DefineClass<TButton, TWinControl>("TButton", [](auto &c) {
//       c.Boolean("Default", &TButton::Default, &TButton::SetDefault, false);
//       c.Event("OnClick", &TButton::OnClick);
//     });
//     return info;
//   }
//
// Getters are const member functions (or any callable on const T&), setters member functions
// taking the value. Setting through the property marks it explicitly set.
#include "platform/base/Colors.h"
#include "platform/classes/Collection.h"
#include "platform/classes/Component.h"
#include "platform/classes/Strings.h"
#include "platform/classes/Values.h"

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <type_traits>
#include <vector>

namespace qv {

// Text forms shared by the builder and the layout writer.
std::string ColorToText(TColor c);
TColor ValueToColor(const TValue &v);
std::string SetToText(uint32_t bits, const std::vector<std::string> &names);
uint32_t ValueToSet(const TValue &v, const std::vector<std::string> &names);
int ValueToEnum(const TValue &v, const std::vector<std::string> &names);
std::string BinaryToText(const std::vector<uint8_t> &bytes);

template <class T> class TClassBuilder {
public:
  explicit TClassBuilder(TClassInfo &info) : info_(info) {}

  template <class G, class S>
  TClassBuilder &Integer(std::string name, G get, S set, std::optional<int64_t> def = {}) {
    TPropInfo &p = Add(std::move(name), TPropKind::Integer);
    if (def) Default(p, std::to_string(*def));
    p.GetText = [get](const TPersistent &o) { return std::to_string(std::invoke(get, Self(o))); };
    if constexpr (!std::is_null_pointer_v<S>) {
      using Arg = std::remove_cvref_t<std::invoke_result_t<G, T &>>;
      p.SetValue = [set](TPersistent &o, const TValue &v) {
        std::invoke(set, Self(o), static_cast<Arg>(ValueToInteger(v)));
      };
    }
    return *this;
  }

  template <class G, class S>
  TClassBuilder &Boolean(std::string name, G get, S set, std::optional<bool> def = {}) {
    TPropInfo &p = Add(std::move(name), TPropKind::Boolean);
    if (def) Default(p, *def ? "True" : "False");
    p.GetText = [get](const TPersistent &o) {
      return std::string(std::invoke(get, Self(o)) ? "True" : "False");
    };
    if constexpr (!std::is_null_pointer_v<S>)
      p.SetValue = [set](TPersistent &o, const TValue &v) { std::invoke(set, Self(o), ValueToBoolean(v)); };
    return *this;
  }

  template <class G, class S>
  TClassBuilder &String(std::string name, G get, S set, std::optional<std::string> def = {}) {
    TPropInfo &p = Add(std::move(name), TPropKind::String);
    if (def) Default(p, *def);
    p.GetText = [get](const TPersistent &o) { return std::string(std::invoke(get, Self(o))); };
    if constexpr (!std::is_null_pointer_v<S>)
      p.SetValue = [set](TPersistent &o, const TValue &v) { std::invoke(set, Self(o), ValueToString(v)); };
    return *this;
  }

  template <class G, class S>
  TClassBuilder &Color(std::string name, G get, S set, std::optional<TColor> def = {}) {
    TPropInfo &p = Add(std::move(name), TPropKind::Color);
    if (def) Default(p, ColorToText(*def));
    p.GetText = [get](const TPersistent &o) { return ColorToText(std::invoke(get, Self(o))); };
    if constexpr (!std::is_null_pointer_v<S>)
      p.SetValue = [set](TPersistent &o, const TValue &v) { std::invoke(set, Self(o), ValueToColor(v)); };
    return *this;
  }

  // Enumeration: names by ordinal ("alNone", "alTop", ...); the getter returns the enum type.
  template <class G, class S>
  TClassBuilder &Enum(std::string name, G get, S set, std::vector<std::string> names,
                      std::optional<int> def = {}) {
    TPropInfo &p = Add(std::move(name), TPropKind::Enumeration);
    p.Identifiers = names;
    if (def) Default(p, names.at(*def));
    p.GetText = [get, names](const TPersistent &o) {
      auto i = static_cast<size_t>(std::invoke(get, Self(o)));
      return i < names.size() ? names[i] : std::to_string(i);
    };
    if constexpr (!std::is_null_pointer_v<S>) {
      using E = std::remove_cvref_t<std::invoke_result_t<G, T &>>;
      p.SetValue = [set, names](TPersistent &o, const TValue &v) {
        std::invoke(set, Self(o), static_cast<E>(ValueToEnum(v, names)));
      };
    }
    return *this;
  }

  // Set: bit i is member names[i]; the getter returns the bits as an unsigned integer.
  template <class G, class S>
  TClassBuilder &Set(std::string name, G get, S set, std::vector<std::string> names,
                     std::optional<uint32_t> def = {}) {
    TPropInfo &p = Add(std::move(name), TPropKind::Set);
    p.Identifiers = names;
    if (def) Default(p, SetToText(*def, names));
    p.GetText = [get, names](const TPersistent &o) {
      return SetToText(static_cast<uint32_t>(std::invoke(get, Self(o))), names);
    };
    if constexpr (!std::is_null_pointer_v<S>) {
      using B = std::remove_cvref_t<std::invoke_result_t<G, T &>>;
      p.SetValue = [set, names](TPersistent &o, const TValue &v) {
        std::invoke(set, Self(o), static_cast<B>(ValueToSet(v, names)));
      };
    }
    return *this;
  }

  // A nested persistent object (Font, Glyph): "Font.Name" reaches its properties.
  template <class G> TClassBuilder &Object(std::string name, G get) {
    TPropInfo &p = Add(std::move(name), TPropKind::Object);
    p.ObjectOf = [get](const TPersistent &o) -> TPersistent * { return std::invoke(get, Self(o)); };
    return *this;
  }

  // A string list, assigned whole: Lines = ( 'a' 'b' ).
  template <class G> TClassBuilder &StringList(std::string name, G get) {
    TPropInfo &p = Add(std::move(name), TPropKind::StringList);
    p.ObjectOf = [get](const TPersistent &o) -> TPersistent * { return std::invoke(get, Self(o)); };
    p.GetText = [get](const TPersistent &o) { return std::invoke(get, Self(o))->Text(); };
    p.SetValue = [get](TPersistent &o, const TValue &v) {
      TStrings *s = std::invoke(get, Self(o));
      if (v.Kind == TValue::List)
        s->Assign(v.Items);
      else
        s->SetText(ValueToString(v));
    };
    return *this;
  }

  // Binary data written as a hexadecimal block; the getter returns the bytes.
  template <class G, class S> TClassBuilder &Binary(std::string name, G get, S set) {
    TPropInfo &p = Add(std::move(name), TPropKind::Binary);
    p.GetText = [get](const TPersistent &o) { return BinaryToText(std::invoke(get, Self(o))); };
    p.SetValue = [set](TPersistent &o, const TValue &v) {
      if (v.Kind != TValue::Binary) throw EPropertyError("expected a binary block, found " + v.Describe());
      std::invoke(set, Self(o), v.Bytes);
    };
    return *this;
  }

  // An event member bound by handler name.
  template <class... A> TClassBuilder &Event(std::string name, TEvent<A...> T::*member) {
    TPropInfo &p = Add(std::move(name), TPropKind::Event);
    p.BindHandler = [member](TPersistent &o, const std::any &h, const std::string &handlerName) {
      const auto *fn = std::any_cast<std::function<void(A...)>>(&h);
      if (!fn) return false;
      (Self(o).*member).Bind(*fn, handlerName);
      return true;
    };
    p.GetHandlerName = [member](const TPersistent &o) { return (Self(o).*member).HandlerName(); };
    p.ClearHandler = [member](TPersistent &o) { (Self(o).*member).Clear(); };
    return *this;
  }

  // A reference to another component, resolved by name after loading and cleared when that
  // component is freed.
  template <class C, class G, class S> TClassBuilder &Reference(std::string name, G get, S set) {
    TPropInfo &p = Add(std::move(name), TPropKind::Component);
    p.GetComponent = [get](const TPersistent &o) -> TComponent * { return std::invoke(get, Self(o)); };
    p.SetComponent = [set](TPersistent &o, TComponent *c) {
      C *typed = c ? dynamic_cast<C *>(c) : nullptr;
      if (c && !typed)
        throw EPropertyError("component '" + c->Name() + "' of class " + c->ClassName() + " does not fit");
      std::invoke(set, Self(o), typed);
    };
    p.GetText = [get](const TPersistent &o) {
      TComponent *c = std::invoke(get, Self(o));
      return c ? c->Name() : std::string();
    };
    return *this;
  }

  // A collection of items: Columns = < item ... end >.
  template <class G> TClassBuilder &CollectionProp(std::string name, G get) {
    TPropInfo &p = Add(std::move(name), TPropKind::Collection);
    p.ObjectOf = [get](const TPersistent &o) -> TPersistent * { return std::invoke(get, Self(o)); };
    return *this;
  }

private:
  TClassInfo &info_;
  static T &Self(TPersistent &o) { return static_cast<T &>(o); }
  static const T &Self(const TPersistent &o) { return static_cast<const T &>(o); }
  TPropInfo &Add(std::string name, TPropKind kind) {
    info_.Properties.push_back({});
    TPropInfo &p = info_.Properties.back();
    p.Name = std::move(name);
    p.Kind = kind;
    return p;
  }
  static void Default(TPropInfo &p, std::string text) {
    p.HasDefault = true;
    p.DefaultText = std::move(text);
  }
};

// Builds (once) the class information of T with Base as parent, registers it by name and returns
// it. Components constructible from an owner get a factory so that layouts can create them.
template <class T, class Base, class F> const TClassInfo &DefineClass(const char *name, F &&build) {
  auto *info = new TClassInfo; // lives for the whole process, like the class itself
  info->Name = name;
  if constexpr (!std::is_same_v<Base, void>) info->Parent = &Base::StaticClassInfo();
  if constexpr (std::is_base_of_v<TComponent, T> && !std::is_abstract_v<T> &&
                std::is_constructible_v<T, TComponent *>)
    info->Create = [](TComponent *owner) -> TComponent * { return new T(owner); };
  TClassBuilder<T> builder(*info);
  build(builder);
  RegisterClassInfo(*info);
  return *info;
}

} // namespace qv
