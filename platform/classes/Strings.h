#pragma once
// TStrings: a list of UTF-8 strings with change notification (memo lines, the skin's class
// lists, SQL text). Published as a string-list property: ( 'line 1' 'line 2' ).
#include "platform/classes/Component.h"

#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace qv {

class TStrings : public TPersistent {
  QV_DECLARE_CLASS(TStrings)
public:
  TStrings() = default;

  int Count() const { return static_cast<int>(items_.size()); }
  const std::string &operator[](int i) const { return items_.at(i); }
  const std::string &Strings(int i) const { return items_.at(i); }
  void Put(int i, std::string s);
  int Add(std::string s);
  void Insert(int i, std::string s);
  void Delete(int i);
  void Clear();
  // Case-insensitive; -1 when absent.
  int IndexOf(std::string_view s) const;
  const std::vector<std::string> &Items() const { return items_; }
  void Assign(const std::vector<std::string> &items);
  void Assign(const TStrings &other) { Assign(other.items_); }

  // Lines joined with CR LF after each line; SetText splits at CR LF, LF or CR.
  std::string Text() const;
  void SetText(std::string_view text);
  // "Name=Value" lines: the value after the first "=" of the first line whose name matches.
  std::string Values(std::string_view name) const;

  // Batches notifications: OnChange fires once at the outermost EndUpdate if anything changed.
  void BeginUpdate() { ++updating_; }
  void EndUpdate();

  std::function<void()> OnChange;

private:
  std::vector<std::string> items_;
  int updating_ = 0;
  bool pending_ = false;
  void Changed();
};

} // namespace qv
