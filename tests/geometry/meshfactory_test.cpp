#include "data/geometry/meshfactory.h"

#include <gtest/gtest.h>

#include <sstream>
#include <vector>

namespace {

using namespace Data::Geometry;
using Vec = TVector3<float>;

Vec minus(const Vec& a, const Vec& b) { return Vec(a.x - b.x, a.y - b.y, a.z - b.z); }
float dot(const Vec& a, const Vec& b) { return a.x * b.x + a.y * b.y + a.z * b.z; }

// The coloured meshes draw with their vertex colours: one default material serves all faces, and
// their normals stay zero.
// The cubes are convex about the origin: a face winds outward when the right-hand normal of each
// of its fan triangles points away from the origin; the faces cover an area of six.
TEST(MeshFactoryTest, SummariesWindingAndSharedMaterialOfEveryMesh) {
  const struct {
    boost::shared_ptr<Mesh> (*create)();
    const char* summary;
  } cases[] = {{createTriangleMesh, "Mesh: trI0 quI0 ver3 col3 mat1"},
               {createNamedColorCube, "Mesh: trI0 quI0 ver36(n) col0 mat12"},
               {createIndexedTriangleCube, "Mesh: trI12 quI0 ver8 col8 mat12"},
               {createQuadCube, "Mesh: trI0 quI6 ver8(n) col8 mat6"}};
  for (const auto& c : cases) {
    const boost::shared_ptr<Mesh> mesh = c.create();
    std::ostringstream summary;
    summary << *mesh;
    EXPECT_EQ(c.summary, summary.str());
    std::vector<std::vector<unsigned>> faces;
    for (const auto& t : mesh->triangles) faces.push_back({t.a, t.b, t.c});
    for (const auto& q : mesh->quads) faces.push_back({q.a, q.b, q.c, q.d});
    const std::vector<Vec>& vs = mesh->vertices;
    for (unsigned v = 0; mesh->triangles.empty() && mesh->quads.empty() && v < vs.size(); v += 3)
      faces.push_back({v, v + 1, v + 2});
    float area = 0;
    for (const auto& face : faces) {
      const Vec& a = vs.at(face[0]);
      for (std::size_t i = 1; i + 1 < face.size(); ++i) {
        const Vec n = minus(vs.at(face[i]), a).cross(minus(vs.at(face[i + 1]), a));
        EXPECT_GT(faces.size() == 1 ? n.z : dot(n, a), 0) << c.summary << ", face at " << face[0];
        area += n.length() / 2;
      }
    }
    EXPECT_FLOAT_EQ(faces.size() == 1 ? area : 6, area);
    if (mesh->colors.empty()) continue;
    for (const auto& m : mesh->materials) EXPECT_TRUE(m && m == mesh->materials[0]) << c.summary;
    for (const Vec& n : mesh->normals) EXPECT_EQ(0, n.lengthSquared());
  }
}

TEST(MeshFactoryTest, NamedCubeHasSixRunsOfTwoFacesInSideOrder) {
  const char* const names[] = {"dark red",    "light red", "dark green",
                               "light green", "dark blue", "light blue"};
  const Vec outward[] = {{0, 0, 1}, {0, 0, -1}, {0, 1, 0}, {0, -1, 0}, {1, 0, 0}, {-1, 0, 0}};
  const boost::shared_ptr<Mesh> mesh = createNamedColorCube();
  for (unsigned f = 0; f < 12; ++f) {
    const Material* material = mesh->materials[f].get();
    ASSERT_TRUE(material);
    EXPECT_EQ(material, mesh->materials[f ^ 1].get());
    EXPECT_NE(material, mesh->materials[(f + 2) % 12].get());
    EXPECT_EQ(names[f / 2], material->name);
    for (unsigned v = 3 * f; v < 3 * f + 3; ++v) {
      EXPECT_EQ(0.5f, dot(mesh->vertices[v], outward[f / 2])) << v;
      EXPECT_EQ(1, dot(mesh->normals[v], outward[f / 2])) << v;
    }
  }
}

}  // namespace
