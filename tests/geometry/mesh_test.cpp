#include "data/geometry/mesh.h"

#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

namespace {

using Data::Geometry::Mesh;

std::string summaryOf(const Mesh& mesh) {
  std::ostringstream out;
  out << mesh;
  return out.str();
}

TEST(MeshTest, ResizeGivesOneEmptyMaterialSlotPerFace) {
  const struct {
    unsigned vertices, triangles, quads;
    std::size_t materials;
  } cases[] = {{8, 12, 0, 12}, {8, 0, 6, 6}, {8, 2, 3, 5}, {36, 0, 0, 12},
               {3, 0, 0, 1},   {4, 0, 0, 1}, {2, 0, 0, 0}};
  for (const auto& c : cases) {
    Mesh mesh;
    mesh.resize(c.vertices, c.triangles, c.quads);
    EXPECT_EQ(c.materials, mesh.materials.size()) << c.vertices << " vertices";
    for (const auto& handle : mesh.materials) EXPECT_FALSE(handle);
  }
}

TEST(MeshTest, SummaryMarksNormalsAndTexCoordsAfterTheVertexCount) {
  const struct {
    bool normals, texCoords, colors;
    const char* expected;
  } cases[] = {
      {false, false, false, "Mesh: trI2 quI1 ver6 col0 mat3"},
      {true, true, false, "Mesh: trI2 quI1 ver6(nt) col0 mat3"},
      {true, false, false, "Mesh: trI2 quI1 ver6(n) col0 mat3"},
      {false, true, true, "Mesh: trI2 quI1 ver6(t) col6 mat3"},
  };
  for (const auto& c : cases) {
    Mesh mesh;
    mesh.resize(6, 2, 1);
    if (c.normals) mesh.enableNormals();
    if (c.texCoords) mesh.enableTexCoords();
    if (c.colors) mesh.enableColors();
    EXPECT_EQ(c.expected, summaryOf(mesh));
  }
}

TEST(MeshTest, ResizeKeepsLeadingElementsAndEmptiesTheOptionalSequences) {
  Mesh mesh;
  mesh.resize(6, 3, 2);
  mesh.enableNormals();
  mesh.enableTexCoords();
  mesh.enableColors();
  for (unsigned i = 0; i < 6; ++i) mesh.vertices[i].set(float(i), 0, 0);
  mesh.quads[0].set(0, 1, 2, 7);
  mesh.materials[0].reset(new Data::Geometry::Material);

  mesh.resize(3, 1, 1);
  EXPECT_EQ("Mesh: trI1 quI1 ver3 col0 mat2", summaryOf(mesh));
  EXPECT_EQ(2, mesh.vertices[2].x);
  EXPECT_EQ(7u, mesh.quads[0].d);
  EXPECT_TRUE(mesh.materials[0]);
}

TEST(MeshTest, ReserveAndResizeTakesExactStorageAndKeepsItWhenShrinking) {
  std::vector<int> v;
  Data::Geometry::reserveAndResize(v, 37);
  EXPECT_EQ(37u, v.capacity());
  Data::Geometry::reserveAndResize(v, 5);
  EXPECT_EQ(5u, v.size());
  EXPECT_EQ(37u, v.capacity());
}

}  // namespace
