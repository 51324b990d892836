#pragma once
// Tells whether the run-length packets of a TGA hold all the pixels its header announces.

#include <cstdint>
#include <cstdio>

namespace System {
namespace Loader {

// Walks the packets from the file's position: each starts with a byte whose low 7 bits plus 1
// count its pixels; with the high bit set it holds one pixel repeated, else the pixels themselves,
// each pixelBytes long. True when the packets hold `pixels` pixels before the file ends. Reads
// in blocks: the cost grows with the bytes walked, never with the pixels announced.
bool packetsHoldPixels(std::FILE* in, std::uint64_t pixels, unsigned pixelBytes);

}  // namespace Loader
}  // namespace System
