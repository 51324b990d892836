// GLUT game mode for real, on an X server whose screen can switch to 800 x 600 (run
// through tests/support/with-xorg-dummy.sh).

#include <cstdio>
#include <string>

#include "kernelwindow.h"

namespace {

using namespace TestSupport;
using KernelGameModeTest = KernelTest;

// The screen mode as the X server reports it, e.g. "800x600".
std::string screenMode() {
  std::string text;
  if (FILE* pipe = popen("xvidtune -show 2>/dev/null", "r")) {
    char buffer[256];
    while (fgets(buffer, sizeof buffer, pipe)) text += buffer;
    pclose(pipe);
  }
  const std::size_t open = text.find('"'), close = text.find('"', open + 1);
  return close == std::string::npos ? text : text.substr(open + 1, close - open - 1);
}

TEST_F(KernelGameModeTest, GameModeIsEnteredFullScreenAt800x600AndLeftForA640x480Window) {
  ASSERT_TRUE(glutGameModeGet(GLUT_GAME_MODE_POSSIBLE));
  const std::string out = stdoutOf([] { newWindow(true); });

  EXPECT_TRUE(kernel->isGameModeActive());
  EXPECT_EQ(kernel->windowId, 0);
  EXPECT_EQ(screenMode(), "800x600");
  EXPECT_EQ(glutGameModeGet(GLUT_GAME_MODE_WIDTH), 800);
  EXPECT_EQ(kernel->viewports[0]->getPixelWidth(), glutGet(GLUT_WINDOW_WIDTH));
  EXPECT_EQ(occurrences(out, "recompile shaders"), 1);
  EXPECT_EQ(occurrences(out, "ARGH"), 0) << "no second display task";
  kernel->viewports[0]->clearColor.set(0, 0, 1, 1);
  kernel->display();
  EXPECT_TRUE(near(pixelAt(799, 599), {0, 0, 255}));
  EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));

  newWindow(false);
  EXPECT_FALSE(kernel->isGameModeActive());
  EXPECT_EQ(glutGetWindow(), kernel->windowId);
  EXPECT_EQ(screenMode(), "1024x768");
  EXPECT_EQ(glutGet(GLUT_WINDOW_WIDTH), 640);
  EXPECT_EQ(glutGet(GLUT_WINDOW_HEIGHT), 480);
  EXPECT_EQ(kernel->viewports[0]->getPixelWidth(), 640);
}

}  // namespace
