#pragma once
// The perspective of a view and the root of the scene it shows; where it stands is the
// place of its leaf in the scene graph.

#include <boost/shared_ptr.hpp>
#include <vector>

#include "data/geometry/mesh.h"
#include "rendering/scenegraph/node.h"

namespace Rendering {

class Camera {
 public:
  // A new camera shows a new, empty group of its own.
  Camera();

  // Vertical field of view, in degrees.
  double fov;
  double zNear;
  double zFar;
  Scenegraph::NodeHandle scene;
  std::vector<boost::shared_ptr<Data::Geometry::Mesh>> meshes;
};

}  // namespace Rendering
