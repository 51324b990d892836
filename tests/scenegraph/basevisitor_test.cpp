#include "rendering/scenegraph/basevisitor.h"

#include <gmock/gmock.h>

#include <string>
#include <vector>

#include "scenegraph/scenetest.h"

namespace {

using namespace SceneTest;
using testing::ElementsAre;

// Writes "+T1" on entering a transform moving x by 1, "-S" on leaving a state of shader "S".
class RecordingVisitor : public BaseVisitor {
 public:
  using BaseVisitor::operator();
  using BaseVisitor::visit;

  void visit(StateChanging& s, bool leave) override { log(leave, s.shader->name); }
  void visit(Moveable& t, bool leave) override {
    log(leave, "T" + std::to_string(static_cast<int>(t.getMatrix()[3][0])));
  }
  void operator()(boost::shared_ptr<Data::Geometry::Light>) override { calls.push_back("light"); }
  void operator()(boost::shared_ptr<Rendering::Camera>) override { calls.push_back("camera"); }
  void operator()(const boost::shared_ptr<Data::Geometry::Mesh>& mesh) override {
    calls.push_back("mesh" + std::to_string(mesh->vertices.size()));
  }

  std::vector<std::string> calls;

 private:
  void log(bool leave, const std::string& what) { calls.push_back((leave ? "-" : "+") + what); }
};

std::vector<std::string> walk(NodeHandle root) {
  RecordingVisitor visitor;
  boost::apply_visitor(visitor, root);
  return visitor.calls;
}

// Leaving repeats the order of entering, transform before state, rather than mirroring it.
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
  EXPECT_THAT(walk(boost::make_shared<LeafNode>(meshOf(2))), ElementsAre("mesh2"));
}

TEST(BaseVisitorTest, ASharedSubtreeIsVisitedOncePerPath) {
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
  root->children = {GroupPtr(), boost::shared_ptr<LeafNode>()};
  root->add(meshOf(1));
  EXPECT_THAT(walk(root), ElementsAre("mesh1"));
  EXPECT_TRUE(walk(GroupPtr()).empty());
}

}  // namespace
