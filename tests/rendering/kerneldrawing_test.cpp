// Meshes, materials, textures and the light, drawn for real and read back.

#include <gtest/gtest.h>

#include <boost/make_shared.hpp>
#include <cmath>

#include "kernelwindow.h"
#include "rendering/glheaders.h"
#include "rendering/kernel.h"

namespace {

using Data::Geometry::Material;
using Data::Geometry::Mesh;
using TestSupport::describe;
using TestSupport::near;
using TestSupport::pixelAt;
using TestSupport::Rgb;

const float fillDistance = 1.0f / std::tan(22.5f * 3.14159265f / 180.0f);

// Where a point of the plane z = 0 lands on screen when the camera stands at
// fillDistance: the square from -1 to 1 fills the middle 480 x 480 pixels.
Rgb pixelOfPlane(float x, float y) {
  return pixelAt(static_cast<int>(320 + x * 240), static_cast<int>(240 + y * 240));
}

int count(const std::string& text, const std::string& word) {
  int n = 0;
  for (std::size_t at = text.find(word); at != std::string::npos; at = text.find(word, at + 1)) ++n;
  return n;
}

// Four squares in a row along x, each its own pair of triangles, of one mesh.
boost::shared_ptr<Mesh> rowOfSquares(const std::vector<boost::shared_ptr<Material>>& materials) {
  auto mesh = boost::make_shared<Mesh>();
  const int n = static_cast<int>(materials.size());
  mesh->resize(4 * n, 2 * n, 0);
  mesh->enableNormals();
  for (int s = 0; s < n; ++s) {
    const float left = -1 + 0.5f * s;
    const float corners[4][2] = {
        {left, -0.25f}, {left + 0.5f, -0.25f}, {left + 0.5f, 0.25f}, {left, 0.25f}};
    for (int c = 0; c < 4; ++c) {
      mesh->vertices[4 * s + c].set(corners[c][0], corners[c][1], 0);
      mesh->normals[4 * s + c].set(0, 0, 1);
    }
    mesh->triangles[2 * s].set(4 * s, 4 * s + 1, 4 * s + 2);
    mesh->triangles[2 * s + 1].set(4 * s, 4 * s + 2, 4 * s + 3);
    mesh->materials[2 * s] = materials[s];
    mesh->materials[2 * s + 1] = materials[s];
  }
  return mesh;
}

class KernelDrawingTest : public testing::Test {
 protected:
  void SetUp() override {
    kernel = TestSupport::openWindow();
    TestSupport::resetKernel();
    scene = TestSupport::makeScene("texLight", TestSupport::translation(0, 0, fillDistance));
  }
  Rendering::Kernel* kernel = nullptr;
  TestSupport::Scene scene;
};

// Three pixels wide: rows of 9 bytes, which GL's default 4-byte row alignment would
// read skewed.
const std::vector<Rgb> texels = {{255, 0, 0},   {0, 255, 0},   {0, 0, 255},
                                 {255, 255, 0}, {0, 255, 255}, {255, 0, 255}};

TEST_F(KernelDrawingTest, TexturedSquareShowsItsTextureColours) {
  auto material = TestSupport::makeMaterial(1, 1, 1);
  material->texture = TestSupport::makeTexture("texels", 3, 2, texels);
  scene.root->add(TestSupport::makeSquare(1, 0, material));
  kernel->display();

  for (int row = 0; row < 2; ++row) {
    for (int column = 0; column < 3; ++column) {
      const Rgb pixel = pixelOfPlane(-1 + (2 * column + 1) / 3.0f, -1 + (2 * row + 1) / 2.0f);
      EXPECT_TRUE(near(pixel, texels[3 * row + column], 12))
          << "texel " << column << "," << row << ": " << describe(pixel);
    }
  }
  GLint alignment = 0;
  glGetIntegerv(GL_UNPACK_ALIGNMENT, &alignment);
  EXPECT_EQ(alignment, 4);
}

TEST_F(KernelDrawingTest, TextureIsUploadedOncePerContextAndAgainAfterANewWindow) {
  auto material = TestSupport::makeMaterial(1, 1, 1);
  auto texture =
      TestSupport::makeTexture("once", 2, 2, {texels[0], texels[1], texels[2], texels[3]});
  material->texture = texture;
  scene.root->add(TestSupport::makeSquare(1, 0, material));

  testing::internal::CaptureStdout();
  kernel->display();
  kernel->display();
  std::string out = testing::internal::GetCapturedStdout();
  EXPECT_EQ(count(out, "loading texture: once\n"), 1) << out;
  EXPECT_EQ(count(out, "texture gl loaded 0 2/2\n"), 1) << out;
  EXPECT_TRUE(texture->uploaded);
  EXPECT_TRUE(glIsTexture(texture->glName));
  EXPECT_EQ(std::count(kernel->uploadedTextures.begin(), kernel->uploadedTextures.end(), texture),
            1);

  kernel->createWindow(false);
  EXPECT_FALSE(texture->uploaded);
  testing::internal::CaptureStdout();
  TestSupport::pumpEvents();  // the display task may draw meanwhile
  kernel->display();
  out = testing::internal::GetCapturedStdout();
  EXPECT_EQ(count(out, "loading texture: once\n"), 1) << out;
  EXPECT_TRUE(glIsTexture(texture->glName));
  EXPECT_TRUE(near(pixelOfPlane(-0.5f, -0.5f), texels[0], 12))
      << describe(pixelOfPlane(-0.5f, -0.5f));
}

TEST_F(KernelDrawingTest, EachRunOfFacesIsDrawnWithItsOwnMaterial) {
  auto a = TestSupport::makeMaterial(1, 0, 0);
  auto b = TestSupport::makeMaterial(0, 0, 1);
  auto sameAsA = TestSupport::makeMaterial(1, 0, 0);
  scene.root->add(rowOfSquares({a, a, b, sameAsA}));
  kernel->display();
  EXPECT_TRUE(near(pixelOfPlane(-0.75f, 0), {255, 0, 0})) << describe(pixelOfPlane(-0.75f, 0));
  EXPECT_TRUE(near(pixelOfPlane(-0.25f, 0), {255, 0, 0}));
  EXPECT_TRUE(near(pixelOfPlane(0.25f, 0), {0, 0, 255})) << describe(pixelOfPlane(0.25f, 0));
  EXPECT_TRUE(near(pixelOfPlane(0.75f, 0), {255, 0, 0})) << describe(pixelOfPlane(0.75f, 0));
}

TEST_F(KernelDrawingTest, ARunCrossingFromTrianglesIntoQuadsDrawsBoth) {
  // Triangles 0 and 1 make the left square, quad 0 the right one; faces 1 and 2 share B.
  auto mesh = rowOfSquares({TestSupport::makeMaterial(1, 0, 0), nullptr});
  auto b = TestSupport::makeMaterial(0, 1, 0);
  mesh->triangles.resize(2);
  mesh->quads.resize(1);
  mesh->quads[0].set(4, 5, 6, 7);
  mesh->materials.resize(3);
  mesh->materials[1] = b;
  mesh->materials[2] = b;
  scene.root->add(mesh);
  kernel->display();
  EXPECT_TRUE(near(pixelOfPlane(-0.85f, -0.15f), {255, 0, 0})) << "triangle 0 keeps A";
  EXPECT_TRUE(near(pixelOfPlane(-0.65f, 0.15f), {0, 255, 0})) << "triangle 1 is drawn with B";
  EXPECT_TRUE(near(pixelOfPlane(-0.25f, 0), {0, 255, 0})) << describe(pixelOfPlane(-0.25f, 0));
}

TEST_F(KernelDrawingTest, VertexColoursWinOverMaterials) {
  auto mesh = TestSupport::makeSquare(0.5f, 0, TestSupport::makeMaterial(0, 1, 0));
  mesh->enableColors();
  for (auto& colour : mesh->colors) colour.set(1, 0, 1, 1);
  scene.root->add(mesh);
  kernel->display();
  EXPECT_TRUE(near(pixelOfPlane(0, 0), {255, 0, 255})) << describe(pixelOfPlane(0, 0));
}

TEST_F(KernelDrawingTest, NonIndexedMeshDrawsOneTrianglePerThreeVertices) {
  auto mesh = boost::make_shared<Mesh>();
  mesh->resize(7, 0, 0);
  const float corners[7][2] = {{-1, -1}, {0, -1}, {-1, 0}, {0, 0}, {1, 0}, {0, 1}, {1, 1}};
  for (int i = 0; i < 7; ++i) mesh->vertices[i].set(corners[i][0], corners[i][1], 0);
  ASSERT_EQ(mesh->materials.size(), 2u);
  mesh->materials[0] = TestSupport::makeMaterial(1, 0, 0);
  mesh->materials[1] = TestSupport::makeMaterial(0, 0, 1);
  scene.root->add(mesh);
  kernel->display();
  EXPECT_TRUE(near(pixelOfPlane(-0.75f, -0.75f), {255, 0, 0}));
  EXPECT_TRUE(near(pixelOfPlane(0.25f, 0.25f), {0, 0, 255}))
      << describe(pixelOfPlane(0.25f, 0.25f));
  EXPECT_TRUE(near(pixelOfPlane(0.9f, 0.9f), {255, 255, 255})) << "the seventh vertex is unused";
}

TEST_F(KernelDrawingTest, FacesWithoutAMaterialKeepTheStateOfEarlierDrawing) {
  auto mesh = TestSupport::makeSquare(0.5f, 0, nullptr);
  kernel->viewports[0]->clearColor.set(0, 0, 0, 1);
  scene.root->add(TestSupport::makeSquare(0.2f, 0.1f, TestSupport::makeMaterial(0, 0, 1)));
  scene.root->add(mesh);
  kernel->display();
  EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
  // Drawn in the colour the previous mesh left: white.
  EXPECT_TRUE(near(pixelOfPlane(0.4f, 0.4f), {255, 255, 255}));
  EXPECT_TRUE(near(pixelOfPlane(0, 0), {0, 0, 255})) << describe(pixelOfPlane(0, 0));
}

TEST_F(KernelDrawingTest, AMeshWithoutMaterialEntriesDrawsNothing) {
  auto mesh = boost::make_shared<Mesh>();
  mesh->resize(3, 0, 0);
  mesh->vertices[0].set(-1, -1, 0);
  mesh->vertices[1].set(1, -1, 0);
  mesh->vertices[2].set(0, 1, 0);
  mesh->materials.clear();
  kernel->viewports[0]->clearColor.set(0, 0, 0, 1);
  scene.root->add(mesh);
  kernel->display();
  EXPECT_TRUE(near(pixelOfPlane(0, 0), {0, 0, 0}));
  EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
}

TEST_F(KernelDrawingTest, ShininessIsClampedToWhatGlTakes) {
  auto material = TestSupport::makeMaterial(1, 1, 1);
  material->shininess = 500;
  kernel->applyMaterial(material);
  GLfloat shininess = 0;
  glGetMaterialfv(GL_FRONT, GL_SHININESS, &shininess);
  EXPECT_EQ(shininess, 128);
  EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
}

TEST_F(KernelDrawingTest, ASquareFacingTheLightIsLitAndOneFacingAwayIsNot) {
  auto material = TestSupport::makeMaterial(1, 1, 1);
  scene.root->add(TestSupport::makeSquare(1, 0, material));
  TestSupport::addLight(scene, TestSupport::translation(0, 0, 5));
  kernel->display();
  const Rgb lit = pixelOfPlane(0, 0);

  TestSupport::resetKernel();
  scene = TestSupport::makeScene("texLight", TestSupport::translation(0, 0, fillDistance));
  scene.root->add(TestSupport::makeSquare(1, 0, material));
  TestSupport::addLight(scene, TestSupport::translation(0, 0, -5));
  kernel->display();
  const Rgb dark = pixelOfPlane(0, 0);

  EXPECT_GT(lit.r, 200) << describe(lit);
  EXPECT_LT(dark.r, 20) << describe(dark);
}

}  // namespace
