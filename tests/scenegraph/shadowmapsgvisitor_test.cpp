#include "rendering/shadowmapsgvisitor.h"

#include "rendering/viewport.h"
#include "scenegraph/scenetest.h"

namespace {

using namespace SceneTest;

TEST(ShadowMapSGVisitorTest, StartsAtTheIdentity) {
  Rendering::ShadowMapSGVisitor visitor(nullptr);
  boost::apply_visitor(visitor, NodeHandle(newGroup()));
  expectNear(visitor.cameraMatrix, Matrix::identity(), 0);
  expectNear(visitor.lightMatrix, Matrix::identity(), 0);
  EXPECT_FALSE(visitor.light);
}

TEST(ShadowMapSGVisitorTest, TheLastCameraOfAnyViewportAndTheLastLightWin) {
  auto root = newGroup(), inner = newGroup();
  auto light = boost::make_shared<Data::Geometry::Light>();
  root->transform = moveable(turn(0.7f));
  root->add(boost::make_shared<Data::Geometry::Light>());
  root->add(Rendering::Viewport().camera);
  root->add(inner)->transform = moveable(move(0, 1, 0));
  inner->add(light)->transform = moveable(move(2, 0, 0));
  inner->add(Rendering::Viewport().camera)->transform = moveable(move(3, 0, 0));

  Rendering::ShadowMapSGVisitor visitor(nullptr);
  boost::apply_visitor(visitor, NodeHandle(root));
  EXPECT_EQ(visitor.light, light);
  expectNear(visitor.lightMatrix, turn(0.7f) * move(2, 1, 0));
  expectNear(visitor.cameraMatrix, turn(0.7f) * move(3, 1, 0));
  EXPECT_TRUE(visitor.matrixStack.empty());
}

}  // namespace
