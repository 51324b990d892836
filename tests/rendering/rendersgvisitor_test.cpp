// The render traversal, seen on screen: the programs of state changes (flat red, green and
// blue) and the transforms.

#include "rendering/rendersgvisitor.h"

#include <boost/make_shared.hpp>

#include "kernelwindow.h"
#include "rendering/scenegraph/moveable.h"
#include "rendering/scenegraph/statechanging.h"

namespace {

using namespace TestSupport;
using Rendering::Scenegraph::GroupNode;
using Rendering::Scenegraph::StateChanging;

const Rgb red{255, 0, 0}, green{0, 255, 0}, blue{0, 0, 255}, white{255, 255, 255};

boost::shared_ptr<Rendering::Scenegraph::Moveable> placedAt(float x, float y) {
  auto transform = boost::make_shared<Rendering::Scenegraph::Moveable>();
  transform->setMatrix(translation(x, y, 0));
  return transform;
}

class RenderSGVisitorTest : public KernelTest {
 protected:
  void SetUp() override {
    KernelTest::SetUp();
    addFlatProgram("red", red);
    addFlatProgram("green", green);
    addFlatProgram("blue", blue);
    scene = makeScene("red", translation(0, 0, fillDistance));
  }
  // A small square of one shared mesh at (x, y), optionally drawn with its own program.
  void addSquare(const GroupPtr& parent, float x, float y, const std::string& program = "") {
    LeafPtr leaf = parent->add(square);
    leaf->transform = placedAt(x, y);
    if (!program.empty()) leaf->state = boost::make_shared<StateChanging>(program);
  }
  GroupPtr addGroup(const GroupPtr& parent) { return parent->add(boost::make_shared<GroupNode>()); }
  MeshPtr square = makeSquare(0.1f, 0, makeMaterial(1, 1, 1));
};

TEST_F(RenderSGVisitorTest, LeavingAStateChangeRestoresTheProgramBeforeIt) {
  auto child = addGroup(scene);
  child->state = boost::make_shared<StateChanging>("green");
  addSquare(child, -0.5f, 0);
  addSquare(scene, 0.5f, 0);
  kernel->display();
  EXPECT_TRUE(near(pixelOfPlane(-0.5f, 0), green));
  EXPECT_TRUE(near(pixelOfPlane(0.5f, 0), red));
}

// An empty program is never restored: the first one stays in force.
TEST_F(RenderSGVisitorTest, TheOutermostStateStaysSelectedAfterItIsLeft) {
  scene->state.reset();
  auto group = addGroup(scene);
  addSquare(group, -0.5f, 0, "green");
  addSquare(group, 0, 0, "blue");
  addSquare(group, 0.5f, 0);
  kernel->display();
  EXPECT_TRUE(near(pixelOfPlane(-0.5f, 0), green));
  EXPECT_TRUE(near(pixelOfPlane(0, 0), blue));
  EXPECT_TRUE(near(pixelOfPlane(0.5f, 0), green));
}

TEST_F(RenderSGVisitorTest, TransformsAddUpDownTheGraphAndAreUndoneOnLeaving) {
  auto group = addGroup(scene);
  group->transform = placedAt(0.5f, 0.25f);
  addSquare(group, 0.25f, 0.25f);
  addSquare(scene, -0.5f, -0.5f);
  kernel->display();
  EXPECT_TRUE(near(pixelOfPlane(0.75f, 0.5f), red));
  EXPECT_TRUE(near(pixelOfPlane(0.25f, 0.25f), white));
  EXPECT_TRUE(near(pixelOfPlane(-0.5f, -0.5f), red));
  EXPECT_TRUE(kernel->matrixStack.empty());
}

// Deeper than the 32 levels of GL's modelview stack, drawn with a program that places
// vertices by GL's modelview matrix.
TEST_F(RenderSGVisitorTest, ADeepChainOfTransformsStillPlacesItsMesh) {
  scene->state = boost::make_shared<StateChanging>("texLight");
  kernel->viewports[0]->clearColor.set(0, 0, 0, 1);
  std::vector<GroupPtr> levels{scene};
  for (int level = 1; level <= 40; ++level) {
    levels.push_back(addGroup(levels.back()));
    levels.back()->transform = placedAt(0.02f, 0.01f);
  }
  addSquare(levels[40], 0, 0);
  addSquare(levels[35], -0.7f, -0.7f);  // drawn after the deeper levels are left again
  addSquare(scene, -0.5f, 0.5f);
  kernel->display();
  EXPECT_TRUE(near(pixelOfPlane(0.8f, 0.4f), white));
  EXPECT_TRUE(near(pixelOfPlane(0, -0.35f), white));
  EXPECT_TRUE(near(pixelOfPlane(-0.5f, 0.5f), white)) << "the matrices are restored";
  GLint depth = 0;
  glGetIntegerv(GL_MODELVIEW_STACK_DEPTH, &depth);
  EXPECT_EQ(depth, 1);
}

}  // namespace
