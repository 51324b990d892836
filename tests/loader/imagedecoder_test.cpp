#include "system/loader/imagedecoder.h"

#include <FreeImage.h>
#include <fcntl.h>
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <functional>
#include <iterator>
#include <memory>
#include <new>
#include <string>
#include <vector>

#include "loader/loadertest.h"
#include "system/loader/sandbox.h"
#include "system/loader/sandboxedimage.h"

namespace {

using Data::Geometry::Texture;
using System::Loader::ImageLoad;

// Blue, green and red (c = 0, 1, 2) of pixel (x, y), rows counted from the bottom; grey pictures
// have one value for all three.
unsigned char channel(unsigned bpp, unsigned c, unsigned x, unsigned y) {
  return static_cast<unsigned char>(bpp == 8 ? x * 29 + y * 17
                                             : x * (37 - c * 13) + y * (c * 29 + 11));
}

// FreeImage gives 8-bit pictures a grey palette. The alpha of 32-bit pictures varies so that a
// decoder mixing it into the colours shows.
FIBITMAP* makePicture(unsigned bpp, unsigned width, unsigned height) {
  FIBITMAP* picture = FreeImage_Allocate(width, height, bpp);
  for (unsigned y = 0; y < height; ++y) {
    BYTE* pixel = FreeImage_GetScanLine(picture, y);
    for (unsigned x = 0; x < width; ++x, pixel += bpp / 8) {
      for (unsigned c = 0; c < 3 && c < bpp / 8; ++c) pixel[c] = channel(bpp, c, x, y);  // BGR
      if (bpp == 32) pixel[FI_RGBA_ALPHA] = static_cast<BYTE>(255 - x);
    }
  }
  return picture;
}

// Odd widths leave 24-bit rows padded in FreeImage; 16384 is the widest side the decoder takes.
TEST(ImageDecoder, EveryDepthAndWidthBecomesPackedBgrRowsBottomFirst) {
  const struct {
    FREE_IMAGE_FORMAT format;
    unsigned bpp, width, height;
  } pictures[] = {{FIF_BMP, 24, 5, 4},   {FIF_BMP, 8, 37, 9},    {FIF_BMP, 32, 3, 7},
                  {FIF_PNG, 24, 37, 5},  {FIF_PNG, 32, 5, 2},    {FIF_TARGA, 8, 11, 2},
                  {FIF_TIFF, 24, 13, 6}, {FIF_PNG, 24, 16384, 1}};
  loadertest::ScratchDir dir;
  for (const auto& p : pictures) {
    FIBITMAP* picture = makePicture(p.bpp, p.width, p.height);
    ASSERT_TRUE(FreeImage_Save(p.format, picture, dir.path("picture").c_str(), 0));
    FreeImage_Unload(picture);
    std::string expected;
    for (unsigned y = 0; y < p.height; ++y)
      for (unsigned x = 0; x < p.width; ++x)
        for (unsigned c = 0; c < 3; ++c) expected += static_cast<char>(channel(p.bpp, c, x, y));
    // In process, and in the sandbox, which also finds the type.
    Texture direct, sandboxed;
    ASSERT_TRUE(System::Loader::decodeImage(p.format, dir.path("picture"), direct));
    ASSERT_EQ(ImageLoad::Loaded, System::Loader::loadImageFile(dir.path("picture"), sandboxed));
    for (const Texture* texture : {&direct, &sandboxed}) {
      ASSERT_TRUE(int(p.width) == texture->width && int(p.height) == texture->height);
      EXPECT_TRUE(expected ==
                  std::string(reinterpret_cast<const char*>(texture->data.get()), expected.size()))
          << p.bpp << " bits, " << p.width << " wide";
    }
  }
}

// FreeImage fills what a cut file lacks with made-up pixels, and would clear 10 GB for a 62-byte
// bitmap announcing 60000 (0xea60) pixels a side.
TEST(ImageDecoder, RefusesPicturesCutShortOrOfAbsurdSize) {
  loadertest::ScratchDir dir;
  FIBITMAP* picture = makePicture(24, 40, 30);
  Texture texture;
  for (const FREE_IMAGE_FORMAT format :
       {FIF_BMP, FIF_PNG, FIF_JPEG, FIF_TARGA, FIF_TIFF, FIF_PPM}) {
    ASSERT_TRUE(FreeImage_Save(format, picture, dir.path("whole").c_str(), 0));
    std::ifstream in(dir.path("whole"), std::ios::binary);
    const std::string whole{std::istreambuf_iterator<char>(in), {}};
    for (std::size_t percent : {95, 20})
      EXPECT_FALSE(System::Loader::decodeImage(
          format, dir.write("cut", whole.substr(0, whole.size() * percent / 100)), texture))
          << format << " cut to " << percent << "%";
  }
  FreeImage_Unload(picture);
  const std::string giant =
      std::string("BM\0\0\0\0\0\0\0\0\x36\0\0\0\x28\0\0\0\x60\xea\0\0\x60\xea\0\0\x01\0\x18", 29) +
      std::string(25, '\0') + "abcdefgh";
  EXPECT_FALSE(System::Loader::decodeImage(FIF_BMP, dir.write("giant.bmp", giant), texture));
}

std::string contents(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string{std::istreambuf_iterator<char>(in), {}};
}

// Readers of uncompressed files pad what is missing with stale bytes. A TGA without its footer is
// a whole TGA of the older kind.
TEST(ImageDecoder, RefusesAnUncompressedPictureCutShortByAnyNumberOfBytes) {
  loadertest::ScratchDir dir;
  FIBITMAP* picture = makePicture(24, 3, 2);
  const std::size_t tgaFooter = 26;
  for (const FREE_IMAGE_FORMAT format : {FIF_TARGA, FIF_BMP, FIF_PPM}) {
    ASSERT_TRUE(FreeImage_Save(format, picture, dir.path("whole").c_str(), 0));
    const std::string whole = contents(dir.path("whole"));
    Texture texture;
    EXPECT_TRUE(System::Loader::decodeImage(format, dir.path("whole"), texture)) << format;
    for (std::size_t cut = 1; cut <= whole.size(); ++cut) {
      if (format == FIF_TARGA && cut == tgaFooter) continue;
      EXPECT_FALSE(System::Loader::decodeImage(
          format, dir.write("cut", whole.substr(0, whole.size() - cut)), texture))
          << format << " cut by " << cut;
    }
  }
  FreeImage_Unload(picture);
}

using System::Loader::runSandboxed;
using System::Loader::SandboxLimits;

// Children that must fail get little of one bound and plenty of the other, so that each bound is
// tested alone and the tests stay short.
const SandboxLimits littleTime{std::size_t(64) << 30, 300};
const SandboxLimits littleMemory{std::size_t(64) << 20, 10000};

// Touches every byte, so that no allocation can be left out.
std::string fill(std::size_t bytes) {
  std::vector<std::unique_ptr<char[]>> blocks;
  std::size_t sum = 0;
  for (std::size_t k = 0; k < bytes >> 16; ++k) {
    blocks.emplace_back(new char[1 << 16]);
    std::memset(blocks.back().get(), static_cast<int>(k), 1 << 16);
    sum += static_cast<unsigned char>(blocks.back()[k & 0xffff]);
  }
  return std::to_string(sum);
}

// The memory bound counts from what the process holds already; answers beyond a pipe's buffer.
TEST(Sandbox, HandsBackWhatTheChildReturnsByteForByte) {
  std::string large(3 << 20, '\0');
  for (std::size_t i = 0; i < large.size(); ++i) large[i] = static_cast<char>(i * 7 + i / 4099);
  const SandboxLimits roomy = littleMemory;
  EXPECT_EQ(large, runSandboxed([&large] { return large; }, roomy));
  EXPECT_EQ(std::string(), runSandboxed([] { return std::string(); }, roomy));
  EXPECT_EQ(fill(32 << 20), runSandboxed([] { return fill(32 << 20); }, roomy));
}

// Reports of a decoder's fault would read as the program's own.
TEST(Sandbox, ChildrenWriteNothingOnTheParentsStreams) {
  loadertest::ScratchDir dir;
  const int log = ::open(dir.path("log").c_str(), O_WRONLY | O_CREAT, 0600);
  const int out = ::dup(STDOUT_FILENO), err = ::dup(STDERR_FILENO);
  ::dup2(log, STDOUT_FILENO);
  ::dup2(log, STDERR_FILENO);
  const auto answer = runSandboxed(
      [] {
        const bool wrote =
            ::write(STDOUT_FILENO, "out\n", 4) + ::write(STDERR_FILENO, "err\n", 4) > 0;
        std::abort();
        return std::string(wrote ? "x" : "");
      },
      littleMemory);
  ::dup2(out, STDOUT_FILENO);
  ::dup2(err, STDERR_FILENO);
  for (const int fd : {log, out, err}) ::close(fd);
  EXPECT_FALSE(answer);
  EXPECT_EQ("", contents(dir.path("log")));
}

// Caught here, the exception would have the child go on with the caller's code.
TEST(Sandbox, AnExceptionEndsTheChildWhereItIsThrown) {
  loadertest::ScratchDir dir;
  const pid_t parent = ::getpid();
  try {
    EXPECT_FALSE(runSandboxed([]() -> std::string { throw std::bad_alloc(); }, littleMemory));
  } catch (...) {
    if (::getpid() != parent) {
      std::ofstream(dir.path("unwound"));
      ::_exit(0);
    }
    throw;
  }
  EXPECT_FALSE(boost::filesystem::exists(dir.path("unwound")));
}

TEST(Sandbox, ChildrenThatCrashOverrunOrAnswerShortGiveNothingAndLeaveNoProcess) {
  const struct {
    const char* child;
    std::function<std::string()> work;
    SandboxLimits limits;
  } children[] = {
      {"segfaults",
       [] {
         ::raise(SIGSEGV);
         return std::string("x");
       },
       littleMemory},
      {"aborts",
       [] {
         std::abort();
         return std::string("x");
       },
       littleMemory},
      {"ends before answering", []() -> std::string { ::_exit(0); }, littleMemory},
      {"spins",
       [] {
         for (volatile bool forever = true; forever;) {
         }
         return std::string("x");
       },
       littleTime},
      {"sleeps",
       [] {
         ::pause();
         return std::string("x");
       },
       littleTime},
      {"allocates 2 GB at once", [] { return std::string(std::size_t(2) << 30, 'x').substr(1); },
       littleMemory},
      {"fills 1 GB in small blocks", [] { return fill(std::size_t(1) << 30); }, littleMemory},
  };
  for (const auto& c : children) EXPECT_FALSE(runSandboxed(c.work, c.limits)) << c.child;
  // Address space is bounded too, not only what is touched: the allocation fails (or, under
  // AddressSanitizer, which does not return null, ends the child).
  const auto untouched = runSandboxed(
      [] {
        void* volatile block = std::malloc(std::size_t(2) << 30);
        std::free(block);
        return std::string(block != nullptr ? "allocated" : "refused");
      },
      littleMemory);
  EXPECT_NE("allocated", untouched.value_or("ended"));
  EXPECT_EQ(-1, ::waitpid(-1, nullptr, WNOHANG));
  EXPECT_EQ(ECHILD, errno);
}

}  // namespace
