#pragma once
// Scratch files, captured log output and a call recorder for the resource-loading tests.

#include <boost/filesystem.hpp>
#include <fstream>
#include <iostream>
#include <regex>
#include <sstream>
#include <string>

namespace loadertest {

// A fresh directory, removed with everything in it at the end of the test.
class ScratchDir {
 public:
  ScratchDir() { boost::filesystem::create_directories(root); }
  ~ScratchDir() {
    boost::system::error_code ignored;
    boost::filesystem::remove_all(root, ignored);
  }
  std::string path(const std::string& name) const { return (root / name).string(); }
  std::string write(const std::string& name, const std::string& bytes) const {
    std::ofstream(path(name), std::ios::binary) << bytes;
    return path(name);
  }

 private:
  const boost::filesystem::path root = boost::filesystem::temp_directory_path() /
                                       boost::filesystem::unique_path("loader-%%%%-%%%%-%%%%");
};

// Collects what std::cout and std::cerr receive while it lives.
class CapturedOutput {
 public:
  ~CapturedOutput() {
    std::cout.rdbuf(oldOut);
    std::cerr.rdbuf(oldErr);
  }
  std::ostringstream out, err;

 private:
  std::streambuf* oldOut = std::cout.rdbuf(out.rdbuf());
  std::streambuf* oldErr = std::cerr.rdbuf(err.rdbuf());
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
