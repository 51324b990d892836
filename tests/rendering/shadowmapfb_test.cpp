// The shadow-map framebuffer: its objects, its binding on unit 1 and its report.

#include "rendering/shadowmapfb.h"

#include "kernelwindow.h"

namespace {

using namespace TestSupport;
using ShadowMapFBTest = KernelTest;

GLuint attached(GLenum point) {
  GLint name = 0;
  glGetFramebufferAttachmentParameterivEXT(GL_FRAMEBUFFER_EXT, point,
                                           GL_FRAMEBUFFER_ATTACHMENT_OBJECT_NAME_EXT, &name);
  return static_cast<GLuint>(name);
}

GLint integer(GLenum name) {
  GLint value = 0;
  glGetIntegerv(name, &value);
  return value;
}

TEST_F(ShadowMapFBTest, IsCompleteAndLeavesItsTextureBoundOnUnitOne) {
  std::string out;
  EXPECT_EQ(stderrOf([&] { out = stdoutOf([this] { kernel->initShadowMapFB(512); }); }), "");
  EXPECT_EQ(occurrences(out, "initializing ShadowMapFB\n"), 1);
  const Rendering::ShadowMapFB& fb = kernel->shadowMapFB;
  EXPECT_TRUE(fb.initialised);
  EXPECT_EQ(integer(GL_FRAMEBUFFER_BINDING_EXT), 0);
  EXPECT_EQ(integer(GL_ACTIVE_TEXTURE), GL_TEXTURE1);
  EXPECT_EQ(static_cast<GLuint>(integer(GL_TEXTURE_BINDING_2D)), fb.texture);

  glBindFramebufferEXT(GL_FRAMEBUFFER_EXT, fb.framebuffer);
  EXPECT_EQ(glCheckFramebufferStatusEXT(GL_FRAMEBUFFER_EXT),
            static_cast<GLenum>(GL_FRAMEBUFFER_COMPLETE_EXT));
  EXPECT_EQ(attached(GL_COLOR_ATTACHMENT0_EXT), fb.texture);
  EXPECT_EQ(attached(GL_DEPTH_ATTACHMENT_EXT), fb.depthRenderbuffer);
  glBindFramebufferEXT(GL_FRAMEBUFFER_EXT, 0);
  EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
}

// Nothing of an earlier map is kept: its objects make way for ones of the new size.
TEST_F(ShadowMapFBTest, ALaterCallReplacesTheObjectsAndReportsAnIncompleteOneOnce) {
  kernel->initShadowMapFB(512);
  const GLuint oldTexture = kernel->shadowMapFB.texture;
  std::string err;
  stdoutOf([&] { err = stderrOf([this] { kernel->initShadowMapFB(0); }); });
  EXPECT_EQ(occurrences(err, "FBO error: GL_FRAMEBUFFER_INCOMPLETE_"), 1) << err;
  EXPECT_TRUE(kernel->shadowMapFB.initialised);

  kernel->initShadowMapFB(256);
  // A deleted name may be handed out again at once; otherwise it is gone.
  EXPECT_TRUE(kernel->shadowMapFB.texture == oldTexture || !glIsTexture(oldTexture));
  GLint width = 0, depthWidth = 0;
  glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, GL_TEXTURE_WIDTH, &width);
  glGetRenderbufferParameterivEXT(GL_RENDERBUFFER_EXT, GL_RENDERBUFFER_WIDTH_EXT, &depthWidth);
  EXPECT_EQ(width, 256);
  EXPECT_EQ(depthWidth, 256);
}

}  // namespace
