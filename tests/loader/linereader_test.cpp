#include "system/loader/linereader.h"

#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

namespace {

// Small blocks put line ends, carriage returns and long lines across block borders.
TEST(LineReader, SplitsAtLineFeedsWhateverTheBlockSize) {
  const struct {
    std::string text;
    std::vector<std::string> lines;
  } rows[] = {{"one\ntwo", {"one", "two"}},
              {"\n\n", {"", ""}},
              {"a\r\nb\r\n", {"a", "b"}},
              {"a\rb\n\r", {"a\rb", "\r"}},
              {std::string("a\0b\nc\n", 6), {"a", "c"}},
              {"x\n" + std::string(1000, 'y') + "\nz", {"x", std::string(1000, 'y'), "z"}}};
  for (std::size_t blockSize : {1, 2, 3, 5, 1 << 18}) {
    for (const auto& row : rows) {
      std::istringstream in(row.text);
      System::Loader::LineReader reader(in, blockSize);
      std::vector<std::string> lines;
      while (const char* line = reader.next()) lines.push_back(line);
      EXPECT_EQ(row.lines, lines) << "block " << blockSize;
    }
  }
}

}  // namespace
