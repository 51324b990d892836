#include <gtest/gtest.h>

#include "system/log.h"

namespace {

TEST(FileNameOf, KeepsTextAfterLastSeparatorOfEitherKind) {
  EXPECT_EQ(System::fileNameOf("src/system/log.cpp,12: "), "log.cpp,12: ");
  EXPECT_EQ(System::fileNameOf("C:\\src\\kernel.cpp,62: "), "kernel.cpp,62: ");
  EXPECT_EQ(System::fileNameOf("a\\b/c\\main.cpp,32: "), "main.cpp,32: ");
}

TEST(FileNameOf, PathWithoutSeparatorIsKeptWhole) {
  EXPECT_EQ(System::fileNameOf("main.cpp,1: "), "main.cpp,1: ");
  EXPECT_EQ(System::fileNameOf(""), "");
}

TEST(FileNameOf, TrailingSeparatorGivesEmptyName) {
  EXPECT_EQ(System::fileNameOf("src/"), "");
  EXPECT_EQ(System::fileNameOf("src\\"), "");
}

TEST(LogPrefix, NamesThisFileAndALineNumber) {
  const std::string prefix = LOG_PREFIX;
  EXPECT_EQ(prefix.rfind("log_test.cpp,", 0), 0u) << prefix;
  EXPECT_EQ(prefix.substr(prefix.size() - 2), ": ");
  const std::string number = prefix.substr(13, prefix.size() - 15);
  EXPECT_FALSE(number.empty());
  EXPECT_EQ(number.find_first_not_of("0123456789"), std::string::npos) << number;
}

}  // namespace
