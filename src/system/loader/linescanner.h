#pragma once
// The scanner shared by the OBJ and MTL line grammars: blanks are skipped before every token.

#include <boost/spirit/include/classic_core.hpp>

namespace System {
namespace Loader {

// Skips space, tab, line feed, vertical tab, form feed and carriage return without asking the
// C library, which the default policy does for every character of every token.
struct BlankSkipper : boost::spirit::classic::skipper_iteration_policy<> {
  BlankSkipper() {}
  template <typename PolicyT>
  BlankSkipper(const PolicyT& other) : boost::spirit::classic::skipper_iteration_policy<>(other) {}

  template <typename ScannerT>
  void skip(const ScannerT& scan) const {
    while (scan.first != scan.last && isBlank(*scan.first)) {
      ++scan.first;
    }
  }

  static bool isBlank(char c) { return c == ' ' || (c >= '\t' && c <= '\r'); }
};

typedef boost::spirit::classic::scanner<const char*,
                                        boost::spirit::classic::scanner_policies<BlankSkipper>>
    LineScanner;
typedef boost::spirit::classic::rule<LineScanner> LineRule;

}  // namespace Loader
}  // namespace System
