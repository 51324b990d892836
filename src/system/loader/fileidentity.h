#pragma once
// Tells the paths that name one file apart from those that name others.

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>

struct stat;

namespace System {
namespace Loader {

// A file's device and inode, with its size and time of last change so that a file replaced or
// rewritten since (whose inode may be reused) is not taken for the one seen before.
struct FileIdentity {
  std::uint64_t device = 0, inode = 0, size = 0;
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
