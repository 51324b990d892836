#pragma once
// The pass that finds, for one viewport, the world matrix of its camera's leaf and the
// world matrix and handle of the light.

#include <boost/shared_ptr.hpp>

#include "rendering/scenegraph/worldmatrixvisitor.h"
#include "rendering/viewport.h"

namespace Rendering {

class Kernel;

class PreRenderSGVisitor : public Scenegraph::WorldMatrixVisitor {
 public:
  using WorldMatrixVisitor::operator();

  PreRenderSGVisitor(Kernel* kernel, boost::shared_ptr<Viewport> viewport);

  void operator()(boost::shared_ptr<Camera> camera) override;

  Kernel* kernel;
  // Only leaves holding this viewport's own camera object count.
  boost::shared_ptr<Viewport> viewport;
};

}  // namespace Rendering
