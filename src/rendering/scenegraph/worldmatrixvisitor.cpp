#include "rendering/scenegraph/worldmatrixvisitor.h"

#include <utility>

#include "rendering/scenegraph/moveable.h"

namespace Rendering::Scenegraph {

void WorldMatrixVisitor::visit(Moveable& transform, bool leave) {
  if (!leave) {
    matrixStack.push(currentMatrix);
    currentMatrix *= transform.getMatrix();
  } else if (!matrixStack.empty()) {
    currentMatrix = matrixStack.top();
    matrixStack.pop();
  }
}

void WorldMatrixVisitor::operator()(boost::shared_ptr<Data::Geometry::Light> light) {
  lightMatrix = currentMatrix;
  this->light = std::move(light);
}

}  // namespace Rendering::Scenegraph
