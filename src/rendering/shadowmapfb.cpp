// The shadow-map framebuffer: its three GL objects, the report of an incomplete one and
// the binding of its texture on unit 1.

#include "rendering/shadowmapfb.h"

#include <iostream>

#include "rendering/kernel.h"
#include "system/log.h"

namespace Rendering {

namespace {

const struct {
  GLenum status;
  const char* name;
} incomplete[] = {
    {GL_FRAMEBUFFER_INCOMPLETE_ATTACHMENT_EXT, "GL_FRAMEBUFFER_INCOMPLETE_ATTACHMENT_EXT"},
    {GL_FRAMEBUFFER_INCOMPLETE_MISSING_ATTACHMENT_EXT,
     "GL_FRAMEBUFFER_INCOMPLETE_MISSING_ATTACHMENT_EXT"},
    {GL_FRAMEBUFFER_INCOMPLETE_DIMENSIONS_EXT, "GL_FRAMEBUFFER_INCOMPLETE_DIMENSIONS_EXT"},
    {GL_FRAMEBUFFER_INCOMPLETE_FORMATS_EXT, "GL_FRAMEBUFFER_INCOMPLETE_FORMATS_EXT"},
    {GL_FRAMEBUFFER_INCOMPLETE_DRAW_BUFFER_EXT, "GL_FRAMEBUFFER_INCOMPLETE_DRAW_BUFFER_EXT"},
    {GL_FRAMEBUFFER_INCOMPLETE_READ_BUFFER_EXT, "GL_FRAMEBUFFER_INCOMPLETE_READ_BUFFER_EXT"},
    {GL_FRAMEBUFFER_UNSUPPORTED_EXT, "GL_FRAMEBUFFER_UNSUPPORTED_EXT"},
};

// Complete, or a status this table does not know, writes nothing.
void reportStatus(GLenum status) {
  for (const auto& entry : incomplete) {
    if (entry.status == status) {
      std::cerr << LOG_PREFIX << "FBO error: " << entry.name << std::endl;
    }
  }
}

}  // namespace

void Kernel::initShadowMapFB(int size) {
  std::cout << LOG_PREFIX << "initializing ShadowMapFB" << std::endl;
  ShadowMapFB& fb = shadowMapFB;
  if (fb.initialised) {
    glDeleteFramebuffersEXT(1, &fb.framebuffer);
    glDeleteRenderbuffersEXT(1, &fb.depthRenderbuffer);
    glDeleteTextures(1, &fb.texture);
    fb.initialised = false;
  }
  glGenFramebuffersEXT(1, &fb.framebuffer);
  glBindFramebufferEXT(GL_FRAMEBUFFER_EXT, fb.framebuffer);

  glGenRenderbuffersEXT(1, &fb.depthRenderbuffer);
  glBindRenderbufferEXT(GL_RENDERBUFFER_EXT, fb.depthRenderbuffer);
  glRenderbufferStorageEXT(GL_RENDERBUFFER_EXT, GL_DEPTH_COMPONENT, size, size);
  glFramebufferRenderbufferEXT(GL_FRAMEBUFFER_EXT, GL_DEPTH_ATTACHMENT_EXT, GL_RENDERBUFFER_EXT,
                               fb.depthRenderbuffer);

  // Made on unit 1, where it stays: on unit 0 it would stand in for the texture of
  // every material without one until a textured material is drawn.
  glActiveTexture(GL_TEXTURE1);
  glGenTextures(1, &fb.texture);
  glBindTexture(GL_TEXTURE_2D, fb.texture);
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_NEAREST);
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_NEAREST);
  glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA8, size, size, 0, GL_RGBA, GL_UNSIGNED_BYTE, nullptr);
  glFramebufferTexture2DEXT(GL_FRAMEBUFFER_EXT, GL_COLOR_ATTACHMENT0_EXT, GL_TEXTURE_2D, fb.texture,
                            0);

  reportStatus(glCheckFramebufferStatusEXT(GL_FRAMEBUFFER_EXT));
  glBindFramebufferEXT(GL_FRAMEBUFFER_EXT, 0);
  glActiveTexture(GL_TEXTURE1);
  glBindTexture(GL_TEXTURE_2D, fb.texture);
  fb.initialised = true;
}

}  // namespace Rendering
