#pragma once
// A scene-graph attachment naming the shader a node and its subtree are drawn with.

#include <boost/shared_ptr.hpp>
#include <string>

#include "data/geometry/shader.h"

namespace Rendering::Scenegraph {

class StateChanging {
 public:
  // The shader is only named here; the kernel loads it when first used.
  explicit StateChanging(std::string name);

  boost::shared_ptr<Data::Geometry::Shader> shader;
};

}  // namespace Rendering::Scenegraph
