#pragma once
// The colours of a light; it sits at the origin of its scene-graph leaf.

#include "data/geometry/color.h"

namespace Data {
namespace Geometry {

struct Light {
  Color ambient;
  Color diffuse;
  Color specular;
  bool flag = false;
};

}  // namespace Geometry
}  // namespace Data
