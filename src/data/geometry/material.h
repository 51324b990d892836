#pragma once
// The surface colours of a face and its optional diffuse texture.

#include <boost/shared_ptr.hpp>
#include <string>

#include "data/geometry/color.h"
#include "data/geometry/texture.h"

namespace Data {
namespace Geometry {

struct Material {
  std::string name;
  Color ambient{0, 0, 0, 1};
  Color diffuse{0, 0, 0, 1};
  Color specular{0, 0, 0, 1};
  float shininess = 0;
  Color emission{0, 0, 0, 1};
  boost::shared_ptr<Texture> texture;
};

}  // namespace Geometry
}  // namespace Data
