#pragma once
// Tells whether a path names a regular file, the only kind the loaders read.

#include <string>

namespace System {
namespace Loader {

// True when the path, after following links, is a regular file. A directory,
// device, FIFO or socket is refused before it is opened: opening a FIFO blocks
// and a device such as /dev/zero never ends.
bool isRegularFile(const std::string& path);

}  // namespace Loader
}  // namespace System
