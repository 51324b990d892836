#pragma once
// A Spirit primitive for the decimal reals of OBJ and MTL lines, read as double, handed on as
// float.

#include <cstdint>

#include "system/loader/lexemeparser.h"

namespace System {
namespace Loader {

// Converts mantissa × 10^exponent to the nearest float; beyond the float range it gives infinity.
float decimalToFloat(std::uint64_t mantissa, int exponent, bool negative);

// Matches an optional sign, digits with an optional point (a digit on at least one side of it) and
// an optional exponent. Unlike Spirit's own real_p, an "e" without digits ends the number instead
// of failing it, any number of digits is accepted, and no pow() call is made per number.
class RealParser : public LexemeParser<RealParser, float> {
 public:
  template <typename Iterator>
  BOOST_FORCEINLINE static bool read(Iterator& p, Iterator last, float& value) {
    const bool negative = readSign(p, last);
    std::uint64_t mantissa = 0;
    int exponent = 0;
    bool anyDigit = readDigits(p, last, false, mantissa, exponent);
    if (p != last && *p == '.') {
      ++p;
      anyDigit = readDigits(p, last, true, mantissa, exponent) || anyDigit;
    }
    if (!anyDigit) {
      return false;
    }
    readExponent(p, last, exponent);
    value = decimalToFloat(mantissa, exponent, negative);
    return true;
  }

 private:
  // Bounds that keep the sums below from overflowing; both are far beyond the float range.
  static const int exponentLimit = 100000;
  static constexpr std::uint64_t keepLimit = 100000000000000000ULL;

  // Adds the digits at p to mantissa, keeping up to 18 significant ones (a float needs far fewer):
  // integer digits beyond them raise the exponent, kept fraction digits lower it. False when no
  // digit stands at p.
  template <typename Iterator>
  static bool readDigits(Iterator& p, Iterator last, bool fraction, std::uint64_t& mantissa,
                         int& exponent) {
    const Iterator first = p;
    for (; p != last && isDigit(*p); ++p) {
      if (mantissa < keepLimit) {
        mantissa = mantissa * 10 + static_cast<unsigned>(*p - '0');
        if (fraction && exponent > -exponentLimit) {
          --exponent;
        }
      } else if (!fraction && exponent < exponentLimit) {
        ++exponent;
      }
    }
    return p != first;
  }

  // Adds an exponent part at p to exponent and moves p past it; an "e" that no digit follows is
  // left unread.
  template <typename Iterator>
  static void readExponent(Iterator& p, Iterator last, int& exponent) {
    if (p == last || (*p != 'e' && *p != 'E')) {
      return;
    }
    Iterator q = p;
    ++q;
    const bool negative = readSign(q, last);
    if (q == last || !isDigit(*q)) {
      return;
    }
    int value = 0;
    for (; q != last && isDigit(*q); ++q) {
      if (value < exponentLimit) {
        value = value * 10 + (*q - '0');
      }
    }
    exponent += negative ? -value : value;
    p = q;
  }
};

}  // namespace Loader
}  // namespace System
