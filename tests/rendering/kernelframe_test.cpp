// The frame, checked on screen: viewports, matrices, the shadow pass and its shadows.

#include <gtest/gtest.h>

#include <boost/make_shared.hpp>
#include <cmath>

#include "kernelwindow.h"
#include "rendering/glheaders.h"
#include "rendering/kernel.h"

namespace {

using Matrix = Data::Geometry::TMatrix4<float>;
using TestSupport::describe;
using TestSupport::near;
using TestSupport::pixelAt;
using TestSupport::Rgb;

// From here a square of side 2 at z = 0 just fills the height of a 45 degree view.
const float fillDistance = 1.0f / std::tan(22.5f * 3.14159265f / 180.0f);

class KernelFrameTest : public testing::Test {
 protected:
  void SetUp() override {
    kernel = TestSupport::openWindow();
    TestSupport::resetKernel();
  }
  Rendering::Kernel* kernel = nullptr;
};

TEST_F(KernelFrameTest, ViewportsAreClearedToTheirColoursAtTheirRectangles) {
  auto inset = boost::make_shared<Rendering::Viewport>(0.7f, 0.7f, 0.25f, 0.25f);
  inset->clearColor.set(1, 0, 0, 1);
  kernel->viewports.push_back(inset);
  kernel->reshape(640, 480);
  ASSERT_EQ(inset->getPixelX(), 447);
  kernel->display();

  const Rgb white{255, 255, 255}, red{255, 0, 0};
  EXPECT_TRUE(near(pixelAt(10, 10), white));
  EXPECT_TRUE(near(pixelAt(446, 400), white)) << describe(pixelAt(446, 400));
  EXPECT_TRUE(near(pixelAt(447, 335), red)) << describe(pixelAt(447, 335));
  EXPECT_TRUE(near(pixelAt(606, 454), red));
  EXPECT_TRUE(near(pixelAt(607, 454), white));
  EXPECT_TRUE(near(pixelAt(500, 455), white));
  EXPECT_FALSE(glIsEnabled(GL_SCISSOR_TEST));
}

TEST_F(KernelFrameTest, ALaterViewportCoversTheEarlierOneWhereTheyOverlap) {
  auto scene = TestSupport::makeScene("texLight", TestSupport::translation(0, 0, fillDistance));
  scene.root->add(TestSupport::makeSquare(5, 0, TestSupport::makeMaterial(0, 1, 0)));
  auto inset = boost::make_shared<Rendering::Viewport>(0.5f, 0.5f, 0.5f, 0.5f);
  inset->clearColor.set(0, 0, 1, 1);  // its camera shows an empty scene of its own
  kernel->viewports.push_back(inset);
  kernel->reshape(640, 480);
  kernel->display();

  EXPECT_TRUE(near(pixelAt(100, 100), {0, 255, 0})) << describe(pixelAt(100, 100));
  EXPECT_TRUE(near(pixelAt(500, 400), {0, 0, 255})) << describe(pixelAt(500, 400));
}

TEST_F(KernelFrameTest, ViewMatrixIsTheInverseOfTheCameraLeafsWorldMatrix) {
  Matrix camera = TestSupport::translation(1, 2, 8);
  Matrix turn;
  turn.setRotationY(0.5f);
  camera *= turn;
  auto scene = TestSupport::makeScene("texLight", camera);
  kernel->renderViewport(kernel->viewports[0]);

  EXPECT_TRUE(TestSupport::nearMatrix(kernel->viewMatrix, camera.inverse()));
  EXPECT_TRUE(
      TestSupport::nearMatrix(TestSupport::glMatrix(GL_MODELVIEW_MATRIX), camera.inverse()));
  EXPECT_TRUE(TestSupport::nearMatrix(kernel->modelMatrix, Matrix::identity()));
  EXPECT_TRUE(kernel->matrixStack.empty());

  const Matrix projection = TestSupport::glMatrix(GL_PROJECTION_MATRIX);
  EXPECT_NEAR(projection[1][1], fillDistance, 1e-4);
  EXPECT_NEAR(projection[0][0], fillDistance * 480.0f / 640.0f, 1e-4);
  GLint viewport[4], scissor[4];
  glGetIntegerv(GL_VIEWPORT, viewport);
  glGetIntegerv(GL_SCISSOR_BOX, scissor);
  EXPECT_EQ(viewport[2], 640);
  EXPECT_EQ(scissor[3], 480);
}

TEST_F(KernelFrameTest, PushAndPopKeepGlEqualToViewTimesModel) {
  glMatrixMode(GL_MODELVIEW);
  glLoadIdentity();
  const Matrix view = TestSupport::translation(0, 0, -5);
  kernel->setViewMatrix(view);
  Matrix turn;
  turn.setRotationZ(0.3f);
  const Matrix move = TestSupport::translation(1, 0, 0);

  kernel->pushMatrix(turn);
  kernel->pushMatrix(move);
  EXPECT_TRUE(TestSupport::nearMatrix(kernel->modelMatrix, turn * move));
  EXPECT_TRUE(TestSupport::nearMatrix(TestSupport::glMatrix(GL_MODELVIEW_MATRIX),
                                      view * kernel->modelMatrix));
  EXPECT_EQ(kernel->matrixStack.size(), 2u);
  kernel->popMatrix();
  EXPECT_TRUE(TestSupport::nearMatrix(kernel->modelMatrix, turn));
  EXPECT_TRUE(TestSupport::nearMatrix(TestSupport::glMatrix(GL_MODELVIEW_MATRIX), view * turn));
  kernel->popMatrix();
  EXPECT_TRUE(TestSupport::nearMatrix(TestSupport::glMatrix(GL_MODELVIEW_MATRIX), view));
  EXPECT_TRUE(kernel->matrixStack.empty());
}

TEST_F(KernelFrameTest, PopWithoutPushWritesAnErrorAndLeavesTheMatricesAlone) {
  GLint depth = 0;
  glGetIntegerv(GL_MODELVIEW_STACK_DEPTH, &depth);
  kernel->modelMatrix = TestSupport::translation(3, 0, 0);
  testing::internal::CaptureStderr();
  kernel->popMatrix();
  const std::string err = testing::internal::GetCapturedStderr();
  EXPECT_NE(err.find("popMatrix without a matching pushMatrix"), std::string::npos) << err;
  GLint after = 0;
  glGetIntegerv(GL_MODELVIEW_STACK_DEPTH, &after);
  EXPECT_EQ(after, depth);
  EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
  EXPECT_TRUE(TestSupport::nearMatrix(kernel->modelMatrix, TestSupport::translation(3, 0, 0)));
}

TEST_F(KernelFrameTest, FrameCounterRestartsAtOneAbove60000) {
  kernel->frames = 60000;
  kernel->display();
  EXPECT_EQ(kernel->frames, 60001u);
  kernel->lastFpsTime = boost::posix_time::ptime();
  kernel->display();
  EXPECT_EQ(kernel->frames, 1u);
  EXPECT_FALSE(kernel->lastFpsTime.is_special());
}

TEST_F(KernelFrameTest, AViewportWithAnEmptyRectangleChangesNoPixel) {
  kernel->viewports[0]->clearColor.set(0, 1, 0, 1);
  auto unsized = boost::make_shared<Rendering::Viewport>();
  unsized->clearColor.set(1, 0, 0, 1);
  kernel->viewports.push_back(unsized);  // knows no window size yet
  kernel->display();
  EXPECT_TRUE(near(pixelAt(0, 0), {0, 255, 0}));
  EXPECT_TRUE(near(pixelAt(320, 240), {0, 255, 0}));
}

class ShadowTest : public KernelFrameTest {
 protected:
  TestSupport::Scene makeShadowScene(bool withBox) {
    auto floor = TestSupport::makeMaterial(0.8f, 0.8f, 0.8f);
    floor->ambient.set(0.1f, 0.1f, 0.1f, 1);
    return TestSupport::makeShadowScene(withBox, floor);
  }
};

TEST_F(ShadowTest, ReceiverIsDarkerBehindAnOccluderThanWithoutIt) {
  auto bare = makeShadowScene(false);
  kernel->display();
  const Rgb litCentre = pixelAt(320, 240);
  const Rgb litEdge = pixelAt(320, 120);

  auto shaded = makeShadowScene(true);
  kernel->display();
  const Rgb shadowCentre = pixelAt(320, 240);
  const Rgb edge = pixelAt(320, 120);

  EXPECT_GT(litCentre.g, 150) << describe(litCentre);
  EXPECT_LT(shadowCentre.g, litCentre.g / 2)
      << describe(shadowCentre) << " vs " << describe(litCentre);
  EXPECT_TRUE(near(edge, litEdge, 4)) << "away from the box the floor stays lit";
  EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
}

TEST_F(ShadowTest, ShadowPassLeavesTheShadowTextureMatrixOnUnitOne) {
  auto scene = makeShadowScene(true);
  kernel->display();
  EXPECT_FALSE(kernel->shaderLocked);
  EXPECT_TRUE(kernel->shadowMapFB.initialised);
  EXPECT_EQ(kernel->currentShader->name, "texLightSM");

  glMatrixMode(GL_PROJECTION);
  glPushMatrix();
  glLoadIdentity();
  gluPerspective(45.0, 1.0, 1.0, 1000.0);
  const Matrix projection = TestSupport::glMatrix(GL_PROJECTION_MATRIX);
  glPopMatrix();
  const Matrix bias(0.5f, 0, 0, 0.5f, 0, 0.5f, 0, 0.5f, 0, 0, 0.5f, 0.5f, 0, 0, 0, 1);
  const Matrix expected = bias * projection * TestSupport::translation(0, 0, -8);

  glActiveTexture(GL_TEXTURE1);
  EXPECT_TRUE(TestSupport::nearMatrix(TestSupport::glMatrix(GL_TEXTURE_MATRIX), expected));
  GLint bound = 0;
  glGetIntegerv(GL_TEXTURE_BINDING_2D, &bound);
  EXPECT_EQ(static_cast<GLuint>(bound), kernel->shadowMapFB.texture);
  GLint cull = 0;
  glGetIntegerv(GL_CULL_FACE_MODE, &cull);
  EXPECT_EQ(cull, GL_BACK);
  glActiveTexture(GL_TEXTURE0);
}

TEST_F(ShadowTest, FrameWithoutALightDrawsUnlitWithoutShadowInformation) {
  Matrix camera = TestSupport::translation(0, 0, fillDistance);
  auto scene = TestSupport::makeScene("texLightSM", camera);
  auto material = TestSupport::makeMaterial(0.2f, 0.6f, 1.0f);
  material->ambient.set(0, 0, 0, 1);
  scene.root->add(TestSupport::makeSquare(1, 0, material));
  kernel->display();
  EXPECT_TRUE(near(pixelAt(200, 140), {51, 153, 255}, 3)) << describe(pixelAt(200, 140));
  EXPECT_FALSE(glIsEnabled(GL_LIGHTING));
  EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
  glActiveTexture(GL_TEXTURE1);
  EXPECT_TRUE(TestSupport::nearMatrix(TestSupport::glMatrix(GL_TEXTURE_MATRIX), Matrix()));
  glActiveTexture(GL_TEXTURE0);
}

TEST_F(ShadowTest, OnlyTheFirstFrameInAContextMakesTheFramebuffer) {
  kernel->createWindow(false);
  TestSupport::pumpEvents();
  auto scene = makeShadowScene(true);
  testing::internal::CaptureStdout();
  kernel->display();
  kernel->display();
  const std::string out = testing::internal::GetCapturedStdout();
  std::size_t first = out.find("initializing ShadowMapFB");
  ASSERT_NE(first, std::string::npos) << out;
  EXPECT_EQ(out.find("initializing ShadowMapFB", first + 1), std::string::npos) << out;
}

}  // namespace
