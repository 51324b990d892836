#include "rendering/prerendersgvisitor.h"

#include <utility>

#include "rendering/scenegraph/moveable.h"

namespace Rendering {

PreRenderSGVisitor::PreRenderSGVisitor(Kernel* kernel, boost::shared_ptr<Viewport> viewport)
    : cameraMatrix(Matrix::identity()),
      lightMatrix(Matrix::identity()),
      kernel(kernel),
      viewport(std::move(viewport)),
      currentMatrix(Matrix::identity()) {}

void PreRenderSGVisitor::visit(Scenegraph::Moveable& transform, bool leave) {
  if (!leave) {
    matrixStack.push(currentMatrix);
    currentMatrix *= transform.getMatrix();
  } else if (!matrixStack.empty()) {
    currentMatrix = matrixStack.top();
    matrixStack.pop();
  }
}

void PreRenderSGVisitor::operator()(boost::shared_ptr<Data::Geometry::Light> light) {
  lightMatrix = currentMatrix;
  this->light = std::move(light);
}

// Identity of the object, not equality: another viewport's camera in the same scene must
// not move this one.
void PreRenderSGVisitor::operator()(boost::shared_ptr<Camera> camera) {
  if (camera && viewport && camera == viewport->camera) cameraMatrix = currentMatrix;
}

}  // namespace Rendering
