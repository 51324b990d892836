// The frame, checked on screen: viewports, the model matrix, the shadow pass and shadows.

#include <algorithm>
#include <boost/date_time/posix_time/posix_time.hpp>
#include <cmath>

#include "kernelwindow.h"
#include "system/monotonicclock.h"

namespace {

using namespace TestSupport;
using KernelFrameTest = KernelTest;

// Without a light the frame draws unlit and loads a zero shadow texture matrix.
TEST_F(KernelFrameTest, ViewportsAreClearedAtTheirRectanglesAndWithoutALightDrawUnlit) {
  auto inset = boost::make_shared<Rendering::Viewport>(0.7f, 0.7f, 0.25f, 0.25f);
  inset->clearColor.set(1, 0, 0, 1);
  kernel->viewports.push_back(inset);
  kernel->reshape(640, 480);  // the inset covers 447, 335 to 606, 454
  scene = makeScene("texLightSM", translation(0, 0, fillDistance));
  auto material = makeMaterial(0.2f, 0.6f, 1.0f);
  scene->add(makeSquare(0.2f, material));
  // The inset's camera sees a green square, which one near the main camera covers there.
  addAt(scene, makeSquare(1, makeMaterial(0, 1, 0)), translation(0, 0, -5));
  addAt(scene, makeSquare(0.15f, material), translation(0.535f, 0.4f, fillDistance - 1.5f));
  glEnable(GL_LIGHTING);  // as a lit frame leaves it
  kernel->display();
  EXPECT_TRUE(near(pixelOfPlane(-0.1f, -0.1f), {51, 153, 255}, 3));
  EXPECT_FALSE(glIsEnabled(GL_LIGHTING));
  EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
  GLfloat shadowMatrix[16];
  glActiveTexture(GL_TEXTURE1);
  glGetFloatv(GL_TEXTURE_MATRIX, shadowMatrix);
  EXPECT_EQ(std::count(shadowMatrix, shadowMatrix + 16, 0.0f), 16);
  const Rgb white{255, 255, 255}, red{255, 0, 0};
  const struct {
    int x, y;
    Rgb colour;
  } probes[] = {{10, 10, white},   {446, 400, white}, {447, 335, red},        {606, 454, red},
                {607, 454, white}, {500, 455, white}, {527, 395, {0, 255, 0}}};
  for (const auto& p : probes) EXPECT_TRUE(near(pixelAt(p.x, p.y), p.colour)) << p.x << ", " << p.y;
  EXPECT_FALSE(glIsEnabled(GL_SCISSOR_TEST));
  inset->camera.reset();  // a viewport without a camera is left out
  kernel->display();
  EXPECT_TRUE(near(pixelAt(500, 400), {51, 153, 255}, 3));  // the square near the main camera
}

// The counter runs up to 60001 and then starts again at 1, with a new frame-rate measurement.
TEST_F(KernelFrameTest, FrameCounterRestartsAt1AfterPassing60000) {
  kernel->frames = 60000;
  kernel->lastFpsTime = boost::posix_time::ptime();
  kernel->display();
  EXPECT_EQ(kernel->frames, 60001u);
  EXPECT_TRUE(kernel->lastFpsTime.is_not_a_date_time());
  const auto before = System::monotonicNow();
  kernel->display();
  const auto after = System::monotonicNow();
  EXPECT_EQ(kernel->frames, 1u);
  EXPECT_TRUE(kernel->lastFpsTime >= before && kernel->lastFpsTime <= after);
}

TEST_F(KernelFrameTest, PopWithoutPushWritesAnErrorAndLeavesTheMatricesAlone) {
  kernel->modelMatrix = translation(3, 0, 0);
  EXPECT_EQ(outputOf([this] { kernel->popMatrix(); }).second,
            "kernelframe.cpp: popMatrix without a matching pushMatrix\n");
  EXPECT_EQ(glInt(GL_MODELVIEW_STACK_DEPTH), 1);
  EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
  EXPECT_EQ(kernel->modelMatrix[3][0], 3);
}

// The window depth that the light's projection (45 degrees, near 1, far 1000) gives a point
// this far in front of the light.
double lightDepth(double distance) {
  return 0.5 * (1001.0 / 999.0 - 2000.0 / (999.0 * distance)) + 0.5;
}

// A shadow-map texel as the shaders unpack it: four 8-bit channels of base 255.
double unpack(const unsigned char* texel) {
  return texel[0] / 255.0 + texel[1] / 65025.0 + texel[2] / 16581375.0 + texel[3] / 4228250625.0;
}

// Front faces are culled, so the map holds the box's bottom (5.5 from the light), the plate (7),
// the floor's underside (8.01) and the clear colour beyond the floor, all written by
// "shadowMapCreation" whatever the nodes ask for. The shadow texture matrix takes a point of
// these surfaces to the texel holding it and to its depth there.
TEST_F(KernelFrameTest, ShadowMapHoldsTheLightDepthOfBackFacesWhateverProgramsTheNodesAskFor) {
  scene = makeShadowScene(true, "texLightSM");
  for (const char* name : {"shadowMapCreation", "texLightSM"}) kernel->shaders.erase(name);
  kernel->shadowMapShader = boost::make_shared<Data::Geometry::Shader>("shadowMapCreation");
  kernel->shadowMapFB.initialised = false;  // as before the first frame of a process
  EXPECT_EQ(outputOf([this] { kernel->display(); }).first,
            "shadowmapfb.cpp: initializing ShadowMapFB\n"
            "kernelshaders.cpp: load new shader shadowMapCreation\n"
            "kernelshaders.cpp: load new shader texLightSM\n");
  const std::string out = outputOf([this] {
                            newWindow();  // the map is made again in the new context
                            kernel->display();
                          }).first;
  EXPECT_EQ(occurrences(out, "shadowmapfb.cpp: initializing ShadowMapFB\n"), 1) << out;
  std::vector<unsigned char> map(512 * 512 * 4);
  glActiveTexture(GL_TEXTURE1);
  glGetTexImage(GL_TEXTURE_2D, 0, GL_RGBA, GL_UNSIGNED_BYTE, map.data());
  EXPECT_EQ(map[0] + map[1] + map[2] + map[3], 4 * 255);  // the corner shows the clear colour
  Matrix shadow;
  glGetFloatv(GL_TEXTURE_MATRIX, shadow[0]);
  // The light looks down -z with a 45 degree view: at distance d a point lands x / (d tan 22.5)
  // half-maps right of the map's centre, and the edge of the view on the map's edge.
  const double tan22 = std::sqrt(2.0) - 1;
  const float edge = static_cast<float>(8.01 * tan22);
  const struct {
    float x, y, z;
    double distance;
    bool drawn;  // the map holds the surface there
  } points[] = {{0, 0, 2.5f, 5.5, true},        {2, 2, 1, 7, true},
                {-2.5f, 0, -0.01f, 8.01, true}, {0, -2.8f, -0.01f, 8.01, true},
                {edge, 0, -0.01f, 8.01, false}, {-edge, -edge, -0.01f, 8.01, false}};
  for (const auto& p : points) {
    const Matrix image = shadow * translation(p.x, p.y, p.z);  // its last column: T p
    const double w = image[3][3], half = p.distance * tan22;
    EXPECT_NEAR(image[3][0] / w, 0.5 + 0.5 * p.x / half, 1e-6) << p.x << ", " << p.y;
    EXPECT_NEAR(image[3][1] / w, 0.5 + 0.5 * p.y / half, 1e-6) << p.x << ", " << p.y;
    EXPECT_NEAR(image[3][2] / w, lightDepth(p.distance), 1e-6) << p.x << ", " << p.y;
    if (!p.drawn) continue;
    // The packing keeps about 24 bits; a float depth near 1 is good to 2^-24 itself.
    const std::size_t texel =
        512 * int(image[3][1] / image[3][3] * 512) + int(image[3][0] / image[3][3] * 512);
    EXPECT_NEAR(unpack(&map.at(4 * texel)), lightDepth(p.distance), 1.0 / (1 << 23)) << p.x;
  }
  EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
}

// Where the map holds a surface's own underside just behind it, or the surface lies beyond the
// light's view, it is lit exactly as without shadows; behind the box only ambient light is left.
TEST_F(KernelFrameTest, FloorJustInFrontOfItsUndersideIsLitAndOnlyAmbientBehindTheBox) {
  const int probes[][2] = {{320, 240}, {320, 120}, {150, 240}, {490, 200}, {578, 157}};
  scene = makeShadowScene(false, "texLight");
  addAt(scene, makeSquare(0.5f, makeMaterial(0.8f, 0.8f, 0.8f, 0.1f)),
        translation(-1.5f, -1, 1) * Matrix().setRotationX(1.5707963f), "texLight");
  kernel->display();
  EXPECT_TRUE(near(pixelAt(220, 255), {31, 31, 31}, 1));  // it faces away from the light
  std::vector<Rgb> unshadowed;
  for (const auto& p : probes) unshadowed.push_back(pixelAt(p[0], p[1]));
  scene = makeShadowScene(false, "texLightSM");
  kernel->display();
  for (std::size_t i = 0; i < unshadowed.size(); ++i) {
    EXPECT_TRUE(near(pixelAt(probes[i][0], probes[i][1]), unshadowed[i], 1)) << i;
  }
  EXPECT_TRUE(near(unshadowed[0], {235, 235, 235}, 1));  // 0.8 diffuse + 0.1 x 1.2 ambient
  EXPECT_TRUE(near(unshadowed[4], {213, 213, 213}, 1));  // 0.8 x cos 26.6 degrees + 0.12
  scene = makeShadowScene(true, "texLightSM");
  kernel->display();
  EXPECT_TRUE(near(pixelAt(320, 240), {31, 31, 31}, 1));
  EXPECT_TRUE(near(pixelAt(320, 120), unshadowed[1], 1));
}

// Each call makes the three objects anew (deleting the old ones) at its size and leaves the
// texture bound on unit 1; one of no size is reported incomplete and marked made all the same.
TEST_F(KernelFrameTest, ShadowMapFramebufferIsMadeAnewAtEachCallAndReportsAnIncompleteOne) {
  Rendering::ShadowMapFB& fb = kernel->shadowMapFB;
  const std::string made = "shadowmapfb.cpp: initializing ShadowMapFB\n",
                    error = "shadowmapfb.cpp: FBO error: ";
  outputOf([this] { kernel->initShadowMapFB(64); });  // one for the first call to replace
  for (int size : {256, 128, 0}) {
    const Rendering::ShadowMapFB old = fb;
    EXPECT_EQ(outputOf([&] { kernel->initShadowMapFB(size); }),
              std::make_pair(made, size ? std::string()
                                        : error + "GL_FRAMEBUFFER_INCOMPLETE_ATTACHMENT_EXT\n"));
    EXPECT_TRUE(fb.initialised);
    if (!size) break;
    EXPECT_FALSE(glIsTexture(old.texture) && old.texture != fb.texture);  // each old one deleted
    EXPECT_FALSE(glIsFramebufferEXT(old.framebuffer) && old.framebuffer != fb.framebuffer);
    EXPECT_FALSE(glIsRenderbufferEXT(old.depthRenderbuffer) &&
                 old.depthRenderbuffer != fb.depthRenderbuffer);
    GLint state[7] = {};
    glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, GL_TEXTURE_WIDTH, &state[0]);
    glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, GL_TEXTURE_HEIGHT, &state[1]);
    glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, GL_TEXTURE_INTERNAL_FORMAT, &state[2]);
    glGetTexParameteriv(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, &state[3]);
    glGetTexParameteriv(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, &state[4]);
    glGetRenderbufferParameterivEXT(GL_RENDERBUFFER_EXT, GL_RENDERBUFFER_WIDTH_EXT, &state[5]);
    glGetRenderbufferParameterivEXT(GL_RENDERBUFFER_EXT, GL_RENDERBUFFER_DEPTH_SIZE_EXT, &state[6]);
    EXPECT_EQ((std::vector<GLint>{glInt(GL_ACTIVE_TEXTURE), glInt(GL_TEXTURE_BINDING_2D),
                                  glInt(GL_FRAMEBUFFER_BINDING_EXT), state[0], state[1], state[2],
                                  state[3], state[4], state[5], state[6] >= 16}),
              (std::vector<GLint>{GL_TEXTURE1, GLint(fb.texture), 0, size, size, GL_RGBA8,
                                  GL_NEAREST, GL_NEAREST, size, 1}));
  }
  fb.initialised = false;  // the next frame makes it again at its own size
  EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
}

}  // namespace
