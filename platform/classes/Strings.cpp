// TStrings: the string list with change notification.
#include "platform/classes/Strings.h"

#include "platform/base/Text.h"
#include "platform/classes/ClassBuilder.h"

namespace qv {

const TClassInfo &TStrings::StaticClassInfo() {
  static const TClassInfo &info = DefineClass<TStrings, TPersistent>("TStrings", [](auto &c) {
    c.StringList("Strings", [](const TStrings &s) { return const_cast<TStrings *>(&s); });
  });
  return info;
}

void TStrings::Changed() {
  if (updating_ > 0) {
    pending_ = true;
    return;
  }
  if (OnChange) OnChange();
}

void TStrings::EndUpdate() {
  if (updating_ > 0 && --updating_ == 0 && pending_) {
    pending_ = false;
    if (OnChange) OnChange();
  }
}

void TStrings::Put(int i, std::string s) {
  items_.at(i) = std::move(s);
  Changed();
}

int TStrings::Add(std::string s) {
  items_.push_back(std::move(s));
  Changed();
  return Count() - 1;
}

void TStrings::Insert(int i, std::string s) {
  if (i < 0 || i > Count()) throw EPropertyError("list index out of bounds (" + std::to_string(i) + ")");
  items_.insert(items_.begin() + i, std::move(s));
  Changed();
}

void TStrings::Delete(int i) {
  if (i < 0 || i >= Count()) throw EPropertyError("list index out of bounds (" + std::to_string(i) + ")");
  items_.erase(items_.begin() + i);
  Changed();
}

void TStrings::Clear() {
  if (items_.empty()) return;
  items_.clear();
  Changed();
}

int TStrings::IndexOf(std::string_view s) const {
  for (int i = 0; i < Count(); ++i)
    if (SameText(items_[i], s)) return i;
  return -1;
}

void TStrings::Assign(const std::vector<std::string> &items) {
  items_ = items;
  Changed();
}

std::string TStrings::Text() const {
  std::string text;
  for (const std::string &s : items_)
    text += s + "\r\n";
  return text;
}

void TStrings::SetText(std::string_view text) {
  std::vector<std::string> lines;
  size_t start = 0;
  for (size_t i = 0; i < text.size(); ++i) {
    if (text[i] != '\r' && text[i] != '\n') continue;
    lines.emplace_back(text.substr(start, i - start));
    if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n') ++i;
    start = i + 1;
  }
  if (start < text.size()) lines.emplace_back(text.substr(start));
  Assign(lines);
}

std::string TStrings::Values(std::string_view name) const {
  for (const std::string &s : items_) {
    size_t eq = s.find('=');
    if (eq != std::string::npos && SameText(std::string_view(s).substr(0, eq), name)) return s.substr(eq + 1);
  }
  return {};
}

} // namespace qv
