// Class registry and class information look-ups.
#include "platform/classes/ClassInfo.h"

#include "platform/base/Text.h"

#include <map>

namespace qv {

namespace {
std::map<std::string, const TClassInfo *> &Registry() {
  // Never freed: components freed by other statics at exit still look their classes up.
  static auto *registry = new std::map<std::string, const TClassInfo *>; // key: upper-case name
  return *registry;
}
} // namespace

const TPropInfo *TClassInfo::FindProperty(std::string_view name) const {
  for (const TClassInfo *c = this; c; c = c->Parent)
    for (const TPropInfo &p : c->Properties)
      if (SameText(p.Name, name)) return &p;
  return nullptr;
}

bool TClassInfo::InheritsFrom(std::string_view className) const {
  for (const TClassInfo *c = this; c; c = c->Parent)
    if (SameText(c->Name, className)) return true;
  return false;
}

std::vector<const TPropInfo *> TClassInfo::AllProperties() const {
  std::vector<const TClassInfo *> chain;
  for (const TClassInfo *c = this; c; c = c->Parent)
    chain.insert(chain.begin(), c);
  std::vector<const TPropInfo *> all;
  for (const TClassInfo *c : chain)
    for (const TPropInfo &p : c->Properties)
      all.push_back(&p);
  return all;
}

void RegisterClassInfo(const TClassInfo &info) { Registry().emplace(UpperCase(info.Name), &info); }

const TClassInfo *FindClassInfo(std::string_view name) {
  auto it = Registry().find(UpperCase(name));
  return it == Registry().end() ? nullptr : it->second;
}

const TClassInfo &ClassInfoByName(std::string_view name) {
  const TClassInfo *info = FindClassInfo(name);
  if (!info) throw EClassNotFound("class " + std::string(name) + " not found");
  return *info;
}

} // namespace qv
