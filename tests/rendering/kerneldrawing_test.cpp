// Meshes, materials and textures, drawn for real and read back.

#include <functional>

#include "kernelwindow.h"

namespace {

using namespace TestSupport;
using KernelDrawingTest = KernelTest;

const Rgb red{255, 0, 0}, green{0, 255, 0}, blue{0, 0, 255}, black{0, 0, 0};

// A red square of side 2 (lower right triangle first), changed, drawn unlit on black.
const struct {
  const char* what;
  std::function<void(Data::Geometry::Mesh&)> change;
  Rgb lowerRight, upperLeft;
} layouts[] = {
    {"each run of faces in its own material",
     [](Data::Geometry::Mesh& m) { m.materials[1] = makeMaterial(0, 0, 1); }, red, blue},
    {"faces without a material keep the state the run before left",
     [](Data::Geometry::Mesh& m) { m.materials[1].reset(); }, red, red},
    {"a mesh without material entries draws nothing",
     [](Data::Geometry::Mesh& m) { m.materials.clear(); }, black, black},
    {"normals short of the vertices are left out, faces beyond the materials not drawn",
     [](Data::Geometry::Mesh& m) {
       m.normals.resize(1);
       m.materials.resize(1);
     },
     red, black},
};

TEST_F(KernelDrawingTest, MeshLayoutsDrawTheirFacesInTheirColours) {
  kernel->viewports[0]->clearColor.set(0, 0, 0, 1);
  for (const auto& layout : layouts) {
    SCOPED_TRACE(layout.what);
    MeshPtr mesh = makeSquare(1, 0, makeMaterial(1, 0, 0));
    layout.change(*mesh);
    scene = makeScene("texLight", translation(0, 0, fillDistance));
    scene->add(mesh);
    kernel->display();
    EXPECT_TRUE(near(pixelOfPlane(0.5f, -0.5f), layout.lowerRight));
    EXPECT_TRUE(near(pixelOfPlane(-0.5f, 0.5f), layout.upperLeft));
    EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
  }
}

// Three texels wide: rows of 9 bytes, which GL's default 4-byte row alignment reads skewed.
TEST_F(KernelDrawingTest, TextureShowsItsColoursUploadedOncePerContextAndAgainAfterANewWindow) {
  const Rgb texels[] = {red, green, blue, {255, 255, 0}, {0, 255, 255}, {255, 0, 255}};
  auto material = makeMaterial(1, 1, 1);
  auto texture = material->texture = boost::make_shared<Data::Geometry::Texture>();
  texture->name = "texels";
  texture->width = 3;
  texture->height = 2;
  texture->data.reset(new unsigned char[18]);
  for (int i = 0; i < 18; ++i) {
    const Rgb& t = texels[i / 3];
    texture->data[i] = static_cast<unsigned char>(i % 3 == 0 ? t.b : i % 3 == 1 ? t.g : t.r);
  }
  scene->add(makeSquare(1, 0, material));
  for (int window = 0; window < 2; ++window) {
    testing::internal::CaptureStdout();
    if (window == 1) {
      kernel->createWindow(false);
      waitForWindow();  // the display task may draw meanwhile
    }
    kernel->display();
    kernel->display();
    const std::string out = testing::internal::GetCapturedStdout();
    EXPECT_EQ(occurrences(out, "loading texture: texels\n"), 1) << out;
    EXPECT_EQ(occurrences(out, "texture gl loaded 0 3/2\n"), 1) << out;
    for (int i = 0; i < 6; ++i) {
      EXPECT_TRUE(near(pixelOfPlane(-1 + (2 * (i % 3) + 1) / 3.0f, -0.5f + i / 3), texels[i], 12));
    }
  }
  GLint alignment = 0;
  glGetIntegerv(GL_UNPACK_ALIGNMENT, &alignment);
  EXPECT_EQ(alignment, 4);
}

TEST_F(KernelDrawingTest, ShininessIsClampedToWhatGlTakes) {
  auto material = makeMaterial(1, 1, 1);
  material->shininess = 500;
  kernel->applyMaterial(material);
  GLfloat shininess = 0;
  glGetMaterialfv(GL_FRONT, GL_SHININESS, &shininess);
  EXPECT_EQ(shininess, 128);
}

}  // namespace
