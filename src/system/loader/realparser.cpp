#include "system/loader/realparser.h"

#include <cmath>
#include <limits>

namespace System {
namespace Loader {

float decimalToFloat(std::uint64_t mantissa, int exponent, bool negative) {
  // Powers of ten that a double holds exactly: with them a product or quotient is rounded once.
  static const double exactPowers[] = {1e0,  1e1,  1e2,  1e3,  1e4,  1e5,  1e6,  1e7,
                                       1e8,  1e9,  1e10, 1e11, 1e12, 1e13, 1e14, 1e15,
                                       1e16, 1e17, 1e18, 1e19, 1e20, 1e21, 1e22};
  double value = static_cast<double>(mantissa);
  if (mantissa == 0) {
    value = 0.0;
  } else if (exponent >= 0 && exponent <= 22) {
    value *= exactPowers[exponent];
  } else if (exponent < 0 && exponent >= -22) {
    value /= exactPowers[-exponent];
  } else if (exponent > 400) {
    value = std::numeric_limits<double>::infinity();
  } else if (exponent < -400) {
    value = 0.0;
  } else {
    value *= std::pow(10.0, exponent);
  }
  // Half an ulp above the largest float: from there on a double rounds to infinity.
  float result =
      value >= 0x1.ffffffp127 ? std::numeric_limits<float>::infinity() : static_cast<float>(value);
  return negative ? -result : result;
}

}  // namespace Loader
}  // namespace System
