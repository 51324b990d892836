#pragma once
// A Spirit primitive for the signed 32-bit indices of OBJ face lines.

#include <boost/spirit/include/classic_core.hpp>
#include <cstdint>
#include <iterator>

namespace System {
namespace Loader {

// Matches an optional sign and one or more decimal digits whose value fits a signed 32-bit int;
// a number outside that range does not match. Does what Spirit's int_p does, in one tight loop:
// face indices are the most frequent tokens of a large mesh file.
class IntParser : public boost::spirit::classic::parser<IntParser> {
 public:
  typedef IntParser self_t;

  template <typename ScannerT>
  struct result {
    typedef typename boost::spirit::classic::match_result<ScannerT, int>::type type;
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
    int value = 0;
    if (!read(p, scan.last, value)) {
      return scan.no_match();
    }
    scan.first = p;
    return scan.create_match(static_cast<std::size_t>(std::distance(save, p)), value, save, p);
  }

  // Reads an integer at p and moves p past it; leaves p alone and returns false when none fits.
  template <typename Iterator>
  static bool read(Iterator& p, Iterator last, int& value) {
    Iterator q = p;
    bool negative = false;
    if (q != last && (*q == '+' || *q == '-')) {
      negative = *q == '-';
      ++q;
    }
    const std::int64_t limit = negative ? 2147483648LL : 2147483647LL;
    std::int64_t magnitude = 0;
    const Iterator digits = q;
    for (; q != last && *q >= '0' && *q <= '9'; ++q) {
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
