// Meshes, materials, textures and the light, drawn for real and read back.

#include <boost/make_shared.hpp>
#include <functional>

#include "kernelwindow.h"
#include "rendering/scenegraph/moveable.h"

namespace {

using namespace TestSupport;
using KernelDrawingTest = KernelTest;

const Rgb red{255, 0, 0}, green{0, 255, 0}, blue{0, 0, 255}, white{255, 255, 255}, black{0, 0, 0};

// Squares of side 0.5 in a row along x from -1, each two triangles of its own material.
MeshPtr rowOfSquares(const std::vector<MaterialPtr>& materials) {
  auto mesh = boost::make_shared<Data::Geometry::Mesh>();
  const int n = static_cast<int>(materials.size());
  mesh->resize(4 * n, 2 * n, 0);
  mesh->enableNormals();
  for (int s = 0; s < n; ++s) {
    const float left = -1 + 0.5f * s,
                corners[4][2] = {{0, -0.25f}, {0.5f, -0.25f}, {0.5f, 0.25f}, {0, 0.25f}};
    for (int c = 0; c < 4; ++c) {
      mesh->vertices[4 * s + c].set(left + corners[c][0], corners[c][1], 0);
      mesh->normals[4 * s + c].set(0, 0, 1);
    }
    mesh->triangles[2 * s].set(4 * s, 4 * s + 1, 4 * s + 2);
    mesh->triangles[2 * s + 1].set(4 * s, 4 * s + 2, 4 * s + 3);
    mesh->materials[2 * s] = mesh->materials[2 * s + 1] = materials[s];
  }
  return mesh;
}

struct Probe {
  float x, y;
  Rgb colour;
};
struct LayoutCase {
  const char* what;
  std::function<void(const GroupPtr&)> build;
  std::vector<Probe> probes;  // on a black background
};

const LayoutCase layouts[] = {
    {"each run of faces with its own material, equal materials apart",
     [](const GroupPtr& scene) {
       auto a = makeMaterial(1, 0, 0);
       scene->add(rowOfSquares({a, a, makeMaterial(0, 0, 1), makeMaterial(1, 0, 0)}));
     },
     {{-0.75f, 0, red}, {-0.25f, 0, red}, {0.25f, 0, blue}, {0.75f, 0, red}}},
    {"a run crossing from triangles into quads draws both",
     [](const GroupPtr& scene) {
       // Triangles 0 and 1 make the left square, quad 0 the next one; faces 1 and 2 share B.
       auto mesh = rowOfSquares({makeMaterial(1, 0, 0), nullptr});
       mesh->triangles.resize(2);
       mesh->quads.resize(1);
       mesh->quads[0].set(4, 5, 6, 7);
       mesh->materials.resize(3);
       mesh->materials[1] = mesh->materials[2] = makeMaterial(0, 1, 0);
       scene->add(mesh);
     },
     {{-0.85f, -0.15f, red}, {-0.65f, 0.15f, green}, {-0.25f, 0, green}}},
    {"without indices, one triangle per three vertices, the rest unused",
     [](const GroupPtr& scene) {
       auto mesh = boost::make_shared<Data::Geometry::Mesh>();
       mesh->resize(7, 0, 0);
       const float corners[7][2] = {{-1, -1}, {0, -1}, {-1, 0}, {0, 0}, {1, 0}, {0, 1}, {1, 1}};
       for (int i = 0; i < 7; ++i) mesh->vertices[i].set(corners[i][0], corners[i][1], 0);
       mesh->materials = {makeMaterial(1, 0, 0), makeMaterial(0, 0, 1)};
       scene->add(mesh);
     },
     {{-0.75f, -0.75f, red}, {0.25f, 0.25f, blue}, {0.9f, 0.9f, black}}},
    {"faces without a material keep the state the mesh before left (white)",
     [](const GroupPtr& scene) {
       scene->add(makeSquare(0.2f, 0.1f, makeMaterial(0, 0, 1)));
       scene->add(makeSquare(0.5f, 0, nullptr));
     },
     {{0.4f, 0.4f, white}, {0, 0, blue}}},
    {"a mesh without material entries draws nothing",
     [](const GroupPtr& scene) {
       auto mesh = makeSquare(0.5f, 0, nullptr);
       mesh->materials.clear();
       scene->add(mesh);
     },
     {{0, 0, black}}},
};

TEST_F(KernelDrawingTest, MeshLayoutsDrawTheirFacesInTheirColours) {
  for (const LayoutCase& layout : layouts) {
    SCOPED_TRACE(layout.what);
    scene = makeScene("texLight", translation(0, 0, fillDistance));
    kernel->viewports[0]->clearColor.set(0, 0, 0, 1);
    layout.build(scene);
    kernel->display();
    for (const Probe& probe : layout.probes) {
      EXPECT_TRUE(near(pixelOfPlane(probe.x, probe.y), probe.colour)) << probe.x << ", " << probe.y;
    }
    EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
  }
}

// Three texels wide: rows of 9 bytes, which GL's default 4-byte row alignment reads skewed.
TEST_F(KernelDrawingTest, TextureShowsItsColoursUploadedOncePerContextAndAgainAfterANewWindow) {
  const std::vector<Rgb> texels = {red, green, blue, {255, 255, 0}, {0, 255, 255}, {255, 0, 255}};
  auto material = makeMaterial(1, 1, 1);
  auto texture = material->texture = makeTexture("texels", 3, 2, texels);
  scene->add(makeSquare(1, 0, material));
  for (int window = 0; window < 2; ++window) {
    const std::string out = stdoutOf([&] {
      if (window == 1) {
        kernel->createWindow(false);
        EXPECT_FALSE(texture->uploaded);
        EXPECT_TRUE(kernel->uploadedTextures.empty());
        waitForWindow();  // the display task may draw meanwhile
      }
      kernel->display();
      kernel->display();
    });
    EXPECT_EQ(occurrences(out, "loading texture: texels\n"), 1) << out;
    EXPECT_EQ(occurrences(out, "texture gl loaded 0 3/2\n"), 1) << out;
    for (int i = 0; i < 6; ++i) {
      const Rgb pixel = pixelOfPlane(-1 + (2 * (i % 3) + 1) / 3.0f, -0.5f + i / 3);
      EXPECT_TRUE(near(pixel, texels[i], 12)) << "texel " << i << " in window " << window;
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

TEST_F(KernelDrawingTest, ASquareFacingTheLightIsLitAndOneFacingAwayIsNot) {
  scene->add(makeSquare(1, 0, makeMaterial(1, 1, 1)));
  const LeafPtr light = addLight(scene, translation(0, 0, 5));
  kernel->display();
  const Rgb lit = pixelOfPlane(0, 0);
  light->transform->setMatrix(translation(0, 0, -5));
  kernel->display();
  const Rgb dark = pixelOfPlane(0, 0);
  EXPECT_GT(lit.r, 200) << lit;
  EXPECT_LT(dark.r, 20) << dark;
}

}  // namespace
