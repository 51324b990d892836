#include "rendering/shadowmapsgvisitor.h"

#include <utility>

#include "rendering/scenegraph/moveable.h"

namespace Rendering {

ShadowMapSGVisitor::ShadowMapSGVisitor(Kernel* kernel)
    : cameraMatrix(Matrix::identity()),
      lightMatrix(Matrix::identity()),
      kernel(kernel),
      currentMatrix(Matrix::identity()) {}

void ShadowMapSGVisitor::visit(Scenegraph::Moveable& transform, bool leave) {
  if (!leave) {
    matrixStack.push(currentMatrix);
    currentMatrix *= transform.getMatrix();
  } else if (!matrixStack.empty()) {
    currentMatrix = matrixStack.top();
    matrixStack.pop();
  }
}

void ShadowMapSGVisitor::operator()(boost::shared_ptr<Data::Geometry::Light> light) {
  lightMatrix = currentMatrix;
  this->light = std::move(light);
}

void ShadowMapSGVisitor::operator()(boost::shared_ptr<Camera>) { cameraMatrix = currentMatrix; }

}  // namespace Rendering
