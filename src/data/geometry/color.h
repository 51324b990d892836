#pragma once
// An RGBA colour, packed as exactly its four float components.

#include "data/geometry/packed.h"

namespace Data {
namespace Geometry {

struct Color {
  float r, g, b, a;

  // Opaque white, so new vertex colours and light intensities show unchanged.
  Color() : r(1), g(1), b(1), a(1) {}
  Color(float r, float g, float b, float a) : r(r), g(g), b(b), a(a) {}

  void set(float newR, float newG, float newB, float newA) {
    r = newR;
    g = newG;
    b = newB;
    a = newA;
  }
};

static_assert(isPackedArrayOf<Color, float, 4>(), "Color must be four floats, packed");

}  // namespace Geometry
}  // namespace Data
