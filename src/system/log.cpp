#include "system/log.h"

namespace System {

std::string fileNameOf(const std::string& path) {
  const std::string::size_type last = path.find_last_of("/\\");
  if (last == std::string::npos) {
    return path;
  }
  return path.substr(last + 1);
}

}  // namespace System
