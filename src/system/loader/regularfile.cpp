#include "system/loader/regularfile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

namespace System {
namespace Loader {

bool isRegularFile(const std::string& path) {
  struct stat status;
  return ::stat(path.c_str(), &status) == 0 && S_ISREG(status.st_mode);
}

RegularFile::RegularFile(const std::string& path) {
  const int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
  struct stat status;
  if (fd < 0) {
    return;
  }
  if (::fstat(fd, &status) != 0 || !S_ISREG(status.st_mode)) {
    ::close(fd);
    return;
  }
  descriptor = fd;
  opened = identityFrom(status);
}

RegularFile::~RegularFile() {
  if (descriptor >= 0) {
    ::close(descriptor);
  }
}

std::ptrdiff_t RegularFile::read(char* into, std::size_t size) {
  if (descriptor < 0) {
    return -1;
  }
  for (;;) {
    const ssize_t got = ::read(descriptor, into, size);
    if (got >= 0 || errno != EINTR) {
      return got < 0 ? -1 : static_cast<std::ptrdiff_t>(got);
    }
  }
}

}  // namespace Loader
}  // namespace System
