#include "rendering/shadowmapsgvisitor.h"

#include <gtest/gtest.h>

#include <boost/make_shared.hpp>

#include "matrixexpect.h"
#include "rendering/camera.h"
#include "rendering/scenegraph/groupnode.h"
#include "rendering/scenegraph/leafnode.h"
#include "rendering/scenegraph/moveable.h"
#include "rendering/viewport.h"

namespace {

using Rendering::Scenegraph::GroupNode;
using Rendering::Scenegraph::Moveable;
using SceneTest::expectNear;
using SceneTest::Matrix;
using SceneTest::translation;

boost::shared_ptr<Moveable> moveable(const Matrix& m) {
  auto t = boost::make_shared<Moveable>();
  t->setMatrix(m);
  return t;
}

Rendering::ShadowMapSGVisitor walk(const boost::shared_ptr<GroupNode>& root) {
  Rendering::ShadowMapSGVisitor visitor(nullptr);
  boost::apply_visitor(visitor, Rendering::Scenegraph::NodeHandle(root));
  EXPECT_TRUE(visitor.matrixStack.empty());
  expectNear(visitor.currentMatrix, Matrix::identity(), 0);
  return visitor;
}

TEST(ShadowMapSGVisitorTest, ASceneWithoutLeavesGivesIdentities) {
  auto root = boost::make_shared<GroupNode>();
  root->transform = moveable(translation(1, 2, 3));
  const auto result = walk(root);
  expectNear(result.cameraMatrix, Matrix::identity(), 0);
  expectNear(result.lightMatrix, Matrix::identity(), 0);
  EXPECT_FALSE(result.light);
}

TEST(ShadowMapSGVisitorTest, EveryCameraCountsAndTheLastWins) {
  auto root = boost::make_shared<GroupNode>();
  root->transform = moveable(translation(0, 1, 0));
  root->add(boost::make_shared<Rendering::Camera>())->transform = moveable(translation(2, 0, 0));
  root->add(Rendering::Viewport().camera)->transform = moveable(translation(0, 0, 3));
  expectNear(walk(root).cameraMatrix, translation(0, 1, 3), 0);
}

TEST(ShadowMapSGVisitorTest, TheLastLightGivesHandleAndWorldMatrix) {
  auto root = boost::make_shared<GroupNode>();
  auto light = boost::make_shared<Data::Geometry::Light>();
  root->add(boost::make_shared<Data::Geometry::Light>());
  auto inner = root->add(boost::make_shared<GroupNode>());
  inner->transform = moveable(SceneTest::rotationZ(0.7f));
  inner->add(light)->transform = moveable(translation(5, 0, 0));
  const auto result = walk(root);
  EXPECT_EQ(result.light, light);
  expectNear(result.lightMatrix, SceneTest::rotationZ(0.7f) * translation(5, 0, 0));
}

}  // namespace
