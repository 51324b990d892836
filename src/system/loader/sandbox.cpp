#include "system/loader/sandbox.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/prctl.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <new>
#include <utility>

// Set by libFuzzer to save the input when a sanitizer reports an error; only sanitized builds
// have it. A child's fault is the parent's failed load, not a finding of its own.
extern "C" void __sanitizer_set_death_callback(void (*callback)()) __attribute__((weak));

namespace System {
namespace Loader {

namespace {

using Clock = std::chrono::steady_clock;
using Size = std::uint64_t;

// What the child writes to the parent: at most one request for processor time, then the answer's
// size and its bytes.
struct Frame {
  enum Kind : std::uint64_t { Answer, Request };
  std::uint64_t kind, value;
};

// The child's end of the pipe, in the child only.
int toParent = -1;

// Up to size - 1 bytes of /proc/<pid>/<name> (pid 0: this process), zero-ended; false if unread.
bool readProc(pid_t pid, const char* name, char* text, std::size_t size) {
  const std::string path =
      "/proc/" + (pid == 0 ? std::string("self") : std::to_string(pid)) + "/" + name;
  const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) {
    return false;
  }
  const ssize_t got = ::read(fd, text, size - 1);
  ::close(fd);
  text[got > 0 ? got : 0] = '\0';
  return got > 0;
}

// A field of /proc/<pid>/statm in bytes: 0 is the address space, 1 the resident set.
std::size_t statmBytes(pid_t pid, int field) {
  char text[128];
  if (!readProc(pid, "statm", text, sizeof text)) {
    return 0;
  }
  char* at = text;
  unsigned long long pages = 0;
  for (int k = 0; k <= field; ++k) {
    pages = std::strtoull(at, &at, 10);
  }
  return static_cast<std::size_t>(pages) * static_cast<std::size_t>(::sysconf(_SC_PAGESIZE));
}

// The processor time, user and system, a process has used: the kernel keeps it to the
// nanosecond and reports it in clock ticks. The fields after the command's name, which may hold
// blanks and parentheses, are counted from its last parenthesis.
long long processorMilliseconds(pid_t pid) {
  char text[1024];
  unsigned long long user = 0, system = 0;
  const char* nameEnd =
      readProc(pid, "stat", text, sizeof text) ? std::strrchr(text, ')') : nullptr;
  if (nameEnd == nullptr ||
      std::sscanf(nameEnd + 1, " %*c %*d %*d %*d %*d %*d %*u %*u %*u %*u %*u %llu %llu", &user,
                  &system) != 2) {
    return 0;
  }
  return static_cast<long long>((user + system) * 1000 / ::sysconf(_SC_CLK_TCK));
}

bool writeAll(int fd, const char* bytes, std::size_t size) {
  while (size > 0) {
    const ssize_t written = ::write(fd, bytes, size);
    if (written < 0 && errno == EINTR) {
      continue;
    }
    if (written <= 0) {
      return false;
    }
    bytes += written;
    size -= static_cast<std::size_t>(written);
  }
  return true;
}

void setLimit(int resource, rlim_t soft, rlim_t hard) {
  const rlimit limit{soft, hard};
  ::setrlimit(resource, &limit);
}

// A decoder's fault would otherwise print the parent's crash reports (a sanitizer's, a fuzzer's,
// the C library's) about a file that the parent reports as one failed load.
void silenceFaults() {
  const int null = ::open("/dev/null", O_WRONLY);
  if (null >= 0) {
    ::dup2(null, STDOUT_FILENO);
    ::dup2(null, STDERR_FILENO);
    ::close(null);
  }
  for (const int fault : {SIGSEGV, SIGBUS, SIGILL, SIGFPE, SIGABRT, SIGTRAP, SIGSYS, SIGXCPU}) {
    ::signal(fault, SIG_DFL);
  }
  if (__sanitizer_set_death_callback != nullptr) {
    __sanitizer_set_death_callback(nullptr);
  }
}

// An exception (say, bad_alloc at the memory limit) must end the child where it is thrown: unwound
// further it would run the caller's code, drawing and all, in the child.
std::string workWithoutUnwinding(const std::function<std::string()>& work) noexcept {
  return work();
}

// The address-space limit counts from what the process already maps: the GL driver's libraries
// in the program, the sanitizers' terabytes of reserved shadow in their builds. The kernel's
// processor limit, one to two seconds beyond the most the parent gives, ends the child by itself
// (SIGXCPU, then SIGKILL a second later) should the parent's watch fail.
[[noreturn]] void runChild(int answer, const std::function<std::string()>& work,
                           const SandboxLimits& limits, pid_t parent) {
  ::prctl(PR_SET_PDEATHSIG, SIGKILL);
  if (::getppid() != parent) {
    ::_exit(1);  // the parent ended before it could take us along
  }
  silenceFaults();
  setLimit(RLIMIT_CORE, 0, 0);
  const rlim_t addressSpace = statmBytes(0, 0) + limits.memoryBytes;
  setLimit(RLIMIT_AS, addressSpace, addressSpace);
  const rlim_t cpuSeconds = static_cast<rlim_t>(limits.maxCpuMilliseconds) / 1000 + 2;
  setLimit(RLIMIT_CPU, cpuSeconds, cpuSeconds + 1);
  toParent = answer;
  const std::string bytes = workWithoutUnwinding(work);
  const Frame head{Frame::Answer, bytes.size()};
  const bool sent = writeAll(answer, reinterpret_cast<const char*>(&head), sizeof head) &&
                    writeAll(answer, bytes.data(), bytes.size());
  ::_exit(sent ? 0 : 1);
}

void killAndReap(pid_t child) {
  ::kill(child, SIGKILL);
  int status = 0;
  while (::waitpid(child, &status, 0) < 0 && errno == EINTR) {
  }
}

// True when the child ends with status 0 before the deadline; killed otherwise.
bool exitedCleanly(pid_t child, Clock::time_point deadline) {
  for (;;) {
    int status = 0;
    const pid_t ended = ::waitpid(child, &status, WNOHANG);
    if (ended == child) {
      return WIFEXITED(status) && WEXITSTATUS(status) == 0;
    }
    if (ended < 0 && errno != EINTR) {
      return false;  // already reaped by someone else: its pid may be another's now
    }
    if (Clock::now() >= deadline) {
      killAndReap(child);
      return false;
    }
    ::poll(nullptr, 0, 1);
  }
}

// What the parent watches while the child works.
struct Watch {
  pid_t child;
  std::size_t residentBound;
  Clock::time_point deadline;
  long long cpuMilliseconds, maxCpuMilliseconds;
};

// Reads what the child writes, watching its wall time, processor time and resident memory while
// the pipe is quiet.
class AnswerReader {
 public:
  AnswerReader(int from, const Watch& watch) : from_(from), watch_(watch) {}

