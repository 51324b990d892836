// Feeds arbitrary bytes through mesh loading: the bytes before the first zero byte become the OBJ
// file "fuzz.obj", the bytes after it the MTL library "fuzz.mtl", both in one scratch directory.

#include <boost/filesystem.hpp>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <iostream>
#include <string>

#include "system/loader/ressourcemanager.h"

namespace {

boost::filesystem::path scratch;

void writeFile(const boost::filesystem::path& path, const char* bytes, std::size_t size) {
  std::ofstream out(path.string(), std::ios::binary | std::ios::trunc);
  out.write(bytes, static_cast<std::streamsize>(size));
}

void removeScratch() {
  boost::system::error_code ignored;
  boost::filesystem::remove_all(scratch, ignored);
}

// Every file the loader opens is named relative to the scratch directory, where only the two files
// below exist; a name with ".." could reach the machine's own files, which say nothing about the
// loader and must not be read.
bool climbsOut(const char* bytes, std::size_t size) {
  for (std::size_t i = 0; i + 1 < size; ++i) {
    if (bytes[i] == '.' && bytes[i + 1] == '.') {
      return true;
    }
  }
  return false;
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  scratch = boost::filesystem::temp_directory_path() /
            boost::filesystem::unique_path("loadmesh-fuzz-%%%%-%%%%-%%%%");
  boost::filesystem::create_directories(scratch);
  std::atexit(removeScratch);
  // Every load logs several lines; libFuzzer's own report goes through C stdio, not these.
  std::cout.rdbuf(nullptr);
  std::cerr.rdbuf(nullptr);
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const char* const bytes = reinterpret_cast<const char*>(data);
  if (climbsOut(bytes, size)) {
    return -1;
  }
  const void* const zero = std::memchr(bytes, '\0', size);
  const std::size_t objSize =
      zero != nullptr ? static_cast<std::size_t>(static_cast<const char*>(zero) - bytes) : size;
  const std::size_t mtlStart = zero != nullptr ? objSize + 1 : size;
  writeFile(scratch / "fuzz.obj", bytes, objSize);
  writeFile(scratch / "fuzz.mtl", bytes + mtlStart, size - mtlStart);
  System::Loader::RessourceManager::getInstance()->loadMesh((scratch / "fuzz.obj").string());
  return 0;
}
