#pragma once
// The shadow pass's search for the light's world matrix (and that of any camera leaf).

#include <boost/shared_ptr.hpp>

#include "rendering/scenegraph/worldmatrixvisitor.h"

namespace Rendering {

class Kernel;

class ShadowMapSGVisitor : public Scenegraph::WorldMatrixVisitor {
 public:
  using WorldMatrixVisitor::operator();

  explicit ShadowMapSGVisitor(Kernel* kernel);

  // Every camera leaf counts, whichever camera it holds.
  void operator()(boost::shared_ptr<Camera> camera) override;

  Kernel* kernel;
};

}  // namespace Rendering
