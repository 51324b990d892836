#include "system/loader/keyedhash.h"

#include <sys/random.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>

namespace System {
namespace Loader {

HashKey randomHashKey() {
  HashKey key = {0, 0};
  ssize_t got;
  do {
    got = getrandom(&key, sizeof key, 0);
  } while (got < 0 && errno == EINTR);
  if (got != ssize_t(sizeof key)) {
    // A kernel without getrandom: the clock, the process and where the stack lies still differ
    // from run to run, which a file cannot foresee either.
    key.low ^= std::uint64_t(std::chrono::steady_clock::now().time_since_epoch().count());
    key.high ^=
        std::uint64_t(reinterpret_cast<std::uintptr_t>(&key)) * 31 + std::uint64_t(getpid());
  }
  return key;
}

}  // namespace Loader
}  // namespace System
