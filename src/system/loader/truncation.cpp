#include "system/loader/truncation.h"

#include <FreeImage.h>
#include <sys/stat.h>

#include <algorithm>
#include <cctype>
#include <cstdint>
#include <string>

#include "system/loader/tgapackets.h"

namespace System {
namespace Loader {

namespace {

using Length = std::uint64_t;

// The first bytes of the file, enough for every header below (and PNM comments of some length).
struct Head {
  std::string bytes;
  Length fileSize = 0;

  Length byte(std::size_t at) const { return at < bytes.size() ? std::uint8_t(bytes[at]) : 0; }
  Length word(std::size_t at) const { return byte(at) | byte(at + 1) << 8; }
  Length dword(std::size_t at) const { return word(at) | word(at + 2) << 16; }
};

// Stride of a row of bits, padded to 4 bytes.
Length bmpRowBytes(Length width, Length bitsPerPixel) {
  return (width * bitsPerPixel + 31) / 32 * 4;
}

// 0 when the bitmap is compressed or its header is not one of the usual ones.
Length bmpNeeds(const Head& head) {
  const Length headerSize = head.dword(14), pixelsAt = head.dword(10);
  if (head.bytes.compare(0, 2, "BM") != 0) {
    return 0;
  }
  const Length headerEnd = 14 + std::max<Length>(headerSize, 4);
  if (head.fileSize < headerEnd) {
    return headerEnd;
  }
  if (headerSize == 12) {  // OS/2 1.x: 16-bit sizes, never compressed
    return pixelsAt + bmpRowBytes(head.word(18), head.word(24)) * head.word(20);
  }
  const Length compression = head.dword(30);
  const bool uncompressed = compression == 0 || (compression == 3 && headerSize != 64);
  if (headerSize < 40 || !uncompressed) {
    return 0;
  }
  const std::int32_t width = static_cast<std::int32_t>(head.dword(18));
  const std::int32_t height = static_cast<std::int32_t>(head.dword(22));
  if (width < 0) {
    return 0;
  }
  const Length rows = height < 0 ? Length(-std::int64_t(height)) : Length(height);
  return pixelsAt + bmpRowBytes(Length(width), head.word(28)) * rows;
}

// Where FreeImage starts reading a TGA's pixels: only 8-bit and 16-bit pictures have their
// colour map read or skipped, each measured its own way.
Length tgaPixelsAt(const Head& head) {
  const Length depth = head.byte(16), entries = head.word(5), entryBits = head.byte(7);
  Length colourMap = 0;
  if (head.byte(1) != 0 && depth == 8) {
    colourMap = entries * entryBits / 8;
  } else if (head.byte(1) != 0 && (depth == 15 || depth == 16)) {
    colourMap = entries * ((entryBits + 7) / 8);
  }
  return 18 + head.byte(0) + colourMap;
}

// Whatever follows the pixels (a footer, cut or not, padding) does not matter. FreeImage reads
// run-length packets through a buffer of (file size - where the pixels start) / height bytes,
// and past that buffer when a pixel does not fit in it.
bool tgaIsCutShort(const Head& head, std::FILE* in) {
  const Length type = head.byte(2), height = head.word(14);
  const Length pixelsAt = tgaPixelsAt(head), pixels = head.word(12) * height;
  const Length pixelBytes = (head.byte(16) + 7) / 8;
  if (head.fileSize < 18 || head.fileSize < pixelsAt) {
    return true;
  }
  if (type == 1 || type == 2 || type == 3) {
    return head.fileSize < pixelsAt + pixels * pixelBytes;
  }
  if ((type != 9 && type != 10 && type != 11) || height == 0) {
    return false;
  }
  if ((head.fileSize - pixelsAt) / height < std::max<Length>(pixelBytes, 1)) {
    return true;
  }
  return std::fseek(in, static_cast<long>(pixelsAt), SEEK_SET) != 0 ||
         !packetsHoldPixels(in, pixels, static_cast<unsigned>(pixelBytes));
}

// 0 unless the header is complete: magic, width, height, maximum (but for bitmaps), one blank.
Length pnmNeeds(const Head& head) {
  const char kind = static_cast<char>(head.byte(1));
  if (head.byte(0) != 'P' || (kind != '4' && kind != '5' && kind != '6')) {
    return 0;
  }
  Length numbers[3] = {0, 0, 255};
  const int count = kind == '4' ? 2 : 3;
  std::size_t at = 2;
  for (int k = 0; k < count; ++k) {
    while (at < head.bytes.size() &&
           (std::isspace(std::uint8_t(head.bytes[at])) || head.bytes[at] == '#')) {
      if (head.bytes[at] == '#') {
        while (at < head.bytes.size() && head.bytes[at] != '\n' && head.bytes[at] != '\r') ++at;
      } else {
        ++at;
      }
    }
    const std::size_t digits = at;
    numbers[k] = 0;
    while (at < head.bytes.size() && std::isdigit(std::uint8_t(head.bytes[at])) &&
           at - digits < 9) {
      numbers[k] = numbers[k] * 10 + Length(head.bytes[at++] - '0');
    }
    if (at == digits || at >= head.bytes.size()) {
      return 0;
    }
  }
  const Length width = numbers[0], height = numbers[1];
  const Length sampleBytes = numbers[2] > 255 ? 2 : 1;
  const Length pixels = kind == '4'   ? (width + 7) / 8 * height
                        : kind == '5' ? width * height * sampleBytes
                                      : width * height * 3 * sampleBytes;
  return at + 1 + pixels;
}

bool isPnm(FREE_IMAGE_FORMAT format) {
  return format == FIF_PBM || format == FIF_PBMRAW || format == FIF_PGM || format == FIF_PGMRAW ||
         format == FIF_PPM || format == FIF_PPMRAW;
}

}  // namespace

bool emptyReadMeansCut(int freeImageFormat) {
  return freeImageFormat != FIF_JP2 && freeImageFormat != FIF_J2K;
}

bool isCutShort(int freeImageFormat, std::FILE* file) {
  const FREE_IMAGE_FORMAT format = static_cast<FREE_IMAGE_FORMAT>(freeImageFormat);
  if (format != FIF_BMP && format != FIF_TARGA && !isPnm(format)) {
    return false;
  }
  struct stat status;
  Head head;
  head.fileSize = ::fstat(::fileno(file), &status) == 0 ? Length(status.st_size) : 0;
  head.bytes.resize(4096);
  std::rewind(file);
  head.bytes.resize(std::fread(&head.bytes[0], 1, head.bytes.size(), file));
  if (format == FIF_BMP) {
    return head.fileSize < bmpNeeds(head);
  }
  if (format == FIF_TARGA) {
    return tgaIsCutShort(head, file);
  }
  return head.fileSize < pnmNeeds(head);
}

}  // namespace Loader
}  // namespace System
