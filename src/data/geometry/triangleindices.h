#pragma once
// The three 0-based vertex numbers of one triangle, packed for glDrawElements.

#include <cstdint>

#include "data/geometry/packed.h"

namespace Data {
namespace Geometry {

struct TriangleIndices {
  std::uint32_t a, b, c;

  TriangleIndices() : a(0), b(0), c(0) {}

  // Loaders hand over signed ints; they are kept bit for bit.
  void set(std::uint32_t newA, std::uint32_t newB, std::uint32_t newC) {
    a = newA;
    b = newB;
    c = newC;
  }
};

static_assert(isPackedArrayOf<TriangleIndices, std::uint32_t, 3>(),
              "TriangleIndices must be three 32-bit indices, packed");

}  // namespace Geometry
}  // namespace Data
