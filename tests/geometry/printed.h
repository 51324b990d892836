#pragma once
// Geometry values as text, components joined by ',' and elements by ' ', so that a test compares
// a whole table in one expectation and a failure shows every element.

#include <cstdint>
#include <ostream>
#include <sstream>
#include <string>
#include <vector>

#include "data/geometry/mesh.h"

namespace TestPrinted {

using namespace Data::Geometry;

inline void put(std::ostream& o, const TVector3<float>& v) { o << v.x << ',' << v.y << ',' << v.z; }
inline void put(std::ostream& o, const Color& c) {
  o << c.r << ',' << c.g << ',' << c.b << ',' << c.a;
}
inline void put(std::ostream& o, const TexCoord& t) { o << t.u << ',' << t.v; }
inline void put(std::ostream& o, const TriangleIndices& t) { o << t.a << ',' << t.b << ',' << t.c; }
inline void put(std::ostream& o, const QuadIndices& q) {
  o << q.a << ',' << q.b << ',' << q.c << ',' << q.d;
}
inline void put(std::ostream& o, const Mesh& mesh) { o << mesh; }
inline void put(std::ostream& o, const std::string& s) { o << s; }

// Nine digits tell any two floats apart.
template <typename T>
std::string text(const T& value) {
  std::ostringstream out;
  out.precision(9);
  put(out, value);
  return out.str();
}

// The count elements from position from on; all of them by default.
template <typename T>
std::string text(const std::vector<T>& values, std::size_t from = 0, std::size_t count = SIZE_MAX) {
  std::string joined;
  for (std::size_t i = from; i < values.size() && i - from < count; ++i)
    joined += (i > from ? " " : "") + text(values[i]);
  return joined;
}

inline std::string repeated(const std::string& element, std::size_t n) {
  return text(std::vector<std::string>(n, element));
}

}  // namespace TestPrinted
