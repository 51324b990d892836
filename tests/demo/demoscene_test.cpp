#include "demoscene.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <string>
#include <tuple>
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
TEST(DemoSceneTest, OneSharedGraphWithItsTransformsHandlesAndAnimation) {
  setupScene();
  Rendering::Kernel* kernel = Rendering::Kernel::instance();
  ASSERT_EQ(2u, kernel->viewports.size());
  const GroupPtr root = boost::get<GroupPtr>(kernel->viewports[0]->camera->scene);
  EXPECT_EQ(root, boost::get<GroupPtr>(kernel->viewports[1]->camera->scene));
  EXPECT_EQ("texLightSM", root->state->shader->name);
  const Data::Geometry::Color& inset = kernel->viewports[1]->clearColor;
  EXPECT_TRUE(inset.r == 1 && inset.g == 0 && inset.b == 0 && inset.a == 1);

  // The graph in child order as text: groups in braces, the two cameras a and b, other
  // leaves lettered as first met.
  std::vector<const void*> leaves = {kernel->viewports[0]->camera.get(),
                                     kernel->viewports[1]->camera.get()};
  std::vector<const Node*> nodes;
  std::string shape;
  std::function<void(const GroupNode&)> walk = [&](const GroupNode& group) {
    for (const NodeHandle& child : group.children) {
      if (const GroupPtr* inner = boost::get<GroupPtr>(&child)) {
        nodes.push_back(inner->get());
        shape += " {";
        walk(**inner);
        shape += " }";
        continue;
      }
      const LeafNode& leaf = *boost::get<LeafPtr>(child);
      nodes.push_back(&leaf);
      const void* content = boost::apply_visitor(
          [](const auto& pointer) -> const void* { return pointer.get(); }, leaf.content);
      auto found = std::find(leaves.begin(), leaves.end(), content);
      if (found == leaves.end()) found = leaves.insert(found, content);
      shape += std::string(" ") + char('a' + (found - leaves.begin()));
    }
  };
  walk(*root);
  ASSERT_EQ(" c d a { e { f f f } } { e b }", shape);
  EXPECT_TRUE(boost::get<boost::shared_ptr<Data::Geometry::Light>>(
      &static_cast<const LeafNode*>(nodes[1])->content));

  const std::tuple<int, boost::shared_ptr<Moveable>, Matrix> rows[] = {
      {1, lightTransform, translation(0, 0, 10)},
      // Moved back and down first, then tilted about the root's X axis.
      {2, nullptr, rotationX(0.1f) * translation(0, -0.5f, 0) * translation(0, 0, 7)},
      {4, monkeyTransform, rotationX(quarterTurn)},
      {5, signGroupTransform, Matrix::identity()},
      {6, signTransform1, translation(0, 2, 0) * rotationX(quarterTurn)},
      {7, signTransform2,
       translation(-1.4f, 0, 0) * translation(0, -1.4f, 0) * rotationX(-quarterTurn)},
      {8, signTransform3,
       translation(1.4f, 0, 0) * translation(0, -1.4f, 0) * rotationX(quarterTurn)},
      {9, orbitSpinTransform, translation(0, 0, 7)},
      {10, nullptr, rotationY(3.14f) * rotationX(quarterTurn)}};
  EXPECT_EQ(orbitTransform, orbitSpinTransform);
  for (int i : {0, 3, 11}) EXPECT_FALSE(nodes[i]->transform) << i;
  for (const auto& [node, handle, matrix] : rows) {
    ASSERT_TRUE(nodes[node]->transform) << node;
    EXPECT_TRUE(near(matrix, nodes[node]->transform->getMatrix())) << node;
    EXPECT_TRUE(!handle || nodes[node]->transform == handle) << node;
  }
  // The orbit turns about the root's Y axis.
  EXPECT_EQ(1, animate(50));
  EXPECT_TRUE(near(rotationY(0.05f) * translation(0, 0, 7), orbitTransform->getMatrix()));
}

}  // namespace
