#include "data/geometry/meshfactory.h"

#include <gtest/gtest.h>

#include "geometry/printed.h"

namespace {

using namespace TestPrinted;

const char* const kCorners =
    "-0.5,0.5,0.5 0.5,0.5,0.5 -0.5,-0.5,0.5 0.5,-0.5,0.5 "
    "-0.5,0.5,-0.5 0.5,0.5,-0.5 -0.5,-0.5,-0.5 0.5,-0.5,-0.5";
const char* const kCornerColors = "0,0,1,1 1,0,0,1 0,1,0,1 0,0,0,1 0,0,0,1 0,1,0,1 1,0,0,1 0,0,1,1";

// The coloured meshes draw with their vertex colours: one new material per mesh serves all faces,
// and the quad cube's normals stay zero. Every face winds counter-clockwise seen from outside.
TEST(MeshFactoryTest, SummaryVerticesColoursFacesAndSharedMaterialOfEveryMesh) {
  const struct {
    boost::shared_ptr<Mesh> (*create)();
    std::string summary, vertices, colors, faces;
  } cases[] = {
      {createTriangleMesh, "Mesh: trI0 quI0 ver3 col3 mat1", "-0.5,-0.5,0 0.5,0,0 0,0.5,0",
       "0,0,1,1 0,1,1,1 1,1,1,1", ""},
      {createIndexedTriangleCube, "Mesh: trI12 quI0 ver8 col8 mat12", kCorners, kCornerColors,
       "2,1,0 3,1,2 4,5,6 6,5,7 0,1,4 5,4,1 6,3,2 3,6,7 3,5,1 7,5,3 4,2,0 2,4,6"},
      {createQuadCube, "Mesh: trI0 quI6 ver8(n) col8 mat6", kCorners, kCornerColors,
       "3,1,0,2 4,5,7,6 0,1,5,4 3,2,6,7 3,7,5,1 4,6,2,0"}};
  for (const auto& c : cases) {
    const boost::shared_ptr<Mesh> mesh = c.create();
    EXPECT_EQ(fields(c.summary, c.vertices, "|", c.colors, "|", c.faces),
              fields(*mesh, mesh->vertices, "|", mesh->colors, "|",
                     text(mesh->triangles) + text(mesh->quads)));
    EXPECT_EQ(repeated("0,0,0", mesh->normals.size()), text(mesh->normals)) << c.summary;
    ASSERT_EQ(repeated("0", mesh->materials.size()), slots(*mesh)) << c.summary;
    EXPECT_NE(c.create()->materials[0], mesh->materials[0]) << c.summary;
  }
}

// Drawn by runs of equal material handles, the named cube gives six runs of two faces, each
// side two triangles between corners of the indexed cube.
TEST(MeshFactoryTest, NamedCubeHasSixSidesOfTwoFacesInSideOrder) {
  const boost::shared_ptr<Mesh> mesh = createNamedColorCube(), cube = createIndexedTriangleCube();
  ASSERT_EQ("0 0 2 2 4 4 6 6 8 8 10 10", slots(*mesh));
  std::vector<TVector3<float>> corners;
  for (const char k : std::string("312102 456576 014154 327267 371751 460620"))
    if (k != ' ') corners.push_back(cube->vertices[k - '0']);
  EXPECT_EQ(text(corners), text(mesh->vertices));
  std::vector<std::string> sides;
  for (unsigned k = 0; k < 12; k += 2)
    sides.push_back(mesh->materials[k]->name + " " + text(mesh->materials[k]->diffuse));
  EXPECT_EQ(
      "dark red 0.5,0,0,1 light red 1,0,0,1 dark green 0,0.5,0,1 light green 0,1,0,1 "
      "dark blue 0,0,0.5,1 light blue 0,0,1,1",
      text(sides));
  EXPECT_EQ(fields(repeated("0,0,1", 6), repeated("0,0,-1", 6), repeated("0,1,0", 6),
                   repeated("0,-1,0", 6), repeated("1,0,0", 6), repeated("-1,0,0", 6)),
            text(mesh->normals));
}

}  // namespace
