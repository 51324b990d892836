// GLUT game mode for real, on an X server whose screen can switch to 800 x 600 (run
// through tests/support/with-xorg-dummy.sh).

#include <cstdio>

#include "kernelwindow.h"

namespace {

using namespace TestSupport;
using KernelGameModeTest = KernelTest;

// The screen mode as the X server reports it, e.g. "800x600".
std::string screenMode() {
  char mode[64] = "";
  FILE* pipe = popen("xvidtune -show 2>/dev/null", "r");
  if (pipe && std::fscanf(pipe, " \"%63[^\"]", mode) != 1) mode[0] = '\0';
  if (pipe) pclose(pipe);
  return mode;
}

TEST_F(KernelGameModeTest, GameModeIsEnteredFullScreenAt800x600AndLeftForA640x480Window) {
  ASSERT_TRUE(glutGameModeGet(GLUT_GAME_MODE_POSSIBLE));
  const std::string out = outputOf([] { newWindow(true); }).first;
  EXPECT_TRUE(kernel->isGameModeActive() && kernel->windowId == 0);
  EXPECT_EQ(screenMode(), "800x600");
  EXPECT_EQ(occurrences(out, "recompile shaders"), 1);
  EXPECT_EQ(occurrences(out, "ARGH"), 0);
  kernel->viewports[0]->clearColor.set(0, 0, 1, 1);
  kernel->display();
  EXPECT_TRUE(near(pixelAt(799, 599), {0, 0, 255}));

  newWindow(false);
  EXPECT_FALSE(kernel->isGameModeActive());
  EXPECT_EQ(screenMode(), "1024x768");
  EXPECT_EQ((std::vector<int>{glutGetWindow() == kernel->windowId, glutGet(GLUT_WINDOW_X),
                              glutGet(GLUT_WINDOW_Y), glutGet(GLUT_WINDOW_WIDTH),
                              glutGet(GLUT_WINDOW_HEIGHT)}),
            (std::vector<int>{1, 100, 100, 640, 480}));
}

}  // namespace
