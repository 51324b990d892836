#include "rendering/camera.h"

#include <boost/make_shared.hpp>

#include "rendering/scenegraph/groupnode.h"

namespace Rendering {

Camera::Camera()
    : fov(45.0), zNear(1.0), zFar(1000.0), scene(boost::make_shared<Scenegraph::GroupNode>()) {}

}  // namespace Rendering
