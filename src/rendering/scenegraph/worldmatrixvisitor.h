#pragma once
// Follows the world matrix down a scene graph and records the last light leaf met: what the
// passes that locate the light and a camera share.

#include <boost/shared_ptr.hpp>
#include <stack>
#include <vector>

#include "data/geometry/light.h"
#include "data/geometry/matrix4.h"
#include "rendering/scenegraph/basevisitor.h"

namespace Rendering::Scenegraph {

// Which camera leaves set cameraMatrix is the derived pass's choice.
class WorldMatrixVisitor : public BaseVisitor {
 public:
  using Matrix = Data::Geometry::TMatrix4<float>;
  using BaseVisitor::operator();
  using BaseVisitor::visit;

  void visit(Moveable& transform, bool leave) override;
  void operator()(boost::shared_ptr<Data::Geometry::Light> light) override;

  // Results: identity and empty until a leaf sets them; the last leaf met wins.
  Matrix cameraMatrix = Matrix::identity();
  Matrix lightMatrix = Matrix::identity();
  boost::shared_ptr<Data::Geometry::Light> light;

  // World matrix of the node being visited, and the values to restore on leaving.
  Matrix currentMatrix = Matrix::identity();
  std::stack<Matrix, std::vector<Matrix>> matrixStack;
};

}  // namespace Rendering::Scenegraph
