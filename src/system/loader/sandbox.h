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
  int milliseconds;
};

// Runs work in a forked child and returns the bytes it returned. Nothing is returned when the
// child dies, exceeds either limit, or hands back fewer or more bytes than it announced; the
// child is killed and reaped in every case. The work must touch nothing the parent shares with
// other processes (the X connection, the GL driver): the child ends with _exit, silent, without
// running exit handlers or flushing the parent's buffers.
std::optional<std::string> runSandboxed(const std::function<std::string()>& work,
                                        const SandboxLimits& limits);

}  // namespace Loader
}  // namespace System
