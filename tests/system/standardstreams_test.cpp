#include "system/standardstreams.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <string>
#include <vector>

namespace {

// What a descriptor of the child is: "closed", "null r" or "null w" (/dev/null read-only or
// write-only), "pipe" (the one the child started with) or "other".
std::string describe(int descriptor, const struct stat& pipe, const struct stat& null) {
  const int flags = fcntl(descriptor, F_GETFL);
  struct stat now;
  if (flags == -1 || fstat(descriptor, &now) != 0) return "closed";
  if (S_ISCHR(now.st_mode) && now.st_rdev == null.st_rdev) {
    const int mode = flags & O_ACCMODE;
    return mode == O_RDONLY ? "null r" : mode == O_WRONLY ? "null w" : "null rw";
  }
  return now.st_dev == pipe.st_dev && now.st_ino == pipe.st_ino ? "pipe" : "other";
}

// In a child whose descriptors 0, 1 and 2 are a pipe: closes those named, opens what is closed,
// and describes the three, as "a, b, c".
std::string afterClosing(const std::vector<int>& closed) {
  int ends[2];
  if (pipe(ends) != 0) return "no pipe";
  // Above the standard three, whatever the test runner left open.
  const int reader = fcntl(ends[0], F_DUPFD, 10), writer = fcntl(ends[1], F_DUPFD, 10);
  close(ends[0]);
  close(ends[1]);
  const pid_t child = fork();
  if (child == 0) {
    close(reader);
    struct stat pipe, null;
    fstat(writer, &pipe);
    stat("/dev/null", &null);
    for (int descriptor = 0; descriptor < 3; ++descriptor) dup2(writer, descriptor);
    for (int descriptor : closed) close(descriptor);
    System::openClosedStandardStreams();
    std::string report;
    for (int descriptor = 0; descriptor < 3; ++descriptor)
      report += (descriptor ? ", " : "") + describe(descriptor, pipe, null);
    _exit(write(writer, report.data(), report.size()) == ssize_t(report.size()) ? 0 : 1);
  }
  close(writer);
  std::string report;
  char buffer[256];
  for (ssize_t n; (n = read(reader, buffer, sizeof buffer)) > 0;) report.append(buffer, n);
  close(reader);
  int status = 0;
  waitpid(child, &status, 0);
  return WIFEXITED(status) && WEXITSTATUS(status) == 0 ? report : "child failed: " + report;
}

TEST(StandardStreamsTest, ClosedOnesBecomeDevNullForReadingOrWritingAndOpenOnesStay) {
  const struct {
    std::vector<int> closed;
    const char* expected;
  } rows[] = {
      {{}, "pipe, pipe, pipe"},
      {{2}, "pipe, pipe, null w"},
      {{1}, "pipe, null w, pipe"},
      {{0}, "null r, pipe, pipe"},
      {{0, 2}, "null r, pipe, null w"},
      {{1, 2}, "pipe, null w, null w"},
      {{0, 1, 2}, "null r, null w, null w"},
  };
  for (const auto& row : rows) {
    EXPECT_EQ(row.expected, afterClosing(row.closed)) << testing::PrintToString(row.closed);
  }
}

}  // namespace
