#include "rendering/scenegraph/basevisitor.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <boost/make_shared.hpp>

#include "recordingvisitor.h"
#include "rendering/camera.h"
#include "rendering/scenegraph/groupnode.h"
#include "rendering/scenegraph/leafnode.h"

namespace {

using Rendering::Scenegraph::GroupNode;
using Rendering::Scenegraph::LeafNode;
using Rendering::Scenegraph::Moveable;
using Rendering::Scenegraph::NodeHandle;
using Rendering::Scenegraph::StateChanging;
using testing::ElementsAre;

class BaseVisitorTest : public testing::Test {
 protected:
  boost::shared_ptr<Moveable> transform(const std::string& name) {
    auto t = boost::make_shared<Moveable>();
    visitor.names[t.get()] = name;
    return t;
  }
  static boost::shared_ptr<StateChanging> state(const std::string& name) {
    return boost::make_shared<StateChanging>(name);
  }
  static boost::shared_ptr<Data::Geometry::Mesh> mesh(unsigned vertices) {
    auto m = boost::make_shared<Data::Geometry::Mesh>();
    m->vertices.resize(vertices);
    return m;
  }
  void walk(NodeHandle root) { boost::apply_visitor(visitor, root); }

  SceneTest::RecordingVisitor visitor;
};

TEST_F(BaseVisitorTest, EntersAndLeavesTransformBeforeState) {
  auto root = boost::make_shared<GroupNode>();
  root->transform = transform("T");
  root->state = state("S");
  walk(root);
  EXPECT_THAT(visitor.calls, ElementsAre("enter T", "enter S", "leave T", "leave S"));
}

TEST_F(BaseVisitorTest, WalksDepthFirstWithHooksAroundEachNode) {
  auto root = boost::make_shared<GroupNode>();
  root->transform = transform("root");
  auto first = root->add(mesh(1));
  first->state = state("first");
  auto inner = root->add(boost::make_shared<GroupNode>());
  inner->transform = transform("inner");
  inner->add(boost::make_shared<Data::Geometry::Light>())->transform = transform("light");
  inner->add(boost::make_shared<Rendering::Camera>());
  root->add(mesh(2));

  walk(root);
  EXPECT_THAT(visitor.calls, ElementsAre("enter root", "enter first", "mesh 1", "leave first",
                                         "enter inner", "enter light", "light", "leave light",
                                         "camera", "leave inner", "mesh 2", "leave root"));
}

TEST_F(BaseVisitorTest, AnEmptyRootGroupOnlyEntersAndLeaves) {
  auto root = boost::make_shared<GroupNode>();
  root->state = state("S");
  walk(root);
  EXPECT_THAT(visitor.calls, ElementsAre("enter S", "leave S"));
}

TEST_F(BaseVisitorTest, ALeafMayBeTheRoot) {
  auto leaf = boost::make_shared<LeafNode>(mesh(3));
  leaf->transform = transform("T");
  walk(leaf);
  EXPECT_THAT(visitor.calls, ElementsAre("enter T", "mesh 3", "leave T"));
}

TEST_F(BaseVisitorTest, ASharedSubtreeIsVisitedOncePerPath) {
  auto root = boost::make_shared<GroupNode>();
  auto shared = boost::make_shared<GroupNode>();
  shared->add(mesh(7));
  for (const char* name : {"A", "B"})
    root->add(boost::make_shared<GroupNode>())->transform = transform(name);
  for (const NodeHandle& parent : root->children)
    boost::get<boost::shared_ptr<GroupNode>>(parent)->add(shared);

  walk(root);
  EXPECT_THAT(visitor.calls,
              ElementsAre("enter A", "mesh 7", "leave A", "enter B", "mesh 7", "leave B"));
}

TEST_F(BaseVisitorTest, EmptyHandlesPutThereDirectlyAreSkipped) {
  auto root = boost::make_shared<GroupNode>();
  root->children.push_back(boost::shared_ptr<GroupNode>());
  root->children.push_back(boost::shared_ptr<LeafNode>());
  root->add(mesh(1));
  walk(root);
  walk(boost::shared_ptr<GroupNode>());
  EXPECT_THAT(visitor.calls, ElementsAre("mesh 1"));
}

}  // namespace
