#include "demoscene.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <boost/optional.hpp>
#include <string>
#include <utility>
#include <vector>

#include "geometry/matrices.h"
#include "rendering/camera.h"
#include "rendering/kernel.h"
#include "rendering/scenegraph/groupnode.h"
#include "rendering/scenegraph/leafnode.h"
#include "rendering/scenegraph/statechanging.h"
#include "rendering/viewport.h"

namespace {

using namespace TestMatrices;
using namespace Rendering::Scenegraph;
using GroupPtr = boost::shared_ptr<GroupNode>;
using LeafPtr = boost::shared_ptr<LeafNode>;

const float quarterTurn = 3.14f / 2;

// A walk of the graph in child order: its shape as text, with the meshes lettered in the
// order first met (A, B, ...) and each group's children in braces, and the nodes met.
struct Walk {
  std::string shape;
  std::vector<const Node*> nodes;
  std::vector<const void*> meshes;

  void group(const GroupNode& group) {
    for (const NodeHandle& child : group.children) {
      if (const GroupPtr* inner = boost::get<GroupPtr>(&child)) {
        nodes.push_back(inner->get());
        shape += " {";
        this->group(**inner);
        shape += " }";
      } else {
        nodes.push_back(boost::get<LeafPtr>(child).get());
        shape += " " + nameOf(boost::get<LeafPtr>(child)->content);
      }
    }
  }

  std::string nameOf(const LeafContent& content) {
    if (const auto* camera = boost::get<boost::shared_ptr<Rendering::Camera>>(&content)) {
      const auto& viewports = Rendering::Kernel::instance()->viewports;
      for (std::size_t i = 0; i < viewports.size(); ++i)
        if (*camera == viewports[i]->camera) return "camera" + std::to_string(i);
      return "camera?";
    }
    if (boost::get<boost::shared_ptr<Data::Geometry::Light>>(&content)) return "light";
    const void* mesh = boost::get<boost::shared_ptr<Data::Geometry::Mesh>>(content).get();
    auto found = std::find(meshes.begin(), meshes.end(), mesh);
    if (found == meshes.end()) found = meshes.insert(found, mesh);
    return std::string(1, char('A' + (found - meshes.begin())));
  }
};

// The scene is built once, as the program does.
class DemoSceneTest : public testing::Test {
 protected:
  static void SetUpTestSuite() { setupScene(); }

  void SetUp() override {
    ASSERT_EQ(2u, kernel->viewports.size());
    root = boost::get<GroupPtr>(kernel->viewports[0]->camera->scene);
    walk.group(*root);
    ASSERT_EQ(12u, walk.nodes.size()) << walk.shape;
  }

  Rendering::Kernel* kernel = Rendering::Kernel::instance();
  GroupPtr root;
  Walk walk;
};

TEST_F(DemoSceneTest, BothViewportsShowOneGraphOfThreeSharedMeshes) {
  EXPECT_EQ(" A light camera0 { B { C C C } } { B camera1 }", walk.shape);
  EXPECT_EQ(root, boost::get<GroupPtr>(kernel->viewports[1]->camera->scene));
  EXPECT_EQ("texLightSM", root->state->shader->name);
  const Data::Geometry::Color& inset = kernel->viewports[1]->clearColor;
  EXPECT_TRUE(inset.r == 1 && inset.g == 0 && inset.b == 0 && inset.a == 1) << "not red";
}

TEST_F(DemoSceneTest, NodesCarryTheirSetUpTransformsSharedWithTheGlobalHandles) {
  const boost::optional<Matrix> expected[12] = {
      boost::none,
      translation(0, 0, 10),
      // Moved back and down first, then tilted about the root's X axis.
      rotationX(0.1f) * translation(0, -0.5f, 0) * translation(0, 0, 7),
      boost::none,
      rotationX(quarterTurn),
      Matrix::identity(),
      translation(0, 2, 0) * rotationX(quarterTurn),
      translation(-1.4f, 0, 0) * translation(0, -1.4f, 0) * rotationX(-quarterTurn),
      translation(1.4f, 0, 0) * translation(0, -1.4f, 0) * rotationX(quarterTurn),
      translation(0, 0, 7),
      rotationY(3.14f) * rotationX(quarterTurn),
      boost::none,
  };
  for (int i = 0; i < 12; ++i) {
    const boost::shared_ptr<Moveable>& transform = walk.nodes[i]->transform;
    ASSERT_EQ(bool(expected[i]), bool(transform)) << "node " << i;
    if (transform) {
      EXPECT_TRUE(near(*expected[i], transform->getMatrix())) << "node " << i;
    }
  }
  const std::pair<int, boost::shared_ptr<Moveable>> handles[] = {
      {1, lightTransform}, {4, monkeyTransform}, {5, signGroupTransform}, {6, signTransform1},
      {7, signTransform2}, {8, signTransform3},  {9, orbitTransform},     {9, orbitSpinTransform}};
  for (const auto& handle : handles)
    EXPECT_EQ(walk.nodes[handle.first]->transform, handle.second) << "node " << handle.first;
}

TEST_F(DemoSceneTest, AnimateTurnsFiveTransformsOneStepEach) {
  const boost::shared_ptr<Moveable> turned[] = {orbitTransform, signGroupTransform,
                                                signTransform1, signTransform2,
                                                signTransform3, monkeyTransform};
  std::vector<Matrix> before;
  for (const auto& t : turned) before.push_back(t->getMatrix());

  EXPECT_EQ(1, animate(50));
  // The orbit and the sign group turn about their parents' axes, the signs about their own.
  EXPECT_TRUE(near(rotationY(0.05f) * before[0], orbitTransform->getMatrix()));
  EXPECT_TRUE(near(rotationZ(0.1f) * before[1], signGroupTransform->getMatrix()));
  EXPECT_TRUE(near(before[2] * rotationX(0.05f), signTransform1->getMatrix()));
  EXPECT_TRUE(near(before[3] * rotationY(0.1f), signTransform2->getMatrix()));
  EXPECT_TRUE(near(before[4] * rotationZ(0.05f), signTransform3->getMatrix()));
  EXPECT_TRUE(near(before[5], monkeyTransform->getMatrix()));
  for (std::size_t i = 0; i < before.size(); ++i) turned[i]->setMatrix(before[i]);
}

}  // namespace
