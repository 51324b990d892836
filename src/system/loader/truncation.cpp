#include "system/loader/truncation.h"

#include <FreeImage.h>

#include <algorithm>
#include <cctype>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <fstream>

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
Length bmpRowBytes(Length width, Length bitsPerPixel) { return (width * bitsPerPixel + 31) / 32 * 4; }

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

// Where the pixels of an uncompressed TGA end; 0 for run-length encoded ones.
Length tgaPixelsEnd(const Head& head) {
  const Length type = head.byte(2);
  if (type != 1 && type != 2 && type != 3) {
    return 0;
  }
  const Length palette = head.byte(1) == 1 ? head.word(5) * ((head.byte(7) + 7) / 8) : 0;
  const Length pixels = head.word(12) * head.word(14) * ((head.byte(16) + 7) / 8);
  return 18 + head.byte(0) + palette + pixels;
}

// Whatever follows a TGA's pixels is its footer, perhaps with areas before it, ending with this.
bool endsWithTgaFooter(const std::string& fileName, Length fileSize) {
  static const char signature[] = "TRUEVISION-XFILE.";  // and its zero byte
  const std::size_t length = sizeof signature;
  std::ifstream in(fileName, std::ios::binary);
  char tail[sizeof signature] = {};
  in.seekg(static_cast<std::streamoff>(fileSize - length));
  return fileSize >= 26 && in.read(tail, length) && std::memcmp(tail, signature, length) == 0;
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
    while (at < head.bytes.size() && (std::isspace(std::uint8_t(head.bytes[at])) || head.bytes[at] == '#')) {
      if (head.bytes[at] == '#') {
        while (at < head.bytes.size() && head.bytes[at] != '\n' && head.bytes[at] != '\r') ++at;
      } else {
        ++at;
      }
    }
    const std::size_t digits = at;
    numbers[k] = 0;
    while (at < head.bytes.size() && std::isdigit(std::uint8_t(head.bytes[at])) && at - digits < 9) {
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

bool isCutShort(int freeImageFormat, const std::string& fileName) {
  const FREE_IMAGE_FORMAT format = static_cast<FREE_IMAGE_FORMAT>(freeImageFormat);
  if (format != FIF_BMP && format != FIF_TARGA && !isPnm(format)) {
    return false;
  }
  std::ifstream in(fileName, std::ios::binary | std::ios::ate);
  Head head;
  head.fileSize = static_cast<Length>(std::max<std::streamoff>(in.tellg(), 0));
  head.bytes.resize(4096);
  in.seekg(0);
  in.read(&head.bytes[0], static_cast<std::streamsize>(head.bytes.size()));
  head.bytes.resize(static_cast<std::size_t>(in.gcount()));
  if (format == FIF_BMP) {
    return head.fileSize < bmpNeeds(head);
  }
  if (format == FIF_TARGA) {
    if (head.fileSize < 18) {
      return true;
    }
    const Length pixelsEnd = tgaPixelsEnd(head);
    return pixelsEnd > 0 &&
           (head.fileSize < pixelsEnd ||
            (head.fileSize > pixelsEnd && !endsWithTgaFooter(fileName, head.fileSize)));
  }
  return head.fileSize < pnmNeeds(head);
}

}  // namespace Loader
}  // namespace System
