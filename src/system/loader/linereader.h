#pragma once
// Splits a file into lines up to a bound, read in large blocks into one reused buffer.

#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>

namespace System {
namespace Loader {

// The longest line taken, in bytes before its line feed. Real OBJ and MTL lines are far below a
// kilobyte; the bound keeps a file without line ends (a sparse or endless one) from being held
// whole in memory, and stops its reading after this many bytes.
constexpr std::size_t maxLineBytes = std::size_t(32) << 20;

class LineReader {
 public:
  // Reads up to size bytes into the buffer: the count read, 0 at the end, -1 when reading fails.
  typedef std::function<std::ptrdiff_t(char*, std::size_t)> Source;
  enum class Stop { None, End, ReadFailed, LineTooLong };

  explicit LineReader(Source source, std::size_t blockSize = 1 << 16,
                      std::size_t lineLimit = maxLineBytes);

  // The next line, NUL-terminated and without its line end (a line feed, with a carriage return
  // right before it). Null after the last line, when reading fails or at a line longer than the
  // limit; stop() then says which. The text stays valid until the next call.
  const char* next();
  Stop stop() const { return stopped; }
  // Lines handed out so far; the line that was too long is the one after them.
  std::int64_t lines() const { return lineCount; }

 private:
  // Moves the unfinished line to the front, grows the buffer when that line fills it, and reads
  // more. False when the source has nothing more or fails.
  bool refill();
  const char* stopWith(Stop why);

  Source source;
  const std::size_t lineLimit;
  std::size_t capacity;
  std::unique_ptr<char[]> buffer;
  std::size_t begin = 0;    // start of the next line
  std::size_t scanned = 0;  // where the search for the next line feed goes on
  std::size_t end = 0;      // end of the bytes read
  bool exhausted = false;
  Stop stopped = Stop::None;
  std::int64_t lineCount = 0;
};

}  // namespace Loader
}  // namespace System
