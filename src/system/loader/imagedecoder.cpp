#include "system/loader/imagedecoder.h"

#include <FreeImage.h>
#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <memory>
#include <utility>

#include "system/loader/truncation.h"

namespace System {
namespace Loader {

namespace {

struct BitmapDeleter {
  void operator()(FIBITMAP* bitmap) const { FreeImage_Unload(bitmap); }
};
using Bitmap = std::unique_ptr<FIBITMAP, BitmapDeleter>;

struct FileCloser {
  void operator()(std::FILE* file) const { std::fclose(file); }
};
using File = std::unique_ptr<std::FILE, FileCloser>;

// A buffered stream of its own over the descriptor (the file's position is shared): readers take
// some formats a byte at a time.
File streamOf(int descriptor) {
  const int copy = ::fcntl(descriptor, F_DUPFD_CLOEXEC, 0);
  std::FILE* file = copy < 0 ? nullptr : ::fdopen(copy, "rb");
  if (file == nullptr && copy >= 0) {
    ::close(copy);
  }
  return File(file);
}

// FreeImage decodes a BMP, TGA or PNM that ends early without complaint,
// padding the missing pixels. A read that finds nothing left tells us so for
// every format but JPEG 2000, whose reader reads a whole file in blocks until
// one comes back empty; a short read need not (readers ask for whole blocks),
// which is why uncompressed files are also measured against their headers
// first.
struct Source {
  std::FILE* file;
  bool ranDry;
};

unsigned DLL_CALLCONV readSource(void* buffer, unsigned size, unsigned count, fi_handle handle) {
  Source* source = static_cast<Source*>(handle);
  const std::size_t got = std::fread(buffer, size, count, source->file);
  if (got == 0 && size > 0 && count > 0) {
    source->ranDry = true;
  }
  return static_cast<unsigned>(got);
}

int DLL_CALLCONV seekSource(fi_handle handle, long offset, int origin) {
  return std::fseek(static_cast<Source*>(handle)->file, offset, origin);
}

long DLL_CALLCONV tellSource(fi_handle handle) {
  return std::ftell(static_cast<Source*>(handle)->file);
}

// Plugins report corrupt data (a JPEG cut short, a bad PNG chunk) only through
// the message hook, and may still hand back a bitmap of made-up pixels.
bool libraryComplained = false;

void DLL_CALLCONV noteComplaint(FREE_IMAGE_FORMAT, const char*) { libraryComplained = true; }

FreeImageIO sourceIo() { return FreeImageIO{readSource, nullptr, seekSource, tellSource}; }

Bitmap loadWhole(FREE_IMAGE_FORMAT format, std::FILE* file, int flags) {
  std::rewind(file);
  Source source{file, false};
  FreeImageIO io = sourceIo();
  libraryComplained = false;
  FreeImage_SetOutputMessage(noteComplaint);
  Bitmap bitmap(FreeImage_LoadFromHandle(format, &io, &source, flags));
  if ((source.ranDry && emptyReadMeansCut(format)) || libraryComplained) {
    return Bitmap();
  }
  return bitmap;
}

// A header of a few bytes can announce gigapixels, which FreeImage would
// allocate and clear before noticing that the data is missing.
bool sizeAcceptable(FIBITMAP* bitmap) {
  return withinImageCaps(FreeImage_GetWidth(bitmap), FreeImage_GetHeight(bitmap),
                         FreeImage_GetBPP(bitmap));
}

// To tell the size, a progressive JPEG's reader decodes every scan (3.5 s of the 7.7 that the
// largest such image takes), as JNG's does for the JPEG it holds (4 s of 9.4), and the WebP
// reader reads the whole file (0.7 s of 4): their headers do not count as read alone.
bool readsHeaderAlone(FREE_IMAGE_FORMAT format) {
  return FreeImage_FIFSupportsNoPixels(format) && format != FIF_JPEG && format != FIF_JNG &&
         format != FIF_WEBP;
}

// Formats whose plugin cannot read the header alone are taken on trust.
bool headerAcceptable(FREE_IMAGE_FORMAT format, std::FILE* file, const HeaderRead& headerRead) {
  const bool alone = readsHeaderAlone(format);
  if (!alone && headerRead) {
    headerRead(std::nullopt);
  }
  if (!FreeImage_FIFSupportsNoPixels(format)) {
    return true;
  }
  const Bitmap header = loadWhole(format, file, FIF_LOAD_NOPIXELS);
  if (!header || !sizeAcceptable(header.get())) {
    return false;
  }
  if (alone && headerRead) {
    headerRead(ImageHeader{FreeImage_GetWidth(header.get()), FreeImage_GetHeight(header.get()),
                           FreeImage_GetBPP(header.get())});
  }
  return true;
}

// Every depth and sample type FreeImage reads becomes 8 bits per channel, 3
// channels: integer types directly or through 8-bit grey, float colours by
// tone mapping.
Bitmap toBgr24(Bitmap bitmap) {
  FIBITMAP* source = bitmap.get();
  if (FreeImage_GetImageType(source) == FIT_BITMAP && FreeImage_GetBPP(source) == 24) {
    return bitmap;
  }
  Bitmap converted(FreeImage_ConvertTo24Bits(source));
  if (!converted) {
    const Bitmap grey(FreeImage_ConvertToStandardType(source, TRUE));
    if (grey) converted.reset(FreeImage_ConvertTo24Bits(grey.get()));
  }
  if (!converted) {
    converted.reset(FreeImage_ToneMapping(source, FITMO_DRAGO03, 0, 0));
  }
  return converted;
}

// FreeImage pads each row to 4 bytes; the texture's rows are packed.
void repack(FIBITMAP* bitmap, Data::Geometry::Texture& texture) {
  const unsigned width = FreeImage_GetWidth(bitmap);
  const unsigned height = FreeImage_GetHeight(bitmap);
  const std::size_t rowBytes = std::size_t(width) * 3;
  boost::shared_array<unsigned char> data(new unsigned char[rowBytes * height]);
  for (unsigned y = 0; y < height; ++y) {
    const BYTE* from = FreeImage_GetScanLine(bitmap, static_cast<int>(y));
    unsigned char* to = data.get() + y * rowBytes;
    for (unsigned x = 0; x < width; ++x, from += 3, to += 3) {
      to[0] = from[FI_RGBA_BLUE];
      to[1] = from[FI_RGBA_GREEN];
      to[2] = from[FI_RGBA_RED];
    }
  }
  texture.width = static_cast<std::int32_t>(width);
  texture.height = static_cast<std::int32_t>(height);
  texture.data = data;
}

}  // namespace

unsigned long long decodedBytes(unsigned width, unsigned height, unsigned bitsPerPixel) {
  const unsigned long long pixelBytes = std::max(8u, bitsPerPixel / 8);
  return static_cast<unsigned long long>(width) * height * pixelBytes;
}

// No GL takes textures wider than the side cap anyway.
bool withinImageCaps(unsigned width, unsigned height, unsigned bitsPerPixel) {
  return width <= maxImageSide && height <= maxImageSide &&
         decodedBytes(width, height, bitsPerPixel) <= maxDecodedBytes;
}

int imageTypeOf(int descriptor) {
  const File file = streamOf(descriptor);
  if (!file) {
    return FIF_UNKNOWN;
  }
  std::rewind(file.get());
  Source source{file.get(), false};
  FreeImageIO io = sourceIo();
  return FreeImage_GetFileTypeFromHandle(&io, &source, 0);
}

bool decodeImage(int freeImageFormat, int descriptor, Data::Geometry::Texture& texture,
                 const HeaderRead& headerRead) {
  const FREE_IMAGE_FORMAT format = static_cast<FREE_IMAGE_FORMAT>(freeImageFormat);
  const File file = streamOf(descriptor);
  if (!file || isCutShort(format, file.get()) ||
      !headerAcceptable(format, file.get(), headerRead)) {
    return false;
  }
  Bitmap bitmap = loadWhole(format, file.get(), 0);
  if (!bitmap || !FreeImage_HasPixels(bitmap.get()) || !sizeAcceptable(bitmap.get())) {
    return false;
  }
  bitmap = toBgr24(std::move(bitmap));
  if (!bitmap) {
    return false;
  }
  repack(bitmap.get(), texture);
  return true;
}

}  // namespace Loader
}  // namespace System
