#pragma once
// Runs a clean-up when the scope ends, by return or by exception, so that a half-done step is
// undone without catching and rethrowing.
#include <exception>
#include <utility>

namespace qv {

// The clean-up runs once, when the scope ends, unless Dismiss() was called. On a normal exit an
// exception from the clean-up propagates; while another exception is under way, the clean-up's
// own failure is dropped so that the first failure is the one reported (a second exception
// escaping a destructor during unwinding would end the program).
template <class F> class TScopeExit {
public:
  explicit TScopeExit(F action) : action_(std::move(action)), unwinding_(std::uncaught_exceptions()) {}
  ~TScopeExit() noexcept(false) {
    if (dismissed_) return;
    if (std::uncaught_exceptions() <= unwinding_) {
      action_();
      return;
    }
    try {
      action_();
    } catch (...) {
    }
  }
  TScopeExit(const TScopeExit &) = delete;
  TScopeExit &operator=(const TScopeExit &) = delete;

  // The step succeeded: nothing to undo.
  void Dismiss() { dismissed_ = true; }

private:
  F action_;
  int unwinding_;
  bool dismissed_ = false;
};

// Sets a flag for the rest of the scope and gives it back its value afterwards.
inline auto ScopedFlag(bool &flag) {
  bool before = flag;
  flag = true;
  return TScopeExit([&flag, before] { flag = before; });
}

} // namespace qv
