// The passes that locate the light and a camera: the world-matrix walk they share and the
// camera leaves each of them counts.

#include "rendering/scenegraph/worldmatrixvisitor.h"

#include "rendering/prerendersgvisitor.h"
#include "rendering/shadowmapsgvisitor.h"
#include "scenegraph/scenetest.h"

namespace {

using namespace SceneTest;
using Rendering::PreRenderSGVisitor;
using Rendering::ShadowMapSGVisitor;
using Light = Data::Geometry::Light;

template <typename Visitor>
Visitor walked(Visitor visitor, const GroupPtr& root) {
  boost::apply_visitor(visitor, NodeHandle(root));
  EXPECT_TRUE(visitor.matrixStack.empty());
  expectNear(visitor.currentMatrix, Matrix::identity(), 0);
  return visitor;
}

// Identities and no light until a leaf says otherwise.
TEST(WorldMatrixVisitorTest, TheLastLightWinsWithTheTransformsDownToIt) {
  auto root = newGroup(), inner = newGroup();
  root->transform = moveable(move(1, 2, 3));
  const auto empty = walked(WorldMatrixVisitor(), root);
  expectNear(empty.cameraMatrix, Matrix::identity(), 0);
  expectNear(empty.lightMatrix, Matrix::identity(), 0);
  EXPECT_FALSE(empty.light);

  auto last = boost::make_shared<Light>();
  root->transform = moveable(turn(0.5f));
  root->add(boost::make_shared<Light>());
  root->add(inner)->transform = moveable(move(2, 0, 0));
  inner->add(last)->transform = moveable(turn(1.1f));
  const auto result = walked(WorldMatrixVisitor(), root);
  EXPECT_EQ(result.light, last);
  expectNear(result.lightMatrix, turn(0.5f) * move(2, 0, 0) * turn(1.1f));
}

// The pre-render pass counts only its own viewport's camera object, the shadow pass every
// camera; of several leaves, the last met wins.
TEST(WorldMatrixVisitorTest, EachPassCountsItsOwnCameraLeaves) {
  auto viewport = boost::make_shared<Rendering::Viewport>();
  auto root = newGroup();
  root->transform = moveable(turn(0.7f));
  root->add(viewport->camera)->transform = moveable(move(3, 0, 0));
  root->add(viewport->camera)->transform = moveable(move(4, 0, 0));
  root->add(Rendering::Viewport().camera)->transform = moveable(move(5, 0, 0));

  expectNear(walked(PreRenderSGVisitor(nullptr, viewport), root).cameraMatrix,
             turn(0.7f) * move(4, 0, 0));
  expectNear(walked(ShadowMapSGVisitor(nullptr), root).cameraMatrix, turn(0.7f) * move(5, 0, 0));
}

}  // namespace
