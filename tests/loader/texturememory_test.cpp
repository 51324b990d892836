// A texture whose pixels the program cannot allocate fails alone. This program replaces the
// allocation functions, so that the test can make the large allocations of its own process fail
// (the decoding child, a process of its own, allocates as usual).
#include <unistd.h>

#include <cstdlib>
#include <new>

#include "loader/loadertest.h"
#include "system/loader/ressourcemanager.h"

namespace {

// While armed in a process, its allocations of a mebibyte or more fail once largeLeft of them
// have been made.
const std::size_t largeBytes = std::size_t(1) << 20;
pid_t armedIn = 0;
int largeLeft = 0;

void* allocate(std::size_t size) noexcept {
  if (armedIn != 0 && size >= largeBytes && ::getpid() == armedIn && largeLeft-- <= 0) {
    return nullptr;
  }
  return std::malloc(size == 0 ? 1 : size);
}

void* allocateOrThrow(std::size_t size) {
  void* const memory = allocate(size);
  if (memory == nullptr) throw std::bad_alloc();
  return memory;
}

}  // namespace

void* operator new(std::size_t size) { return allocateOrThrow(size); }
void* operator new[](std::size_t size) { return allocateOrThrow(size); }
void* operator new(std::size_t size, const std::nothrow_t&) noexcept { return allocate(size); }
void* operator new[](std::size_t size, const std::nothrow_t&) noexcept { return allocate(size); }
void operator delete(void* memory) noexcept { std::free(memory); }
void operator delete[](void* memory) noexcept { std::free(memory); }
void operator delete(void* memory, std::size_t) noexcept { std::free(memory); }
void operator delete[](void* memory, std::size_t) noexcept { std::free(memory); }
void operator delete(void* memory, const std::nothrow_t&) noexcept { std::free(memory); }
void operator delete[](void* memory, const std::nothrow_t&) noexcept { std::free(memory); }

namespace {

// A 1024 x 512 PPM of one colour, 1.5 MiB of pixels, and its texture's pixels, blue first.
std::string repeated(const std::string& pixel) {
  std::string pixels;
  for (int k = 0; k < 1024 * 512; ++k) pixels += pixel;
  return pixels;
}
const std::string picture = "P6\n1024 512\n255\n" + repeated("\x10\x20\x30");
const std::string loaded = "1024x512 " + repeated("\x30\x20\x10");

// The answer of the decoding child is the first large allocation of the program, the copy of its
// pixels into the texture the second. Either failing fails the texture, with its usual lines, and
// the program goes on: each file is one of its own, as a file's decoding is remembered.
TEST(TextureMemory, PixelsThatCannotBeHeldFailTheTextureNotTheProgram) {
  System::Loader::RessourceManager& manager = *System::Loader::RessourceManager::getInstance();
  loadertest::ScratchDir dir;
  std::string lines, errors;
  loadertest::CapturedOutput output;
  for (const int allowed : {0, 1, 2}) {
    const std::string path = dir.write("picture" + std::to_string(allowed) + ".ppm", picture);
    largeLeft = allowed;
    armedIn = ::getpid();
    const auto texture = manager.loadTexture(path);
    armedIn = 0;
    EXPECT_EQ(allowed == 2 ? loaded : "0x0 ", loadertest::pixelsOf(*texture)) << allowed;
    lines += "ressourcemanager.cpp: load image from file " + path + "\n";
    errors += allowed == 2 ? "" : "ressourcemanager.cpp: couldn't load texture: " + path + "\n";
  }
  EXPECT_EQ(lines, loadertest::unnumbered(output.out.str()));
  EXPECT_EQ(errors, loadertest::unnumbered(output.err.str()));
}

}  // namespace
