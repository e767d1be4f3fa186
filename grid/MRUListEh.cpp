#include "grid/MRUListEh.h"

#include "platform/base/Text.h"
#include "platform/classes/ClassBuilder.h"

#include <algorithm>

namespace qv {

const TClassInfo &TMRUListEh::StaticClassInfo() {
  static const TClassInfo &info = DefineClass<TMRUListEh, TPersistent>("TMRUListEh", [](auto &c) {
    c.Boolean("Active", &TMRUListEh::Active, &TMRUListEh::SetActive, false);
    c.StringList("Items", [](const TMRUListEh &o) { return const_cast<TMRUListEh &>(o).Items(); });
    c.Integer("Limit", &TMRUListEh::Limit, &TMRUListEh::SetLimit, 10);
  });
  return info;
}

void TMRUListEh::SetLimit(int n) {
  limit_ = std::max(1, n);
  Trim();
}

void TMRUListEh::Trim() {
  while (items_.Count() > limit_)
    items_.Delete(items_.Count() - 1);
}

void TMRUListEh::Add(const std::string &text) {
  if (text.empty()) return;
  for (int i = items_.Count() - 1; i >= 0; --i)
    if (SameText(items_[i], text)) items_.Delete(i);
  items_.Insert(0, text);
  Trim();
}

std::vector<std::string> TMRUListEh::Matching(const std::string &prefix) const {
  std::vector<std::string> found;
  if (prefix.empty()) return found;
  for (const std::string &item : items_.Items())
    if (item.size() >= prefix.size() && SameText(std::string_view(item).substr(0, prefix.size()), prefix))
      found.push_back(item);
  return found;
}

} // namespace qv
