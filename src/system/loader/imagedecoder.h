#pragma once
// Decodes an image file through FreeImage into tightly packed BGR rows, bottom row first.

#include <functional>
#include <optional>

#include "data/geometry/texture.h"

namespace System {
namespace Loader {

// The images taken: at most 16384 pixels a side and 512 MiB of decoded pixels,
// each pixel counted at 8 bytes or at its own size if larger. So 64 megapixels
// of 8- and 16-bit samples, fewer of float colours (42 of RGB, 32 of RGBA) and
// of complex numbers. The decoding child's bounds exceed what the largest
// image of each kind needs (system/loader/sandboxedimage.h).
const unsigned maxImageSide = 16384;
const unsigned long long maxDecodedBytes = 512ull << 20;
const unsigned long long maxImagePixels = maxDecodedBytes / 8;
bool withinImageCaps(unsigned width, unsigned height, unsigned bitsPerPixel);
// The bytes the caps count for an image: each pixel at 8 bytes or at its own size if larger.
unsigned long long decodedBytes(unsigned width, unsigned height, unsigned bitsPerPixel);

// What a header claims for the image: its size and bits per pixel.
struct ImageHeader {
  unsigned width, height, bitsPerPixel;
};
// Told once the header is read and found within the caps, before the pixels are decoded. Told
// nothing, before anything is read, for a format whose reader cannot read the header alone or
// quickly (JPEG, JNG, WebP).
using HeaderRead = std::function<void(const std::optional<ImageHeader>&)>;

// The FreeImage format that an open file's bytes tell, or FIF_UNKNOWN (-1).
int imageTypeOf(int descriptor);

// Fills width, height and data of texture from the open file (read from its
// start, its position left anywhere) as the given FreeImage format, converted
// to 3 bytes per pixel whatever its depth. Returns false, leaving texture
// untouched, when the file cannot be read, is corrupt, ends early, or is
// larger than the caps above (judged from its header before decoding where
// the format's reader can read it alone).
// FreeImage runs in the calling process, so a hostile file can crash or
// exhaust it: the program decodes through loadImageFile
// (system/loader/sandboxedimage.h), which calls this in a child process.
bool decodeImage(int freeImageFormat, int descriptor, Data::Geometry::Texture& texture,
                 const HeaderRead& headerRead = nullptr);

}  // namespace Loader
}  // namespace System
