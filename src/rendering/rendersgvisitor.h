#pragma once
// The pass that draws a scene: it moves the kernel's model matrix with each transform,
// selects the shader of each state change (and the one before it on leaving), and draws
// every mesh.

#include <boost/shared_ptr.hpp>
#include <stack>
#include <vector>

#include "data/geometry/mesh.h"
#include "data/geometry/shader.h"
#include "rendering/scenegraph/basevisitor.h"

namespace Rendering {

class Kernel;

class RenderSGVisitor : public Scenegraph::BaseVisitor {
 public:
  using ShaderPtr = boost::shared_ptr<Data::Geometry::Shader>;
  using BaseVisitor::operator();
  using BaseVisitor::visit;

  explicit RenderSGVisitor(Kernel* kernel);

  void visit(Scenegraph::StateChanging& state, bool leave) override;
  void visit(Scenegraph::Moveable& transform, bool leave) override;
  void operator()(const boost::shared_ptr<Data::Geometry::Mesh>& mesh) override;

  Kernel* kernel;
  // The shader of the innermost state change entered, and those to restore on leaving.
  ShaderPtr currentShader;
  std::stack<ShaderPtr, std::vector<ShaderPtr>> shaderStack;
};

}  // namespace Rendering
