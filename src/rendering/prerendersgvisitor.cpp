#include "rendering/prerendersgvisitor.h"

#include <utility>

namespace Rendering {

PreRenderSGVisitor::PreRenderSGVisitor(Kernel* kernel, boost::shared_ptr<Viewport> viewport)
    : kernel(kernel), viewport(std::move(viewport)) {}

// Identity of the object, not equality: another viewport's camera in the same scene must
// not move this one.
void PreRenderSGVisitor::operator()(boost::shared_ptr<Camera> camera) {
  if (camera && viewport && camera == viewport->camera) cameraMatrix = currentMatrix;
}

}  // namespace Rendering
