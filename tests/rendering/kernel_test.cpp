#include "rendering/kernel.h"

#include <boost/date_time/posix_time/posix_time.hpp>

#include "kernelwindow.h"

namespace {

using namespace TestSupport;
using boost::posix_time::microsec_clock;

// Each window used to start one more timer chain and display task, so the program drew
// more frames per period the more often it switched.
TEST_F(KernelTest, NewWindowsStartNoFurtherDisplayTask) {
  const std::string out = stdoutOf([] {
    for (int i = 0; i < 3; ++i) newWindow();
  });
  EXPECT_EQ(occurrences(out, "ARGH"), 0);
  EXPECT_EQ(occurrences(out, "recompile shaders"), 3);
  EXPECT_TRUE(glIsProgram(kernel->currentShader->program)) << "rebuilt in the new context";
  // A second from now every display task is overdue, and one run runs each once.
  kernel->frames = 0;
  kernel->scheduler.run(microsec_clock::universal_time() + boost::posix_time::seconds(1));
  EXPECT_EQ(kernel->frames, 1u);
}

// A reading in the future stands for one less than a millisecond ago, however loaded the
// machine is; before any reading there is no rate either.
TEST_F(KernelTest, FpsWithinAMillisecondOfTheLastReadingIsZero) {
  for (const auto& last :
       {boost::posix_time::ptime(), microsec_clock::local_time() + boost::posix_time::minutes(1)}) {
    kernel->lastFpsTime = last;
    kernel->frames = 5;
    EXPECT_EQ(kernel->getFps(), 0.0f);
    EXPECT_EQ(kernel->frames, 0u);
    EXPECT_FALSE(kernel->lastFpsTime.is_special());
  }
}

}  // namespace
