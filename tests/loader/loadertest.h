#pragma once
// Scratch files, captured log output and a call recorder for the resource-loading tests.

#include <boost/filesystem.hpp>
#include <fstream>
#include <iostream>
#include <regex>
#include <sstream>
#include <string>

namespace loadertest {

namespace fs = boost::filesystem;

// A fresh directory, removed with everything in it at the end of the test.
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

// Collects what std::cout and std::cerr receive while it lives.
struct CapturedOutput {
  std::ostringstream out, err;
  std::streambuf* const oldOut = std::cout.rdbuf(out.rdbuf());
  std::streambuf* const oldErr = std::cerr.rdbuf(err.rdbuf());
  ~CapturedOutput() {
    std::cout.rdbuf(oldOut);
    std::cerr.rdbuf(oldErr);
  }
};

// The log without the "file.cpp,LINE: " prefixes, whose line numbers change with the code.
inline std::string withoutPrefixes(const std::string& log) {
  return std::regex_replace(log, std::regex("(^|\n)[^\n]*?\\.cpp,[0-9]+: "), "$1");
}

// Writes each call it is told of as "kind value...", the calls joined by ", " in their order.
struct CallLog {
  template <typename... Values>
  void add(const std::string& kind, const Values&... values) {
    std::ostringstream call;
    call << kind;
    ((call << ' ' << values), ...);
    text += (text.empty() ? "" : ", ") + call.str();
  }
  std::string text;
};

}  // namespace loadertest
