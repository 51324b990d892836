#pragma once
// Runs untrusted work (a third-party decoder) in a child process bounded in memory and time.

#include <cstddef>
#include <functional>
#include <optional>
#include <string>

namespace System {
namespace Loader {

struct SandboxLimits {
  // Memory the child may take beyond what the process held when it was forked.
  std::size_t memoryBytes;
  // Processor time the child may use until it asks for more (askForProcessorTime).
  int cpuMilliseconds;
  // The most processor time it can be given in all.
  int maxCpuMilliseconds;
  // A backstop for a child that waits, or never gets the processor.
  int wallMilliseconds;
  // The longest answer taken; a longer one is refused on its announced size, before it is read.
  std::size_t answerBytes;
};

// What a run gave: the bytes the work returned, or nothing. Nothing comes with started false
// when the sandbox itself could not run (no pipe, no fork: at the process or descriptor limit),
// which says nothing of the work.
struct SandboxRun {
  bool started;
  std::optional<std::string> answer;
};

// Runs work in a forked child and returns the bytes it returned. Nothing is returned when the
// child dies, exceeds a limit, or hands back fewer or more bytes than it announced; the child is
// killed and reaped in every case, whatever the program's SIGCHLD disposition, which is kept. The
// parent measures the child's processor time itself while it waits: the kernel's processor limit,
// also set, can let a child that yields the processor run on. The work must touch nothing the
// parent shares with other processes (the X connection, the GL driver): the child ends with
// _exit, silent, without running exit handlers or flushing the parent's buffers.
SandboxRun runSandboxed(const std::function<std::string()>& work, const SandboxLimits& limits);

// Called by the work in its child: asks for this much processor time in all, counted from the
// child's start, in place of cpuMilliseconds. The parent gives at most maxCpuMilliseconds and
// takes one request; a second one ends the child. Outside a child it does nothing.
void askForProcessorTime(int milliseconds);

}  // namespace Loader
}  // namespace System
