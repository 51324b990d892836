#include "data/geometry/mesh.h"

#include <gtest/gtest.h>

#include <sstream>
#include <string>

namespace {

// Without faces the vertices are drawn three at a time, one material slot for each three.
TEST(MeshTest, ResizeGivesOneEmptyMaterialSlotPerFaceAndTheSummaryShowsTheLayout) {
  const struct {
    unsigned vertices, triangles, quads;
    std::string enabled, summary;
  } cases[] = {{8, 12, 0, "", "Mesh: trI12 quI0 ver8 col0 mat12"},
               {8, 2, 3, "", "Mesh: trI2 quI3 ver8 col0 mat5"},
               {36, 0, 0, "", "Mesh: trI0 quI0 ver36 col0 mat12"},
               {2, 0, 0, "", "Mesh: trI0 quI0 ver2 col0 mat0"},
               {6, 2, 1, "nt", "Mesh: trI2 quI1 ver6(nt) col0 mat3"},
               {6, 2, 1, "n", "Mesh: trI2 quI1 ver6(n) col0 mat3"},
               {6, 2, 1, "tc", "Mesh: trI2 quI1 ver6(t) col6 mat3"}};
  for (const auto& c : cases) {
    Data::Geometry::Mesh mesh;
    mesh.resize(c.vertices, c.triangles, c.quads);
    if (c.enabled.find('n') != std::string::npos) mesh.enableNormals();
    if (c.enabled.find('t') != std::string::npos) mesh.enableTexCoords();
    if (c.enabled.find('c') != std::string::npos) mesh.enableColors();
    std::ostringstream summary;
    summary << mesh;
    EXPECT_EQ(c.summary, summary.str());
    for (const auto& handle : mesh.materials) EXPECT_FALSE(handle);
  }
}

}  // namespace
