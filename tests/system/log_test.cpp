#include "system/log.h"

#include <gtest/gtest.h>

#include <string>

TEST(LogTest, FileNameOfKeepsWhatFollowsTheLastSeparatorOfEitherKind) {
  const char* cases[][2] = {{"src/system/log.cpp,12: ", "log.cpp,12: "},
                            {"a\\b/c\\main.cpp,32: ", "main.cpp,32: "},
                            {"a/b\\c/kernel.cpp,7: ", "kernel.cpp,7: "},
                            {"main.cpp,1: ", "main.cpp,1: "},
                            {"src\\", ""},
                            {"", ""}};
  for (const auto& c : cases) EXPECT_EQ(c[1], System::fileNameOf(c[0])) << c[0];
  EXPECT_EQ("log_test.cpp," + std::to_string(__LINE__) + ": ", LOG_PREFIX);
}
