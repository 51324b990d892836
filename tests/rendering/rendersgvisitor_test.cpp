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

// Leaving a state change restores the program before it; an empty one is never restored,
// so the outermost program stays in force after it is left.
TEST_F(RenderSGVisitorTest, LeavingAStateChangeRestoresTheProgramBeforeIt) {
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

// Deeper than the 32 levels of GL's modelview stack, drawn by a program that places vertices
// through the kernel's uniforms and by one that uses GL's modelview matrix.
TEST_F(RenderSGVisitorTest, TransformsAddUpDownADeepGraphAndAreUndoneOnLeaving) {
  kernel->viewports[0]->clearColor.set(0, 0, 0, 1);
  std::vector<GroupPtr> levels{scene};
  for (int level = 1; level <= 40; ++level) {
    levels.push_back(addGroup(levels.back()));
    levels.back()->transform = placedAt(0.02f, 0.01f);
  }
  addSquare(levels[40], 0, 0);
  addSquare(levels[35], -0.7f, -0.7f);  // drawn after the deeper levels are left again
  addSquare(scene, -0.5f, 0.5f);
  for (const char* program : {"red", "texLight"}) {
    scene->state = boost::make_shared<StateChanging>(program);
    kernel->display();
    const Rgb colour = program == std::string("red") ? red : white;
    EXPECT_TRUE(near(pixelOfPlane(0.8f, 0.4f), colour)) << program;
    EXPECT_TRUE(near(pixelOfPlane(0, -0.35f), colour)) << program;
    EXPECT_TRUE(near(pixelOfPlane(-0.5f, 0.5f), colour))
        << program << ": the matrices are restored";
    EXPECT_TRUE(near(pixelOfPlane(0.4f, 0.2f), {0, 0, 0})) << program;
  }
  GLint depth = 0;
  glGetIntegerv(GL_MODELVIEW_STACK_DEPTH, &depth);
  EXPECT_EQ(depth, 1);
  EXPECT_TRUE(kernel->matrixStack.empty());
}

}  // namespace
