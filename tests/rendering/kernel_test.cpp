#include "rendering/kernel.h"

#include <boost/date_time/posix_time/posix_time.hpp>

#include "kernelwindow.h"

namespace {

using namespace TestSupport;
using namespace boost::posix_time;

// The timer chain and the display task outlive windows: one more per window would add frames.
TEST_F(KernelTest, NewWindowsStartNoFurtherDisplayTask) {
  testing::internal::CaptureStdout();
  for (int i = 0; i < 3; ++i) newWindow();
  const std::string out = testing::internal::GetCapturedStdout();
  EXPECT_EQ(occurrences(out, "ARGH"), 0);
  EXPECT_EQ(occurrences(out, "recompile shaders"), 3);
  EXPECT_TRUE(glIsProgram(kernel->currentShader->program));
  // A second from now every display task is overdue, and one run runs each once.
  kernel->frames = 0;
  kernel->scheduler.run(microsec_clock::universal_time() + seconds(1));
  EXPECT_EQ(kernel->frames, 1u);
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

}  // namespace
