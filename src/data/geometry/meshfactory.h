#pragma once
// Small meshes built in code: a coloured triangle and three layouts of the unit cube
// centred on the origin. Every face winds counter-clockwise seen from outside.

#include <boost/shared_ptr.hpp>

#include "data/geometry/mesh.h"

namespace Data {
namespace Geometry {

// One non-indexed triangle in the z = 0 plane facing +z, with vertex colours.
boost::shared_ptr<Mesh> createTriangleMesh();

// 36 non-indexed vertices with face normals; each side has its own named material.
boost::shared_ptr<Mesh> createNamedColorCube();

// Eight coloured corners and twelve indexed triangles.
boost::shared_ptr<Mesh> createIndexedTriangleCube();

// Eight coloured corners and six indexed quads; the normals are enabled but left zero.
boost::shared_ptr<Mesh> createQuadCube();

}  // namespace Geometry
}  // namespace Data
