#include "system/standardstreams.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>

namespace System {

void openClosedStandardStreams() {
  // In ascending order: open takes the lowest free descriptor, which is then the closed one.
  for (int descriptor = STDIN_FILENO; descriptor <= STDERR_FILENO; ++descriptor) {
    if (fcntl(descriptor, F_GETFD) == -1 && errno == EBADF) {
      open("/dev/null", descriptor == STDIN_FILENO ? O_RDONLY : O_WRONLY);
    }
  }
}

}  // namespace System
