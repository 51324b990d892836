#include "rendering/kernel.h"

#include <gtest/gtest.h>

#include <boost/make_shared.hpp>
#include <chrono>
#include <thread>

#include "kernelwindow.h"
#include "rendering/glheaders.h"

namespace {

using Rendering::Kernel;
using TestSupport::openWindow;

int count(const std::string& text, const std::string& word) {
  int n = 0;
  for (std::size_t at = text.find(word); at != std::string::npos; at = text.find(word, at + 1)) ++n;
  return n;
}

class KernelTest : public testing::Test {
 protected:
  void SetUp() override {
    kernel = openWindow();
    TestSupport::resetKernel();
  }
  Kernel* kernel = nullptr;
};

TEST_F(KernelTest, InitReportsTheCapabilitiesInOrder) {
  const std::string& out = TestSupport::initOutput();
  const char* lines[] = {"init renderer:",
                         "ARGH 10 10",
                         "recompile shaders",
                         "\n Using GLEW ",
                         "\n OpenGL ver: ",
                         "\n vertex and fragment shader supported\n",
                         "\n Texture Units available: ",
                         " ,max size: ",
                         "\n FBO supported with max color attachments: ",
                         "load new shader texLight\n"};
  std::size_t at = 0;
  for (const char* line : lines) {
    const std::size_t found = out.find(line, at);
    ASSERT_NE(found, std::string::npos) << "missing or out of order: " << line << "\n" << out;
    at = found;
  }
  EXPECT_EQ(out.substr(out.size() - 2), "\n\n") << "init ends with an empty line";
  EXPECT_EQ(count(out, "ARGH"), 1);
  EXPECT_EQ(kernel->currentShader, kernel->shaders.at("texLight"));
  EXPECT_TRUE(kernel->currentShader->loaded);
}

TEST_F(KernelTest, NewWindowReplacesTheOldOneAndRebuildsWhatTheContextHeld) {
  auto texture = TestSupport::makeTexture("texture", 1, 1, {{255, 0, 0}});
  kernel->bindTexture(texture);
  ASSERT_TRUE(texture->uploaded);
  const int oldWindow = kernel->windowId;
  kernel->shadowMapFB.initialised = true;

  testing::internal::CaptureStdout();
  kernel->createWindow(false);
  const std::string out = testing::internal::GetCapturedStdout();
  TestSupport::pumpEvents();

  EXPECT_NE(kernel->windowId, 0);
  EXPECT_NE(kernel->windowId, oldWindow);
  EXPECT_EQ(glutGetWindow(), kernel->windowId);
  EXPECT_EQ(glutGet(GLUT_WINDOW_WIDTH), 640);
  EXPECT_EQ(glutGet(GLUT_WINDOW_HEIGHT), 480);
  EXPECT_FALSE(texture->uploaded);
  EXPECT_TRUE(kernel->uploadedTextures.empty());
  EXPECT_FALSE(kernel->shadowMapFB.initialised);
  EXPECT_EQ(count(out, "recompile shaders"), 1);
  for (const auto& entry : kernel->shaders) {
    EXPECT_TRUE(glIsProgram(entry.second->program)) << entry.first;
  }
  GLint program = 0;
  glGetIntegerv(GL_CURRENT_PROGRAM, &program);
  EXPECT_EQ(static_cast<GLuint>(program), kernel->currentShader->program);
  EXPECT_TRUE(glIsEnabled(GL_DEPTH_TEST));
}

// Each window used to start one more timer chain and display task, so the program
// drew more frames per period the more often it switched.
TEST_F(KernelTest, NewWindowsStartNoFurtherTimerOrDisplayTask) {
  testing::internal::CaptureStdout();
  for (int i = 0; i < 3; ++i) kernel->createWindow(false);
  const std::string out = testing::internal::GetCapturedStdout();
  EXPECT_EQ(count(out, "ARGH"), 0);
  TestSupport::pumpEvents();

  kernel->frames = 0;
  const auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(300);
  while (std::chrono::steady_clock::now() < end) {
    glutMainLoopEvent();
    std::this_thread::sleep_for(std::chrono::microseconds(200));
  }
  // One display task every 10 ms gives at most about 30; four would give about 120.
  EXPECT_GT(kernel->frames, 0u);
  EXPECT_LE(kernel->frames, 40u);
}

TEST_F(KernelTest, GameModeThatIsNotPossibleGivesAWindow) {
  if (glutGameModeGet(GLUT_GAME_MODE_POSSIBLE)) GTEST_SKIP() << "this display can switch modes";
  kernel->setGameMode(true);
  TestSupport::pumpEvents();
  EXPECT_FALSE(kernel->isGameModeActive());
  EXPECT_NE(kernel->windowId, 0);
  EXPECT_EQ(glutGet(GLUT_WINDOW_WIDTH), 640);
}

TEST_F(KernelTest, FpsWithinAMillisecondOfTheLastReadingOrBeforeAnyIsZero) {
  kernel->lastFpsTime = boost::posix_time::ptime();
  kernel->frames = 5;
  EXPECT_EQ(kernel->getFps(), 0.0f);
  EXPECT_FALSE(kernel->lastFpsTime.is_special());
  kernel->frames = 5;
  EXPECT_EQ(kernel->getFps(), 0.0f);
  EXPECT_EQ(kernel->frames, 0u);
}

TEST_F(KernelTest, FpsIsFramesDividedBySecondsSinceTheLastReading) {
  kernel->getFps();
  kernel->frames = 50;
  std::this_thread::sleep_for(std::chrono::milliseconds(100));
  const float fps = kernel->getFps();
  EXPECT_LE(fps, 500.0f);
  EXPECT_GT(fps, 50.0f);
  EXPECT_EQ(kernel->frames, 0u);
  EXPECT_FALSE(kernel->lastFpsTime.is_special());
}

TEST_F(KernelTest, ReshapeResizesEveryViewportAndLeavesGlAlone) {
  kernel->viewports.push_back(boost::make_shared<Rendering::Viewport>(0.5f, 0.5f, 0.5f, 0.25f));
  GLint before[4];
  glGetIntegerv(GL_VIEWPORT, before);
  kernel->reshape(800, 600);
  EXPECT_EQ(kernel->viewports[0]->getPixelWidth(), 800);
  EXPECT_EQ(kernel->viewports[0]->getPixelHeight(), 600);
  EXPECT_EQ(kernel->viewports[1]->getPixelX(), 400);
  EXPECT_EQ(kernel->viewports[1]->getPixelY(), 300);
  EXPECT_EQ(kernel->viewports[1]->getPixelHeight(), 150);
  GLint after[4];
  glGetIntegerv(GL_VIEWPORT, after);
  for (int i = 0; i < 4; ++i) EXPECT_EQ(after[i], before[i]);
}

TEST_F(KernelTest, TimerCallbackRunsTheDueTasks) {
  int runs = 0;
  kernel->scheduler.addTask(
      [&runs](unsigned int) {
        ++runs;
        return false;
      },
      0, 0);
  std::this_thread::sleep_for(std::chrono::milliseconds(2));
  Rendering::timerCallback(0);
  EXPECT_EQ(runs, 1);
}

}  // namespace
