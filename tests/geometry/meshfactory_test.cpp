#include "data/geometry/meshfactory.h"

#include <gtest/gtest.h>

#include <string>

#include "geometry/printed.h"

namespace {

using namespace TestPrinted;

const char* const kCorners =
    "-0.5,0.5,0.5 0.5,0.5,0.5 -0.5,-0.5,0.5 0.5,-0.5,0.5 "
    "-0.5,0.5,-0.5 0.5,0.5,-0.5 -0.5,-0.5,-0.5 0.5,-0.5,-0.5";
// blue, red, green, black, black, green, red, blue
const char* const kCornerColors = "0,0,1,1 1,0,0,1 0,1,0,1 0,0,0,1 0,0,0,1 0,1,0,1 1,0,0,1 0,0,1,1";

// The coloured meshes draw with their vertex colours: one default material serves all faces,
// and the quad cube's normals stay zero. Every face winds counter-clockwise seen from outside.
TEST(MeshFactoryTest, SummaryVerticesColoursFacesAndSharedMaterialOfEveryMesh) {
  const struct {
    boost::shared_ptr<Mesh> (*create)();
    const char *summary, *vertices, *colors, *faces;
  } cases[] = {
      {createTriangleMesh, "Mesh: trI0 quI0 ver3 col3 mat1", "-0.5,-0.5,0 0.5,0,0 0,0.5,0",
       "0,0,1,1 0,1,1,1 1,1,1,1", ""},
      {createNamedColorCube, "Mesh: trI0 quI0 ver36(n) col0 mat12", nullptr, "", ""},
      {createIndexedTriangleCube, "Mesh: trI12 quI0 ver8 col8 mat12", kCorners, kCornerColors,
       "2,1,0 3,1,2 4,5,6 6,5,7 0,1,4 5,4,1 6,3,2 3,6,7 3,5,1 7,5,3 4,2,0 2,4,6"},
      {createQuadCube, "Mesh: trI0 quI6 ver8(n) col8 mat6", kCorners, kCornerColors,
       "3,1,0,2 4,5,7,6 0,1,5,4 3,2,6,7 3,7,5,1 4,6,2,0"}};
  for (const auto& c : cases) {
    const boost::shared_ptr<Mesh> mesh = c.create();
    EXPECT_EQ(c.summary, text(*mesh));
    if (c.vertices) {
      EXPECT_EQ(c.vertices, text(mesh->vertices)) << c.summary;
    }
    EXPECT_EQ(std::string(c.colors) + " | " + c.faces,
              text(mesh->colors) + " | " + text(mesh->triangles) + text(mesh->quads));
    EXPECT_NE(c.create()->materials[0], mesh->materials[0]) << c.summary;
    if (mesh->colors.empty()) continue;
    for (const auto& m : mesh->materials) EXPECT_TRUE(m && m == mesh->materials[0]) << c.summary;
    EXPECT_EQ("0,0,0,1 ", text(mesh->materials[0]->diffuse) + " " + mesh->materials[0]->name);
    EXPECT_EQ(repeated("0,0,0", mesh->normals.size()), text(mesh->normals)) << c.summary;
  }
}

// Drawn by runs of equal material handles, the named cube gives six runs of two faces.
TEST(MeshFactoryTest, NamedCubeHasSixSidesOfTwoFacesInSideOrder) {
  const struct {
    const char *name, *diffuse, *normal, *positions;
  } sides[] = {{"dark red", "0.5,0,0,1", "0,0,1",
                "0.5,-0.5,0.5 0.5,0.5,0.5 -0.5,-0.5,0.5 0.5,0.5,0.5 -0.5,0.5,0.5 -0.5,-0.5,0.5"},
               {"light red", "1,0,0,1", "0,0,-1",
                "-0.5,0.5,-0.5 0.5,0.5,-0.5 -0.5,-0.5,-0.5 "
                "0.5,0.5,-0.5 0.5,-0.5,-0.5 -0.5,-0.5,-0.5"},
               {"dark green", "0,0.5,0,1", "0,1,0",
                "-0.5,0.5,0.5 0.5,0.5,0.5 -0.5,0.5,-0.5 0.5,0.5,0.5 0.5,0.5,-0.5 -0.5,0.5,-0.5"},
               {"light green", "0,1,0,1", "0,-1,0",
                "0.5,-0.5,0.5 -0.5,-0.5,0.5 0.5,-0.5,-0.5 "
                "-0.5,-0.5,0.5 -0.5,-0.5,-0.5 0.5,-0.5,-0.5"},
               {"dark blue", "0,0,0.5,1", "1,0,0",
                "0.5,-0.5,0.5 0.5,-0.5,-0.5 0.5,0.5,0.5 0.5,-0.5,-0.5 0.5,0.5,-0.5 0.5,0.5,0.5"},
               {"light blue", "0,0,1,1", "-1,0,0",
                "-0.5,0.5,-0.5 -0.5,-0.5,-0.5 -0.5,0.5,0.5 "
                "-0.5,-0.5,-0.5 -0.5,-0.5,0.5 -0.5,0.5,0.5"}};
  const boost::shared_ptr<Mesh> mesh = createNamedColorCube();
  for (unsigned k = 0; k < 6; ++k) {
    const Material* material = mesh->materials[2 * k].get();
    ASSERT_TRUE(material);
    EXPECT_EQ(material, mesh->materials[2 * k + 1].get());
    EXPECT_NE(material, mesh->materials[(2 * k + 2) % 12].get());
    EXPECT_EQ(std::string(sides[k].name) + " " + sides[k].diffuse + " 0,0,0,1",
              material->name + " " + text(material->diffuse) + " " + text(material->specular));
    EXPECT_EQ(sides[k].positions, text(mesh->vertices, 6 * k, 6)) << k;
    EXPECT_EQ(repeated(sides[k].normal, 6), text(mesh->normals, 6 * k, 6)) << k;
  }
}

}  // namespace
