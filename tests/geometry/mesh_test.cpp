#include "data/geometry/mesh.h"

#include <gtest/gtest.h>

#include "geometry/printed.h"

namespace {

using namespace TestPrinted;

// Without faces the vertices are drawn three at a time, one material slot for each three.
TEST(MeshTest, ResizeGivesOneEmptyMaterialSlotPerFaceAndTheSummaryShowsTheLayout) {
  Mesh mesh;
  mesh.resize(4, 0, 0);
  EXPECT_EQ("Mesh: trI0 quI0 ver4 col0 mat1 -", fields(mesh, slots(mesh)));
  mesh.resize(6, 2, 1);
  mesh.enableTexCoords();
  mesh.enableColors();
  EXPECT_EQ("Mesh: trI2 quI1 ver6(t) col6 mat3 - - -", fields(mesh, slots(mesh)));
}

// A mesh is sized again when the loader reuses it: what fits stays, the optional sequences
// start over, and growing takes storage for exactly the new count.
TEST(MeshTest, SecondResizeKeepsLeadingElementsAndEmptiesNormalsTexCoordsAndColors) {
  Mesh mesh;
  mesh.resize(4, 2, 1);
  mesh.enableNormals();
  mesh.enableTexCoords();
  mesh.enableColors();
  EXPECT_EQ("Mesh: trI2 quI1 ver4(nt) col4 mat3", text(mesh));
  for (unsigned i = 0; i < 4; ++i) mesh.vertices[i].set(i, 1, 2);
  mesh.triangles[0].set(1, 2, 3);
  for (auto& slot : mesh.materials) slot.reset(new Material);
  mesh.resize(3, 1, 0);
  mesh.resize(5, 2, 2);
  EXPECT_EQ("Mesh: trI2 quI2 ver5 col0 mat4 0 - - - | 0,1,2 1,1,2 2,1,2 0,0,0 0,0,0 | 1,2,3 0,0,0",
            fields(mesh, slots(mesh), "|", mesh.vertices, "|", mesh.triangles));
  EXPECT_EQ(5u, mesh.vertices.capacity());
}

}  // namespace
