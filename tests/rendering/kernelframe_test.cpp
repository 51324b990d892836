// The frame, checked on screen: viewports, the model matrix, the shadow pass and shadows.

#include <boost/make_shared.hpp>

#include "kernelwindow.h"

namespace {

using namespace TestSupport;
using KernelFrameTest = KernelTest;

TEST_F(KernelFrameTest, ViewportsAreClearedToTheirColoursAtTheirRectangles) {
  auto inset = boost::make_shared<Rendering::Viewport>(0.7f, 0.7f, 0.25f, 0.25f);
  inset->clearColor.set(1, 0, 0, 1);
  kernel->viewports.push_back(inset);
  kernel->reshape(640, 480);  // the inset covers 447, 335 to 606, 454
  kernel->display();
  const Rgb white{255, 255, 255}, red{255, 0, 0};
  const struct {
    int x, y;
    Rgb colour;
  } probes[] = {{10, 10, white}, {446, 400, white}, {447, 335, red},
                {606, 454, red}, {607, 454, white}, {500, 455, white}};
  for (const auto& probe : probes) {
    EXPECT_TRUE(near(pixelAt(probe.x, probe.y), probe.colour)) << probe.x << ", " << probe.y;
  }
  EXPECT_FALSE(glIsEnabled(GL_SCISSOR_TEST));
}

TEST_F(KernelFrameTest, PopWithoutPushWritesAnErrorAndLeavesTheMatricesAlone) {
  kernel->modelMatrix = translation(3, 0, 0);
  const std::string err = stderrOf([this] { kernel->popMatrix(); });
  EXPECT_EQ(occurrences(err, "popMatrix without a matching pushMatrix\n"), 1);
  GLint depth = 0;
  glGetIntegerv(GL_MODELVIEW_STACK_DEPTH, &depth);
  EXPECT_EQ(depth, 1);
  EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
  EXPECT_TRUE(nearMatrix(kernel->modelMatrix, translation(3, 0, 0)));
}

TEST_F(KernelFrameTest, ReceiverIsDarkerBehindAnOccluderThanWithoutIt) {
  scene = makeShadowScene(false);
  kernel->display();
  const Rgb lit = pixelAt(320, 240), litEdge = pixelAt(320, 120);
  scene = makeShadowScene(true);
  kernel->display();
  const Rgb shaded = pixelAt(320, 240);
  EXPECT_GT(lit.g, 150) << lit;
  EXPECT_LT(shaded.g, lit.g / 2) << shaded << " against " << lit;
  EXPECT_TRUE(near(pixelAt(320, 120), litEdge, 4)) << "away from the box the floor stays lit";
  EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
}

// The shaders read the map through unit 1's texture matrix: light space, then [0, 1].
TEST_F(KernelFrameTest, ShadowPassMakesItsMapOncePerContextAndLeavesItOnUnitOne) {
  newWindow();
  scene = makeShadowScene(true);
  const std::string out = stdoutOf([this] {
    kernel->display();
    kernel->display();
  });
  EXPECT_EQ(occurrences(out, "initializing ShadowMapFB"), 1);
  EXPECT_FALSE(kernel->shaderLocked);

  glMatrixMode(GL_PROJECTION);
  glPushMatrix();
  glLoadIdentity();
  gluPerspective(45.0, 1.0, 1.0, 1000.0);
  const Matrix projection = glMatrix(GL_PROJECTION_MATRIX);
  glPopMatrix();
  const Matrix bias(0.5f, 0, 0, 0.5f, 0, 0.5f, 0, 0.5f, 0, 0, 0.5f, 0.5f, 0, 0, 0, 1);
  glActiveTexture(GL_TEXTURE1);
  EXPECT_TRUE(nearMatrix(glMatrix(GL_TEXTURE_MATRIX), bias * projection * translation(0, 0, -8)));
  GLint bound = 0;
  glGetIntegerv(GL_TEXTURE_BINDING_2D, &bound);
  EXPECT_EQ(static_cast<GLuint>(bound), kernel->shadowMapFB.texture);
}

TEST_F(KernelFrameTest, FrameWithoutALightDrawsUnlitWithoutShadowInformation) {
  scene = makeScene("texLightSM", translation(0, 0, fillDistance));
  auto material = makeMaterial(0.2f, 0.6f, 1.0f);
  material->ambient.set(0, 0, 0, 1);
  scene->add(makeSquare(1, 0, material));
  kernel->display();
  EXPECT_TRUE(near(pixelOfPlane(-0.5f, -0.4f), {51, 153, 255}, 3));
  EXPECT_FALSE(glIsEnabled(GL_LIGHTING));
  EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
  glActiveTexture(GL_TEXTURE1);
  EXPECT_TRUE(nearMatrix(glMatrix(GL_TEXTURE_MATRIX), Matrix()));
}

}  // namespace
