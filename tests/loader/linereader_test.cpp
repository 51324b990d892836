#include "system/loader/linereader.h"

#include <algorithm>

#include "loader/loadertest.h"

namespace {

using System::Loader::LineReader;

// Hands out the text in pieces as asked; at a "!" the read fails.
LineReader::Source sourceOf(const std::string& text) {
  auto at = std::make_shared<std::size_t>(0);
  return [text, at](char* into, std::size_t size) -> std::ptrdiff_t {
    if (text.compare(*at, 1, "!") == 0) return -1;
    const std::size_t n = text.copy(into, std::min(size, text.find('!', *at) - *at), *at);
    *at += n;
    return static_cast<std::ptrdiff_t>(n);
  };
}

const std::string text =
    "one\r\n\n" + std::string(1000, 'y') + "\na\rb\n\r\n" + std::string("z\0z\nlast", 8);

// Lines joined by "|", then why reading stopped (1 end, 2 failed read, 3 line too long).
const struct {
  std::string text;
  std::size_t limit;
  std::string lines;
} cases[] = {
    {text, 1000, "one||" + std::string(1000, 'y') + "|a\rb||z|last|1"},
    {text, 999, "one||3"},
    {"abc\r\nabcd\nx", 4, "abc|abcd|x|1"},
    {"ab\nabcd", 3, "ab|3"},
    {"ab\n!cd\n", 3, "ab|2"},
};

// Small blocks put line ends, carriage returns and long lines across block borders.
TEST(LineReader, SplitsAtLineFeedsAndStopsAtAFailedReadOrALineLongerThanTheLimit) {
  for (const auto& c : cases) {
    for (std::size_t blockSize : {1, 2, 3, 5, 1 << 18}) {
      LineReader reader(sourceOf(c.text), blockSize, c.limit);
      std::string lines;
      while (const char* line = reader.next()) lines += line + std::string("|");
      lines += std::to_string(int(reader.stop()));
      EXPECT_EQ(c.lines, lines) << c.text.substr(0, 10) << " block " << blockSize;
      EXPECT_EQ(std::count(lines.begin(), lines.end(), '|'), reader.lines());
      EXPECT_EQ(nullptr, reader.next());
    }
  }
}

// A file without line ends is read no further than one byte past the limit.
TEST(LineReader, ReadsAnEndlessLineOnlyUpToTheLimit) {
  std::size_t read = 0;
  LineReader reader(
      [&read](char* into, std::size_t size) {
        std::fill(into, into + size, 'z');
        read += size;
        return static_cast<std::ptrdiff_t>(size);
      },
      7, 1000);
  EXPECT_EQ(nullptr, reader.next());
  EXPECT_EQ(LineReader::Stop::LineTooLong, reader.stop());
  EXPECT_EQ(1001u, read);
}

}  // namespace
