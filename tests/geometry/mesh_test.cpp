#include "data/geometry/mesh.h"

#include <gtest/gtest.h>

#include <boost/make_shared.hpp>
#include <iomanip>
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

struct ResizeCase {
  unsigned vertices, triangles, quads;
  std::size_t materials;
};

TEST(MeshTest, ResizeGivesOneMaterialSlotPerFace) {
  const std::vector<ResizeCase> cases = {
      {8, 12, 0, 12}, {8, 0, 6, 6}, {8, 2, 3, 5}, {36, 0, 0, 12},
      {3, 0, 0, 1},   {4, 0, 0, 1}, {2, 0, 0, 0}, {0, 0, 0, 0},
  };
  for (const ResizeCase& c : cases) {
    SCOPED_TRACE(std::to_string(c.vertices) + "," + std::to_string(c.triangles) + "," +
                 std::to_string(c.quads));
    Mesh mesh;
    mesh.resize(c.vertices, c.triangles, c.quads);
    EXPECT_EQ(c.vertices, mesh.vertices.size());
    EXPECT_EQ(c.triangles, mesh.triangles.size());
    EXPECT_EQ(c.quads, mesh.quads.size());
    EXPECT_EQ(c.materials, mesh.materials.size());
    for (const auto& handle : mesh.materials) EXPECT_FALSE(handle);
  }
}

TEST(MeshTest, EnabledColorsAreOpaqueWhiteAndOtherSequencesStayEmpty) {
  Mesh mesh;
  mesh.resize(8, 0, 6);
  mesh.enableColors();
  ASSERT_EQ(8u, mesh.colors.size());
  for (const auto& c : mesh.colors) {
    EXPECT_EQ(1.0f, c.r);
    EXPECT_EQ(1.0f, c.g);
    EXPECT_EQ(1.0f, c.b);
    EXPECT_EQ(1.0f, c.a);
  }
  EXPECT_TRUE(mesh.normals.empty());
  EXPECT_TRUE(mesh.texCoords.empty());
}

TEST(MeshTest, EnableSizesSequenceToVertexCountWithZeroElements) {
  Mesh mesh;
  mesh.resize(5, 1, 0);
  mesh.enableNormals();
  mesh.enableTexCoords();
  ASSERT_EQ(5u, mesh.normals.size());
  ASSERT_EQ(5u, mesh.texCoords.size());
  for (std::size_t i = 0; i < 5; ++i) {
    EXPECT_EQ(0.0f, mesh.normals[i].lengthSquared());
    EXPECT_EQ(0.0f, mesh.vertices[i].lengthSquared());
    EXPECT_EQ(0.0f, mesh.texCoords[i].u);
    EXPECT_EQ(0.0f, mesh.texCoords[i].v);
  }
}

TEST(MeshTest, ResizeEmptiesSequencesEnabledBeforeIt) {
  Mesh mesh;
  mesh.resize(4, 0, 0);
  mesh.enableNormals();
  mesh.enableTexCoords();
  mesh.enableColors();
  mesh.resize(4, 0, 0);
  EXPECT_TRUE(mesh.normals.empty());
  EXPECT_TRUE(mesh.texCoords.empty());
  EXPECT_TRUE(mesh.colors.empty());
}

TEST(MeshTest, ShrinkingResizeKeepsLeadingElements) {
  Mesh mesh;
  mesh.resize(6, 3, 2);
  for (unsigned i = 0; i < 6; ++i) mesh.vertices[i].set(float(i), 0, 0);
  for (unsigned i = 0; i < 3; ++i) mesh.triangles[i].set(i, i, i);
  for (unsigned i = 0; i < 2; ++i) mesh.quads[i].set(i, i, i, 7);
  const auto firstMaterial = boost::make_shared<Data::Geometry::Material>();
  mesh.materials[0] = firstMaterial;

  mesh.resize(3, 1, 1);
  ASSERT_EQ(3u, mesh.vertices.size());
  for (unsigned i = 0; i < 3; ++i) EXPECT_EQ(float(i), mesh.vertices[i].x);
  ASSERT_EQ(1u, mesh.triangles.size());
  EXPECT_EQ(0u, mesh.triangles[0].c);
  ASSERT_EQ(1u, mesh.quads.size());
  EXPECT_EQ(7u, mesh.quads[0].d);
  ASSERT_EQ(2u, mesh.materials.size());
  EXPECT_EQ(firstMaterial, mesh.materials[0]);
}

TEST(MeshTest, ReserveAndResizeTakesExactStorageAndKeepsItWhenShrinking) {
  std::vector<int> v;
  Data::Geometry::reserveAndResize(v, 37);
  EXPECT_EQ(37u, v.size());
  EXPECT_EQ(37u, v.capacity());
  const int* storage = v.data();
  Data::Geometry::reserveAndResize(v, 5);
  EXPECT_EQ(5u, v.size());
  EXPECT_EQ(37u, v.capacity());
  EXPECT_EQ(storage, v.data());
}

struct SummaryCase {
  bool normals, texCoords, colors;
  std::string expected;
};

TEST(MeshTest, SummaryNamesCountsAndOptionalSequences) {
  const std::vector<SummaryCase> cases = {
      {false, false, false, "Mesh: trI2 quI1 ver6 col0 mat3"},
      {true, true, false, "Mesh: trI2 quI1 ver6(nt) col0 mat3"},
      {true, false, false, "Mesh: trI2 quI1 ver6(n) col0 mat3"},
      {false, true, false, "Mesh: trI2 quI1 ver6(t) col0 mat3"},
      {true, true, true, "Mesh: trI2 quI1 ver6(nt) col6 mat3"},
  };
  for (const SummaryCase& c : cases) {
    Mesh mesh;
    mesh.resize(6, 2, 1);
    if (c.normals) mesh.enableNormals();
    if (c.texCoords) mesh.enableTexCoords();
    if (c.colors) mesh.enableColors();
    EXPECT_EQ(c.expected, summaryOf(mesh));
  }
}

TEST(MeshTest, EmptyMeshSummaryHasNoLineEnd) {
  EXPECT_EQ("Mesh: trI0 quI0 ver0 col0 mat0", summaryOf(Mesh()));
}

TEST(MeshTest, SummaryUsesStreamFormattingAndReturnsStream) {
  Mesh mesh;
  mesh.resize(30, 0, 0);
  std::ostringstream out;
  std::ostream& returned = out << std::hex << mesh;
  EXPECT_EQ(&out, &returned);
  EXPECT_EQ("Mesh: trI0 quI0 ver1e col0 mata", out.str());
}

}  // namespace
