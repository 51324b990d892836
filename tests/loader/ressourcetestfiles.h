#pragma once
// Scratch files and captured log output for the resource-loading tests.

#include <boost/filesystem.hpp>
#include <fstream>
#include <iostream>
#include <sstream>
#include <string>

namespace ressourcetest {

// A fresh directory, removed with everything in it at the end of the test.
class ScratchDir {
 public:
  ScratchDir()
      : root(boost::filesystem::temp_directory_path() /
             boost::filesystem::unique_path("ressource-%%%%-%%%%-%%%%")) {
    boost::filesystem::create_directories(root);
  }
  ~ScratchDir() {
    boost::system::error_code ignored;
    boost::filesystem::remove_all(root, ignored);
  }
  ScratchDir(const ScratchDir&) = delete;
  ScratchDir& operator=(const ScratchDir&) = delete;

  // The path of name inside the directory, as a string the loaders accept.
  std::string path(const std::string& name) const { return (root / name).string(); }

  std::string write(const std::string& name, const std::string& bytes) const {
    std::ofstream out(path(name), std::ios::binary);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    return path(name);
  }

 private:
  boost::filesystem::path root;
};

// Collects what std::cout and std::cerr receive while it lives.
class CapturedOutput {
 public:
  CapturedOutput() : oldOut(std::cout.rdbuf(out.rdbuf())), oldErr(std::cerr.rdbuf(err.rdbuf())) {}
  ~CapturedOutput() {
    std::cout.rdbuf(oldOut);
    std::cerr.rdbuf(oldErr);
  }
  CapturedOutput(const CapturedOutput&) = delete;
  CapturedOutput& operator=(const CapturedOutput&) = delete;

  std::string printed() const { return out.str(); }
  std::string errors() const { return err.str(); }

 private:
  std::ostringstream out;
  std::ostringstream err;
  std::streambuf* oldOut;
  std::streambuf* oldErr;
};

// The message after the "file.cpp,LINE: " prefix of every line of log that has one.
inline std::string withoutPrefixes(const std::string& log) {
  std::istringstream in(log);
  std::string line, result;
  while (std::getline(in, line)) {
    const std::string::size_type colon = line.find(".cpp,");
    if (colon != std::string::npos) {
      const std::string::size_type end = line.find(": ", colon);
      if (end != std::string::npos) line = line.substr(end + 2);
    }
    result += line + "\n";
  }
  return result;
}

}  // namespace ressourcetest
