// The scope-exit clean-up: it runs once on every way out of a scope unless dismissed, and a
// clean-up that fails while an exception is under way does not hide that exception (nor end the
// program).
#include "platform/base/ScopeExit.h"

#include <gtest/gtest.h>

#include <stdexcept>
#include <string>

namespace qv {
namespace {

TEST(ScopeExit, RunsOnceOnReturnAndOnExceptionButNotWhenDismissed) {
  int runs = 0;
  {
    const TScopeExit undo([&] { ++runs; });
  }
  EXPECT_EQ(runs, 1);
  EXPECT_THROW(
      {
        const TScopeExit undo([&] { ++runs; });
        throw std::runtime_error("step failed");
      },
      std::runtime_error);
  EXPECT_EQ(runs, 2);
  {
    TScopeExit undo([&] { ++runs; });
    undo.Dismiss();
  }
  EXPECT_EQ(runs, 2);
}

TEST(ScopeExit, AFailingCleanUpKeepsTheFirstFailureAndFailsANormalExit) {
  std::string caught;
  try {
    const TScopeExit undo([] { throw std::runtime_error("clean-up failed"); });
    throw std::runtime_error("step failed");
  } catch (const std::runtime_error &e) {
    caught = e.what();
  }
  EXPECT_EQ(caught, "step failed");
  // With no exception under way the clean-up's failure is the scope's failure.
  caught.clear();
  try {
    const TScopeExit undo([] { throw std::runtime_error("clean-up failed"); });
  } catch (const std::runtime_error &e) {
    caught = e.what();
  }
  EXPECT_EQ(caught, "clean-up failed");
}

TEST(ScopeExit, ScopedFlagGivesTheFlagBackItsValue) {
  bool busy = false;
  {
    auto flag = ScopedFlag(busy);
    EXPECT_TRUE(busy);
    { auto again = ScopedFlag(busy); }
    EXPECT_TRUE(busy); // the inner scope gives back true, not false
  }
  EXPECT_FALSE(busy);
}

} // namespace
} // namespace qv
