// The frame, checked on screen: viewports, the model matrix, the shadow pass and shadows.

#include <algorithm>

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
  for (const auto& p : probes) EXPECT_TRUE(near(pixelAt(p.x, p.y), p.colour)) << p.x << ", " << p.y;
  inset->camera.reset();  // a viewport without a camera is left out
  kernel->display();
  EXPECT_TRUE(near(pixelAt(500, 400), white));
}

TEST_F(KernelFrameTest, PopWithoutPushWritesAnErrorAndLeavesTheMatricesAlone) {
  kernel->modelMatrix = translation(3, 0, 0);
  testing::internal::CaptureStderr();
  kernel->popMatrix();
  const std::string err = testing::internal::GetCapturedStderr();
  EXPECT_EQ(occurrences(err, "popMatrix without a matching pushMatrix\n"), 1);
  GLint depth = 0;
  glGetIntegerv(GL_MODELVIEW_STACK_DEPTH, &depth);
  EXPECT_EQ(depth, 1);
  EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
  EXPECT_EQ(kernel->modelMatrix[3][0], 3);
}

// The shadow map is made once per context, complete, and left bound on unit 1.
TEST_F(KernelFrameTest, ReceiverIsDarkerBehindAnOccluderThanWithoutIt) {
  newWindow();
  testing::internal::CaptureStdout();
  scene = makeShadowScene(false);
  kernel->display();
  const Rgb lit = pixelAt(320, 240), litEdge = pixelAt(320, 120);
  scene = makeShadowScene(true);
  kernel->display();
  EXPECT_EQ(occurrences(testing::internal::GetCapturedStdout(), "initializing ShadowMapFB"), 1);
  EXPECT_GT(lit.g, 150) << lit;
  EXPECT_LT(pixelAt(320, 240).g, lit.g / 2);
  EXPECT_TRUE(near(pixelAt(320, 120), litEdge, 4));
  GLint bound = 0;
  glActiveTexture(GL_TEXTURE1);
  glGetIntegerv(GL_TEXTURE_BINDING_2D, &bound);
  EXPECT_EQ(static_cast<GLuint>(bound), kernel->shadowMapFB.texture);
  glBindFramebufferEXT(GL_FRAMEBUFFER_EXT, kernel->shadowMapFB.framebuffer);
  EXPECT_EQ(glCheckFramebufferStatusEXT(GL_FRAMEBUFFER_EXT), GLenum{GL_FRAMEBUFFER_COMPLETE_EXT});
  glBindFramebufferEXT(GL_FRAMEBUFFER_EXT, 0);
  EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
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
  GLfloat shadowMatrix[16];
  glActiveTexture(GL_TEXTURE1);
  glGetFloatv(GL_TEXTURE_MATRIX, shadowMatrix);
  EXPECT_EQ(std::count(shadowMatrix, shadowMatrix + 16, 0.0f), 16);
}

}  // namespace
