#include "system/loader/realparser.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>
#include <vector>

namespace {

using System::Loader::RealParser;

struct Row {
  std::string text;
  bool matches;
  float value;
  std::size_t length;
};

const float inf = std::numeric_limits<float>::infinity();

const std::vector<Row> rows = {
    {"-.5", true, -0.5f, 3},
    {"3.", true, 3.0f, 2},
    {"1e2", true, 100.0f, 3},
    {"1E-2", true, 0.01f, 4},
    {"2.5e+1x", true, 25.0f, 6},
    {"7e", true, 7.0f, 1},
    {"7.e-", true, 7.0f, 2},
    {"123456789012345678901234567890", true, 1.2345679e29f, 30},
    {"0.000000000000000000000000000000000000001", true, 1e-39f, 41},
    {"1e39", true, inf, 4},
    {"-1e400", true, -inf, 6},
    {"1e-400", true, 0.0f, 6},
    {"1e999999999999", true, inf, 14},
    {".", false, 0.0f, 0},
    {"+.e1", false, 0.0f, 0},
    {"e1", false, 0.0f, 0},
    {"inf", false, 0.0f, 0},
};

TEST(RealParser, ReadsDecimalRealsAndLeavesWhatIsNotPartOfThem) {
  for (const Row& row : rows) {
    float value = 0.0f;
    const char* first = row.text.c_str();
    const auto info = boost::spirit::classic::parse(
        first, first + row.text.size(), RealParser()[boost::spirit::classic::assign_a(value)]);
    EXPECT_EQ(row.matches, info.hit) << row.text;
    if (row.matches && info.hit) {
      EXPECT_EQ(row.length, info.length) << row.text;
      EXPECT_FLOAT_EQ(row.value, value) << row.text;
    }
  }
}

TEST(RealParser, LargestFloatRoundsDownAndNegativeZeroKeepsItsSign) {
  EXPECT_EQ(3.4028235e38f, System::Loader::decimalToFloat(34028235, 31, false));
  EXPECT_TRUE(std::signbit(System::Loader::decimalToFloat(0, 5, true)));
}

}  // namespace
