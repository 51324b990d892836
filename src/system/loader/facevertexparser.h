#pragma once
// A Spirit primitive for one face vertex of an OBJ face line: v/vt/vn, each index optional.

#include <boost/spirit/include/classic_core.hpp>
#include <iterator>

#include "system/loader/intparser.h"
#include "system/loader/linescanner.h"

namespace System {
namespace Loader {

// The three indices of a face vertex, counted from 1; -1 where the line leaves one out.
struct FaceVertexIndices {
  int v = -1;
  int vt = -1;
  int vn = -1;
};

// Matches an optional integer, a slash, an optional integer, a slash and an optional integer, with
// blanks allowed around the slashes. The last integer is left to the next face vertex when a slash
// follows it, so "f 1/1/ 2/2/ 3/3/" names no normals while "f 1 / 1 / 1 ..." names one. Face
// vertices are most of a large mesh file; one tight loop reads them several times faster than the
// same rule composed of Spirit's optional, integer and literal parsers.
class FaceVertexParser : public boost::spirit::classic::parser<FaceVertexParser> {
 public:
  typedef FaceVertexParser self_t;

  template <typename ScannerT>
  struct result {
    typedef typename boost::spirit::classic::match_result<ScannerT, FaceVertexIndices>::type type;
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
    const Iterator last = scan.last;
    Iterator p = scan.first;
    FaceVertexIndices indices;
    IntParser::read(p, last, indices.v);
    if (!slash(p, last)) {
      return scan.no_match();
    }
    p = blanksSkipped(p, last);
    IntParser::read(p, last, indices.vt);
    if (!slash(p, last)) {
      return scan.no_match();
    }
    Iterator q = blanksSkipped(p, last);
    int vn = -1;
    if (IntParser::read(q, last, vn)) {
      const Iterator after = blanksSkipped(q, last);
      if (after == last || *after != '/') {
        indices.vn = vn;
        p = q;
      }
    }
    scan.first = p;
    return scan.create_match(static_cast<std::size_t>(std::distance(save, p)), indices, save, p);
  }

 private:
  template <typename Iterator>
  static Iterator blanksSkipped(Iterator p, Iterator last) {
    while (p != last && BlankSkipper::isBlank(*p)) {
      ++p;
    }
    return p;
  }

  // Moves p past blanks and a slash; false when no slash follows the blanks.
  template <typename Iterator>
  static bool slash(Iterator& p, Iterator last) {
    const Iterator q = blanksSkipped(p, last);
    if (q == last || *q != '/') {
      return false;
    }
    p = q;
    ++p;
    return true;
  }
};

}  // namespace Loader
}  // namespace System
