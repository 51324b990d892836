#include "system/loader/sandboxedimage.h"

#include <FreeImage.h>

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <new>

#include "system/loader/regularfile.h"

namespace System {
namespace Loader {

namespace {

// The child's answer: the type, then for a decoded image its width, height and pixels.
void append(std::string& answer, std::int32_t value) {
  answer.append(reinterpret_cast<const char*>(&value), sizeof value);
}

std::int32_t numberAt(const std::string& answer, std::size_t at) {
  std::int32_t value = 0;
  std::memcpy(&value, answer.data() + at, sizeof value);
  return value;
}

const std::size_t typeBytes = 4, sizeBytes = 8;

// Beyond the header's time, what any image gets, however small: converting and handing over.
const int baseMilliseconds = 1000;

// Formats whose header is not read first. Their largest images took, with every core busy: 40 s
// for JPEG 2000 (64 megapixels of noise, lossless), at most 9.4 s for the others measured (a
// progressive JNG with alpha; a progressive JPEG 7.7 s; SGI, GIF, DDS). IFF, PICT, XBM, WBMP and
// KOALA are uncompressed or run-length coded, no slower per pixel than SGI; an MNG holds a PNG or
// JNG image, decoded as those are.
int withoutHeaderMilliseconds(int freeImageFormat) {
  return freeImageFormat == FIF_J2K || freeImageFormat == FIF_JP2 ? maxDecodingMilliseconds : 20000;
}

ImageLoad judgedByName(const std::string& fileName) {
  return FreeImage_GetFIFFromFilename(fileName.c_str()) == FIF_UNKNOWN ? ImageLoad::UnknownType
                                                                       : ImageLoad::Failed;
}

}  // namespace

std::string decodeImageFile(int descriptor, const std::string& fileName) {
  FREE_IMAGE_FORMAT type = static_cast<FREE_IMAGE_FORMAT>(imageTypeOf(descriptor));
  if (type == FIF_UNKNOWN) {
    type = FreeImage_GetFIFFromFilename(fileName.c_str());
  }
  std::string answer;
  append(answer, type);
  Data::Geometry::Texture texture;
  if (type != FIF_UNKNOWN && FreeImage_FIFSupportsReading(type) &&
      decodeImage(type, descriptor, texture, [type](const std::optional<ImageHeader>& header) {
        askForProcessorTime(decodingMilliseconds(type, header));
      })) {
    const std::size_t pixelBytes = std::size_t(texture.width) * 3 * std::size_t(texture.height);
    answer.reserve(typeBytes + sizeBytes + pixelBytes);
    append(answer, texture.width);
    append(answer, texture.height);
    answer.append(reinterpret_cast<const char*>(texture.data.get()), pixelBytes);
  }
  return answer;
}

int decodingMilliseconds(int freeImageFormat, const std::optional<ImageHeader>& header) {
  if (!header) {
    return withoutHeaderMilliseconds(freeImageFormat);
  }
  const unsigned long long bytes =
      decodedBytes(header->width, header->height, header->bitsPerPixel);
  const unsigned long long pixelsBudget =
      bytes * (maxDecodingMilliseconds - headerMilliseconds - baseMilliseconds) / maxDecodedBytes;
  return static_cast<int>(std::min<unsigned long long>(
      headerMilliseconds + baseMilliseconds + pixelsBudget, maxDecodingMilliseconds));
}

// The child runs our code over memory that a decoder may have corrupted: its answer is checked.
ImageLoad takeImageAnswer(const std::string& answer, Data::Geometry::Texture& texture) {
  if (answer.size() < typeBytes) {
    return ImageLoad::Failed;
  }
  if (numberAt(answer, 0) == FIF_UNKNOWN) {
    return ImageLoad::UnknownType;
  }
  if (answer.size() < typeBytes + sizeBytes) {
    return ImageLoad::Failed;
  }
  const std::int32_t width = numberAt(answer, typeBytes), height = numberAt(answer, typeBytes + 4);
  const std::size_t pixelBytes = answer.size() - typeBytes - sizeBytes;
  if (width < 0 || height < 0 || !withinImageCaps(width, height, 24) ||
      std::uint64_t(width) * 3 * std::uint64_t(height) != pixelBytes) {
    return ImageLoad::Failed;
  }
  // Pixels the program has no memory for fail this texture, not the program.
  unsigned char* const pixels = new (std::nothrow) unsigned char[pixelBytes];
  if (pixels == nullptr) {
    return ImageLoad::Failed;
  }
  texture.data.reset(pixels);
  std::memcpy(pixels, answer.data() + typeBytes + sizeBytes, pixelBytes);
  texture.width = width;
  texture.height = height;
  return ImageLoad::Loaded;
}

ImageLoad loadImageFile(const std::string& fileName, Data::Geometry::Texture& texture,
                        const SandboxLimits& limits) {
  // A FIFO blocks and a device never ends; such a path is judged by its name alone, as a missing
  // file is. It is not even opened: opening a FIFO lets its writer's open through.
  if (!isRegularFile(fileName)) {
    return judgedByName(fileName);
  }
  const RegularFile file(fileName);
  if (!file.isOpen()) {
    return judgedByName(fileName);
  }
  const SandboxRun run =
      runSandboxed([&file, &fileName] { return decodeImageFile(file.handle(), fileName); }, limits);
  if (!run.started) {
    return ImageLoad::NotRun;
  }
  return run.answer ? takeImageAnswer(*run.answer, texture) : ImageLoad::Failed;
}

}  // namespace Loader
}  // namespace System
