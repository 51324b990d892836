#pragma once
// Helpers of the resource-loading tests.

#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <unistd.h>

#include <boost/filesystem.hpp>
#include <cerrno>
#include <fstream>
#include <iostream>
#include <regex>
#include <sstream>
#include <string>
#include <vector>

#include "data/geometry/texture.h"
#include "system/loader/regularfile.h"

namespace loadertest {

namespace fs = boost::filesystem;

// Removes the folder once this process has ended, however it ended (a crash runs no destructor):
// a process made at the first call reads the folders from a socket that only this process writes,
// and removes them when it closes. It is a grandchild, left to init, so that the tests that
// count this process's children see none of it.
inline void removeWhenProcessEnds(const fs::path& folder) {
  static const int names = [] {
    int ends[2];
    if (::socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0, ends) != 0) return -1;
    const pid_t remover = ::fork();
    if (remover == 0 && ::fork() != 0) ::_exit(0);
    if (remover == 0) {
      ::close(ends[1]);
      const int null = ::open("/dev/null", O_RDWR);
      for (int stream = 0; stream < 3; ++stream) ::dup2(null, stream);
      std::string list;
      char block[4096];
      for (ssize_t got;
           (got = ::read(ends[0], block, sizeof block)) > 0 || (got < 0 && errno == EINTR);)
        if (got > 0) list.append(block, std::size_t(got));
      std::istringstream paths(list);
      boost::system::error_code ignored;
      for (std::string path; std::getline(paths, path);) fs::remove_all(path, ignored);
      ::_exit(0);
    }
    ::close(ends[0]);
    if (remover > 0) ::waitpid(remover, nullptr, 0);
    if (remover < 0) ::close(ends[1]);
    return remover < 0 ? -1 : ends[1];
  }();
  const std::string line = folder.string() + "\n";
  if (names >= 0 && ::send(names, line.data(), line.size(), MSG_NOSIGNAL) != ssize_t(line.size())) {
    ADD_FAILURE() << "the folder " << folder << " may outlive a crash";
  }
}

struct ScratchDir {
  const fs::path root = fs::temp_directory_path() / fs::unique_path("loader-%%%%-%%%%-%%%%");
  ScratchDir() {
    removeWhenProcessEnds(root);
    fs::create_directories(root);
  }
  ~ScratchDir() { fs::remove_all(root); }
  std::string path(const std::string& name) const { return (root / name).string(); }
  std::string write(const std::string& name, const std::string& bytes) const {
    std::ofstream(path(name), std::ios::binary) << bytes;
    return path(name);
  }
};

struct CapturedOutput {
  std::ostringstream out, err;
  std::streambuf* const oldOut = std::cout.rdbuf(out.rdbuf());
  std::streambuf* const oldErr = std::cerr.rdbuf(err.rdbuf());
  ~CapturedOutput() {
    std::cout.rdbuf(oldOut);
    std::cerr.rdbuf(oldErr);
  }
};

// Where the ".cpp,LINE: " at the position ends, npos when none stands there. Plain scans, not
// regular expressions: the lines compared may be long, and std::regex recurses per character.
inline std::size_t lineNumberEnd(const std::string& text, std::size_t at) {
  if (text.compare(at, 5, ".cpp,") != 0) return std::string::npos;
  std::size_t end = at + 5;
  while (end < text.size() && text[end] >= '0' && text[end] <= '9') ++end;
  return end > at + 5 && text.compare(end, 2, ": ") == 0 ? end + 2 : std::string::npos;
}
// The text without the "file.cpp,LINE: " prefix of each line: a first word ending in ".cpp,LINE:".
inline std::string unprefixed(const std::string& text) {
  const std::size_t none = std::string::npos;
  std::string out;
  for (std::size_t start = 0; start < text.size();) {
    const std::size_t end = text.find('\n', start), next = end == none ? text.size() : end + 1;
    const std::size_t blank = text.find_first_of(" \n", start);
    const std::size_t dot = blank == none ? none : text.rfind(".cpp,", blank);
    const bool prefixed = dot != none && dot >= start && lineNumberEnd(text, dot) == blank + 1;
    const std::size_t kept = prefixed ? blank + 1 : start;
    out.append(text, kept, next - kept);
    start = next;
  }
  return out;
}
// The text with each "file.cpp,LINE: " prefix as "file.cpp: ".
inline std::string unnumbered(const std::string& text) {
  std::string out;
  std::size_t from = 0;
  for (std::size_t at = text.find(".cpp,"); at != std::string::npos;
       at = text.find(".cpp,", at + 1)) {
    const std::size_t end = lineNumberEnd(text, at);
    if (end != std::string::npos) {
      out.append(text, from, at - from).append(".cpp: ");
      from = end;
    }
  }
  return out.append(text, from, std::string::npos);
}

// True when RegularFile refuses every path. A child process, ended after 10 s, does the opens:
// one that blocks, as an open by name of a FIFO without a writer does, fails instead of hanging.
inline bool refusedWithoutBlocking(const std::vector<std::string>& paths) {
  const pid_t child = ::fork();
  if (child == 0) {
    ::alarm(10);
    for (const std::string& path : paths)
      if (System::Loader::RegularFile(path).isOpen()) ::_exit(1);
    ::_exit(0);
  }
  int status = -1;
  ::waitpid(child, &status, 0);
  return child > 0 && WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

// Each call as "kind value...", the calls joined by ", " in their order.
struct CallLog {
  template <typename... Values>
  void add(const std::string& kind, const Values&... values) {
    std::ostringstream call;
    call << kind;
    ((call << ' ' << values), ...);
    text += (text.empty() ? "" : ", ") + call.str();
  }
  // A callback that adds each of its calls as one of this kind.
  auto recorder(const std::string& kind) {
    return [this, kind](const auto&... values) { add(kind, values...); };
  }
  std::string text;
};

// "WIDTHxHEIGHT " and the texture's bytes.
inline std::string pixelsOf(const Data::Geometry::Texture& texture) {
  return std::to_string(texture.width) + "x" + std::to_string(texture.height) + " " +
         std::string(reinterpret_cast<const char*>(texture.data.get()),
                     std::size_t(texture.width) * 3 * std::size_t(texture.height));
}

}  // namespace loadertest
