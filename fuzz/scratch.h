#pragma once
// The set-up both fuzzers share: a scratch folder of their own, removed at exit, and silent logs.

#include <boost/filesystem.hpp>
#include <cstddef>
#include <cstdlib>
#include <fstream>
#include <iostream>
#include <string>

namespace FuzzScratch {

inline boost::filesystem::path& folder() {
  static boost::filesystem::path path;
  return path;
}

inline void remove() {
  boost::system::error_code ignored;
  boost::filesystem::remove_all(folder(), ignored);
}

// Makes the folder, named after the fuzzer, and silences the loader's log lines: every load
// writes some, and libFuzzer's own report goes through C stdio, not these streams.
inline void make(const std::string& fuzzer) {
  folder() = boost::filesystem::temp_directory_path() /
             boost::filesystem::unique_path(fuzzer + "-fuzz-%%%%-%%%%-%%%%");
  boost::filesystem::create_directories(folder());
  std::atexit(remove);
  std::cout.rdbuf(nullptr);
  std::cerr.rdbuf(nullptr);
}

inline void writeFile(const boost::filesystem::path& path, const char* bytes, std::size_t size) {
  std::ofstream(path.string(), std::ios::binary | std::ios::trunc)
      .write(bytes, static_cast<std::streamsize>(size));
}

}  // namespace FuzzScratch
