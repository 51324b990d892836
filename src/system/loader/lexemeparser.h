#pragma once
// The Spirit plumbing shared by the loader's hand-written token parsers.

#include <boost/config.hpp>
#include <boost/spirit/include/classic_core.hpp>
#include <cstddef>
#include <iterator>

namespace System {
namespace Loader {

// A Spirit primitive that matches one token, with no blank skipped inside it. Derived provides
//   template <typename Iterator> static bool read(Iterator& p, Iterator last, Attribute& value);
// which reads the token at p into value and moves p past it, or returns false. Tokens are most of
// a large mesh file, and one tight loop reads them several times faster than a rule composed of
// Spirit's own optional, numeric and literal parsers. Declared BOOST_FORCEINLINE where the loop is
// large: left to itself the compiler calls it from here, once per token.
template <typename Derived, typename Attribute>
class LexemeParser : public boost::spirit::classic::parser<Derived> {
 public:
  template <typename ScannerT>
  struct result {
    typedef typename boost::spirit::classic::match_result<ScannerT, Attribute>::type type;
  };

  // Skips the blanks before the token, as Spirit's own numeric parsers do, then reads it.
  template <typename ScannerT>
  typename result<ScannerT>::type parse(const ScannerT& scan) const {
    typedef typename result<ScannerT>::type Match;
    return boost::spirit::classic::impl::implicit_lexeme_parse<Match>(*this, scan, scan);
  }

  template <typename ScannerT>
  typename result<ScannerT>::type parse_main(const ScannerT& scan) const {
    typedef typename ScannerT::iterator_t Iterator;
    const Iterator start = scan.first;
    Iterator p = start;
    Attribute value = Attribute();
    if (!Derived::read(p, scan.last, value)) {
      return scan.no_match();
    }
    scan.first = p;
    return scan.create_match(static_cast<std::size_t>(std::distance(start, p)), value, start, p);
  }

 protected:
  static bool isDigit(char c) { return c >= '0' && c <= '9'; }

  // Moves p past a '+' or '-'; true when it was a '-'.
  template <typename Iterator>
  static bool readSign(Iterator& p, Iterator last) {
    bool negative = false;
    if (p != last && (*p == '+' || *p == '-')) {
      negative = *p == '-';
      ++p;
    }
    return negative;
  }
};

}  // namespace Loader
}  // namespace System
