#pragma once
// The off-screen framebuffer the shadow pass draws into: a colour texture and a depth
// renderbuffer of the same square size.

#include "rendering/glheaders.h"

namespace Rendering {

struct ShadowMapFB {
  // The names mean something only while initialised is true.
  GLuint framebuffer = 0;
  GLuint texture = 0;  // colour attachment 0, read by the shaders on texture unit 1
  GLuint depthRenderbuffer = 0;
  // False again whenever the kernel makes a new GL context.
  bool initialised = false;
};

}  // namespace Rendering
