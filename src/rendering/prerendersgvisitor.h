#pragma once
// The pass that finds, for one viewport, the world matrix of its camera's leaf and the
// world matrix and handle of the light.

#include <boost/shared_ptr.hpp>
#include <deque>
#include <stack>

#include "data/geometry/light.h"
#include "data/geometry/matrix4.h"
#include "rendering/scenegraph/basevisitor.h"
#include "rendering/viewport.h"

namespace Rendering {

class Kernel;

class PreRenderSGVisitor : public Scenegraph::BaseVisitor {
 public:
  using Matrix = Data::Geometry::TMatrix4<float>;
  using BaseVisitor::operator();
  using BaseVisitor::visit;

  PreRenderSGVisitor(Kernel* kernel, boost::shared_ptr<Viewport> viewport);

  void visit(Scenegraph::Moveable& transform, bool leave) override;
  void operator()(boost::shared_ptr<Data::Geometry::Light> light) override;
  void operator()(boost::shared_ptr<Camera> camera) override;

  // Results: identity and empty until a leaf sets them; the last leaf met wins.
  Matrix cameraMatrix;
  Matrix lightMatrix;
  boost::shared_ptr<Data::Geometry::Light> light;

  Kernel* kernel;
  // Only leaves holding this viewport's own camera object count.
  boost::shared_ptr<Viewport> viewport;
  // World matrix of the node being visited, and the values to restore on leaving.
  Matrix currentMatrix;
  std::stack<Matrix, std::deque<Matrix>> matrixStack;
};

}  // namespace Rendering
