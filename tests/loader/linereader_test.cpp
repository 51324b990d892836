#include "system/loader/linereader.h"

#include "loader/loadertest.h"

// Small blocks put line ends, carriage returns and long lines across block borders.
TEST(LineReader, SplitsAtLineFeedsWhateverTheBlockSize) {
  const std::string text =
      "one\r\n\n" + std::string(1000, 'y') + "\na\rb\n\r\n" + std::string("z\0z\nlast", 8);
  const std::vector<std::string> expected = {"one", "",    std::string(1000, 'y'), "a\rb", "",
                                             "z",   "last"};
  for (std::size_t blockSize : {1, 2, 3, 5, 1 << 18}) {
    std::istringstream in(text);
    System::Loader::LineReader reader(in, blockSize);
    std::vector<std::string> lines;
    while (const char* line = reader.next()) lines.push_back(line);
    EXPECT_EQ(expected, lines) << "block " << blockSize;
  }
}
