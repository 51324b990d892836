// One frame of the renderer (Kernel::display, finished with glFinish) beside a bare loop
// that makes the same GL draw calls on the same arrays with the same programs: the
// least any renderer has to do on this driver. Two scenes: a grid of about a million
// triangles, and the demonstration's scene when its meshes are at hand. Run under a
// virtual display: xvfb-run -a -s "-screen 0 1024x768x24" build/bench/render_bench

#include <benchmark/benchmark.h>

#include <algorithm>
#include <boost/make_shared.hpp>
#include <chrono>
#include <cmath>
#include <fstream>
#include <iostream>
#include <string>
#include <vector>

#include "rendering/glheaders.h"
#include "rendering/kernel.h"
#include "rendering/prerendersgvisitor.h"
#include "rendering/scenegraph/groupnode.h"
#include "rendering/scenegraph/leafnode.h"
#include "rendering/scenegraph/moveable.h"
#include "rendering/scenegraph/statechanging.h"
#include "rendering/scenegraph/worldmatrixvisitor.h"
#include "rendering/viewport.h"
#include "system/loader/ressourcemanager.h"

namespace {

using Matrix = Data::Geometry::TMatrix4<float>;
using Data::Geometry::Material;
using Data::Geometry::Mesh;
using Rendering::Kernel;
using Rendering::Viewport;
using Rendering::Scenegraph::GroupNode;
using Rendering::Scenegraph::LeafNode;
using Rendering::Scenegraph::Moveable;
using Rendering::Scenegraph::StateChanging;

// The kernel with its window, opened once for the whole program.
Kernel* kernel() {
  static Kernel* instance = nullptr;
  if (!instance) {
    static char name[] = "render_bench";
    static char* argv[] = {name, nullptr};
    std::cout.setstate(std::ios::failbit);  // the start-up report is not the benchmark's
    Kernel::instance()->init(1, argv);
    std::cout.clear();
    instance = Kernel::instance();
    for (int i = 0; i < 50; ++i) glutMainLoopEvent();
  }
  return instance;
}

boost::shared_ptr<Moveable> transform(const Matrix& m) {
  auto t = boost::make_shared<Moveable>();
  t->setMatrix(m);
  return t;
}

Matrix translation(float x, float y, float z) { return Matrix().setTranslation(x, y, z); }

Matrix rotationX(float a) { return Matrix().setRotationX(a); }

Matrix rotationY(float a) { return Matrix().setRotationY(a); }

boost::shared_ptr<Data::Geometry::Texture> checkerTexture() {
  auto texture = boost::make_shared<Data::Geometry::Texture>();
  texture->name = "checker";
  texture->width = texture->height = 256;
  texture->data.reset(new unsigned char[256 * 256 * 3]);
  for (int i = 0; i < 256 * 256; ++i) {
    const bool dark = ((i % 256) / 32 + (i / 256) / 32) % 2;
    texture->data[3 * i] = dark ? 40 : 200;
    texture->data[3 * i + 1] = dark ? 90 : 220;
    texture->data[3 * i + 2] = dark ? 60 : 180;
  }
  return texture;
}

// cells x cells squares of two triangles each over [-10, 10]^2, a gentle wave in z, one
// textured material: 707 cells give 999,698 triangles on 501,264 vertices.
boost::shared_ptr<Mesh> gridMesh(int cells) {
  auto mesh = boost::make_shared<Mesh>();
  const int side = cells + 1;
  mesh->resize(side * side, 2 * cells * cells, 0);
  mesh->enableNormals();
  mesh->enableTexCoords();
  for (int y = 0; y < side; ++y) {
    for (int x = 0; x < side; ++x) {
      const float u = static_cast<float>(x) / cells, v = static_cast<float>(y) / cells;
      const int i = y * side + x;
      mesh->vertices[i].set(20 * u - 10, 20 * v - 10, 0.3f * std::sin(12 * u) * std::cos(9 * v));
      mesh->normals[i].set(0, 0, 1);
      mesh->texCoords[i].set(4 * u, 4 * v);
    }
  }
  auto material = boost::make_shared<Material>();
  material->ambient.set(0.2f, 0.2f, 0.2f, 1);
  material->diffuse.set(0.8f, 0.8f, 0.8f, 1);
  material->texture = checkerTexture();
  int t = 0;
  for (int y = 0; y < cells; ++y) {
    for (int x = 0; x < cells; ++x) {
      const unsigned a = y * side + x, b = a + 1, c = a + side, d = c + 1;
      mesh->triangles[t++].set(a, b, d);
      mesh->triangles[t++].set(a, d, c);
    }
  }
  for (auto& m : mesh->materials) m = material;
  return mesh;
}

struct SceneSetup {
  std::vector<boost::shared_ptr<Viewport>> viewports;
  Rendering::Scenegraph::NodeHandle root;
  bool ready = false;
};

// One viewport looking down at the grid, lit from above.
SceneSetup gridScene() {
  SceneSetup setup;
  auto viewport = boost::make_shared<Viewport>();
  auto root = boost::make_shared<GroupNode>();
  root->state = boost::make_shared<StateChanging>("texLightSM");
  root->add(gridMesh(707));
  root->add(boost::make_shared<Data::Geometry::Light>())->transform =
      transform(translation(2, 3, 30));
  root->add(viewport->camera)->transform = transform(translation(0, -12, 22) * rotationX(0.5f));
  viewport->camera->scene = root;
  setup.viewports.push_back(viewport);
  setup.root = root;
  setup.ready = true;
  return setup;
}

// The demonstration's graph: three meshes, a light, two cameras, two viewports.
SceneSetup demoScene() {
  SceneSetup setup;
  for (const char* file : {"mtl/thunderdome.obj", "mtl/monkey.obj", "mtl/sign.obj"}) {
    if (!std::ifstream(file)) return setup;
  }
  kernel();
  std::cout.setstate(std::ios::failbit);
  auto* resources = System::Loader::RessourceManager::getInstance();
  auto thunderdome = resources->loadMesh("mtl/thunderdome.obj");
  auto monkey = resources->loadMesh("mtl/monkey.obj");
  auto sign = resources->loadMesh("mtl/sign.obj");
  std::cout.clear();

  auto viewport0 = boost::make_shared<Viewport>();
  auto viewport1 = boost::make_shared<Viewport>(0.7f, 0.7f, 0.25f, 0.25f);
  viewport1->clearColor.set(1, 0, 0, 1);
  auto root = boost::make_shared<GroupNode>();
  viewport0->camera->scene = root;
  viewport1->camera->scene = root;
  root->state = boost::make_shared<StateChanging>("texLightSM");
  const float quarter = 3.14f / 2;
  root->add(thunderdome);
  root->add(boost::make_shared<Data::Geometry::Light>())->transform =
      transform(translation(0, 0, 10));
  root->add(viewport0->camera)->transform =
      transform(rotationX(0.1f) * translation(0, -0.5f, 0) * translation(0, 0, 7));
  auto centre = root->add(boost::make_shared<GroupNode>());
  centre->add(monkey)->transform = transform(rotationX(quarter));
  auto signs = centre->add(boost::make_shared<GroupNode>());
  signs->transform = transform(Matrix::identity());
  signs->add(sign)->transform = transform(translation(0, 2, 0) * rotationX(quarter));
  signs->add(sign)->transform =
      transform(translation(-1.4f, 0, 0) * translation(0, -1.4f, 0) * rotationX(-quarter));
  signs->add(sign)->transform =
      transform(translation(1.4f, 0, 0) * translation(0, -1.4f, 0) * rotationX(quarter));
  auto orbit = root->add(boost::make_shared<GroupNode>());
  orbit->transform = transform(translation(0, 0, 7));
  orbit->add(monkey)->transform = transform(rotationY(3.14f) * rotationX(quarter));
  orbit->add(viewport1->camera);
  setup.viewports = {viewport0, viewport1};
  setup.root = root;
  setup.ready = true;
  return setup;
}

// What the bare loop draws: every mesh leaf with its world matrix and its runs of faces.
struct Run {
  boost::shared_ptr<Material> material;
  int first, last;
};
struct Item {
  boost::shared_ptr<Mesh> mesh;
  Matrix world;
  std::vector<Run> runs;
};

class DrawListVisitor : public Rendering::Scenegraph::WorldMatrixVisitor {
 public:
  using WorldMatrixVisitor::operator();
  void operator()(const boost::shared_ptr<Mesh>& mesh) override {
    Item item{mesh, currentMatrix, {}};
    const auto& m = mesh->materials;
    const int count = static_cast<int>(m.size());
    int first = 0;
    while (first < count) {
      int last = first + 1;
      while (last < count && m[last] == m[first]) ++last;
      item.runs.push_back({m[first], first, last});
      first = last;
    }
    items.push_back(item);
  }
  std::vector<Item> items;
};

void drawRuns(const Item& item, bool withMaterials) {
  const Mesh& m = *item.mesh;
  glEnableClientState(GL_VERTEX_ARRAY);
  glVertexPointer(3, GL_FLOAT, 0, m.vertices.data());
  glEnableClientState(GL_NORMAL_ARRAY);
  glNormalPointer(GL_FLOAT, 0, m.normals.data());
  if (!m.texCoords.empty()) {
    glEnableClientState(GL_TEXTURE_COORD_ARRAY);
    glTexCoordPointer(2, GL_FLOAT, 0, m.texCoords.data());
  }
  const int triangles = static_cast<int>(m.triangles.size());
  for (const Run& run : item.runs) {
    if (withMaterials && run.material) {
      const Material& mat = *run.material;
      if (mat.texture) glBindTexture(GL_TEXTURE_2D, mat.texture->glName);
      glColor4fv(&mat.diffuse.r);
      glMaterialfv(GL_FRONT, GL_AMBIENT, &mat.ambient.r);
      glMaterialfv(GL_FRONT, GL_DIFFUSE, &mat.diffuse.r);
      glMaterialfv(GL_FRONT, GL_SPECULAR, &mat.specular.r);
      glMaterialfv(GL_FRONT, GL_EMISSION, &mat.emission.r);
      glMaterialf(GL_FRONT, GL_SHININESS, std::min(mat.shininess, 128.0f));
    }
    if (run.first < triangles) {
      const int end = std::min(run.last, triangles);
      glDrawElements(GL_TRIANGLES, 3 * (end - run.first), GL_UNSIGNED_INT,
                     &m.triangles[run.first].a);
    }
    if (run.last > triangles) {
      const int start = std::max(run.first - triangles, 0);
      glDrawElements(GL_QUADS, 4 * (run.last - triangles - start), GL_UNSIGNED_INT,
                     &m.quads[start].a);
    }
  }
  glDisableClientState(GL_TEXTURE_COORD_ARRAY);
  glDisableClientState(GL_NORMAL_ARRAY);
  glDisableClientState(GL_VERTEX_ARRAY);
}

// The bare frame: the shadow pass and every viewport, with the kernel's own programs,
// framebuffer and uploaded textures, and nothing looked up or walked per frame.
struct BareFrame {
  std::vector<Item> items;
  std::vector<boost::shared_ptr<Viewport>> viewports;
  std::vector<Matrix> views;
  Matrix light, shadowView, shadowTexture;
  GLuint shadowProgram, mainProgram, framebuffer;
  GLint modelLocation, shadowMapLocation;

