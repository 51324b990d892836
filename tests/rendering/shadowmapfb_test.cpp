// The shadow-map framebuffer: its objects, its binding on unit 1 and its report.

#include "rendering/shadowmapfb.h"

#include <gtest/gtest.h>

#include "kernelwindow.h"
#include "rendering/glheaders.h"
#include "rendering/kernel.h"

namespace {

GLint integer(GLenum name) {
  GLint value = 0;
  glGetIntegerv(name, &value);
  return value;
}

class ShadowMapFBTest : public testing::Test {
 protected:
  void SetUp() override {
    kernel = TestSupport::openWindow();
    TestSupport::resetKernel();
  }
  void TearDown() override { glActiveTexture(GL_TEXTURE0); }
  Rendering::Kernel* kernel = nullptr;
};

TEST_F(ShadowMapFBTest, MakesACompleteFramebufferAndBindsItsTextureOnUnitOne) {
  kernel->shadowMapFB.initialised = false;
  testing::internal::CaptureStdout();
  testing::internal::CaptureStderr();
  kernel->initShadowMapFB(512);
  const std::string err = testing::internal::GetCapturedStderr();
  const std::string out = testing::internal::GetCapturedStdout();
  const Rendering::ShadowMapFB& fb = kernel->shadowMapFB;

  EXPECT_NE(out.find("initializing ShadowMapFB\n"), std::string::npos) << out;
  EXPECT_EQ(err, "");
  EXPECT_TRUE(fb.initialised);
  EXPECT_EQ(integer(GL_FRAMEBUFFER_BINDING_EXT), 0);
  EXPECT_EQ(integer(GL_ACTIVE_TEXTURE), GL_TEXTURE1);
  EXPECT_EQ(static_cast<GLuint>(integer(GL_TEXTURE_BINDING_2D)), fb.texture);
  EXPECT_EQ(static_cast<GLuint>(integer(GL_RENDERBUFFER_BINDING_EXT)), fb.depthRenderbuffer);
  GLint width = 0, height = 0;
  glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, GL_TEXTURE_WIDTH, &width);
  glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, GL_TEXTURE_HEIGHT, &height);
  EXPECT_EQ(width, 512);
  EXPECT_EQ(height, 512);

  glBindFramebufferEXT(GL_FRAMEBUFFER_EXT, fb.framebuffer);
  EXPECT_EQ(glCheckFramebufferStatusEXT(GL_FRAMEBUFFER_EXT),
            static_cast<GLenum>(GL_FRAMEBUFFER_COMPLETE_EXT));
  GLint attached = 0;
  glGetFramebufferAttachmentParameterivEXT(GL_FRAMEBUFFER_EXT, GL_COLOR_ATTACHMENT0_EXT,
                                           GL_FRAMEBUFFER_ATTACHMENT_OBJECT_NAME_EXT, &attached);
  EXPECT_EQ(static_cast<GLuint>(attached), fb.texture);
  glGetFramebufferAttachmentParameterivEXT(GL_FRAMEBUFFER_EXT, GL_DEPTH_ATTACHMENT_EXT,
                                           GL_FRAMEBUFFER_ATTACHMENT_OBJECT_NAME_EXT, &attached);
  EXPECT_EQ(static_cast<GLuint>(attached), fb.depthRenderbuffer);
  glBindFramebufferEXT(GL_FRAMEBUFFER_EXT, 0);
  EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
}

TEST_F(ShadowMapFBTest, ASecondCallReplacesTheObjectsWithOnesOfTheNewSize) {
  kernel->initShadowMapFB(512);
  const Rendering::ShadowMapFB old = kernel->shadowMapFB;
  kernel->initShadowMapFB(256);
  const Rendering::ShadowMapFB& fb = kernel->shadowMapFB;
  // A deleted name may be handed out again at once; otherwise it is gone.
  if (fb.framebuffer != old.framebuffer) {
    EXPECT_FALSE(glIsFramebufferEXT(old.framebuffer));
  }
  if (fb.texture != old.texture) {
    EXPECT_FALSE(glIsTexture(old.texture));
  }
  GLint width = 0;
  glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, GL_TEXTURE_WIDTH, &width);
  EXPECT_EQ(width, 256);
  GLint depthWidth = 0;
  glGetRenderbufferParameterivEXT(GL_RENDERBUFFER_EXT, GL_RENDERBUFFER_WIDTH_EXT, &depthWidth);
  EXPECT_EQ(depthWidth, 256);
}

TEST_F(ShadowMapFBTest, AnIncompleteFramebufferIsReportedOnceAndStillUsed) {
  kernel->shadowMapFB.initialised = false;
  testing::internal::CaptureStdout();
  testing::internal::CaptureStderr();
  kernel->initShadowMapFB(0);
  const std::string err = testing::internal::GetCapturedStderr();
  testing::internal::GetCapturedStdout();
  EXPECT_NE(err.find("FBO error: GL_FRAMEBUFFER_INCOMPLETE_"), std::string::npos) << err;
  EXPECT_EQ(err.find("FBO error", err.find("FBO error") + 1), std::string::npos) << err;
  EXPECT_TRUE(kernel->shadowMapFB.initialised);
  kernel->initShadowMapFB(512);
}

}  // namespace
