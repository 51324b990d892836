#include "system/loader/regularfile.h"

#include <sys/stat.h>

namespace System {
namespace Loader {

bool isRegularFile(const std::string& path) {
  struct stat status;
  return ::stat(path.c_str(), &status) == 0 && S_ISREG(status.st_mode);
}

}  // namespace Loader
}  // namespace System
