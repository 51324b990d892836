#pragma once
// The three 0-based vertex numbers of one triangle, packed for glDrawElements.

#include <cstdint>
#include <type_traits>

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

static_assert(sizeof(TriangleIndices) == 3 * sizeof(std::uint32_t),
              "TriangleIndices must be packed");
static_assert(std::is_trivially_copyable<TriangleIndices>::value,
              "TriangleIndices must copy as plain bytes");
static_assert(std::is_standard_layout<TriangleIndices>::value,
              "TriangleIndices must keep its indices in order");

}  // namespace Geometry
}  // namespace Data
