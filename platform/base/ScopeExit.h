#pragma once
// Runs a clean-up when the scope ends, by return or by exception, so that a half-done step is
// undone without catching and rethrowing. The clean-up must not throw.
#include <utility>

namespace qv {

template <class F> class TScopeExit {
public:
  explicit TScopeExit(F action) : action_(std::move(action)) {}
  ~TScopeExit() { action_(); }
  TScopeExit(const TScopeExit &) = delete;
  TScopeExit &operator=(const TScopeExit &) = delete;

private:
  F action_;
};

// Sets a flag for the rest of the scope and gives it back its value afterwards.
inline auto ScopedFlag(bool &flag) {
  bool before = flag;
  flag = true;
  return TScopeExit([&flag, before] { flag = before; });
}

} // namespace qv
