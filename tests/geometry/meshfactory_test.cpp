#include "data/geometry/meshfactory.h"

#include <gtest/gtest.h>

#include "geometry/printed.h"

namespace {

using namespace TestPrinted;

const char* const kCorners[8] = {"-0.5,0.5,0.5",   "0.5,0.5,0.5",   "-0.5,-0.5,0.5",
                                 "0.5,-0.5,0.5",   "-0.5,0.5,-0.5", "0.5,0.5,-0.5",
                                 "-0.5,-0.5,-0.5", "0.5,-0.5,-0.5"};
// blue, red, green, black, black, green, red, blue
const char* const kCornerColors = "0,0,1,1 1,0,0,1 0,1,0,1 0,0,0,1 0,0,0,1 0,1,0,1 1,0,0,1 0,0,1,1";

// The cube corners with the given digits as text, in that order.
std::string corners(const std::string& digits) {
  std::vector<std::string> points;
  for (const char digit : digits)
    if (digit != ' ') points.push_back(kCorners[digit - '0']);
  return text(points);
}

// The coloured meshes draw with their vertex colours: one new default material serves all faces,
// and the quad cube's normals stay zero. Every face winds counter-clockwise seen from outside.
TEST(MeshFactoryTest, SummaryVerticesColoursFacesAndSharedMaterialOfEveryMesh) {
  const struct {
    boost::shared_ptr<Mesh> (*create)();
    std::string summary, vertices, colors, faces;
  } cases[] = {
      {createTriangleMesh, "Mesh: trI0 quI0 ver3 col3 mat1", "-0.5,-0.5,0 0.5,0,0 0,0.5,0",
       "0,0,1,1 0,1,1,1 1,1,1,1", ""},
      {createIndexedTriangleCube, "Mesh: trI12 quI0 ver8 col8 mat12", corners("01234567"),
       kCornerColors, "2,1,0 3,1,2 4,5,6 6,5,7 0,1,4 5,4,1 6,3,2 3,6,7 3,5,1 7,5,3 4,2,0 2,4,6"},
      {createQuadCube, "Mesh: trI0 quI6 ver8(n) col8 mat6", corners("01234567"), kCornerColors,
       "3,1,0,2 4,5,7,6 0,1,5,4 3,2,6,7 3,7,5,1 4,6,2,0"}};
  for (const auto& c : cases) {
    const boost::shared_ptr<Mesh> mesh = c.create();
    EXPECT_EQ(fields(c.summary, c.vertices, "|", c.colors, "|", c.faces),
              fields(*mesh, mesh->vertices, "|", mesh->colors, "|",
                     text(mesh->triangles) + text(mesh->quads)));
    EXPECT_EQ(repeated("0,0,0", mesh->normals.size()), text(mesh->normals)) << c.summary;
    ASSERT_EQ(repeated("0", mesh->materials.size()), slots(*mesh)) << c.summary;
    EXPECT_EQ("0,0,0,1 ", text(mesh->materials[0]->diffuse) + " " + mesh->materials[0]->name);
    EXPECT_NE(c.create()->materials[0], mesh->materials[0]) << c.summary;
  }
}

// Drawn by runs of equal material handles, the named cube gives six runs of two faces; each
// side's six vertices share its outward normal.
TEST(MeshFactoryTest, NamedCubeHasSixSidesOfTwoFacesInSideOrder) {
  const boost::shared_ptr<Mesh> mesh = createNamedColorCube();
  ASSERT_EQ("0 0 2 2 4 4 6 6 8 8 10 10", slots(*mesh));
  EXPECT_EQ(corners("312102 456576 014154 327267 371751 460620"), text(mesh->vertices));
  std::string sides, normals;
  for (unsigned k = 0; k < 6; ++k) {
    const Material& material = *mesh->materials[2 * k];
    sides += material.name + " " + fields(material.diffuse, mesh->normals[6 * k], "| ");
    normals += (k ? " " : "") + repeated(text(mesh->normals[6 * k]), 6);
  }
  EXPECT_EQ(
      "dark red 0.5,0,0,1 0,0,1 | light red 1,0,0,1 0,0,-1 | dark green 0,0.5,0,1 0,1,0 | "
      "light green 0,1,0,1 0,-1,0 | dark blue 0,0,0.5,1 1,0,0 | light blue 0,0,1,1 -1,0,0 | ",
      sides);
  EXPECT_EQ(normals, text(mesh->normals));
}

}  // namespace
