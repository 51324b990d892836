#pragma once
// For tests of what the process-wide singletons keep (the kernel's viewports and tasks, the key
// bindings), which nothing resets: such a test holds only as the one test its process runs, once.

#include <gtest/gtest.h>

namespace TestSupport {

// Fails unless the running test is the only one of its process and runs for the first time.
inline testing::AssertionResult aloneInProcess() {
  static int runs = 0;
  if (++runs == 1 && testing::UnitTest::GetInstance()->test_to_run_count() == 1 &&
      GTEST_FLAG_GET(repeat) == 1)
    return testing::AssertionSuccess();
  return testing::AssertionFailure() << "refused: this test checks state of process-wide "
                                        "singletons that earlier tests change; run it alone, once";
}

}  // namespace TestSupport
