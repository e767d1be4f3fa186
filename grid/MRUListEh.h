#pragma once
// A column's list of recently used texts (MRUList): while Active, each text the column's update
// step writes from the editor is recorded, newest first, at most Limit of them; typing in the
// editor then offers the recorded texts that begin with what was typed.
#include "platform/classes/Strings.h"

#include <string>
#include <vector>

namespace qv {

class TMRUListEh : public TPersistent {
  QV_DECLARE_CLASS(TMRUListEh)
public:
  bool Active() const { return active_; }
  void SetActive(bool on) { active_ = on; }
  // The recorded texts, newest first.
  TStrings *Items() { return &items_; }
  const TStrings *Items() const { return &items_; }
  // At least 1; lowering it drops the oldest texts.
  int Limit() const { return limit_; }
  void SetLimit(int n);
  // Records text as the newest: an equal text (letter case ignored) moves up instead of being
  // kept twice, and the oldest beyond Limit drop out. Empty texts are not recorded.
  void Add(const std::string &text);
  // The recorded texts that begin with prefix (letter case ignored), newest first; none for an
  // empty prefix.
  std::vector<std::string> Matching(const std::string &prefix) const;

private:
  bool active_ = false;
  TStrings items_;
  int limit_ = 10;
  void Trim();
};

} // namespace qv
