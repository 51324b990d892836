#pragma once
// A Spirit primitive for the signed 32-bit indices of OBJ face lines.

#include <boost/spirit/include/classic_core.hpp>
#include <cstdint>

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
    const Iterator last = scan.last;
    bool negative = false;
    if (p != last && (*p == '+' || *p == '-')) {
      negative = *p == '-';
      ++p;
    }
    const std::int64_t limit = negative ? 2147483648LL : 2147483647LL;
    std::int64_t value = 0;
    std::size_t length = p == save ? 0 : 1;
    const std::size_t signLength = length;
    for (; p != last && *p >= '0' && *p <= '9'; ++p, ++length) {
      value = value * 10 + (*p - '0');
      if (value > limit) {
        return scan.no_match();
      }
    }
    if (length == signLength) {
      return scan.no_match();
    }
    scan.first = p;
    return scan.create_match(length, static_cast<int>(negative ? -value : value), save, p);
  }
};

}  // namespace Loader
}  // namespace System
