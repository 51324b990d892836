#include "rendering/prerendersgvisitor.h"

#include "scenegraph/scenetest.h"

namespace {

using namespace SceneTest;

class PreRenderSGVisitorTest : public testing::Test {
 protected:
  PreRenderSGVisitorTest() { viewport->camera->scene = root; }
  // The camera lies inside its own scene; break the cycle so nothing leaks.
  ~PreRenderSGVisitorTest() override { root->children.clear(); }

  Rendering::PreRenderSGVisitor walk() {
    Rendering::PreRenderSGVisitor visitor(nullptr, viewport);
    boost::apply_visitor(visitor, viewport->camera->scene);
    EXPECT_TRUE(visitor.matrixStack.empty());
    expectNear(visitor.currentMatrix, Matrix::identity(), 0);
    return visitor;
  }

  boost::shared_ptr<Rendering::Viewport> viewport = boost::make_shared<Rendering::Viewport>();
  GroupPtr root = newGroup();
};

TEST_F(PreRenderSGVisitorTest, AnEmptySceneGivesIdentitiesAndNoLight) {
  root->transform = moveable(move(1, 2, 3));
  const auto result = walk();
  expectNear(result.cameraMatrix, Matrix::identity(), 0);
  expectNear(result.lightMatrix, Matrix::identity(), 0);
  EXPECT_FALSE(result.light);
}

TEST_F(PreRenderSGVisitorTest, LeavesGetTheProductOfTheTransformsDownToThem) {
  root->transform = moveable(turn(0.5f));
  auto inner = root->add(newGroup());
  inner->transform = moveable(move(2, 0, 0));
  inner->add(viewport->camera)->transform = moveable(turn(1.1f));
  root->add(boost::make_shared<Data::Geometry::Light>())->transform = moveable(move(0, 1, 0));

  const auto result = walk();
  expectNear(result.cameraMatrix, turn(0.5f) * move(2, 0, 0) * turn(1.1f));
  expectNear(result.lightMatrix, turn(0.5f) * move(0, 1, 0));
}

TEST_F(PreRenderSGVisitorTest, TheLastLightAndTheLastLeafOfThisViewportsCameraWin) {
  auto last = boost::make_shared<Data::Geometry::Light>();
  root->add(boost::make_shared<Data::Geometry::Light>())->transform = moveable(move(1, 0, 0));
  root->add(last)->transform = moveable(move(2, 0, 0));
  root->add(viewport->camera)->transform = moveable(move(3, 0, 0));
  root->add(viewport->camera)->transform = moveable(move(4, 0, 0));
  root->add(Rendering::Viewport().camera)->transform = moveable(move(5, 0, 0));

  const auto result = walk();
  EXPECT_EQ(result.light, last);
  expectNear(result.lightMatrix, move(2, 0, 0), 0);
  expectNear(result.cameraMatrix, move(4, 0, 0), 0);
}

}  // namespace
