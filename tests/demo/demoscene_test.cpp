#include "demoscene.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <regex>
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
#include "system/monotonicclock.h"

namespace {

using namespace TestMatrices;
using namespace Rendering::Scenegraph;
using GroupPtr = boost::shared_ptr<GroupNode>;
using Rgba = std::array<float, 4>;
namespace pt = boost::posix_time;

// The meshes are stood up by a quarter turn of the single-precision 3.14.
const Matrix identity = Matrix::identity(), up = rotationX(3.14f / 2), down = rotationX(-3.14f / 2);

Rgba rgba(const Data::Geometry::Color& c) { return {c.r, c.g, c.b, c.a}; }

// The group's subtree in child order as text: groups in braces, leaves lettered by their
// content as first met in `contents`. Every node is appended to `nodes`.
std::string shapeOf(const GroupNode& group, std::vector<const void*>& contents,
                    std::vector<const Node*>& nodes) {
  std::string shape;
  for (const NodeHandle& child : group.children) {
    if (const GroupPtr* inner = boost::get<GroupPtr>(&child)) {
      nodes.push_back(inner->get());
      shape += " {" + shapeOf(**inner, contents, nodes) + " }";
      continue;
    }
    const LeafNode& leaf = *boost::get<boost::shared_ptr<LeafNode>>(child);
    nodes.push_back(&leaf);
    const void* content = boost::apply_visitor(
        [](const auto& pointer) -> const void* { return pointer.get(); }, leaf.content);
    auto found = std::find(contents.begin(), contents.end(), content);
    if (found == contents.end()) found = contents.insert(found, content);
    shape += std::string(" ") + char('a' + (found - contents.begin()));
  }
  return shape;
}

TEST(DemoSceneTest, OneSharedGraphWithItsTransformsHandlesAndAnimation) {
  static int runs = 0;  // the kernel keeps the viewports and tasks of every setupScene
  ASSERT_EQ(1, ++runs) << "refused: a second run in one process meets the first run's scene";
  testing::internal::CaptureStdout();
  setupScene();
  const std::string log = testing::internal::GetCapturedStdout();
  // Each file is loaded once, in this order; the animation task is queued last.
  const std::regex loading("loading mesh from file (.*)");
  EXPECT_EQ((std::vector<std::string>{"mtl/thunderdome.obj", "mtl/monkey.obj", "mtl/sign.obj"}),
            std::vector<std::string>(std::sregex_token_iterator(log.begin(), log.end(), loading, 1),
                                     std::sregex_token_iterator()));
  EXPECT_TRUE(std::regex_search(log, std::regex("\nscheduler\\.cpp,[0-9]+: ARGH 50 50\n$"))) << log;

  // The whole window, and an inset from 0.7 to 0.95 of it drawn over it; 0.7f lies just
  // under 0.7, so the inset starts a pixel early.
  const auto& viewports = Rendering::Kernel::instance()->viewports;
  ASSERT_EQ(2u, viewports.size());
  EXPECT_EQ("viewport 0/0 640/480 1.33333", testing::PrintToString(viewports[0]->resize(640, 480)));
  EXPECT_EQ("viewport 447/335 160/120 1.33333",
            testing::PrintToString(viewports[1]->resize(640, 480)));
  const GroupPtr root = boost::get<GroupPtr>(viewports[0]->camera->scene);
  EXPECT_EQ(root, boost::get<GroupPtr>(viewports[1]->camera->scene));
  EXPECT_EQ("texLightSM", root->state->shader->name);

  // The cameras are a and b; c to f the dome, the light, the monkey (twice) and the sign
  // (three times), each mesh loaded once. Clear colours white and red, a white light.
  std::vector<const void*> contents = {viewports[0]->camera.get(), viewports[1]->camera.get()};
  std::vector<const Node*> nodes;
  ASSERT_EQ(" c d a { e { f f f } } { e b }", shapeOf(*root, contents, nodes));
  const auto* light = boost::get<boost::shared_ptr<Data::Geometry::Light>>(
      &static_cast<const LeafNode*>(nodes[1])->content);
  ASSERT_TRUE(light);
  EXPECT_EQ(
      (std::vector<Rgba>{{1, 1, 1, 1}, {1, 0, 0, 1}, {1, 1, 1, 1}, {1, 1, 1, 1}, {1, 1, 1, 1}}),
      (std::vector<Rgba>{rgba(viewports[0]->clearColor), rgba(viewports[1]->clearColor),
                         rgba((*light)->ambient), rgba((*light)->diffuse),
                         rgba((*light)->specular)}));

  // Each node's matrix after set-up, and the turns of one animation step on its left and right.
  const std::tuple<int, boost::shared_ptr<Moveable>, Matrix, Matrix, Matrix> rows[] = {
      {1, lightTransform, translation(0, 0, 10), identity, identity},
      // Moved back and down first, then tilted about the root's X axis.
      {2, nullptr, rotationX(0.1f) * translation(0, -0.5f, 7), identity, identity},
      {4, monkeyTransform, up, identity, identity},
      {5, signGroupTransform, identity, rotationZ(0.1f), identity},
      {6, signTransform1, translation(0, 2, 0) * up, identity, rotationX(0.05f)},
      {7, signTransform2, translation(-1.4f, -1.4f, 0) * down, identity, rotationY(0.1f)},
      {8, signTransform3, translation(1.4f, -1.4f, 0) * up, identity, rotationZ(0.05f)},
      // The orbit turns about the root's Y axis.
      {9, orbitSpinTransform, translation(0, 0, 7), rotationY(0.05f), identity},
      {10, nullptr, rotationY(3.14f) * up, identity, identity}};
  EXPECT_EQ(orbitTransform, orbitSpinTransform);
  for (int i : {0, 3, 11}) EXPECT_FALSE(nodes[i]->transform) << i;
  for (const auto& [node, handle, matrix, left, right] : rows) {
    ASSERT_TRUE(nodes[node]->transform) << node;
    EXPECT_TRUE(near(matrix, nodes[node]->transform->getMatrix())) << node;
    EXPECT_TRUE(!handle || nodes[node]->transform == handle) << node;
  }
  // A pump after the animation's due time runs it once and keeps it, due 50 ms later.
  EXPECT_EQ(50u, Rendering::Kernel::instance()->scheduler.run(System::monotonicNow() +
                                                              pt::milliseconds(51)));
  for (const auto& [node, handle, matrix, left, right] : rows)
    EXPECT_TRUE(near(left * matrix * right, nodes[node]->transform->getMatrix())) << node;
}

}  // namespace
