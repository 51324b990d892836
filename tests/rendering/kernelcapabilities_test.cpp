// Start-up against drivers that lack an extension. Each case runs in a child process
// that removes the extension before its GL context is made; this process opens none.

#include <gtest/gtest.h>
#include <unistd.h>

#include <boost/make_shared.hpp>
#include <cstdlib>

#include "kernelwindow.h"
#include "rendering/glheaders.h"
#include "rendering/kernel.h"

#if defined(__SANITIZE_ADDRESS__)
#include <sanitizer/lsan_interface.h>
#endif

namespace {

using Rendering::Kernel;

TEST(KernelCapabilitiesTest, ConstructionNeedsNoWindowAndSetsTheDefaults) {
  Kernel* kernel = Kernel::instance();
  EXPECT_EQ(Kernel::instance(), kernel);
  EXPECT_EQ(Kernel::singleton, kernel);
  ASSERT_EQ(kernel->viewports.size(), 1u);
  EXPECT_EQ(kernel->windowId, 0);
  EXPECT_EQ(kernel->windowWidth, 640);
  EXPECT_EQ(kernel->windowHeight, 480);
  EXPECT_EQ(kernel->gameModeWidth, 800);
  EXPECT_EQ(kernel->gameModeHeight, 600);
  EXPECT_EQ(kernel->shadowMapSize, 512);
  EXPECT_TRUE(kernel->doubleBuffered);
  EXPECT_EQ(kernel->frames, 0u);
  EXPECT_TRUE(kernel->lastFpsTime.is_not_a_date_time());
  EXPECT_FALSE(kernel->currentShader);
  EXPECT_TRUE(kernel->shaders.empty());
  EXPECT_FALSE(kernel->shadowMapFB.initialised);
  EXPECT_TRUE(TestSupport::nearMatrix(kernel->viewMatrix, Kernel::Matrix::identity(), 0));
}

// Everything the child writes goes to standard error, where the death test sees it.
void initWithout(const char* extension) {
  dup2(STDERR_FILENO, STDOUT_FILENO);
  setenv("MESA_EXTENSION_OVERRIDE", extension, 1);
  static char name[] = "kernelcapabilities_test";
  static char* argv[] = {name, nullptr};
#if defined(__SANITIZE_ADDRESS__)
  // The process ends inside init, after the GL library has unloaded its driver at exit;
  // what the driver allocated could then not be told from our own allocations.
  __lsan_disable();
#endif
  Kernel::instance()->init(1, argv);
}

TEST(KernelCapabilitiesDeathTest, WithoutShadersStartUpEndsWithStatusOneAfterTheVersionLines) {
  EXPECT_EXIT(
      {
        initWithout("-GL_ARB_vertex_shader");
        std::exit(0);
      },
      testing::ExitedWithCode(1),
      "init renderer:.* Using GLEW .* OpenGL ver: [^\n]*\n[^\n]* no shader support!!!!!\n$");
}

TEST(KernelCapabilitiesDeathTest, WithoutFragmentShadersStartUpEndsWithStatusOne) {
  EXPECT_EXIT(
      {
        initWithout("-GL_ARB_fragment_shader");
        std::exit(0);
      },
      testing::ExitedWithCode(1), "no shader support!!!!!");
}

// The frame then skips the shadow pass: a floor under a box stays lit, without GL errors.
TEST(KernelCapabilitiesDeathTest, WithoutFramebufferObjectsTheFrameDrawsOnWithoutShadows) {
  EXPECT_EXIT(
      {
        setenv("MESA_EXTENSION_OVERRIDE", "-GL_EXT_framebuffer_object", 1);
        Kernel* kernel = TestSupport::openWindow();
        auto scene = TestSupport::makeShadowScene(true, TestSupport::makeMaterial(0, 1, 0));
        kernel->display();
        kernel->display();
        const TestSupport::Rgb floor = TestSupport::pixelAt(320, 240);
        const bool lit = TestSupport::near(floor, {0, 255, 0}, 10);
        const bool clean = glGetError() == GL_NO_ERROR && !kernel->framebufferObjects &&
                           !kernel->shadowMapFB.initialised;
        std::fprintf(stderr, "floor %s\n", TestSupport::describe(floor).c_str());
        std::exit(lit && clean ? 0 : 2);
      },
      testing::ExitedWithCode(0), " no framebuffer objects supported\n");
}

}  // namespace
