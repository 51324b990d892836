#pragma once
// Loads an image file in a sandbox: no file can crash, hang or exhaust the program.

#include <cstddef>
#include <optional>
#include <string>

#include "data/geometry/texture.h"
#include "system/loader/imagedecoder.h"
#include "system/loader/sandbox.h"

namespace System {
namespace Loader {

// Processor time for finding the type and reading the header: no valid header takes long to read
// (at most 63 ms for the largest images the caps take, JPEG, JNG and WebP aside).
const int headerMilliseconds = 1000;
// Processor time for one whole decoding, the header's included, with the most any image gets.
const int maxDecodingMilliseconds = 60000;

// The processor time a decoding may take in all, from what its header claims: headerMilliseconds,
// then in proportion to the decoded bytes the caps count, up to maxDecodingMilliseconds for the
// largest images the caps take. Those needed at most 22 s with every core busy (64 megapixels of
// ASCII PPM or XPM; 9 s for 42 of float RGB, tone mapped): the budget of every size leaves
// room of about three times. Formats whose header cannot be read first get 20 s, at least twice
// what their largest images took (9.4 s at most, a JNG); JPEG 2000 gets the most any image gets,
// 1.5 times its 40 s.
int decodingMilliseconds(int freeImageFormat, const std::optional<ImageHeader>& header);

// The bounds of one image's decoding. The largest images the caps of system/loader/imagedecoder.h
// take need, read, converted and handed over, at most 1.15 GiB (42 megapixels of float RGB, tone
// mapped). The child starts with headerMilliseconds of processor time and asks for its image's
// budget once the header is read. The wall-clock bound only ends a child that waits or never gets
// the processor: three times the largest budget, as a child got no more than a third of a core
// with every core busy. The answer holds the type, width and height (4 bytes each) and 3 bytes a
// pixel.
const SandboxLimits imageDecodingLimits{std::size_t(1280) << 20, headerMilliseconds,
                                        maxDecodingMilliseconds, 3 * maxDecodingMilliseconds,
                                        12 + 3 * maxImagePixels};

// NotRun: the sandbox could not run (no pipe or no process to be had), which tells nothing of
// the file.
enum class ImageLoad { Loaded, UnknownType, Failed, NotRun };

// Finds the type of a regular file from its contents, else from its name, and decodes it as
// decodeImage does, both in a child bounded by the limits, through the descriptor that was
// opened and checked: a file put in its place meanwhile is not read. Loaded fills width, height
// and data of the texture; otherwise it is left untouched. UnknownType when neither tells the
// type; Failed for a file that is not regular (only its name is looked at), cannot be decoded, or
// whose decoding crashed or overran the limits.
ImageLoad loadImageFile(const std::string& fileName, Data::Geometry::Texture& texture,
                        const SandboxLimits& limits = imageDecodingLimits);

// The child's side of loadImageFile: finds the open file's type, from its bytes, else from its
// name, and decodes it, asking for its budget once the header is read. Returns the answer.
std::string decodeImageFile(int descriptor, const std::string& fileName);

// The parent's side of loadImageFile: the child's answer (its type, then for a decoded image its
// width, height and pixels) becomes the texture if it is whole, within the caps and the program
// has the memory for its pixels, else Failed.
ImageLoad takeImageAnswer(const std::string& answer, Data::Geometry::Texture& texture);

}  // namespace Loader
}  // namespace System
