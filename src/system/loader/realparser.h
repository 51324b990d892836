#pragma once
// A Spirit primitive for the decimal reals of OBJ and MTL lines, read as double, handed on as
// float.

#include <boost/spirit/include/classic_core.hpp>
#include <cmath>
#include <cstdint>
#include <iterator>

namespace System {
namespace Loader {

// Converts mantissa × 10^exponent to the nearest float; beyond the float range it gives infinity.
float decimalToFloat(std::uint64_t mantissa, int exponent, bool negative);

// Matches an optional sign, digits with an optional point (a digit on at least one side of it) and
// an optional exponent. Unlike Spirit's own real_p, an "e" without digits ends the number instead
// of failing it, any number of digits is accepted, and no pow() call is made per number.
class RealParser : public boost::spirit::classic::parser<RealParser> {
 public:
  typedef RealParser self_t;

  template <typename ScannerT>
  struct result {
    typedef typename boost::spirit::classic::match_result<ScannerT, float>::type type;
  };

  template <typename ScannerT>
  typename boost::spirit::classic::parser_result<self_t, ScannerT>::type parse(
      const ScannerT& scan) const {
    typedef typename boost::spirit::classic::parser_result<self_t, ScannerT>::type result_t;
    return boost::spirit::classic::impl::implicit_lexeme_parse<result_t>(*this, scan, scan);
  }

  template <typename ScannerT>
  typename boost::spirit::classic::parser_result<self_t, ScannerT>::type parse_main(
      const ScannerT& scan) const {
    typedef typename ScannerT::iterator_t Iterator;
    const Iterator save = scan.first;
    Iterator p = scan.first;
    const Iterator last = scan.last;
    bool negative = false;
    if (p != last && (*p == '+' || *p == '-')) {
      negative = *p == '-';
      ++p;
    }
    // Up to 18 significant digits are kept; a float needs far fewer.
    const std::uint64_t keepLimit = 100000000000000000ULL;
    std::uint64_t mantissa = 0;
    int exponent = 0;
    bool anyDigit = false;
    for (; p != last && isDigit(*p); ++p) {
      anyDigit = true;
      if (mantissa < keepLimit) {
        mantissa = mantissa * 10 + static_cast<unsigned>(*p - '0');
      } else if (exponent < exponentLimit) {
        ++exponent;
      }
    }
    if (p != last && *p == '.') {
      ++p;
      for (; p != last && isDigit(*p); ++p) {
        anyDigit = true;
        if (mantissa < keepLimit) {
          mantissa = mantissa * 10 + static_cast<unsigned>(*p - '0');
          if (exponent > -exponentLimit) {
            --exponent;
          }
        }
      }
    }
    if (!anyDigit) {
      return scan.no_match();
    }
    p = readExponent(p, last, exponent);
    scan.first = p;
    const std::size_t length = static_cast<std::size_t>(std::distance(save, p));
    return scan.create_match(length, decimalToFloat(mantissa, exponent, negative), save, p);
  }

 private:
  static const int exponentLimit = 100000;

  static bool isDigit(char c) { return c >= '0' && c <= '9'; }

  // Adds an exponent part to exponent and returns the position after it; an "e" that no digit
  // follows is left unread.
  template <typename Iterator>
  static Iterator readExponent(Iterator p, Iterator last, int& exponent) {
    if (p == last || (*p != 'e' && *p != 'E')) {
      return p;
    }
    Iterator q = p;
    ++q;
    bool negative = false;
    if (q != last && (*q == '+' || *q == '-')) {
      negative = *q == '-';
      ++q;
    }
    if (q == last || !isDigit(*q)) {
      return p;
    }
    int value = 0;
    for (; q != last && isDigit(*q); ++q) {
      if (value < exponentLimit) {
        value = value * 10 + (*q - '0');
      }
    }
    exponent += negative ? -value : value;
    return q;
  }
};

}  // namespace Loader
}  // namespace System
