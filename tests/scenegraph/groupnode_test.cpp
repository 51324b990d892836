#include "rendering/scenegraph/groupnode.h"

#include <gmock/gmock.h>

#include "scenegraph/scenetest.h"

namespace {

using namespace SceneTest;
using testing::ElementsAre;
using testing::MatchesRegex;
using LeafPtr = boost::shared_ptr<LeafNode>;

TEST(GroupNodeTest, AddAppendsInOrderAndReturnsTheNodeToDecorate) {
  GroupNode root;
  auto mesh = meshOf(1);
  auto child = newGroup();
  const LeafPtr first = root.add(mesh), second = root.add(mesh);
  EXPECT_EQ(root.add(child), child);
  const LeafPtr camera = root.add(boost::make_shared<Rendering::Camera>());
  const LeafPtr light = root.add(boost::make_shared<Data::Geometry::Light>());

  ASSERT_EQ(root.children.size(), 5u);
  EXPECT_NE(first, second);
  EXPECT_EQ(boost::get<LeafPtr>(root.children[1]), second);
  EXPECT_EQ(boost::get<GroupPtr>(root.children[2]), child);
  EXPECT_EQ(boost::get<boost::shared_ptr<Data::Geometry::Mesh>>(second->content), mesh);
  // The visitors dispatch on the alternative's position.
  EXPECT_EQ(first->content.which(), 0);
  EXPECT_EQ(camera->content.which(), 1);
  EXPECT_EQ(light->content.which(), 2);
  EXPECT_FALSE(light->transform || light->state);
}

TEST(GroupNodeTest, RefusesAnEmptyChild) {
  GroupNode root;
  testing::internal::CaptureStderr();
  EXPECT_FALSE(root.add(GroupPtr()));
  EXPECT_THAT(testing::internal::GetCapturedStderr(), MatchesRegex("groupnode.cpp,[0-9]+: .*\n"));
  EXPECT_TRUE(root.children.empty());
}

TEST(GroupNodeTest, RefusesAGroupThatWouldContainItself) {
  auto top = newGroup();
  auto bottom = top->add(newGroup())->add(newGroup());
  for (const GroupPtr& parent : {top, bottom}) {
    testing::internal::CaptureStderr();
    EXPECT_EQ(parent->add(top), top);
    EXPECT_THAT(testing::internal::GetCapturedStderr(), MatchesRegex("groupnode.cpp,[0-9]+: .*\n"));
  }
  EXPECT_EQ(top->children.size(), 1u);
  EXPECT_TRUE(bottom->children.empty());
}

TEST(GroupNodeTest, OneSubtreeMayHangUnderSeveralParents) {
  GroupNode root;
  auto left = root.add(newGroup()), right = root.add(newGroup());
  auto shared = left->add(newGroup());
  shared->add(meshOf(5));
  testing::internal::CaptureStderr();
  right->add(shared);
  right->add(shared);
  EXPECT_EQ(testing::internal::GetCapturedStderr(), "");

  RecordingVisitor visitor;
  root.visitChildren(visitor);
  EXPECT_THAT(visitor.calls, ElementsAre("mesh5", "mesh5", "mesh5"));
}

}  // namespace