  void draw() const {
    Kernel* k = kernel();
    glBindFramebufferEXT(GL_FRAMEBUFFER_EXT, framebuffer);
    glUseProgram(shadowProgram);
    glViewport(0, 0, k->shadowMapSize, k->shadowMapSize);
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    gluPerspective(45.0, 1.0, 1.0, 1000.0);
    glMatrixMode(GL_MODELVIEW);
    glClearColor(1, 1, 1, 1);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    glEnable(GL_CULL_FACE);
    glCullFace(GL_FRONT);
    for (const Item& item : items) {
      glLoadMatrixf((shadowView * item.world)[0]);
      drawRuns(item, false);
    }
    glBindFramebufferEXT(GL_FRAMEBUFFER_EXT, 0);
    glActiveTexture(GL_TEXTURE1);
    glMatrixMode(GL_TEXTURE);
    glLoadMatrixf(shadowTexture[0]);
    glActiveTexture(GL_TEXTURE0);
    glCullFace(GL_BACK);

    glUseProgram(mainProgram);
    glUniform1i(shadowMapLocation, 1);
    glEnable(GL_SCISSOR_TEST);
    for (std::size_t v = 0; v < viewports.size(); ++v) {
      const Viewport& viewport = *viewports[v];
      glViewport(viewport.getPixelX(), viewport.getPixelY(), viewport.getPixelWidth(),
                 viewport.getPixelHeight());
      glScissor(viewport.getPixelX(), viewport.getPixelY(), viewport.getPixelWidth(),
                viewport.getPixelHeight());
      glMatrixMode(GL_PROJECTION);
      glLoadIdentity();
      gluPerspective(45.0, viewport.getAspect(), 1.0, 1000.0);
      glMatrixMode(GL_MODELVIEW);
      glLoadMatrixf((views[v] * light)[0]);
      static const GLfloat origin[4] = {0, 0, 0, 1};
      glLightfv(GL_LIGHT0, GL_POSITION, origin);
      const Data::Geometry::Color& c = viewport.clearColor;
      glClearColor(c.r, c.g, c.b, c.a);
      glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
      for (const Item& item : items) {
        glLoadMatrixf((views[v] * item.world)[0]);
        glUniformMatrix4fv(modelLocation, 1, GL_FALSE, item.world[0]);
        drawRuns(item, true);
      }
    }
    glDisable(GL_SCISSOR_TEST);
    glutSwapBuffers();
  }
};

BareFrame bareFrameOf(const SceneSetup& setup) {
  Kernel* k = kernel();
  BareFrame frame;
  DrawListVisitor list;
  Rendering::Scenegraph::NodeHandle root = setup.root;
  boost::apply_visitor(list, root);
  frame.items = list.items;
  frame.viewports = setup.viewports;
  for (const auto& viewport : setup.viewports) {
    Rendering::PreRenderSGVisitor found(k, viewport);
    boost::apply_visitor(found, root);
    frame.views.push_back(found.cameraMatrix.inverse());
    frame.light = found.lightMatrix;
  }
  frame.shadowView = frame.light.inverse();
  glMatrixMode(GL_PROJECTION);
  glLoadIdentity();
  gluPerspective(45.0, 1.0, 1.0, 1000.0);
  Matrix projection;
  glGetFloatv(GL_PROJECTION_MATRIX, projection[0]);
  const Matrix bias(0.5f, 0, 0, 0.5f, 0, 0.5f, 0, 0.5f, 0, 0, 0.5f, 0.5f, 0, 0, 0, 1);
  frame.shadowTexture = bias * projection * frame.shadowView;
  frame.shadowProgram = k->shaders.at("shadowMapCreation")->program;
  frame.mainProgram = k->shaders.at("texLightSM")->program;
  frame.framebuffer = k->shadowMapFB.framebuffer;
  frame.modelLocation = glGetUniformLocation(frame.mainProgram, "modelMatrix");
  frame.shadowMapLocation = glGetUniformLocation(frame.mainProgram, "shadowMap");
  return frame;
}

// Puts the scene into the kernel and draws it once, so that programs, framebuffer and
// textures exist before anything is timed.
bool show(const SceneSetup& setup) {
  if (!setup.ready) return false;
  Kernel* k = kernel();
  k->viewports = setup.viewports;
  k->reshape(640, 480);
  std::cout.setstate(std::ios::failbit);
  k->display();
  std::cout.clear();
  glFinish();
  return true;
}

const SceneSetup& grid() {
  static const SceneSetup setup = gridScene();
  return setup;
}

const SceneSetup& demo() {
  static const SceneSetup setup = demoScene();
  return setup;
}

void displayOf(benchmark::State& state, const SceneSetup& setup) {
  if (!show(setup)) {
    state.SkipWithError("the demonstration's meshes are not in mtl/");
    return;
  }
  Kernel* k = kernel();
  for (auto _ : state) {
    k->display();
    glFinish();
  }
}

void bareLoopOf(benchmark::State& state, const SceneSetup& setup) {
  if (!show(setup)) {
    state.SkipWithError("the demonstration's meshes are not in mtl/");
    return;
  }
  const BareFrame frame = bareFrameOf(setup);
  for (auto _ : state) {
    frame.draw();
    glFinish();
  }
}

double medianOf(std::vector<double> values) {
  std::sort(values.begin(), values.end());
  return values.empty() ? 0 : values[values.size() / 2];
}

// Both frames in turn, each timed to its glFinish, so that a changing load on the machine
// weighs on both alike; reports the medians and the renderer's overhead over the bare loop.
void bothOf(benchmark::State& state, const SceneSetup& setup) {
  if (!show(setup)) {
    state.SkipWithError("the demonstration's meshes are not in mtl/");
    return;
  }
  Kernel* k = kernel();
  const BareFrame frame = bareFrameOf(setup);
  std::vector<double> display, bare;
  using Clock = std::chrono::steady_clock;
  const auto timed = [](auto&& draw) {
    const auto start = Clock::now();
    draw();
    glFinish();
    return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
  };
  bool displayFirst = true;
  for (auto _ : state) {
    // Which frame goes first alternates, so that neither always follows the other.
    if (displayFirst) display.push_back(timed([k] { k->display(); }));
    bare.push_back(timed([&frame] { frame.draw(); }));
    if (!displayFirst) display.push_back(timed([k] { k->display(); }));
    displayFirst = !displayFirst;
  }
  const double d = medianOf(display), b = medianOf(bare);
  state.counters["display_ms"] = d;
  state.counters["bare_ms"] = b;
  state.counters["overhead_pct"] = b > 0 ? 100 * (d - b) / b : 0;
}

void gridDisplay(benchmark::State& state) { displayOf(state, grid()); }
void gridBareLoop(benchmark::State& state) { bareLoopOf(state, grid()); }
void demoDisplay(benchmark::State& state) { displayOf(state, demo()); }
void demoBareLoop(benchmark::State& state) { bareLoopOf(state, demo()); }
void gridBoth(benchmark::State& state) { bothOf(state, grid()); }
void demoBoth(benchmark::State& state) { bothOf(state, demo()); }

BENCHMARK(gridDisplay)->Unit(benchmark::kMillisecond)->UseRealTime()->MinTime(5);
BENCHMARK(gridBareLoop)->Unit(benchmark::kMillisecond)->UseRealTime()->MinTime(5);
BENCHMARK(demoDisplay)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(demoBareLoop)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(gridBoth)->Unit(benchmark::kMillisecond)->UseRealTime()->MinTime(10);
BENCHMARK(demoBoth)->Unit(benchmark::kMillisecond)->UseRealTime()->MinTime(10);

}  // namespace

BENCHMARK_MAIN();
