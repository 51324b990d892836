// Feeds arbitrary bytes through texture loading as an image file, decoding sandbox included. The
// file is named ".tga" so that bytes of no recognisable type are read as the one format that has
// no signature.

#include <cstddef>
#include <cstdint>
#include <string>

#include "scratch.h"
#include "system/loader/ressourcemanager.h"

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  FuzzScratch::make("loadtexture");
  return 0;
}

// Textures are cached by path for good: every input gets a path of its own.
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  static unsigned long long inputs = 0;
  const boost::filesystem::path image =
      FuzzScratch::folder() / ("image" + std::to_string(inputs++) + ".tga");
  FuzzScratch::writeFile(image, reinterpret_cast<const char*>(data), size);
  System::Loader::RessourceManager::getInstance()->loadTexture(image.string());
  boost::filesystem::remove(image);
  return 0;
}
