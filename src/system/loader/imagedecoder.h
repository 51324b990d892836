#pragma once
// Decodes an image file through FreeImage into tightly packed BGR rows, bottom row first.

#include <string>

#include "data/geometry/texture.h"

namespace System {
namespace Loader {

// Fills width, height and data of texture from the file, read as the given
// FreeImage format, converted to 3 bytes per pixel whatever its depth.
// Returns false, leaving texture untouched, when the file cannot be opened,
// is corrupt, ends early, or announces more than 16384 pixels a side or
// 64 megapixels in all. FreeImage runs in the calling process, so a hostile
// file can crash or exhaust it: the program decodes through loadImageFile
// (system/loader/sandboxedimage.h), which calls this in a child process.
bool decodeImage(int freeImageFormat, const std::string& fileName,
                 Data::Geometry::Texture& texture);

}  // namespace Loader
}  // namespace System
