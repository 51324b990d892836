#include <gmock/gmock.h>

#include <boost/make_shared.hpp>
#include <cmath>
#include <limits>
#include <sstream>

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
boost::shared_ptr<Moveable> moveable(const Matrix& m) {
  return boost::make_shared<Moveable>(Moveable().setMatrix(m));
}
GroupPtr newGroup() { return boost::make_shared<GroupNode>(); }

// Only an empty child or a cycle is refused: one subtree may hang under several parents.
TEST(GroupNodeTest, RefusesAnEmptyChildAndAGroupThatWouldContainItself) {
  auto top = newGroup(), shared = top->add(newGroup());
  auto bottom = top->add(newGroup())->add(newGroup());
  const std::string empty = "GroupNode::add: refused an empty child\n",
                    cycle = "GroupNode::add: refused a child that contains this group\n";
  const struct {
    GroupPtr parent, child;
    std::string error;
  } cases[] = {
      {top, GroupPtr(), empty}, {top, top, cycle}, {bottom, top, cycle}, {bottom, shared, ""}};
  for (const auto& c : cases) {
    const std::size_t before = c.parent->children.size();
    testing::internal::CaptureStderr();
    EXPECT_EQ(c.parent->add(c.child), c.child);
    EXPECT_THAT(testing::internal::GetCapturedStderr(),
                testing::MatchesRegex(c.error.empty() ? "" : "groupnode\\.cpp,[0-9]+: " + c.error));
    EXPECT_EQ(c.parent->children.size(), before + c.error.empty());
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
  auto empty = root->add(newGroup());
  empty->transform = moveable(move(5, 0, 0));
  empty->state = boost::make_shared<StateChanging>("E");
  root->add(shared);
  EXPECT_THAT(walk(root), testing::ElementsAre("+T1", "+S", "+T2", "+S", "light", "-S", "mesh",
                                               "camera", "-T2", "+T4", "mesh", "-T4", "+T5", "+E",
                                               "-T5", "-E", "mesh", "-T1", "-S"));
  EXPECT_TRUE(walk(GroupPtr()).empty());
  auto leaf = boost::make_shared<LeafNode>(boost::make_shared<Mesh>());
  leaf->transform = moveable(move(3, 0, 0));
  EXPECT_THAT(walk(leaf, leaf.get()), testing::ElementsAre("+T3", "mesh"));
}

// Every step is a whole matrix X: flag false gives X × B (after B, along the parent's axes),
// flag true B × X (before it, along the node's own axes). B is a turn and a shift, so neither
// side commutes with any step.
TEST(MoveableTest, EachStepActsInTheFrameTheFlagChoosesAndChains) {
  using Step = Moveable& (Moveable::*)(float, bool);
  const Matrix base = move(1, 2, 3) * turn(0.4f) * Matrix().setRotationX(0.3f);
  const struct {
    Step step;
    Matrix x;
  } rows[] = {
      {&Moveable::rotateX, Matrix().setRotationX(0.5f)},
      {&Moveable::rotateY, Matrix().setRotationY(0.5f)},
      {&Moveable::rotateZ, turn(0.5f)},
      {&Moveable::turnX, Matrix().setRotationX(0.5f)},
      {&Moveable::turnY, Matrix().setRotationY(0.5f)},
      {&Moveable::turnZ, turn(0.5f)},
      {&Moveable::translatePlusX, move(0.5f, 0, 0)},
      {&Moveable::translateMinusX, move(-0.5f, 0, 0)},
      {&Moveable::translatePlusY, move(0, 0.5f, 0)},
      {&Moveable::translateMinusY, move(0, -0.5f, 0)},
      {&Moveable::translatePlusZ, move(0, 0, 0.5f)},
      {&Moveable::translateMinusZ, move(0, 0, -0.5f)},
  };
  for (const auto& row : rows) {
    for (bool flag : {false, true}) {
      Moveable fresh, m, undone;
      const auto step = [&](Moveable& t, float a) -> Moveable& { return (t.*row.step)(a, flag); };
      expectNear(step(fresh, 0.5f).getMatrix(), row.x);
      EXPECT_EQ(&step(m.setMatrix(base), 0.5f), &m);
      expectNear(m.getMatrix(), flag ? base * row.x : row.x * base);
      // A step and its undoing, chained, give back the start.
      step(step(undone.setMatrix(base), 0.5f), -0.5f);
      expectNear(undone.getMatrix(), base);
    }
  }
}

// A week of the demo's turns, 20 a second, on transforms that carry a uniform scale of 2 and a
// shift: the axes keep that length and stay perpendicular, and the shift keeps its distance from
// the parent's origin, all within 1e-3 (float rotations compounded would make them 16% longer).
TEST(MoveableTest, AWeekOfTheDemosTurnsKeepsLengthsAndRightAngles) {
  using Turn = Moveable& (Moveable::*)(float, bool);
  const struct {
    Turn turn;
    float angle;
    bool flag;
  } turns[] = {{&Moveable::rotateY, 0.05f, false},
               {&Moveable::rotateZ, 0.1f, false},
               {&Moveable::rotateY, 0.1f, true},
               {&Moveable::rotateX, 0.05f, true},
               {&Moveable::rotateZ, 0.05f, true}};
  const long week = 7L * 24 * 3600 * 20;
  const Matrix scale(2, 0, 0, 0, 0, 2, 0, 0, 0, 0, 2, 0, 0, 0, 0, 1);
  for (const auto& t : turns) {
    Moveable m;
    m.setMatrix(move(0, 0, 7) * Matrix().setRotationX(1.57f) * scale);
    for (long k = 0; k < week; ++k) (m.*t.turn)(t.angle, t.flag);
    const Matrix r = m.getMatrix();
    const auto dot = [&r](int a, int b) {
      return double(r[a][0]) * r[b][0] + double(r[a][1]) * r[b][1] + double(r[a][2]) * r[b][2];
    };
    for (int axis = 0; axis < 3; ++axis) {
      EXPECT_NEAR(std::sqrt(dot(axis, axis)), 2.0, 2e-3) << t.angle << t.flag << axis;
      EXPECT_NEAR(dot(axis, (axis + 1) % 3), 0.0, 4e-3) << t.angle << t.flag << axis;
    }
    EXPECT_NEAR(std::sqrt(dot(3, 3)), 7.0, 7e-3) << t.angle << t.flag;
  }
}

// Off the axes, so a wrong normalisation or cross product shows; an up not perpendicular to
// the view direction is normalised but kept as it is, and the side vector is not normalised.
TEST(MoveableTest, LookAtReplacesTheMatrixByAViewingTransform) {
  const float h = std::sqrt(0.5f);
  const struct {
    float eye[3], center[3], up[3];
    Matrix expected;
  } rows[] = {
      {{0, 0, 5}, {0, 0, 0}, {0, 1, 0}, move(0, 0, -5)},
      {{1, 2, 3},
       {4, 6, 3},
       {0, 0, 2},
       Matrix(0.8f, -0.6f, 0, 0.4f, 0, 0, 1, -3, -0.6f, -0.8f, 0, 2.2f, 0, 0, 0, 1)},
      {{1, 2, 3},
       {4, 6, 3},
       {0, 3, 3},
       Matrix(0.8f * h, -0.6f * h, 0.6f * h, -1.4f * h, 0, h, h, -5 * h, -0.6f, -0.8f, 0, 2.2f, 0,
              0, 0, 1)},
  };
  for (const auto& r : rows) {
    Moveable m;
    m.setMatrix(move(1, 2, 3) * turn(0.4f));
    EXPECT_EQ(&m.lookAt(r.eye[0], r.eye[1], r.eye[2], r.center[0], r.center[1], r.center[2],
                        r.up[0], r.up[1], r.up[2]),
              &m);
    expectNear(m.getMatrix(), r.expected);
  }
  // Eye on the centre or no up has no direction: the matrix is kept.
  Moveable m;
  const Matrix kept = m.setMatrix(turn(0.4f)).getMatrix();
  m.lookAt(1, 1, 1, 1, 1, 1, 0, 1, 0).lookAt(0, 0, 5, 0, 0, 0, 0, 0, 0);
  expectNear(m.getMatrix(), kept, 0);
}

// The pre-render pass counts only leaves of its own viewport's camera object, the shadow pass
// every camera leaf; the last met wins. Both start at the identity.
TEST(WorldMatrixVisitorTest, TheLastLightAndTheLastCountedCameraWin) {
  auto root = newGroup(), inner = newGroup();
  root->transform = moveable(turn(0.7f));
  const auto walked = [&root](auto v) { return boost::apply_visitor(v, NodeHandle(root)), v; };
  auto last = boost::make_shared<Data::Geometry::Light>();
  auto viewport = boost::make_shared<Viewport>(), cameraless = boost::make_shared<Viewport>();
  for (const WorldMatrixVisitor& bare :
       {WorldMatrixVisitor(walked(PreRenderSGVisitor(nullptr, viewport))),
        WorldMatrixVisitor(walked(ShadowMapSGVisitor(nullptr)))}) {
    expectNear(bare.cameraMatrix, Matrix::identity(), 0);
    expectNear(bare.lightMatrix, Matrix::identity(), 0);
    EXPECT_FALSE(bare.light);
  }
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
  const auto shadow = walked(ShadowMapSGVisitor(nullptr));
  EXPECT_EQ(shadow.light, last);
  expectNear(shadow.lightMatrix, pre.lightMatrix, 0);
  expectNear(shadow.cameraMatrix, turn(0.7f) * move(5, 0, 0));
}

using Rect = std::vector<int>;

Rect pixels(const Viewport& v) {
  return {v.getPixelX(), v.getPixelY(), v.getPixelWidth(), v.getPixelHeight()};
}

// Each viewport owns a camera of its own, which shows an empty group of its own.
TEST(ViewportTest, ANewViewportIsWhiteOverTheWholeWindowWithItsOwnCamera) {
  Viewport v, other;
  const auto& c = v.clearColor;
  EXPECT_EQ((std::vector<float>{c.r, c.g, c.b, c.a}), (std::vector<float>{1, 1, 1, 1}));
  ASSERT_TRUE(v.camera);
  EXPECT_NE(v.camera, other.camera);
  EXPECT_EQ((std::vector<double>{v.camera->fov, v.camera->zNear, v.camera->zFar}),
            (std::vector<double>{45, 1, 1000}));
  EXPECT_TRUE(v.camera->meshes.empty());
  const auto* scene = boost::get<GroupPtr>(&v.camera->scene);
  ASSERT_TRUE(scene && *scene);
  EXPECT_TRUE((*scene)->children.empty());
  EXPECT_NE(*scene, boost::get<GroupPtr>(other.camera->scene));
  // Before the first resize setRelative only stores the fractions; the projection made from
  // the aspect until then must still be a finite one.
  EXPECT_EQ(pixels(other.setRelative(0, 0, 0.5f, 1)), (Rect{0, 0, 0, 0}));
  EXPECT_EQ(other.getAspect(), 1.0f);
  EXPECT_EQ(pixels(other.resize(640, 480)), (Rect{0, 0, 320, 480}));
  std::ostringstream out;
  out << v.resize(640, 480);
  EXPECT_EQ(out.str(), "viewport 0/0 640/480 1.33333");
}

// 800 × 0.7f is 559.99999… and must not become 560; -320.5 becomes -320. A product beyond int
// is held at its bound and a NaN one is 0, rather than converted with undefined behaviour.
TEST(ViewportTest, PixelRectanglesTruncateTheExactProductOfTheLastWindowSize) {
  const float inf = std::numeric_limits<float>::infinity();
  const struct {
    float x, y, w, h;
    int width, height;
    const char* written;
    float aspect;
  } rows[] = {
      {0.7f, 0.7f, 0.25f, 0.25f, 800, 600, "viewport 559/419 200/150 1.33333", 4.0f / 3},
      {-0.5f, 0.25f, 0.5f, 1, 641, 10, "viewport -320/2 320/10 32", 32},
      {0.5f, 0, 0.5f, 0.25f, 640, 0, "viewport 320/0 320/0 inf", inf},
      {std::nanf(""), 0, 1e30f, 0.5f, 640, 480, "viewport 0/0 2147483647/240 8.94785e+06", 8947849},
  };
  for (const auto& row : rows) {
    Viewport v(row.x, row.y, row.w, row.h);
    std::ostringstream out;
    out << v.resize(row.width, row.height);
    EXPECT_EQ(out.str(), row.written);
    EXPECT_EQ(v.getAspect(), row.aspect) << row.written;
  }
  // setRelative follows the last window size at once, unless that size has no height.
  Viewport v(0, 0, 1, 1);
  v.resize(640, 480).setRelative(0.5f, 0, 0.5f, 0.25f);
  EXPECT_EQ(pixels(v), (Rect{320, 0, 320, 120}));
  EXPECT_EQ(v.getAspect(), 8.0f / 3);
  v.resize(640, 0).setRelative(0, 0.5f, 1, 1);
  EXPECT_EQ(pixels(v), (Rect{320, 0, 320, 0}));
  EXPECT_EQ(v.getAspect(), inf);
  EXPECT_TRUE(std::isnan(v.resize(0, 0).getAspect()));
  v.resize(0, 480).setRelative(0.5f, 0, 0.5f, 1);
  EXPECT_EQ(pixels(v), (Rect{0, 240, 0, 480}));
  EXPECT_EQ(v.getAspect(), 0);
  EXPECT_EQ(pixels(v.resize(10, 20)), (Rect{5, 0, 5, 20}));
}

}  // namespace
