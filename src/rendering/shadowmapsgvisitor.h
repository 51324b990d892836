#pragma once
// The shadow pass's search for the light's world matrix (and that of any camera leaf).

#include <boost/shared_ptr.hpp>
#include <deque>
#include <stack>

#include "data/geometry/light.h"
#include "data/geometry/matrix4.h"
#include "rendering/scenegraph/basevisitor.h"

namespace Rendering {

class Kernel;

class ShadowMapSGVisitor : public Scenegraph::BaseVisitor {
 public:
  using Matrix = Data::Geometry::TMatrix4<float>;
  using BaseVisitor::operator();
  using BaseVisitor::visit;

  explicit ShadowMapSGVisitor(Kernel* kernel);

  void visit(Scenegraph::Moveable& transform, bool leave) override;
  void operator()(boost::shared_ptr<Data::Geometry::Light> light) override;
  void operator()(boost::shared_ptr<Camera> camera) override;

  // Results: identity and empty until a leaf sets them; the last leaf met wins, and every
  // camera leaf counts, whichever camera it holds.
  Matrix cameraMatrix;
  Matrix lightMatrix;
  boost::shared_ptr<Data::Geometry::Light> light;

  Kernel* kernel;
  // World matrix of the node being visited, and the values to restore on leaving.
  Matrix currentMatrix;
  std::stack<Matrix, std::deque<Matrix>> matrixStack;
};

}  // namespace Rendering
