#include "data/geometry/meshfactory.h"

#include <cstddef>

namespace Data {
namespace Geometry {

namespace {

struct Corner {
  float x, y, z;
  float r, g, b, a;
};

// The corners shared by the two indexed cubes; opposite corners share a colour.
const Corner kCubeCorners[8] = {
    {-0.5f, 0.5f, 0.5f, 0, 0, 1, 1},   {0.5f, 0.5f, 0.5f, 1, 0, 0, 1},
    {-0.5f, -0.5f, 0.5f, 0, 1, 0, 1},  {0.5f, -0.5f, 0.5f, 0, 0, 0, 1},
    {-0.5f, 0.5f, -0.5f, 0, 0, 0, 1},  {0.5f, 0.5f, -0.5f, 0, 1, 0, 1},
    {-0.5f, -0.5f, -0.5f, 1, 0, 0, 1}, {0.5f, -0.5f, -0.5f, 0, 0, 1, 1},
};

void writeCorners(Mesh& mesh) {
  for (std::size_t i = 0; i < 8; ++i) {
    const Corner& c = kCubeCorners[i];
    mesh.vertices[i].set(c.x, c.y, c.z);
    mesh.colors[i].set(c.r, c.g, c.b, c.a);
  }
}

// The coloured meshes draw with vertex colours; one default material serves every face.
void shareOneMaterial(Mesh& mesh) {
  const boost::shared_ptr<Material> material(new Material);
  for (auto& slot : mesh.materials) slot = material;
}

// One side of the named cube: its material, outward normal and two counter-clockwise
// triangles.
struct Side {
  const char* name;
  float diffuse[4];
  float normal[3];
  float positions[6][3];
};

// clang-format off
const Side kNamedSides[6] = {
    {"dark red", {0.5f, 0, 0, 1}, {0, 0, 1},
     {{0.5f, -0.5f, 0.5f}, {0.5f, 0.5f, 0.5f}, {-0.5f, -0.5f, 0.5f},
      {0.5f, 0.5f, 0.5f}, {-0.5f, 0.5f, 0.5f}, {-0.5f, -0.5f, 0.5f}}},
    {"light red", {1, 0, 0, 1}, {0, 0, -1},
     {{-0.5f, 0.5f, -0.5f}, {0.5f, 0.5f, -0.5f}, {-0.5f, -0.5f, -0.5f},
      {0.5f, 0.5f, -0.5f}, {0.5f, -0.5f, -0.5f}, {-0.5f, -0.5f, -0.5f}}},
    {"dark green", {0, 0.5f, 0, 1}, {0, 1, 0},
     {{-0.5f, 0.5f, 0.5f}, {0.5f, 0.5f, 0.5f}, {-0.5f, 0.5f, -0.5f},
      {0.5f, 0.5f, 0.5f}, {0.5f, 0.5f, -0.5f}, {-0.5f, 0.5f, -0.5f}}},
    {"light green", {0, 1, 0, 1}, {0, -1, 0},
     {{0.5f, -0.5f, 0.5f}, {-0.5f, -0.5f, 0.5f}, {0.5f, -0.5f, -0.5f},
      {-0.5f, -0.5f, 0.5f}, {-0.5f, -0.5f, -0.5f}, {0.5f, -0.5f, -0.5f}}},
    {"dark blue", {0, 0, 0.5f, 1}, {1, 0, 0},
     {{0.5f, -0.5f, 0.5f}, {0.5f, -0.5f, -0.5f}, {0.5f, 0.5f, 0.5f},
      {0.5f, -0.5f, -0.5f}, {0.5f, 0.5f, -0.5f}, {0.5f, 0.5f, 0.5f}}},
    {"light blue", {0, 0, 1, 1}, {-1, 0, 0},
     {{-0.5f, 0.5f, -0.5f}, {-0.5f, -0.5f, -0.5f}, {-0.5f, 0.5f, 0.5f},
      {-0.5f, -0.5f, -0.5f}, {-0.5f, -0.5f, 0.5f}, {-0.5f, 0.5f, 0.5f}}},
};
// clang-format on

}  // namespace

boost::shared_ptr<Mesh> createTriangleMesh() {
  boost::shared_ptr<Mesh> mesh(new Mesh);
  mesh->resize(3, 0, 0);
  mesh->enableColors();
  shareOneMaterial(*mesh);
  mesh->vertices[0].set(-0.5f, -0.5f, 0);
  mesh->colors[0].set(0, 0, 1, 1);
  mesh->vertices[1].set(0.5f, 0, 0);
  mesh->colors[1].set(0, 1, 1, 1);
  mesh->vertices[2].set(0, 0.5f, 0);
  mesh->colors[2].set(1, 1, 1, 1);
  return mesh;
}

boost::shared_ptr<Mesh> createNamedColorCube() {
  boost::shared_ptr<Mesh> mesh(new Mesh);
  mesh->resize(36, 0, 0);
  mesh->enableNormals();
  for (std::size_t k = 0; k < 6; ++k) {
    const Side& side = kNamedSides[k];
    const boost::shared_ptr<Material> material(new Material);
    material->diffuse.set(side.diffuse[0], side.diffuse[1], side.diffuse[2], side.diffuse[3]);
    material->name = side.name;
    mesh->materials[2 * k] = material;
    mesh->materials[2 * k + 1] = material;
    for (std::size_t i = 0; i < 6; ++i) {
      const float* p = side.positions[i];
      mesh->vertices[6 * k + i].set(p[0], p[1], p[2]);
      mesh->normals[6 * k + i].set(side.normal[0], side.normal[1], side.normal[2]);
    }
  }
  return mesh;
}

boost::shared_ptr<Mesh> createIndexedTriangleCube() {
  boost::shared_ptr<Mesh> mesh(new Mesh);
  mesh->resize(8, 12, 0);
  mesh->enableColors();
  shareOneMaterial(*mesh);
  writeCorners(*mesh);
  static const unsigned kFaces[12][3] = {{2, 1, 0}, {3, 1, 2}, {4, 5, 6}, {6, 5, 7},
                                         {0, 1, 4}, {5, 4, 1}, {6, 3, 2}, {3, 6, 7},
                                         {3, 5, 1}, {7, 5, 3}, {4, 2, 0}, {2, 4, 6}};
  for (std::size_t f = 0; f < 12; ++f)
    mesh->triangles[f].set(kFaces[f][0], kFaces[f][1], kFaces[f][2]);
  return mesh;
}

boost::shared_ptr<Mesh> createQuadCube() {
  boost::shared_ptr<Mesh> mesh(new Mesh);
  mesh->resize(8, 0, 6);
  mesh->enableColors();
  mesh->enableNormals();
  shareOneMaterial(*mesh);
  writeCorners(*mesh);
  static const unsigned kFaces[6][4] = {{3, 1, 0, 2}, {4, 5, 7, 6}, {0, 1, 5, 4},
                                        {3, 2, 6, 7}, {3, 7, 5, 1}, {4, 6, 2, 0}};
  for (std::size_t f = 0; f < 6; ++f)
    mesh->quads[f].set(kFaces[f][0], kFaces[f][1], kFaces[f][2], kFaces[f][3]);
  return mesh;
}

}  // namespace Geometry
}  // namespace Data
