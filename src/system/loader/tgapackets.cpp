#include "system/loader/tgapackets.h"

#include <algorithm>
#include <vector>

namespace System {
namespace Loader {

bool packetsHoldPixels(std::FILE* in, std::uint64_t pixels, unsigned pixelBytes) {
  std::vector<char> block(std::size_t(1) << 16);
  std::size_t at = 0, size = 0;
  std::uint64_t pixelBytesLeft = 0;  // of the packet being walked
  while (pixels > 0 || pixelBytesLeft > 0) {
    if (at == size) {
      size = std::fread(block.data(), 1, block.size(), in);
      at = 0;
      if (size == 0) {
        return false;
      }
    }
    if (pixelBytesLeft > 0) {
      const std::uint64_t step = std::min<std::uint64_t>(pixelBytesLeft, size - at);
      at += static_cast<std::size_t>(step);
      pixelBytesLeft -= step;
      continue;
    }
    const unsigned header = static_cast<unsigned char>(block[at++]);
    const std::uint64_t count = std::min<std::uint64_t>((header & 0x7f) + 1, pixels);
    pixels -= count;
    pixelBytesLeft = (header & 0x80 ? 1 : count) * pixelBytes;
  }
  return true;
}

}  // namespace Loader
}  // namespace System
