#include "rendering/shadowmapsgvisitor.h"

namespace Rendering {

ShadowMapSGVisitor::ShadowMapSGVisitor(Kernel* kernel) : kernel(kernel) {}

void ShadowMapSGVisitor::operator()(boost::shared_ptr<Camera>) { cameraMatrix = currentMatrix; }

}  // namespace Rendering
