#include "demoscene.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <functional>
#include <regex>
#include <sstream>
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
using MeshPtr = boost::shared_ptr<Data::Geometry::Mesh>;
using Rgba = std::array<float, 4>;
namespace pt = boost::posix_time;

const float quarterTurn = 3.14f / 2;
const Matrix identity = Matrix::identity();

// What follows the marker on each line of the text that holds it.
std::vector<std::string> textsAfter(const std::string& text, const std::string& marker) {
  std::vector<std::string> found;
  for (size_t at = text.find(marker); at != std::string::npos; at = text.find(marker, at)) {
    at += marker.size();
    found.push_back(text.substr(at, text.find('\n', at) - at));
  }
  return found;
}

template <class T>
std::string printed(const T& value) {
  std::ostringstream out;
  out << value;
  return out.str();
}

Rgba rgba(const Data::Geometry::Color& c) { return {c.r, c.g, c.b, c.a}; }

TEST(DemoSceneTest, OneSharedGraphWithItsTransformsHandlesAndAnimation) {
  testing::internal::CaptureStdout();
  setupScene();
  const std::string log = testing::internal::GetCapturedStdout();
  // Each file is loaded once, in this order; the animation task is queued last.
  EXPECT_EQ((std::vector<std::string>{"mtl/thunderdome.obj", "mtl/monkey.obj", "mtl/sign.obj"}),
            textsAfter(log, "loading mesh from file "));
  EXPECT_TRUE(std::regex_search(log, std::regex("\nscheduler\\.cpp,[0-9]+: ARGH 50 50\n$"))) << log;
  const std::vector<std::string> meshes = textsAfter(log, "mesh loaded: ");
  ASSERT_EQ(3u, meshes.size());

  Rendering::Kernel* kernel = Rendering::Kernel::instance();
  ASSERT_EQ(2u, kernel->viewports.size());
  // The whole window, and an inset from 0.7 to 0.95 of it drawn over it; 0.7f lies just
  // under 0.7, so the inset starts a pixel early.
  const char* rectangles[] = {"viewport 0/0 640/480 1.33333", "viewport 447/335 160/120 1.33333"};
  const Rgba colours[] = {{1, 1, 1, 1}, {1, 0, 0, 1}};
  for (int i : {0, 1}) {
    EXPECT_EQ(rectangles[i], printed(kernel->viewports[i]->resize(640, 480))) << i;
    EXPECT_EQ(colours[i], rgba(kernel->viewports[i]->clearColor)) << i;
  }
  const GroupPtr root = boost::get<GroupPtr>(kernel->viewports[0]->camera->scene);
  EXPECT_EQ(root, boost::get<GroupPtr>(kernel->viewports[1]->camera->scene));
  EXPECT_EQ("texLightSM", root->state->shader->name);

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
  const auto content = [&](int node) { return static_cast<const LeafNode*>(nodes[node])->content; };
  // The dome, the monkey and the sign, each as loaded.
  for (const auto& [node, mesh] : {std::pair(0, 0), std::pair(4, 1), std::pair(6, 2)})
    EXPECT_EQ(meshes[mesh], printed(*boost::get<MeshPtr>(content(node)))) << node;
  const Data::Geometry::Light& light =
      *boost::get<boost::shared_ptr<Data::Geometry::Light>>(content(1));
  for (const Data::Geometry::Color* c : {&light.ambient, &light.diffuse, &light.specular})
    EXPECT_EQ((Rgba{1, 1, 1, 1}), rgba(*c));

  // Each node's matrix after set-up, and the turns of one animation step on its left and right.
  const std::tuple<int, boost::shared_ptr<Moveable>, Matrix, Matrix, Matrix> rows[] = {
      {1, lightTransform, translation(0, 0, 10), identity, identity},
      // Moved back and down first, then tilted about the root's X axis.
      {2, nullptr, rotationX(0.1f) * translation(0, -0.5f, 0) * translation(0, 0, 7), identity,
       identity},
      {4, monkeyTransform, rotationX(quarterTurn), identity, identity},
      {5, signGroupTransform, identity, rotationZ(0.1f), identity},
      {6, signTransform1, translation(0, 2, 0) * rotationX(quarterTurn), identity,
       rotationX(0.05f)},
      {7, signTransform2,
       translation(-1.4f, 0, 0) * translation(0, -1.4f, 0) * rotationX(-quarterTurn), identity,
       rotationY(0.1f)},
      {8, signTransform3,
       translation(1.4f, 0, 0) * translation(0, -1.4f, 0) * rotationX(quarterTurn), identity,
       rotationZ(0.05f)},
      // The orbit turns about the root's Y axis.
      {9, orbitSpinTransform, translation(0, 0, 7), rotationY(0.05f), identity},
      {10, nullptr, rotationY(3.14f) * rotationX(quarterTurn), identity, identity}};
  EXPECT_EQ(orbitTransform, orbitSpinTransform);
  for (int i : {0, 3, 11}) EXPECT_FALSE(nodes[i]->transform) << i;
  for (const auto& [node, handle, matrix, left, right] : rows) {
    ASSERT_TRUE(nodes[node]->transform) << node;
    EXPECT_TRUE(near(matrix, nodes[node]->transform->getMatrix())) << node;
    EXPECT_TRUE(!handle || nodes[node]->transform == handle) << node;
  }
  // A pump after the animation's due time runs it once and keeps it, due 50 ms later.
  EXPECT_EQ(50u,
            kernel->scheduler.run(pt::microsec_clock::universal_time() + pt::milliseconds(51)));
  for (const auto& [node, handle, matrix, left, right] : rows)
    EXPECT_TRUE(near(left * matrix * right, nodes[node]->transform->getMatrix())) << node;
}

}  // namespace
