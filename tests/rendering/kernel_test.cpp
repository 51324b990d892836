#include "rendering/kernel.h"

#include <boost/date_time/posix_time/posix_time.hpp>
#include <sstream>

#include "kernelwindow.h"

namespace {

using namespace TestSupport;
using namespace boost::posix_time;

std::string glText(GLenum name) { return reinterpret_cast<const char*>(glGetString(name)); }

TEST_F(KernelTest, StartUpReportsInOrderAndOpensADoubleBufferedWindowWithDepthAt100x100) {
  GLint units = 0, size = 0, attachments = 0;
  glGetIntegerv(GL_MAX_TEXTURE_UNITS, &units);
  glGetIntegerv(GL_MAX_TEXTURE_SIZE, &size);
  glGetIntegerv(GL_MAX_COLOR_ATTACHMENTS_EXT, &attachments);
  std::ostringstream expected;
  expected << "kernel.cpp: init renderer:\n"
           << "scheduler.cpp: ARGH 10 10\n"
           << "kernelshaders.cpp: recompile shaders\n"
           << " Using GLEW " << glewGetString(GLEW_VERSION) << "\n"
           << " " << glText(GL_RENDERER) << "\n"
           << " OpenGL ver: " << glText(GL_VERSION) << "\n"
           << " vertex and fragment shader supported\n"
           << " Texture Units available: " << units << " ,max size: " << size << "\n"
           << " FBO supported with max color attachments: " << attachments << "\n"
           << "kernelshaders.cpp: load new shader texLight\n\n";
  EXPECT_EQ(withoutLineNumbers(startUpOutput()), expected.str());

  GLboolean doubleBuffered = GL_FALSE;
  GLint depthBits = 0;
  glGetBooleanv(GL_DOUBLEBUFFER, &doubleBuffered);
  glGetIntegerv(GL_DEPTH_BITS, &depthBits);
  EXPECT_TRUE(doubleBuffered);
  EXPECT_GE(depthBits, 16);
  EXPECT_TRUE(glIsEnabled(GL_DEPTH_TEST));
  EXPECT_EQ(glutGetWindow(), kernel->windowId);
  const int window[] = {glutGet(GLUT_WINDOW_X), glutGet(GLUT_WINDOW_Y), glutGet(GLUT_WINDOW_WIDTH),
                        glutGet(GLUT_WINDOW_HEIGHT)};
  EXPECT_EQ(std::vector<int>(window, window + 4), (std::vector<int>{100, 100, 640, 480}));
}

// The timer chain and the display task outlive windows: one more per window would add frames.
// Each new window builds the programs again and selects the current one.
TEST_F(KernelTest, NewWindowsStartNoFurtherDisplayTaskWhichRepeatsEvery10Ms) {
  testing::internal::CaptureStdout();
  for (int i = 0; i < 2; ++i) newWindow();
  kernel->createWindow(false);  // before any frame selects a program
  GLint program = 0;
  glGetIntegerv(GL_CURRENT_PROGRAM, &program);
  EXPECT_TRUE(glIsProgram(kernel->currentShader->program));
  EXPECT_EQ(static_cast<GLuint>(program), kernel->currentShader->program);
  waitForWindow();
  const std::string out = testing::internal::GetCapturedStdout();
  EXPECT_EQ(occurrences(out, "ARGH"), 0);
  EXPECT_EQ(occurrences(out, "recompile shaders"), 3);
  // A second from now every display task is overdue, and one run runs each once.
  kernel->frames = 0;
  const ptime later = microsec_clock::universal_time() + seconds(1);
  EXPECT_EQ(kernel->scheduler.run(later), 10u);
  EXPECT_EQ(kernel->frames, 1u);
  EXPECT_EQ(kernel->scheduler.run(later + milliseconds(10)), 0u);  // due, not yet overdue
  EXPECT_EQ(kernel->frames, 1u);
  EXPECT_EQ(kernel->scheduler.run(later + milliseconds(10) + microseconds(1)), 10u);
  EXPECT_EQ(kernel->frames, 2u);
}

// A reading in the future stands for one less than a millisecond ago, however loaded the
// machine is; before any reading there is no rate either.
TEST_F(KernelTest, FpsWithinAMillisecondOfTheLastReadingIsZero) {
  for (const ptime last : {ptime(), microsec_clock::local_time() + minutes(1)}) {
    kernel->lastFpsTime = last;
    kernel->frames = 5;
    EXPECT_EQ(kernel->getFps(), 0.0f);
    EXPECT_EQ(kernel->frames, 0u);
  }
}

// However long the call takes, the rate is the frames over a whole number of milliseconds
// that lie between the clock readings around it, and the measurement starts again.
TEST_F(KernelTest, FpsIsTheFramesOverTheSecondsSinceTheLastReading) {
  const ptime start = microsec_clock::local_time() - seconds(4);
  kernel->lastFpsTime = start;
  kernel->frames = 1000;
  const ptime before = microsec_clock::local_time();
  const float rate = kernel->getFps();
  const ptime after = microsec_clock::local_time();
  bool matches = false;
  for (auto ms = (before - start).total_milliseconds(); ms <= (after - start).total_milliseconds();
       ++ms) {
    matches = matches || rate == 1000.0f / (ms / 1000.0f);
  }
  EXPECT_TRUE(matches) << rate << " frames a second";
  EXPECT_EQ(kernel->frames, 0u);
  EXPECT_GE(kernel->lastFpsTime, before);
  EXPECT_LE(kernel->lastFpsTime, after);
}

}  // namespace
