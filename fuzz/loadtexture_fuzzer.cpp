// Feeds arbitrary bytes through texture loading as an image file, decoding sandbox included. The
// file is named ".tga" so that bytes of no recognisable type are read as the one format that has
// no signature.

#include <boost/filesystem.hpp>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <fstream>
#include <iostream>
#include <string>

#include "system/loader/ressourcemanager.h"

namespace {

boost::filesystem::path scratch;

void removeScratch() {
  boost::system::error_code ignored;
  boost::filesystem::remove_all(scratch, ignored);
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  scratch = boost::filesystem::temp_directory_path() /
            boost::filesystem::unique_path("loadtexture-fuzz-%%%%-%%%%-%%%%");
  boost::filesystem::create_directories(scratch);
  std::atexit(removeScratch);
  // Every load logs a line or two; libFuzzer's own report goes through C stdio, not these.
  std::cout.rdbuf(nullptr);
  std::cerr.rdbuf(nullptr);
  return 0;
}

// Textures are cached by path for good: every input gets a path of its own.
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  static unsigned long long inputs = 0;
  const boost::filesystem::path image = scratch / ("image" + std::to_string(inputs++) + ".tga");
  std::ofstream(image.string(), std::ios::binary | std::ios::trunc)
      .write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
  System::Loader::RessourceManager::getInstance()->loadTexture(image.string());
  boost::filesystem::remove(image);
  return 0;
}
