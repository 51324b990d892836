#pragma once
// Loads an image file in a sandbox: no file can crash, hang or exhaust the program.

#include <cstddef>
#include <string>

#include "data/geometry/texture.h"
#include "system/loader/imagedecoder.h"
#include "system/loader/sandbox.h"

namespace System {
namespace Loader {

// The bounds of one image's decoding. The largest images the caps of system/loader/imagedecoder.h
// take need, read, converted and handed over, at most 1.15 GiB (42 megapixels of float RGB, tone
// mapped) and 17 s of processor time (64 megapixels of ASCII PNM or XPM): the bounds leave room
// above both, also for a busy machine. The wall-clock bound only ends a child that never gets the
// processor. The answer holds the type, width and height (4 bytes each) and 3 bytes a pixel.
const SandboxLimits imageDecodingLimits{std::size_t(1280) << 20, 60, 300000,
                                        12 + 3 * maxImagePixels};

enum class ImageLoad { Loaded, UnknownType, Failed };

// Finds the type of a regular file from its contents, else from its name, and decodes it as
// decodeImage does, both in a child bounded by the limits. Loaded fills width, height and data
// of the texture; otherwise it is left untouched. UnknownType when neither tells the type; Failed
// for a file that is not regular (only its name is looked at), cannot be decoded, or whose
// decoding crashed or overran the limits.
ImageLoad loadImageFile(const std::string& fileName, Data::Geometry::Texture& texture,
                        const SandboxLimits& limits = imageDecodingLimits);

// The parent's side of loadImageFile: the child's answer (its type, then for a decoded image its
// width, height and pixels) becomes the texture if it is whole and within the caps, else Failed.
ImageLoad takeImageAnswer(const std::string& answer, Data::Geometry::Texture& texture);

}  // namespace Loader
}  // namespace System
