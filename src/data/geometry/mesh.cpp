#include "data/geometry/mesh.h"

namespace Data {
namespace Geometry {

void Mesh::resize(unsigned vertexCount, unsigned triangleCount, unsigned quadCount) {
  reserveAndResize(vertices, vertexCount);
  reserveAndResize(triangles, triangleCount);
  reserveAndResize(quads, quadCount);
  // Widened so that huge counts cannot wrap to a small face count.
  const std::size_t indexedFaces = std::size_t(triangleCount) + quadCount;
  reserveAndResize(materials, indexedFaces != 0 ? indexedFaces : vertexCount / 3);
  reserveAndResize(normals, 0);
  reserveAndResize(texCoords, 0);
  reserveAndResize(colors, 0);
}

void Mesh::enableNormals() { reserveAndResize(normals, vertices.size()); }

void Mesh::enableColors() { reserveAndResize(colors, vertices.size()); }

void Mesh::enableTexCoords() { reserveAndResize(texCoords, vertices.size()); }

std::ostream& operator<<(std::ostream& out, const Mesh& mesh) {
  out << "Mesh:"
      << " trI" << mesh.triangles.size() << " quI" << mesh.quads.size() << " ver"
      << mesh.vertices.size();
  if (!mesh.normals.empty() || !mesh.texCoords.empty()) {
    out << "(";
    if (!mesh.normals.empty()) out << "n";
    if (!mesh.texCoords.empty()) out << "t";
    out << ")";
  }
  out << " col" << mesh.colors.size() << " mat" << mesh.materials.size();
  return out;
}

}  // namespace Geometry
}  // namespace Data
