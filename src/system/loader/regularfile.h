#pragma once
// Opens the files the loaders read: regular files only, without ever blocking.

#include <cstddef>
#include <cstdint>
#include <string>

#include "system/loader/fileidentity.h"

namespace System {
namespace Loader {

// True when the path, after following links, is a regular file.
bool isRegularFile(const std::string& path);

// A regular file open for reading, closed with the object. The path is opened without blocking and
// the open descriptor, not the name, is checked: a FIFO swapped in after a check by name would
// block the open, and a directory, device or FIFO is refused (a device such as /dev/zero never
// ends).
class RegularFile {
 public:
  explicit RegularFile(const std::string& path);
  ~RegularFile();
  RegularFile(const RegularFile&) = delete;
  RegularFile& operator=(const RegularFile&) = delete;

  bool isOpen() const { return descriptor >= 0; }
  // Its descriptor, -1 when not open, for reading through other means (a child process that
  // decodes it): the file read is then the one checked, whatever its name names since.
  int handle() const { return descriptor; }
  // Its length when opened; what it holds may change while it is read.
  std::uint64_t size() const { return opened.size; }
  // Which file it is, whatever name it was opened by.
  const FileIdentity& identity() const { return opened; }

  // Up to size bytes: the count read, 0 at the end, -1 when reading fails or would block (a
  // regular file that has nothing to read yet, like /proc/kmsg, counts as unreadable).
  std::ptrdiff_t read(char* into, std::size_t size);

 private:
  int descriptor = -1;
  FileIdentity opened;
};

}  // namespace Loader
}  // namespace System
