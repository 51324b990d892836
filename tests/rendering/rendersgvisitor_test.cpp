// The render traversal, seen on screen: the programs of state changes and the transforms.

#include "rendering/rendersgvisitor.h"

#include "kernelwindow.h"

namespace {

using namespace TestSupport;
using Rendering::Scenegraph::GroupNode;
using Rendering::Scenegraph::StateChanging;

const Rgb red{255, 0, 0}, green{0, 255, 0};

// Programs "red" and "green" of one flat colour place vertices only through the kernel's
// uniforms, so that a wrong view or model matrix moves what they draw.
class RenderSGVisitorTest : public KernelTest {
 protected:
  void SetUp() override {
    KernelTest::SetUp();
    for (const char* name : {"red", "green"}) {
      auto shader = boost::make_shared<Data::Geometry::Shader>(name);
      shader->program = kernel->buildProgram(
          "#version 120\nuniform mat4 viewMatrix;\nuniform mat4 modelMatrix;\nvoid main() {\n"
          "  gl_Position = gl_ProjectionMatrix * viewMatrix * modelMatrix * gl_Vertex;\n}\n",
          name == std::string("red") ? "void main() { gl_FragColor = vec4(1, 0, 0, 1); }"
                                     : "void main() { gl_FragColor = vec4(0, 1, 0, 1); }");
      shader->loaded = true;
      kernel->shaders[name] = shader;
    }
  }
  void addSquare(const GroupPtr& parent, float x, float y, const char* program = nullptr) {
    addAt(parent, square, translation(x, y, 0), program);
  }
  MeshPtr square = makeSquare(0.1f, makeMaterial(1, 1, 1));
};

// Deeper than the 32 levels of GL's modelview stack, drawn by a program that places vertices
// through the kernel's uniforms and by one that uses GL's modelview matrix.
TEST_F(RenderSGVisitorTest, TransformsAndProgramsApplyDownADeepGraphAndAreUndoneOnLeaving) {
  kernel->viewports[0]->clearColor.set(0, 0, 0, 1);
  std::vector<GroupPtr> levels{scene};
  for (int level = 1; level <= 40; ++level) {
    levels.push_back(
        addAt(levels.back(), boost::make_shared<GroupNode>(), translation(0.02f, 0.01f, 0)));
  }
  addSquare(levels[40], 0, 0);
  addSquare(levels[35], -0.7f, -0.7f);  // drawn after the deeper levels are left again
  addSquare(scene, 0.5f, -0.5f, "green");
  addSquare(scene, -0.5f, 0.5f);
  // A leaf's transform acts before its group's: turned a quarter, (0.5, 0) lands at (0, 0.5).
  addSquare(addAt(scene, boost::make_shared<GroupNode>(), Matrix().setRotationZ(3.14159265f / 2)),
            0.5f, 0);
  for (const char* program : {"red", "texLight"}) {
    scene->state = boost::make_shared<StateChanging>(program);
    EXPECT_EQ(outputOf([this] { kernel->display(); }).second, "");  // "red" has no "shadowMap"
    const Rgb colour = program == std::string("red") ? red : Rgb{255, 255, 255}, black{0, 0, 0};
    const struct {
      float x, y;
      Rgb colour;
    } probes[] = {{0.8f, 0.4f, colour}, {0, -0.35f, colour}, {-0.5f, 0.5f, colour},
                  {0.5f, -0.5f, green}, {0, 0.5f, colour},   {0.4f, 0.2f, black},
                  {0.5f, 0, black}};
    for (const auto& p : probes) EXPECT_TRUE(near(pixelOfPlane(p.x, p.y), p.colour)) << program;
  }
  EXPECT_EQ(glInt(GL_MODELVIEW_STACK_DEPTH), 1);
  EXPECT_TRUE(kernel->matrixStack.empty());
  EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
}

// Without a state at the root the first state change met stays selected after it is left, so
// a leaf without one after siblings "red" and "green" is drawn red.
TEST_F(RenderSGVisitorTest, LeavingAStateChangeSelectsTheOneBeforeItOrKeepsTheOutermost) {
  kernel->viewports[0]->clearColor.set(0, 0, 0, 1);
  scene->state.reset();
  addSquare(scene, -0.5f, 0, "red");
  addSquare(scene, 0, 0, "green");
  addSquare(scene, 0.5f, 0);
  kernel->display();
  EXPECT_TRUE(near(pixelOfPlane(-0.5f, 0), red));
  EXPECT_TRUE(near(pixelOfPlane(0, 0), green));
  EXPECT_TRUE(near(pixelOfPlane(0.5f, 0), red));
  EXPECT_EQ(kernel->currentShader->name, "red");
}

}  // namespace
