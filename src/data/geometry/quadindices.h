#pragma once
// The four 0-based vertex numbers of one quad, packed for glDrawElements.

#include <cstdint>

#include "data/geometry/packed.h"

namespace Data {
namespace Geometry {

struct QuadIndices {
  std::uint32_t a, b, c, d;

  QuadIndices() : a(0), b(0), c(0), d(0) {}

  // Loaders hand over signed ints; they are kept bit for bit.
  void set(std::uint32_t newA, std::uint32_t newB, std::uint32_t newC, std::uint32_t newD) {
    a = newA;
    b = newB;
    c = newC;
    d = newD;
  }
};

static_assert(isPackedArrayOf<QuadIndices, std::uint32_t, 4>(),
              "QuadIndices must be four 32-bit indices, packed");

}  // namespace Geometry
}  // namespace Data
