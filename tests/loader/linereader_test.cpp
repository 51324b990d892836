#include "system/loader/linereader.h"

#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

namespace {

const struct {
  std::string text;
  std::vector<std::string> lines;
} rows[] = {
    {"", {}},
    {"one", {"one"}},
    {"one\n", {"one"}},
    {"one\ntwo", {"one", "two"}},
    {"\n\n", {"", ""}},
    {"a\r\nb\r\n", {"a", "b"}},
    {"a\rb\n\r", {"a\rb", "\r"}},
    {std::string("a\0b\nc\n", 6), {"a", "c"}},
    {"x\n" + std::string(1000, 'y') + "\nz", {"x", std::string(1000, 'y'), "z"}},
};

// Small blocks put line ends, carriage returns and long lines across block borders.
TEST(LineReader, SplitsAtLineFeedsWhateverTheBlockSize) {
  for (std::size_t blockSize : {1, 2, 3, 5, 16, 1 << 18}) {
    for (const auto& row : rows) {
      std::istringstream in(row.text);
      System::Loader::LineReader reader(in, blockSize);
      std::vector<std::string> lines;
      while (const char* line = reader.next()) lines.push_back(line);
      EXPECT_EQ(row.lines, lines) << "block " << blockSize << ", text of " << row.text.size()
                                  << " bytes";
    }
  }
}

}  // namespace
