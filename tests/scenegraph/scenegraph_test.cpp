#include <gmock/gmock.h>

#include <boost/make_shared.hpp>
#include <cmath>
#include <limits>

#include "rendering/prerendersgvisitor.h"
#include "rendering/scenegraph/groupnode.h"
#include "rendering/scenegraph/leafnode.h"
#include "rendering/scenegraph/moveable.h"
#include "rendering/scenegraph/statechanging.h"
#include "rendering/shadowmapsgvisitor.h"

namespace {

using namespace Rendering;
using namespace Rendering::Scenegraph;
using Matrix = Data::Geometry::TMatrix4<float>;
using GroupPtr = boost::shared_ptr<GroupNode>;
using Mesh = Data::Geometry::Mesh;

void expectNear(const Matrix& actual, const Matrix& expected, float tolerance = 1e-5f) {
  for (int i = 0; i < 16; ++i) EXPECT_NEAR(actual[0][i], expected[0][i], tolerance) << i;
}
Matrix move(float x, float y, float z) { return Matrix().setTranslation(x, y, z); }
Matrix turn(float a) { return Matrix().setRotationZ(a); }
Matrix originOf(const Matrix& m) { return move(m[3][0], m[3][1], m[3][2]); }
boost::shared_ptr<Moveable> moveable(const Matrix& m) {
  return boost::make_shared<Moveable>(Moveable().setMatrix(m));
}
GroupPtr newGroup() { return boost::make_shared<GroupNode>(); }

// Only an empty child or a cycle is refused: one subtree may hang under several parents.
TEST(GroupNodeTest, RefusesAnEmptyChildAndAGroupThatWouldContainItself) {
  auto top = newGroup(), shared = top->add(newGroup());
  auto bottom = top->add(newGroup())->add(newGroup());
  const struct {
    GroupPtr parent, child;
    bool refused;
  } cases[] = {
      {top, GroupPtr(), true}, {top, top, true}, {bottom, top, true}, {bottom, shared, false}};
  for (const auto& c : cases) {
    const std::size_t before = c.parent->children.size();
    testing::internal::CaptureStderr();
    EXPECT_EQ(c.parent->add(c.child), c.child);
    EXPECT_THAT(testing::internal::GetCapturedStderr(),
                testing::MatchesRegex(c.refused ? "groupnode.cpp,[0-9]+: .*\n" : ""));
    EXPECT_EQ(c.parent->children.size(), before + (c.refused ? 0 : 1));
  }
}

// Writes "+T1" on entering a transform moving x by 1, "-S" on leaving a state of shader "S".
struct RecordingVisitor : BaseVisitor {
  using BaseVisitor::operator();
  using BaseVisitor::visit;
  void visit(StateChanging& s, bool leave) override { log(leave, s.shader->name); }
  void visit(Moveable& t, bool leave) override {
    if (dropFrom) dropFrom->transform.reset();
    log(leave, "T" + std::to_string(static_cast<int>(t.getMatrix()[3][0])));
  }
  void operator()(boost::shared_ptr<Data::Geometry::Light>) override { calls.push_back("light"); }
  void operator()(boost::shared_ptr<Camera>) override { calls.push_back("camera"); }
  void operator()(const boost::shared_ptr<Mesh>&) override { calls.push_back("mesh"); }
  void log(bool leave, const std::string& what) { calls.push_back((leave ? "-" : "+") + what); }
  std::vector<std::string> calls;
  Node* dropFrom = nullptr;  // whose transform the transform hook drops
};

std::vector<std::string> walk(NodeHandle root, Node* dropFrom = nullptr) {
  RecordingVisitor visitor;
  visitor.dropFrom = dropFrom;
  boost::apply_visitor(visitor, root);
  return visitor.calls;
}

// Leaving repeats the order of entering, transform before state, rather than mirroring it.
TEST(BaseVisitorTest, WalksDepthFirstOncePerPathSkippingEmptyHandles) {
  auto root = newGroup(), inner = root->add(newGroup()), shared = newGroup();
  root->transform = moveable(move(1, 0, 0));
  root->state = boost::make_shared<StateChanging>("S");
  inner->transform = moveable(move(2, 0, 0));
  inner->add(boost::make_shared<Data::Geometry::Light>())->state = root->state;
  inner->add(shared)->add(boost::make_shared<Mesh>());
  inner->add(boost::make_shared<Camera>());
  root->children.insert(root->children.end(), {GroupPtr(), boost::shared_ptr<LeafNode>()});
  root->add(boost::make_shared<Mesh>())->transform = moveable(move(4, 0, 0));
  root->add(shared);
  EXPECT_THAT(walk(root),
              testing::ElementsAre("+T1", "+S", "+T2", "+S", "light", "-S", "mesh", "camera", "-T2",
                                   "+T4", "mesh", "-T4", "mesh", "-T1", "-S"));
  EXPECT_TRUE(walk(GroupPtr()).empty());
  auto leaf = boost::make_shared<LeafNode>(boost::make_shared<Mesh>());
  leaf->transform = moveable(move(3, 0, 0));
  EXPECT_THAT(walk(leaf, leaf.get()), testing::ElementsAre("+T3", "mesh"));
}

// A quarter turn: false orbits about the parent's axes, true spins in place about its own.
TEST(MoveableTest, StepsChainInTheFrameTheFlagChoosesAndLookAtNeedsADirectionAndUp) {
  Moveable orbit, spin, m;
  orbit.translatePlusZ(7, false).rotateY(1.5707964f, false);
  spin.translatePlusZ(7, false).rotateY(1.5707964f, true);
  expectNear(originOf(orbit.getMatrix()), move(7, 0, 0));
  expectNear(spin.getMatrix(), move(0, 0, 7) * Matrix().setRotationY(1.5707964f));
  m.translatePlusX(1, false).translateMinusX(3, false).translateMinusY(-0.5f, true);
  m.translatePlusY(1, false).translatePlusZ(4, true).translateMinusZ(1, true);
  expectNear(m.getMatrix(), move(-2, 1.5f, 3));
  // Looking along +X with +Y up: the target ends on -Z, +Z of the world on the right.
  m.lookAt(2, 1, 0, 5, 1, 0, 0, 1, 0);
  expectNear(originOf(m.getMatrix() * move(5, 1, 0)), move(0, 0, -3));
  expectNear(originOf(m.getMatrix() * move(2, 1, 1)), move(1, 0, 0));
  const Matrix kept = m.getMatrix();
  m.lookAt(1, 1, 1, 1, 1, 1, 0, 1, 0).lookAt(0, 0, 5, 0, 0, 0, 0, 0, 0);
  expectNear(m.getMatrix(), kept, 0);
}

// The pre-render pass counts only leaves of its own viewport's camera object, the shadow pass
// every camera leaf; the last met wins. Both start at the identity.
TEST(WorldMatrixVisitorTest, TheLastLightAndTheLastCountedCameraWin) {
  auto root = newGroup(), inner = newGroup();
  root->transform = moveable(turn(0.7f));
  const auto walked = [&root](auto v) { return boost::apply_visitor(v, NodeHandle(root)), v; };
  const auto bare = walked(ShadowMapSGVisitor(nullptr));
  expectNear(bare.cameraMatrix * bare.lightMatrix, Matrix::identity(), 0);
  EXPECT_FALSE(bare.light);

  auto last = boost::make_shared<Data::Geometry::Light>();
  auto viewport = boost::make_shared<Viewport>(), cameraless = boost::make_shared<Viewport>();
  cameraless->camera.reset();
  root->add(boost::make_shared<Data::Geometry::Light>());
  root->add(inner)->transform = moveable(move(2, 0, 0));
  inner->add(last)->transform = moveable(turn(1.1f));
  root->add(boost::shared_ptr<Camera>())->transform = moveable(move(6, 0, 0));
  root->add(viewport->camera)->transform = moveable(move(3, 0, 0));
  root->add(viewport->camera)->transform = moveable(move(4, 0, 0));
  root->add(Viewport().camera)->transform = moveable(move(5, 0, 0));

  const auto pre = walked(PreRenderSGVisitor(nullptr, viewport));
  EXPECT_EQ(pre.light, last);
  expectNear(pre.lightMatrix, turn(0.7f) * move(2, 0, 0) * turn(1.1f));
  expectNear(pre.cameraMatrix, turn(0.7f) * move(4, 0, 0));
  expectNear(walked(PreRenderSGVisitor(nullptr, cameraless)).cameraMatrix, Matrix::identity());
  expectNear(walked(ShadowMapSGVisitor(nullptr)).cameraMatrix, turn(0.7f) * move(5, 0, 0));
}

using Rect = std::vector<int>;

Rect pixels(const Viewport& v) {
  return {v.getPixelX(), v.getPixelY(), v.getPixelWidth(), v.getPixelHeight()};
}

// 640 × 0.7f is 447.99999… and must not become 448; products beyond int are held at its bounds.
TEST(ViewportTest, PixelRectanglesTruncateTheExactProductAndAspectsStayFinite) {
  const struct {
    float x, y, w, h;
    int width, height;
    Rect expected;
  } rows[] = {
      {0.7f, 0.7f, 0.25f, 0.25f, 640, 480, {447, 335, 160, 120}},
      {0.7f, 0.7f, 0.25f, 0.25f, 800, 600, {559, 419, 200, 150}},
      {-0.5f, 0, 0.5f, 1, 641, 10, {-320, 0, 320, 10}},
      {0, 0, 1e30f, std::nanf(""), 640, 480, {0, 0, std::numeric_limits<int>::max(), 0}},
  };
  for (const auto& row : rows) {
    Viewport v(row.x, row.y, row.w, row.h);
    EXPECT_EQ(pixels(v.resize(row.width, row.height)), row.expected) << row.x << " " << row.w;
  }
  // The aspect is 1 before the first resize and keeps the last finite one at no height.
  Viewport v(0.5f, 0.5f, 0.5f, 0.5f);
  EXPECT_EQ(v.setRelative(0, 0, 1, 1).getAspect(), 1.0f);
  v.resize(640, 480).setRelative(0.5f, 0, 0.5f, 0.25f);
  EXPECT_EQ(pixels(v), (Rect{320, 0, 320, 120}));
  v.resize(640, 0).setRelative(0, 0, 1, 1);
  EXPECT_EQ(pixels(v.resize(0, 0)), (Rect{0, 0, 0, 0}));
  EXPECT_FLOAT_EQ(v.getAspect(), 8.0f / 3);
}

}  // namespace
