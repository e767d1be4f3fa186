#pragma once
// TPersistent (class information, explicit-set flags) and TComponent (owner, name, tag, owned
// components freed with their owner, free notification, handlers registered by name).
#include "platform/classes/ClassInfo.h"
#include "platform/classes/Events.h"

#include <any>
#include <map>
#include <memory>
#include <set>
#include <string>
#include <string_view>
#include <vector>

namespace qv {

// A component operation failed (duplicate or invalid name, bad ownership).
class EComponentError : public Exception {
public:
  using Exception::Exception;
};
// An operation is not valid in the object's present state.
class EInvalidOperation : public Exception {
public:
  using Exception::Exception;
};

struct TextLess {
  using is_transparent = void;
  bool operator()(std::string_view a, std::string_view b) const;
};

class TPersistent {
public:
  TPersistent() = default;
  TPersistent(const TPersistent &) = delete;
  TPersistent &operator=(const TPersistent &) = delete;
  virtual ~TPersistent() = default;

  static const TClassInfo &StaticClassInfo();
  virtual const TClassInfo &ClassInfo() const { return StaticClassInfo(); }
  std::string ClassName() const { return ClassInfo().Name; }
  bool InheritsFrom(std::string_view className) const { return ClassInfo().InheritsFrom(className); }

  // Explicit-set flags: a property set by name (layout or SetPropText) is marked; classes whose
  // defaults follow something else (a parent's font, a grid's column defaults) mark their own
  // setters too. An unmarked property reads its default at the time of reading.
  bool IsPropertySet(std::string_view name) const { return explicit_.count(name) != 0; }
  void MarkPropertySet(std::string_view name, bool set = true);

private:
  std::set<std::string, TextLess> explicit_;
};

enum class TOperation { opInsert, opRemove };

class TComponent : public TPersistent {
  QV_DECLARE_CLASS(TComponent)
public:
  // Inserts the new component into owner's list (owner may be null).
  explicit TComponent(TComponent *owner);
  // Frees every owned component (last first), tells the components that asked for free
  // notification, and leaves the owner.
  ~TComponent() override;

  TComponent *Owner() const { return owner_; }
  const std::string &Name() const { return name_; }
  // Names are identifiers, unique (case-insensitive) among the owner's components; "" allowed.
  void SetName(const std::string &name);
  int Tag() const { return tag_; }
  void SetTag(int tag) { tag_ = tag; }

  int ComponentCount() const { return static_cast<int>(components_.size()); }
  TComponent *Components(int index) const { return components_.at(index); }
  // An owned component by name (case-insensitive), or nullptr.
  TComponent *FindComponent(std::string_view name) const;
  int ComponentIndex() const;

  // Ownership transfer.
  void InsertComponent(TComponent *c);
  void RemoveComponent(TComponent *c);
  // Frees every owned component now, last first. Derived destructors call it first so that the
  // owned components go while the derived state they may reach still exists.
  void DestroyComponents();

  // Asks for Notification(c, opRemove) when c is freed, across owners. Mutual; cleared on free.
  void FreeNotification(TComponent *c);
  void RemoveFreeNotification(TComponent *c);

  // Called for components inserted into or removed from the owner tree and for free
  // notifications. The base clears published component references to a removed component and
  // passes the notification on to the owned components.
  virtual void Notification(TComponent *c, TOperation op);

  // Layout support: the component that encloses this one in the layout (a control's parent, a
  // menu item's menu). The base accepts only none.
  virtual void SetParentComponent(TComponent *parent);
  virtual TComponent *GetParentComponent() const { return nullptr; }
  // Called once the whole layout is loaded and every reference resolved.
  virtual void Loaded();

  bool Loading() const { return loading_; }
  bool Destroying() const { return destroying_; }
  void SetLoading(bool on) { loading_ = on; }

  // Handlers by name for layout event bindings: RegisterHandler("BitBtn1Click", this,
  // &Tfmlogin::BitBtn1Click). A later registration of the same name replaces the earlier one.
  template <class C, class... A> void RegisterHandler(const std::string &name, C *obj, void (C::*m)(A...)) {
    handlers_[name] = std::function<void(A...)>([obj, m](A... a) { (obj->*m)(std::forward<A>(a)...); });
  }
  template <class... A> void RegisterHandler(const std::string &name, std::function<void(A...)> fn) {
    handlers_[name] = std::move(fn);
  }
  // The handler registered under name (a std::function inside), or nullptr.
  const std::any *FindHandler(std::string_view name) const;

  // Fields bound by component name when a layout is loaded into this root:
  // BindField("Edit1", Edit1) makes the loader store the created TEdit there (type checked).
  template <class T> void BindField(const std::string &name, T *&field) {
    fields_[name] = [&field](TComponent *c) {
      field = dynamic_cast<T *>(c);
      return field != nullptr;
    };
  }
  // Used by the loader: stores c in the field registered under its name; false on a type
  // mismatch, true when no field is registered or it was stored.
  bool AssignField(TComponent *c) const;
  // Names of registered fields the loader has not filled.
  std::vector<std::string> FieldNames() const;

private:
  TComponent *owner_ = nullptr;
  std::string name_;
  int tag_ = 0;
  bool loading_ = false;
  bool destroying_ = false;
  std::vector<TComponent *> components_;
  std::vector<TComponent *> freeNotifies_;
  std::map<std::string, std::any, TextLess> handlers_;
  std::map<std::string, std::function<bool(TComponent *)>, TextLess> fields_;

  void ClearReferencesTo(TComponent *c);
};

// Checks that name is a valid identifier (letter or '_' first, then letters, digits, '_').
bool IsValidIdent(std::string_view name);

// Finds a top-level component (a form or data module) by name for cross-root references such as
// "fmDM.localDS". The application installs the finder; without one nothing is found.
void SetGlobalComponentFinder(std::function<TComponent *(std::string_view)> finder);
TComponent *FindGlobalComponent(std::string_view name);

} // namespace qv
