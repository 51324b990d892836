#pragma once
// Tells an uncompressed image cut short from a whole one by the sizes its header announces.

#include <string>

namespace System {
namespace Loader {

// True when an uncompressed BMP, TGA or binary PNM file, read as the given FreeImage format,
// holds fewer bytes than its header announces for the pixels (and for a TGA also when its
// footer is cut). Decoders read such files without complaint and make up the missing pixels.
// False for every other format and whenever the header does not tell.
bool isCutShort(int freeImageFormat, const std::string& fileName);

}  // namespace Loader
}  // namespace System
