#include "system/loader/intparser.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using System::Loader::IntParser;

struct Row {
  std::string text;
  bool matches;
  int value;
  std::size_t length;
};

const std::vector<Row> rows = {
    {"0", true, 0, 1},
    {"42/", true, 42, 2},
    {"+7", true, 7, 2},
    {"-12", true, -12, 3},
    {"007", true, 7, 3},
    {"2147483647", true, 2147483647, 10},
    {"-2147483648", true, -2147483647 - 1, 11},
    {"2147483648", false, 0, 0},
    {"-2147483649", false, 0, 0},
    {"99999999999999999999", false, 0, 0},
    {"-", false, 0, 0},
    {"+/", false, 0, 0},
    {"/1", false, 0, 0},
    {"", false, 0, 0},
};

TEST(IntParser, ReadsSigned32BitIntegersOnly) {
  for (const Row& row : rows) {
    int value = 0;
    const char* first = row.text.c_str();
    const auto info = boost::spirit::classic::parse(
        first, first + row.text.size(), IntParser()[boost::spirit::classic::assign_a(value)]);
    EXPECT_EQ(row.matches, info.hit) << row.text;
    if (row.matches && info.hit) {
      EXPECT_EQ(row.value, value) << row.text;
      EXPECT_EQ(row.length, info.length) << row.text;
    }
  }
}

}  // namespace
