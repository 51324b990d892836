#pragma once
// A Spirit primitive for one face vertex of an OBJ face line: v/vt/vn, each index optional.

#include "system/loader/intparser.h"
#include "system/loader/lexemeparser.h"
#include "system/loader/linescanner.h"

namespace System {
namespace Loader {

// The three indices of a face vertex, counted from 1; -1 where the line leaves one out.
struct FaceVertexIndices {
  int v = -1;
  int vt = -1;
  int vn = -1;
  // The first index written negative, 0 when none was: read as absent, it is told from one left
  // out only here.
  int negative = 0;
};

// Matches an optional integer, a slash, an optional integer, a slash and an optional integer, with
// blanks allowed around the slashes. An integer right after the second slash is always the third
// index; one that blanks part from it is left to the next face vertex when a slash follows it, so
// "f 1/1/ 2/2/ 3/3/" names no normals while "f 1 / 1 / 1 ..." and "f //1 //2 //3" name one each.
class FaceVertexParser : public LexemeParser<FaceVertexParser, FaceVertexIndices> {
 public:
  template <typename Iterator>
  BOOST_FORCEINLINE static bool read(Iterator& p, Iterator last, FaceVertexIndices& indices) {
    readIndex(p, last, indices.v, indices);
    if (!readSlash(p, last)) {
      return false;
    }
    p = blanksSkipped(p, last);
    readIndex(p, last, indices.vt, indices);
    if (!readSlash(p, last)) {
      return false;
    }
    if (readIndex(p, last, indices.vn, indices)) {
      return true;
    }
    Iterator q = blanksSkipped(p, last);
    int vn = -1;
    if (q != p && IntParser::read(q, last, vn) && !slashAt(blanksSkipped(q, last), last)) {
      noteNegative(vn, indices);
      indices.vn = vn;
      p = q;
    }
    return true;
  }

 private:
  template <typename Iterator>
  static bool readIndex(Iterator& p, Iterator last, int& index, FaceVertexIndices& indices) {
    if (!IntParser::read(p, last, index)) {
      return false;
    }
    noteNegative(index, indices);
    return true;
  }

  static void noteNegative(int index, FaceVertexIndices& indices) {
    if (index < 0 && indices.negative == 0) {
      indices.negative = index;
    }
  }

  template <typename Iterator>
  static Iterator blanksSkipped(Iterator p, Iterator last) {
    while (p != last && BlankSkipper::isBlank(*p)) {
      ++p;
    }
    return p;
  }

  template <typename Iterator>
  static bool slashAt(Iterator p, Iterator last) {
    return p != last && *p == '/';
  }

  // Moves p past blanks and a slash; false, leaving p alone, when no slash follows the blanks.
  template <typename Iterator>
  static bool readSlash(Iterator& p, Iterator last) {
    const Iterator q = blanksSkipped(p, last);
    if (!slashAt(q, last)) {
      return false;
    }
    p = q;
    ++p;
    return true;
  }
};

}  // namespace Loader
}  // namespace System
