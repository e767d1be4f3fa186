// TPersistent and TComponent: ownership, names, free notification, handlers by name.
#include "platform/classes/Component.h"

#include "platform/base/Text.h"
#include "platform/classes/ClassBuilder.h"

#include <algorithm>
#include <cassert>
#include <cctype>

namespace qv {

bool TextLess::operator()(std::string_view a, std::string_view b) const {
  size_t n = std::min(a.size(), b.size());
  for (size_t i = 0; i < n; ++i) {
    int ca = std::toupper(static_cast<unsigned char>(a[i])),
        cb = std::toupper(static_cast<unsigned char>(b[i]));
    if (ca != cb) return ca < cb;
  }
  return a.size() < b.size();
}

const TClassInfo &TPersistent::StaticClassInfo() {
  static const TClassInfo &info = DefineClass<TPersistent, void>("TPersistent", [](auto &) {});
  return info;
}

void TPersistent::MarkPropertySet(std::string_view name, bool set) {
  if (set)
    explicit_.emplace(name);
  else if (auto it = explicit_.find(name); it != explicit_.end())
    explicit_.erase(it);
}

const TClassInfo &TComponent::StaticClassInfo() {
  static const TClassInfo &info = DefineClass<TComponent, TPersistent>("TComponent", [](auto &c) {
    c.String("Name", &TComponent::Name, &TComponent::SetName);
    c.Integer("Tag", &TComponent::Tag, &TComponent::SetTag, 0);
  });
  return info;
}

bool IsValidIdent(std::string_view name) {
  if (name.empty()) return false;
  auto alpha = [](char c) { return std::isalpha(static_cast<unsigned char>(c)) || c == '_'; };
  if (!alpha(name[0])) return false;
  return std::all_of(name.begin(), name.end(),
                     [&](char c) { return alpha(c) || std::isdigit(static_cast<unsigned char>(c)); });
}

TComponent::TComponent(TComponent *owner) {
  if (owner) owner->InsertComponent(this);
}

TComponent::~TComponent() {
  destroying_ = true;
  // Those who asked to hear about our end clear their references first.
  while (!freeNotifies_.empty()) {
    TComponent *c = freeNotifies_.back();
    freeNotifies_.pop_back();
    auto &theirs = c->freeNotifies_;
    theirs.erase(std::remove(theirs.begin(), theirs.end(), this), theirs.end());
    c->Notification(this, TOperation::opRemove);
  }
  DestroyComponents();
  if (owner_) owner_->RemoveComponent(this);
}

void TComponent::DestroyComponents() {
  while (!components_.empty()) {
    TComponent *c = components_.back();
    RemoveComponent(c);
    delete c;
  }
}

void TComponent::SetName(const std::string &name) {
  if (name == name_) return;
  if (!name.empty() && !IsValidIdent(name))
    throw EComponentError("'" + name + "' is not a valid component name");
  if (!name.empty() && owner_) {
    TComponent *other = owner_->FindComponent(name);
    if (other && other != this) throw EComponentError("a component named " + name + " already exists");
  }
  name_ = name;
}

TComponent *TComponent::FindComponent(std::string_view name) const {
  if (name.empty()) return nullptr;
  for (TComponent *c : components_)
    if (SameText(c->name_, name)) return c;
  return nullptr;
}

int TComponent::ComponentIndex() const {
  if (!owner_) return -1;
  auto &list = owner_->components_;
  return static_cast<int>(std::find(list.begin(), list.end(), this) - list.begin());
}

void TComponent::InsertComponent(TComponent *c) {
  assert(c && c != this);
  if (c->owner_) c->owner_->RemoveComponent(c);
  if (!c->name_.empty() && FindComponent(c->name_))
    throw EComponentError("a component named " + c->name_ + " already exists");
  components_.push_back(c);
  c->owner_ = this;
  Notification(c, TOperation::opInsert);
}

void TComponent::RemoveComponent(TComponent *c) {
  auto it = std::find(components_.begin(), components_.end(), c);
  if (it == components_.end()) return;
  Notification(c, TOperation::opRemove);
  // Notification may have freed or moved entries; look again.
  it = std::find(components_.begin(), components_.end(), c);
  if (it != components_.end()) components_.erase(it);
  c->owner_ = nullptr;
}

void TComponent::FreeNotification(TComponent *c) {
  if (!c || c == this) return;
  if (std::find(freeNotifies_.begin(), freeNotifies_.end(), c) == freeNotifies_.end())
    freeNotifies_.push_back(c);
  auto &theirs = c->freeNotifies_;
  if (std::find(theirs.begin(), theirs.end(), this) == theirs.end()) theirs.push_back(this);
}

void TComponent::RemoveFreeNotification(TComponent *c) {
  if (!c) return;
  freeNotifies_.erase(std::remove(freeNotifies_.begin(), freeNotifies_.end(), c), freeNotifies_.end());
  c->freeNotifies_.erase(std::remove(c->freeNotifies_.begin(), c->freeNotifies_.end(), this),
                         c->freeNotifies_.end());
}

void TComponent::ClearReferencesTo(TComponent *c) {
  for (const TPropInfo *p : ClassInfo().AllProperties())
    if (p->Kind == TPropKind::Component && p->GetComponent(*this) == c) p->SetComponent(*this, nullptr);
}

void TComponent::Notification(TComponent *c, TOperation op) {
  if (op != TOperation::opRemove || c == this) return;
  if (!destroying_) ClearReferencesTo(c);
  // Pass it down the owner tree; copy because a component may leave the list meanwhile.
  std::vector<TComponent *> owned = components_;
  for (TComponent *o : owned)
    if (o != c && std::find(components_.begin(), components_.end(), o) != components_.end())
      o->Notification(c, op);
}

void TComponent::SetParentComponent(TComponent *parent) {
  if (parent && parent != owner_)
    throw EComponentError(ClassName() + " " + name_ + " cannot be placed inside " + parent->ClassName());
}

void TComponent::Loaded() { loading_ = false; }

const std::any *TComponent::FindHandler(std::string_view name) const {
  auto it = handlers_.find(name);
  return it == handlers_.end() ? nullptr : &it->second;
}

bool TComponent::AssignField(TComponent *c) const {
  auto it = fields_.find(c->Name());
  if (it == fields_.end()) return true;
  return it->second(c);
}

std::vector<std::string> TComponent::FieldNames() const {
  std::vector<std::string> names;
  for (auto &[n, f] : fields_)
    names.push_back(n);
  return names;
}

namespace {
std::function<TComponent *(std::string_view)> &GlobalFinder() {
  static auto *finder = new std::function<TComponent *(std::string_view)>; // outlives every component
  return *finder;
}
} // namespace

void SetGlobalComponentFinder(std::function<TComponent *(std::string_view)> finder) {
  GlobalFinder() = std::move(finder);
}

TComponent *FindGlobalComponent(std::string_view name) {
  return GlobalFinder() ? GlobalFinder()(name) : nullptr;
}

} // namespace qv
