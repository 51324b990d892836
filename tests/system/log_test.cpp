#include "system/log.h"

#include <gtest/gtest.h>

#include <regex>

namespace {

TEST(LogTest, FileNameOfKeepsWhatFollowsTheLastSeparatorOfEitherKind) {
  const struct {
    const char *path, *name;
  } cases[] = {{"src/system/log.cpp,12: ", "log.cpp,12: "},
               {"C:\\src\\kernel.cpp,62: ", "kernel.cpp,62: "},
               {"a\\b/c\\main.cpp,32: ", "main.cpp,32: "},
               {"main.cpp,1: ", "main.cpp,1: "},
               {"src/", ""},
               {"src\\", ""},
               {"", ""}};
  for (const auto& c : cases) EXPECT_EQ(c.name, System::fileNameOf(c.path)) << c.path;
}

TEST(LogTest, PrefixNamesThisFileAndALine) {
  EXPECT_TRUE(std::regex_match(LOG_PREFIX, std::regex("log_test\\.cpp,[0-9]+: "))) << LOG_PREFIX;
}

}  // namespace
