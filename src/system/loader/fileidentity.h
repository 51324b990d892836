#pragma once
// Tells the paths that name one file apart from those that name others.

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>

struct stat;

namespace System {
namespace Loader {

// A file's device and inode, with its size, its modification time and its status-change time
// (ctime), so that a file replaced or rewritten since (whose inode may be reused) is not taken for
// the one seen before. The modification time can be set back after a write, size kept; the
// change time cannot, as every write and every setting of the other times moves it.
struct FileIdentity {
  std::uint64_t device = 0, inode = 0, size = 0;
  std::int64_t modifiedSeconds = 0, modifiedNanoseconds = 0;
  std::int64_t changedSeconds = 0, changedNanoseconds = 0;

  bool operator==(const FileIdentity& other) const;
};

std::size_t hash_value(const FileIdentity& identity);

// The identity of the file a stat record describes.
FileIdentity identityFrom(const struct stat& status);

// The identity of the regular file a path names, links followed; none for anything else.
std::optional<FileIdentity> identityOf(const std::string& path);

}  // namespace Loader
}  // namespace System
