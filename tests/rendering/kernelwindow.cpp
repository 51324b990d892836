#include "kernelwindow.h"

#include <gtest/gtest.h>

#include <boost/make_shared.hpp>
#include <chrono>
#include <cmath>
#include <cstdlib>
#include <sstream>
#include <thread>

#include "data/geometry/meshfactory.h"
#include "rendering/glheaders.h"

namespace TestSupport {

namespace {

std::string& initText() {
  static std::string text;
  return text;
}

void sizeViewports(Rendering::Kernel* kernel) {
  kernel->reshape(glutGet(GLUT_WINDOW_WIDTH), glutGet(GLUT_WINDOW_HEIGHT));
}

}  // namespace

Rendering::Kernel* openWindow() {
  static Rendering::Kernel* kernel = nullptr;
  if (kernel) return kernel;
  static char name[] = "rendering_test";
  static char* argv[] = {name, nullptr};
  testing::internal::CaptureStdout();
  Rendering::Kernel::instance()->init(1, argv);
  initText() = testing::internal::GetCapturedStdout();
  kernel = Rendering::Kernel::instance();
  keepGlDriverLoaded();
  waitForWindow();
  sizeViewports(kernel);
  return kernel;
}

const std::string& initOutput() {
  openWindow();
  return initText();
}

void pumpEvents() {
  Rendering::Kernel* kernel = openWindow();
  waitForWindow();
  sizeViewports(kernel);
}

void resetKernel() {
  Rendering::Kernel* kernel = openWindow();
  // A scene that holds its own camera holds itself; letting go of the root breaks that.
  for (const auto& viewport : kernel->viewports) {
    viewport->camera->scene = boost::make_shared<Rendering::Scenegraph::GroupNode>();
  }
  kernel->viewports.resize(1);
  kernel->viewports[0] = boost::make_shared<Rendering::Viewport>();
  sizeViewports(kernel);
  kernel->shaderLocked = false;
  kernel->matrixStack.clear();
  kernel->viewMatrix = Data::Geometry::TMatrix4<float>::identity();
  kernel->modelMatrix = Data::Geometry::TMatrix4<float>::identity();
  kernel->doubleBuffered = true;
  glMatrixMode(GL_MODELVIEW);
  glLoadIdentity();
  // Materials without a texture show whatever unit 0 holds: the default texture.
  glActiveTexture(GL_TEXTURE0);
  glBindTexture(GL_TEXTURE_2D, 0);
  while (glGetError() != GL_NO_ERROR) {
  }
}

std::string describe(const Rgb& pixel) {
  std::ostringstream text;
  text << pixel;
  return text.str();
}

boost::shared_ptr<Data::Geometry::Mesh> makeSquare(
    float half, float z, boost::shared_ptr<Data::Geometry::Material> material) {
  auto mesh = boost::make_shared<Data::Geometry::Mesh>();
  mesh->resize(4, 2, 0);
  mesh->enableNormals();
  mesh->enableTexCoords();
  const float corners[4][2] = {{-1, -1}, {1, -1}, {1, 1}, {-1, 1}};
  for (int i = 0; i < 4; ++i) {
    mesh->vertices[i].set(corners[i][0] * half, corners[i][1] * half, z);
    mesh->normals[i].set(0, 0, 1);
    mesh->texCoords[i].set((corners[i][0] + 1) / 2, (corners[i][1] + 1) / 2);
  }
  mesh->triangles[0].set(0, 1, 2);
  mesh->triangles[1].set(0, 2, 3);
  mesh->materials[0] = material;
  mesh->materials[1] = material;
  return mesh;
}

boost::shared_ptr<Data::Geometry::Material> makeMaterial(float r, float g, float b) {
  auto material = boost::make_shared<Data::Geometry::Material>();
  material->diffuse.set(r, g, b, 1);
  return material;
}

boost::shared_ptr<Data::Geometry::Texture> makeTexture(const std::string& name, int width,
                                                       int height, const std::vector<Rgb>& pixels) {
  auto texture = boost::make_shared<Data::Geometry::Texture>();
  texture->name = name;
  texture->width = width;
  texture->height = height;
  texture->data.reset(new unsigned char[static_cast<std::size_t>(width) * height * 3]);
  for (int i = 0; i < width * height; ++i) {
    texture->data[3 * i] = static_cast<unsigned char>(pixels[i].b);
    texture->data[3 * i + 1] = static_cast<unsigned char>(pixels[i].g);
    texture->data[3 * i + 2] = static_cast<unsigned char>(pixels[i].r);
  }
  return texture;
}

Scene makeScene(const std::string& program, const Data::Geometry::TMatrix4<float>& cameraMatrix) {
  Rendering::Kernel* kernel = openWindow();
  Scene scene;
  scene.root = boost::make_shared<Rendering::Scenegraph::GroupNode>();
  scene.root->state = boost::make_shared<Rendering::Scenegraph::StateChanging>(program);
  scene.cameraLeaf = scene.root->add(kernel->viewports[0]->camera);
  scene.cameraLeaf->transform = boost::make_shared<Rendering::Scenegraph::Moveable>();
  scene.cameraLeaf->transform->setMatrix(cameraMatrix);
  showInAllViewports(scene);
  return scene;
}

void showInAllViewports(const Scene& scene) {
  for (const auto& viewport : openWindow()->viewports) viewport->camera->scene = scene.root;
}

boost::shared_ptr<Rendering::Scenegraph::LeafNode> addLight(
    const Scene& scene, const Data::Geometry::TMatrix4<float>& m) {
  auto leaf = scene.root->add(boost::make_shared<Data::Geometry::Light>());
  leaf->transform = boost::make_shared<Rendering::Scenegraph::Moveable>();
  leaf->transform->setMatrix(m);
  return leaf;
}

Scene makeShadowScene(bool withBox, boost::shared_ptr<Data::Geometry::Material> floor) {
  Data::Geometry::TMatrix4<float> camera = translation(0, -8, 6);
  Data::Geometry::TMatrix4<float> tilt;
  tilt.setRotationX(std::atan2(0.8f, 0.6f));
  camera *= tilt;
  Scene scene = makeScene("texLightSM", camera);
  addLight(scene, translation(0, 0, 8));
  scene.root->add(makeSquare(3, 0, floor));
  if (withBox) {
    auto box = scene.root->add(Data::Geometry::createQuadCube());
    box->transform = boost::make_shared<Rendering::Scenegraph::Moveable>();
    box->transform->setMatrix(translation(0, 0, 3));
  }
  return scene;
}

Data::Geometry::TMatrix4<float> translation(float x, float y, float z) {
  Data::Geometry::TMatrix4<float> m;
  m.setTranslation(x, y, z);
  return m;
}

Data::Geometry::TMatrix4<float> glMatrix(GLenum which) {
  Data::Geometry::TMatrix4<float> m;
  glGetFloatv(which, m[0]);
  return m;
}

bool nearMatrix(const Data::Geometry::TMatrix4<float>& a, const Data::Geometry::TMatrix4<float>& b,
                float tolerance) {
  for (int i = 0; i < 16; ++i) {
    if (std::fabs(a[0][i] - b[0][i]) > tolerance) return false;
  }
  return true;
}

}  // namespace TestSupport
