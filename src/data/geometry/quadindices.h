#pragma once
// The four 0-based vertex numbers of one quad, packed for glDrawElements.

#include <cstdint>
#include <type_traits>

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

static_assert(sizeof(QuadIndices) == 4 * sizeof(std::uint32_t), "QuadIndices must be packed");
static_assert(std::is_trivially_copyable<QuadIndices>::value,
              "QuadIndices must copy as plain bytes");
static_assert(std::is_standard_layout<QuadIndices>::value,
              "QuadIndices must keep its indices in order");

}  // namespace Geometry
}  // namespace Data
