#pragma once
// Geometry values as text (components joined by ',', elements by ' '): one expectation per table.

#include <algorithm>
#include <ostream>
#include <sstream>
#include <string>
#include <vector>

#include "data/geometry/mesh.h"

namespace TestPrinted {

using namespace Data::Geometry;

template <typename T>
void put(std::ostream& o, const T& value) {
  o << value;
}
inline void put(std::ostream& o, const TVector3<float>& v) { o << v.x << ',' << v.y << ',' << v.z; }
inline void put(std::ostream& o, const Color& c) {
  o << c.r << ',' << c.g << ',' << c.b << ',' << c.a;
}
inline void put(std::ostream& o, const TriangleIndices& t) { o << t.a << ',' << t.b << ',' << t.c; }
inline void put(std::ostream& o, const QuadIndices& q) {
  o << q.a << ',' << q.b << ',' << q.c << ',' << q.d;
}
template <typename T>
void put(std::ostream& o, const std::vector<T>& values) {
  for (std::size_t i = 0; i < values.size(); ++i) put(o << (i ? " " : ""), values[i]);
}

// Nine digits tell any two floats apart.
template <typename T>
std::string text(const T& value) {
  std::ostringstream out;
  out.precision(9);
  put(out, value);
  return out.str();
}

// The texts of its values, joined by ' '.
template <typename... T>
std::string fields(const T&... values) {
  return text(std::vector<std::string>{text(values)...});
}

inline std::string repeated(const std::string& element, std::size_t n) {
  return text(std::vector<std::string>(n, element));
}

// For each material slot the first slot holding the same material, or '-' when empty: "0 0 2 -".
inline std::string slots(const Mesh& mesh) {
  const auto& all = mesh.materials;
  std::vector<std::string> first;
  for (const auto& m : all)
    first.push_back(m ? std::to_string(std::find(all.begin(), all.end(), m) - all.begin()) : "-");
  return text(first);
}

}  // namespace TestPrinted
