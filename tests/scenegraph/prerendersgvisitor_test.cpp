#include "rendering/prerendersgvisitor.h"

#include <gtest/gtest.h>

#include <boost/make_shared.hpp>

#include "matrixexpect.h"
#include "rendering/scenegraph/groupnode.h"
#include "rendering/scenegraph/leafnode.h"
#include "rendering/scenegraph/moveable.h"

namespace {

using Rendering::Scenegraph::GroupNode;
using Rendering::Scenegraph::Moveable;
using SceneTest::expectNear;
using SceneTest::Matrix;
using SceneTest::rotationZ;
using SceneTest::translation;
using LightPtr = boost::shared_ptr<Data::Geometry::Light>;

boost::shared_ptr<Moveable> moveable(const Matrix& m) {
  auto t = boost::make_shared<Moveable>();
  t->setMatrix(m);
  return t;
}

class PreRenderSGVisitorTest : public testing::Test {
 protected:
  PreRenderSGVisitorTest() { viewport->camera->scene = root; }
  // A camera inside its own scene holds itself; break the cycle so nothing leaks.
  ~PreRenderSGVisitorTest() override { root->children.clear(); }

  Rendering::PreRenderSGVisitor walk() {
    Rendering::PreRenderSGVisitor visitor(nullptr, viewport);
    boost::apply_visitor(visitor, viewport->camera->scene);
    EXPECT_TRUE(visitor.matrixStack.empty());
    expectNear(visitor.currentMatrix, Matrix::identity(), 0);
    return visitor;
  }

  boost::shared_ptr<Rendering::Viewport> viewport = boost::make_shared<Rendering::Viewport>();
  boost::shared_ptr<GroupNode> root = boost::make_shared<GroupNode>();
};

TEST_F(PreRenderSGVisitorTest, AnEmptySceneGivesIdentitiesAndNoLight) {
  root->transform = moveable(translation(1, 2, 3));
  const auto result = walk();
  expectNear(result.cameraMatrix, Matrix::identity(), 0);
  expectNear(result.lightMatrix, Matrix::identity(), 0);
  EXPECT_FALSE(result.light);
}

TEST_F(PreRenderSGVisitorTest, LeavesGetTheProductOfTheTransformsDownToThem) {
  const Matrix g = rotationZ(0.5f), h = translation(2, 0, 0), t = rotationZ(1.1f);
  root->transform = moveable(g);
  auto inner = root->add(boost::make_shared<GroupNode>());
  inner->transform = moveable(h);
  inner->add(viewport->camera)->transform = moveable(t);
  root->add(boost::make_shared<Data::Geometry::Light>())->transform = moveable(t);

  const auto result = walk();
  expectNear(result.cameraMatrix, g * h * t);
  expectNear(result.lightMatrix, g * t);
}

TEST_F(PreRenderSGVisitorTest, TheLastLightWins) {
  auto first = boost::make_shared<Data::Geometry::Light>();
  auto second = boost::make_shared<Data::Geometry::Light>();
  root->add(first)->transform = moveable(translation(1, 0, 0));
  root->add(second)->transform = moveable(translation(0, 5, 0));
  const auto result = walk();
  EXPECT_EQ(result.light, second);
  expectNear(result.lightMatrix, translation(0, 5, 0), 0);
}

TEST_F(PreRenderSGVisitorTest, TheLastLeafOfThisViewportsCameraWins) {
  root->add(viewport->camera)->transform = moveable(translation(1, 0, 0));
  root->add(viewport->camera)->transform = moveable(translation(0, 0, 9));
  expectNear(walk().cameraMatrix, translation(0, 0, 9), 0);
}

TEST_F(PreRenderSGVisitorTest, AnotherViewportsCameraIsIgnored) {
  Rendering::Viewport other;
  root->add(viewport->camera)->transform = moveable(translation(1, 0, 0));
  root->add(other.camera)->transform = moveable(translation(0, 0, 9));
  root->add(boost::make_shared<Rendering::Camera>());
  expectNear(walk().cameraMatrix, translation(1, 0, 0), 0);
}

TEST_F(PreRenderSGVisitorTest, ALightReachedTwiceTakesTheLaterPath) {
  auto shared = boost::make_shared<GroupNode>();
  shared->add(boost::make_shared<Data::Geometry::Light>());
  root->add(boost::make_shared<GroupNode>())->transform = moveable(translation(0, 3, 0));
  root->add(boost::make_shared<GroupNode>())->transform = moveable(translation(4, 0, 0));
  for (const auto& parent : root->children)
    boost::get<boost::shared_ptr<GroupNode>>(parent)->add(shared);
  expectNear(walk().lightMatrix, translation(4, 0, 0), 0);
}

}  // namespace
