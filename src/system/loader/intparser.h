#pragma once
// A Spirit primitive for the signed 32-bit indices of OBJ face lines.

#include <cstdint>

#include "system/loader/lexemeparser.h"

namespace System {
namespace Loader {

// Matches an optional sign and one or more decimal digits whose value fits a signed 32-bit int;
// a number outside that range does not match.
class IntParser : public LexemeParser<IntParser, int> {
 public:
  // Leaves p alone when no integer that fits stands there: the face vertex parser tries it on
  // every index, most of which may be left out.
  template <typename Iterator>
  static bool read(Iterator& p, Iterator last, int& value) {
    Iterator q = p;
    const bool negative = readSign(q, last);
    const std::int64_t limit = negative ? 2147483648LL : 2147483647LL;
    std::int64_t magnitude = 0;
    const Iterator digits = q;
    for (; q != last && isDigit(*q); ++q) {
      magnitude = magnitude * 10 + (*q - '0');
      if (magnitude > limit) {
        return false;
      }
    }
    if (q == digits) {
      return false;
    }
    value = static_cast<int>(negative ? -magnitude : magnitude);
    p = q;
    return true;
  }
};

}  // namespace Loader
}  // namespace System
