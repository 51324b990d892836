#include "system/loader/imagedecoder.h"

#include <FreeImage.h>
#include <pthread.h>
#include <sched.h>
#include <signal.h>
#include <sys/prctl.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <functional>
#include <iterator>
#include <memory>
#include <new>

#include "loader/loadertest.h"
#include "system/loader/sandbox.h"
#include "system/loader/sandboxedimage.h"
#include "system/loader/truncation.h"

namespace {

using Data::Geometry::Texture;
using System::Loader::ImageLoad;
namespace fs = loadertest::fs;

// Blue, green and red (c = 0, 1, 2) of pixel (x, y), rows counted from the bottom; grey pictures
// have one value for all three.
unsigned char channel(unsigned bpp, unsigned c, unsigned x, unsigned y) {
  return static_cast<unsigned char>(bpp == 8 ? x * 29 + y * 17
                                             : x * (37 - c * 13) + y * (c * 29 + 11));
}

// FreeImage gives 8-bit pictures a grey palette. The alpha of 32-bit pictures varies so that a
// decoder mixing it into the colours shows.
bool savePicture(FREE_IMAGE_FORMAT format, unsigned bpp, unsigned width, unsigned height,
                 const std::string& path, int flags = 0) {
  FIBITMAP* picture = FreeImage_Allocate(width, height, bpp);
  for (unsigned y = 0; y < height; ++y) {
    BYTE* pixel = FreeImage_GetScanLine(picture, y);
    for (unsigned x = 0; x < width; ++x, pixel += bpp / 8) {
      for (unsigned c = 0; c < 3 && c < bpp / 8; ++c) pixel[c] = channel(bpp, c, x, y);  // BGR
      if (bpp == 32) pixel[FI_RGBA_ALPHA] = static_cast<BYTE>(255 - x);
    }
  }
  const bool saved = FreeImage_Save(format, picture, path.c_str(), flags);
  FreeImage_Unload(picture);
  return saved;
}

// What the decoder gives for a saved picture, as pixelsOf shows it.
std::string expectedPixels(unsigned bpp, unsigned width, unsigned height) {
  std::string expected = std::to_string(width) + "x" + std::to_string(height) + " ";
  for (unsigned y = 0; y < height; ++y)
    for (unsigned x = 0; x < width; ++x)
      for (unsigned c = 0; c < 3; ++c) expected += static_cast<char>(channel(bpp, c, x, y));
  return expected;
}

// Decodes the file at the path through its descriptor, as the decoding child does.
bool decodeImage(int format, const std::string& path, Texture& texture,
                 const System::Loader::HeaderRead& headerRead = nullptr) {
  const System::Loader::RegularFile file(path);
  return System::Loader::decodeImage(format, file.handle(), texture, headerRead);
}

std::string bytesOf(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string{std::istreambuf_iterator<char>(in), {}};
}

// Odd widths leave 24-bit rows padded in FreeImage; 16384 is the widest side the decoder takes.
// The sandbox also finds the type.
TEST(ImageDecoder, EveryDepthAndWidthBecomesPackedBgrRowsBottomFirst) {
  const struct {
    FREE_IMAGE_FORMAT format;
    unsigned bpp, width, height;
  } pictures[] = {{FIF_BMP, 24, 5, 4},   {FIF_BMP, 8, 37, 9},    {FIF_BMP, 32, 3, 7},
                  {FIF_PNG, 24, 37, 5},  {FIF_PNG, 32, 5, 2},    {FIF_TARGA, 8, 11, 2},
                  {FIF_TIFF, 24, 13, 6}, {FIF_PNG, 24, 16384, 1}};
  loadertest::ScratchDir dir;
  for (const auto& p : pictures) {
    ASSERT_TRUE(savePicture(p.format, p.bpp, p.width, p.height, dir.path("picture")));
    Texture texture;
    ASSERT_EQ(ImageLoad::Loaded, System::Loader::loadImageFile(dir.path("picture"), texture));
    EXPECT_TRUE(expectedPixels(p.bpp, p.width, p.height) == loadertest::pixelsOf(texture))
        << p.bpp << " bits, " << p.width << " wide";
  }
}

// FreeImage fills what a cut file lacks with made-up pixels (readers of uncompressed files pad it
// with stale bytes), so every cut length is tried. The JPEG 2000 reader reads on to the end of a
// whole file.
TEST(ImageDecoder, RefusesAPictureCutShortByAnyNumberOfBytesOrWiderThan16384) {
  loadertest::ScratchDir dir;
  Texture texture;
  for (const FREE_IMAGE_FORMAT format :
       {FIF_BMP, FIF_PPM, FIF_PNG, FIF_JPEG, FIF_TIFF, FIF_JP2, FIF_J2K}) {
    const unsigned side = format == FIF_JP2 || format == FIF_J2K ? 32 : 3;  // their smallest
    ASSERT_TRUE(savePicture(format, 24, side, side, dir.path("whole")));
    const std::string whole = bytesOf(dir.path("whole"));
    EXPECT_TRUE(decodeImage(format, dir.path("whole"), texture)) << format;
    for (std::size_t cut = 1; cut <= whole.size(); ++cut) {
      EXPECT_FALSE(
          decodeImage(format, dir.write("cut", whole.substr(0, whole.size() - cut)), texture))
          << format << " cut by " << cut;
    }
  }
  ASSERT_TRUE(savePicture(FIF_PNG, 24, 16385, 1, dir.path("wide")));
  EXPECT_FALSE(decodeImage(FIF_PNG, dir.path("wide"), texture));
}

// The decoder tells what a header claims once it is read and within the caps, and tells nothing,
// before reading, for formats whose header is not read alone or not quickly (a progressive JPEG's
// reader decodes every scan first, as JNG's does); a header beyond the caps is refused untold.
TEST(ImageDecoder, TellsWhatTheHeaderClaimsBeforeThePixelsAreDecoded) {
  const struct {
    FREE_IMAGE_FORMAT format;
    unsigned bpp, width;
    std::string told;
    bool decoded;
  } pictures[] = {{FIF_PNG, 24, 37, "37x5x24 ", true}, {FIF_BMP, 8, 6, "6x5x8 ", true},
                  {FIF_TIFF, 32, 3, "3x5x32 ", true},  {FIF_GIF, 8, 4, "none ", true},
                  {FIF_JPEG, 24, 8, "none ", true},    {FIF_WEBP, 24, 9, "none ", true},
                  {FIF_JNG, 24, 7, "none ", true},     {FIF_PNG, 24, 16385, "", false}};
  loadertest::ScratchDir dir;
  for (const auto& p : pictures) {
    ASSERT_TRUE(savePicture(p.format, p.bpp, p.width, 5, dir.path("picture")));
    std::string told;
    const auto tell = [&told](const std::optional<System::Loader::ImageHeader>& header) {
      told += header ? std::to_string(header->width) + "x" + std::to_string(header->height) + "x" +
                           std::to_string(header->bitsPerPixel) + " "
                     : "none ";
    };
    Texture texture;
    EXPECT_EQ(p.decoded, decodeImage(p.format, dir.path("picture"), texture, tell)) << p.format;
    EXPECT_EQ(p.told, told) << p.format;
  }
}

// A TGA is whole once all its pixels are there, whatever follows them: its footer, cut or not, or
// padding. FreeImage reads run-length packets that end early past its buffer, as it does when its
// buffer, a 32nd of the bytes after the header here, is shorter than a pixel.
TEST(ImageDecoder, TgaLoadsWithAllItsPixelsAndIsRefusedAtEveryCutAmongThem) {
  loadertest::ScratchDir dir;
  const auto saved = [&dir](unsigned bpp, unsigned width, unsigned height, int flags) {
    EXPECT_TRUE(savePicture(FIF_TARGA, bpp, width, height, dir.path("saved"), flags));
    return bytesOf(dir.path("saved"));
  };
  std::string grey = saved(8, 7, 3, TARGA_SAVE_RLE);  // colour-mapped made grey: no palette
  grey.replace(1, 7, std::string("\0\x0b\0\0\0\0\0", 7)).erase(18, 768);
  // 32 x 32 in a raw packet of 2 pixels, then runs of 128 but the last; 39 bytes, 64 of padding.
  std::string runs = std::string("\0\0\x0a\0\0\0\0\0\0\0\0\0\x20\0\x20\0\x18\0", 18) + "\001abcdef";
  std::string runPixels = "32x32 abcdef";
  for (int k = 0; k < 8; ++k) {
    const std::string pixel = k < 7 ? "\x01\x02\x03" : "\x04\x05\x06";
    runs += (k < 7 ? "\xff" : "\xfd") + pixel;
    for (int n = 0; n < (k < 7 ? 128 : 126); ++n) runPixels += pixel;
  }
  const std::size_t footer = 26;
  const struct {
    std::string file, pixels;
    std::size_t loadsUpTo;  // the longest cut that loads
  } layouts[] = {
      {saved(24, 3, 3, 0) + "pad.", expectedPixels(24, 3, 3), footer + 4},
      {saved(24, 21, 13, TARGA_SAVE_RLE), expectedPixels(24, 21, 13), footer},  // raw packets
      {saved(8, 11, 5, TARGA_SAVE_RLE), expectedPixels(8, 11, 5), footer},
      {grey, expectedPixels(8, 7, 3), footer},
      {runs + std::string(64, '\0'), runPixels, 39 + 64 - 32 * 3},
      // 1 x 64 grey in one run: 2 bytes, and padding up to the 64 that make a buffer of 1.
      {std::string("\0\0\x0b\0\0\0\0\0\0\0\0\0\x01\0\x40\0\x08\0\xbf*", 20) + std::string(62, '\0'),
       "1x64 " + std::string(64 * 3, '*'), 0},
  };
  for (const auto& l : layouts) {
    for (std::size_t cut = 0; cut < l.file.size(); ++cut) {
      const std::string path = dir.write("cut.tga", l.file.substr(0, l.file.size() - cut));
      // Told from the header and packets alone: FreeImage never reads such a file.
      std::FILE* file = std::fopen(path.c_str(), "rb");
      EXPECT_EQ(cut > l.loadsUpTo, System::Loader::isCutShort(FIF_TARGA, file)) << cut;
      std::fclose(file);
      Texture texture;
      EXPECT_EQ(cut <= l.loadsUpTo, decodeImage(FIF_TARGA, path, texture))
          << l.pixels.substr(0, 5) << " cut by " << cut;
      if (cut <= l.loadsUpTo) {
        EXPECT_TRUE(l.pixels == loadertest::pixelsOf(texture)) << cut;
      }
    }
  }
}

// Images are taken up to 16384 a side and 512 MiB decoded, a pixel counting 8 bytes or more.
TEST(ImageDecoder, TakesImagesUpTo512MiBDecodedAtNoLessThan8BytesAPixel) {
  const struct {
    unsigned width, height, bpp;
    bool taken;
  } sizes[] = {{16384, 4096, 64, true}, {16384, 4097, 64, false}, {8192, 8192, 1, true},
               {8192, 8193, 24, false}, {8192, 5461, 96, true},   {8192, 5462, 96, false},
               {8192, 4096, 128, true}, {8192, 4097, 128, false}, {16385, 1, 8, false},
               {1, 16385, 8, false}};
  for (const auto& s : sizes)
    EXPECT_EQ(s.taken, System::Loader::withinImageCaps(s.width, s.height, s.bpp))
        << s.width << "x" << s.height << "x" << s.bpp;
}

// The child's answer: type, width, height, pixels. Whatever it holds, only a whole one within the
// caps is taken.
TEST(ImageDecoder, TakesOnlyAWholeAnswerWithinTheCaps) {
  const auto answer = [](std::int32_t width, std::int32_t height, std::size_t pixelBytes,
                         std::int32_t type = FIF_PNG) {
    const std::int32_t head[] = {type, width, height};
    return std::string(reinterpret_cast<const char*>(head), sizeof head) +
           std::string(pixelBytes, '\x7f');
  };
  const std::pair<std::string, ImageLoad> refused[] = {
      {answer(2, 1, 5), ImageLoad::Failed},
      {answer(2, 1, 7), ImageLoad::Failed},
      {answer(16385, 1, 49155), ImageLoad::Failed},
      {answer(1, 16385, 49155), ImageLoad::Failed},
      {answer(-2, -1, 6), ImageLoad::Failed},
      {answer(0, 0, 0).substr(0, 11), ImageLoad::Failed},
      {answer(0, 0, 0, FIF_UNKNOWN).substr(0, 4), ImageLoad::UnknownType}};
  Texture texture;
  for (const auto& r : refused)
    EXPECT_EQ(r.second, System::Loader::takeImageAnswer(r.first, texture));
  EXPECT_EQ("0x0 ", loadertest::pixelsOf(texture));
  EXPECT_EQ(ImageLoad::Loaded, System::Loader::takeImageAnswer(answer(2, 1, 6), texture));
  EXPECT_EQ("2x1 \x7f\x7f\x7f\x7f\x7f\x7f", loadertest::pixelsOf(texture));
}

using System::Loader::SandboxLimits;

// The processor time, in seconds, of the ended children reaped so far.
double childrenSeconds() {
  rusage usage{};
  ::getrusage(RUSAGE_CHILDREN, &usage);
  return double(usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) +
         double(usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
}

// The answer of a run, which must have started.
std::optional<std::string> answerOf(const std::function<std::string()>& work,
                                    const SandboxLimits& limits) {
  const System::Loader::SandboxRun run = System::Loader::runSandboxed(work, limits);
  EXPECT_TRUE(run.started);
  return run.answer;
}

// Children that must fail get little of one bound and plenty of the others: each is tested alone.
// The kernel's processor limit, set a second or two beyond the most the parent gives, is far from
// what littleCpu's children use: only the parent's watch ends them.
const std::size_t answerBytes = 4 << 20;
const SandboxLimits littleTime{std::size_t(64) << 30, 60000, 60000, 300, answerBytes};
const SandboxLimits littleCpu{std::size_t(64) << 30, 1000, 10000, 60000, answerBytes};
const SandboxLimits littleMemory{std::size_t(64) << 20, 60000, 60000, 60000, answerBytes};

// Burns processor time until the process has used this much, yielding the processor all along
// as a decoder waiting on a lock would.
std::string spin(int milliseconds) {
  while (std::clock() < std::clock_t(milliseconds) * (CLOCKS_PER_SEC / 1000)) ::sched_yield();
  return "spun";
}

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
// What the child prints goes nowhere: reports of a decoder's fault would read as the program's own.
TEST(Sandbox, HandsBackWhatTheChildReturnsByteForByteAndNothingElse) {
  std::string large(answerBytes, '\0');
  for (std::size_t i = 0; i < large.size(); ++i) large[i] = static_cast<char>(i * 7 + i / 4099);
  EXPECT_EQ(large, answerOf([&large] { return large; }, littleMemory));
  EXPECT_EQ(std::string(), answerOf([] { return std::string(); }, littleMemory));
  EXPECT_EQ(fill(32 << 20), answerOf([] { return fill(32 << 20); }, littleMemory));
  const auto outputs = [] {
    return loadertest::fs::read_symlink("/proc/self/fd/1").string() + " " +
           loadertest::fs::read_symlink("/proc/self/fd/2").string();
  };
  EXPECT_EQ("/dev/null /dev/null", answerOf(outputs, littleMemory));
  // Bound by processor time, a child that waits longer than that still answers, as does one that
  // asks for more before it needs it.
  const auto sleeper = [] { return std::to_string(::usleep(1500000)); };
  EXPECT_EQ("0", answerOf(sleeper, littleCpu));
  const auto asker = [] {
    System::Loader::askForProcessorTime(3000);
    return spin(2000);
  };
  EXPECT_EQ("spun", answerOf(asker, littleCpu));
}

// The address space is bounded, not only what is touched. A refused allocation ends the child as
// a crash would (AddressSanitizer, which does not return null, ends it itself).
std::string mapTwoGigabytes() {
  void* volatile block = std::malloc(std::size_t(2) << 30);
  if (block == nullptr) std::abort();
  std::free(block);
  return "mapped";
}

// An exception unwound out of the work would run the rest of this test in the child.
TEST(Sandbox, ChildrenThatCrashThrowOverrunOrAnswerShortGiveNothingAndLeaveNoProcess) {
  const struct {
    const char* child;
    std::function<std::string()> work;
    SandboxLimits limits;
  } children[] = {
      {"segfaults", [] { return std::to_string(::raise(SIGSEGV)); }, littleMemory},
      {"aborts", []() -> std::string { std::abort(); }, littleMemory},
      {"throws", []() -> std::string { throw std::bad_alloc(); }, littleMemory},
      {"ends before answering", []() -> std::string { ::_exit(0); }, littleMemory},
      {"spins for 2 s of processor time", [] { return spin(2000); }, littleCpu},
      {"asks for 1.5 s of processor time and spins for 2 s",
       [] {
         System::Loader::askForProcessorTime(1500);
         return spin(2000);
       },
       littleCpu},
      {"asks for 5 s where 1 s is the most, and spins for 1.5 s",
       [] {
         System::Loader::askForProcessorTime(5000);
         return spin(1500);
       },
       SandboxLimits{std::size_t(64) << 30, 500, 1000, 60000, answerBytes}},
      {"asks twice",
       [] {
         System::Loader::askForProcessorTime(2000);
         System::Loader::askForProcessorTime(3000);
         return std::string("asked");
       },
       littleCpu},
      {"sleeps", [] { return std::to_string(::pause()); }, littleTime},
      {"answers more than allowed", [] { return std::string(answerBytes + 1, 'x'); }, littleMemory},
      {"allocates 2 GB at once", [] { return std::string(std::size_t(2) << 30, 'x').substr(1); },
       littleMemory},
      {"fills 1 GB in small blocks", [] { return fill(std::size_t(1) << 30); }, littleMemory},
      {"maps 2 GB", mapTwoGigabytes, littleMemory},
  };
  loadertest::ScratchDir dir;
  const pid_t parent = ::getpid();
  try {
    for (const auto& c : children) EXPECT_FALSE(answerOf(c.work, c.limits)) << c.child;
  } catch (...) {
    if (::getpid() != parent) {
      std::ofstream(dir.path("unwound"));
      ::_exit(0);
    }
    throw;
  }
  EXPECT_FALSE(loadertest::fs::exists(dir.path("unwound")));
  EXPECT_EQ(-1, ::waitpid(-1, nullptr, WNOHANG));
  EXPECT_EQ(ECHILD, errno);
}

// A decoding gets a second for its header, then a second and more in proportion to the decoded
// bytes the caps count, up to a minute for the largest images taken. Formats whose header cannot
// be read first get what their largest images need.
TEST(Sandbox, ADecodingsProcessorTimeFollowsWhatItsHeaderClaims) {
  using System::Loader::ImageHeader;
  const struct {
    int format;
    std::optional<ImageHeader> header;
    int milliseconds;
  } budgets[] = {
      {FIF_PNG, ImageHeader{5, 5, 24}, 2000},
      {FIF_PSD, ImageHeader{1, 1, 1}, 2000},
      {FIF_PNG, ImageHeader{2048, 2048, 24}, 5625},
      {FIF_TIFF, ImageHeader{16384, 4095, 64}, 59985},
      {FIF_TIFF, ImageHeader{16384, 4096, 64}, 60000},
      {FIF_EXR, ImageHeader{8192, 4096, 128}, 60000},
      {FIF_PNG, ImageHeader{16384, 16384, 64}, 60000},
      {FIF_HDR, ImageHeader{4096, 4096, 96}, 23750},
      {FIF_J2K, std::nullopt, 60000},
      {FIF_JP2, std::nullopt, 60000},
      {FIF_GIF, std::nullopt, 20000},
      {FIF_JPEG, std::nullopt, 20000},
  };
  for (const auto& b : budgets)
    EXPECT_EQ(b.milliseconds, System::Loader::decodingMilliseconds(b.format, b.header))
        << b.format << " " << (b.header ? b.header->width : 0);
}

// A header whose reading never ends, and a 5 x 5 header whose pixels keep the decoder spinning
// when it gets the gigabytes it asks for: each fails within its budget, a header's second or a
// small image's two, far from the minute the largest images get.
TEST(Sandbox, HostileImagesFailWithinTheProcessorTimeTheirHeadersClaim) {
  SandboxLimits plentyOfMemory = System::Loader::imageDecodingLimits;
  plentyOfMemory.memoryBytes = std::size_t(64) << 30;
  for (const std::string name : {"slow-header.exr", "spins-5x5.psd"}) {
    const double before = childrenSeconds();
    Texture texture;
    EXPECT_EQ(ImageLoad::Failed, System::Loader::loadImageFile("tests/loader/hostileimages/" + name,
                                                               texture, plentyOfMemory));
    EXPECT_LT(childrenSeconds() - before, 3.0) << name;
  }
}

// A decoding that has read its header asks for the time its image claims: a tiny picture gets
// two seconds in all, which the work, spinning on after it, uses beyond the header's one.
TEST(Sandbox, TheDecodingChildAsksForItsImagesBudgetOnceItsHeaderIsRead) {
  loadertest::ScratchDir dir;
  ASSERT_TRUE(savePicture(FIF_PNG, 24, 3, 2, dir.path("picture")));
  const System::Loader::RegularFile file(dir.path("picture"));
  const auto decodeAndSpin = [&file, &dir] {
    const std::string answer = System::Loader::decodeImageFile(file.handle(), dir.path("picture"));
    spin(1500);
    return answer;
  };
  const std::optional<std::string> answer =
      answerOf(decodeAndSpin, System::Loader::imageDecodingLimits);
  ASSERT_TRUE(answer);
  Texture texture;
  EXPECT_EQ(ImageLoad::Loaded, System::Loader::takeImageAnswer(*answer, texture));
  EXPECT_EQ(expectedPixels(24, 3, 2), loadertest::pixelsOf(texture));
}

// The child decodes the file that was opened and checked, whatever its name names by then: a
// FIFO put in its place (here by a fork handler, as the child starts) neither blocks it nor is
// read. The test runs in a process of its own, which alone has the handler.
TEST(Sandbox, TheChildDecodesTheFileCheckedNotWhatItsNameNamesLater) {
  loadertest::ScratchDir dir;
  static std::string picture, fifo;
  picture = dir.path("picture");
  fifo = dir.path("fifo");
  ASSERT_TRUE(savePicture(FIF_BMP, 24, 3, 2, picture));
  ASSERT_EQ(0, ::mkfifo(fifo.c_str(), 0600));
  const pid_t tester = ::fork();
  if (tester == 0) {
    ::pthread_atfork(nullptr, nullptr, [] {
      if (std::rename(fifo.c_str(), picture.c_str()) != 0) ::_exit(2);
    });
    SandboxLimits shortWait = System::Loader::imageDecodingLimits;
    shortWait.wallMilliseconds = 20000;
    Texture texture;
    const ImageLoad loaded = System::Loader::loadImageFile(picture, texture, shortWait);
    ::_exit(loaded == ImageLoad::Loaded && loadertest::pixelsOf(texture) == expectedPixels(24, 3, 2)
                ? 0
                : 1);
  }
  int status = -1;
  ASSERT_EQ(tester, ::waitpid(tester, &status, 0));
  EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << status;
  struct stat swapped {};
  EXPECT_TRUE(::stat(picture.c_str(), &swapped) == 0 && S_ISFIFO(swapped.st_mode));
}

// A launcher, a service manager or a shell's "trap '' CHLD" can start the program with SIGCHLD
// ignored, and a handler can ask for no zombies: the kernel then reaps ended children itself.
TEST(Sandbox, ImagesLoadWhateverTheProgramDoesWithSigchldAndItKeepsThat) {
  loadertest::ScratchDir dir;
  ASSERT_TRUE(savePicture(FIF_BMP, 24, 2, 1, dir.path("picture")));
  struct sigaction ignored {
  }, noZombies{};
  ignored.sa_handler = SIG_IGN;
  noZombies.sa_handler = [](int) {};
  noZombies.sa_flags = SA_NOCLDWAIT;
  for (const struct sigaction& disposition : {ignored, noZombies}) {
    struct sigaction before {
    }, after{};
    ::sigaction(SIGCHLD, &disposition, &before);
    Texture texture;
    const ImageLoad loaded = System::Loader::loadImageFile(dir.path("picture"), texture);
    ::sigaction(SIGCHLD, &before, &after);
    EXPECT_EQ(ImageLoad::Loaded, loaded);
    EXPECT_EQ(expectedPixels(24, 2, 1), loadertest::pixelsOf(texture));
    EXPECT_EQ(disposition.sa_handler, after.sa_handler);
    EXPECT_EQ(disposition.sa_flags, after.sa_flags & SA_NOCLDWAIT);
  }
}

// A child whose parent ends before the child asks to end with it would live on unwatched: it ends
// at once. A fork handler holds the child until its parent is gone; the test adopts the orphan.
TEST(Sandbox, AChildWhoseParentEndedBeforeItStartedDoesNotWork) {
  loadertest::ScratchDir dir;
  static int started[2];
  ASSERT_EQ(0, ::pipe(started));
  ASSERT_EQ(0, ::prctl(PR_SET_CHILD_SUBREAPER, 1));
  const pid_t parent = ::fork();
  if (parent == 0) {
    ::pthread_atfork(nullptr, nullptr, [] {
      const pid_t self = ::getpid(), itsParent = ::getppid();
      if (::write(started[1], &self, sizeof self) != sizeof self) ::_exit(2);
      while (::getppid() == itsParent) ::usleep(1000);
    });
    answerOf([&dir] { return std::to_string(fs::exists(dir.write("worked", ""))); }, littleMemory);
    ::_exit(0);
  }
  pid_t child = 0;
  EXPECT_EQ(ssize_t(sizeof child), ::read(started[0], &child, sizeof child));
  ::kill(parent, SIGKILL);
  EXPECT_EQ(parent, ::waitpid(parent, nullptr, 0));
  EXPECT_EQ(child, ::waitpid(child, nullptr, 0));
  ::prctl(PR_SET_CHILD_SUBREAPER, 0);
  ::close(started[0]);
  ::close(started[1]);
  EXPECT_FALSE(fs::exists(dir.path("worked")));
}

}  // namespace
