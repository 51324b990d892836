#include "rendering/scenegraph/basevisitor.h"

#include <gmock/gmock.h>

#include "scenegraph/scenetest.h"

namespace {

using namespace SceneTest;
using testing::ElementsAre;

std::vector<std::string> walk(NodeHandle root) {
  RecordingVisitor visitor;
  boost::apply_visitor(visitor, root);
  return visitor.calls;
}

TEST(BaseVisitorTest, WalksDepthFirstEnteringAndLeavingTransformBeforeState) {
  auto root = newGroup();
  root->transform = moveable(move(1, 0, 0));
  root->state = boost::make_shared<StateChanging>("S");
  auto inner = root->add(newGroup());
  inner->transform = moveable(move(2, 0, 0));
  inner->add(boost::make_shared<Data::Geometry::Light>())->state = root->state;
  inner->add(boost::make_shared<Rendering::Camera>());
  root->add(meshOf(3))->transform = moveable(move(4, 0, 0));

  EXPECT_THAT(walk(root), ElementsAre("+T1", "+S", "+T2", "+S", "light", "-S", "camera", "-T2",
                                      "+T4", "mesh3", "-T4", "-T1", "-S"));
}

TEST(BaseVisitorTest, AnEmptyRootOnlyEntersAndLeavesAndALeafMayBeTheRoot) {
  auto root = newGroup();
  root->transform = moveable(move(1, 0, 0));
  EXPECT_THAT(walk(root), ElementsAre("+T1", "-T1"));
  EXPECT_THAT(walk(boost::make_shared<LeafNode>(meshOf(2))), ElementsAre("mesh2"));
}

TEST(BaseVisitorTest, ASharedSubtreeIsVisitedOncePerPathUnderEachParent) {
  auto root = newGroup(), shared = newGroup();
  shared->add(meshOf(7));
  for (float x : {1, 2}) {
    auto parent = root->add(newGroup());
    parent->transform = moveable(move(x, 0, 0));
    parent->add(shared);
  }
  EXPECT_THAT(walk(root), ElementsAre("+T1", "mesh7", "-T1", "+T2", "mesh7", "-T2"));
}

TEST(BaseVisitorTest, EmptyHandlesPutThereDirectlyAreSkipped) {
  auto root = newGroup();
  root->children.push_back(GroupPtr());
  root->children.push_back(boost::shared_ptr<LeafNode>());
  root->add(meshOf(1));
  EXPECT_THAT(walk(root), ElementsAre("mesh1"));
  EXPECT_TRUE(walk(GroupPtr()).empty());
}

}  // namespace
