#include "data/geometry/mesh.h"

#include <gtest/gtest.h>

#include <string>

#include "geometry/printed.h"

namespace {

using namespace TestPrinted;

// Without faces the vertices are drawn three at a time, one material slot for each three.
TEST(MeshTest, ResizeGivesOneEmptyMaterialSlotPerFaceAndTheSummaryShowsTheLayout) {
  const struct {
    unsigned vertices, triangles, quads;
    std::string enabled, summary;
  } cases[] = {{8, 12, 0, "", "Mesh: trI12 quI0 ver8 col0 mat12"},
               {8, 2, 3, "", "Mesh: trI2 quI3 ver8 col0 mat5"},
               {8, 0, 6, "c", "Mesh: trI0 quI6 ver8 col8 mat6"},
               {36, 0, 0, "", "Mesh: trI0 quI0 ver36 col0 mat12"},
               {4, 0, 0, "", "Mesh: trI0 quI0 ver4 col0 mat1"},
               {3, 0, 0, "", "Mesh: trI0 quI0 ver3 col0 mat1"},
               {2, 0, 0, "", "Mesh: trI0 quI0 ver2 col0 mat0"},
               {0, 0, 0, "", "Mesh: trI0 quI0 ver0 col0 mat0"},
               {6, 2, 1, "nt", "Mesh: trI2 quI1 ver6(nt) col0 mat3"},
               {6, 2, 1, "n", "Mesh: trI2 quI1 ver6(n) col0 mat3"},
               {6, 2, 1, "tc", "Mesh: trI2 quI1 ver6(t) col6 mat3"}};
  for (const auto& c : cases) {
    Mesh mesh;
    mesh.resize(c.vertices, c.triangles, c.quads);
    if (c.enabled.find('n') != std::string::npos) mesh.enableNormals();
    if (c.enabled.find('t') != std::string::npos) mesh.enableTexCoords();
    if (c.enabled.find('c') != std::string::npos) mesh.enableColors();
    EXPECT_EQ(c.summary, text(mesh));
    for (const auto& handle : mesh.materials) EXPECT_FALSE(handle);
  }
}

// A mesh is sized again when the loader reuses it: what fits stays, the optional sequences
// start over, and growing takes storage for exactly the new count.
TEST(MeshTest, SecondResizeKeepsLeadingElementsAndEmptiesNormalsTexCoordsAndColors) {
  Mesh mesh;
  mesh.resize(4, 2, 1);
  mesh.enableNormals();
  mesh.enableTexCoords();
  mesh.enableColors();
  for (unsigned i = 0; i < 4; ++i) mesh.vertices[i].set(i, 1, 2);
  mesh.triangles[0].set(1, 2, 3);
  mesh.quads[0].set(0, 1, 2, 3);
  for (auto& slot : mesh.materials) slot.reset(new Material);
  const boost::shared_ptr<Material> first = mesh.materials[0];

  mesh.resize(3, 1, 0);
  EXPECT_EQ("Mesh: trI1 quI0 ver3 col0 mat1", text(mesh));
  EXPECT_EQ("0,1,2 1,1,2 2,1,2 | 1,2,3", text(mesh.vertices) + " | " + text(mesh.triangles));
  EXPECT_EQ(first, mesh.materials[0]);

  mesh.resize(5, 2, 2);
  mesh.enableTexCoords();
  mesh.enableColors();
  mesh.enableNormals();
  EXPECT_EQ("Mesh: trI2 quI2 ver5(nt) col5 mat4", text(mesh));
  EXPECT_EQ("0,1,2 1,1,2 2,1,2 0,0,0 0,0,0 | 1,2,3 0,0,0 | 0,0,0,0 0,0,0,0",
            text(mesh.vertices) + " | " + text(mesh.triangles) + " | " + text(mesh.quads));
  EXPECT_EQ(repeated("0,0,0", 5) + " | " + repeated("0,0", 5) + " | " + repeated("1,1,1,1", 5),
            text(mesh.normals) + " | " + text(mesh.texCoords) + " | " + text(mesh.colors));
  EXPECT_EQ(first, mesh.materials[0]);
  for (unsigned k = 1; k < 4; ++k) EXPECT_FALSE(mesh.materials[k]) << k;
  EXPECT_EQ(5u, mesh.vertices.capacity());
}

}  // namespace
