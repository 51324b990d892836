#pragma once
// Tells an image cut short from a whole one by the sizes its header announces.

#include <cstdio>

namespace System {
namespace Loader {

// True when an uncompressed BMP, TGA or binary PNM file, read as the given FreeImage format from
// its start (its position is left anywhere),
// holds fewer bytes than its header announces for the pixels, or the run-length packets of a
// TGA hold fewer pixels (or would be read past FreeImage's buffer). Decoders read such files
// without complaint and make up the missing pixels. False for every other format and whenever
// the header does not tell.
bool isCutShort(int freeImageFormat, std::FILE* file);

// Whether a read that finds nothing left tells that the file ended before its reader was done.
// Not for JPEG 2000, whose reader reads a whole file in blocks until one comes back empty, and
// reports a cut codestream itself.
bool emptyReadMeansCut(int freeImageFormat);

}  // namespace Loader
}  // namespace System