  // True when exactly size bytes came; false at the end of the pipe or on an overrun.
  bool read(void* into, std::size_t size) {
    char* to = static_cast<char*>(into);
    while (size > 0) {
      const ssize_t got = some(to, size);
      if (got <= 0) return false;
      to += got;
      size -= static_cast<std::size_t>(got);
    }
    return true;
  }

  // True when the child closed its end with nothing more written.
  bool ended() {
    char extra = 0;
    return some(&extra, 1) == 0;
  }

  void grant(std::uint64_t milliseconds) {
    watch_.cpuMilliseconds =
        static_cast<long long>(std::min<std::uint64_t>(milliseconds, watch_.maxCpuMilliseconds));
  }

 private:
  // Residency and processor time are sampled between reads: a child that fills its memory or
  // spins while the pipe is quiet is seen within one interval. What a child wrote before it
  // passed its budget, such as its request for more, is read before the budget is judged.
  ssize_t some(char* to, std::size_t size) {
    const int sampleMilliseconds = 5;
    for (;;) {
      const auto left =
          std::chrono::duration_cast<std::chrono::milliseconds>(watch_.deadline - Clock::now())
              .count();
      if (left <= 0 || statmBytes(watch_.child, 1) > watch_.residentBound) {
        return -1;
      }
      const bool spent = processorMilliseconds(watch_.child) > watch_.cpuMilliseconds;
      pollfd ready{from_, POLLIN, 0};
      const int wait = spent ? 0 : static_cast<int>(std::min<long long>(left, sampleMilliseconds));
      const int polled = ::poll(&ready, 1, wait);
      if (polled < 0 && errno != EINTR) {
        return -1;
      }
      if (polled > 0) {
        const ssize_t got = ::read(from_, to, size);
        if (got >= 0 || errno != EINTR) return got;
      } else if (polled == 0 && spent) {
        return -1;
      }
    }
  }

