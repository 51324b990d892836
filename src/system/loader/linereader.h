#pragma once
// Splits a stream into lines of any length, read in large blocks into one reused buffer.

#include <cstddef>
#include <istream>
#include <memory>

namespace System {
namespace Loader {

class LineReader {
 public:
  explicit LineReader(std::istream& stream, std::size_t blockSize = 1 << 16);

  // The next line, NUL-terminated and without its line end (a line feed, with a carriage return
  // right before it). Null after the last line. The text stays valid until the next call.
  const char* next();

 private:
  // Moves the unfinished line to the front, grows the buffer when that line fills it, and reads
  // more. False when the stream has nothing more.
  bool refill();

  std::istream& stream;
  std::size_t capacity;
  std::unique_ptr<char[]> buffer;
  std::size_t begin = 0;    // start of the next line
  std::size_t scanned = 0;  // where the search for the next line feed goes on
  std::size_t end = 0;      // end of the bytes read
  bool exhausted = false;
};

}  // namespace Loader
}  // namespace System
