#include "system/loader/linereader.h"

#include <cstring>

namespace System {
namespace Loader {

LineReader::LineReader(std::istream& stream, std::size_t blockSize)
    : stream(stream), capacity(blockSize < 2 ? 2 : blockSize), buffer(new char[capacity]) {}

const char* LineReader::next() {
  for (;;) {
    char* const data = buffer.get();
    void* const found = scanned < end ? std::memchr(data + scanned, '\n', end - scanned) : nullptr;
    if (found != nullptr) {
      char* const lineEnd = static_cast<char*>(found);
      *lineEnd = '\0';
      if (lineEnd > data + begin && lineEnd[-1] == '\r') {
        lineEnd[-1] = '\0';
      }
      const char* const line = data + begin;
      begin = scanned = static_cast<std::size_t>(lineEnd - data) + 1;
      return line;
    }
    scanned = end;
    if (!refill()) {
      if (begin == end) {
        return nullptr;
      }
      // A last line without a line end; refill() left room for its NUL (and may have moved it).
      buffer[end] = '\0';
      const char* const line = buffer.get() + begin;
      begin = scanned = end;
      return line;
    }
  }
}

bool LineReader::refill() {
  if (exhausted) {
    return false;
  }
  const std::size_t pending = end - begin;
  if (begin > 0) {
    std::memmove(buffer.get(), buffer.get() + begin, pending);
    scanned -= begin;
    begin = 0;
    end = pending;
  }
  // One byte always stays free for the NUL of a last line without a line end.
  if (end + 1 >= capacity) {
    std::unique_ptr<char[]> larger(new char[capacity * 2]);
    std::memcpy(larger.get(), buffer.get(), end);
    buffer.swap(larger);
    capacity *= 2;
  }
  // Through the stream, not its buffer: a file buffer throws on a read error (a directory, say),
  // which the stream turns into its bad state.
  stream.read(buffer.get() + end, static_cast<std::streamsize>(capacity - 1 - end));
  const std::streamsize got = stream.gcount();
  if (got <= 0) {
    exhausted = true;
    return false;
  }
  end += static_cast<std::size_t>(got);
  return true;
}

}  // namespace Loader
}  // namespace System
