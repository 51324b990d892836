// Drivers lacking an extension: each case removes it in a child before any GL context exists.

#include <unistd.h>

#include <cstdlib>

#include "kernelwindow.h"

#if defined(__SANITIZE_ADDRESS__)
#include <sanitizer/lsan_interface.h>
#endif

namespace {

using namespace TestSupport;

// Everything the child writes goes to standard error, where the death test sees it. The
// child may end inside init, after the driver is unloaded: its leaks are not checked.
void withoutExtension(const char* extension) {
  dup2(STDERR_FILENO, STDOUT_FILENO);
  setenv("MESA_EXTENSION_OVERRIDE", extension, 1);
#if defined(__SANITIZE_ADDRESS__)
  __lsan_disable();
#endif
}

TEST(KernelCapabilitiesDeathTest, WithoutShadersStartUpEndsWithStatusOneAfterTheVersionLines) {
  static char* argv[] = {const_cast<char*>("kernelcapabilities_test"), nullptr};
  for (const char* extension : {"-GL_ARB_vertex_shader", "-GL_ARB_fragment_shader"}) {
    EXPECT_EXIT(
        {
          withoutExtension(extension);
          Rendering::Kernel::instance()->init(1, argv);
        },
        testing::ExitedWithCode(1),
        "init renderer:.* Using GLEW .* OpenGL ver: [^\n]*\n[^\n]* no shader support!!!!!\n$");
  }
}

// The frame skips the shadow pass: the floor under the box is lit grey, not left white.
TEST(KernelCapabilitiesDeathTest, WithoutFramebufferObjectsTheFrameDrawsOnWithoutShadows) {
  EXPECT_EXIT(
      {
        withoutExtension("-GL_EXT_framebuffer_object");
        Rendering::Kernel* kernel = openKernelWindow();
        makeShadowScene(true);
        kernel->display();
        const bool clean = glGetError() == GL_NO_ERROR && !kernel->framebufferObjects &&
                           !kernel->shadowMapFB.initialised;
        std::exit(near(pixelAt(320, 240), {235, 235, 235}, 1) && clean ? 0 : 2);
      },
      testing::ExitedWithCode(0), " no framebuffer objects supported\n");
}

}  // namespace