  const int from_;
  Watch watch_;
};

// An answer the program has no memory for (a limit on its address space, a machine short of
// memory) is a failed run, not the end of the program.
bool resizedWithin(std::string& answer, std::size_t size) noexcept {
  try {
    answer.resize(size);
    return true;
  } catch (const std::bad_alloc&) {
    return false;
  }
}

// The size the child announces is checked before anything is buffered: a child whose heap a
// decoder corrupted could announce any. The answer is then read straight into its own buffer.
bool readAnswer(AnswerReader& reader, std::size_t answerBytes, std::string& answer) {
  Frame frame{};
  if (!reader.read(&frame, sizeof frame)) {
    return false;
  }
  if (frame.kind == Frame::Request) {
    reader.grant(frame.value);
    if (!reader.read(&frame, sizeof frame)) {
      return false;
    }
  }
  const Size size = frame.value;
  if (frame.kind != Frame::Answer || size > answerBytes ||
      !resizedWithin(answer, static_cast<std::size_t>(size))) {
    return false;
  }
  return reader.read(&answer[0], answer.size()) && reader.ended();
}

// With SIGCHLD ignored, or a handler set with SA_NOCLDWAIT (a launcher, a service manager or a
// shell's trap can start the program so), the kernel reaps ended children itself: waitpid then
// fails, and the child's pid may be another process's by the time it is killed. Ended children
// stay ours to reap while this lives; the program's disposition returns after.
class ChildrenKept {
 public:
  ChildrenKept() {
    struct sigaction keep {};
    keep.sa_handler = SIG_DFL;
    sigemptyset(&keep.sa_mask);
    ::sigaction(SIGCHLD, &keep, &previous_);
  }
  ~ChildrenKept() { ::sigaction(SIGCHLD, &previous_, nullptr); }
  ChildrenKept(const ChildrenKept&) = delete;
  ChildrenKept& operator=(const ChildrenKept&) = delete;

 private:
  struct sigaction previous_ {};
};

}  // namespace

SandboxRun runSandboxed(const std::function<std::string()>& work, const SandboxLimits& limits) {
  int ends[2];
  if (::pipe2(ends, O_CLOEXEC) != 0) {
    return SandboxRun{false, std::nullopt};
  }
  const ChildrenKept kept;
  const Clock::time_point deadline =
      Clock::now() + std::chrono::milliseconds(limits.wallMilliseconds);
  // The child starts out sharing the parent's resident pages.
  const std::size_t residentBound = statmBytes(0, 1) + limits.memoryBytes;
  const pid_t parent = ::getpid();
  const pid_t child = ::fork();
  if (child == 0) {
    ::close(ends[0]);
    runChild(ends[1], work, limits, parent);
  }
  ::close(ends[1]);
  if (child < 0) {
    ::close(ends[0]);
    return SandboxRun{false, std::nullopt};
  }
  std::string answer;
  AnswerReader reader(ends[0], Watch{child, residentBound, deadline, limits.cpuMilliseconds,
                                     limits.maxCpuMilliseconds});
  const bool answered = readAnswer(reader, limits.answerBytes, answer);
  ::close(ends[0]);
  if (!answered) {
    killAndReap(child);
    return SandboxRun{true, std::nullopt};
  }
  if (!exitedCleanly(child, deadline)) {
    return SandboxRun{true, std::nullopt};
  }
  return SandboxRun{true, std::move(answer)};
}

void askForProcessorTime(int milliseconds) {
  const Frame request{Frame::Request, static_cast<std::uint64_t>(std::max(milliseconds, 0))};
  if (toParent >= 0 &&
      !writeAll(toParent, reinterpret_cast<const char*>(&request), sizeof request)) {
    ::_exit(1);
  }
}

}  // namespace Loader
}  // namespace System
