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
  // Processor time the child may use: a busy machine makes the work slower, not refused.
  int cpuSeconds;
  // A backstop for a child that waits, or never gets the processor.
  int wallMilliseconds;
  // The longest answer taken; a longer one is refused on its announced size, before it is read.
  std::size_t answerBytes;
};

// Runs work in a forked child and returns the bytes it returned. Nothing is returned when the
// child dies, exceeds a limit, or hands back fewer or more bytes than it announced; the child is
// killed and reaped in every case, whatever the program's SIGCHLD disposition, which is kept. The
// work must touch nothing the parent shares with other processes (the X connection, the GL
// driver): the child ends with _exit, silent, without running exit handlers or flushing the
// parent's buffers.
std::optional<std::string> runSandboxed(const std::function<std::string()>& work,
                                        const SandboxLimits& limits);

}  // namespace Loader
}  // namespace System
