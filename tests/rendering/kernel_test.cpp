#include "rendering/kernel.h"

#include <boost/date_time/posix_time/posix_time.hpp>
#include <chrono>
#include <sstream>
#include <thread>

#include "kernelwindow.h"
#include "system/monotonicclock.h"

namespace {

using namespace TestSupport;
using namespace boost::posix_time;

std::string glText(GLenum name) { return reinterpret_cast<const char*>(glGetString(name)); }

TEST_F(KernelTest, StartUpReportsInOrderAndOpensADoubleBufferedWindowWithDepthAt100x100) {
  std::ostringstream expected;
  expected << "kernel.cpp: init renderer:\nscheduler.cpp: ARGH 10 10\n"
           << "kernelshaders.cpp: recompile shaders\n Using GLEW " << glewGetString(GLEW_VERSION)
           << "\n " << glText(GL_RENDERER) << "\n OpenGL ver: " << glText(GL_VERSION)
           << "\n vertex and fragment shader supported\n Texture Units available: "
           << glInt(GL_MAX_TEXTURE_UNITS) << " ,max size: " << glInt(GL_MAX_TEXTURE_SIZE)
           << "\n FBO supported with max color attachments: " << glInt(GL_MAX_COLOR_ATTACHMENTS_EXT)
           << "\nkernelshaders.cpp: load new shader texLight\n\n";
  EXPECT_EQ(startUpOutput, expected.str());
  const std::vector<int> window{glInt(GL_DOUBLEBUFFER),     glInt(GL_DEPTH_BITS) >= 16,
                                glIsEnabled(GL_DEPTH_TEST), glutGetWindow() == kernel->windowId,
                                glutGet(GLUT_WINDOW_X),     glutGet(GLUT_WINDOW_Y),
                                glutGet(GLUT_WINDOW_WIDTH), glutGet(GLUT_WINDOW_HEIGHT)};
  EXPECT_EQ(window, (std::vector<int>{1, 1, 1, 1, 100, 100, 640, 480}));
}

// The pixel rectangles of the viewports once GLUT has resized the window and told the kernel:
// GLUT resizes at its next event pass, and the server's notice of the size comes after.
std::vector<int> rectanglesAfterResizingTo(Rendering::Kernel* kernel, int width, int height) {
  glutReshapeWindow(width, height);
  const auto arrived = [&] {
    return glutGet(GLUT_WINDOW_WIDTH) == width && glutGet(GLUT_WINDOW_HEIGHT) == height &&
           kernel->viewports[0]->getPixelWidth() == width &&
           kernel->viewports[0]->getPixelHeight() == height;
  };
  for (int pass = 0; pass < 2000 && !arrived(); ++pass) {
    glutMainLoopEvent();
    std::this_thread::sleep_for(std::chrono::milliseconds(2));
  }
  std::vector<int> rectangles;
  for (const auto& v : kernel->viewports)
    rectangles.insert(rectangles.end(),
                      {v->getPixelX(), v->getPixelY(), v->getPixelWidth(), v->getPixelHeight()});
  return rectangles;
}

// The whole window and an inset from 0.7 to 0.95 of it (0.7f lies just under 0.7), each time
// the window is resized; back at 640 x 480 for the other tests.
TEST_F(KernelTest, ViewportsFollowTheWindowWhenGlutResizesIt) {
  kernel->viewports.push_back(boost::make_shared<Rendering::Viewport>(0.7f, 0.7f, 0.25f, 0.25f));
  EXPECT_EQ(rectanglesAfterResizingTo(kernel, 800, 400),
            (std::vector<int>{0, 0, 800, 400, 559, 279, 200, 100}));
  EXPECT_EQ(rectanglesAfterResizingTo(kernel, 640, 480),
            (std::vector<int>{0, 0, 640, 480, 447, 335, 160, 120}));
  EXPECT_EQ(glutGet(GLUT_WINDOW_WIDTH), 640);
  EXPECT_EQ(glutGet(GLUT_WINDOW_HEIGHT), 480);
}

// The timer chain and the display task outlive windows: one more per window would add frames.
// Each new window builds the programs again and selects the current one.
TEST_F(KernelTest, NewWindowsStartNoFurtherDisplayTaskWhichRepeatsEvery10Ms) {
  const std::string out =
      outputOf([this] {
        newWindow();
        kernel->createWindow(false);  // checked before any frame selects a program
        EXPECT_EQ(static_cast<GLuint>(glInt(GL_CURRENT_PROGRAM)), kernel->currentShader->program);
        EXPECT_TRUE(glIsProgram(kernel->currentShader->program));
        waitForWindow();
      }).first;
  EXPECT_EQ(occurrences(out, "ARGH"), 0);
  EXPECT_EQ(occurrences(out, "recompile shaders"), 2);
  const ptime now = System::monotonicNow();  // just past where earlier frames left it
  const ptime later = now + milliseconds(kernel->scheduler.run(now) + 1);
  kernel->frames = 0;
  const std::vector<unsigned> runs{kernel->scheduler.run(later),
                                   kernel->frames,
                                   kernel->scheduler.run(later + milliseconds(10)),
                                   kernel->frames,
                                   kernel->scheduler.run(later + microseconds(10001)),
                                   kernel->frames};
  EXPECT_EQ(runs, (std::vector<unsigned>{10, 1, 0, 1, 10, 2}));  // at 10 ms due, not yet overdue
}

// However long the call takes, the rate is the frames over the seconds, in whole milliseconds,
// between the clock readings around it, and the measurement starts again. A last reading in
// the future stands for less than a millisecond ago: no rate, as before any reading.
TEST_F(KernelTest, FpsIsTheFramesOverTheSecondsSinceTheLastReading) {
  const ptime start = System::monotonicNow() - seconds(4);
  kernel->lastFpsTime = start;
  kernel->frames = 1000;
  const ptime before = System::monotonicNow();
  const float rate = kernel->getFps();
  const ptime after = System::monotonicNow();
  EXPECT_GE(rate, 1e6 / (after - start).total_milliseconds() - 0.01);
  EXPECT_LE(rate, 1e6 / (before - start).total_milliseconds() + 0.01);
  EXPECT_EQ(kernel->frames, 0u);
  EXPECT_TRUE(kernel->lastFpsTime >= before && kernel->lastFpsTime <= after);
  for (const ptime last : {ptime(), System::monotonicNow() + minutes(1)}) {
    kernel->lastFpsTime = last;
    kernel->frames = 5;
    EXPECT_EQ(kernel->getFps(), 0.0f);
    EXPECT_EQ(kernel->frames, 0u);
  }
}

}  // namespace
