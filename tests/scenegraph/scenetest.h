#pragma once
// Helpers of the scene-graph tests: matrix checks, graph building, and a visitor that writes
// down every hook it is called with.

#include <gtest/gtest.h>

#include <boost/make_shared.hpp>
#include <map>
#include <string>
#include <vector>

#include "rendering/camera.h"
#include "rendering/scenegraph/basevisitor.h"
#include "rendering/scenegraph/groupnode.h"
#include "rendering/scenegraph/leafnode.h"
#include "rendering/scenegraph/moveable.h"
#include "rendering/scenegraph/statechanging.h"

namespace SceneTest {

using namespace Rendering::Scenegraph;
using Matrix = Data::Geometry::TMatrix4<float>;
using GroupPtr = boost::shared_ptr<GroupNode>;

inline void expectNear(const Matrix& actual, const Matrix& expected, float tolerance = 1e-5f) {
  for (int i = 0; i < 16; ++i) EXPECT_NEAR(actual[0][i], expected[0][i], tolerance) << "at " << i;
}

// Where m takes the origin, as a translation matrix, so expectNear can compare it.
inline Matrix originOf(const Matrix& m) {
  return Matrix().setTranslation(m[3][0], m[3][1], m[3][2]);
}

inline Matrix move(float x, float y, float z) { return Matrix().setTranslation(x, y, z); }
inline Matrix turn(float a) { return Matrix().setRotationZ(a); }

inline boost::shared_ptr<Moveable> moveable(const Matrix& m) {
  auto t = boost::make_shared<Moveable>();
  t->setMatrix(m);
  return t;
}

inline boost::shared_ptr<Data::Geometry::Mesh> meshOf(unsigned vertices) {
  auto mesh = boost::make_shared<Data::Geometry::Mesh>();
  mesh->vertices.resize(vertices);
  return mesh;
}

inline GroupPtr newGroup() { return boost::make_shared<GroupNode>(); }

// Transforms are named by the x of their translation, states by their shader.
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

}  // namespace SceneTest
