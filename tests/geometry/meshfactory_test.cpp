#include "data/geometry/meshfactory.h"

#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <functional>
#include <set>
#include <sstream>
#include <string>
#include <vector>

namespace {

using Data::Geometry::Mesh;
using Vec = Data::Geometry::TVector3<float>;
using MeshPtr = boost::shared_ptr<Mesh>;

std::string summaryOf(const Mesh& mesh) {
  std::ostringstream out;
  out << mesh;
  return out.str();
}

// Every face as its corner numbers, in the mesh's own face numbering.
std::vector<std::vector<unsigned>> facesOf(const Mesh& mesh) {
  std::vector<std::vector<unsigned>> faces;
  for (const auto& t : mesh.triangles) faces.push_back({t.a, t.b, t.c});
  for (const auto& q : mesh.quads) faces.push_back({q.a, q.b, q.c, q.d});
  if (faces.empty())
    for (unsigned v = 0; v + 2 < mesh.vertices.size(); v += 3) faces.push_back({v, v + 1, v + 2});
  return faces;
}

Vec minus(const Vec& a, const Vec& b) { return Vec(a.x - b.x, a.y - b.y, a.z - b.z); }
float dot(const Vec& a, const Vec& b) { return a.x * b.x + a.y * b.y + a.z * b.z; }

// The right-hand normal of the fan triangle (0, i, i + 1) of a face.
Vec fanNormal(const Mesh& mesh, const std::vector<unsigned>& face, std::size_t i) {
  const Vec& a = mesh.vertices.at(face[0]);
  return minus(mesh.vertices.at(face[i]), a).cross(minus(mesh.vertices.at(face[i + 1]), a));
}

Vec centreOf(const Mesh& mesh, const std::vector<unsigned>& face) {
  Vec sum;
  for (unsigned v : face) {
    const Vec& p = mesh.vertices.at(v);
    sum.set(sum.x + p.x, sum.y + p.y, sum.z + p.z);
  }
  const float n = float(face.size());
  return Vec(sum.x / n, sum.y / n, sum.z / n);
}

// The outward unit normal of the cube side that holds every corner of the face; zero when the
// corners do not share one side.
Vec sideOf(const Mesh& mesh, const std::vector<unsigned>& face) {
  Vec side;
  for (int axis = 0; axis < 3; ++axis) {
    const auto coordinate = [&](unsigned v) {
      const Vec& p = mesh.vertices.at(v);
      return axis == 0 ? p.x : axis == 1 ? p.y : p.z;
    };
    const float first = coordinate(face[0]);
    bool shared = std::fabs(first) == 0.5f;
    for (unsigned v : face) shared = shared && coordinate(v) == first;
    if (!shared) continue;
    if (side.lengthSquared() != 0) return Vec();
    const float sign = first > 0 ? 1.0f : -1.0f;
    side.set(axis == 0 ? sign : 0, axis == 1 ? sign : 0, axis == 2 ? sign : 0);
  }
  return side;
}

struct FactoryCase {
  std::string name;
  std::function<MeshPtr()> create;
  std::string summary;
};

const std::vector<FactoryCase> kCubes = {
    {"named cube", Data::Geometry::createNamedColorCube, "Mesh: trI0 quI0 ver36(n) col0 mat12"},
    {"triangle cube", Data::Geometry::createIndexedTriangleCube,
     "Mesh: trI12 quI0 ver8 col8 mat12"},
    {"quad cube", Data::Geometry::createQuadCube, "Mesh: trI0 quI6 ver8(n) col8 mat6"},
};

TEST(MeshFactoryTest, SummariesGiveLayoutOfEachMesh) {
  std::vector<FactoryCase> all = kCubes;
  all.push_back({"triangle", Data::Geometry::createTriangleMesh, "Mesh: trI0 quI0 ver3 col3 mat1"});
  for (const FactoryCase& c : all) {
    SCOPED_TRACE(c.name);
    const MeshPtr mesh = c.create();
    ASSERT_TRUE(mesh);
    EXPECT_EQ(1, mesh.use_count());
    EXPECT_EQ(c.summary, summaryOf(*mesh));
    EXPECT_TRUE(mesh->texCoords.empty());
  }
}

TEST(MeshFactoryTest, CubeFacesWindOutwardAndCoverEachSideOnce) {
  for (const FactoryCase& c : kCubes) {
    SCOPED_TRACE(c.name);
    const MeshPtr mesh = c.create();
    double area = 0;
    for (const auto& face : facesOf(*mesh)) {
      const Vec side = sideOf(*mesh, face);
      ASSERT_EQ(1.0f, side.lengthSquared()) << "face at corner " << face[0] << " is on no side";
      for (std::size_t i = 1; i + 1 < face.size(); ++i) {
        const Vec n = fanNormal(*mesh, face, i);
        EXPECT_GT(dot(n, side), 0.0f) << "face at corner " << face[0] << " winds inward";
        area += n.length() / 2;
      }
    }
    EXPECT_NEAR(6.0, area, 1e-5);  // six unit sides, none missing or doubled
  }
}

TEST(MeshFactoryTest, TriangleFacesPositiveZ) {
  const MeshPtr mesh = Data::Geometry::createTriangleMesh();
  const Vec n = fanNormal(*mesh, {0, 1, 2}, 1);
  EXPECT_GT(n.z, 0.0f);
  EXPECT_EQ(0.0f, n.x);
  EXPECT_EQ(0.0f, n.y);
  EXPECT_TRUE(mesh->normals.empty());
}

TEST(MeshFactoryTest, ColouredMeshesShareOneDefaultMaterial) {
  const std::vector<std::function<MeshPtr()>> factories = {
      Data::Geometry::createTriangleMesh, Data::Geometry::createIndexedTriangleCube,
      Data::Geometry::createQuadCube};
  for (const auto& create : factories) {
    const MeshPtr mesh = create();
    ASSERT_FALSE(mesh->materials.empty());
    const auto& first = mesh->materials.front();
    ASSERT_TRUE(first);
    for (const auto& m : mesh->materials) EXPECT_EQ(first, m);
    EXPECT_TRUE(first->name.empty());
    EXPECT_EQ(0.0f, first->diffuse.r);
    EXPECT_EQ(1.0f, first->diffuse.a);
    EXPECT_EQ(long(mesh->materials.size()), first.use_count());
  }
}

struct NamedSide {
  std::string name;
  float r, g, b;
  Vec normal;
};

TEST(MeshFactoryTest, NamedCubeHasSixRunsOfTwoFacesInSideOrder) {
  const std::vector<NamedSide> sides = {
      {"dark red", 0.5f, 0, 0, {0, 0, 1}},   {"light red", 1, 0, 0, {0, 0, -1}},
      {"dark green", 0, 0.5f, 0, {0, 1, 0}}, {"light green", 0, 1, 0, {0, -1, 0}},
      {"dark blue", 0, 0, 0.5f, {1, 0, 0}},  {"light blue", 0, 0, 1, {-1, 0, 0}},
  };
  const MeshPtr mesh = Data::Geometry::createNamedColorCube();
  ASSERT_EQ(12u, mesh->materials.size());
  std::set<const Data::Geometry::Material*> distinct;
  for (std::size_t k = 0; k < 6; ++k) {
    SCOPED_TRACE(sides[k].name);
    const auto& material = mesh->materials[2 * k];
    ASSERT_TRUE(material);
    EXPECT_EQ(material, mesh->materials[2 * k + 1]);
    distinct.insert(material.get());
    EXPECT_EQ(sides[k].name, material->name);
    EXPECT_EQ(sides[k].r, material->diffuse.r);
    EXPECT_EQ(sides[k].g, material->diffuse.g);
    EXPECT_EQ(sides[k].b, material->diffuse.b);
    EXPECT_EQ(1.0f, material->diffuse.a);
    EXPECT_EQ(0.0f, material->ambient.r);
    EXPECT_FALSE(material->texture);
    for (std::size_t f = 2 * k; f < 2 * k + 2; ++f) {
      const std::vector<unsigned> face = {unsigned(3 * f), unsigned(3 * f + 1),
                                          unsigned(3 * f + 2)};
      const Vec centre = centreOf(*mesh, face);
      EXPECT_FLOAT_EQ(0.5f, dot(centre, sides[k].normal)) << "face " << f << " off its side";
      EXPECT_GT(dot(fanNormal(*mesh, face, 1), sides[k].normal), 0.0f) << "face " << f;
      for (unsigned v : face) {
        EXPECT_EQ(sides[k].normal.x, mesh->normals[v].x);
        EXPECT_EQ(sides[k].normal.y, mesh->normals[v].y);
        EXPECT_EQ(sides[k].normal.z, mesh->normals[v].z);
      }
    }
  }
  EXPECT_EQ(6u, distinct.size());
}

TEST(MeshFactoryTest, QuadCubeNormalsAreZero) {
  const MeshPtr mesh = Data::Geometry::createQuadCube();
  ASSERT_EQ(8u, mesh->normals.size());
  for (const auto& n : mesh->normals) EXPECT_EQ(0.0f, n.lengthSquared());
}

TEST(MeshFactoryTest, EachCallBuildsIndependentMeshAndMaterials) {
  const MeshPtr first = Data::Geometry::createNamedColorCube();
  const MeshPtr second = Data::Geometry::createNamedColorCube();
  EXPECT_NE(first, second);
  EXPECT_NE(first->materials[0], second->materials[0]);
  first->materials[0]->name = "changed";
  EXPECT_EQ("dark red", second->materials[0]->name);
}

}  // namespace
