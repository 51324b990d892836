// The render traversal, seen on screen: the programs of state changes (flat red, green,
// blue fixtures that place vertices only through the kernel's uniforms) and transforms.

#include "rendering/rendersgvisitor.h"

#include <gtest/gtest.h>

#include <boost/make_shared.hpp>
#include <cmath>

#include "kernelwindow.h"
#include "rendering/glheaders.h"
#include "rendering/kernel.h"

namespace {

using Rendering::Scenegraph::GroupNode;
using Rendering::Scenegraph::Moveable;
using Rendering::Scenegraph::StateChanging;
using TestSupport::describe;
using TestSupport::near;
using TestSupport::Rgb;

const std::string red = "../tests/rendering/shaders/red";
const std::string green = "../tests/rendering/shaders/green";
const std::string blue = "../tests/rendering/shaders/blue";
const Rgb redPixel{255, 0, 0}, greenPixel{0, 255, 0}, bluePixel{0, 0, 255};
const Rgb background{255, 255, 255}, white = background;

const float fillDistance = 1.0f / std::tan(22.5f * 3.14159265f / 180.0f);

Rgb pixelOfPlane(float x, float y) {
  return TestSupport::pixelAt(static_cast<int>(320 + x * 240), static_cast<int>(240 + y * 240));
}

boost::shared_ptr<Moveable> placedAt(float x, float y) {
  auto transform = boost::make_shared<Moveable>();
  transform->setMatrix(TestSupport::translation(x, y, 0));
  return transform;
}

class RenderSGVisitorTest : public testing::Test {
 protected:
  void SetUp() override {
    kernel = TestSupport::openWindow();
    TestSupport::resetKernel();
    scene = TestSupport::makeScene(red, TestSupport::translation(0, 0, fillDistance));
    square = TestSupport::makeSquare(0.1f, 0, TestSupport::makeMaterial(1, 1, 1));
  }
  // A square of the shared mesh at (x, y), optionally drawn with its own program.
  boost::shared_ptr<Rendering::Scenegraph::LeafNode> addSquare(
      const boost::shared_ptr<GroupNode>& parent, float x, float y,
      const std::string& program = "") {
    auto leaf = parent->add(square);
    leaf->transform = placedAt(x, y);
    if (!program.empty()) leaf->state = boost::make_shared<StateChanging>(program);
    return leaf;
  }
  Rendering::Kernel* kernel = nullptr;
  TestSupport::Scene scene;
  boost::shared_ptr<Data::Geometry::Mesh> square;
};

TEST_F(RenderSGVisitorTest, LeavingAStateChangeRestoresTheProgramBeforeIt) {
  auto child = scene.root->add(boost::make_shared<GroupNode>());
  child->state = boost::make_shared<StateChanging>(green);
  addSquare(child, -0.5f, 0);
  addSquare(scene.root, 0.5f, 0);
  kernel->display();
  EXPECT_TRUE(near(pixelOfPlane(-0.5f, 0), greenPixel)) << describe(pixelOfPlane(-0.5f, 0));
  EXPECT_TRUE(near(pixelOfPlane(0.5f, 0), redPixel)) << describe(pixelOfPlane(0.5f, 0));
  EXPECT_EQ(kernel->currentShader->name, red);
}

TEST_F(RenderSGVisitorTest, TheOutermostStateStaysSelectedAfterItIsLeft) {
  auto group = boost::make_shared<GroupNode>();
  scene.root->state.reset();
  scene.root->add(group);
  addSquare(group, -0.5f, 0, green);
  addSquare(group, 0, 0, blue);
  addSquare(group, 0.5f, 0);
  kernel->display();
  EXPECT_TRUE(near(pixelOfPlane(-0.5f, 0), greenPixel));
  EXPECT_TRUE(near(pixelOfPlane(0, 0), bluePixel)) << describe(pixelOfPlane(0, 0));
  EXPECT_TRUE(near(pixelOfPlane(0.5f, 0), greenPixel)) << describe(pixelOfPlane(0.5f, 0));
}

// Both squares are leaves of one shared mesh, each drawn under its own transform.
TEST_F(RenderSGVisitorTest, TransformsAddUpDownTheGraphAndAreUndoneOnLeaving) {
  auto group = scene.root->add(boost::make_shared<GroupNode>());
  group->transform = placedAt(0.5f, 0.25f);
  addSquare(group, 0.25f, 0.25f);
  addSquare(scene.root, -0.5f, -0.5f);
  kernel->display();
  EXPECT_TRUE(near(pixelOfPlane(0.75f, 0.5f), redPixel)) << describe(pixelOfPlane(0.75f, 0.5f));
  EXPECT_TRUE(near(pixelOfPlane(0.25f, 0.25f), background));
  EXPECT_TRUE(near(pixelOfPlane(-0.5f, -0.5f), redPixel)) << describe(pixelOfPlane(-0.5f, -0.5f));
  EXPECT_TRUE(kernel->matrixStack.empty());
  EXPECT_TRUE(
      TestSupport::nearMatrix(kernel->modelMatrix, Data::Geometry::TMatrix4<float>::identity()));
  GLint depth = 0;
  glGetIntegerv(GL_MODELVIEW_STACK_DEPTH, &depth);
  EXPECT_EQ(depth, 1);
}

// Deeper than the 32 levels of GL's modelview stack, drawn with a program that places
// vertices by GL's modelview matrix.
TEST_F(RenderSGVisitorTest, ADeepChainOfTransformsStillPlacesItsMesh) {
  scene.root->state = boost::make_shared<StateChanging>("texLight");
  kernel->viewports[0]->clearColor.set(0, 0, 0, 1);
  std::vector<boost::shared_ptr<GroupNode>> levels{scene.root};
  for (int level = 1; level <= 40; ++level) {
    levels.push_back(levels.back()->add(boost::make_shared<GroupNode>()));
    levels.back()->transform = placedAt(0.02f, 0.01f);
  }
  addSquare(levels[40], 0, 0);
  // Drawn after the deeper levels are left again.
  addSquare(levels[35], -0.7f, -0.7f);
  addSquare(scene.root, -0.5f, 0.5f);
  kernel->display();
  EXPECT_TRUE(near(pixelOfPlane(0.8f, 0.4f), white)) << describe(pixelOfPlane(0.8f, 0.4f));
  EXPECT_TRUE(near(pixelOfPlane(0, -0.35f), white)) << describe(pixelOfPlane(0, -0.35f));
  EXPECT_TRUE(near(pixelOfPlane(-0.5f, 0.5f), white)) << "the matrices are restored";
}

TEST_F(RenderSGVisitorTest, WhileLockedEveryStateKeepsTheCurrentProgram) {
  addSquare(scene.root, 0, 0, green);
  kernel->useShader(boost::make_shared<Data::Geometry::Shader>(blue));
  kernel->shaderLocked = true;
  kernel->renderViewport(kernel->viewports[0]);
  kernel->renderScene(kernel->viewports[0]);
  kernel->shaderLocked = false;
  glutSwapBuffers();
  EXPECT_TRUE(near(pixelOfPlane(0, 0), bluePixel)) << describe(pixelOfPlane(0, 0));
  EXPECT_EQ(kernel->currentShader->name, blue);
}

}  // namespace
