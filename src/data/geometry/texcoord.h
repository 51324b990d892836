#pragma once
// A 2D texture coordinate, packed as exactly its two float components.

#include "data/geometry/packed.h"

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

static_assert(isPackedArrayOf<TexCoord, float, 2>(), "TexCoord must be two floats, packed");

}  // namespace Geometry
}  // namespace Data
