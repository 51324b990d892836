// Feeds arbitrary bytes through mesh loading: the bytes before the first zero byte become the OBJ
// file "fuzz.obj", the bytes after it the MTL library "fuzz.mtl", both in one scratch directory.

#include <cstddef>
#include <cstdint>
#include <cstring>

#include "scratch.h"
#include "system/loader/ressourcemanager.h"

namespace {

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
  FuzzScratch::make("loadmesh");
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
  const boost::filesystem::path& scratch = FuzzScratch::folder();
  FuzzScratch::writeFile(scratch / "fuzz.obj", bytes, objSize);
  FuzzScratch::writeFile(scratch / "fuzz.mtl", bytes + mtlStart, size - mtlStart);
  System::Loader::RessourceManager::getInstance()->loadMesh((scratch / "fuzz.obj").string());
  return 0;
}
