// GLUT game mode for real, on an X server whose screen can switch to 800 x 600 (run
// through tests/support/with-xorg-dummy.sh).

#include <gtest/gtest.h>

#include <cstdio>
#include <string>

#include "kernelwindow.h"
#include "rendering/glheaders.h"
#include "rendering/kernel.h"

namespace {

// The screen mode as the X server reports it, e.g. "800x600".
std::string screenMode() {
  std::string text;
  if (FILE* pipe = popen("xvidtune -show 2>/dev/null", "r")) {
    char buffer[256];
    while (fgets(buffer, sizeof buffer, pipe)) text += buffer;
    pclose(pipe);
  }
  const std::size_t open = text.find('"');
  const std::size_t close = text.find('"', open + 1);
  return open == std::string::npos || close == std::string::npos
             ? text
             : text.substr(open + 1, close - open - 1);
}

class KernelGameModeTest : public testing::Test {
 protected:
  void SetUp() override {
    kernel = TestSupport::openWindow();
    TestSupport::resetKernel();
  }
  void TearDown() override {
    if (kernel->isGameModeActive()) kernel->setGameMode(false);
    TestSupport::pumpEvents();
  }
  Rendering::Kernel* kernel = nullptr;
};

TEST_F(KernelGameModeTest, GameModeIsEnteredFullScreenAt800x600) {
  ASSERT_TRUE(glutGameModeGet(GLUT_GAME_MODE_POSSIBLE));
  testing::internal::CaptureStdout();
  kernel->setGameMode(true);
  const std::string out = testing::internal::GetCapturedStdout();
  TestSupport::pumpEvents();

  EXPECT_TRUE(kernel->isGameModeActive());
  EXPECT_EQ(kernel->windowId, 0);
  EXPECT_EQ(glutGameModeGet(GLUT_GAME_MODE_WIDTH), 800);
  EXPECT_EQ(glutGameModeGet(GLUT_GAME_MODE_HEIGHT), 600);
  EXPECT_TRUE(glutGameModeGet(GLUT_GAME_MODE_DISPLAY_CHANGED));
  EXPECT_EQ(screenMode(), "800x600");
  EXPECT_EQ(kernel->viewports[0]->getPixelWidth(), glutGet(GLUT_WINDOW_WIDTH));
  EXPECT_NE(out.find("recompile shaders"), std::string::npos);
  EXPECT_EQ(out.find("ARGH"), std::string::npos) << "no second display task";

  kernel->viewports[0]->clearColor.set(0, 0, 1, 1);
  kernel->display();
  EXPECT_TRUE(TestSupport::near(TestSupport::pixelAt(799, 599), {0, 0, 255}))
      << TestSupport::describe(TestSupport::pixelAt(799, 599));
  EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
}

TEST_F(KernelGameModeTest, LeavingGameModeGivesA640x480WindowAgain) {
  kernel->setGameMode(true);
  TestSupport::pumpEvents();
  ASSERT_TRUE(kernel->isGameModeActive());
  kernel->setGameMode(false);
  TestSupport::pumpEvents();

  EXPECT_FALSE(kernel->isGameModeActive());
  EXPECT_NE(kernel->windowId, 0);
  EXPECT_EQ(glutGetWindow(), kernel->windowId);
  EXPECT_EQ(screenMode(), "1024x768");
  EXPECT_EQ(glutGet(GLUT_WINDOW_WIDTH), 640);
  EXPECT_EQ(glutGet(GLUT_WINDOW_HEIGHT), 480);
  EXPECT_EQ(kernel->viewports[0]->getPixelWidth(), 640);
}

TEST_F(KernelGameModeTest, TexturesAreUploadedAgainInGameModeAndAfterIt) {
  auto texture = TestSupport::makeTexture("switch", 1, 1, {{255, 0, 0}});
  kernel->bindTexture(texture);
  const int uploads = static_cast<int>(kernel->uploadedTextures.size());
  ASSERT_GE(uploads, 1);
  kernel->setGameMode(true);
  EXPECT_FALSE(texture->uploaded);
  kernel->bindTexture(texture);
  EXPECT_TRUE(glIsTexture(texture->glName));
  kernel->setGameMode(false);
  EXPECT_FALSE(texture->uploaded);
  EXPECT_TRUE(kernel->uploadedTextures.empty());
}

}  // namespace
