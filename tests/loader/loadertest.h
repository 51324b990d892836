#pragma once
// Helpers of the resource-loading tests.

#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <boost/filesystem.hpp>
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

struct ScratchDir {
  const fs::path root = fs::temp_directory_path() / fs::unique_path("loader-%%%%-%%%%-%%%%");
  ScratchDir() { fs::create_directories(root); }
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

// The text without the "file.cpp,LINE: " prefix of each line.
inline std::string unprefixed(const std::string& text) {
  static const std::regex prefix("(^|\n)[^ \n]*\\.cpp,[0-9]+: ");
  return std::regex_replace(text, prefix, "$1");
}
// The text with each "file.cpp,LINE: " prefix as "file.cpp: ".
inline std::string unnumbered(const std::string& text) {
  return std::regex_replace(text, std::regex("\\.cpp,[0-9]+: "), ".cpp: ");
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
