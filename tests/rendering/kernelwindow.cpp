#include "kernelwindow.h"

#include <boost/make_shared.hpp>
#include <cmath>
#include <sstream>

#include "data/geometry/meshfactory.h"
#include "rendering/glheaders.h"
#include "rendering/scenegraph/moveable.h"
#include "rendering/scenegraph/statechanging.h"

namespace TestSupport {

namespace {

void sizeViewports() {
  Rendering::Kernel::instance()->reshape(glutGet(GLUT_WINDOW_WIDTH), glutGet(GLUT_WINDOW_HEIGHT));
}

void place(const LeafPtr& leaf, const Matrix& m) {
  leaf->transform = boost::make_shared<Rendering::Scenegraph::Moveable>();
  leaf->transform->setMatrix(m);
}

}  // namespace

const float fillDistance = 1.0f / std::tan(22.5f * 3.14159265f / 180.0f);

Rendering::Kernel* openKernelWindow() {
  static bool open = false;
  if (!open) {
    open = true;
    static char name[] = "rendering_test";
    static char* argv[] = {name, nullptr};
    stdoutOf([] { Rendering::Kernel::instance()->init(1, argv); });
    keepGlDriverLoaded();
    waitForWindow();
    sizeViewports();
  }
  return Rendering::Kernel::instance();
}

void newWindow(bool gameMode) {
  Rendering::Kernel::instance()->setGameMode(gameMode);
  waitForWindow();
  sizeViewports();
}

Rgb pixelOfPlane(float x, float y) {
  return pixelAt(static_cast<int>(320 + x * 240), static_cast<int>(240 + y * 240));
}

int occurrences(const std::string& text, const std::string& word) {
  int n = 0;
  for (std::size_t at = text.find(word); at != std::string::npos; at = text.find(word, at + 1)) ++n;
  return n;
}

Matrix translation(float x, float y, float z) { return Matrix().setTranslation(x, y, z); }

Matrix glMatrix(GLenum which) {
  Matrix m;
  glGetFloatv(which, m[0]);
  return m;
}

testing::AssertionResult nearMatrix(const Matrix& actual, const Matrix& expected) {
  for (int i = 0; i < 16; ++i) {
    if (std::fabs(actual[0][i] - expected[0][i]) > 1e-4f) {
      return testing::AssertionFailure()
             << "element " << i << " is " << actual[0][i] << ", expected " << expected[0][i];
    }
  }
  return testing::AssertionSuccess();
}

MaterialPtr makeMaterial(float r, float g, float b) {
  auto material = boost::make_shared<Data::Geometry::Material>();
  material->diffuse.set(r, g, b, 1);
  return material;
}

MeshPtr makeSquare(float half, float z, MaterialPtr material) {
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
  mesh->materials.assign(2, material);
  return mesh;
}

boost::shared_ptr<Data::Geometry::Texture> makeTexture(const std::string& name, int width,
                                                       int height, const std::vector<Rgb>& texels) {
  auto texture = boost::make_shared<Data::Geometry::Texture>();
  texture->name = name;
  texture->width = width;
  texture->height = height;
  texture->data.reset(new unsigned char[texels.size() * 3]);
  for (std::size_t i = 0; i < texels.size(); ++i) {
    texture->data[3 * i] = static_cast<unsigned char>(texels[i].b);
    texture->data[3 * i + 1] = static_cast<unsigned char>(texels[i].g);
    texture->data[3 * i + 2] = static_cast<unsigned char>(texels[i].r);
  }
  return texture;
}

void addFlatProgram(const std::string& name, const Rgb& colour) {
  Rendering::Kernel* kernel = openKernelWindow();
  auto shader = boost::make_shared<Data::Geometry::Shader>(name);
  shader->vertexSource =
      "#version 120\nuniform mat4 viewMatrix;\nuniform mat4 modelMatrix;\nvoid main() {\n"
      "  gl_Position = gl_ProjectionMatrix * viewMatrix * modelMatrix * gl_Vertex;\n}\n";
  std::ostringstream fragment;
  fragment << "#version 120\nvoid main() { gl_FragColor = vec4(" << colour.r / 255.0 << ", "
           << colour.g / 255.0 << ", " << colour.b / 255.0 << ", 1.0); }\n";
  shader->fragmentSource = fragment.str();
  shader->program =
      kernel->buildProgram(shader->vertexSource.c_str(), shader->fragmentSource.c_str());
  shader->loaded = true;
  kernel->shaders[name] = shader;
}

GroupPtr makeScene(const std::string& program, const Matrix& camera) {
  Rendering::Kernel* kernel = openKernelWindow();
  auto scene = boost::make_shared<Rendering::Scenegraph::GroupNode>();
  scene->state = boost::make_shared<Rendering::Scenegraph::StateChanging>(program);
  place(scene->add(kernel->viewports[0]->camera), camera);
  for (const auto& viewport : kernel->viewports) viewport->camera->scene = scene;
  return scene;
}

LeafPtr addLight(const GroupPtr& scene, const Matrix& m) {
  LeafPtr leaf = scene->add(boost::make_shared<Data::Geometry::Light>());
  place(leaf, m);
  return leaf;
}

GroupPtr makeShadowScene(bool withBox) {
  const Matrix camera = translation(0, -8, 6) * Matrix().setRotationX(std::atan2(0.8f, 0.6f));
  GroupPtr scene = makeScene("texLightSM", camera);
  addLight(scene, translation(0, 0, 8));
  MaterialPtr floor = makeMaterial(0.8f, 0.8f, 0.8f);
  floor->ambient.set(0.1f, 0.1f, 0.1f, 1);
  scene->add(makeSquare(3, 0, floor));
  if (withBox) place(scene->add(Data::Geometry::createQuadCube()), translation(0, 0, 3));
  return scene;
}

void KernelTest::SetUp() {
  kernel = openKernelWindow();
  // A scene holding its own camera holds itself; a new scene for each camera breaks that.
  for (const auto& viewport : kernel->viewports) {
    viewport->camera->scene = boost::make_shared<Rendering::Scenegraph::GroupNode>();
  }
  kernel->viewports.assign(1, boost::make_shared<Rendering::Viewport>());
  sizeViewports();
  kernel->shaderLocked = false;
  kernel->matrixStack.clear();
  kernel->viewMatrix = kernel->modelMatrix = Matrix::identity();
  glMatrixMode(GL_MODELVIEW);
  glLoadIdentity();
  // Materials without a texture show whatever unit 0 holds: the default texture.
  glActiveTexture(GL_TEXTURE0);
  glBindTexture(GL_TEXTURE_2D, 0);
  while (glGetError() != GL_NO_ERROR) {
  }
  scene = makeScene("texLight", translation(0, 0, fillDistance));
}

}  // namespace TestSupport
