#include "rendering/rendersgvisitor.h"

#include "rendering/kernel.h"
#include "rendering/scenegraph/moveable.h"
#include "rendering/scenegraph/statechanging.h"

namespace Rendering {

RenderSGVisitor::RenderSGVisitor(Kernel* kernel) : kernel(kernel) {}

// Leaving the outermost state change keeps its shader: an empty one is never restored.
void RenderSGVisitor::visit(Scenegraph::StateChanging& state, bool leave) {
  if (!leave) {
    if (currentShader) shaderStack.push(currentShader);
    currentShader = state.shader;
  } else if (!shaderStack.empty()) {
    currentShader = shaderStack.top();
    shaderStack.pop();
  }
  if (currentShader) kernel->useShader(currentShader);
}

void RenderSGVisitor::visit(Scenegraph::Moveable& transform, bool leave) {
  if (leave) {
    kernel->popMatrix();
  } else {
    kernel->pushMatrix(transform.getMatrix());
  }
}

void RenderSGVisitor::operator()(const boost::shared_ptr<Data::Geometry::Mesh>& mesh) {
  kernel->drawMesh(mesh);
}

}  // namespace Rendering
