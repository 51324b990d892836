#include "rendering/scenegraph/groupnode.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <boost/make_shared.hpp>

#include "recordingvisitor.h"
#include "rendering/camera.h"
#include "rendering/scenegraph/leafnode.h"

namespace {

using Rendering::Scenegraph::GroupNode;
using Rendering::Scenegraph::LeafNode;
using GroupPtr = boost::shared_ptr<GroupNode>;
using LeafPtr = boost::shared_ptr<LeafNode>;

boost::shared_ptr<Data::Geometry::Mesh> meshWithVertices(unsigned n) {
  auto mesh = boost::make_shared<Data::Geometry::Mesh>();
  mesh->vertices.resize(n);
  return mesh;
}

TEST(GroupNodeTest, NewGroupVisitsNothing) {
  GroupNode group;
  SceneTest::RecordingVisitor visitor;
  group.visitChildren(visitor);
  EXPECT_TRUE(group.children.empty());
  EXPECT_TRUE(visitor.calls.empty());
}

TEST(GroupNodeTest, AddingAGroupAppendsAndReturnsThatVeryObject) {
  GroupNode root;
  auto child = boost::make_shared<GroupNode>();
  EXPECT_EQ(root.add(child), child);
  ASSERT_EQ(root.children.size(), 1u);
  EXPECT_EQ(boost::get<GroupPtr>(root.children[0]), child);
}

TEST(GroupNodeTest, AddingContentMakesABareLeafPerCall) {
  GroupNode root;
  auto mesh = meshWithVertices(3);
  auto camera = boost::make_shared<Rendering::Camera>();
  auto light = boost::make_shared<Data::Geometry::Light>();
  const LeafPtr first = root.add(mesh);
  const LeafPtr second = root.add(mesh);
  const LeafPtr third = root.add(camera);
  const LeafPtr fourth = root.add(light);

  ASSERT_EQ(root.children.size(), 4u);
  const LeafPtr leaves[] = {first, second, third, fourth};
  for (std::size_t i = 0; i < 4; ++i) {
    EXPECT_EQ(boost::get<LeafPtr>(root.children[i]), leaves[i]);
    EXPECT_FALSE(leaves[i]->transform);
    EXPECT_FALSE(leaves[i]->state);
  }
  EXPECT_NE(first, second);
  EXPECT_EQ(boost::get<boost::shared_ptr<Data::Geometry::Mesh>>(second->content), mesh);
  EXPECT_EQ(boost::get<boost::shared_ptr<Rendering::Camera>>(third->content), camera);
  EXPECT_EQ(boost::get<boost::shared_ptr<Data::Geometry::Light>>(fourth->content), light);
}

TEST(GroupNodeTest, ChildrenAreVisitedInAddOrderEachSubtreeFirst) {
  GroupNode root;
  root.add(meshWithVertices(1));
  auto middle = root.add(boost::make_shared<GroupNode>());
  middle->add(meshWithVertices(2));
  middle->add(meshWithVertices(3));
  root.add(meshWithVertices(4));

  SceneTest::RecordingVisitor visitor;
  root.visitChildren(visitor);
  EXPECT_THAT(visitor.calls, testing::ElementsAre("mesh 1", "mesh 2", "mesh 3", "mesh 4"));
}

TEST(GroupNodeTest, RefusesAnEmptyChildWithAnErrorLine) {
  GroupNode root;
  testing::internal::CaptureStderr();
  const GroupPtr returned = root.add(GroupPtr());
  const std::string err = testing::internal::GetCapturedStderr();
  EXPECT_FALSE(returned);
  EXPECT_TRUE(root.children.empty());
  EXPECT_THAT(err, testing::MatchesRegex("groupnode\\.cpp,[0-9]+: .*empty.*\n"));
}

TEST(GroupNodeTest, RefusesAGroupThatWouldContainItself) {
  auto top = boost::make_shared<GroupNode>();
  auto middle = top->add(boost::make_shared<GroupNode>());
  auto bottom = middle->add(boost::make_shared<GroupNode>());

  for (const GroupPtr& parent : {top, bottom}) {
    testing::internal::CaptureStderr();
    EXPECT_EQ(parent->add(top), top);
    const std::string err = testing::internal::GetCapturedStderr();
    EXPECT_THAT(err, testing::MatchesRegex("groupnode\\.cpp,[0-9]+: .*contains.*\n"));
  }
  EXPECT_EQ(top->children.size(), 1u);
  EXPECT_EQ(middle->children.size(), 1u);
  EXPECT_TRUE(bottom->children.empty());
}

TEST(GroupNodeTest, AcceptsOneSubtreeUnderSeveralParents) {
  GroupNode root;
  auto left = root.add(boost::make_shared<GroupNode>());
  auto right = root.add(boost::make_shared<GroupNode>());
  auto shared = left->add(boost::make_shared<GroupNode>());
  shared->add(meshWithVertices(5));

  testing::internal::CaptureStderr();
  right->add(shared);
  right->add(shared);
  EXPECT_EQ(testing::internal::GetCapturedStderr(), "");

  SceneTest::RecordingVisitor visitor;
  root.visitChildren(visitor);
  EXPECT_THAT(visitor.calls, testing::ElementsAre("mesh 5", "mesh 5", "mesh 5"));
}

}  // namespace
