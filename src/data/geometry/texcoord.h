#pragma once
// A 2D texture coordinate, packed as exactly its two float components.

#include <type_traits>

namespace Data {
namespace Geometry {

struct TexCoord {
  float u, v;

  TexCoord() : u(0), v(0) {}

  void set(float newU, float newV) {
    u = newU;
    v = newV;
  }
};

static_assert(sizeof(TexCoord) == 2 * sizeof(float), "TexCoord must be packed");
static_assert(std::is_trivially_copyable<TexCoord>::value, "TexCoord must copy as plain bytes");
static_assert(std::is_standard_layout<TexCoord>::value,
              "TexCoord must keep its components in order");

}  // namespace Geometry
}  // namespace Data
