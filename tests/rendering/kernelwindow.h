#pragma once
// The kernel's window in a rendering test program, opened once, and what the tests draw.

#include <gtest/gtest.h>

#include <boost/make_shared.hpp>
#include <cmath>
#include <regex>
#include <string>

#include "data/geometry/meshfactory.h"
#include "rendering/kernel.h"
#include "rendering/scenegraph/groupnode.h"
#include "rendering/scenegraph/leafnode.h"
#include "rendering/scenegraph/moveable.h"
#include "rendering/scenegraph/statechanging.h"
#include "rendering/viewport.h"
#include "support/glwindow.h"

namespace TestSupport {

using Matrix = Data::Geometry::TMatrix4<float>;
using MaterialPtr = boost::shared_ptr<Data::Geometry::Material>;
using MeshPtr = boost::shared_ptr<Data::Geometry::Mesh>;
using GroupPtr = boost::shared_ptr<Rendering::Scenegraph::GroupNode>;

// A new window (or game mode), on screen, with the viewports sized to it.
inline void newWindow(bool gameMode = false) {
  Rendering::Kernel::instance()->setGameMode(gameMode);
  waitForWindow();
  Rendering::Kernel::instance()->reshape(glutGet(GLUT_WINDOW_WIDTH), glutGet(GLUT_WINDOW_HEIGHT));
}

// From here a square from -1 to 1 at z = 0 just fills the middle 480 x 480 pixels.
inline const float fillDistance = 1.0f / std::tan(22.5f * 3.14159265f / 180.0f);
// The pixel showing point (x, y) of the plane z = 0 seen from fillDistance.
inline Rgb pixelOfPlane(float x, float y) {
  return pixelAt(static_cast<int>(320 + x * 240), static_cast<int>(240 + y * 240));
}

inline int occurrences(const std::string& text, const std::string& word) {
  int n = 0;
  for (std::size_t at = text.find(word); at != std::string::npos; at = text.find(word, at + 1)) ++n;
  return n;
}

// Log lines with the line numbers of their prefixes left out: "kernel.cpp: init renderer:".
inline std::string withoutLineNumbers(const std::string& text) {
  return std::regex_replace(text, std::regex("\\.cpp,[0-9]+: "), ".cpp: ");
}

// What f writes on standard output and on standard error, line numbers left out.
template <typename F>
std::pair<std::string, std::string> outputOf(F f) {
  testing::internal::CaptureStdout();
  testing::internal::CaptureStderr();
  f();
  const std::string err = withoutLineNumbers(testing::internal::GetCapturedStderr());
  return {withoutLineNumbers(testing::internal::GetCapturedStdout()), err};
}

inline GLint glInt(GLenum name) {
  GLint value = 0;
  glGetIntegerv(name, &value);
  return value;
}

inline std::string startUpOutput;

// The kernel after init, its 640 x 480 window on screen.
inline Rendering::Kernel* openKernelWindow() {
  static Rendering::Kernel* const kernel = [] {
    static char* argv[] = {const_cast<char*>("rendering_test"), nullptr};
    testing::internal::CaptureStdout();  // not standard error, which death tests read
    Rendering::Kernel::instance()->init(1, argv);
    startUpOutput = withoutLineNumbers(testing::internal::GetCapturedStdout());
    keepGlDriverLoaded();
    waitForWindow();
    Rendering::Kernel::instance()->reshape(640, 480);
    return Rendering::Kernel::instance();
  }();
  return kernel;
}

inline Matrix translation(float x, float y, float z) { return Matrix().setTranslation(x, y, z); }

// The 16 floats of a matrix in storage order, and the first n of a uniform of the current
// program (a sampler's unit too).
inline std::vector<float> floats(const Matrix& m) { return {m[0], m[0] + 16}; }
inline std::vector<float> uniform(const char* name, int n = 16) {
  const GLint program = glInt(GL_CURRENT_PROGRAM);
  GLfloat v[16] = {};
  glGetUniformfv(program, glGetUniformLocation(program, name), v);
  return {v, v + n};
}

template <typename NodePtr>
void place(const NodePtr& node, const Matrix& m) {
  node->transform = boost::make_shared<Rendering::Scenegraph::Moveable>();
  node->transform->setMatrix(m);
}

template <typename Item>
auto addAt(const GroupPtr& parent, const Item& item, const Matrix& m,
           const char* program = nullptr) {
  auto node = parent->add(item);
  place(node, m);
  if (program) node->state = boost::make_shared<Rendering::Scenegraph::StateChanging>(program);
  return node;
}

inline MaterialPtr makeMaterial(float r, float g, float b, float ambient = 0) {
  auto material = boost::make_shared<Data::Geometry::Material>();
  material->diffuse.set(r, g, b, 1);
  material->ambient.set(ambient, ambient, ambient, 1);
  return material;
}

// A square from -half to half in the plane z = 0, facing +z, of two triangles: lower right first.
inline MeshPtr makeSquare(float half, const MaterialPtr& material) {
  auto mesh = boost::make_shared<Data::Geometry::Mesh>();
  mesh->resize(4, 2, 0);
  mesh->enableNormals();
  mesh->enableTexCoords();
  const float corners[4][2] = {{-1, -1}, {1, -1}, {1, 1}, {-1, 1}};
  for (int i = 0; i < 4; ++i) {
    mesh->vertices[i].set(corners[i][0] * half, corners[i][1] * half, 0);
    mesh->normals[i].set(0, 0, 1);
    mesh->texCoords[i].set((corners[i][0] + 1) / 2, (corners[i][1] + 1) / 2);
  }
  mesh->triangles[0].set(0, 1, 2);
  mesh->triangles[1].set(0, 2, 3);
  mesh->materials.assign(2, material);
  return mesh;
}

// A scene in every viewport, drawn with the program if one is named, with viewport 0's camera.
inline GroupPtr makeScene(const char* program, const Matrix& camera) {
  Rendering::Kernel* kernel = openKernelWindow();
  auto scene = boost::make_shared<Rendering::Scenegraph::GroupNode>();
  if (program) scene->state = boost::make_shared<Rendering::Scenegraph::StateChanging>(program);
  place(scene->add(kernel->viewports[0]->camera), camera);
  for (const auto& viewport : kernel->viewports) viewport->camera->scene = scene;
  return scene;
}

// A plate at (2, 2, 1) outside any state change, then drawn with the program a grey floor (half
// size 3, z = 0) lit from (0, 0, 8), its underside 0.01 below it, a square of it at (5, 0, -2)
// and optionally a box at (0, 0, 3) drawn with "texLight". Plate and underside face away from
// the light. The camera sees the floor's centre in the window's middle.
inline GroupPtr makeShadowScene(bool withBox, const char* program = "texLightSM") {
  GroupPtr root =
      makeScene(nullptr, translation(0, -8, 6) * Matrix().setRotationX(std::atan2(0.8f, 0.6f)));
  const Matrix away = Matrix().setRotationX(3.14159265f);
  addAt(root, makeSquare(0.5f, makeMaterial(1, 1, 1)), translation(2, 2, 1) * away);
  GroupPtr lit = addAt(root, boost::make_shared<Rendering::Scenegraph::GroupNode>(),
                       Matrix::identity(), program);
  addAt(lit, boost::make_shared<Data::Geometry::Light>(), translation(0, 0, 8));
  MaterialPtr floor = makeMaterial(0.8f, 0.8f, 0.8f, 0.1f);
  lit->add(makeSquare(3, floor));
  addAt(lit, makeSquare(3, makeMaterial(1, 1, 1)), translation(0, 0, -0.01f) * away);
  addAt(lit, makeSquare(0.5f, floor), translation(5, 0, -2));  // beyond the light's view
  if (withBox) addAt(lit, Data::Geometry::createQuadCube(), translation(0, 0, 3), "texLight");
  return root;
}

// Each test starts with one viewport, identity matrices, no GL error, a "texLight" scene.
class KernelTest : public testing::Test {
 protected:
  void SetUp() override {
    kernel = openKernelWindow();
    for (const auto& viewport : kernel->viewports)
      if (viewport->camera) viewport->camera->scene = GroupPtr();  // it holds its own camera
    kernel->viewports.assign(1, boost::make_shared<Rendering::Viewport>());
    kernel->reshape(640, 480);
    kernel->shaderLocked = false;
    kernel->matrixStack.clear();
    kernel->uploadedTextures.clear();
    kernel->viewMatrix = kernel->modelMatrix = Matrix::identity();
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    glActiveTexture(GL_TEXTURE0);  // materials without a texture show the default one
    glBindTexture(GL_TEXTURE_2D, 0);
    while (glGetError() != GL_NO_ERROR) continue;
    scene = makeScene("texLight", translation(0, 0, fillDistance));
  }

  Rendering::Kernel* kernel = nullptr;
  GroupPtr scene;
};

}  // namespace TestSupport
