#include "data/geometry/meshfactory.h"

#include <gtest/gtest.h>

#include <sstream>
#include <vector>

namespace {

using namespace Data::Geometry;
using Vec = TVector3<float>;
using Face = std::vector<unsigned>;

// Every face as its corner numbers, in the mesh's own face numbering.
std::vector<Face> facesOf(const Mesh& mesh) {
  std::vector<Face> faces;
  for (const auto& t : mesh.triangles) faces.push_back({t.a, t.b, t.c});
  for (const auto& q : mesh.quads) faces.push_back({q.a, q.b, q.c, q.d});
  if (faces.empty())
    for (unsigned v = 0; v + 2 < mesh.vertices.size(); v += 3) faces.push_back({v, v + 1, v + 2});
  return faces;
}

Vec plus(const Vec& a, const Vec& b) { return Vec(a.x + b.x, a.y + b.y, a.z + b.z); }
Vec minus(const Vec& a, const Vec& b) { return Vec(a.x - b.x, a.y - b.y, a.z - b.z); }
float dot(const Vec& a, const Vec& b) { return a.x * b.x + a.y * b.y + a.z * b.z; }

// The right-hand normal of the fan triangle (0, i, i + 1) of a face, as long as twice its area.
Vec fanNormal(const Mesh& mesh, const Face& face, std::size_t i) {
  const Vec& a = mesh.vertices.at(face[0]);
  return minus(mesh.vertices.at(face[i]), a).cross(minus(mesh.vertices.at(face[i + 1]), a));
}

Vec centreOf(const Mesh& mesh, const Face& face) {
  Vec sum;
  for (unsigned v : face) sum = plus(sum, mesh.vertices.at(v));
  const float n = float(face.size());
  return Vec(sum.x / n, sum.y / n, sum.z / n);
}

// The coloured meshes draw with their vertex colours: one default material serves all faces.
TEST(MeshFactoryTest, SummariesGiveTheLayoutAndColouredMeshesShareOneMaterial) {
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
    if (mesh->colors.empty()) continue;
    const boost::shared_ptr<Material>& first = mesh->materials.at(0);
    ASSERT_TRUE(first);
    for (const auto& m : mesh->materials) EXPECT_EQ(first, m) << c.summary;
    EXPECT_TRUE(first->name.empty() && first->diffuse.r == 0) << c.summary;
  }
  const boost::shared_ptr<Mesh> quads = createQuadCube();
  for (const Vec& n : quads->normals) EXPECT_EQ(0, n.lengthSquared());
}

// The cubes are convex about the origin: a face winds outward when its normal points away
// from the origin. Their surfaces close (area vectors cancel) with an area of six.
TEST(MeshFactoryTest, CubesAreClosedWithEveryFaceWoundOutward) {
  for (const auto& create : {createNamedColorCube, createIndexedTriangleCube, createQuadCube}) {
    const boost::shared_ptr<Mesh> mesh = create();
    Vec areaVector;
    float area = 0;
    for (const Face& face : facesOf(*mesh)) {
      for (std::size_t i = 1; i + 1 < face.size(); ++i) {
        const Vec n = fanNormal(*mesh, face, i);
        EXPECT_GT(dot(n, centreOf(*mesh, face)), 0) << "face at corner " << face[0];
        areaVector = plus(areaVector, n);
        area += n.length() / 2;
      }
    }
    EXPECT_EQ(0, areaVector.lengthSquared());
    EXPECT_FLOAT_EQ(6, area);
  }
  EXPECT_GT(fanNormal(*createTriangleMesh(), {0, 1, 2}, 1).z, 0);
}

TEST(MeshFactoryTest, NamedCubeHasSixRunsOfTwoFacesInSideOrder) {
  const struct {
    const char* name;
    float r, g, b;
    Vec outward;
  } runs[] = {
      {"dark red", 0.5f, 0, 0, {0, 0, 1}},   {"light red", 1, 0, 0, {0, 0, -1}},
      {"dark green", 0, 0.5f, 0, {0, 1, 0}}, {"light green", 0, 1, 0, {0, -1, 0}},
      {"dark blue", 0, 0, 0.5f, {1, 0, 0}},  {"light blue", 0, 0, 1, {-1, 0, 0}},
  };
  const boost::shared_ptr<Mesh> mesh = createNamedColorCube();
  for (unsigned f = 0; f < 12; ++f) {
    const auto& run = runs[f / 2];
    const boost::shared_ptr<Material>& material = mesh->materials[f];
    ASSERT_TRUE(material);
    EXPECT_EQ(material, mesh->materials[f ^ 1]);         // the other face of its run
    EXPECT_NE(material, mesh->materials[(f + 2) % 12]);  // the next run
    EXPECT_EQ(run.name, material->name);
    EXPECT_EQ(run.r, material->diffuse.r);
    EXPECT_EQ(run.g, material->diffuse.g);
    EXPECT_EQ(run.b, material->diffuse.b);
    // No corner lies beyond 0.5, so a centre at 0.5 puts the whole face on the side.
    const Face face = {3 * f, 3 * f + 1, 3 * f + 2};
    EXPECT_EQ(0.5f, dot(centreOf(*mesh, face), run.outward)) << "face " << f;
    for (unsigned v : face) EXPECT_EQ(1, dot(mesh->normals[v], run.outward)) << v;
  }
}

}  // namespace
