#pragma once
// Geometry values written as text, components joined by ',' and elements by ' ', so that a
// test compares a whole table in one expectation and a failure shows every element.

#include <ostream>
#include <sstream>
#include <string>
#include <vector>

#include "data/geometry/color.h"
#include "data/geometry/mesh.h"
#include "data/geometry/quadindices.h"
#include "data/geometry/texcoord.h"
#include "data/geometry/triangleindices.h"
#include "data/geometry/vector3.h"

namespace TestPrinted {

using namespace Data::Geometry;

inline void put(std::ostream& out, const TVector3<float>& v) {
  out << v.x << ',' << v.y << ',' << v.z;
}
inline void put(std::ostream& out, const Color& c) {
  out << c.r << ',' << c.g << ',' << c.b << ',' << c.a;
}
inline void put(std::ostream& out, const TexCoord& t) { out << t.u << ',' << t.v; }
inline void put(std::ostream& out, const TriangleIndices& t) {
  out << t.a << ',' << t.b << ',' << t.c;
}
inline void put(std::ostream& out, const QuadIndices& q) {
  out << q.a << ',' << q.b << ',' << q.c << ',' << q.d;
}
inline void put(std::ostream& out, const Mesh& mesh) { out << mesh; }

// Nine digits tell any two floats apart.
template <typename T>
std::string text(const T& value) {
  std::ostringstream out;
  out.precision(9);
  put(out, value);
  return out.str();
}

template <typename T>
std::string text(const std::vector<T>& values) {
  std::string joined;
  for (const T& value : values) joined += (joined.empty() ? "" : " ") + text(value);
  return joined;
}

// The same text n times, as text() writes a sequence of n equal values.
inline std::string repeated(const std::string& element, unsigned n) {
  std::string joined;
  for (unsigned i = 0; i < n; ++i) joined += (i ? " " : "") + element;
  return joined;
}

}  // namespace TestPrinted
