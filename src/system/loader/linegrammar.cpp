#include "system/loader/linegrammar.h"

#include <cstring>

namespace System {
namespace Loader {

bool LineGrammar::parse(const char* line) const {
  const char* first = line;
  const char* const last = line + std::strlen(line);
  LineScanner scan(first, last);
  if (!grammar.parse(scan)) {
    return false;
  }
  scan.skip(scan);
  return first == last;
}

}  // namespace Loader
}  // namespace System
