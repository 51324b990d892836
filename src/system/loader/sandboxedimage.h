#pragma once
// Loads an image file in a sandbox: no file can crash, hang or exhaust the program.

#include <cstddef>
#include <string>

#include "data/geometry/texture.h"
#include "system/loader/sandbox.h"

namespace System {
namespace Loader {

// The bounds of one image's decoding: more than the largest image the decoder takes needs
// (64 megapixels, read, converted and handed over), and far longer than any such image takes.
const SandboxLimits imageDecodingLimits{std::size_t(1) << 30, 5000};

enum class ImageLoad { Loaded, UnknownType, Failed };

// Finds the type of a regular file from its contents, else from its name, and decodes it as
// decodeImage does, both in a child bounded by the limits. Loaded fills width, height and data
// of the texture; otherwise it is left untouched. UnknownType when neither tells the type; Failed
// for a file that is not regular (only its name is looked at), cannot be decoded, or whose
// decoding crashed or overran the limits.
ImageLoad loadImageFile(const std::string& fileName, Data::Geometry::Texture& texture,
                        const SandboxLimits& limits = imageDecodingLimits);

}  // namespace Loader
}  // namespace System
