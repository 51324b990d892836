#pragma once
// Drawable geometry: vertices with optional normals, texture coordinates and colours,
// triangles and quads indexing them, and one material per face.

#include <boost/shared_ptr.hpp>
#include <cstddef>
#include <ostream>
#include <vector>

#include "data/geometry/color.h"
#include "data/geometry/material.h"
#include "data/geometry/quadindices.h"
#include "data/geometry/texcoord.h"
#include "data/geometry/triangleindices.h"
#include "data/geometry/vector3.h"

namespace Data {
namespace Geometry {

// Takes storage once at exactly n elements when growing; keeps it when shrinking.
template <typename T>
void reserveAndResize(std::vector<T>& sequence, std::size_t n) {
  sequence.reserve(n);
  sequence.resize(n);
}

// Faces are numbered triangles first, then quads; a mesh with neither has one
// triangle per three consecutive vertices. materials[k] belongs to face k.
class Mesh {
 public:
  // Also empties normals, texCoords and colors: enable them afterwards.
  void resize(unsigned vertices, unsigned triangles, unsigned quads);

  // One element per current vertex.
  void enableNormals();
  void enableColors();
  void enableTexCoords();

  std::vector<TriangleIndices> triangles;
  std::vector<QuadIndices> quads;
  std::vector<TVector3<float>> vertices;
  std::vector<TVector3<float>> normals;
  std::vector<TexCoord> texCoords;
  std::vector<boost::shared_ptr<Material>> materials;
  std::vector<Color> colors;
};

// One line, no line end: "Mesh: trI<T> quI<Q> ver<V>[(n)(t)|(nt)] col<C> mat<M>".
std::ostream& operator<<(std::ostream& out, const Mesh& mesh);

}  // namespace Geometry
}  // namespace Data
