#include "system/loader/linereader.h"

#include <algorithm>
#include <cstring>
#include <utility>

namespace System {
namespace Loader {

// Room for a line of lineLimit bytes, one more byte to see that a line is longer, and a NUL.
LineReader::LineReader(Source source, std::size_t blockSize, std::size_t lineLimit)
    : source(std::move(source)),
      lineLimit(lineLimit),
      capacity(std::max<std::size_t>(2, std::min(blockSize, lineLimit + 2))),
      buffer(new char[capacity]) {}

const char* LineReader::next() {
  while (stopped == Stop::None) {
    char* const data = buffer.get();
    void* const found = scanned < end ? std::memchr(data + scanned, '\n', end - scanned) : nullptr;
    char* const lineEnd = found != nullptr ? static_cast<char*>(found) : data + end;
    if (static_cast<std::size_t>(lineEnd - (data + begin)) > lineLimit) {
      return stopWith(Stop::LineTooLong);
    }
    if (found != nullptr) {
      *lineEnd = '\0';
      if (lineEnd > data + begin && lineEnd[-1] == '\r') {
        lineEnd[-1] = '\0';
      }
      const char* const line = data + begin;
      begin = scanned = static_cast<std::size_t>(lineEnd - data) + 1;
      ++lineCount;
      return line;
    }
    scanned = end;
    if (!refill()) {
      if (stopped != Stop::None || begin == end) {
        return stopWith(stopped == Stop::None ? Stop::End : stopped);
      }
      // A last line without a line end; refill() left room for its NUL (and may have moved it).
      buffer[end] = '\0';
      const char* const line = buffer.get() + begin;
      begin = scanned = end;
      ++lineCount;
      return line;
    }
  }
  return nullptr;
}

const char* LineReader::stopWith(Stop why) {
  stopped = why;
  return nullptr;
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
  // One byte always stays free for the NUL of a last line without a line end. The line is at most
  // lineLimit bytes here, so the buffer is below its largest size when it must grow.
  if (end + 1 >= capacity) {
    const std::size_t larger = std::min(capacity * 2, lineLimit + 2);
    std::unique_ptr<char[]> grown(new char[larger]);
    std::memcpy(grown.get(), buffer.get(), end);
    buffer.swap(grown);
    capacity = larger;
  }
  const std::ptrdiff_t got = source(buffer.get() + end, capacity - 1 - end);
  if (got <= 0) {
    exhausted = true;
    stopped = got < 0 ? Stop::ReadFailed : Stop::None;
    return false;
  }
  end += static_cast<std::size_t>(got);
  return true;
}

}  // namespace Loader
}  // namespace System
