#include "system/loader/linereader.h"

#include <gtest/gtest.h>

#include <boost/filesystem/fstream.hpp>
#include <boost/filesystem/operations.hpp>
#include <sstream>
#include <string>
#include <vector>

namespace {

using System::Loader::LineReader;

std::vector<std::string> linesOf(const std::string& text, std::size_t blockSize) {
  std::istringstream in(text);
  LineReader reader(in, blockSize);
  std::vector<std::string> lines;
  while (const char* line = reader.next()) lines.push_back(line);
  return lines;
}

struct Row {
  std::string text;
  std::vector<std::string> lines;
};

const std::vector<Row> rows = {
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
    for (const Row& row : rows) {
      EXPECT_EQ(row.lines, linesOf(row.text, blockSize))
          << "block " << blockSize << ", text of " << row.text.size() << " bytes";
    }
  }
}

TEST(LineReader, ReadsLinesFarLongerThanItsBlock) {
  const std::string longLine(3 << 20, 'v');
  EXPECT_EQ((std::vector<std::string>{"a", longLine, "b"}),
            linesOf("a\n" + longLine + "\nb\n", 4096));
}

TEST(LineReader, StreamThatCannotBeReadHasNoLines) {
  std::istringstream in;
  in.setstate(std::ios::failbit);
  LineReader reader(in);
  EXPECT_EQ(nullptr, reader.next());
  EXPECT_EQ(nullptr, reader.next());
}

TEST(LineReader, DirectoryOpenedAsAFileHasNoLines) {
  boost::filesystem::ifstream in(boost::filesystem::temp_directory_path());
  LineReader reader(in);
  EXPECT_EQ(nullptr, reader.next());
}

}  // namespace
