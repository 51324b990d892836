// The scheduler under a wall clock set back and forth: libfaketime, preloaded into a probe
// program, moves the wall clock alone, as NTP or a hand setting it would.

#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

namespace {

// The probe's output under the given offsets of the wall clock.
std::string probeOutput(const std::vector<std::string>& offsets) {
  const char* tmpdir = std::getenv("TMPDIR");
  std::string pattern = std::string(tmpdir && *tmpdir ? tmpdir : "/tmp") + "/steppedclock.XXXXXX";
  const int descriptor = mkstemp(pattern.data());
  if (descriptor == -1) return "no file";
  if (write(descriptor, "+0\n", 3) != 3) return "no offset";
  close(descriptor);
  std::string command = "env LD_PRELOAD=" VANTOR_FAKETIME_LIBRARY
                        " FAKETIME_NO_CACHE=1"
                        " FAKETIME_DONT_FAKE_MONOTONIC=1 FAKETIME_TIMESTAMP_FILE='" +
                        pattern +
                        "' ASAN_OPTIONS=\"$ASAN_OPTIONS:verify_asan_link_order=0\" " VANTOR_PROBE;
  for (const std::string& offset : offsets) command += " " + offset;
  std::string output;
  if (FILE* probe = popen(command.c_str(), "r")) {
    char buffer[256];
    for (std::size_t n; (n = fread(buffer, 1, sizeof buffer, probe)) > 0;) output.append(buffer, n);
    const int status = pclose(probe);
    if (!WIFEXITED(status) || WEXITSTATUS(status) != 0)
      output += "exit status " + std::to_string(status);
  }
  unlink(pattern.c_str());
  return output;
}

TEST(SteppedClockTest, WallClockSetBackNeitherStallsTasksNorSetForwardHurriesThem) {
  const std::string output = probeOutput({"-60", "+86400"});
  int wallBack = 0, wallForward = 0;
  unsigned nextBack = 0, nextForward = 0, runsBack = 9, runsForward = 9;
  // After the task's ARGH line.
  const std::string lines = output.substr(std::min(output.size(), output.find("\nwall ") + 1));
  ASSERT_EQ(6,
            std::sscanf(lines.c_str(),
                        "wall %d s: next task in %u ms, runs %u\n"
                        "wall %d s: next task in %u ms, runs %u\n",
                        &wallBack, &nextBack, &runsBack, &wallForward, &nextForward, &runsForward))
      << output;
  // The wall clock really moved, else the rest would prove nothing.
  EXPECT_EQ(-60, wallBack);
  EXPECT_EQ(86400, wallForward);
  // The task queued a minute ahead is still due within that minute, and has not run.
  EXPECT_LE(nextBack, 60000u) << output;
  EXPECT_LE(nextForward, nextBack) << output;
  EXPECT_EQ(0u, runsBack + runsForward) << output;
}

}  // namespace
